#include "Perix.h"

#include "LinkStartup.h"
#include "PerixTexts.h"

Perix::Perix(ProgramValues& values, NoticeSink notices, SerialLink& port,
             std::function<void()> endProgram)
    : v(values), m_notices(std::move(notices)), MSComm1(port), m_endProgram(std::move(endProgram)) {
}

void Perix::PerixInit() {
    m_notices.setPointSize(14);
    m_notices.show(PerixTexts::startupNotice());

    v.ChannelNo = 1;
    v.DataValue = 0;
    v.DigitalShadow = 0;
    v.DigitalBit = 0;
    v.NotConnected = true;

    if (v.PortNo < 1)
        v.PortNo = 1;
    if (v.PortNo > 4)
        v.PortNo = 4;

    // From here on a step that fails is skipped and the next one runs.
    const auto absorb = LinkStartup::runAbsorbing;
    absorb([&] { MSComm1.setCommPort(v.PortNo); });
    LinkStartup::openLine(MSComm1, absorb);
    v.NotConnected = !LinkStartup::wakeAndProbe(MSComm1, absorb);
}

void Perix::PerixDone() {
    m_notices.show(PerixTexts::notConnectedNotice());
}

void Perix::PerixOwari() {
    m_endProgram();
}
