#include "app/MainTexts.h"
#include "link/LinkWatch.h"
#include "link/PerixTexts.h"
#include "record/RecordTexts.h"
#include "sensitivity/FSettei.h"
#include "support/FullDiskDevice.h"
#include "support/TempWorkingDir.h"
#include "support/WindowFixture.h"

#include <QDir>
#include <QTest>

using namespace std::chrono_literals;

namespace {

QStringList entries(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden |
                                  QDir::System);
}

QByteArray readFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(no such file)");
}

// The record of a run that started at the fixture's wall time zero.
QString recordPath(const WindowFixture& f) {
    return f.documents.filePath(QStringLiteral("Tolvane/tolvane-20261207-140503.csv"));
}

// One box, a warning that names the record's folder.
bool toldOnceCannotRecord(const WindowFixture& f) {
    return f.boxes.titles == QStringList{MainTexts::title()} && f.boxes.warnings.size() == 1 &&
           f.boxes.warnings[0].contains(QDir::toNativeSeparators(f.documents.path()));
}

// The box goes away and comes back; the window picks it up at its next try,
// a second later by its clock.
bool boxGoesAndComesBack(WindowFixture& f) {
    f.port->goAway();
    if (f.display() != PerixTexts::notConnectedNotice())
        return false;
    f.port->reads.push_back("MERAVO");
    for (int tick = 0; tick < 100 && f.line->LinkTimer.isActive(); ++tick) {
        f.now += std::chrono::milliseconds(LinkWatch::TickMs);
        f.line->LinkTimer_Timer();
    }
    return !f.line->LinkTimer.isActive();
}

// The light falls: a passage once the clock has moved on since the last one.
void bobCutsTheBeam(WindowFixture& f) {
    f.sample(200);
    f.sample(60);
}

// One lesson: start-up, passages, the box lost and found again, the
// sensitivity dialog opened and left. Returns what the display showed.
QStringList lesson(WindowFixture& f) {
    QStringList shown;
    const auto passageAfter = [&](int tenths) {
        f.clock(tenths);
        bobCutsTheBeam(f);
        shown << f.display();
    };
    f.startWithBox();
    shown << f.display();
    passageAfter(7);
    f.now += 30ms; // the beam is cut between two clock ticks
    passageAfter(12);
    if (!boxGoesAndComesBack(f))
        return {QStringLiteral("the box did not come back")};
    passageAfter(5);
    passageAfter(13);
    f.window->MenuSettei_Click();
    f.window->settei()->CmdOk_Click();
    f.line->Timer1.stop();
    passageAfter(9);
    passageAfter(20);
    return shown;
}

// After the box came back the first passage only starts the count, and the
// display keeps the start-up notice until the next one.
const QStringList lessonShown = {PerixTexts::startupNotice(), QStringLiteral("0.7秒"),
                                 QStringLiteral(" 1.2秒"),    PerixTexts::startupNotice(),
                                 QStringLiteral(" 1.3秒"),    QStringLiteral("0.9秒"),
                                 QStringLiteral(" 2秒")};

} // namespace

// The lesson's record as the main window keeps it, with "Kiroku=1" in Tv.txt.
class TestLessonRecord : public QObject {
    Q_OBJECT
private slots:
    void the_file_holds_every_passage() {
        TempWorkingDir dir;
        QVERIFY(dir.write(QStringLiteral("Tv.txt"), "Kiroku=1\r\n"));
        WindowFixture f;
        QCOMPARE(lesson(f), lessonShown);
        QCOMPARE(f.window->windowTitle(), MainTexts::recordingTitle());
        QCOMPARE(f.boxes.texts, QStringList());
        // After the box came back (a second away) and after the dialog the
        // interval is not known; the first passage after the return shows none.
        QCOMPARE(readFile(recordPath(f)), QByteArray("passage,time,interval_s,shown_s\r\n"
                                                     "1,2026-12-07T14:05:03.700,,0.7\r\n"
                                                     "2,2026-12-07T14:05:04.930,1.230,1.2\r\n"
                                                     "3,2026-12-07T14:05:06.430,,\r\n"
                                                     "4,2026-12-07T14:05:07.730,1.300,1.3\r\n"
                                                     "5,2026-12-07T14:05:08.630,,0.9\r\n"
                                                     "6,2026-12-07T14:05:10.630,2.000,2\r\n"));
        QCOMPARE(entries(f.documents.path()), QStringList{"Tolvane"});
    }

