#include "PtyBox.h"

#include <algorithm>

#include <poll.h>
#include <unistd.h>

PtyBox::PtyBox(std::function<int()> light) : m_model(std::move(light)) {
    m_thread = std::thread([this] { run(); });
}

PtyBox::~PtyBox() {
    unplug();
}

void PtyBox::unplug() {
    m_stop = true;
    if (m_thread.joinable())
        m_thread.join();
    m_line.close();
}

QByteArray PtyBox::received() {
    std::lock_guard lock(m_mutex);
    return m_received;
}

void PtyBox::run() {
    while (!m_stop) {
        pollfd p{m_line.masterFd(), POLLIN, 0};
        if (poll(&p, 1, 10) <= 0)
            continue;
        unsigned char buffer[256];
        const ssize_t n = ::read(m_line.masterFd(), buffer, sizeof buffer);
        if (n <= 0) {
            // No one has the other end open yet (or any more); do not spin.
            usleep(5000);
            continue;
        }
        QByteArray reply;
        {
            std::lock_guard lock(m_mutex);
            // Only the start of the conversation is kept: a simulator left
            // running for a lesson must not grow without end.
            const qsizetype room = MaxRecorded - m_received.size();
            if (room > 0)
                m_received.append(reinterpret_cast<const char*>(buffer),
                                  std::min<qsizetype>(n, room));
            for (ssize_t i = 0; i < n; ++i)
                reply += m_model.receive(buffer[i]);
        }
        if (!reply.isEmpty() &&
            ::write(m_line.masterFd(), reply.constData(), size_t(reply.size())) < 0)
            continue;
    }
}
