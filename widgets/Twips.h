#pragma once

#include <QPoint>
#include <QRect>

// The dialogs are designed in twips, 1/1440 inch: fifteen to a pixel at 96 dpi.
namespace Twips {

constexpr int PerPixel = 15;

constexpr QRect rect(int left, int top, int width, int height) {
    return {left / PerPixel, top / PerPixel, width / PerPixel, height / PerPixel};
}

constexpr QPoint point(int x, int y) {
    return {x / PerPixel, y / PerPixel};
}

} // namespace Twips
