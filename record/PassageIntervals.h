#pragma once

#include <chrono>
#include <optional>

// Which passages end an interval, and how long it is: the one rule that the
// record file and the きろく series both follow, so that they hold the same
// intervals. An interval is the time between the samples in which two passages
// one after the other were seen. None spans a gap in sampling (the box away or
// silent, the sensitivity dialog, the quit question answered いいえ): the
// first passage after one only starts the count again.
class PassageIntervals {
public:
    // A passage seen in the sample taken at `seenAt` by the monotonic clock,
    // with the tenths the display showed for it. The display shows none for
    // the first passage after a gap in sampling, so that passage ends no
    // interval either. Returns the interval it ends; none for the first
    // passage and for the first after a gap.
    std::optional<std::chrono::nanoseconds> passage(std::chrono::nanoseconds seenAt,
                                                    std::optional<int> shownTenths) {
        if (!shownTenths)
            gap();
        std::optional<std::chrono::nanoseconds> interval;
        if (m_previous)
            interval = seenAt - *m_previous;
        m_previous = seenAt;
        return interval;
    }

    // Sampling was interrupted: the next passage ends no interval.
    void gap() { m_previous.reset(); }

private:
    std::optional<std::chrono::nanoseconds> m_previous;
};
