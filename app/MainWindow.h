#pragma once

#include "RecordSigns.h"
#include "colors/ColorDisplay.h"
#include "core/ProgramValues.h"
#include "kiroku/Kiroku.h"
#include "link/Perix.h"
#include "measuring/BoxLine.h"
#include "measuring/TenthClock.h"
#include "record/PassageRecord.h"
#include "record/RecordFile.h"
#include "sensitivity/FSettei.h"
#include "settings/Suuti.h"

#include <QMainWindow>
#include <QPointer>
#include <QTimer>
#include <chrono>
#include <functional>
#include <memory>
#include <optional>

class QAction;
class QLabel;
class MessageBoxes;
class frmColor;

// The measuring window: the big display, the four menu commands and the
// tenths clock. The line to the box (its port, the samplers, the detector) is
// on a thread of its own; the window tells it what to do and is told what it
// found, in values, through signals. Each handler is a plain member function
// so that tests can drive it directly.
class MainWindow : public QMainWindow, public ColorDisplay {
    Q_OBJECT
public:
    // The designed client area, in pixels.
    static constexpr int ClientWidth = 324;
    static constexpr int ClientHeight = 136;

    // Tests hand in a clock of their own to stand for the monotonic one, and a
    // place of their own for the record that "Kiroku=1" asks for.
    MainWindow(ProgramValues& values, BoxLine& line, MessageBoxes& boxes,
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
    void Timer2_Timer();

    // What the line tells: start-up's answer, a passage, the live brightness
    // while the sensitivity dialog samples, the box away and back.
    void lineStartedUp(bool boxThere);
    void takePassage(const Passage& passage);
    void takeBrightness(int brightness);
    void boxFellSilent();
    void boxAnswersAgain();
    void linkGone();
    void linkBack();

    // What the other windows reach through the main window.
    QWidget* clientArea() const { return m_client; }
    void setDisplayColors(ColorValue text, ColorValue back) override;
    void setWindowBackColor(ColorValue back) override;
    // The sensitivity dialog while it exists: from its first opening until its close box.
    FSettei* settei() const { return m_settei; }
    // The record while it is being written.
    const PassageRecord* record() const { return m_record.get(); }

    QLabel* Label1 = nullptr;       // the big display: periods and notices
    QTimer Timer2;                  // the tenths clock, every 100 ms
    QAction* MenuOwaru = nullptr;   // 終了: quit, after asking
    QAction* MenuSettei = nullptr;  // かんどせってい: the sensitivity dialog
    QAction* MenuColor = nullptr;   // the colour dialog
    QAction* MenuSetumei = nullptr; // the explanation box

    // Which sampler the window has asked the line for.
    Sampling sampling() const { return m_sampling; }

signals:
    // To the line.
    void lineStart(int portNo, const QByteArray& sampleCommand, int sensitivity);
    void samplingWanted(Sampling sampling);
    void intervalBegun(int interval, Detector::Peak peak);
    void countingBegan();
    void sensitivityChosen(int sensitivity);
    void samplingResumed();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildMenus();
    // The display label as the start-up routines' notice board.
    NoticeSink labelNotices();
    void applySizingRule();
    void connectLine(BoxLine& line);
    void setSampling(Sampling sampling);
    // Every start of counting: the tenths from 0, the detector told.
    void freshInterval(Detector::Peak peak = Detector::Peak::Kept);
    // Silence and the box's return, on the display and in the dialog.
    void showBoxAway();
    void showBoxBack();
    // With "Kiroku=1": the record of this run, or a notice that it cannot be made.
    void startRecord();
    // Sampling was interrupted: in the record and the series the next passage
    // ends no interval.
    void recordGap();
    void recordPassage(std::chrono::nanoseconds at, std::optional<int> period);
    // The sensitivity dialog was left: sampling goes back to the display.
    void setteiLeft();
    // Lets the sensitivity dialog go once its close box has been answered.
    void discardSettei();

    ProgramValues& v;
    MessageBoxes& m_boxes;
    QWidget* m_client = nullptr;
    std::unique_ptr<Suuti> m_suuti;
    std::unique_ptr<Perix> m_perix;
    // A child of this window from its first opening until its close box.
    QPointer<FSettei> m_settei;
    // The monotonic clock, for the tenths and the record.
    TenthClock::Now m_now;
    TenthClock m_tenths;
    Sampling m_sampling = Sampling::None;
    // The count of fresh intervals: a passage seen in an earlier one is none.
    int m_interval = 0;
    // The box is away or silent: the dialog opens without readings.
    bool m_noReadings = false;
    RecordPlace m_recordPlace;
    std::unique_ptr<PassageRecord> m_record;
    RecordSigns m_recordSigns;
    // Open from MenuColor until it closes; it deletes itself then.
    QPointer<frmColor> m_color;
    // The series of the run, for the きろく window from the display's own menu.
    Kiroku m_kiroku;
};
