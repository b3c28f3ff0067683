#pragma once

#include <QFont>
#include <QSize>
#include <QString>

// The point size the display draws `text` at, in a label of `label` pixels
// whose type is `designedPoints` big. A period keeps the designed size, as
// it always has. Any other text is a notice, there to be read: the largest
// size up to the designed one at which all its lines fit the label, broken
// only where the text breaks them. 1 point when even that does not fit.
int noticePoints(const QString& text, const QFont& font, QSize label, int designedPoints);
