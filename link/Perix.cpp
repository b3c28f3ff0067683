#include "Perix.h"

#include "PerixTexts.h"

Perix::Perix(ProgramValues& values, NoticeSink notices, std::function<void()> startLine,
             std::function<void()> endProgram)
    : v(values), m_notices(std::move(notices)), m_startLine(std::move(startLine)),
      m_endProgram(std::move(endProgram)) {}

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

    m_startLine();
}

void Perix::PerixDone() {
    m_notices.show(PerixTexts::notConnectedNotice());
}

void Perix::PerixOwari() {
    m_endProgram();
}
