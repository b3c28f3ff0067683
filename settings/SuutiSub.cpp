#include "SuutiSub.h"

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

bool isCollected(char c) {
    return isDigit(c) || c == '-';
}

} // namespace

std::optional<std::int16_t> SuutiSub(QByteArrayView text) {
    if (text.size() > SuutiSubLongestText)
        return std::nullopt;

    qsizetype collected = 0;
    while (collected < text.size() && isCollected(text[collected]))
        ++collected;
    // Collecting the character at the last position would move the count past it.
    if (collected == SuutiSubLongestText)
        return std::nullopt;

    qsizetype i = 0;
    const bool negative = collected > 0 && text[0] == '-';
    if (negative)
        i = 1;
    std::int32_t magnitude = 0;
    for (; i < collected && isDigit(text[i]); ++i) {
        magnitude = magnitude * 10 + (text[i] - '0');
        if (magnitude > 32768) // more digits only make it larger
            return std::nullopt;
    }
    const std::int32_t n = negative ? -magnitude : magnitude;
    if (n > 32767)
        return std::nullopt;
    return std::int16_t(n);
}
