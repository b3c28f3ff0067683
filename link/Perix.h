#pragma once

#include "core/NoticeSink.h"
#include "core/ProgramValues.h"
#include "link/SerialLink.h"

#include <functional>

// The routines that talk to the Perix box at start-up and at the end. Like
// the rest of the program they take no arguments: inputs and results go
// through the program-wide values, notices go to the notice sink.
class Perix {
public:
    Perix(ProgramValues& values, NoticeSink notices, SerialLink& port,
          std::function<void()> endProgram);

    // Opens the port, wakes and probes the box, sets NotConnected.
    void PerixInit();
    // Shows the not-connected notice.
    void PerixDone();
    // Ends the program at once.
    void PerixOwari();

private:
    ProgramValues& v;
    NoticeSink m_notices;
    SerialLink& MSComm1;
    std::function<void()> m_endProgram;
};
