#pragma once

#include <QLabel>

// The big display: a label that shows a period in its own type, and a
// notice at the size at which all of it can be read (see noticePoints). Its
// font stays the one it is given; only the drawing of a notice shrinks.
class DisplayLabel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;

    // The point size the text now in the label is drawn at.
    int shownPointSize() const;

protected:
    void paintEvent(QPaintEvent* event) override;
};
