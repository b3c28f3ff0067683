#include "Sampler.h"

#include "Measuring.h"

Sampler::Sampler(ProgramValues& values, TenthClock::Now now) : v(values), m_now(std::move(now)) {}

void Sampler::begin() {
    m_lastReplyAt = m_now();
    m_silent = false;
    m_afterGap = false;
}

Sampler::Result Sampler::sample(SerialLink& port) {
    Result r;
    const std::chrono::nanoseconds now = m_now();
    r.brightness = Measuring::takeSample(port, v.SampleCommand);
    // Timed by the tick that asked, not by this one, which may have come late.
    r.at = m_lastCommandAt.value_or(now);
    m_lastCommandAt = now;
    if (!r.brightness) {
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
    if (const auto tenths = Measuring::detect(v, *r.brightness)) {
        r.passage = true;
        // The count since before the gap is no interval; the passage starts
        // a new one all the same.
        if (m_afterGap)
            m_afterGap = false;
        else
            r.period = tenths;
    }
    return r;
}

void Sampler::gap() {
    m_afterGap = true;
    m_lastReplyAt = m_now();
}

void Sampler::boxGone() {
    m_silent = true;
    m_afterGap = true;
}
