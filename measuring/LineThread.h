#pragma once

#include "measuring/BoxLine.h"

#include <QThread>

// Runs the line to the box on a thread of its own, with its own event loop:
// the line is made here, before its port exists, and moved there; the port
// is made, used and destroyed on that thread alone.
class LineThread {
public:
    // Ending waits this long for the line to let go of its port: with the
    // window's going before and the process's end after, quitting stays
    // within a second.
    static constexpr int EndWaitMs = 800;

    explicit LineThread(BoxLine::MakePort makePort);
    // Ends the thread unless end() has; a thread stuck in the system is left
    // behind, never terminated.
    ~LineThread();
    LineThread(const LineThread&) = delete;
    LineThread& operator=(const LineThread&) = delete;

    // For connecting to; never to be called from another thread.
    BoxLine& line() { return *m_line; }

    // Asks the line to let go of its port and the thread to end, and waits
    // at most `waitMs`. False when the thread is still stuck in the system
    // (a port whose opening or driver never returns): it is then left to
    // end by itself, or with the program.
    bool end(int waitMs = EndWaitMs);
    bool ended() const { return m_thread->isFinished(); }

private:
    QThread* m_thread;
    BoxLine* m_line;
    bool m_endAsked = false;
};
