#pragma once

#include "SwingSeries.h"

#include <QString>
#include <optional>

// The series as text to paste into Excel or Calc: tab-separated, a header
// row, a '.' for the decimal point, so that each number lands in a cell of
// its own. The passages fill columns A to C (number, interval, number
// shown); the figures sit beside them in E and F, from the first row, where
// they are seen at once however long the table:
//
//   番号→間隔（秒）→表示（秒）→→回数→2
//   1→→0.9→→平均（秒）→1.250
//   2→1.250→1.2→→ばらつき（秒）→
//   ...
//
// A figure that cannot be worked out yet has an empty cell.
namespace SeriesTable {

// Decimals the figures are given with, in the window as in the text.
inline constexpr int SecondsDecimals = 3;
inline constexpr int GravityDecimals = 2;

QString tabSeparated(const SwingSeries& series, std::optional<double> lengthM);

// A figure in seconds to the thousandth, or empty.
QString seconds(std::optional<double> value);
// g to the hundredth, or empty.
QString gravity(std::optional<double> value);
// The length as the teacher would write it: "1.55", "0.755"; or empty.
QString length(std::optional<double> metres);

} // namespace SeriesTable
