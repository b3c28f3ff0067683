#pragma once

#include <QAbstractTableModel>

class SwingSeries;

// The table of passages for the きろく window: number, interval in seconds
// to the thousandth, the number the display showed. It follows the series
// as the window tells it, a row at a time, so that a table of thousands of
// rows is not rebuilt at every passage.
class SeriesModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { Number, Interval, Shown, Columns };

    explicit SeriesModel(const SwingSeries& series, QObject* parent = nullptr);

    // The series has one passage more.
    void passageAdded();
    // The series began again.
    void restarted();

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    const SwingSeries& m_series;
    // The rows the views have been told of.
    int m_rows = 0;
};
