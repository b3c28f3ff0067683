#pragma once

#include <QByteArray>
#include <QList>
#include <functional>

// What the Perix box does with the bytes it receives: one-byte commands,
// a value byte after each write command, one reply byte per read command
// and the identity in answer to the probe. Timing is left to whoever drives it.
class PerixBoxModel {
public:
    // The light sensor on analog channel 1, asked at the moment of the read.
    using LightSensor = std::function<int()>;

    explicit PerixBoxModel(LightSensor sensor);

    // Takes one byte from the line and returns what the box sends back.
    QByteArray receive(unsigned char byte);

    // Channel 2's analog value, the digital inputs and the digital outputs.
    void setAnalog2(int value) { m_analog2 = value & 0xFF; }
    int analog2() const { return m_analog2; }
    void setDigitalInputs(int bits) { m_digitalIn = bits & 0xFF; }
    int digitalOutputs() const { return m_digitalOut; }
    int analog1Written() const { return m_analog1Out; }

    // One value written to a channel.
    struct Write {
        int channel;
        int value;
        bool operator==(const Write&) const = default;
    };
    // The writes since the last call, oldest first. Only the latest
    // MaxRecordedWrites are kept when nobody collects them.
    static constexpr qsizetype MaxRecordedWrites = 256;
    QList<Write> takeWrites();

private:
    LightSensor m_sensor;
    int m_pendingWrite = 0; // the write command waiting for its value byte, or 0
    int m_analog1Out = 0;
    int m_analog2 = 0;
    int m_digitalIn = 0;
    int m_digitalOut = 0;
    QList<Write> m_writes;
};
