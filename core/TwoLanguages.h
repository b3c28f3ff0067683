#pragma once

#include <QString>

namespace TwoLanguages {

// What the command-line programs say comes in Japanese, then English, on one line.
inline QString both(const QString& japanese, const QString& english) {
    return japanese + QStringLiteral(" / ") + english;
}

} // namespace TwoLanguages
