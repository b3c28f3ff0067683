#pragma once

#include "app/MessageBoxes.h"

#include <QStringList>
#include <functional>

// Message boxes that answer as the test says and remember what they showed.
class ScriptedMessageBoxes : public MessageBoxes {
public:
    bool nextAnswer = false;
    QStringList titles;
    QStringList texts;
    // The texts of the warnings among them, which never wait for an answer.
    QStringList warnings;
    // Runs while a question is on the screen, to look at the program then.
    std::function<void()> whileAsking;

    bool askYesNo(QWidget*, const QString& title, const QString& text) override {
        titles << title;
        texts << text;
        if (whileAsking)
            whileAsking();
        return nextAnswer;
    }
    void tell(QWidget*, const QString& title, const QString& text) override {
        titles << title;
        texts << text;
    }
    void warnWithoutWaiting(QWidget*, const QString& title, const QString& text) override {
        titles << title;
        texts << text;
        warnings << text;
    }
};
