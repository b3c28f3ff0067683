#pragma once

#include "link/PerixBoxModel.h"

#include <QString>
#include <atomic>
#include <functional>
#include <mutex>
#include <thread>

// A Perix box on the far end of a pseudo-terminal, answering from its own
// thread so that a blocking wait in the program under test still gets its
// reply. The program opens slavePath() through the real serial class.
class PtyBox {
public:
    // The light sensor, asked from the box's thread.
    explicit PtyBox(std::function<int()> light);
    ~PtyBox();

    QString slavePath() const { return m_slavePath; }
    // Pulls the plug: the box stops and its end of the line closes.
    void unplug();
    // Every byte the box has received so far.
    QByteArray received();

private:
    void run();

    int m_master = -1;
    QString m_slavePath;
    PerixBoxModel m_model;
    std::atomic<bool> m_stop{false};
    std::mutex m_mutex;
    QByteArray m_received;
    std::thread m_thread;
};
