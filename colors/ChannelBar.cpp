#include "ChannelBar.h"

ChannelBar::ChannelBar(QWidget* parent) : QScrollBar(Qt::Vertical, parent) {
    setRange(0, Top);
    setSingleStep(1);
    setPageStep(16);
    setTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setValue(Top);
    connect(this, &QScrollBar::valueChanged, this, &ChannelBar::channelChanged);
}
