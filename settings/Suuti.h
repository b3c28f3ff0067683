#pragma once

#include "core/ProgramValues.h"

#include <QString>
#include <functional>

// The settings reader: defaults first, then the customization file "Tv.txt"
// in the working directory. Progress goes to the display label as notices;
// nothing is ever written to a file.
class Suuti {
public:
    // Where the notices go; the window's display label, or a test's record.
    using ShowNotice = std::function<void(const QString&)>;

    Suuti(ProgramValues& values, ShowNotice showOnLabel1);

    void SuutiInit();

private:
    ProgramValues& v;
    ShowNotice m_showOnLabel1;
};
