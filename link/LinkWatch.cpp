#include "LinkWatch.h"

#include "LinkStartup.h"
#include "core/PerixProtocol.h"

#include <algorithm>

LinkWatch::LinkWatch(std::unique_ptr<SerialLink> port, Hooks hooks, Clock clock, Platform platform)
    : m_port(std::move(port)), m_hooks(std::move(hooks)), m_clock(std::move(clock)),
      m_schedule(platform) {
    m_port->whenGone([this] { lost(); });
    m_port->whenFaulty([this] { faulted(); });
    if (SerialLink::OtherPortMaker maker = m_port->otherPortMaker())
        m_side = std::make_unique<SideProbes>(std::move(maker));
}

void LinkWatch::start() {
    m_state = State::Waiting;
    m_firstRound = true;
    m_round.clear();
    m_reply.clear();
    m_nextTryAt = m_clock();
}

int LinkWatch::msUntilDue() const {
    // A probe on another thread is waited for, unless it is slow to come back.
    if (m_state != State::Waiting || !m_round.isEmpty() || m_sideSince.size() > m_slow.size())
        return TickMs;
    return int(std::clamp<qint64>(m_nextTryAt - m_clock(), 0, RetryMs));
}

bool LinkWatch::isOpen() const {
    return m_state == State::Healthy;
}

void LinkWatch::lost() {
    // An adapter just pulled out is not back within the same second.
    m_state = State::Waiting;
    m_firstRound = false;
    m_roundOpen = false;
    m_nextTryAt = m_clock() + RetryMs;
    m_round.clear();
    m_reply.clear();
    m_failingSince.reset();
    if (m_hooks.gone)
        m_hooks.gone();
}

void LinkWatch::faulted() {
    // Start-up absorbs its own failures, and a probe that fails is let go anyway.
    if (m_state != State::Healthy)
        return;
    const qint64 now = m_clock();
    // Errors a long way apart, with silence between them, are no failing line.
    if (!m_failingSince || now - m_lastFaultAt > FailingMs)
        m_failingSince = now;
    m_lastFaultAt = now;
    // Lost at once, but closed only at the next tick: this report may come
    // from inside the port's own code.
    if (now - *m_failingSince >= FailingMs)
        lost();
}

void LinkWatch::requireHealthy() {
    if (m_state == State::Healthy && !m_port->isOpen())
        lost();
    if (watching())
        throw LinkError("the box's port has gone");
}

void LinkWatch::write(const QByteArray& bytes) {
    requireHealthy();
    try {
        m_port->write(bytes);
    } catch (const LinkError&) {
        faulted();
        throw;
    }
}

QByteArray LinkWatch::readAll() {
    requireHealthy();
    QByteArray received;
    try {
        received = m_port->readAll();
    } catch (const LinkError&) {
        faulted();
        throw;
    }
    // A reply: whatever failed before, the line works.
    if (!received.isEmpty())
        m_failingSince.reset();
    return received;
}

bool LinkWatch::waitForReadyRead(int msecs) {
    requireHealthy();
    return m_port->waitForReadyRead(msecs);
}

void LinkWatch::tick() {
    // A line given up while it kept failing is still open: let go of it
    // now, so that its errors stop.
    if (m_state == State::Waiting && m_port->isOpen())
        m_port->close();
    const qint64 now = m_clock();
    collectSideProbes(now);
    if (m_state == State::Waiting && (!m_round.isEmpty() || now >= m_nextTryAt))
        tryToOpen(now);
    else if (m_state == State::Probing)
        collectProbeReply(now);
    else if (m_state == State::Waiting)
        checkRoundEnd();
}

void LinkWatch::startRound(qint64 now) {
    m_nextTryAt = now + RetryMs;
    m_roundOpen = true;
    const QString named = m_port->namedDevice();
    const QList<PortSearch::PresentPort> present = m_port->portsPresent();
    if (named.isEmpty() && present.isEmpty()) {
        m_round = {QString()};
        return;
    }
    // The ports present are listed afresh each round: a box on an adapter
    // plugged into another socket has a new name.
    const QString last = m_schedule.lastAnswered();
    for (const QString& device : m_schedule.round(named, present, now).probe) {
        if (m_side && device != named && device != last) {
            m_schedule.started(device, now);
            m_sideSince.insert(device, now);
            m_side->start(device);
        } else {
            m_round << device;
        }
    }
}

