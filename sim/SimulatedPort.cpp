#include "SimulatedPort.h"

#include "link/LineSettings.h"

#include <algorithm>

SimulatedPort::SimulatedPort(std::unique_ptr<SimClock> clock, PendulumLight::Setup pendulum)
    : m_clock(std::move(clock)), m_light(pendulum),
      m_box([this] { return m_light.brightnessAt(double(m_sensedAt) / 1e6); }) {}

void SimulatedPort::setCommPort(int portNumber) {
    if (m_open)
        throw LinkError("cannot change the port while it is open");
    if (portNumber < 1 || portNumber > 4)
        throw LinkError("port number out of range");
}

void SimulatedPort::setSettings(const QString& settings) {
    LineSettings::parse(settings);
}

void SimulatedPort::open() {
    if (m_open)
        throw LinkError("port already open");
    m_open = true;
}

void SimulatedPort::requireOpen() const {
    if (!m_open)
        throw LinkError("port is not open");
}

void SimulatedPort::write(const QByteArray& bytes) {
    requireOpen();
    const qint64 now = m_clock->nowMicros();
    for (char byte : bytes) {
        m_lineFreeAt = std::max(m_lineFreeAt, now) + ByteMicros;
        m_toBox.push_back({m_lineFreeAt, byte});
    }
}

void SimulatedPort::deliverToBox(qint64 now) {
    while (!m_toBox.empty() && m_toBox.front().arrivesAt <= now) {
        const InFlight command = m_toBox.front();
        m_toBox.pop_front();
        // The sensor is read when the command arrives, not when we look.
        m_sensedAt = command.arrivesAt;
        const QByteArray reply = m_box.receive(static_cast<unsigned char>(command.byte));
        for (char byte : reply) {
            m_replyFreeAt =
                std::max(m_replyFreeAt, command.arrivesAt + TurnaroundMicros) + ByteMicros;
            m_fromBox.push_back({m_adapter.handedOverAt(m_replyFreeAt), byte});
        }
    }
}

QByteArray SimulatedPort::readAll() {
    requireOpen();
    const qint64 now = m_clock->nowMicros();
    deliverToBox(now);
    QByteArray received;
    while (!m_fromBox.empty() && m_fromBox.front().arrivesAt <= now) {
        received.append(m_fromBox.front().byte);
        m_fromBox.pop_front();
    }
    return received;
}

bool SimulatedPort::waitForReadyRead(int msecs) {
    requireOpen();
    const qint64 now = m_clock->nowMicros();
    const qint64 deadline = now + qint64(msecs) * 1000;
    // Commands still on their way may yet bring answers; hand them over as
    // time passes, one arrival at a time.
    for (;;) {
        const qint64 current = m_clock->nowMicros();
        deliverToBox(current);
        if (!m_fromBox.empty() && m_fromBox.front().arrivesAt <= current)
            return true;
        qint64 next = deadline;
        if (!m_fromBox.empty())
            next = std::min(next, m_fromBox.front().arrivesAt);
        if (!m_toBox.empty())
            next = std::min(next, m_toBox.front().arrivesAt);
        if (current >= deadline)
            return false;
        m_clock->sleepMicros(std::max<qint64>(next - current, 1));
    }
}
