#include "link/PerixTexts.h"
#include "support/WindowFixture.h"

#include <QTest>

using namespace std::chrono_literals;

class TestMeasuring : public QObject {
    Q_OBJECT
private slots:
    void each_tick_sends_the_sample_command_once() {
        WindowFixture f;
        f.startWithBox();
        f.line->Timer1_Timer();
        f.sample(200);
        QCOMPARE(f.port->written,
                 QByteArrayList({QByteArray(1, char(242)), QByteArray(1, char(242))}));
    }

    void a_drop_equal_to_the_sensitivity_is_no_passage_one_more_is() {
        WindowFixture f;
        f.startWithBox();
        const QString before = f.display();
        f.clock(7);
        f.sample(200);
        f.sample(150); // drop 50 = sensitivity
        QCOMPARE(f.display(), before);
        QCOMPARE(f.v.TenthCount, 7);
        f.sample(149); // drop 51
        QCOMPARE(f.display(), QStringLiteral("0.7秒"));
        QCOMPARE(f.v.TenthCount, 0);
        QCOMPARE(f.line->sampler().detector().PeakBrightness, 1);
        QCOMPARE(f.line->sampler().detector().DataValue, 149);
    }

    void detection_is_disarmed_until_the_next_clock_tick() {
        WindowFixture f;
        f.startWithBox();
        f.clock(15);
        f.sample(220);
        f.sample(10);
        QCOMPARE(f.display(), QStringLiteral(" 1.5秒"));
        // The counter is 0 now: light back and dark again detects nothing.
        f.sample(230);
        f.sample(5);
        QCOMPARE(f.display(), QStringLiteral(" 1.5秒"));
        QCOMPARE(f.line->sampler().detector().PeakBrightness, 230);
        QCOMPARE(f.line->sampler().detector().DataValue, 5);
        // One clock tick arms it again; the peak kept rising meanwhile.
        f.clock();
        f.sample(5);
        QCOMPARE(f.display(), QStringLiteral("0.1秒"));
    }

    // A passage seen just before a fresh interval reached the line belongs to
    // no interval; the line, which stopped detecting at it, is started again
    // by a count already under way.
    void a_passage_from_an_earlier_interval_leaves_the_line_detecting() {
        WindowFixture f;
        f.startWithBox();
        f.clock(3);
        f.line->freshInterval(-1, Detector::Peak::Kept); // as the line took it
        QVERIFY(!f.line->sampler().detector().counting());
        f.window->takePassage({std::chrono::seconds(1), 10, false, -1});
        QCOMPARE(f.v.TenthCount, 3);
        QVERIFY(f.line->sampler().detector().counting());
    }

    // Replies that came in a bunch all count, oldest first: the dark one
    // after the light one is the passage.
    void every_waiting_byte_counts_oldest_first() {
        WindowFixture f;
        f.startWithBox();
        f.clock(20);
        f.sample(QByteArray("\xC8\x05\x05", 3)); // 200, then two dark bytes
        QCOMPARE(f.display(), QStringLiteral(" 2秒"));
        QCOMPARE(f.line->sampler().detector().DataValue, 5);
        QCOMPARE(f.line->sampler().detector().PeakBrightness, 5);
        QCOMPARE(f.v.TenthCount, 0);
        f.clock(3);
        f.sample(QByteArray("\x10\xC8", 2)); // 16 first: the light comes back, no drop
        QCOMPARE(f.display(), QStringLiteral(" 2秒"));
        QCOMPARE(f.line->sampler().detector().DataValue, 200);
        QCOMPARE(f.line->sampler().detector().PeakBrightness, 200);
    }

    void a_zero_after_a_detection_is_a_drop_of_one() {
        WindowFixture f;
        f.startWithBox();
        f.v.Sensitivity = 0; // as the sensitivity dialog would choose it
        emit f.window->sensitivityChosen(0);
        f.clock(3);
        f.sample(100);
        f.sample(40);
        QCOMPARE(f.display(), QStringLiteral("0.3秒"));
        f.clock(2);
        f.sample(0);
        // Peak stays 1 (0 does not raise it); the drop of 1 beats sensitivity 0.
        QCOMPARE(f.display(), QStringLiteral("0.2秒"));
        QCOMPARE(f.line->sampler().detector().PeakBrightness, 1);
    }

