#pragma once

#include <QString>

class QWidget;

// The program's message boxes, behind a seam so that tests can answer them.
class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    // A modal Yes/No question with no icon and Yes as the default; true for Yes.
    virtual bool askYesNo(QWidget* parent, const QString& title, const QString& text) = 0;
    // A modal box with one OK button and no icon.
    virtual void tell(QWidget* parent, const QString& title, const QString& text) = 0;
    // A box with the warning icon and one OK button that does not wait for
    // the OK: the caller, and the timers, go on at once. It opens once the
    // program is back at its event loop, so over a window being shown.
    virtual void warnWithoutWaiting(QWidget* parent, const QString& title, const QString& text) = 0;
};

// The real thing, on QMessageBox.
class QtMessageBoxes : public MessageBoxes {
public:
    bool askYesNo(QWidget* parent, const QString& title, const QString& text) override;
    void tell(QWidget* parent, const QString& title, const QString& text) override;
    void warnWithoutWaiting(QWidget* parent, const QString& title, const QString& text) override;
};
