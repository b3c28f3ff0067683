#pragma once

#include <QWidget>

class SwingSeries;

// The graph of the series: each interval a point at its passage number, the
// average a line across. Rescales to the intervals as they come.
class SeriesGraph : public QWidget {
    Q_OBJECT
public:
    // Type and marks big enough for the back of a classroom on a projector.
    static constexpr int LabelPoints = 13;
    static constexpr int PointRadius = 5;
    static constexpr int AverageLineWidth = 3;
    // The narrowest span of seconds shown, so that the usual thousandths of
    // scatter do not fill the graph as if they were large.
    static constexpr double NarrowestSeconds = 0.05;
    // Passages the horizontal axis covers at least.
    static constexpr int FewestPassages = 10;

    explicit SeriesGraph(const SwingSeries& series, QWidget* parent = nullptr);

    QSize sizeHint() const override { return {440, 260}; }
    QSize minimumSizeHint() const override { return {240, 160}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const SwingSeries& m_series;
};
