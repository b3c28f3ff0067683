#pragma once

#include "sim/SimClock.h"

// A clock that moves only when told to, or when someone sleeps on it.
class ManualClock : public SimClock {
public:
    qint64 now = 0;
    qint64 nowMicros() override { return now; }
    void sleepMicros(qint64 micros) override { now += micros; }
    void advanceMs(double ms) { now += qint64(ms * 1000); }
};