    void a_slow_fall_of_the_light_also_counts() {
        WindowFixture f;
        f.startWithBox();
        f.clock(10);
        for (int b = 200; b >= 150; --b)
            f.sample(b);
        QCOMPARE(f.v.TenthCount, 10);
        f.sample(149);
        QCOMPARE(f.display(), QStringLiteral(" 1秒"));
    }

    void the_clock_stops_at_60000() {
        WindowFixture f;
        f.startWithBox();
        f.clock();
        f.v.TenthCount = 59998;
        f.clock(5);
        QCOMPARE(f.v.TenthCount, 60000);
        f.sample(255);
        f.sample(0);
        QCOMPARE(f.display(), QStringLiteral(" 6000秒"));
    }

    // Timer2's ticks as Qt delivers them, in ms after start-up. A stalled event
    // loop gets one late tick and Qt drops the ones it missed.
    void no_tenth_is_lost_when_ticks_come_late_data() {
        QTest::addColumn<int>("from");
        QTest::addColumn<QList<int>>("tickMs");
        QTest::addColumn<int>("tenths");
        QTest::newRow("on time") << 0 << QList<int>{100, 200, 300, 400} << 4;
        QTest::newRow("a little late or early") << 0 << QList<int>{101, 230, 299, 400, 501} << 5;
        QTest::newRow("event loop stalled 350 ms") << 0 << QList<int>{100, 200, 550, 650, 750} << 7;
        QTest::newRow("stalled for a minute") << 0 << QList<int>{100, 60'120} << 601;
        QTest::newRow("a stall runs into the cap") << 59990 << QList<int>{100, 5'100} << 60000;
    }

    void no_tenth_is_lost_when_ticks_come_late() {
        QFETCH(int, from);
        QFETCH(QList<int>, tickMs);
        QFETCH(int, tenths);
        WindowFixture f;
        f.now = 5s; // the window was built a while before start-up ends
        f.startWithBox();
        const auto start = f.now;
        f.v.TenthCount = from;
        for (int ms : tickMs) {
            f.now = start + std::chrono::milliseconds(ms);
            f.window->Timer2_Timer();
        }
        QCOMPARE(f.v.TenthCount, tenths);
    }

    void a_detection_leaves_the_tenths_where_they_were() {
        WindowFixture f;
        f.startWithBox();
        f.clock(2);
        f.now += 50ms;
        f.sample(200);
        f.sample(10);
        QCOMPARE(f.display(), QStringLiteral("0.2秒"));
        // The loop stalls until 640 ms: the tenths that ended at 300, 400, 500
        // and 600 ms have passed since the one counted last.
        f.now += 390ms;
        f.window->Timer2_Timer();
        QCOMPARE(f.v.TenthCount, 4);
    }

    void a_tick_without_reply_or_a_failed_write_changes_nothing() {
        WindowFixture f;
        f.startWithBox();
        f.clock(4);
        f.sample(180);
        f.line->Timer1_Timer(); // nothing waiting
        QCOMPARE(f.line->sampler().detector().DataValue, 180);

        // A write that fails once is no loss: the display and the count stay.
        const QString before = f.display();
        f.port->failWrites = true;
        f.port->reads.push_back(QByteArray(1, char(0)));
        f.line->Timer1_Timer();
        QCOMPARE(f.display(), before);
        QCOMPARE(f.v.TenthCount, 4);
        QCOMPARE(f.line->sampler().detector().DataValue, 180);
        QCOMPARE(f.line->sampler().detector().PeakBrightness, 180);
        QVERIFY(!f.line->LinkTimer.isActive());
    }

    // A port found closed has gone: the last reading gives way to the notice,
    // and the count and the readings stay as they were.
    void a_port_found_closed_shows_the_notice() {
        WindowFixture f;
        f.startWithBox();
        f.clock(4);
        f.sample(180);
        f.port->isOpenNow = false;
        f.port->reads.push_back(QByteArray(1, char(0)));
        f.line->Timer1_Timer();
        QCOMPARE(f.display(), PerixTexts::notConnectedNotice());
        QVERIFY(f.line->LinkTimer.isActive());
        QCOMPARE(f.v.TenthCount, 4);
        QCOMPARE(f.line->sampler().detector().DataValue, 180);
        QCOMPARE(f.line->sampler().detector().PeakBrightness, 180);
    }
};

QTEST_MAIN(TestMeasuring)
#include "tst_Measuring.moc"
