#include "CommandTimes.h"

std::vector<std::chrono::nanoseconds> CommandTimes::replied(std::size_t replies,
                                                            std::chrono::nanoseconds now) {
    std::vector<std::chrono::nanoseconds> times;
    times.reserve(replies);
    for (; replies > 0; --replies) {
        if (m_waiting.empty()) {
            times.push_back(now);
            continue;
        }
        times.push_back(m_waiting.front());
        m_waiting.pop_front();
    }
    if (!m_waiting.empty() && now - m_caughtUpAt >= GiveUpAfter)
        m_waiting.pop_front();
    if (m_waiting.empty())
        m_caughtUpAt = now;
    return times;
}
