#include "SeriesTable.h"

#include "SecondsText.h"
#include "SeriesTexts.h"

#include <QStringList>
#include <algorithm>

namespace SeriesTable {

namespace {

const QChar Tab = QLatin1Char('\t');

QString passageRow(int number, const SwingSeries::Passage& p) {
    return QString::number(number) + Tab +
           (p.interval ? SecondsText::thousandths(*p.interval) : QString()) + Tab +
           (p.shownTenths ? SecondsText::shown(*p.shownTenths) : QString());
}

} // namespace

QString seconds(std::optional<double> value) {
    return value ? SecondsText::fixed(*value, SecondsDecimals) : QString();
}

QString gravity(std::optional<double> value) {
    return value ? SecondsText::fixed(*value, GravityDecimals) : QString();
}

QString length(std::optional<double> metres) {
    return metres ? QString::number(*metres) : QString();
}

QString tabSeparated(const SwingSeries& series, std::optional<double> lengthM) {
    using namespace SeriesTexts;
    const SwingFigures& f = series.figures();
    const QStringList figures = {
        count() + Tab + QString::number(f.count()),
        withUnit(average(), SeriesTexts::seconds()) + Tab + seconds(f.average()),
        withUnit(spread(), SeriesTexts::seconds()) + Tab + seconds(f.spread()),
        withUnit(period(), SeriesTexts::seconds()) + Tab + seconds(f.period()),
        withUnit(SeriesTexts::length(), metres()) + Tab + SeriesTable::length(lengthM),
        withUnit(SeriesTexts::gravity(), acceleration()) + Tab +
            SeriesTable::gravity(f.gravity(lengthM))};
    QStringList table = {number() + Tab + withUnit(interval(), SeriesTexts::seconds()) + Tab +
                         withUnit(shown(), SeriesTexts::seconds())};
    const QList<SwingSeries::Passage>& passages = series.passages();
    for (qsizetype i = 0; i < passages.size(); ++i)
        table << passageRow(int(i) + 1, passages[i]);

    QString text;
    const qsizetype rows = std::max(table.size(), figures.size());
    for (qsizetype row = 0; row < rows; ++row) {
        QString line = row < table.size() ? table[row] : QString(2, Tab);
        if (row < figures.size())
            line += QString(2, Tab) + figures[row];
        text += line + QLatin1Char('\n');
    }
    return text;
}

} // namespace SeriesTable
