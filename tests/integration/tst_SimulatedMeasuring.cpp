#include "measuring/Measuring.h"
#include "measuring/Sampler.h"
#include "sim/SimulatedPort.h"
#include "support/ManualClock.h"

#include <QTest>

// The measuring loop against the simulated box and pendulum.
class TestSimulatedMeasuring : public QObject {
    Q_OBJECT
private slots:
    void the_measuring_loop_sees_the_pendulum_period() {
        // Drive the real detector with the simulated box for a minute of
        // simulated time, ticking as the window's timers do.
        auto owned = std::make_unique<ManualClock>();
        ManualClock* clock = owned.get();
        SimulatedPort port(std::move(owned));
        port.open();
        ProgramValues v;
        Detector detector;
        QList<int> shown;
        for (int ms = 0; ms < 60000; ms += 10) {
            if (ms % 100 == 0 && ms > 0 && Measuring::clockTick(v))
                detector.countingBegan();
            for (const char b : Measuring::exchange(port, v.SampleCommand).replies)
                if (detector.see(static_cast<unsigned char>(b)))
                    shown << *Measuring::passage(v, false);
            clock->advanceMs(10);
        }
        // The gate sits in the middle: two passages per 2.5 s swing.
        QVERIFY2(shown.size() >= 46 && shown.size() <= 49,
                 qPrintable(QString::number(shown.size())));
        shown.removeFirst(); // measured from the start, not from a passage
        for (int n : shown)
            QVERIFY2(n == 12 || n == 13, qPrintable(QString::number(n)));
    }

    // Through a USB adapter that hands the replies over in bunches every
    // 16 ms, each passage keeps the time of the sample in which the beam was
    // cut: the intervals between them are as exact as on a built-in port.
    void passages_keep_their_time_through_an_adapter_data() {
        QTest::addColumn<int>("adapterMs");
        QTest::addColumn<qsizetype>("mostPerTick");
        QTest::newRow("built-in port") << 0 << qsizetype(1);
        QTest::newRow("FTDI's 16 ms") << 16 << qsizetype(2);
    }
    void passages_keep_their_time_through_an_adapter() {
        QFETCH(int, adapterMs);
        QFETCH(qsizetype, mostPerTick);
        PendulumLight::Setup pendulum;
        pendulum.periodSeconds = 2.5062; // passages fall all over the 10 ms between samples
        auto owned = std::make_unique<ManualClock>();
        ManualClock* clock = owned.get();
        SimulatedPort port(std::move(owned), pendulum);
        port.setAdapterLatency(adapterMs * 1000);
        port.open();
        ProgramValues v;
        Sampler sampler([clock] { return std::chrono::microseconds(clock->now); });
        sampler.begin();
        QList<double> seenAt;
        qsizetype most = 0;
        for (int ms = 10; ms < 60000; ms += 10) {
            clock->advanceMs(10);
            if (ms % 100 == 0 && Measuring::clockTick(v))
                sampler.detector().countingBegan();
            const Sampler::Result r = sampler.sample(port);
            most = std::max(most, r.samples.size());
            for (const Sampler::Sample& s : r.samples)
                if (s.passage && Measuring::passage(v, s.followsGap))
                    seenAt << double(s.at.count()) / 1e9;
        }
        QCOMPARE(most, mostPerTick);
        QCOMPARE(seenAt.size(), 47);
        for (qsizetype i = 1; i < seenAt.size(); ++i)
            QVERIFY2(std::abs(seenAt[i] - seenAt[i - 1] - 1.2531) <= 0.0105,
                     qPrintable(QString::number(seenAt[i] - seenAt[i - 1])));
    }
};

QTEST_MAIN(TestSimulatedMeasuring)
#include "tst_SimulatedMeasuring.moc"
