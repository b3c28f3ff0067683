#pragma once

#include "core/PerixProtocol.h"
#include "measuring/CommandTimes.h"
#include "measuring/Detector.h"
#include "measuring/TenthClock.h"

#include <QByteArray>
#include <QVarLengthArray>
#include <chrono>

class SerialLink;

// The sampling tick shared by the display's Timer1 and the sensitivity
// dialog's Timer3: the exchange with the box and the detector, with one rule
// for gaps. Every reply that has come goes through the detector, oldest
// first, timed by the command it answers: a USB adapter hands replies over in
// bunches, and the one in which the beam was cut must count. No reading spans a gap in sampling (a
// box that fell silent or went away, the close question that held Timer1): after one, the first
// passage only starts the count and the next one shows a true interval.
// About a second without a reply is silence: the box is taken to be away
// until it answers again.
class Sampler {
public:
    static constexpr std::chrono::milliseconds SilenceAfter{1000};

    // One reply of the box, through the detector.
    struct Sample {
        int brightness = 0;
        // When the box read its sensor for it, by the monotonic clock: when
        // the command it answers went out.
        std::chrono::nanoseconds at{};
        bool passage = false; // the beam has just been cut
        // The first passage after a gap only starts the count: it ends no
        // interval to show.
        bool followsGap = false;
    };
    // What one tick brought.
    struct Result {
        // Oldest first; none when no reply came. One per tick on a built-in
        // port, bunches through a USB adapter.
        QVarLengthArray<Sample, 4> samples;
        bool fellSilent = false;   // this tick ended a second without replies
        bool answersAgain = false; // the first reply after silence
    };

    explicit Sampler(TenthClock::Now now);

    // The byte sent on every tick; the box's read of the light sensor.
    void setSampleCommand(const QByteArray& command) { m_command = command; }
    Detector& detector() { return m_detector; }
    const Detector& detector() const { return m_detector; }

    // Sampling begins, at start-up: silence is counted from now, and the
    // first passage shows the time since the count was reset, as designed.
    void begin();
    Result sample(SerialLink& port);
    // Sampling was held (the close question) or the box has come back: the
    // next passage only starts the count, and silence is counted from now.
    void gap();
    // The box's port has gone: silent at once, and a gap.
    void boxGone();

    bool silent() const { return m_silent; }
    bool nextPassageFollowsGap() const { return m_afterGap; }

private:
    Sample detect(int brightness, std::chrono::nanoseconds at);

    Detector m_detector;
    QByteArray m_command = QByteArray(1, char(PerixProtocol::SampleLight));
    TenthClock::Now m_now;
    std::chrono::nanoseconds m_lastReplyAt{};
    CommandTimes m_commands;
    bool m_silent = false;
    bool m_afterGap = false;
};
