#include "Perix.h"

#include "PerixTexts.h"
#include "ReplyWait.h"

#include <QLabel>

namespace {

// Runs one start-up step; a link failure only skips that step.
template <typename Step> void absorb(Step step) {
    try {
        step();
    } catch (const std::exception&) {
        // Nothing is reported: the notice on the display says enough.
    }
}

} // namespace

Perix::Perix(ProgramValues& values, QLabel& label, SerialLink& port,
             std::function<void()> endProgram)
    : v(values), Label1(label), MSComm1(port), m_endProgram(std::move(endProgram)) {}

void Perix::PerixInit() {
    QFont font = Label1.font();
    font.setPointSize(14);
    Label1.setFont(font);
    Label1.setText(PerixTexts::startupNotice());

    v.ChannelNo = 1;
    v.DataValue = 0;
    v.DigitalShadow = 0;
    v.DigitalBit = 0;
    v.NotConnected = true;

    if (v.PortNo < 1)
        v.PortNo = 1;
    if (v.PortNo > 4)
        v.PortNo = 4;

    absorb([&] { MSComm1.setCommPort(v.PortNo); });
    absorb([&] { MSComm1.setSettings(QStringLiteral("9600,N,8,1")); });
    absorb([&] { MSComm1.open(); });
    absorb([&] { MSComm1.setBinaryInput(); });
    absorb([&] { MSComm1.setSThreshold(1); });
    absorb([&] { MSComm1.setRThreshold(1); });
    absorb([&] { MSComm1.writeByte(0); });
    absorb([&] { MSComm1.writeByte(0); });
    absorb([&] { MSComm1.writeByte(255); });

    QByteArray reply;
    absorb([&] { reply = MSComm1.readAll(); });
    absorb([&] { collectProbeReply(reply); });
    v.NotConnected = !replyIsFromBox(reply);
}

// A real box cannot have answered by the time of the first read, so keep
// listening for a short while, stopping as soon as the whole identity is in.
void Perix::collectProbeReply(QByteArray& reply) {
    collectReply(MSComm1, reply, PerixTexts::identity().size(), ProbeWaitMs);
}

bool Perix::replyIsFromBox(const QByteArray& reply) {
    return reply.startsWith(PerixTexts::identity());
}

void Perix::PerixDone() {
    Label1.setText(PerixTexts::notConnectedNotice());
}

void Perix::PerixOwari() {
    m_endProgram();
}
