#pragma once

#include <cstdint>

// A colour value: red + 256 * green + 65536 * blue, top byte zero, as the
// customization file's colour numbers and the colour dialog's bars expect.
using ColorValue = std::int32_t;

namespace ColorChannels {

constexpr int red(ColorValue c) {
    return c & 0xFF;
}
constexpr int green(ColorValue c) {
    return (c >> 8) & 0xFF;
}
constexpr int blue(ColorValue c) {
    return (c >> 16) & 0xFF;
}
constexpr ColorValue combine(int red, int green, int blue) {
    return ColorValue(red + 256 * green + 65536 * blue);
}

} // namespace ColorChannels