    // Off, the program is as it always was: same display, nothing written.
    void nothing_is_written_when_off_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::newRow("no Tv.txt") << QByteArray();
        QTest::newRow("Kiroku=0") << QByteArray("Kiroku=0\r\n");
        QTest::newRow("Kiroku=2 is passed over") << QByteArray("Kiroku=2\r\n");
        QTest::newRow("turned off again") << QByteArray("Kiroku=1\r\nKiroku=0\r\n");
        QTest::newRow("reading ended above it") << QByteArray("Mozi=99\r\nKiroku=1\r\n");
    }
    void nothing_is_written_when_off() {
        QFETCH(QByteArray, file);
        TempWorkingDir dir;
        if (!file.isEmpty())
            QVERIFY(dir.write(QStringLiteral("Tv.txt"), file));
        WindowFixture f;
        QCOMPARE(lesson(f), lessonShown);
        QVERIFY(!f.window->record());
        QCOMPARE(f.window->windowTitle(), MainTexts::title());
        QCOMPARE(f.boxes.texts, QStringList());
        QCOMPARE(entries(f.documents.path()), QStringList());
        QCOMPARE(entries(dir.path()), file.isEmpty() ? QStringList() : QStringList{"Tv.txt"});
    }

    // A record that cannot start says so at start-up, like the other notices,
    // and in a box that does not hold measuring up; measuring goes on without it.
    void a_record_that_cannot_start_data() {
        QTest::addColumn<QString>("place");
        QTest::addColumn<bool>("box");
        QTest::newRow("no documents folder") << "missing" << true;
        QTest::newRow("Tolvane is a file") << "Tolvane file" << true;
        QTest::newRow("a full disk") << "full" << true;
        QTest::newRow("no box: the not-connected notice stays") << "missing" << false;
    }
    void a_record_that_cannot_start() {
        QFETCH(QString, place);
        QFETCH(bool, box);
        TempWorkingDir dir;
        QVERIFY(dir.write(QStringLiteral("Tv.txt"), "Kiroku=1\r\n"));
        DiskLog log;
        RecordPlace::CreateFile createFile;
        QTemporaryDir home;
        if (place == QLatin1String("missing")) {
            createFile = [&](const QDateTime& start) {
                return RecordFile::create(home.filePath(QStringLiteral("Documents")), start);
            };
        } else if (place == QLatin1String("Tolvane file")) {
            QVERIFY(dir.write(QStringLiteral("Tolvane"), "a file"));
            createFile = [&](const QDateTime& start) {
                return RecordFile::create(dir.path(), start);
            };
        } else if (place == QLatin1String("full")) {
            createFile = [&](const QDateTime&) { return std::make_unique<FullDiskDevice>(0, log); };
        }
        WindowFixture f(createFile);
        if (box) {
            f.startWithBox();
            QCOMPARE(f.display(), RecordTexts::notStarted());
        } else {
            f.startUp();
            QCOMPARE(f.display(), PerixTexts::notConnectedNotice());
            QVERIFY(f.line->Timer1.isActive() && f.window->Timer2.isActive());
        }
        QVERIFY(toldOnceCannotRecord(f));
        QCOMPARE(f.window->windowTitle(), MainTexts::title());
        if (!box)
            return;
        QVERIFY(!f.window->record());
        f.clock(7);
        bobCutsTheBeam(f);
        QCOMPARE(f.display(), QStringLiteral("0.7秒"));
        f.clock(12);
        bobCutsTheBeam(f);
        QCOMPARE(f.display(), QStringLiteral(" 1.2秒"));
        QCOMPARE(entries(home.path()), QStringList());
        QCOMPARE(log.writes, place == QLatin1String("full") ? 1 : 0);
    }

    // The disk fills up mid-lesson: the record ends with the lines it has and
    // says so once, and the display goes on as before.
    void a_record_that_fails_later_says_so_once() {
        TempWorkingDir dir;
        QVERIFY(dir.write(QStringLiteral("Tv.txt"), "Kiroku=1\r\n"));
        const QByteArray firstTwo = "passage,time,interval_s,shown_s\r\n"
                                    "1,2026-12-07T14:05:03.700,,0.7\r\n"
                                    "2,2026-12-07T14:05:04.930,1.230,1.2\r\n";
        DiskLog log;
        WindowFixture f([&](const QDateTime&) {
            return std::make_unique<FullDiskDevice>(firstTwo.size() + 5, log);
        });
        QCOMPARE(lesson(f), lessonShown);
        QCOMPARE(log.taken, firstTwo + "3,202");
        QCOMPARE(log.writes, 4);
        QVERIFY(!f.window->record()->writing());
        QVERIFY(toldOnceCannotRecord(f));
        QCOMPARE(f.window->windowTitle(), MainTexts::title());
    }

    // Removed or renamed while it is written, the file takes nothing from
    // measuring, and no new one turns up in its place.
    void the_file_taken_away_meanwhile_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("removed") << "remove";
        QTest::newRow("renamed") << "rename";
        QTest::newRow("folder removed") << "remove folder";
    }
    void the_file_taken_away_meanwhile() {
        QFETCH(QString, how);
#ifndef Q_OS_UNIX
        QSKIP("Windows keeps a file that is open for writing where it is");
#endif
        TempWorkingDir dir;
        QVERIFY(dir.write(QStringLiteral("Tv.txt"), "Kiroku=1\r\n"));
        WindowFixture f;
        f.startWithBox();
        f.clock(7);
        bobCutsTheBeam(f);
        const QString path = recordPath(f);
        const QString renamed = f.documents.filePath(QStringLiteral("Tolvane/lesson.csv"));
        if (how == QLatin1String("remove"))
            QVERIFY(QFile::remove(path));
        else if (how == QLatin1String("rename"))
            QVERIFY(QFile::rename(path, renamed));
        else
            QVERIFY(QDir(f.documents.filePath(QStringLiteral("Tolvane"))).removeRecursively());
        for (const int tenths : {12, 13, 12}) {
            f.clock(tenths);
            bobCutsTheBeam(f);
            QCOMPARE(f.display(), QStringLiteral(" 1.%1秒").arg(tenths - 10));
        }
        QVERIFY(!QFile::exists(path));
        if (how == QLatin1String("rename")) {
            // Still the same file: it goes on filling under its new name.
            QCOMPARE(readFile(renamed).count("\r\n"), 5);
            QCOMPARE(entries(f.documents.filePath(QStringLiteral("Tolvane"))),
                     QStringList{"lesson.csv"});
        } else if (how == QLatin1String("remove")) {
            QCOMPARE(entries(f.documents.filePath(QStringLiteral("Tolvane"))), QStringList());
        } else {
            QCOMPARE(entries(f.documents.path()), QStringList());
        }
    }
};

QTEST_MAIN(TestLessonRecord)
#include "tst_LessonRecord.moc"
