#pragma once

#include "RecordSigns.h"
#include "colors/ColorDisplay.h"
#include "core/ProgramValues.h"
#include "kiroku/Kiroku.h"
#include "link/LinkWatch.h"
#include "link/Perix.h"
#include "link/SerialLink.h"
#include "measuring/Sampler.h"
#include "measuring/TenthClock.h"
#include "record/PassageRecord.h"
#include "record/RecordFile.h"
#include "sensitivity/FSettei.h"
#include "settings/Suuti.h"

#include <QMainWindow>
#include <QPointer>
#include <QTimer>
#include <functional>
#include <memory>

class QAction;
class QLabel;
class MessageBoxes;
class frmColor;

// The measuring window: the big display, the four menu commands, the timers
// and the serial port. Each handler is a plain member function so that tests
// can drive it directly.
class MainWindow : public QMainWindow, public ColorDisplay {
    Q_OBJECT
public:
    // The designed client area, in pixels.
    static constexpr int ClientWidth = 324;
    static constexpr int ClientHeight = 136;

    // Tests hand in a clock of their own to stand for the monotonic one, and a
    // place of their own for the record that "Kiroku=1" asks for.
    MainWindow(ProgramValues& values, std::unique_ptr<SerialLink> port, MessageBoxes& boxes,
               std::function<void()> endProgram, TenthClock::Now clock = TenthClock::steadyNow,
               RecordPlace recordPlace = RecordPlace::standard());
    ~MainWindow() override;

    // Handlers.
    void Form_Load();
    void Form_Resize();
    void Form_QueryUnload(QCloseEvent* event);
    void MenuOwaru_Click();
    void MenuSettei_Click();
    void MenuColor_Click();
    void MenuSetumei_Click();
    void Timer1_Timer();
    void Timer2_Timer();
    void Timer3_Timer();
    // Runs only while there is no port: tries to pick the box up.
    void LinkTimer_Timer();

    // What the other windows reach through the main window.
    QWidget* clientArea() const { return m_client; }
    SerialLink& MSComm1() { return *m_port; }
    void setDisplayColors(ColorValue text, ColorValue back) override;
    void setWindowBackColor(ColorValue back) override;
    // The sensitivity dialog while it exists: from its first opening until its close box.
    FSettei* settei() const { return m_settei; }
    // The record while it is being written.
    const PassageRecord* record() const { return m_record.get(); }

    QLabel* Label1 = nullptr;       // the big display: periods and notices
    QTimer Timer1;                  // sampling for the display, every 10 ms
    QTimer Timer2;                  // the tenths clock, every 100 ms
    QTimer Timer3;                  // sampling for the sensitivity dialog, while it is open
    QTimer LinkTimer;               // watching for the box while its port is away
    QAction* MenuOwaru = nullptr;   // 終了: quit, after asking
    QAction* MenuSettei = nullptr;  // かんどせってい: the sensitivity dialog
    QAction* MenuColor = nullptr;   // the colour dialog
    QAction* MenuSetumei = nullptr; // the explanation box

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildMenus();
    // The display label as the start-up routines' notice board.
    NoticeSink labelNotices();
    void applySizingRule();
    // Silence and the box's return, on the display and in the dialog.
    void followReplies(const Sampler::Result& r);
    void showBoxAway();
    void showBoxBack();
    void linkGone();
    void linkBack();
    // With "Kiroku=1": the record of this run, or a notice that it cannot be made.
    void startRecord();
    // Sampling was interrupted: in the record and the series the next passage
    // ends no interval.
    void recordGap();
    void recordPassage(const Sampler::Sample& s);
    // The sensitivity dialog was left: sampling goes back to the display.
    void setteiLeft();
    // Lets the sensitivity dialog go once its close box has been answered.
    void discardSettei();

    ProgramValues& v;
    std::unique_ptr<SerialLink> m_port;
    MessageBoxes& m_boxes;
    QWidget* m_client = nullptr;
    std::unique_ptr<Suuti> m_suuti;
    std::unique_ptr<Perix> m_perix;
    // A child of this window from its first opening until its close box.
    QPointer<FSettei> m_settei;
    // The monotonic clock, for the tenths, the sampling and the watch on the port.
    TenthClock::Now m_now;
    Sampler m_sampler;
    TenthClock m_tenths;
    RecordPlace m_recordPlace;
    std::unique_ptr<PassageRecord> m_record;
    RecordSigns m_recordSigns;
    // Open from MenuColor until it closes; it deletes itself then.
    QPointer<frmColor> m_color;
    // The series of the run, for the きろく window from the display's own menu.
    Kiroku m_kiroku;
    LinkWatch* m_linkWatch = nullptr; // m_port itself
};
