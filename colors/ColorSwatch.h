#pragma once

#include "core/ColorValue.h"

#include <QFrame>

// A preview of one colour. The colour lives here and nowhere else until the
// dialog's choice is applied. A thin border marks the selected swatch.
class ColorSwatch : public QFrame {
    Q_OBJECT
public:
    explicit ColorSwatch(QWidget* parent = nullptr);

    ColorValue color() const { return m_color; }
    void setColor(ColorValue color);
    void setBorder(bool on);
    bool hasBorder() const { return frameShape() != QFrame::NoFrame; }

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    ColorValue m_color = 0;
    bool m_pressed = false;
};
