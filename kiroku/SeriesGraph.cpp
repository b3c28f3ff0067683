#include "SeriesGraph.h"

#include "GraphScale.h"
#include "KirokuTexts.h"
#include "record/SeriesTable.h"
#include "record/SeriesTexts.h"
#include "record/SwingSeries.h"
#include "widgets/DisplayFont.h"

#include <QPainter>
#include <algorithm>

namespace {

constexpr int MostSecondSteps = 6;
constexpr int MostPassageSteps = 10;
constexpr int Gap = 8; // between the labels and the frame

const QColor PointColor(0, 60, 170);
const QColor AverageColor(200, 30, 30);
const QColor GridColor(215, 215, 215);

} // namespace

SeriesGraph::SeriesGraph(const SwingSeries& series, QWidget* parent)
    : QWidget(parent), m_series(series) {
    setFont(displayFont(LabelPoints));
}

void SeriesGraph::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(rect(), Qt::white);

    const QList<SwingSeries::Passage>& passages = m_series.passages();
    const std::optional<double> average = m_series.figures().average();
    if (!average) {
        p.setPen(Qt::darkGray);
        p.drawText(rect().adjusted(Gap, Gap, -Gap, -Gap), Qt::AlignCenter | Qt::TextWordWrap,
                   KirokuTexts::emptyGraph());
        return;
    }

    double least = *average;
    double most = *average;
    for (const SwingSeries::Passage& passage : passages) {
        if (passage.interval) {
            const double s = double(passage.interval->count()) / 1000.0;
            least = std::min(least, s);
            most = std::max(most, s);
        }
    }
    const GraphScale seconds = GraphScale::around(least, most, NarrowestSeconds, MostSecondSteps);
    const GraphScale numbers = GraphScale::around(
        1, std::max<double>(FewestPassages, double(passages.size())), 0, MostPassageSteps);

    const QFontMetrics metrics(font());
    const auto secondsLabel = [&](double v) { return QString::number(v, 'f', seconds.decimals()); };
    const int labelWidth = std::max(metrics.horizontalAdvance(secondsLabel(seconds.high)),
                                    metrics.horizontalAdvance(secondsLabel(seconds.low)));
    const QRect frame = rect().adjusted(labelWidth + 2 * Gap, metrics.height() + Gap, -2 * Gap,
                                        -(2 * metrics.height() + Gap));
    if (frame.width() < 1 || frame.height() < 1)
        return;
    const auto xOf = [&](double n) { return frame.left() + numbers.fraction(n) * frame.width(); };
    const auto yOf = [&](double s) {
        return frame.bottom() - seconds.fraction(s) * frame.height();
    };

    // The grid, with the seconds on the left and the passage numbers below.
    p.setPen(QPen(GridColor, 1));
    for (double s = seconds.low; s <= seconds.high + seconds.step / 2; s += seconds.step) {
        const double y = yOf(s);
        p.setPen(QPen(GridColor, 1));
        p.drawLine(QPointF(frame.left(), y), QPointF(frame.right(), y));
        p.setPen(Qt::black);
        p.drawText(QRectF(0, y - metrics.height() / 2.0, labelWidth + Gap, metrics.height()),
                   Qt::AlignRight | Qt::AlignVCenter, secondsLabel(s));
    }
    for (double n = numbers.low; n <= numbers.high + numbers.step / 2; n += numbers.step) {
        const double x = xOf(n);
        p.setPen(QPen(GridColor, 1));
        p.drawLine(QPointF(x, frame.top()), QPointF(x, frame.bottom()));
        p.setPen(Qt::black);
        p.drawText(QRectF(x - 40, frame.bottom() + Gap / 2.0, 80, metrics.height()),
                   Qt::AlignHCenter | Qt::AlignTop, QString::number(n, 'f', 0));
    }
    p.setPen(QPen(Qt::black, 1));
    p.drawRect(frame);
    p.drawText(QRect(0, 0, labelWidth + Gap, metrics.height()), Qt::AlignRight | Qt::AlignTop,
               SeriesTexts::seconds());
    p.drawText(QRect(frame.right() - 200, frame.bottom() + Gap / 2 + metrics.height(), 200,
                     metrics.height()),
               Qt::AlignRight | Qt::AlignTop, KirokuTexts::passageAxis());

    // The average, labelled above its line at the right.
    const double averageY = yOf(*average);
    p.setPen(QPen(AverageColor, AverageLineWidth));
    p.drawLine(QPointF(frame.left(), averageY), QPointF(frame.right(), averageY));
    p.drawText(
        QRectF(frame.left(), frame.top() - metrics.height() - 2, frame.width(), metrics.height()),
        Qt::AlignRight | Qt::AlignBottom, KirokuTexts::averageLine(SeriesTable::seconds(average)));

    p.setPen(Qt::NoPen);
    p.setBrush(PointColor);
    for (qsizetype i = 0; i < passages.size(); ++i) {
        if (passages[i].interval)
            p.drawEllipse(
                QPointF(xOf(double(i + 1)), yOf(double(passages[i].interval->count()) / 1000.0)),
                PointRadius, PointRadius);
    }
}
