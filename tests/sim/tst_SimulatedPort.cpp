#include "link/LinkWatch.h"
#include "sim/SimulatedPort.h"
#include "support/ManualClock.h"

#include <QTest>
#include <cmath>
#include <type_traits>

// The simulated box reads its sensor through `this`.
static_assert(!std::is_copy_constructible_v<SimulatedPort> &&
              !std::is_move_constructible_v<SimulatedPort>);

namespace {

struct SimFixture {
    ManualClock* clock;
    std::unique_ptr<SimulatedPort> port;
    explicit SimFixture(PendulumLight::Setup setup = {}) {
        auto owned = std::make_unique<ManualClock>();
        clock = owned.get();
        port = std::make_unique<SimulatedPort>(std::move(owned), setup);
        port->open();
    }
};

} // namespace

class TestSimulatedPort : public QObject {
    Q_OBJECT
private slots:
    void answers_the_probe_after_the_line_delay() {
        SimFixture f;
        f.port->write(QByteArray("\0\0\xFF", 3));
        QVERIFY(f.port->readAll().isEmpty()); // nothing can be back yet
        f.clock->advanceMs(5);
        const QByteArray early = f.port->readAll();
        QVERIFY(early.size() < 6);
        f.clock->advanceMs(10);
        QCOMPARE(early + f.port->readAll(), QByteArray("MERAVO"));
    }

    void start_ups_round_finds_the_box() {
        // A fresh, closed port: the round opens it itself.
        auto owned = std::make_unique<ManualClock>();
        ManualClock* clock = owned.get();
        bool found = false;
        LinkWatch watch(std::make_unique<SimulatedPort>(std::move(owned)),
                        {{}, [&] { found = true; }, {}}, [clock] { return clock->now / 1000; });
        watch.start();
        for (int tick = 0; tick < 10 && !found; ++tick) {
            watch.tick();
            clock->advanceMs(LinkWatch::TickMs);
        }
        QVERIFY(found);
    }

    void a_sample_tick_reads_the_answer_to_an_earlier_request() {
        SimFixture f;
        f.port->writeByte(242);
        QVERIFY(f.port->readAll().isEmpty());
        f.clock->advanceMs(10);
        f.port->writeByte(242);
        QCOMPARE(f.port->readAll().size(), 1); // the previous tick's answer
        f.clock->advanceMs(10);
        QCOMPARE(f.port->readAll().size(), 1);
    }

    void the_sensor_is_read_when_the_command_reaches_the_box() {
        PendulumLight::Setup still;
        still.noise = 0;
        still.driftAmplitude = 0;
        SimFixture f(still); // the bob is in the beam at 0 s and far from it at 0.6 s
        f.port->writeByte(242);
        f.clock->advanceMs(600);
        const QByteArray reply = f.port->readAll();
        QCOMPARE(reply.size(), 1);
        QCOMPARE(static_cast<unsigned char>(reply[0]), 40); // 200, 80 % of it blocked
    }

    void closed_port_refuses_everything() {
        SimulatedPort port(std::make_unique<ManualClock>());
        QVERIFY_THROWS_EXCEPTION(LinkError, port.write("x"));
        QVERIFY_THROWS_EXCEPTION(LinkError, port.readAll());
        QVERIFY_THROWS_EXCEPTION(LinkError, port.waitForReadyRead(1));
        QVERIFY_THROWS_EXCEPTION(LinkError, port.setSettings("fast"));
        port.open();
        QVERIFY_THROWS_EXCEPTION(LinkError, port.setCommPort(2));
    }

    void light_has_ambient_level_and_dark_passages() {
        PendulumLight light;
        int dark = 0, lightest = 0, darkest = 255;
        for (int i = 0; i < 500; ++i) { // 5 s at 10 ms
            const int b = light.brightnessAt(i * 0.01);
            lightest = std::max(lightest, b);
            darkest = std::min(darkest, b);
            if (b < 100)
                ++dark;
        }
        QVERIFY(lightest >= 195 && lightest <= 215);
        QVERIFY(darkest < 60);
        // Four passages in 5 s, each dark for several samples, not most of the time.
        QVERIFY2(dark >= 4 * 5 && dark <= 4 * 20, qPrintable(QString::number(dark)));
    }
};

QTEST_MAIN(TestSimulatedPort)
#include "tst_SimulatedPort.moc"
