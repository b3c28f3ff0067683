#include "tools/perix-io/PerixIoTool.h"

#include <QCoreApplication>

// perix-io: checks a Perix box from the command line. See PerixIoTool.
int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    return PerixIoTool::run(app.arguments().mid(1), out, err);
}
