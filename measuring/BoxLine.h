#pragma once

#include "link/LinkWatch.h"
#include "link/SerialLink.h"
#include "measuring/Detector.h"
#include "measuring/Sampler.h"
#include "measuring/TenthClock.h"

#include <QByteArray>
#include <QObject>
#include <QTimer>
#include <chrono>
#include <functional>
#include <memory>

// A passage the detector saw, as the line tells the window.
struct Passage {
    // When the box read its sensor for it: when the command it answers went out.
    std::chrono::nanoseconds at{};
    int brightness = 0;
    // The first passage after a gap in sampling only starts the count.
    bool followsGap = false;
    // The window's interval it was seen in (see BoxLine::freshInterval): a
    // passage that crossed a fresh interval on its way belongs to none.
    int interval = 0;
};

// Which of the two samplers runs: the display's Timer1, the sensitivity
// dialog's Timer3, or neither (the close question holds sampling).
enum class Sampling { None, Display, Dialog };

// The line to the box: the serial port with the search for the box, the two
// samplers and the detector. In the program it lives on a thread of its own
// (LineThread), which makes, opens, probes, samples and closes the port, so
// that a port slow to open or a driver that never completes holds up nothing
// the teacher sees. The window talks to it in values only, through queued
// signals and the slots below; a test keeps it on its own thread and calls
// the handlers directly.
class BoxLine : public QObject {
    Q_OBJECT
public:
    using MakePort = std::function<std::unique_ptr<SerialLink>()>;

    // The port is made on the line's thread, at start().
    explicit BoxLine(MakePort makePort, TenthClock::Now clock = TenthClock::steadyNow,
                     QObject* parent = nullptr);
    ~BoxLine() override;

    // Handlers: the samplers' ticks and the search's.
    void Timer1_Timer();
    void Timer3_Timer();
    void LinkTimer_Timer();

    QTimer Timer1{this};    // sampling for the display, every 10 ms
    QTimer Timer3{this};    // sampling for the sensitivity dialog, while it is open
    QTimer LinkTimer{this}; // the search for the box, while it is away

    // For tests: the port as the line made it; null before start().
    SerialLink* port() const { return m_watch.get(); }
    const Sampler& sampler() const { return m_sampler; }
    // Start-up's round has not ended yet.
    bool startingUp() const { return m_startingUp; }

public slots:
    // Makes the port on COM portNo and begins the search's first round, which
    // is start-up's probe; sampling is counted from now.
    void start(int portNo, const QByteArray& sampleCommand, int sensitivity);
    void sampleFor(Sampling sampling);
    // The window counts the tenths from 0 again, as interval number `interval`.
    void freshInterval(int interval, Detector::Peak peak);
    // The window's count of tenths has left 0.
    void countingBegan();
    void setSensitivity(int sensitivity);
    // Sampling was held (the close question): no interval spans it.
    void gapInSampling();
    // Lets go of the port; nothing more is sampled or probed.
    void stop();

signals:
    // Start-up's round has ended: the box answered, or it did not.
    void startUpAnswered(bool boxThere);
    // The port has gone; the box has answered again after it was away.
    void gone();
    void back();
    // A second without a reply; the first reply after it.
    void fellSilent();
    void answersAgain();
    void passage(const Passage& passage);
    // The latest brightness of a tick, while the dialog samples.
    void brightness(int brightness);

private:
    void sampleTick(Sampling by);
    // Only the sampler asked for runs, and only while the line is the
    // samplers': while the box is searched for, neither wakes the thread.
    void applySampling();
    void armLinkTimer();
    void linkGone();
    void linkBack();
    void linkNotFound();

    MakePort m_makePort;
    TenthClock::Now m_now;
    std::unique_ptr<LinkWatch> m_watch;
    Sampler m_sampler;
    Sampling m_sampling = Sampling::None;
    bool m_startingUp = false;
    int m_interval = 0;
};
