#pragma once

#include "app/ProgramValues.h"

#include <QColor>

// Colour values keep red in the low byte, as the customization file's
// colour numbers and the colour dialog's bars expect.
inline QColor toQColor(ColorValue c) {
    return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
}

inline ColorValue toColorValue(const QColor& c) {
    return ColorValue(c.red() + 256 * c.green() + 65536 * c.blue());
}
