#include "ProgramEnd.h"

#include <QApplication>
#include <QWidget>
#include <cstdio>
#include <cstdlib>

void endProgramNow() {
    for (QWidget* window : QApplication::topLevelWidgets())
        window->hide();
    QCoreApplication::exit(0);
}

void endLeavingThreads(int code) {
    std::fflush(nullptr);
    std::_Exit(code);
}
