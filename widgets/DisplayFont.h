#pragma once

#include <QFont>

// The window face, "ＭＳ ゴシック", with the Japanese gothic faces to fall
// back on where it is not installed, so no text ever shows as boxes.
QFont displayFont(int points);
// The same face at a fractional size, as the dialogs are designed (14.25 pt).
QFont displayFont(double points);
// The same face in bold, for the dialogs' headings.
QFont boldDisplayFont(double points);
