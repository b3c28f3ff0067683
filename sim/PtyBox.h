#pragma once

#include "AdapterLatency.h"
#include "PerixBoxModel.h"
#include "PseudoTerminal.h"

#include <QString>
#include <QTemporaryDir>
#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

// Ways for the box to misbehave, so that a program can be tried on them.
struct PtyBoxFaults {
    bool silent = false;      // answers nothing at all
    int lateMs = 0;           // every answer leaves this much later
    QByteArray afterIdentity; // sent straight after the identity
    bool flood = false;       // sends its brightness unasked, as fast as the line runs
    // Through a USB adapter: all it sends is held, and handed over each time
    // a free-running timer of this many ms runs out (16 for FTDI's default).
    int adapterLatencyMs = 0;
};

// A Perix box on the far end of a pseudo-terminal, answering from its own
// thread so that a program waiting for a reply still gets it. The program
// opens slavePath(), or stablePath() when the box may be unplugged and
// plugged in again. Used by the tests and by perix-sim.
class PtyBox {
public:
    using Faults = PtyBoxFaults;

    // The light sensor, asked from the box's thread.
    explicit PtyBox(std::function<int()> light, Faults faults = {});
    ~PtyBox();

    // The pseudo-terminal now behind the box; a new one after each plugIn().
    QString slavePath() const;
    // A link to the current pseudo-terminal that stays the same for the
    // box's life, so a program can reopen it after plugIn().
    QString stablePath() const { return m_stablePath; }
    // Pulls the plug: the box stops and its end of the line closes, which the
    // program on the other end sees as a hung-up line.
    void unplug();
    // Plugs the box in again on a fresh pseudo-terminal behind stablePath().
    void plugIn();
    bool pluggedIn() const { return m_line != nullptr; }
    // The bytes the box has received so far, up to the first MaxRecorded.
    static constexpr qsizetype MaxRecorded = 64 * 1024;
    QByteArray received();
    // Looks at or changes the box's channels while its thread is held off.
    template <typename F> auto withBox(F&& f) {
        std::lock_guard lock(m_mutex);
        return f(m_model);
    }

private:
    void run(int masterFd);
    void pointStablePathAtLine();

    std::function<int()> m_light;
    Faults m_faults;
    QTemporaryDir m_dir;
    QString m_stablePath;
    std::unique_ptr<PseudoTerminal> m_line;
    PerixBoxModel m_model;
    std::atomic<bool> m_stop{false};
    std::mutex m_mutex; // guards m_model and m_received
    QByteArray m_received;
    std::thread m_thread;
};
