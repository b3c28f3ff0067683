#pragma once

#include <QEvent>
#include <QWidget>
#include <functional>

// Calls back each time a widget has finished painting itself: the moment
// its new look is in the window.
class PaintWatch : public QObject {
public:
    PaintWatch(QWidget* widget, std::function<void()> painted)
        : m_widget(widget), m_painted(std::move(painted)) {
        widget->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != m_widget || event->type() != QEvent::Paint)
            return false;
        // Paint first, then call back; the widget's own handler has done it all.
        static_cast<QObject*>(m_widget)->event(event);
        m_painted();
        return true;
    }

private:
    QWidget* m_widget;
    std::function<void()> m_painted;
};
