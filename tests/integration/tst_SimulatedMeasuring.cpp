#include "measuring/Measuring.h"
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
        QList<int> shown;
        for (int ms = 0; ms < 60000; ms += 10) {
            if (ms % 100 == 0 && ms > 0)
                Measuring::clockTick(v);
            for (const char b : Measuring::exchange(port, v.SampleCommand).replies)
                if (const auto n = Measuring::detect(v, static_cast<unsigned char>(b)))
                    shown << *n;
            clock->advanceMs(10);
        }
        // The gate sits in the middle: two passages per 2.5 s swing.
        QVERIFY2(shown.size() >= 46 && shown.size() <= 49,
                 qPrintable(QString::number(shown.size())));
        shown.removeFirst(); // measured from the start, not from a passage
        for (int n : shown)
            QVERIFY2(n == 12 || n == 13, qPrintable(QString::number(n)));
    }
};

QTEST_MAIN(TestSimulatedMeasuring)
#include "tst_SimulatedMeasuring.moc"
