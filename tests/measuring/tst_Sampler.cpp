#include "measuring/Measuring.h"
#include "measuring/Sampler.h"
#include "support/ScriptedPort.h"

#include <QTest>

using namespace std::chrono_literals;

namespace {

// A sampler on a scripted box, ticked every 10 ms with the tenths counted
// alongside as the window counts them, all on a clock moved by hand.
struct Bench {
    ProgramValues v;
    ScriptedPort port;
    std::chrono::nanoseconds now{};
    Sampler sampler{[this] { return now; }};
    QList<int> shown;
    int passages = 0;
    int fellSilent = 0;
    int answersAgain = 0;

    Bench() {
        port.open();
        sampler.begin();
    }

    // Ticks for `ms`, the box answering `brightness` (or nothing, -1).
    void run(int ms, int brightness) {
        for (int t = 0; t < ms; t += 10) {
            now += 10ms;
            if (std::chrono::duration_cast<std::chrono::milliseconds>(now).count() % 100 == 0)
                clockTick();
            if (brightness >= 0)
                port.reads.push_back(QByteArray(1, char(brightness)));
            const Sampler::Result r = sampler.sample(port);
            for (const Sampler::Sample& s : r.samples) {
                passages += s.passage;
                if (!s.passage)
                    continue;
                if (const auto period = Measuring::passage(v, s.followsGap))
                    shown << *period;
            }
            fellSilent += r.fellSilent;
            answersAgain += r.answersAgain;
            QCOMPARE(r.samples.size(), brightness >= 0 ? 1 : 0);
        }
    }
    void clockTick() {
        if (Measuring::clockTick(v))
            sampler.detector().countingBegan();
    }
    // Light until `tenths` clock ticks from now, when one sample finds the
    // beam cut.
    void passageAfter(int tenths) {
        run(tenths * 100 - 10, 200);
        run(10, 20);
    }
};

} // namespace

class TestSampler : public QObject {
    Q_OBJECT
private slots:
    // About a second without a reply is silence, told once; the first reply
    // after it says the box answers again.
    void silence_is_a_second_without_replies_data() {
        QTest::addColumn<int>("quietMs");
        QTest::addColumn<bool>("silent");
        QTest::newRow("0.9 s") << 900 << false;
        QTest::newRow("0.99 s") << 990 << false;
        QTest::newRow("1 s") << 1000 << true;
        QTest::newRow("1.1 s") << 1100 << true;
        QTest::newRow("a minute") << 60000 << true;
    }
    void silence_is_a_second_without_replies() {
        QFETCH(int, quietMs);
        QFETCH(bool, silent);
        Bench b;
        b.run(300, 200);
        b.run(quietMs, -1);
        QCOMPARE(b.sampler.silent(), silent);
        QCOMPARE(b.fellSilent, silent ? 1 : 0);
        QCOMPARE(b.sampler.nextPassageFollowsGap(), silent);
        b.run(300, 200);
        QVERIFY(!b.sampler.silent());
        QCOMPARE(b.answersAgain, silent ? 1 : 0);
        // Sampling went on throughout, with nothing else touched.
        QCOMPARE(b.port.written.size(), (600 + quietMs) / 10);
        QCOMPARE(b.sampler.detector().PeakBrightness, 200);
    }

