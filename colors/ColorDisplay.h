#pragma once

#include "core/ColorValue.h"

// What the colour dialog changes on the main window when its choice is
// applied: the display label's two colours and the window's own background.
class ColorDisplay {
public:
    virtual void setDisplayColors(ColorValue text, ColorValue back) = 0;
    virtual void setWindowBackColor(ColorValue back) = 0;

protected:
    ~ColorDisplay() = default;
};
