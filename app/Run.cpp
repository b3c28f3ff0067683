#include "Run.h"

#include "MainWindow.h"
#include "MessageBoxes.h"
#include "ProgramEnd.h"
#include "QtJapaneseTexts.h"
#include "core/ProgramValues.h"

#include <QApplication>

int runTolvane(int& argc, char** argv, const std::function<std::unique_ptr<SerialLink>()>& makePort,
               const std::function<void(MainWindow&)>& shown) {
    // Qt is shown only the program's name: the programs read their own few
    // options, and nothing else typed after the name changes the window.
    static int qtArgc = argc > 0 ? 1 : 0;
    static char* qtArgv[] = {argc > 0 ? argv[0] : nullptr, nullptr};
    QApplication app(qtArgc, qtArgv);
    installJapaneseQtTexts(app);
    ProgramValues values;
    QtMessageBoxes boxes;
    MainWindow window(values, makePort(), boxes, endProgramNow);
    window.Form_Load();
    window.show();
    if (shown)
        shown(window);
    return app.exec();
}
