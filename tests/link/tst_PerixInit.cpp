#include "link/LinkStartup.h"
#include "link/LinkWatch.h"
#include "link/Perix.h"
#include "link/PerixTexts.h"
#include "support/RecordedNotices.h"
#include "support/ScriptedPort.h"

#include <QElapsedTimer>
#include <QTest>

namespace {

// Start-up as the program runs it: PerixInit has the line start the search
// on COM PortNo, whose first round probes it; the answer comes back as the
// round goes on, tick by tick, each tick bringing what arrived meanwhile.
struct PerixFixture {
    ProgramValues v;
    RecordedNotices label;
    ScriptedPort& port = *new ScriptedPort; // owned by the watch
    qint64 now = 0;
    int endCalls = 0;
    int rounds = 0;
    LinkWatch watch{std::unique_ptr<SerialLink>(&port),
                    {{}, [this] { v.NotConnected = false; }, [this] { ++rounds; }},
                    [this] { return now; }};
    Perix perix{v, label.sink(),
                [this] {
                    LinkStartup::runAbsorbing([&] { watch.setCommPort(v.PortNo); });
                    watch.start();
                },
                [this] { ++endCalls; }};

    // PerixInit, then the first round until it has ended.
    void startUp() {
        perix.PerixInit();
        for (; now <= LinkStartup::ProbeWaitMs + LinkWatch::TickMs && rounds == 0 && v.NotConnected;
             now += LinkWatch::TickMs) {
            if (!port.late.empty() && port.isOpen()) {
                port.reads.push_back(port.late.front());
                port.late.pop_front();
            }
            watch.tick();
        }
    }
};

} // namespace

class TestPerixInit : public QObject {
    Q_OBJECT
private slots:
    void wakes_and_probes_with_three_single_writes() {
        PerixFixture f;
        f.port.reads.push_back("MERAVO");
        f.startUp();
        QCOMPARE(f.port.written, QByteArrayList({QByteArray(1, '\0'), QByteArray(1, '\0'),
                                                 QByteArray(1, char(255))}));
        QCOMPARE(f.port.settings, QStringLiteral("9600,N,8,1"));
        QCOMPARE(f.port.commPort, 1);
        QVERIFY(f.port.isOpen());
        QVERIFY(!f.v.NotConnected);
    }

    void resets_the_channel_values() {
        PerixFixture f;
        f.v.ChannelNo = 3;
        f.v.DataValue = 77;
        f.v.DigitalShadow = 12;
        f.v.DigitalBit = 1;
        f.perix.PerixInit();
        QCOMPARE(f.v.ChannelNo, 1);
        QCOMPARE(f.v.DataValue, 0);
        QCOMPARE(f.v.DigitalShadow, 0);
        QCOMPARE(f.v.DigitalBit, 0);
    }

    void shows_the_start_up_notice_at_14_points() {
        PerixFixture f;
        f.perix.PerixInit();
        QCOMPARE(f.label.points, 14);
        const QStringList lines = f.label.text.split(QLatin1Char('\n'));
        QCOMPARE(lines.size(), 7);
        QCOMPARE(lines.first(), QStringLiteral("「Perix」初期化中。"));
        QCOMPARE(lines.at(1), QStringLiteral("\u3000「Perix」が接続されていないと、プログラムが"));
        QCOMPARE(lines.at(5),
                 QStringLiteral("\u3000\u3000初期設定では接続シリアルポートは「\uFF11」になっ"));
        QCOMPARE(lines.last(), QStringLiteral("\u3000ています。"));
        QCOMPARE(f.label.text, PerixTexts::startupNotice());
    }

