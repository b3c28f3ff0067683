#pragma once

#include "core/NoticeSink.h"
#include "core/ProgramValues.h"

// The settings reader: defaults first, then the customization file "Tv.txt"
// in the working directory. Progress goes to the display label as notices;
// nothing is ever written to a file.
class Suuti {
public:
    // The notices go to the window's display label, or a test's record.
    Suuti(ProgramValues& values, NoticeSink notices);

    void SuutiInit();

private:
    ProgramValues& v;
    NoticeSink m_notices;
};
