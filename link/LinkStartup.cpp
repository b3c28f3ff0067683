#include "LinkStartup.h"

#include "ReplyWait.h"
#include "core/PerixProtocol.h"

namespace LinkStartup {

void runStrictly(const std::function<void()>& step) {
    step();
}

void runAbsorbing(const std::function<void()>& step) {
    try {
        step();
    } catch (const std::exception&) {
        // The notice on the display says enough.
    }
}

void openLine(SerialLink& port, const StepRunner& run) {
    run([&] { port.setSettings(PerixProtocol::lineSettings()); });
    run([&] { port.open(); });
    run([&] { port.setBinaryInput(); });
    run([&] { port.setSThreshold(1); });
    run([&] { port.setRThreshold(1); });
}

void sendWakeAndProbe(SerialLink& port, const StepRunner& run) {
    run([&] { port.writeByte(PerixProtocol::Wake); });
    run([&] { port.writeByte(PerixProtocol::Wake); });
    run([&] { port.writeByte(PerixProtocol::Probe); });
}

bool wakeAndProbe(SerialLink& port, const StepRunner& run) {
    sendWakeAndProbe(port, run);
    QByteArray reply;
    run([&] { reply = port.readAll(); });
    // A real box cannot have answered by the time of the first read, so keep
    // listening for a short while, stopping as soon as the whole identity is in.
    run([&] { collectReply(port, reply, PerixProtocol::identity().size(), ProbeWaitMs); });
    return replyIsFromBox(reply);
}

bool replyIsFromBox(const QByteArray& reply) {
    return reply.startsWith(PerixProtocol::identity());
}

} // namespace LinkStartup
