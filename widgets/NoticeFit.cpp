#include "NoticeFit.h"

#include "measuring/PeriodText.h"

#include <QFontMetricsF>
#include <QRectF>

namespace {

// The flags the display draws a notice with: its own line breaks only.
constexpr int NoticeFlags = Qt::AlignLeft | Qt::AlignTop;

bool fits(const QString& text, QFont font, int points, QSize label) {
    font.setPointSize(points);
    const QRectF drawn =
        QFontMetricsF(font).boundingRect(QRectF(QPointF(0, 0), QSizeF(label)), NoticeFlags, text);
    return drawn.width() <= label.width() && drawn.height() <= label.height();
}

} // namespace

int noticePoints(const QString& text, const QFont& font, QSize label, int designedPoints) {
    const int designed = qMax(1, designedPoints);
    if (text.isEmpty() || isPeriodText(text) || fits(text, font, designed, label))
        return designed;
    // The text is wider or taller the bigger its type: halve the range each time.
    int fitting = 1;
    int tooBig = designed;
    while (tooBig - fitting > 1) {
        const int middle = (fitting + tooBig) / 2;
        if (fits(text, font, middle, label))
            fitting = middle;
        else
            tooBig = middle;
    }
    return fitting;
}
