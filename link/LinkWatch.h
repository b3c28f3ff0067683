#pragma once

#include "link/LinkStartup.h"
#include "link/ProbeSchedule.h"
#include "link/SerialLink.h"
#include "link/SideProbes.h"

#include <QByteArray>
#include <QHash>
#include <QSet>
#include <QStringList>
#include <QtGlobal>
#include <functional>
#include <memory>
#include <optional>

// The serial port as the rest of the program sees it, picking the box up
// whenever it comes: after start-up found no box, and after the port has
// gone away mid-run (an unplugged USB adapter).
//
// Start-up's probe is the search's first round: start() begins it at once,
// with the port set to COM n. The link looks closed to its users (the
// sampling ticks) while the watch wakes and probes the box, never waiting on
// the line. A round starts at most once a second; which ports it probes is
// the probe schedule's to say. COM n and the port where the box last
// answered are probed through the port itself; any other port, where the
// port can make one, on a thread of its own (SideProbes), so that a port slow
// to open holds up nothing. The box found there is then probed through the
// port. When the box answers, the line is its users'; so is a port that
// opened in the first round when there is no other port to look on, box or
// no box, as designed: the samples show when it answers. The port also goes
// to the search once it has gone (it said so, it was found closed, or it
// kept failing for about a second).
//
// The owner calls tick() while watching() is true, msUntilDue() after the
// last; the clock gives milliseconds from any fixed point, so tests can move
// it by hand.
class LinkWatch : public SerialLink {
public:
    using Clock = std::function<qint64()>;
    struct Hooks {
        // The port has gone: tell the user and start calling tick().
        std::function<void()> gone;
        // The box has answered: at start-up, or again after it was away.
        std::function<void()> back;
        // A round has ended without the box, its probes on other threads too.
        std::function<void()> notFound;
    };

    static constexpr int RetryMs = 1000;
    // Short enough to see the probe's reply soon after it is in.
    static constexpr int TickMs = 20;
    // A line that keeps reporting errors this long, never a reply nor a
    // quiet second between them, counts as gone; a single error does not.
    static constexpr int FailingMs = 1000;
    // A probe on a thread of its own that has not come back by then counts as
    // slow to open: the round goes on without it.
    static constexpr int SlowAfterMs = 2 * LinkStartup::ProbeWaitMs;

    LinkWatch(std::unique_ptr<SerialLink> port, Hooks hooks, Clock clock,
              Platform platform = ThisPlatform);

    // The search's first round begins now, on the port as it is set.
    void start();
    bool watching() const { return m_state == State::Waiting || m_state == State::Probing; }
    bool probing() const { return m_state == State::Probing; }
    void tick();
    // How long the owner may wait before the next tick: a tick while a probe
    // is out or a round goes on, none between rounds.
    int msUntilDue() const;

    void setCommPort(int portNumber) override { m_port->setCommPort(portNumber); }
    void setDevice(const QString& device) override { m_port->setDevice(device); }
    void setSettings(const QString& settings) override { m_port->setSettings(settings); }
    void open() override { m_port->open(); }
    // Open as long as the line is its users': a port found closed is taken
    // for a lost one at the next write or read, and then the link reads closed.
    bool isOpen() const override;
    void close() override { m_port->close(); }
    void setBinaryInput() override { m_port->setBinaryInput(); }
    void setSThreshold(int bytes) override { m_port->setSThreshold(bytes); }
    void setRThreshold(int bytes) override { m_port->setRThreshold(bytes); }
    void write(const QByteArray& bytes) override;
    QByteArray readAll() override;
    bool waitForReadyRead(int msecs) override;

private:
    enum class State { Idle, Healthy, Waiting, Probing };
    void lost();
    void faulted();
    // While the box is away, or being probed, nobody else may use the line:
    // a sampling tick would take the probe's reply for a brightness. A port
    // found closed is taken for lost here, once, before it throws.
    void requireHealthy();
    void startRound(qint64 now);
    void tryToOpen(qint64 now);
    void collectProbeReply(qint64 now);
    void giveUpTry(qint64 now);
    // What the probes on other threads found, and which of them are slow.
    void collectSideProbes(qint64 now);
    // The round goes on, or it has ended without the box.
    void checkRoundEnd();
    // Nowhere to look for the box but the port COM n names.
    bool nowhereElse() const;

    std::unique_ptr<SerialLink> m_port;
    Hooks m_hooks;
    Clock m_clock;
    State m_state = State::Idle;
    // Until the first round has ended: a port that opened may be kept without the box.
    bool m_firstRound = false;
    // When the next round over the devices may start.
    qint64 m_nextTryAt = 0;
    // The devices still to probe through the port in this round; an empty
    // name: the port as it stands, for a port with one line only.
    QStringList m_round;
    bool m_roundOpen = false;
    // The device being probed through the port.
    QString m_probed;
    ProbeSchedule m_schedule;
    std::unique_ptr<SideProbes> m_side;
    // Probes out on other threads, since when; those past SlowAfterMs.
    QHash<QString, qint64> m_sideSince;
    QSet<QString> m_slow;
    qint64 m_probeEndsAt = 0;
    QByteArray m_reply;
    // The first of the errors since the last reply, and the latest.
    std::optional<qint64> m_failingSince;
    qint64 m_lastFaultAt = 0;
};
