#include "PerixBoxModel.h"

#include "PerixTexts.h"

#include <algorithm>
#include <utility>

PerixBoxModel::PerixBoxModel(LightSensor sensor) : m_sensor(std::move(sensor)) {}

QByteArray PerixBoxModel::receive(unsigned char byte) {
    if (m_pendingWrite != 0) {
        switch (m_pendingWrite) {
        case 245:
            m_analog1Out = byte;
            break;
        case 246:
            m_analog2 = byte;
            break;
        default:
            m_digitalOut = byte;
            break;
        }
        if (m_writes.size() == MaxRecordedWrites)
            m_writes.removeFirst();
        m_writes.append({m_pendingWrite - 244, byte});
        m_pendingWrite = 0;
        return {};
    }
    switch (byte) {
    case 255:
        return PerixTexts::identity();
    case 242:
        return QByteArray(1, char(std::clamp(m_sensor(), 0, 255)));
    case 243:
        return QByteArray(1, char(m_analog2));
    case 244:
        return QByteArray(1, char(m_digitalIn));
    case 245:
    case 246:
    case 247:
        m_pendingWrite = byte;
        return {};
    default:
        return {}; // 0 wakes the box; anything else is ignored
    }
}

QList<PerixBoxModel::Write> PerixBoxModel::takeWrites() {
    return std::exchange(m_writes, {});
}
