#include "Run.h"

#include "MainWindow.h"
#include "MessageBoxes.h"
#include "ProgramEnd.h"
#include "QtJapaneseTexts.h"
#include "core/ProgramValues.h"
#include "measuring/LineThread.h"

#include <QApplication>

int runTolvane(int& argc, char** argv, std::function<std::unique_ptr<SerialLink>()> makePort,
               const std::function<void(MainWindow&)>& shown) {
    // Qt is shown only the program's name: the programs read their own few
    // options, and nothing else typed after the name changes the window.
    static int qtArgc = argc > 0 ? 1 : 0;
    static char* qtArgv[] = {argc > 0 ? argv[0] : nullptr, nullptr};
    QApplication app(qtArgc, qtArgv);
    installJapaneseQtTexts(app);
    ProgramValues values;
    QtMessageBoxes boxes;
    LineThread line(std::move(makePort));
    int exitCode = 0;
    {
        MainWindow window(values, line.line(), boxes, endProgramNow);
        window.Form_Load();
        window.show();
        if (shown)
            shown(window);
        exitCode = app.exec();
        // The window goes first: the record is closed and on disk.
    }
    // A port whose opening or driver never returns must not keep the
    // program: after a second, it is left to the system.
    if (!line.end())
        endLeavingThreads(exitCode);
    return exitCode;
}
