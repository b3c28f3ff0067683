#include "SideProbes.h"

#include "LinkStartup.h"
#include "ReplyWait.h"
#include "core/PerixProtocol.h"

#include <QEventLoop>
#include <system_error>
#include <thread>
#include <utility>

namespace {

using Outcome = ProbeSchedule::Outcome;

// Runs on the probe's thread: the port is made, used, closed and destroyed
// there.
Outcome probe(const SideProbes::MakePort& makePort, const QString& device) {
    std::unique_ptr<SerialLink> port;
    try {
        port = makePort(device);
        LinkStartup::openLine(*port, LinkStartup::runStrictly);
    } catch (const std::exception&) {
        return Outcome::WouldNotOpen;
    }
    QByteArray reply;
    try {
        port->readAll(); // what an earlier user of the line left behind is no answer
        LinkStartup::sendWakeAndProbe(*port, LinkStartup::runStrictly);
        reply = port->readAll();
        collectReply(*port, reply, PerixProtocol::identity().size(), LinkStartup::ProbeWaitMs);
    } catch (const std::exception&) {
        // A write refused or a read failed: judged by what came before.
    }
    try {
        port->close();
    } catch (const std::exception&) {
    }
    if (LinkStartup::replyIsFromBox(reply))
        return Outcome::Box;
    return reply.isEmpty() ? Outcome::Silent : Outcome::Other;
}

} // namespace

SideProbes::SideProbes(MakePort makePort) : m_makePort(std::move(makePort)) {}

SideProbes::~SideProbes() = default;

void SideProbes::start(const QString& device) {
    {
        const std::lock_guard lock(m_mailbox->mutex);
        if (m_mailbox->running.contains(device))
            return;
        m_mailbox->running.insert(device);
    }
    auto report = [mailbox = m_mailbox, device](Outcome outcome) {
        const std::lock_guard lock(mailbox->mutex);
        mailbox->running.remove(device);
        mailbox->finished.append({device, outcome});
    };
    try {
        std::thread([makePort = m_makePort, device, report] {
            Outcome outcome = Outcome::WouldNotOpen;
            try {
                // Never run: it gives this thread the event dispatcher that a
                // serial port's notifiers need (a thread Qt did not start has
                // none); blocking reads and writes then work without a loop.
                const QEventLoop dispatcher;
                outcome = probe(makePort, device);
            } catch (...) {
                // Nothing may leave a thread's function; the port is gone with it.
            }
            report(outcome);
        }).detach();
    } catch (const std::system_error&) {
        report(Outcome::WouldNotOpen); // no thread to be had: tried again next round
    }
}

bool SideProbes::running(const QString& device) const {
    const std::lock_guard lock(m_mailbox->mutex);
    return m_mailbox->running.contains(device);
}

QList<SideProbes::Result> SideProbes::finished() {
    const std::lock_guard lock(m_mailbox->mutex);
    return std::exchange(m_mailbox->finished, {});
}
