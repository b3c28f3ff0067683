#pragma once

#include <QScrollBar>

// A vertical bar for one colour channel, 255 at the top and 0 at the bottom,
// so moving the thumb up makes the channel brighter. The bar itself runs 0 at
// the top as Qt's bars do; only the channel is turned round, so the arrows,
// page clicks, wheel and keys all move the thumb the way they point.
class ChannelBar : public QScrollBar {
    Q_OBJECT
public:
    static constexpr int Top = 255;

    explicit ChannelBar(QWidget* parent = nullptr);

    int channel() const { return Top - value(); }
    // Reports channelChanged only when the channel really changes.
    void setChannel(int channel) { setValue(Top - channel); }

signals:
    // On every change, arrows, pages, keys and set values, and continuously
    // while the thumb is dragged.
    void channelChanged();
};
