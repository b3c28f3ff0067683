#pragma once

#include "app/ProgramValues.h"

class QLabel;

// The settings reader: defaults first, then the customization file.
class Suuti {
public:
    Suuti(ProgramValues& values, QLabel& label);

    void SuutiInit();

private:
    ProgramValues& v;
    QLabel& Label1;
};
