#include "PtyBox.h"

#include "core/PerixProtocol.h"

#include <QDir>
#include <algorithm>
#include <chrono>
#include <deque>

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

// One byte at 9600 baud, 8N1: ten bits.
constexpr auto ByteTime = std::chrono::microseconds(1042);

// The box must never stall on a program that does not read: what the line
// cannot take is lost, as on a real line with nobody listening.
void send(int fd, const QByteArray& bytes) {
    if (!bytes.isEmpty() && ::write(fd, bytes.constData(), size_t(bytes.size())) < 0)
        return;
}

} // namespace

PtyBox::PtyBox(std::function<int()> light, Faults faults)
    : m_light(light), m_faults(std::move(faults)),
      m_dir(QDir::tempPath() + QStringLiteral("/perix-sim-XXXXXX")), m_model(std::move(light)) {
    // Serial ports are locked by their file name, so the link's name must be
    // as unique as its folder's.
    m_stablePath = m_dir.path() + QStringLiteral("/tty") + m_dir.path().right(6);
    plugIn();
}

PtyBox::~PtyBox() {
    unplug();
}

QString PtyBox::slavePath() const {
    return m_line ? m_line->slavePath() : QString();
}

void PtyBox::unplug() {
    m_stop = true;
    if (m_thread.joinable())
        m_thread.join();
    m_line.reset();
}

void PtyBox::plugIn() {
    if (m_line)
        return;
    m_line = std::make_unique<PseudoTerminal>();
    const int fd = m_line->masterFd();
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
    pointStablePathAtLine();
    m_stop = false;
    m_thread = std::thread([this, fd] { run(fd); });
}

void PtyBox::pointStablePathAtLine() {
    if (!m_dir.isValid())
        return;
    // Made aside and renamed over the old link, so the path never goes missing.
    const QByteArray target = m_line->slavePath().toLocal8Bit();
    const QByteArray fresh = (m_stablePath + QStringLiteral(".new")).toLocal8Bit();
    ::unlink(fresh.constData());
    if (::symlink(target.constData(), fresh.constData()) == 0)
        ::rename(fresh.constData(), m_stablePath.toLocal8Bit().constData());
}

QByteArray PtyBox::received() {
    std::lock_guard lock(m_mutex);
    return m_received;
}

void PtyBox::run(int fd) {
    struct Due {
        Clock::time_point at;
        QByteArray bytes;
    };
    std::deque<Due> answers;
    const auto late = std::chrono::milliseconds(m_faults.lateMs);
    const Clock::time_point started = Clock::now();
    Clock::time_point floodNext = started;
    // What the adapter holds, and when its timer next runs out.
    const AdapterLatency adapter{m_faults.adapterLatencyMs * 1000LL};
    QByteArray held;
    Clock::time_point handOverAt = started;
    const auto out = [&](const QByteArray& bytes) {
        if (adapter.periodMicros > 0)
            held += bytes;
        else
            send(fd, bytes);
    };

    while (!m_stop) {
        int waitMs = 10;
        const auto waitUntil = [&](Clock::time_point at) {
            const auto left = std::chrono::ceil<std::chrono::milliseconds>(at - Clock::now());
            waitMs = int(std::clamp<qint64>(left.count(), 0, waitMs));
        };
        if (!answers.empty())
            waitUntil(answers.front().at);
        if (!held.isEmpty())
            waitUntil(handOverAt);
        if (m_faults.flood)
            waitMs = std::min(waitMs, 1);
        pollfd p{fd, POLLIN, 0};
        const int ready = poll(&p, 1, waitMs);

        for (const auto now = Clock::now(); !answers.empty() && answers.front().at <= now;) {
            out(answers.front().bytes);
            answers.pop_front();
        }
        if (m_faults.flood) {
            QByteArray burst;
            for (const auto now = Clock::now(); floodNext <= now; floodNext += ByteTime)
                burst += char(std::clamp(m_light(), 0, 255));
            out(burst);
        }
        if (adapter.periodMicros > 0 && Clock::now() >= handOverAt) {
            send(fd, held);
            held.clear();
            const auto since =
                std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - started);
            handOverAt =
                started + std::chrono::microseconds(adapter.handedOverAt(since.count() + 1));
        }
        if (ready <= 0)
            continue;

        unsigned char buffer[256];
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
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
            for (ssize_t i = 0; i < n; ++i) {
                reply += m_model.receive(buffer[i]);
                if (buffer[i] == PerixProtocol::Probe)
                    reply += m_faults.afterIdentity;
            }
        }
        if (m_faults.silent)
            continue;
        if (late.count() > 0)
            answers.push_back({Clock::now() + late, reply});
        else
            out(reply);
    }
}
