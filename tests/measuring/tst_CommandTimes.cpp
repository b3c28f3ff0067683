#include "measuring/CommandTimes.h"

#include <QTest>

using namespace std::chrono_literals;

// Sampling ticks 10 ms apart from 0 ms, each reading the replies that have
// come and then sending its command, as the sampler does.
class TestCommandTimes : public QObject {
    Q_OBJECT
private slots:
    // replies: how many each tick reads. times: the send times, in ms, given
    // to the last replies read (all of them where the list is as long).
    // mostWaiting: the commands waiting never exceed it.
    void each_reply_takes_the_time_of_its_command_data() {
        QTest::addColumn<QList<int>>("replies");
        QTest::addColumn<QList<int>>("times");
        QTest::addColumn<int>("mostWaiting");
        QTest::newRow("one per tick, as on a built-in port")
            << QList<int>{0, 1, 1, 1, 1} << QList<int>{0, 10, 20, 30} << 1;
        QTest::newRow("bunches of two")
            << QList<int>{0, 0, 2, 0, 2, 0, 2} << QList<int>{0, 10, 20, 30, 40, 50} << 2;
        QTest::newRow("bunches of three")
            << QList<int>{0, 0, 0, 3, 0, 0, 3} << QList<int>{0, 10, 20, 30, 40, 50} << 3;
        QTest::newRow("a 16 ms adapter: bunches of one and two")
            << QList<int>{0, 0, 2, 1, 0, 2, 0, 2, 1} << QList<int>{0, 10, 20, 30, 40, 50, 60, 70}
            << 2;
        // The reply to 20 ms is lost: the next ones are paired one command
        // early until the oldest is given up, 100 ms after the line last
        // caught up; from then on each has its own time again.
        QTest::newRow("a lost reply")
            << QList<int>{0, 1, 1, 0, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1}
            << QList<int>{0, 10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 120, 130} << 2;
        // Two seconds without a reply, then one per tick again: the queue
        // stays short, and the times are right again within a tenth.
        QList<int> silence(200, 0);
        silence.append(QList<int>(20, 1));
        QTest::newRow("silence") << silence << QList<int>{2090, 2100, 2110, 2120, 2130,
                                                          2140, 2150, 2160, 2170, 2180}
                                 << 10;
        // More replies than commands waiting: the rest are timed by the read.
        QTest::newRow("more replies than commands")
            << QList<int>{0, 1, 3, 1} << QList<int>{0, 10, 20, 20, 20} << 1;
    }
    void each_reply_takes_the_time_of_its_command() {
        QFETCH(QList<int>, replies);
        QFETCH(QList<int>, times);
        QFETCH(int, mostWaiting);
        CommandTimes commands;
        QList<int> got;
        std::size_t most = 0;
        for (qsizetype tick = 0; tick < replies.size(); ++tick) {
            const std::chrono::nanoseconds now = tick * 10ms;
            for (const auto t : commands.replied(std::size_t(replies[tick]), now))
                got << int(std::chrono::duration_cast<std::chrono::milliseconds>(t).count());
            commands.sent(now);
            most = std::max(most, commands.waiting());
        }
        QCOMPARE(got.mid(got.size() - times.size()), times);
        QCOMPARE(int(most), mostWaiting);
    }
};

QTEST_APPLESS_MAIN(TestCommandTimes)
#include "tst_CommandTimes.moc"
