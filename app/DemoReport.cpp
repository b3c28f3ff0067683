#include "DemoReport.h"

#include "MainWindow.h"

#include <QCoreApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <cstdio>

namespace {

void printLine(const QString& line) {
    std::fputs(line.toUtf8().append('\n').constData(), stdout);
}

} // namespace

void reportAfter(MainWindow& window, int seconds) {
    QTimer::singleShot(seconds * 1000, &window, [&window] {
        printLine(QStringLiteral("display: \"%1\"").arg(window.Label1->text()));
        // The same buttons the quit and explanation boxes show.
        QMessageBox box(QMessageBox::NoIcon, QString(), QString(),
                        QMessageBox::Yes | QMessageBox::No | QMessageBox::Ok);
        printLine(QStringLiteral("buttons: %1 %2 %3")
                      .arg(box.button(QMessageBox::Yes)->text(),
                           box.button(QMessageBox::No)->text(),
                           box.button(QMessageBox::Ok)->text()));
        std::fflush(stdout);
        QCoreApplication::exit(0);
    });
}
