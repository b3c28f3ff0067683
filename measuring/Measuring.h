#pragma once

#include "core/ProgramValues.h"

#include <QByteArray>
#include <cstdint>
#include <optional>

class SerialLink;

// The measuring loop's pieces: the sampling exchange, on the line's side, and
// the count of tenths, on the window's.
namespace Measuring {

// One sampling tick's exchange with the box.
struct Exchange {
    bool sent = false;  // the sample command went out
    QByteArray replies; // every byte that had come back, oldest first
};

// Sends the sample command and takes every byte that has come back, without
// waiting. Nothing when the port is not open or the link has failed: a dead
// port must leave the display as it is.
Exchange exchange(SerialLink& port, const QByteArray& sampleCommand);

// The detector has seen a passage: the count of tenths it ends, to show, and
// the count starts afresh. None when the passage follows a gap in sampling,
// which only starts the count, or when the count had just started afresh
// anyway (a fresh interval crossed the passage on its way).
std::optional<int> passage(ProgramValues& v, bool followsGap);

// A fresh interval: the tenths are counted from 0 again. Every start of
// counting goes through here (start-up, the sensitivity dialog opened and
// left, the box back after it was away); the detector is told apart.
void freshInterval(ProgramValues& v);

// Tenths of a second have gone by: one on each clock tick, more when the
// tick came late. The count stops at MaxTenthCount. True when the count has
// just left 0, which arms the detector.
bool clockTick(ProgramValues& v, std::int64_t tenths = 1);

constexpr int MaxTenthCount = 60000;

} // namespace Measuring
