#include "ProbeSchedule.h"

#include "PortKind.h"

#include <algorithm>
#include <optional>

ProbeSchedule::Round ProbeSchedule::round(const QString& named,
                                          const QList<PortSearch::PresentPort>& present,
                                          qint64 nowMs) {
    for (auto it = m_ports.begin(); it != m_ports.end();) {
        const bool listed = it.key() == named ||
                            std::any_of(present.begin(), present.end(),
                                        [&](const auto& port) { return port.device == it.key(); });
        if (listed) {
            ++it;
        } else if (it->probing) {
            // Its probe still owns the device: not probed twice at once.
            *it = Memory{};
            it->probing = true;
            it->gone = true;
            ++it;
        } else {
            it = m_ports.erase(it);
        }
    }

    QStringList first; // the named port, then where the box last answered
    QStringList others;
    QStringList slow;
    Round round;
    for (const QString& device : PortSearch::order(named, present, m_platform)) {
        const bool everyRound = device == named || device == m_lastAnswered;
        const Memory& memory = m_ports[device];
        std::optional<Skip> skip;
        if (!everyRound && !mayBeTheBox(PortSearch::entryOf(device, present), m_platform))
            skip = Skip::CannotBeBox;
        else if (memory.probing)
            skip = Skip::StillProbing;
        else if (!everyRound && memory.answeredOther)
            skip = Skip::AnsweredOther;
        else if (!everyRound && memory.dueMs > nowMs)
            skip = Skip::Resting;
        if (skip)
            round.leftAlone.append({device, *skip});
        else if (memory.slow)
            slow << device;
        else if (device == named)
            first.prepend(device);
        else if (everyRound)
            first << device;
        else
            others << device;
    }
    round.probe = first + others + slow;
    return round;
}

void ProbeSchedule::started(const QString& device, qint64) {
    m_ports[device].probing = true;
}

void ProbeSchedule::probed(const QString& device, Outcome outcome, qint64 nowMs) {
    Memory& memory = m_ports[device];
    if (outcome == Outcome::Slow) {
        memory.slow = true; // and its probe runs on
        return;
    }
    if (outcome == Outcome::Box)
        m_lastAnswered = device;
    if (memory.gone) {
        m_ports.remove(device);
        return;
    }
    memory.probing = false;
    switch (outcome) {
    case Outcome::Box:
        memory.restMs = 0;
        memory.dueMs = 0;
        memory.answeredOther = false;
        break;
    case Outcome::Other:
        memory.answeredOther = true;
        break;
    case Outcome::Silent:
    case Outcome::WouldNotOpen:
        memory.restMs =
            memory.restMs == 0 ? FirstRestMs : std::min(2 * memory.restMs, LongestRestMs);
        memory.dueMs = nowMs + memory.restMs;
        break;
    case Outcome::Slow:
        break;
    }
}

QString ProbeSchedule::lastAnswered() const {
    return m_lastAnswered;
}
