#pragma once

#include "PassageIntervals.h"
#include "SwingFigures.h"

#include <QList>
#include <chrono>
#include <optional>

// The passages since the series began, for the きろく window: each with the
// interval it ended, by the same rule as the record file, and the number the
// display showed. Kept in memory for the run; a lesson of hours is a few
// thousand passages.
class SwingSeries {
public:
    struct Passage {
        std::optional<std::chrono::milliseconds> interval; // none: it only started the count
        std::optional<int> shownTenths;
    };

    // A passage seen in the sample taken at `seenAt` by the monotonic clock,
    // and the tenths the display showed for it; none after a gap in sampling.
    void passage(std::chrono::nanoseconds seenAt, std::optional<int> shownTenths);
    // Sampling was interrupted: the next passage ends no interval.
    void gap() { m_intervals.gap(); }
    // A new series, for the next length: empty, and its first passage only
    // starts the count, since the time back to the old series' last passage
    // is no swing.
    void restart() { *this = SwingSeries(); }

    // Oldest first; passage number n is passages()[n - 1].
    const QList<Passage>& passages() const { return m_passages; }
    const SwingFigures& figures() const { return m_figures; }

private:
    PassageIntervals m_intervals;
    QList<Passage> m_passages;
    SwingFigures m_figures;
};
