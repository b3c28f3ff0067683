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
class QTimer;

// The sensitivity dialog: five preset thresholds, with the live brightness
// and the periods they give. The main window's Timer3 samples while it is
// open and writes the readings into Label1 and Label3. Each handler is a
// plain member function so that tests can drive it directly.
class FSettei : public QWidget {
    Q_OBJECT
public:
    // The threshold each option sets, by index.
    static constexpr std::array<int, 5> OptionValues{10, 30, 50, 80, 100};
    // The option that stands for a sensitivity: the first whose value is not
    // below it, the least sensitive one above 80.
    static int optionFor(int sensitivity);

    // Timer1 is the main window's sampling, Timer3 the dialog's; leaving the
    // dialog hands sampling back. discarded runs once the close box has been
    // answered, so the owner can let this dialog go.
    FSettei(ProgramValues& values, QTimer& timer1, QTimer& timer3, std::function<void()> discarded,
            QWidget* parent = nullptr);

    // Handlers.
    void KandoOp_Click(int index);
    void KandoSet();
    void CmdOk_Click();
    void CmdCansel_Click();
    void Form_Unload();

    // On opening: selects the option for the current sensitivity, which
    // applies that option's value at once, as a click on it would.
    void selectForSensitivity();
    // The readings Timer3 brings.
    void showBrightness(int brightness);
    void showPeriod(int tenths);
    // The box is away: no brightness and no period, rather than old ones.
    void showNoReadings();

    QLabel* FSetteiLbl = nullptr;
    QLabel* Label4 = nullptr;
    std::array<QRadioButton*, 5> KandoOp{};
    QPushButton* CmdOk = nullptr;
    QPushButton* CmdCansel = nullptr;
    QFrame* Frame1 = nullptr;
    QLabel* Label0 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    // The fixed arrow from the note down to the options.
    QLine Line1, Line2, Line3;

protected:
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void buildControls();
    void buildFrame();
    // Hands sampling back to the main window, as every way out does.
    void leave();

    ProgramValues& v;
    QTimer& m_timer1;
    QTimer& m_timer3;
    std::function<void()> m_discarded;
};
