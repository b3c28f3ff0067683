#include "record/SecondsText.h"
#include "record/SeriesTable.h"
#include "record/SwingSeries.h"

#include <QTest>

namespace {

// One thing that happens to the series: a passage seen at `micros` on the
// monotonic clock, with the tenths shown (0: none), a gap, or 「はじめから」.
struct Step {
    enum Kind { Passage, Gap, Restart } kind = Passage;
    qint64 micros = 0;
    int shown = 0;
};
Step passage(qint64 micros, int shown = 12) {
    return {Step::Passage, micros, shown};
}
const Step gap{Step::Gap};
const Step restart{Step::Restart};

SwingSeries play(const QList<Step>& steps) {
    SwingSeries series;
    for (const Step& step : steps) {
        if (step.kind == Step::Gap)
            series.gap();
        else if (step.kind == Step::Restart)
            series.restart();
        else
            series.passage(std::chrono::microseconds(step.micros),
                           step.shown ? std::optional<int>(step.shown) : std::nullopt);
    }
    return series;
}

// Passages 1.25 s apart from `from` on, the first after start-up shown 0.7.
QList<Step> steady(int count, qint64 from = 700'000) {
    QList<Step> steps;
    for (int i = 0; i < count; ++i)
        steps << passage(from + i * 1'250'000, i == 0 ? 7 : 12 + i % 2);
    return steps;
}

// The intervals, "-" where a passage ended none.
QString intervals(const SwingSeries& series) {
    QStringList list;
    for (const SwingSeries::Passage& p : series.passages())
        list << (p.interval ? SecondsText::thousandths(*p.interval) : QStringLiteral("-"));
    return list.join(QLatin1Char(' '));
}

// Count, average, spread, T and g as the window shows them, "" where none.
QString figures(const SwingSeries& series, const QString& length) {
    const SwingFigures& f = series.figures();
    return QStringList{QString::number(f.count()), SeriesTable::seconds(f.average()),
                       SeriesTable::seconds(f.spread()), SeriesTable::seconds(f.period()),
                       SeriesTable::gravity(f.gravity(SwingFigures::lengthFrom(length)))}
        .join(QLatin1Char('|'));
}

} // namespace

class TestSwingSeries : public QObject {
    Q_OBJECT
private slots:
    void the_figures_data() {
        QTest::addColumn<QList<Step>>("steps");
        QTest::addColumn<QString>("length");
        QTest::addColumn<QString>("expectedIntervals");
        QTest::addColumn<QString>("expectedFigures");
        QTest::newRow("nothing yet") << QList<Step>{} << "1.55"
                                     << ""
                                     << "0||||";
        QTest::newRow("one passage only starts the count") << steady(1) << "1.55"
                                                           << "-"
                                                           << "0||||";
        QTest::newRow("one interval: no spread yet") << steady(2) << "1.55"
                                                     << "- 1.250"
                                                     << "1|1.250||2.500|9.79";
        // The demo's pendulum: 2.5 s, as one 1.55 m long swings.
        QTest::newRow("steady, 1.55 m") << steady(5) << "1.55"
                                        << "- 1.250 1.250 1.250 1.250"
                                        << "4|1.250|0.000|2.500|9.79";
        QTest::newRow("scattered: spread as STDEV")
            << QList<Step>{passage(0), passage(1'240'000), passage(2'500'000), passage(3'750'000)}
            << "1"
            << "- 1.240 1.260 1.250"
            << "3|1.250|0.010|2.500|6.32";
        QTest::newRow("rounded to the millisecond first")
            << QList<Step>{passage(1'000'000), passage(2'234'567), passage(2'999'499)} << ""
            << "- 1.235 0.765"
            << "2|1.000|0.332|2.000|";
        QTest::newRow("a gap: the next passage ends no interval")
            << QList<Step>{passage(1'000'000, 10), gap, passage(2'700'000, 12),
                           passage(3'950'000, 12)}
            << ""
            << "- - 1.250"
            << "1|1.250||2.500|";
        QTest::newRow("shown nothing: it follows a gap")
            << QList<Step>{passage(900'000), passage(2'150'000, 0), passage(3'400'000)} << ""
            << "- - 1.250"
            << "1|1.250||2.500|";
        QTest::newRow("a new series starts empty") << steady(4) + QList<Step>{restart} << "1.55"
                                                   << ""
                                                   << "0||||";
        QTest::newRow("a new series: its first passage only starts it")
            << steady(4) + QList<Step>{restart} + steady(3, 9'000'000) << "0.5"
            << "- 1.250 1.250"
            << "2|1.250|0.000|2.500|3.16";
        QTest::newRow("length with a comma") << steady(3) << "1,55"
                                             << "- 1.250 1.250"
                                             << "2|1.250|0.000|2.500|9.79";
        QTest::newRow("length in full-width figures") << steady(3) << "１．５５"
                                                      << "- 1.250 1.250"
                                                      << "2|1.250|0.000|2.500|9.79";
        for (const char* bad : {"", " ", "abc", "1.5m", "0", "-1.55", "100.5", "inf", "nan"})
            QTest::addRow("no g for length \"%s\"", bad)
                << steady(3) << QString::fromUtf8(bad) << "- 1.250 1.250"
                << "2|1.250|0.000|2.500|";
    }

    void the_figures() {
        QFETCH(QList<Step>, steps);
        QFETCH(QString, length);
        QFETCH(QString, expectedIntervals);
        QFETCH(QString, expectedFigures);
        const SwingSeries series = play(steps);
        QCOMPARE(intervals(series), expectedIntervals);
        QCOMPARE(figures(series, length), expectedFigures);
    }

    // Pasted into a spreadsheet: the passages in columns A to C, the figures
    // beside them in E and F, from the first row.
    void the_copied_text_data() {
        QTest::addColumn<QList<Step>>("steps");
        QTest::addColumn<QString>("length");
        QTest::addColumn<QString>("expected");
        QTest::newRow("empty") << QList<Step>{} << ""
                               << "番号\t間隔（秒）\t表示（秒）\t\t回数\t0\n"
                                  "\t\t\t\t平均（秒）\t\n"
                                  "\t\t\t\tばらつき（秒）\t\n"
                                  "\t\t\t\t周期 T（秒）\t\n"
                                  "\t\t\t\t長さ L（m）\t\n"
                                  "\t\t\t\tg（m/s²）\t\n";
        QTest::newRow("a lesson, 1.55 m")
            << steady(8) + QList<Step>{gap, passage(20'000'000, 0), passage(21'251'000)} << "1.55"
            << "番号\t間隔（秒）\t表示（秒）\t\t回数\t8\n"
               "1\t\t0.7\t\t平均（秒）\t1.250\n"
               "2\t1.250\t1.3\t\tばらつき（秒）\t0.000\n"
               "3\t1.250\t1.2\t\t周期 T（秒）\t2.500\n"
               "4\t1.250\t1.3\t\t長さ L（m）\t1.55\n"
               "5\t1.250\t1.2\t\tg（m/s²）\t9.79\n"
               "6\t1.250\t1.3\n"
               "7\t1.250\t1.2\n"
               "8\t1.250\t1.3\n"
               "9\t\t\n"
               "10\t1.251\t1.2\n";
    }

    void the_copied_text() {
        QFETCH(QList<Step>, steps);
        QFETCH(QString, length);
        QFETCH(QString, expected);
        QCOMPARE(SeriesTable::tabSeparated(play(steps), SwingFigures::lengthFrom(length)),
                 expected);
    }
};

QTEST_MAIN(TestSwingSeries)
#include "tst_SwingSeries.moc"
