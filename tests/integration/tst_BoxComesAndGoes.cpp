#include "link/PerixTexts.h"
#include "support/Classroom.h"

#include <QCloseEvent>
#include <QTest>

using namespace std::chrono_literals;

class TestBoxComesAndGoes : public QObject {
    Q_OBJECT
private slots:
    // No restart: a box plugged in after start-up, or back after a loss, is
    // found at the next try, about once a second, with or without the
    // sensitivity dialog open; only one sampler runs throughout.
    void the_box_is_found_whenever_it_comes_data() {
        QTest::addColumn<int>("start");
        QTest::addColumn<bool>("dialog");
        QTest::addColumn<qint64>("pulledAt"); // -1: never
        QTest::addColumn<qint64>("pluggedAt");
        QTest::addColumn<qint64>("foundAt");
        QTest::newRow("plugged in just before the third try")
            << int(NoPort) << false << qint64(-1) << qint64(2990) << qint64(3000);
        QTest::newRow("plugged in while the dialog is open")
            << int(NoPort) << true << qint64(-1) << qint64(2500) << qint64(3000);
        QTest::newRow("pulled and back")
            << int(BoxThere) << false << qint64(1000) << qint64(2500) << qint64(3000);
        QTest::newRow("pulled and back while the dialog is open")
            << int(BoxThere) << true << qint64(1000) << qint64(1200) << qint64(2000);
    }
    void the_box_is_found_whenever_it_comes() {
        QFETCH(int, start);
        QFETCH(bool, dialog);
        QFETCH(qint64, pulledAt);
        QFETCH(qint64, pluggedAt);
        QFETCH(qint64, foundAt);
        Classroom c{AtStartUp(start)};
        MainWindow& w = *c.f.window;
        QCOMPARE(c.f.line->LinkTimer.isActive(), start == NoPort);
        if (dialog)
            w.MenuSettei_Click();
        if (pulledAt >= 0) {
            c.runUntil(pulledAt);
            c.f.port->goAway();
        }
        c.runUntil(pluggedAt);
        QCOMPARE(c.f.display(), PerixTexts::notConnectedNotice());
        const qsizetype probesBefore = c.f.port->allWritten().count(QByteArray("\0\0\xFF", 3));
        c.plugIn();
        c.runUntil(foundAt - 10);
        QVERIFY(c.f.line->LinkTimer.isActive());
        c.runUntil(foundAt);
        QVERIFY(!c.f.line->LinkTimer.isActive());
        QCOMPARE(c.f.port->allWritten().count(QByteArray("\0\0\xFF", 3)), probesBefore + 1);
        // A fresh interval; sampling goes on with the sampler that ran before.
        QCOMPARE(c.f.v.TenthCount, 0);
        QCOMPARE(c.f.line->sampler().detector().PeakBrightness, 0);
        c.runUntil(foundAt + 50);
        QCOMPARE(c.f.line->sampler().detector().PeakBrightness, 200);
        QCOMPARE(c.f.line->Timer1.isActive(), !dialog);
        QCOMPARE(c.f.line->Timer3.isActive(), dialog);
        QCOMPARE(c.bothSamplers, 0);
    }

    // What the display shows from the back of the room, in order, with the
    // bob cutting the beam every 0.7 s (for 60 ms, from 0.7 s after
    // start-up). After a gap the display says why until the first true
    // interval; no reading spans the gap.
    void no_reading_spans_a_gap_data() {
        const QString startup = PerixTexts::startupNotice();
        const QString gone = PerixTexts::notConnectedNotice();
        const QString p07 = QStringLiteral("0.7秒");
        QTest::addColumn<QString>("what");
        QTest::addColumn<qint64>("from");
        QTest::addColumn<qint64>("to");
        QTest::addColumn<QStringList>("shown");
        QTest::newRow("box silent 0.9 s: a passage missed, no notice")
            << "silent" << qint64(1500) << qint64(2400)
            << QStringList{startup, p07, QStringLiteral(" 1.4秒"), p07};
        QTest::newRow("box silent 1.1 s") << "silent" << qint64(1500) << qint64(2600)
                                          << QStringList{startup, p07, gone, startup, p07};
        QTest::newRow("box silent for good")
            << "silent" << qint64(1500) << qint64(9999) << QStringList{startup, p07, gone};
        QTest::newRow("port lost, back in another socket")
            << "lost" << qint64(1500) << qint64(2000)
            << QStringList{startup, p07, gone, startup, p07};
        QTest::newRow("close question held 2.5 s, then No")
            << "question" << qint64(1500) << qint64(4000) << QStringList{startup, p07};
        // As designed: it measures, the first time counted from start-up.
        QTest::newRow("box silent at the probe, answering samples")
            << "no probe" << qint64(0) << qint64(0) << QStringList{gone, p07};
    }
    void no_reading_spans_a_gap() {
        QFETCH(QString, what);
        QFETCH(qint64, from);
        QFETCH(qint64, to);
        QFETCH(QStringList, shown);
        Classroom c{what == QLatin1String("no probe") ? ProbeUnanswered : BoxThere};
        c.light = [&](qint64 t) {
            if (what == QLatin1String("silent") && t >= from && t < to)
                return -1;
            return t >= 700 && t % 700 < 60 ? 20 : 200;
        };
        c.runUntil(from);
        if (what == QLatin1String("lost")) {
            c.f.port->goAway();
            c.runUntil(to);
            c.plugIn();
        } else if (what == QLatin1String("question")) {
            c.f.boxes.nextAnswer = false;
            c.f.boxes.whileAsking = [&] {
                // Timer1 is stopped while asking; the clock goes on.
                for (; c.ms() < to; c.f.now += 10ms)
                    if (c.ms() % 100 == 50)
                        c.f.window->Timer2_Timer();
            };
            QCloseEvent close;
            c.f.window->Form_QueryUnload(&close);
        }
        c.runUntil(6000);
        QCOMPARE(c.shown, shown);
    }

    // Found at the very first try, before a whole second without replies has
    // passed: the return itself is the gap, so the passage that follows only
    // starts the count instead of showing the time since the box came.
    void a_box_found_at_once_starts_a_fresh_count() {
        Classroom c{NoPort};
        c.light = [](qint64 t) { return t >= 700 && t % 700 < 60 ? 20 : 200; };
        c.runUntil(LinkWatch::RetryMs - 10);
        c.plugIn();
        c.f.now += 10ms;
        c.f.line->LinkTimer_Timer();
        QVERIFY(!c.f.line->LinkTimer.isActive());
        c.runUntil(3000);
        QCOMPARE(c.shown, QStringList({PerixTexts::notConnectedNotice(),
                                       PerixTexts::startupNotice(), QStringLiteral("0.7秒")}));
    }
};

QTEST_MAIN(TestBoxComesAndGoes)
#include "tst_BoxComesAndGoes.moc"
