#pragma once

#include <chrono>
#include <cstdint>
#include <functional>

// Timer2's tenths of a second, read from a free-running monotonic clock.
// Qt drops the ticks of a timer that falls more than an interval behind, so
// counting ticks alone would lose tenths whenever the event loop stalls and
// then show too short a time.
class TenthClock {
public:
    using Now = std::function<std::chrono::nanoseconds()>;
    // The clock's tick (Timer2) and the sampling ticks' (Timer1, Timer3).
    static constexpr int TenthMs = 100;
    static constexpr int SamplingMs = 10;
    static constexpr std::chrono::nanoseconds Tenth = std::chrono::milliseconds(TenthMs);

    static std::chrono::nanoseconds steadyNow();

    explicit TenthClock(Now now = steadyNow);

    // Counting starts now: the first tenth ends a tenth from now.
    void restart();

    // The tenths to count on one tick: every whole tenth that has ended since
    // the last one counted, and at least one, since each tick stands for one.
    // Resetting the count elsewhere does not move these tenths' phase.
    std::int64_t tick();

private:
    Now m_now;
    std::chrono::nanoseconds m_counted{}; // the end of the last tenth counted
};
