#pragma once

#include "BenchFigures.h"

#include <QCoreApplication>
#include <QFile>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <sys/resource.h>

// What a process costs once it has settled: the share of one core it used,
// its peak resident memory and how often it woke. The start-up's own burst
// is left out.
namespace CostProbe {

inline double cpuSeconds() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
           double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

inline long peakResidentKiB() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_maxrss; // KiB on Linux
}

inline double wallSeconds() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// The main thread's: the one the event loop runs on, whose every wake-up
// costs a pass through the loop. 0 where /proc cannot be read.
inline qint64 contextSwitches() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    return BenchFigures::contextSwitches(status.readAll()).value_or(0);
}

// Every thread's, those that have ended included: the line's thread and the
// probes' threads wake the process as much as the event loop does.
inline qint64 allContextSwitches() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_nvcsw + u.ru_nivcsw;
}

// Prints "C <share of one core> <peak resident KiB> <wake-ups per second>
// <all threads' wake-ups per second>" for the `seconds` after the first
// `warmup` seconds, then ends the event loop.
inline void reportAfter(int warmupSeconds, int seconds) {
    QTimer::singleShot(warmupSeconds * 1000, [seconds] {
        const qint64 switches0 = contextSwitches();
        const qint64 all0 = allContextSwitches();
        const double cpu0 = cpuSeconds();
        const double wall0 = wallSeconds();
        QTimer::singleShot(seconds * 1000, [cpu0, wall0, switches0, all0] {
            const double wall = wallSeconds() - wall0;
            const double share = (cpuSeconds() - cpu0) / wall;
            const double wakeups = double(contextSwitches() - switches0) / wall;
            const double all = double(allContextSwitches() - all0) / wall;
            std::printf("C %.6f %ld %.1f %.1f\n", share, peakResidentKiB(), wakeups, all);
            QCoreApplication::exit(0);
        });
    });
}

} // namespace CostProbe
