#pragma once

#include "core/ProgramValues.h"

#include <QByteArray>
#include <cstdint>
#include <optional>

class SerialLink;

// The measuring loop's pieces, shared by the main window's sampling tick and
// the sensitivity dialog's.
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

// Feeds one brightness sample to the detector. Returns the count of tenths to
// show when the beam has just been interrupted.
std::optional<int> detect(ProgramValues& v, int brightness);

// What a fresh interval does with the brightest light seen so far.
enum class Peak {
    Kept,     // sampling only paused: the same light, the same peak
    Forgotten // the box was away: its light may differ now
};

// A fresh interval: the tenths are counted from 0 again. Every start of
// counting goes through here (start-up, the sensitivity dialog opened and
// left, the box back after it was away).
void freshInterval(ProgramValues& v, Peak peak = Peak::Kept);

// Tenths of a second have gone by: one on each clock tick, more when the
// tick came late. The count stops at MaxTenthCount.
void clockTick(ProgramValues& v, std::int64_t tenths = 1);

constexpr int MaxTenthCount = 60000;

} // namespace Measuring
