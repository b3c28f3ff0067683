#pragma once

#include "link/SerialLink.h"

#include <QByteArray>
#include <QtGlobal>
#include <functional>
#include <memory>
#include <optional>

// The serial port as the rest of the program sees it, picking the box up
// whenever it comes: after start-up found no port, and after the port has
// gone away mid-run (an unplugged USB adapter).
//
// Start-up has its one try at the port through the watch, as designed. Then
// startWatching() hands the line to its users (the sampling ticks, the box
// routines) when the port is open; otherwise the port is watched as a lost
// one. While the line is healthy every call goes straight through to the
// port. Once the port has gone (it said so, it was found closed, or it kept
// failing for about a second), the link looks closed to its users while,
// about once a second, it opens COM n afresh (the name looked up again) and
// wakes and probes the box as at start-up, never waiting on the line. When
// the box answers, the line is theirs again.
//
// The owner calls tick() every TickMs while watching() is true; the clock
// gives milliseconds from any fixed point, so tests can move it by hand.
class LinkWatch : public SerialLink {
public:
    using Clock = std::function<qint64()>;
    struct Hooks {
        // The port has gone: tell the user and start calling tick().
        std::function<void()> gone;
        // The box has answered again: its user starts a fresh interval.
        std::function<void()> back;
    };

    static constexpr int RetryMs = 1000;
    // Short enough to see the probe's reply soon after it is in.
    static constexpr int TickMs = 20;
    // A line that keeps reporting errors this long, never a reply nor a
    // quiet second between them, counts as gone; a single error does not.
    static constexpr int FailingMs = 1000;

    LinkWatch(std::unique_ptr<SerialLink> port, Hooks hooks, Clock clock);

    // Start-up has had its try at the port. A port that did not open is
    // watched from now on like a lost one; nothing is reported, since the
    // start-up notice already says that the box is not there.
    void startWatching();
    bool watching() const { return m_state == State::Waiting || m_state == State::Probing; }
    bool probing() const { return m_state == State::Probing; }
    void tick();

    void setCommPort(int portNumber) override { m_port->setCommPort(portNumber); }
    void setSettings(const QString& settings) override { m_port->setSettings(settings); }
    void open() override { m_port->open(); }
    // During start-up, the port's own answer. After it, open as long as the
    // line is its users': a port found closed is taken for a lost one at the
    // next write or read, and then the link reads closed.
    bool isOpen() const override;
    void close() override { m_port->close(); }
    void setBinaryInput() override { m_port->setBinaryInput(); }
    void setSThreshold(int bytes) override { m_port->setSThreshold(bytes); }
    void setRThreshold(int bytes) override { m_port->setRThreshold(bytes); }
    void write(const QByteArray& bytes) override;
    QByteArray readAll() override;
    bool waitForReadyRead(int msecs) override;

private:
    enum class State { StartingUp, Healthy, Waiting, Probing };
    void lost();
    void faulted();
    // While the box is away, or being probed, nobody else may use the line:
    // a sampling tick would take the probe's reply for a brightness. A port
    // found closed is taken for lost here, once, before it throws.
    void requireHealthy();
    void tryToOpen(qint64 now);
    void collectProbeReply(qint64 now);
    void giveUpTry();

    std::unique_ptr<SerialLink> m_port;
    Hooks m_hooks;
    Clock m_clock;
    State m_state = State::StartingUp;
    qint64 m_nextTryAt = 0;
    qint64 m_probeEndsAt = 0;
    QByteArray m_reply;
    // The first of the errors since the last reply, and the latest.
    std::optional<qint64> m_failingSince;
    qint64 m_lastFaultAt = 0;
};
