#include "MessageBoxes.h"

#include <QMessageBox>
#include <QTimer>

bool QtMessageBoxes::askYesNo(QWidget* parent, const QString& title, const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Yes | QMessageBox::No, parent);
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}

void QtMessageBoxes::tell(QWidget* parent, const QString& title, const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Ok, parent);
    box.exec();
}

void QtMessageBoxes::warnWithoutWaiting(QWidget* parent, const QString& title,
                                        const QString& text) {
    auto* box = new QMessageBox(QMessageBox::Warning, title, text, QMessageBox::Ok, parent);
    box->setAttribute(Qt::WA_DeleteOnClose);
    // open(), not exec(): the box holds the window's input, not its timers.
    QTimer::singleShot(0, box, [box] { box->open(); });
}
