#include "record/PassageRecord.h"
#include "support/FullDiskDevice.h"

#include <QBuffer>
#include <QFile>
#include <QTest>

using namespace std::chrono_literals;

namespace {

// One thing that happens to the record, on the monotonic clock in
// microseconds since the record started.
struct Step {
    enum Kind { Passage, Gap, WallClockSet } kind = Passage;
    qint64 micros = 0; // a passage's sample or a gap; for WallClockSet how far it moves
    int shown = 0;     // tenths shown for a passage, 0 when none
};

Step passage(qint64 micros, int shown = 0) {
    return {Step::Passage, micros, shown};
}
Step gap(qint64 micros) {
    return {Step::Gap, micros, 0};
}
Step wallClockSet(qint64 micros) {
    return {Step::WallClockSet, micros, 0};
}

// Clocks that move only as the steps say: the wall clock runs with the
// monotonic one, apart from being set.
struct Clocks {
    QDateTime wallAtZero;
    std::chrono::nanoseconds monotonic{};
    std::chrono::microseconds wallSetBy{};

    TenthClock::Now monotonicNow() {
        return [this] { return monotonic; };
    }
    RecordPlace::WallNow wallNow() {
        return [this] {
            return wallAtZero.addMSecs(
                std::chrono::duration_cast<std::chrono::milliseconds>(monotonic + wallSetBy)
                    .count());
        };
    }
};

void play(PassageRecord& record, Clocks& clocks, const QList<Step>& steps) {
    for (const Step& step : steps) {
        switch (step.kind) {
        case Step::Passage:
            clocks.monotonic = std::chrono::microseconds(step.micros);
            record.passage(clocks.monotonic,
                           step.shown ? std::optional<int>(step.shown) : std::nullopt);
            break;
        case Step::Gap:
            clocks.monotonic = std::chrono::microseconds(step.micros);
            record.gap();
            break;
        case Step::WallClockSet:
            clocks.wallSetBy += std::chrono::microseconds(step.micros);
            break;
        }
    }
}

QByteArray file(const QByteArrayList& lines) {
    QByteArray all = "passage,time,interval_s,shown_s\r\n";
    for (const QByteArray& line : lines)
        all += line + "\r\n";
    return all;
}

const QDateTime lessonStart{QDate(2026, 12, 7), QTime(14, 5, 3)};

// Three passages 1.23 and 1.25 s apart, the first measured from start-up.
const QList<Step> steadySteps = {passage(700'000, 7), passage(1'930'000, 12),
                                 passage(3'180'000, 13)};
const QByteArray steadyFile =
    file({"1,2026-12-07T14:05:03.700,,0.7", "2,2026-12-07T14:05:04.930,1.230,1.2",
          "3,2026-12-07T14:05:06.180,1.250,1.3"});

} // namespace

class TestPassageRecord : public QObject {
    Q_OBJECT
private slots:
    void lines_for_the_passages_data() {
        QTest::addColumn<QDateTime>("start");
        QTest::addColumn<QList<Step>>("steps");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("no passage: the header alone") << lessonStart << QList<Step>{} << file({});
        QTest::newRow("steady passages") << lessonStart << steadySteps << steadyFile;
        QTest::newRow("rounded to the millisecond")
            << lessonStart
            << QList<Step>{passage(1'000'000, 10), passage(2'234'567, 12), passage(2'999'499, 8)}
            << file({"1,2026-12-07T14:05:04.000,,1", "2,2026-12-07T14:05:05.235,1.235,1.2",
                     "3,2026-12-07T14:05:05.999,0.765,0.8"});
        // Times follow the monotonic clock until a gap, then the wall clock again.
        QTest::newRow("the wall clock set an hour on")
            << lessonStart << QList<Step>{passage(1'000'000, 10), wallClockSet(3'600'000'000),
                                          passage(2'250'000, 12), gap(2'500'000),
                                          passage(3'750'000, 12), passage(5'000'000, 12)}
            << file({"1,2026-12-07T14:05:04.000,,1", "2,2026-12-07T14:05:05.250,1.250,1.2",
                     "3,2026-12-07T15:05:06.750,,1.2", "4,2026-12-07T15:05:08.000,1.250,1.2"});
        QTest::newRow("past midnight into a new year")
            << QDateTime(QDate(2026, 12, 31), QTime(23, 59, 59))
            << QList<Step>{passage(900'000, 9), passage(1'150'000, 2)}
            << file({"1,2026-12-31T23:59:59.900,,0.9", "2,2027-01-01T00:00:00.150,0.250,0.2"});
        QTest::newRow("the longest count")
            << lessonStart
            << QList<Step>{passage(1'000'000, 10), passage(6'001'000'000, 60000),
                           passage(6'011'250'000, 102)}
            << file({"1,2026-12-07T14:05:04.000,,1", "2,2026-12-07T15:45:04.000,6000.000,6000",
                     "3,2026-12-07T15:45:14.250,10.250,10.2"});
    }

    void lines_for_the_passages() {
        QFETCH(QDateTime, start);
        QFETCH(QList<Step>, steps);
        QFETCH(QByteArray, expected);
        QByteArray written;
        auto buffer = std::make_unique<QBuffer>(&written);
        QVERIFY(buffer->open(QIODevice::WriteOnly));
        Clocks clocks{start};
        PassageRecord record(std::move(buffer), clocks.monotonicNow(), clocks.wallNow());
        QVERIFY(record.start());
        play(record, clocks, steps);
        QCOMPARE(written, expected);
        QVERIFY(record.writing());
    }

    // The disk fills up after `room` bytes: the record ends at the first line
    // that does not fit, keeps what went before, and tries no further line.
    void a_full_disk_ends_the_record_data() {
        QTest::addColumn<qint64>("room");
        QTest::addColumn<bool>("started");
        QTest::addColumn<int>("writesTried");
        const qint64 header = file({}).size();
        const qint64 twoLines =
            file({"1,2026-12-07T14:05:03.700,,0.7", "2,2026-12-07T14:05:04.930,1.230,1.2"}).size();
        QTest::newRow("no room at all") << qint64(0) << false << 1;
        QTest::newRow("half the header") << header / 2 << false << 1;
        QTest::newRow("the header and no more") << header << true << 2;
        QTest::newRow("half the first line") << header + 10 << true << 2;
        QTest::newRow("two lines and no more") << twoLines << true << 4;
        QTest::newRow("room for everything") << qint64(1 << 20) << true << 4;
    }

    void a_full_disk_ends_the_record() {
        QFETCH(qint64, room);
        QFETCH(bool, started);
        QFETCH(int, writesTried);
        DiskLog log;
        Clocks clocks{lessonStart};
        PassageRecord record(std::make_unique<FullDiskDevice>(room, log), clocks.monotonicNow(),
                             clocks.wallNow());
        QCOMPARE(record.start(), started);
        play(record, clocks, steadySteps);
        record.gap();
        play(record, clocks, {passage(9'000'000, 12)});

        const bool everything = room >= 1 << 20;
        QCOMPARE(record.writing(), everything);
        QCOMPARE(log.writes, everything ? 5 : writesTried);
        QCOMPARE(log.taken, (steadyFile + "4,2026-12-07T14:05:12.000,,1.2\r\n").left(room));
    }

#ifdef Q_OS_UNIX
    // A device that is always full.
    void dev_full_cannot_start_a_record() {
        const RecordPlace place{[](const QDateTime&) -> std::unique_ptr<QIODevice> {
                                    auto full = std::make_unique<QFile>("/dev/full");
                                    if (!full->open(QIODevice::WriteOnly | QIODevice::Unbuffered))
                                        return nullptr;
                                    return full;
                                },
                                [] { return lessonStart; }};
        QVERIFY(place.createFile(lessonStart));
        QVERIFY(!PassageRecord::begin(place, [] { return 0ns; }));
    }
#endif

    void begin_names_the_file_for_the_wall_clock_at_start() {
        QDateTime askedFor;
        QByteArray written;
        const RecordPlace place{[&](const QDateTime& start) -> std::unique_ptr<QIODevice> {
                                    askedFor = start;
                                    auto buffer = std::make_unique<QBuffer>(&written);
                                    buffer->open(QIODevice::WriteOnly);
                                    return buffer;
                                },
                                [] { return lessonStart; }};
        const auto record = PassageRecord::begin(place, [] { return 5s; });
        QVERIFY(record);
        QCOMPARE(askedFor, lessonStart);
        QCOMPARE(written, file({}));
        record->passage(5s + 700ms, 7);
        QCOMPARE(written, file({"1,2026-12-07T14:05:03.700,,0.7"}));

        const RecordPlace nowhere{[](const QDateTime&) { return std::unique_ptr<QIODevice>(); },
                                  [] { return lessonStart; }};
        QVERIFY(!PassageRecord::begin(nowhere, [] { return 0ns; }));
    }
};

QTEST_MAIN(TestPassageRecord)
#include "tst_PassageRecord.moc"
