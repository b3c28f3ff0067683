#pragma once

#include <QCoreApplication>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <sys/resource.h>

// What a process costs once it has settled: the share of one core it used
// and its peak resident memory. The start-up's own burst is left out.
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

// Prints "C <share of one core> <peak resident KiB>" for the `seconds` after
// the first `warmup` seconds, then ends the event loop.
inline void reportAfter(int warmupSeconds, int seconds) {
    QTimer::singleShot(warmupSeconds * 1000, [seconds] {
        const double cpu0 = cpuSeconds();
        const double wall0 = wallSeconds();
        QTimer::singleShot(seconds * 1000, [cpu0, wall0] {
            const double share = (cpuSeconds() - cpu0) / (wallSeconds() - wall0);
            std::printf("C %.6f %ld\n", share, peakResidentKiB());
            QCoreApplication::exit(0);
        });
    });
}

} // namespace CostProbe
