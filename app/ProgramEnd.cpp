#include "ProgramEnd.h"

#include <QApplication>
#include <QWidget>

void endProgramNow() {
    for (QWidget* window : QApplication::topLevelWidgets())
        window->hide();
    QCoreApplication::exit(0);
}
