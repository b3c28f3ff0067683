#pragma once

#include "core/NoticeSink.h"
#include "core/ProgramValues.h"

#include <functional>

// The routines that talk to the Perix box at start-up and at the end. Like
// the rest of the program they take no arguments: inputs and results go
// through the program-wide values, notices go to the notice sink.
class Perix {
public:
    // `startLine` has the line to the box open the port COM PortNo, wake and
    // probe the box there and look for it further; it answers later.
    Perix(ProgramValues& values, NoticeSink notices, std::function<void()> startLine,
          std::function<void()> endProgram);

    // Shows the start-up notice, limits PortNo, starts the line. NotConnected
    // stays true until the box has answered.
    void PerixInit();
    // Shows the not-connected notice.
    void PerixDone();
    // Ends the program at once.
    void PerixOwari();

private:
    ProgramValues& v;
    NoticeSink m_notices;
    std::function<void()> m_startLine;
    std::function<void()> m_endProgram;
};
