#include "link/LinkStartup.h"
#include "link/LinkWatch.h"
#include "support/ScriptedPort.h"

#include <QTest>
#include <type_traits>

// The watch hands `this` to its port's report of a loss.
static_assert(!std::is_copy_constructible_v<LinkWatch> && !std::is_move_constructible_v<LinkWatch>);
static_assert(!std::is_copy_assignable_v<LinkWatch> && !std::is_move_assignable_v<LinkWatch>);

namespace {

const QByteArray WakeAndProbe("\0\0\xFF", 3);

// A watch on a scripted port whose adapter is pulled out at time 0, then
// ticked as the main window's timer would tick it.
struct Watched {
    ProgramValues v;
    ScriptedPort* scripted = new ScriptedPort;
    ScriptedPort& port = *scripted; // owned by the watch
    qint64 now = -1000;
    int goneCalls = 0;
    int backCalls = 0;
    qint64 backAt = -1;
    QList<qint64> triedAt;
    int samplesThrough = 0;
    LinkWatch watch{v,
                    std::unique_ptr<SerialLink>(scripted),
                    {[this] { ++goneCalls; },
                     [this] {
                         ++backCalls;
                         backAt = now;
                     }},
                    [this] { return now; }};

    Watched() {
        port.open();
        port.opens = 0;
        now = 0;
        port.goAway();
    }

    // Ticks until `until` ms, failing the first `failedOpens` openings.
    void run(qint64 until, int failedOpens = 0) {
        for (; now <= until; now += LinkWatch::TickMs) {
            if (!watch.watching())
                continue;
            port.openFails = port.opens < failedOpens;
            // A sampling tick between the watch's ticks must find the
            // link closed, or it would eat the probe's reply.
            try {
                watch.writeByte(242);
                watch.readAll();
                ++samplesThrough;
            } catch (const LinkError&) {
            }
            const int before = port.opens;
            watch.tick();
            if (port.opens > before)
                triedAt << now;
        }
    }
};

} // namespace

class TestLinkWatch : public QObject {
    Q_OBJECT
private slots:
    void retries_once_a_second_and_probes_after_reopening_data() {
        QTest::addColumn<int>("failedOpens");
        QTest::addColumn<QByteArrayList>("replies");
        QTest::addColumn<QList<qint64>>("tried");
        QTest::addColumn<qint64>("back");
        // Each entry of replies is what one read finds, one read per tick
        // while the probe waits.
        QTest::newRow("answers at once")
            << 0 << QByteArrayList{"MERAVO"} << QList<qint64>{1000} << qint64(1000);
        QTest::newRow("answer spread over ticks")
            << 0 << QByteArrayList{"", "MER", "AVO"} << QList<qint64>{1000} << qint64(1040);
        QTest::newRow("more after the identity")
            << 0 << QByteArrayList{"MERAVO\x07\x01"} << QList<qint64>{1000} << qint64(1000);
        QTest::newRow("port missing twice")
            << 2 << QByteArrayList{"MERAVO"} << QList<qint64>{1000, 2000, 3000} << qint64(3000);
        QTest::newRow("a stranger answers first")
            << 0 << QByteArrayList{"HELLO!", "MERAVO"} << QList<qint64>{1000, 2000} << qint64(2000);
        QTest::newRow("silent box")
            << 0 << QByteArrayList{} << QList<qint64>{1000, 2000, 3000} << qint64(-1);
        QByteArrayList tooLate(LinkStartup::ProbeWaitMs / LinkWatch::TickMs + 1, QByteArray());
        tooLate << "MERAVO";
        QTest::newRow("answer after the wait")
            << 0 << tooLate << QList<qint64>{1000, 2000} << qint64(2000);
    }
    void retries_once_a_second_and_probes_after_reopening() {
        QFETCH(int, failedOpens);
        QFETCH(QByteArrayList, replies);
        QFETCH(QList<qint64>, tried);
        QFETCH(qint64, back);

        Watched w;
        w.v.TenthCount = 37;
        w.v.PeakBrightness = 210;
        for (const QByteArray& r : replies)
            w.port.reads.push_back(r);
        w.run(3500, failedOpens);

        QCOMPARE(w.triedAt, tried);
        const qsizetype opened = tried.size() - failedOpens;
        QCOMPARE(w.backAt, back);
        QCOMPARE(w.goneCalls, 1);
        QCOMPARE(w.samplesThrough, 0);
        QCOMPARE(w.watch.isOpen(), back >= 0);
        QCOMPARE(w.backCalls, back < 0 ? 0 : 1);
        QCOMPARE(w.watch.watching(), back < 0);
        // Each opening wakes and probes the box, in three writes, and nothing else.
        QCOMPARE(w.port.allWritten(), WakeAndProbe.repeated(opened));
        QCOMPARE(w.port.written.size(), 3 * opened);
        // A port whose box did not answer is let go again.
        QCOMPARE(w.port.closes, int(opened) - (back < 0 ? 0 : 1));
        QCOMPARE(w.port.isOpen(), back >= 0);
        // Back: a fresh interval. Still away: measuring values untouched.
        QCOMPARE(w.v.TenthCount, back < 0 ? 37 : 0);
        QCOMPARE(w.v.PeakBrightness, back < 0 ? 210 : 0);
    }

    void gone_again_while_probing_waits_a_whole_second() {
        Watched w;
        w.run(1000);
        QVERIFY(w.watch.probing());
        w.now = 1100;
        w.port.goAway();
        QCOMPARE(w.goneCalls, 2);
        w.port.reads.push_back("MERAVO");
        w.run(2200);
        QCOMPARE(w.triedAt, QList<qint64>({1000, 2100}));
        QCOMPARE(w.backAt, qint64(2100));
    }
};

QTEST_MAIN(TestLinkWatch)
#include "tst_LinkWatch.moc"
