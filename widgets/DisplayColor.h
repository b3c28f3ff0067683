#pragma once

#include "core/ColorValue.h"

#include <QColor>

// Colour values as the windows draw them.
inline QColor toQColor(ColorValue c) {
    return QColor(ColorChannels::red(c), ColorChannels::green(c), ColorChannels::blue(c));
}

inline ColorValue toColorValue(const QColor& c) {
    return ColorChannels::combine(c.red(), c.green(), c.blue());
}
