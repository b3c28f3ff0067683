#pragma once

#include <QStringList>
#include <optional>

class MainWindow;

// tolvane-demo --report-after SECONDS: lets a script check an installed copy
// with nobody watching. The seconds (1 to 600) when the option is given, 0
// when there are no arguments, nothing when the arguments are anything else.
std::optional<int> demoReportSeconds(const QStringList& arguments);

// After the given seconds, prints what the display shows and how the message
// boxes' standard buttons read, one line each, then ends the program.
void reportAfter(MainWindow& window, int seconds);
