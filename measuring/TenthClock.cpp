#include "TenthClock.h"

#include <algorithm>

std::chrono::nanoseconds TenthClock::steadyNow() {
    return std::chrono::steady_clock::now().time_since_epoch();
}

TenthClock::TenthClock(Now now) : m_now(std::move(now)) {
    restart();
}

void TenthClock::restart() {
    m_counted = m_now();
}

std::int64_t TenthClock::tick() {
    const std::int64_t whole = (m_now() - m_counted) / Tenth;
    // A tick that comes a little early still counts its tenth; the tenths
    // keep their phase either way, so the count cannot drift.
    const std::int64_t tenths = std::max<std::int64_t>(1, whole);
    m_counted += tenths * Tenth;
    return tenths;
}
