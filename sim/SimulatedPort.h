#pragma once

#include "AdapterLatency.h"
#include "PendulumLight.h"
#include "PerixBoxModel.h"
#include "SimClock.h"
#include "link/SerialLink.h"

#include <deque>
#include <memory>

// A Perix box with a pendulum in front of its light sensor, on a serial line
// that takes as long as a real one at 9600 baud: a command needs about a
// millisecond to reach the box and its answer as long again, so a sampling
// tick reads the answer to an earlier request, as with the real box.
class SimulatedPort : public SerialLink {
public:
    // One byte at 9600 baud, 8N1: ten bits.
    static constexpr qint64 ByteMicros = 1042;
    // The box's own reaction time before it starts answering.
    static constexpr qint64 TurnaroundMicros = 500;

    explicit SimulatedPort(std::unique_ptr<SimClock> clock = std::make_unique<SteadyClock>(),
                           PendulumLight::Setup pendulum = {});

    void setCommPort(int portNumber) override;
    void setSettings(const QString& settings) override;
    void open() override;
    bool isOpen() const override { return m_open; }
    void close() override { m_open = false; }
    void setBinaryInput() override {}
    void setSThreshold(int) override {}
    void setRThreshold(int) override {}
    void write(const QByteArray& bytes) override;
    QByteArray readAll() override;
    bool waitForReadyRead(int msecs) override;

    // The line goes through a USB adapter that hands the box's bytes over
    // every `periodMicros`, on a timer that started with the clock.
    void setAdapterLatency(qint64 periodMicros) { m_adapter.periodMicros = periodMicros; }

    PerixBoxModel& box() { return m_box; }
    SimClock& clock() { return *m_clock; }

private:
    struct InFlight {
        qint64 arrivesAt;
        char byte;
    };
    void requireOpen() const;
    // Hands the box every command byte that has reached it by now.
    void deliverToBox(qint64 now);

    std::unique_ptr<SimClock> m_clock;
    PendulumLight m_light;
    PerixBoxModel m_box;
    std::deque<InFlight> m_toBox;
    std::deque<InFlight> m_fromBox;
    qint64 m_lineFreeAt = 0;  // when the last queued command byte is through
    qint64 m_replyFreeAt = 0; // when the box's line back is free again
    qint64 m_sensedAt = 0;    // when the command being answered reached the box
    AdapterLatency m_adapter;
    bool m_open = false;
};
