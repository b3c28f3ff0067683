#include "ColorSwatch.h"

#include "widgets/DisplayColor.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionFocusRect>

ColorSwatch::ColorSwatch(QWidget* parent) : QFrame(parent) {
    setAutoFillBackground(true);
    // It is a stop on the Tab key's round, as the dialog's other controls.
    setFocusPolicy(Qt::StrongFocus);
    setLineWidth(1);
    setBorder(false);
    setColor(0);
}

void ColorSwatch::setColor(ColorValue color) {
    m_color = color;
    QPalette p = palette();
    p.setColor(QPalette::Window, toQColor(color));
    p.setColor(QPalette::WindowText, Qt::black);
    setPalette(p);
}

void ColorSwatch::setBorder(bool on) {
    setFrameStyle(on ? QFrame::Box | QFrame::Plain : QFrame::NoFrame);
}

void ColorSwatch::mousePressEvent(QMouseEvent* event) {
    m_pressed = event->button() == Qt::LeftButton;
    if (m_pressed)
        setFocus(Qt::MouseFocusReason);
}

void ColorSwatch::mouseReleaseEvent(QMouseEvent* event) {
    const bool click = m_pressed && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    m_pressed = false;
    if (click)
        emit clicked();
}

void ColorSwatch::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    if (!hasFocus())
        return;
    // Without a mark the keyboard focus would vanish on a plain colour.
    QPainter painter(this);
    QStyleOptionFocusRect option;
    option.initFrom(this);
    option.rect = rect().adjusted(2, 2, -2, -2);
    option.backgroundColor = toQColor(m_color);
    style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
}
