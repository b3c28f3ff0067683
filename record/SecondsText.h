#pragma once

#include <QString>
#include <chrono>

// Times and figures as the record file, the きろく window and its copied text
// write them: always with a '.' for the decimal point, whatever the language,
// so that a spreadsheet reads them as numbers.
namespace SecondsText {

// Whole milliseconds, rounded: the record's and the series' grain.
std::chrono::milliseconds millis(std::chrono::nanoseconds span);

// Seconds with three decimals: 1250 ms "1.250".
QString thousandths(std::chrono::milliseconds span);

// The number the display showed, without the space before it and the unit:
// 7 tenths "0.7", 13 "1.3", 20 "2".
QString shown(int tenths);

// A figure with this many decimals: fixed(9.7912, 2) "9.79".
QString fixed(double value, int decimals);

} // namespace SecondsText
