#pragma once

#include "core/ColorValue.h"

#include <array>
#include <optional>

// The classic sixteen colours that the customization file's colour numbers
// and the colour dialog's built-in colours refer to.
namespace ColorTable {

constexpr std::array<ColorValue, 16> entries = {
    0x000000, // 0 black
    0x800000, // 1 blue
    0x008000, // 2 green
    0x808000, // 3 cyan
    0x000080, // 4 red
    0x800080, // 5 magenta
    0x008080, // 6 yellow (olive)
    0xC0C0C0, // 7 white (light grey)
    0x808080, // 8 grey
    0xFF0000, // 9 light blue
    0x00FF00, // 10 light green
    0xFFFF00, // 11 light cyan
    0x0000FF, // 12 light red
    0xFF00FF, // 13 light magenta
    0x00FFFF, // 14 light yellow
    0xFFFFFF, // 15 bright white
};

// The colour numbered n, or nothing for a number with no entry.
constexpr std::optional<ColorValue> lookup(int n) {
    if (n < 0 || n >= int(entries.size()))
        return std::nullopt;
    return entries[std::size_t(n)];
}

constexpr ColorValue entry(int n) {
    return entries[std::size_t(n)];
}

// The program's own colours, used when nothing else is chosen: black text on
// light grey.
constexpr ColorValue BuiltInText = entry(0);
constexpr ColorValue BuiltInBack = entry(7);

} // namespace ColorTable
