#include "DisplayLabel.h"

#include "NoticeFit.h"
#include "measuring/PeriodText.h"

#include <QPainter>
#include <QStyle>

int DisplayLabel::shownPointSize() const {
    return noticePoints(text(), font(), contentsRect().size(), font().pointSize());
}

void DisplayLabel::paintEvent(QPaintEvent* event) {
    if (isPeriodText(text())) {
        QLabel::paintEvent(event);
        return;
    }
    // Drawn as the label draws plain text, but at the fitted size and broken
    // only at the notice's own line ends.
    QFont fitted = font();
    fitted.setPointSize(shownPointSize());
    QPainter painter(this);
    painter.setFont(fitted);
    style()->drawItemText(&painter, contentsRect(),
                          int(QStyle::visualAlignment(layoutDirection(), alignment())), palette(),
                          isEnabled(), text(), foregroundRole());
}