void LinkWatch::collectSideProbes(qint64 now) {
    if (!m_side)
        return;
    for (const SideProbes::Result& r : m_side->finished()) {
        m_schedule.probed(r.device, r.outcome, now);
        m_sideSince.remove(r.device);
        m_slow.remove(r.device);
        // Found on a thread of its own: the port itself probes it next,
        // before anything else, and keeps it.
        if (r.outcome == ProbeSchedule::Outcome::Box && watching() && !m_round.contains(r.device))
            m_round.prepend(r.device);
    }
    for (auto it = m_sideSince.cbegin(); it != m_sideSince.cend(); ++it) {
        if (!m_slow.contains(it.key()) && now - it.value() >= SlowAfterMs) {
            m_slow.insert(it.key());
            m_schedule.probed(it.key(), ProbeSchedule::Outcome::Slow, now);
        }
    }
}

void LinkWatch::checkRoundEnd() {
    if (!m_roundOpen || !m_round.isEmpty() || m_sideSince.size() > m_slow.size())
        return;
    m_roundOpen = false;
    m_firstRound = false;
    if (m_hooks.notFound)
        m_hooks.notFound();
}

bool LinkWatch::nowhereElse() const {
    return PortSearch::order(m_port->namedDevice(), m_port->portsPresent(), ThisPlatform).size() <=
           1;
}

void LinkWatch::tryToOpen(qint64 now) {
    if (m_round.isEmpty())
        startRound(now);
    if (m_round.isEmpty()) {
        checkRoundEnd();
        return;
    }
    m_probed = m_round.takeFirst();
    if (!m_probed.isEmpty()) {
        LinkStartup::runAbsorbing([&] { m_port->setDevice(m_probed); });
        m_schedule.started(m_probed, now);
    }
    LinkStartup::openLine(*m_port, LinkStartup::runAbsorbing);
    if (!m_port->isOpen()) {
        if (!m_probed.isEmpty())
            m_schedule.probed(m_probed, ProbeSchedule::Outcome::WouldNotOpen, now);
        checkRoundEnd();
        return;
    }
    // No notices this time: the not-connected notice stays until the box
    // has answered.
    m_reply.clear();
    LinkStartup::sendWakeAndProbe(*m_port, LinkStartup::runAbsorbing);
    m_state = State::Probing;
    m_probeEndsAt = now + LinkStartup::ProbeWaitMs;
    collectProbeReply(now);
}

void LinkWatch::collectProbeReply(qint64 now) {
    try {
        m_reply += m_port->readAll();
    } catch (const LinkError&) {
        giveUpTry(now);
        return;
    }
    if (LinkStartup::replyIsFromBox(m_reply)) {
        if (!m_probed.isEmpty())
            m_schedule.probed(m_probed, ProbeSchedule::Outcome::Box, now);
        m_state = State::Healthy;
        m_firstRound = false;
        m_roundOpen = false;
        m_round.clear();
        m_reply.clear();
        if (m_hooks.back)
            m_hooks.back();
        return;
    }
    if (m_reply.size() >= PerixProtocol::identity().size() || now >= m_probeEndsAt)
        giveUpTry(now);
}

void LinkWatch::giveUpTry(qint64 now) {
    if (!m_probed.isEmpty())
        m_schedule.probed(m_probed,
                          m_reply.isEmpty() ? ProbeSchedule::Outcome::Silent
                                            : ProbeSchedule::Outcome::Other,
                          now);
    m_reply.clear();
    // With nowhere else to look, the port start-up opened stays its users'
    // as designed, box or no box: the samples will show when it answers.
    if (m_firstRound && m_port->isOpen() && nowhereElse()) {
        m_state = State::Healthy;
        m_firstRound = false;
        m_roundOpen = false;
        if (m_hooks.notFound)
            m_hooks.notFound();
        return;
    }
    // Something answers on the port but not the box, or nothing does: let go
    // of the port; the next device of the round is tried at the next tick.
    m_port->close();
    m_state = State::Waiting;
    checkRoundEnd();
}
