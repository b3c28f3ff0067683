#pragma once

#include "PerixBoxModel.h"
#include "PseudoTerminal.h"

#include <QString>
#include <atomic>
#include <functional>
#include <mutex>
#include <thread>

// A Perix box on the far end of a pseudo-terminal, answering from its own
// thread so that a program waiting for a reply still gets it. The program
// opens slavePath() as its serial port. Used by the tests and by perix-sim.
class PtyBox {
public:
    // The light sensor, asked from the box's thread.
    explicit PtyBox(std::function<int()> light);
    ~PtyBox();

    QString slavePath() const { return m_line.slavePath(); }
    // Pulls the plug: the box stops and its end of the line closes.
    void unplug();
    // The bytes the box has received so far, up to the first MaxRecorded.
    static constexpr qsizetype MaxRecorded = 64 * 1024;
    QByteArray received();
    // Looks at or changes the box's channels while its thread is held off.
    template <typename F> auto withBox(F&& f) {
        std::lock_guard lock(m_mutex);
        return f(m_model);
    }

private:
    void run();

    PseudoTerminal m_line;
    PerixBoxModel m_model;
    std::atomic<bool> m_stop{false};
    std::mutex m_mutex; // guards m_model and m_received
    QByteArray m_received;
    std::thread m_thread;
};