    // No reading spans a gap: the first passage after one only starts the
    // count, the next shows a true interval. Steps: "pN" light for N tenths,
    // then a passage; "held" sampling held 2.5 s (the close question);
    // "quiet N" no replies for N ms; "lost" the port gone for 1.5 s, then back.
    void no_reading_spans_a_gap_data() {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QList<int>>("shown");
        QTest::addColumn<int>("passages");
        QTest::newRow("no gap: the first counted from start-up")
            << QStringList{"p7", "p5", "p12"} << QList<int>{7, 5, 12} << 3;
        QTest::newRow("question held")
            << QStringList{"p7", "held", "p4", "p6"} << QList<int>{7, 6} << 3;
        QTest::newRow("silent 1.1 s")
            << QStringList{"p7", "quiet 1100", "p4", "p6"} << QList<int>{7, 6} << 3;
        QTest::newRow("silent 0.9 s: no gap, one interval")
            << QStringList{"p7", "quiet 900", "p4"} << QList<int>{7, 13} << 2;
        QTest::newRow("lost and back")
            << QStringList{"p7", "lost", "p4", "p6", "p5"} << QList<int>{7, 6, 5} << 4;
        QTest::newRow("gap before the first passage")
            << QStringList{"held", "p4", "p6"} << QList<int>{6} << 2;
        QTest::newRow("two gaps in a row")
            << QStringList{"p7", "held", "quiet 1100", "p4", "p6"} << QList<int>{7, 6} << 3;
    }
    void no_reading_spans_a_gap() {
        QFETCH(QStringList, steps);
        QFETCH(QList<int>, shown);
        QFETCH(int, passages);
        Bench b;
        for (const QString& step : steps) {
            if (step.startsWith(QLatin1Char('p'))) {
                b.passageAfter(step.mid(1).toInt());
                QVERIFY(!b.sampler.nextPassageFollowsGap());
            } else if (step == QLatin1String("held")) {
                for (int tenth = 0; tenth < 25; ++tenth) {
                    b.now += 100ms;
                    b.clockTick();
                }
                b.sampler.gap();
            } else if (step.startsWith(QLatin1String("quiet"))) {
                b.run(step.mid(6).toInt(), -1);
            } else {
                b.sampler.boxGone();
                b.port.isOpenNow = false;
                b.run(1500, -1);
                b.port.isOpenNow = true;
                b.sampler.gap();
            }
        }
        QCOMPARE(b.shown, shown);
        QCOMPARE(b.passages, passages);
    }

    // A passage's time is when the box read its sensor: the tick before the
    // one that reads the reply sent the command. A reading tick that comes
    // late does not make the passage late.
    void a_passage_is_timed_by_the_tick_that_asked_data() {
        QTest::addColumn<int>("readingLateMs");
        QTest::newRow("on time") << 0;
        QTest::newRow("reading tick 8 ms late") << 8;
        QTest::newRow("reading tick 40 ms late") << 40;
    }
    void a_passage_is_timed_by_the_tick_that_asked() {
        QFETCH(int, readingLateMs);
        Bench b;
        b.run(500, 200);
        const std::chrono::nanoseconds asked = b.now;
        b.now += 10ms + std::chrono::milliseconds(readingLateMs);
        b.port.reads.push_back(QByteArray(1, char(20)));
        const Sampler::Result r = b.sampler.sample(b.port);
        QCOMPARE(r.samples.size(), 1);
        QVERIFY(r.samples[0].passage);
        QCOMPARE(r.samples[0].at, asked);
    }

    // After a fresh interval the count starts from 0; the peak goes only when
    // asked, so that a beam already cut is caught at once or not at all.
    void a_fresh_interval_restarts_the_count_data() {
        QTest::addColumn<int>("peak");
        QTest::addColumn<bool>("darkIsPassage");
        QTest::newRow("peak kept") << int(Detector::Peak::Kept) << true;
        QTest::newRow("peak forgotten") << int(Detector::Peak::Forgotten) << false;
    }
    void a_fresh_interval_restarts_the_count() {
        QFETCH(int, peak);
        QFETCH(bool, darkIsPassage);
        Bench b;
        b.run(700, 200);
        Measuring::freshInterval(b.v);
        b.sampler.detector().freshInterval(Detector::Peak(peak));
        QCOMPARE(b.v.TenthCount, 0);
        b.run(300, 20);
        QCOMPARE(b.shown, darkIsPassage ? QList<int>{1} : QList<int>{});
    }
};

QTEST_APPLESS_MAIN(TestSampler)
#include "tst_Sampler.moc"
