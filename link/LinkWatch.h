#pragma once

#include "core/ProgramValues.h"
#include "link/SerialLink.h"

#include <QByteArray>
#include <QtGlobal>
#include <functional>
#include <memory>

// The serial port as the rest of the program sees it, picking the box up
// again after the port has gone away mid-run (an unplugged USB adapter).
//
// While the link is healthy every call goes straight through to the port and
// nothing else happens. Once the port has gone, the link looks closed to its
// users (the sampling ticks, the box routines) while, about once a second, it
// reopens the same port and wakes and probes the box as at start-up, never
// waiting on the line. When the box answers, measuring starts a fresh
// interval and the link is theirs again. A port that never opened is never
// retried.
//
// The owner calls tick() every TickMs while watching() is true; the clock
// gives milliseconds from any fixed point, so tests can move it by hand.
class LinkWatch : public SerialLink {
public:
    using Clock = std::function<qint64()>;
    struct Hooks {
        // The port has gone: tell the user and start calling tick().
        std::function<void()> gone;
        // The box has answered again.
        std::function<void()> back;
    };

    static constexpr int RetryMs = 1000;
    // Short enough to see the probe's reply soon after it is in.
    static constexpr int TickMs = 20;

    LinkWatch(ProgramValues& values, std::unique_ptr<SerialLink> port, Hooks hooks, Clock clock);

    bool watching() const { return m_state != State::Healthy; }
    bool probing() const { return m_state == State::Probing; }
    void tick();

    void setCommPort(int portNumber) override { m_port->setCommPort(portNumber); }
    void setSettings(const QString& settings) override { m_port->setSettings(settings); }
    void open() override { m_port->open(); }
    bool isOpen() const override { return !watching() && m_port->isOpen(); }
    void close() override { m_port->close(); }
    void setBinaryInput() override { m_port->setBinaryInput(); }
    void setSThreshold(int bytes) override { m_port->setSThreshold(bytes); }
    void setRThreshold(int bytes) override { m_port->setRThreshold(bytes); }
    void write(const QByteArray& bytes) override;
    QByteArray readAll() override;
    bool waitForReadyRead(int msecs) override;

private:
    enum class State { Healthy, Waiting, Probing };
    void lost();
    // While the box is away, or being probed, nobody else may use the line:
    // a sampling tick would take the probe's reply for a brightness.
    void requireHealthy() const;
    void tryToOpen(qint64 now);
    void collectProbeReply(qint64 now);
    void giveUpTry();

    ProgramValues& v;
    std::unique_ptr<SerialLink> m_port;
    Hooks m_hooks;
    Clock m_clock;
    State m_state = State::Healthy;
    qint64 m_nextTryAt = 0;
    qint64 m_probeEndsAt = 0;
    QByteArray m_reply;
};
