#include "PerixBoxModel.h"

#include "core/PerixProtocol.h"

#include <algorithm>
#include <utility>

PerixBoxModel::PerixBoxModel(LightSensor sensor) : m_sensor(std::move(sensor)) {}

QByteArray PerixBoxModel::receive(unsigned char byte) {
    if (m_pendingWrite != 0) {
        const int channel =
            PerixProtocol::writeChannelOf(static_cast<unsigned char>(m_pendingWrite));
        switch (channel) {
        case 1:
            m_analog1Out = byte;
            break;
        case 2:
            m_analog2 = byte;
            break;
        default:
            m_digitalOut = byte;
            break;
        }
        if (m_writes.size() == MaxRecordedWrites)
            m_writes.removeFirst();
        m_writes.append({channel, byte});
        m_pendingWrite = 0;
        return {};
    }
    if (byte == PerixProtocol::Probe)
        return PerixProtocol::identity();
    if (PerixProtocol::writeChannelOf(byte) != 0) {
        m_pendingWrite = byte;
        return {};
    }
    switch (PerixProtocol::readChannelOf(byte)) {
    case 1:
        return QByteArray(1, char(std::clamp(m_sensor(), 0, 255)));
    case 2:
        return QByteArray(1, char(m_analog2));
    case 3:
        return QByteArray(1, char(m_digitalIn));
    default:
        return {}; // 0 wakes the box; anything else is ignored
    }
}

QList<PerixBoxModel::Write> PerixBoxModel::takeWrites() {
    return std::exchange(m_writes, {});
}
