#pragma once

#include "core/ProgramValues.h"

#include <QLine>
#include <QWidget>
#include <array>
#include <functional>

class QFrame;
class QLabel;
class QPushButton;
class QRadioButton;

// The sensitivity dialog: five preset thresholds, with the live brightness
// and the periods they give. The main window has the box sampled while it is
// open and writes the readings into Label1 and Label3; it is told of each
// choice, and when the dialog is left, and hands sampling back itself. Each handler is a plain
// member function so that tests can drive it directly.
class FSettei : public QWidget {
    Q_OBJECT
public:
    // The threshold each option sets, by index.
    static constexpr std::array<int, 5> OptionValues{10, 30, 50, 80, 100};
    // The option that stands for a sensitivity: the first whose value is not
    // below it, the least sensitive one above 80.
    static int optionFor(int sensitivity);

    // What the owner is told.
    struct Exits {
        // Left by OK, Cancel or the close box, the sensitivity settled.
        std::function<void()> left;
        // The close box has been answered: the owner may let this dialog go.
        std::function<void()> discarded;
        // An option was chosen: Sensitivity holds its value.
        std::function<void()> chosen;
    };

    FSettei(ProgramValues& values, Exits exits, QWidget* parent = nullptr);

    // Handlers.
    void KandoOp_Click(int index);
    void KandoSet();
    void CmdOk_Click();
    void CmdCansel_Click();
    void Form_Unload();

    // On opening: selects the option for the current sensitivity, which
    // applies that option's value at once, as a click on it would.
    void selectForSensitivity();
    // The readings the main window brings while the dialog is open.
    void showBrightness(int brightness);
    void showPeriod(int tenths);
    // The box is away: no brightness and no period, rather than old ones.
    void showNoReadings();

    QLabel* FSetteiLbl = nullptr;           // the heading
    QLabel* Label4 = nullptr;               // the note beside the heading
    std::array<QRadioButton*, 5> KandoOp{}; // the five thresholds, OptionValues
    QPushButton* CmdOk = nullptr;           // keeps the chosen sensitivity
    QPushButton* CmdCansel = nullptr;       // back to the sensitivity at opening
    QFrame* Frame1 = nullptr;               // the readings' box
    QLabel* Label0 = nullptr;               // heading of the period
    QLabel* Label1 = nullptr;               // the period the chosen threshold gives
    QLabel* Label2 = nullptr;               // heading of the brightness
    QLabel* Label3 = nullptr;               // the live brightness
    // The fixed arrow from the note down to the options.
    QLine Line1, Line2, Line3;

protected:
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void buildControls();
    void buildFrame();
    // Every way out tells the owner.
    void leave();

    ProgramValues& v;
    Exits m_exits;
};
