#pragma once

#include <QIODevice>
#include <algorithm>

// A read-only device over some bytes that hands them out at most `chunk` at a
// time, so a reader meets every way a file can be cut into reads; it can also
// fail with a read error once `failAt` bytes have been read.
class ChunkedDevice : public QIODevice {
public:
    ChunkedDevice(QByteArray bytes, qint64 chunk, qint64 failAt = -1)
        : m_bytes(std::move(bytes)), m_chunk(std::max<qint64>(chunk, 1)), m_failAt(failAt) {
        open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    }

    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override { return m_bytes.size() - m_pos; }

protected:
    qint64 readData(char* data, qint64 maxSize) override {
        if (m_failAt >= 0 && m_pos >= m_failAt)
            return -1;
        qint64 n = std::min({maxSize, m_chunk, qint64(m_bytes.size()) - m_pos});
        if (m_failAt >= 0)
            n = std::min(n, m_failAt - m_pos);
        std::copy_n(m_bytes.constData() + m_pos, n, data);
        m_pos += n;
        return n;
    }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    QByteArray m_bytes;
    qint64 m_chunk;
    qint64 m_failAt;
    qint64 m_pos = 0;
};
