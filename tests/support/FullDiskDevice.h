#pragma once

#include <QByteArray>
#include <QIODevice>
#include <algorithm>

// What a FullDiskDevice took before the disk was full, and how many writes
// were tried; kept by the test, since the device goes with its owner.
struct DiskLog {
    QByteArray taken;
    int writes = 0;
};

// A device for writing that takes `room` bytes and then no more, as a disk
// does when it fills up: a write that does not fit is cut short, and every
// later write fails.
class FullDiskDevice : public QIODevice {
public:
    FullDiskDevice(qint64 room, DiskLog& log) : m_room(room), m_log(log) {
        open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 size) override {
        ++m_log.writes;
        const qint64 fits = std::min(size, m_room - m_log.taken.size());
        if (fits <= 0)
            return -1;
        m_log.taken.append(data, fits);
        return fits;
    }

private:
    qint64 m_room;
    DiskLog& m_log;
};