    void port_number_is_limited_to_1_to_4_data() {
        QTest::addColumn<int>("given");
        QTest::addColumn<int>("used");
        QTest::newRow("-7") << -7 << 1;
        QTest::newRow("0") << 0 << 1;
        QTest::newRow("3") << 3 << 3;
        QTest::newRow("5") << 5 << 4;
        QTest::newRow("32767") << 32767 << 4;
    }
    void port_number_is_limited_to_1_to_4() {
        QFETCH(int, given);
        QFETCH(int, used);
        PerixFixture f;
        f.v.PortNo = std::int16_t(given);
        f.startUp();
        QCOMPARE(int(f.v.PortNo), used);
        QCOMPARE(f.port.commPort, used);
    }

    void a_port_that_will_not_open_skips_the_rest_quietly() {
        PerixFixture f;
        f.port.openFails = true;
        f.port.reads.push_back("MERAVO"); // never read: the port is closed
        f.startUp();
        QVERIFY(f.port.written.isEmpty());
        QVERIFY(f.v.NotConnected);
        QCOMPARE(f.rounds, 1);
        QCOMPARE(f.label.text, PerixTexts::startupNotice());
        f.perix.PerixDone();
        QCOMPARE(f.label.text, QStringLiteral("Perixが接続されていません!"));
        QCOMPARE(f.label.points, 14);
    }

    void probe_replies_data() {
        QTest::addColumn<QByteArrayList>("atOnce");
        QTest::addColumn<QByteArrayList>("later");
        QTest::addColumn<bool>("connected");
        QTest::newRow("whole reply at once")
            << QByteArrayList{"MERAVO"} << QByteArrayList{} << true;
        QTest::newRow("reply with trailing bytes")
            << QByteArrayList{"MERAVO\x01"} << QByteArrayList{} << true;
        QTest::newRow("arrives late, in pieces")
            << QByteArrayList{} << QByteArrayList{"ME", "RAV", "O"} << true;
        QTest::newRow("begins at once, ends late")
            << QByteArrayList{"MER"} << QByteArrayList{"AVO"} << true;
        QTest::newRow("another device") << QByteArrayList{"OK\r\n"} << QByteArrayList{} << false;
        QTest::newRow("almost") << QByteArrayList{} << QByteArrayList{"MERAVX"} << false;
        QTest::newRow("lower case") << QByteArrayList{"meravo"} << QByteArrayList{} << false;
        QTest::newRow("cut short") << QByteArrayList{"MERA"} << QByteArrayList{} << false;
        QTest::newRow("garbage first")
            << QByteArrayList{QByteArray("\0MERAVO", 7)} << QByteArrayList{} << false;
        QTest::newRow("never comes") << QByteArrayList{} << QByteArrayList{} << false;
    }
    void probe_replies() {
        QFETCH(QByteArrayList, atOnce);
        QFETCH(QByteArrayList, later);
        QFETCH(bool, connected);
        PerixFixture f;
        for (const QByteArray& chunk : atOnce)
            f.port.reads.push_back(chunk);
        for (const QByteArray& chunk : later)
            f.port.late.push_back(chunk);
        f.startUp();
        QCOMPARE(!f.v.NotConnected, connected);
        QCOMPARE(f.rounds, connected ? 0 : 1);
        QVERIFY(f.port.late.empty());
    }

    // perix-io's probe, which waits on the line.
    void a_silent_real_wait_ends_within_the_bound() {
        // A port that really waits: each wait sleeps as asked and brings nothing.
        struct SleepyPort : ScriptedPort {
            bool waitForReadyRead(int msecs) override {
                QTest::qSleep(msecs);
                ScriptedPort::waitForReadyRead(msecs);
                return false;
            }
        } port;
        port.open();
        QElapsedTimer clock;
        clock.start();
        QVERIFY(!LinkStartup::wakeAndProbe(port, LinkStartup::runAbsorbing));
        QVERIFY(clock.elapsed() < 1000);
        QCOMPARE(port.waits, 1);
    }

    void owari_ends_the_program() {
        PerixFixture f;
        f.perix.PerixOwari();
        QCOMPARE(f.endCalls, 1);
    }
};

QTEST_MAIN(TestPerixInit)
#include "tst_PerixInit.moc"
