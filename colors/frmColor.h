#pragma once

#include "core/ProgramValues.h"

#include <QWidget>

class ChannelBar;
class ColorDisplay;
class ColorSwatch;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class SelectorLabel;

// The colour dialog: mixes the display's text and background colours from
// red, green and blue bars and applies them to the main window on "Ｏ　Ｋ".
// It is modeless, has no owner and deletes itself when it closes, so every
// opening starts again from the colours now shown. A plain window rather than
// a QDialog: no button is the default, and Escape does nothing.
class frmColor : public QWidget {
    Q_OBJECT
public:
    // The designed client area, in pixels.
    static constexpr int ClientWidth = 424;
    static constexpr int ClientHeight = 158;

    frmColor(ProgramValues& values, ColorDisplay& display);

    // Handlers.
    void Form_Load();
    void Label1_Click();
    void Label2_Click();
    void Picture1_Click();
    void Picture2_Click();
    void VScroll1_Change();
    void VScroll2_Change();
    void VScroll3_Change();
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();

    SelectorLabel* Label1 = nullptr; // selects the text colour for editing
    SelectorLabel* Label2 = nullptr; // selects the background for editing
    ColorSwatch* Picture1 = nullptr; // the text colour being mixed
    ColorSwatch* Picture2 = nullptr; // the background being mixed
    QPlainTextEdit* Text1 = nullptr; // how to use the dialog
    QLabel* Label10 = nullptr;       // red's caption
    QLabel* Label11 = nullptr;       // green's caption
    QLabel* Label12 = nullptr;       // blue's caption
    ChannelBar* VScroll1 = nullptr;  // red, 0..255
    ChannelBar* VScroll2 = nullptr;  // green, 0..255
    ChannelBar* VScroll3 = nullptr;  // blue, 0..255
    QPushButton* Command1 = nullptr; // OK: the mixed colours to the display
    QPushButton* Command2 = nullptr; // Cancel: the display as before
    QPushButton* Command3 = nullptr; // the built-in colours

private:
    void buildControls();
    void connectHandlers();
    // Shared by both ways of selecting a colour: 1 text, 2 background.
    void selectColor(int target);
    void recombine();

    ProgramValues& v;
    ColorDisplay& m_display;
};
