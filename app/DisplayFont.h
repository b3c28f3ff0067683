#pragma once

#include <QFont>

// The window face, "ＭＳ ゴシック", with the Japanese gothic faces to fall
// back on where it is not installed, so no text ever shows as boxes.
QFont displayFont(int points);
