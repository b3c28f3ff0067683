#pragma once

#include <QByteArrayView>
#include <cstdint>
#include <optional>

// Reads the leading number of a value text from the customization file: the
// run of digits and minus signs at its start, read as an optional minus sign
// followed by digits ("12abc" is 12, "--5" and "" are 0, "+5" and " 12" are 0).
// Like the number, the walk's position is a 16-bit count, so there is no
// result for a number outside -32768..32767, for a text longer than
// SuutiSubLongestText, nor for a walk that steps past that position (a text of
// exactly that length made only of digits and minus signs).
std::optional<std::int16_t> SuutiSub(QByteArrayView text);

inline constexpr std::int64_t SuutiSubLongestText = 32767;
