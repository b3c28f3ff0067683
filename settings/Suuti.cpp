#include "Suuti.h"

#include "ColorTable.h"

#include <QLabel>

Suuti::Suuti(ProgramValues& values, QLabel& label) : v(values), Label1(label) {}

void Suuti::SuutiInit() {
    v.TextColor = ColorTable::entry(0);
    v.BackColor = ColorTable::entry(7);
    v.Sensitivity = 50;
    v.PortNo = 1;
    v.SampleCommand[0] = char(242);
}
