#include "Sampler.h"

#include "Measuring.h"

Sampler::Sampler(TenthClock::Now now) : m_now(std::move(now)) {}

void Sampler::begin() {
    m_lastReplyAt = m_now();
    m_commands.clear();
    m_silent = false;
    m_afterGap = false;
}

Sampler::Result Sampler::sample(SerialLink& port) {
    Result r;
    const std::chrono::nanoseconds now = m_now();
    const Measuring::Exchange x = Measuring::exchange(port, m_command);
    // Timed by the ticks that asked, not by this one, which may have come late.
    const auto times = m_commands.replied(std::size_t(x.replies.size()), now);
    if (x.sent)
        m_commands.sent(now);
    if (x.replies.isEmpty()) {
        if (!m_silent && now - m_lastReplyAt >= SilenceAfter) {
            m_silent = true;
            m_afterGap = true;
            r.fellSilent = true;
        }
        return r;
    }
    m_lastReplyAt = now;
    if (m_silent) {
        m_silent = false;
        r.answersAgain = true;
    }
    for (qsizetype i = 0; i < x.replies.size(); ++i)
        r.samples.append(detect(static_cast<unsigned char>(x.replies.at(i)), times[size_t(i)]));
    return r;
}

Sampler::Sample Sampler::detect(int brightness, std::chrono::nanoseconds at) {
    Sample s{brightness, at, false, false};
    if (m_detector.see(brightness)) {
        s.passage = true;
        // The count since before the gap is no interval; the passage starts
        // a new one all the same.
        s.followsGap = m_afterGap;
        m_afterGap = false;
    }
    return s;
}

void Sampler::gap() {
    m_afterGap = true;
    m_lastReplyAt = m_now();
}

void Sampler::boxGone() {
    m_commands.clear();
    m_silent = true;
    m_afterGap = true;
}
