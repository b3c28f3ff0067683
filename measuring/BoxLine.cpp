#include "BoxLine.h"

#include "link/LinkStartup.h"

BoxLine::BoxLine(MakePort makePort, TenthClock::Now clock, QObject* parent)
    : QObject(parent), m_makePort(std::move(makePort)), m_now(clock), m_sampler(clock) {
    // Ticks close to the tenths they stand for.
    Timer1.setTimerType(Qt::PreciseTimer);
    Timer3.setTimerType(Qt::PreciseTimer);
    Timer1.setInterval(TenthClock::SamplingMs);
    Timer3.setInterval(TenthClock::SamplingMs);
    LinkTimer.setSingleShot(true);
    connect(&Timer1, &QTimer::timeout, this, &BoxLine::Timer1_Timer);
    connect(&Timer3, &QTimer::timeout, this, &BoxLine::Timer3_Timer);
    connect(&LinkTimer, &QTimer::timeout, this, &BoxLine::LinkTimer_Timer);
}

BoxLine::~BoxLine() {
    stop();
}

void BoxLine::start(int portNo, const QByteArray& sampleCommand, int sensitivity) {
    auto ms = [now = m_now] {
        return std::chrono::duration_cast<std::chrono::milliseconds>(now()).count();
    };
    m_watch =
        std::make_unique<LinkWatch>(m_makePort(),
                                    LinkWatch::Hooks{[this] { linkGone(); }, [this] { linkBack(); },
                                                     [this] { linkNotFound(); }},
                                    ms);
    LinkStartup::runAbsorbing([&] { m_watch->setCommPort(portNo); });
    m_sampler.setSampleCommand(sampleCommand);
    setSensitivity(sensitivity);
    m_startingUp = true;
    m_sampler.begin();
    m_watch->start();
    armLinkTimer();
}

void BoxLine::sampleFor(Sampling sampling) {
    m_sampling = sampling;
    applySampling();
}

void BoxLine::applySampling() {
    const bool lineIsOurs = m_watch && !m_watch->watching();
    // Never two samplers: the one going stops before the other starts.
    if (m_sampling != Sampling::Display || !lineIsOurs)
        Timer1.stop();
    if (m_sampling != Sampling::Dialog || !lineIsOurs)
        Timer3.stop();
    if (!lineIsOurs)
        return;
    QTimer& wanted = m_sampling == Sampling::Display ? Timer1 : Timer3;
    if (m_sampling != Sampling::None && !wanted.isActive())
        wanted.start();
}

void BoxLine::freshInterval(int interval, Detector::Peak peak) {
    m_interval = interval;
    m_sampler.detector().freshInterval(peak);
}

void BoxLine::countingBegan() {
    m_sampler.detector().countingBegan();
}

void BoxLine::setSensitivity(int sensitivity) {
    m_sampler.detector().Sensitivity = std::int16_t(sensitivity);
}

void BoxLine::gapInSampling() {
    m_sampler.gap();
}

void BoxLine::stop() {
    m_sampling = Sampling::None;
    Timer1.stop();
    Timer3.stop();
    LinkTimer.stop();
    if (m_watch)
        LinkStartup::runAbsorbing([&] { m_watch->close(); });
    m_watch.reset();
}

void BoxLine::Timer1_Timer() {
    sampleTick(Sampling::Display);
}

// The sensitivity dialog's sampling: the same exchange and detector as
// Timer1's, with the brightness shown too.
void BoxLine::Timer3_Timer() {
    sampleTick(Sampling::Dialog);
}

void BoxLine::sampleTick(Sampling by) {
    if (!m_watch)
        return;
    const Sampler::Result r = m_sampler.sample(*m_watch);
    if (r.fellSilent)
        emit fellSilent();
    if (r.answersAgain)
        emit answersAgain();
    // Every passage with its own time; the window shows the latest.
    for (const Sampler::Sample& s : r.samples)
        if (s.passage)
            emit passage({s.at, s.brightness, s.followsGap, m_interval});
    if (by == Sampling::Dialog && !r.samples.isEmpty())
        emit brightness(r.samples.back().brightness);
}

void BoxLine::LinkTimer_Timer() {
    if (!m_watch)
        return;
    m_watch->tick();
    armLinkTimer();
}

void BoxLine::armLinkTimer() {
    if (m_watch && m_watch->watching())
        LinkTimer.start(m_watch->msUntilDue());
    else
        LinkTimer.stop();
}

void BoxLine::linkGone() {
    m_sampler.boxGone();
    applySampling();
    armLinkTimer();
    emit gone();
}

void BoxLine::linkBack() {
    // The time the box was away is no period; at start-up the first passage
    // shows the time since the count began, as designed.
    if (m_startingUp)
        m_sampler.begin();
    else
        m_sampler.gap();
    applySampling();
    if (m_startingUp) {
        m_startingUp = false;
        emit startUpAnswered(true);
    } else {
        emit back();
    }
}

void BoxLine::linkNotFound() {
    // Kept without the box, a port start-up opened is sampled all the same.
    applySampling();
    if (m_startingUp) {
        m_startingUp = false;
        emit startUpAnswered(false);
    }
}
