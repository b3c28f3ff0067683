#include "ChannelBar.h"

ChannelBar::ChannelBar(QWidget* parent) : QScrollBar(Qt::Vertical, parent) {
    setRange(0, Top);
    setSingleStep(1);
    setPageStep(16);
    setTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    // Qt's own menu here (Scroll here, Top, Bottom) would be in English.
    setContextMenuPolicy(Qt::NoContextMenu);
    setValue(Top);
    connect(this, &QScrollBar::valueChanged, this, &ChannelBar::channelChanged);
}
