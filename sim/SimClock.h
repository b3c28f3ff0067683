#pragma once

#include <QElapsedTimer>
#include <QThread>

// Time as the simulated box sees it. The real clock for the demo; tests put
// in a clock that only moves when told to.
class SimClock {
public:
    virtual ~SimClock() = default;
    virtual qint64 nowMicros() = 0;
    virtual void sleepMicros(qint64 micros) = 0;
};

class SteadyClock : public SimClock {
public:
    SteadyClock() { m_timer.start(); }
    qint64 nowMicros() override { return m_timer.nsecsElapsed() / 1000; }
    void sleepMicros(qint64 micros) override {
        if (micros > 0)
            QThread::usleep(static_cast<unsigned long>(micros));
    }

private:
    QElapsedTimer m_timer;
};
