#include "ChannelBar.h"

ChannelBar::ChannelBar(QWidget* parent) : QScrollBar(Qt::Vertical, parent) {
    setRange(0, Top);
    setSingleStep(1);
    setPageStep(16);
    setTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    // A right click does nothing, as on the other controls of the dialog.
    setContextMenuPolicy(Qt::NoContextMenu);
    setValue(Top);
    connect(this, &QScrollBar::valueChanged, this, &ChannelBar::channelChanged);
}
