#pragma once

class MainWindow;

// tolvane-demo --report-after SECONDS lets a script check an installed copy
// with nobody watching: after the given seconds, prints what the display
// shows and how the message boxes' standard buttons read, one line each, then
// ends the program.
void reportAfter(MainWindow& window, int seconds);
