#pragma once

#include <QtGlobal>

// A USB serial adapter's latency timer: what comes in from the box is held,
// and handed over to the computer all together each time a free-running timer
// runs out (FTDI's runs out every 16 ms unless told otherwise). No period:
// handed over at once, as on a built-in port.
struct AdapterLatency {
    qint64 periodMicros = 0;

    // When a byte that reached the adapter at `micros` (counted from the
    // timer's start) reaches the computer.
    qint64 handedOverAt(qint64 micros) const {
        if (periodMicros <= 0)
            return micros;
        return (micros + periodMicros - 1) / periodMicros * periodMicros;
    }
};
