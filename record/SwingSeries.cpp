#include "SwingSeries.h"

#include "SecondsText.h"

void SwingSeries::passage(std::chrono::nanoseconds seenAt, std::optional<int> shownTenths) {
    Passage p{std::nullopt, shownTenths};
    if (const auto interval = m_intervals.passage(seenAt, shownTenths)) {
        p.interval = SecondsText::millis(*interval);
        m_figures.add(*p.interval);
    }
    m_passages.append(p);
}
