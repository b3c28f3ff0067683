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

enum Start { PulledOut, NeverOpened };

// A watch on a scripted port whose adapter is pulled out at time 0, or which
// start-up could not open, then ticked as the main window's timer would tick it.
struct Watched {
    ScriptedPort* scripted = new ScriptedPort;
    ScriptedPort& port = *scripted; // owned by the watch
    qint64 now = 0;
    int goneCalls = 0;
    int backCalls = 0;
    qint64 backAt = -1;
    QList<qint64> triedAt;
    int samplesThrough = 0;
    LinkWatch watch{std::unique_ptr<SerialLink>(scripted),
                    {[this] { ++goneCalls; },
                     [this] {
                         ++backCalls;
                         backAt = now;
                     },
                     {}},
                    [this] { return now; }};

    explicit Watched(Start start = PulledOut) {
        port.openFails = start == NeverOpened;
        if (start == PulledOut)
            port.reads.push_back("MERAVO");
        now = 0;
        watch.start(); // start-up's probe: the search's first round
        watch.tick();
        port.opens = 0;
        port.written.clear();
        backCalls = 0;
        backAt = -1;
        if (start == PulledOut)
            port.goAway();
    }

    // Ticks until `until` ms, failing the first `failedOpens` openings.
    void run(qint64 until, int failedOpens = 0) {
        for (; now <= until; now += LinkWatch::TickMs) {
            if (!watch.watching())
                continue;
            port.openFails = port.opens < failedOpens;
            // A sampling tick between the watch's ticks must find the link
            // closed, and a write made all the same must fail, or it would
            // eat the probe's reply.
            if (watch.isOpen())
                ++samplesThrough;
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

// A watch handed a healthy line at start-up, sampled every 10 ms by a box
// that answers each sample until `silentFrom`, while the port reports the
// errors it is told to.
struct Sampled {
    ScriptedPort* scripted = new ScriptedPort;
    ScriptedPort& port = *scripted; // owned by the watch
    qint64 now = 0;
    qint64 goneAt = -1;
    qint64 closedAt = -1;
    int throws = 0;
    LinkWatch watch{std::unique_ptr<SerialLink>(scripted),
                    {[this] {
                         if (goneAt < 0)
                             goneAt = now;
                     },
                     {},
                     {}},
                    [this] { return now; }};

    Sampled() {
        port.reads.push_back("MERAVO");
        watch.start();
        watch.tick();
    }

    void run(qint64 until, const QList<qint64>& faultsAt, qint64 silentFrom,
             qint64 foundClosedAt = -1) {
        for (; now <= until; now += 10) {
            if (faultsAt.contains(now))
                port.fault();
            if (now == foundClosedAt)
                port.isOpenNow = false;
            // As the sampling tick does: nothing at all while there is no port.
            if (watch.isOpen()) {
                if (silentFrom < 0 || now < silentFrom)
                    port.reads.push_back("\xC8");
                try {
                    watch.writeByte(242);
                    watch.readAll();
                } catch (const LinkError&) {
                    ++throws;
                }
            }
            if (watch.watching())
                watch.tick();
            if (closedAt < 0 && port.closes > 0)
                closedAt = now;
        }
    }
};

QList<qint64> every100(qint64 from, qint64 to) {
    QList<qint64> at;
    for (qint64 t = from; t <= to; t += 100)
        at << t;
    return at;
}

} // namespace

class TestLinkWatch : public QObject {
    Q_OBJECT
private slots:
    void retries_once_a_second_and_probes_after_reopening_data() {
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("failedOpens");
        QTest::addColumn<QByteArrayList>("replies");
        QTest::addColumn<QList<qint64>>("tried");
        QTest::addColumn<qint64>("back");
        // Each entry of replies is what one read finds, one read per tick
        // while the probe waits.
        QTest::newRow("answers at once") << int(PulledOut) << 0 << QByteArrayList{"MERAVO"}
                                         << QList<qint64>{1000} << qint64(1000);
        QTest::newRow("answer spread over ticks")
            << int(PulledOut) << 0 << QByteArrayList{"", "MER", "AVO"} << QList<qint64>{1000}
            << qint64(1040);
        QTest::newRow("more after the identity")
            << int(PulledOut) << 0 << QByteArrayList{"MERAVO\x07\x01"} << QList<qint64>{1000}
            << qint64(1000);
        QTest::newRow("port missing twice") << int(PulledOut) << 2 << QByteArrayList{"MERAVO"}
                                            << QList<qint64>{1000, 2000, 3000} << qint64(3000);
        QTest::newRow("a stranger answers first")
            << int(PulledOut) << 0 << QByteArrayList{"HELLO!", "MERAVO"}
            << QList<qint64>{1000, 2000} << qint64(2000);
        QTest::newRow("silent box") << int(PulledOut) << 0 << QByteArrayList{}
                                    << QList<qint64>{1000, 2000, 3000} << qint64(-1);
        QByteArrayList tooLate(LinkStartup::ProbeWaitMs / LinkWatch::TickMs + 1, QByteArray());
        tooLate << "MERAVO";
        QTest::newRow("answer after the wait")
            << int(PulledOut) << 0 << tooLate << QList<qint64>{1000, 2000} << qint64(2000);
        QTest::newRow("no port at start-up, adapter plugged in later")
            << int(NeverOpened) << 2 << QByteArrayList{"MERAVO"} << QList<qint64>{1000, 2000, 3000}
            << qint64(3000);
        QTest::newRow("no port at start-up, box there at once")
            << int(NeverOpened) << 0 << QByteArrayList{"MERAVO"} << QList<qint64>{1000}
            << qint64(1000);
        QTest::newRow("no port at start-up, never a box")
            << int(NeverOpened) << 0 << QByteArrayList{} << QList<qint64>{1000, 2000, 3000}
            << qint64(-1);
    }
    void retries_once_a_second_and_probes_after_reopening() {
        QFETCH(int, start);
        QFETCH(int, failedOpens);
        QFETCH(QByteArrayList, replies);
        QFETCH(QList<qint64>, tried);
        QFETCH(qint64, back);

        Watched w{Start(start)};
        for (const QByteArray& r : replies)
            w.port.reads.push_back(r);
        w.run(3500, failedOpens);

        QCOMPARE(w.triedAt, tried);
        const qsizetype opened = tried.size() - failedOpens;
        QCOMPARE(w.backAt, back);
        // A port that start-up could not open is not reported again.
        QCOMPARE(w.goneCalls, start == PulledOut ? 1 : 0);
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

    // Only a line that keeps failing is lost: errors for about a second,
    // never a reply nor a quiet second between them.
    void errors_count_as_a_loss_only_when_they_go_on_data() {
        QTest::addColumn<QList<qint64>>("faultsAt");
        QTest::addColumn<qint64>("silentFrom"); // -1: the box always answers
        QTest::addColumn<qint64>("goneAt");     // -1: never
        QTest::newRow("one error") << QList<qint64>{500} << qint64(-1) << qint64(-1);
        QTest::newRow("one error, then a silent box")
            << QList<qint64>{500} << qint64(500) << qint64(-1);
        QTest::newRow("errors for 0.9 s, no reply") << every100(0, 900) << qint64(0) << qint64(-1);
        QTest::newRow("errors for a second, no reply")
            << every100(0, 1000) << qint64(0) << qint64(1000);
        QTest::newRow("errors for 1.5 s, replies between")
            << every100(0, 1500) << qint64(-1) << qint64(-1);
        QTest::newRow("two errors 1.5 s apart, no reply")
            << QList<qint64>{0, 1500} << qint64(0) << qint64(-1);
        QTest::newRow("errors again after a quiet 1.1 s")
            << every100(0, 500) + every100(1600, 2600) << qint64(0) << qint64(2600);
    }
    void errors_count_as_a_loss_only_when_they_go_on() {
        QFETCH(QList<qint64>, faultsAt);
        QFETCH(qint64, silentFrom);
        QFETCH(qint64, goneAt);
        Sampled s;
        s.run(2900, faultsAt, silentFrom);
        QCOMPARE(s.goneAt, goneAt);
        QCOMPARE(s.watch.watching(), goneAt >= 0);
        // A lost line is let go at the watch's first tick, not inside the
        // port's report; a line not lost stays open.
        QCOMPARE(s.closedAt, goneAt < 0 ? -1 : goneAt);
        QCOMPARE(s.port.isOpen(), goneAt < 0);
        QCOMPARE(s.throws, 0);
    }

    // A port found closed without a word is lost as well: one failed sample,
    // then no more attempts until the box is back.
    void a_port_found_closed_is_lost_once() {
        Sampled s;
        s.run(490, {}, -1);
        s.port.reads.clear();
        s.port.reads.push_back("MERAVO");
        s.run(1600, {}, 600, 500);
        QCOMPARE(s.goneAt, qint64(500));
        QCOMPARE(s.throws, 1);
        QVERIFY(!s.watch.watching());
        QCOMPARE(s.port.opens, 2); // start-up's, then the retry at 1500
        QVERIFY(s.port.allWritten().contains(WakeAndProbe));
    }
};

QTEST_MAIN(TestLinkWatch)
#include "tst_LinkWatch.moc"
