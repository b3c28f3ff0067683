#include "SeriesModel.h"

#include "record/SecondsText.h"
#include "record/SeriesTexts.h"
#include "record/SwingSeries.h"

SeriesModel::SeriesModel(const SwingSeries& series, QObject* parent)
    : QAbstractTableModel(parent), m_series(series), m_rows(int(series.passages().size())) {}

void SeriesModel::passageAdded() {
    const int rows = int(m_series.passages().size());
    if (rows <= m_rows)
        return;
    beginInsertRows({}, m_rows, rows - 1);
    m_rows = rows;
    endInsertRows();
}

void SeriesModel::restarted() {
    beginResetModel();
    m_rows = int(m_series.passages().size());
    endResetModel();
}

int SeriesModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_rows;
}

int SeriesModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : Columns;
}

QVariant SeriesModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= m_rows)
        return {};
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    if (role != Qt::DisplayRole)
        return {};
    const SwingSeries::Passage& p = m_series.passages().at(index.row());
    switch (index.column()) {
    case Number:
        return index.row() + 1;
    case Interval:
        return p.interval ? SecondsText::thousandths(*p.interval) : QString();
    case Shown:
        return p.shownTenths ? SecondsText::shown(*p.shownTenths) : QString();
    default:
        return {};
    }
}

QVariant SeriesModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
    case Number:
        return SeriesTexts::number();
    case Interval:
        return SeriesTexts::withUnit(SeriesTexts::interval(), SeriesTexts::seconds());
    case Shown:
        return SeriesTexts::withUnit(SeriesTexts::shown(), SeriesTexts::seconds());
    default:
        return {};
    }
}
