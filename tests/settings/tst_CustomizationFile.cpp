#include "core/ColorTable.h"
#include "settings/CustomizationReader.h"
#include "settings/Suuti.h"
#include "settings/SuutiTexts.h"
#include "support/ChunkedDevice.h"
#include "support/TempWorkingDir.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTest>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The settings as colour-table numbers, port, sensitivity and the record switch.
struct Settings {
    int text = 0;
    int back = 7;
    int port = 1;
    int kando = 50;
    bool record = false;
    bool operator==(const Settings&) const = default;
};

Settings settingsOf(const ProgramValues& v) {
    auto number = [](ColorValue c) {
        for (int n = 0; n < 16; ++n) {
            if (ColorTable::entry(n) == c)
                return n;
        }
        return -1; // not a table colour at all
    };
    return {number(v.TextColor), number(v.BackColor), v.PortNo, v.Sensitivity, v.KeepRecord};
}

// Values as a dialog might have left them: the defaults must replace them all.
ProgramValues unlikelyValues() {
    ProgramValues v;
    v.TextColor = 0x123456;
    v.BackColor = 0x654321;
    v.PortNo = 77;
    v.Sensitivity = 222;
    v.KeepRecord = true;
    v.SampleCommand = QByteArray(1, '\0');
    return v;
}

struct Run {
    Settings settings;
    QStringList notices;
    QByteArray sampleCommand;
};

// Runs SuutiInit in the current working directory.
Run runSuutiInit() {
    ProgramValues v = unlikelyValues();
    QStringList notices;
    Suuti(v, {[&](const QString& text) { notices << text; }, {}}).SuutiInit();
    return {settingsOf(v), notices, v.SampleCommand};
}

Settings readInChunks(const QByteArray& bytes, qint64 chunk, qint64 failAt = -1) {
    ProgramValues v;
    ChunkedDevice device(bytes, chunk, failAt);
    readCustomization(device, v);
    return settingsOf(v);
}

const QStringList readNotices = {SuutiTexts::reading(), SuutiTexts::finished()};
const QStringList missingNotices = {SuutiTexts::fileMissing(), SuutiTexts::finished()};

QByteArray utf16(const QByteArray& ascii) {
    QByteArray out("\xFF\xFE");
    for (char c : ascii)
        out.append(c).append('\0');
    return out;
}

} // namespace

namespace QTest {
template <> char* toString(const Settings& s) {
    return qstrdup(QStringLiteral("text %1 back %2 port %3 kando %4 record %5")
                       .arg(s.text)
                       .arg(s.back)
                       .arg(s.port)
                       .arg(s.kando)
                       .arg(s.record)
                       .toUtf8()
                       .constData());
}
} // namespace QTest

class TestCustomizationFile : public QObject {
    Q_OBJECT
private slots:
    void whole_files_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<Settings>("expected");
        const Settings defaults;
        const QByteArray x32765(32765, 'x');
        const QByteArray zeros32766(32766, '0');
        QByteArray tenMegabytes;
        while (tenMegabytes.size() < 10'000'000)
            tenMegabytes += "' a comment line, Mozi=4 Back=1 in it changes nothing\r\n";

        // The example file: a comment, any case, indenting, an ignored Kando, an unknown key.
        QTest::newRow("example") << QByteArray("' colours for the classroom projector\r\n"
                                               "Mozi=14\r\nback=1\r\n   Port=2\r\nKando=30\r\n"
                                               "Kando=300\r\nSpeed=5\r\n")
                                 << Settings{14, 1, 2, 30};
        QTest::newRow("empty file") << QByteArray() << defaults;
        QTest::newRow("blank lines and prose") << QByteArray("\r\n\r\nhello\r\n  \r\n") << defaults;
        QTest::newRow("red text, white back")
            << QByteArray("mozi=4\r\nBACK=15\r\n") << Settings{4, 15, 1, 50};
        QTest::newRow("keys in any case")
            << QByteArray("mOzI=4\r\nbAcK=1\r\nport=3\r\nKANDO=7") << Settings{4, 1, 3, 7};
        QTest::newRow("later line wins")
            << QByteArray("Mozi=4\r\nMozi=2\r\n") << Settings{2, 7, 1, 50};

        // The value starts right after "=" and is not trimmed; the key has no spaces.
        QTest::newRow("space after = reads 0") << QByteArray("Mozi=14\r\nMozi= 4\r\n") << defaults;
        QTest::newRow("space before = no key")
            << QByteArray("Mozi=14\r\nMozi =4\r\n") << Settings{14, 7, 1, 50};
        QTest::newRow("Port=7.9") << QByteArray("Port=7.9") << Settings{0, 7, 7, 50};
        QTest::newRow("Port=+5") << QByteArray("Port=3\nPort=+5") << Settings{0, 7, 0, 50};
        QTest::newRow("Port=--5") << QByteArray("Port=3\nPort=--5") << Settings{0, 7, 0, 50};
        QTest::newRow("Port=-") << QByteArray("Port=3\nPort=-") << Settings{0, 7, 0, 50};
        QTest::newRow("Port=12-3") << QByteArray("Port=12-3") << Settings{0, 7, 12, 50};
        QTest::newRow("Port= 12") << QByteArray("Port=3\nPort= 12") << Settings{0, 7, 0, 50};
        QTest::newRow("Port=COM2") << QByteArray("Port=3\nPort=COM2") << Settings{0, 7, 0, 50};

        // Port is stored unchecked; Kando outside 1..254 is skipped and reading goes on.
        QTest::newRow("Port=9") << QByteArray("Port=9") << Settings{0, 7, 9, 50};
        QTest::newRow("Port=-32768") << QByteArray("Port=-32768") << Settings{0, 7, -32768, 50};
        QTest::newRow("Kando=254") << QByteArray("Kando=254") << Settings{0, 7, 1, 254};
        QTest::newRow("Kando=1") << QByteArray("Kando=1") << Settings{0, 7, 1, 1};
        QTest::newRow("Kando refused, reading goes on")
            << QByteArray("Kando=30\r\nKando=255\r\nKando=0\r\nKando=-5\r\nKando=+5\r\nPort=3\r\n")
            << Settings{0, 7, 3, 30};

        // The record switch: 1 on, 0 off, any other number passed over like an
        // out-of-range Kando; a failed number ends the reading as for any key.
        const Settings recording{0, 7, 1, 50, true};
        QTest::newRow("Kiroku=1") << QByteArray("Kiroku=1\r\n") << recording;
        QTest::newRow("Kiroku=0") << QByteArray("Kiroku=0\r\n") << defaults;
        QTest::newRow("kIROKU=1 in any case") << QByteArray("kIROKU=1") << recording;
        QTest::newRow("later Kiroku=0 wins") << QByteArray("Kiroku=1\nKiroku=0\n") << defaults;
        QTest::newRow("Kiroku=1.5 reads 1") << QByteArray("Kiroku=1.5") << recording;
        QTest::newRow("Kiroku=1 ' comment")
            << QByteArray("Kiroku=1 ' the lesson's record") << recording;
        QTest::newRow("Kiroku= 1 reads 0") << QByteArray("Kiroku=1\nKiroku= 1\n") << defaults;
        QTest::newRow("Kiroku=+1 reads 0") << QByteArray("Kiroku=1\nKiroku=+1\n") << defaults;
        QTest::newRow("Kiroku =1 no key") << QByteArray("Kiroku =1\r\n") << defaults;
        QTest::newRow("Kiroku refused, reading goes on")
            << QByteArray("Kiroku=1\r\nKiroku=2\r\nKiroku=-1\r\nKiroku=32767\r\nPort=3\r\n")
            << Settings{0, 7, 3, 50, true};
        QTest::newRow("Kiroku=40000 stops")
            << QByteArray("Kiroku=1\r\nKiroku=40000\r\nPort=3\r\n") << recording;
        QTest::newRow("Kiroku=99999 stops before its own setting")
            << QByteArray("Back=2\r\nKiroku=99999\r\nKiroku=1\r\n") << Settings{0, 2, 1, 50};
        QTest::newRow("Kiroku with the other keys")
            << QByteArray("Mozi=14\r\nBack=1\r\nPort=2\r\nKando=30\r\nKiroku=1\r\n")
            << Settings{14, 1, 2, 30, true};

        // A failed value keeps that setting and ends the reading; earlier lines stay.
        QTest::newRow("Mozi=16 stops") << QByteArray("Mozi=16\r\nBack=1\r\n") << defaults;
        QTest::newRow("Back=-1 stops")
            << QByteArray("Back=3\r\nBack=-1\r\nMozi=4\r\n") << Settings{0, 3, 1, 50};
        QTest::newRow("Kando=40000 stops")
            << QByteArray("Back=2\r\nKando=40000\r\nPort=3\r\n") << Settings{0, 2, 1, 50};
        QTest::newRow("Kando=-32769 stops") << QByteArray("Kando=-32769\r\nMozi=4\r\n") << defaults;
        QTest::newRow("Port=99999 stops")
            << QByteArray("Port=2\r\nPort=99999\r\nMozi=4\r\n") << Settings{0, 7, 2, 50};
        QTest::newRow("failure on the last line")
            << QByteArray("Mozi=4\r\nBack=1\r\nPort=2\r\nKando=30\r\nMozi=99\r\n")
            << Settings{4, 1, 2, 30};

        // Comments, indenting and line ends.
        QTest::newRow("comments") << QByteArray("'Mozi=4\r\n   'Back=1\r\n") << defaults;
        QTest::newRow("LF alone") << QByteArray("Mozi=4\nBack=1\nPort=3\nKando=7\n")
                                  << Settings{4, 1, 3, 7};
        QTest::newRow("CR alone") << QByteArray("Mozi=4\rBack=1\rPort=3\rKando=7\r")
                                  << Settings{4, 1, 3, 7};
        QTest::newRow("no end on the last line")
            << QByteArray("Back=1\r\nMozi=4") << Settings{4, 1, 1, 50};
        QTest::newRow("tab indent is no key") << QByteArray("\tMozi=4\r\n") << defaults;
        QTest::newRow("ideographic space indent is no key")
            << QByteArray("\xE3\x80\x80Mozi=4\r\n\x81\x40"
                          "Back=1\r\n")
            << defaults;

        // Text in other encodings never matters; only ASCII letters change case.
        QTest::newRow("UTF-8 byte-order mark")
            << QByteArray("\xEF\xBB\xBFMozi=4\r\nBack=1") << Settings{4, 1, 1, 50};
        QTest::newRow("UTF-8 comments")
            << QByteArray("' 教室のプロジェクター用\nMozi=14 ' 黄色\n") << Settings{14, 7, 1, 50};
        QTest::newRow("Shift-JIS comments")
            << QByteArray("' \x90\xdd\x92\xe8\r\nKando=30\x81\x40\x83\x65\x83\x58\x83\x67\r\n"
                          "\x83\x65\x83\x58\x83\x67\r\nMozi=4")
            << Settings{4, 7, 1, 30};
        QTest::newRow("dotless i is no I") << QByteArray("Moz\xC4\xB1=4\r\n") << defaults;
        QTest::newRow("UTF-16 file is not understood") << utf16("Mozi=4\r\nBack=1\r\n") << defaults;
        QTest::newRow("NUL bytes")
            << QByteArrayLiteral("\0\0\0\r\nMozi=4\0junk\r\nBa\0ck=1\r\n") << Settings{4, 7, 1, 50};

        // Long values: the text may be 32,767 characters, and the walk may not reach the end of one
        // that long.
        QTest::newRow("value of 32,767 characters")
            << "Kando=30" + x32765 + "\r\nBack=1" << Settings{0, 1, 1, 30};
        QTest::newRow("value of 32,768 characters")
            << "Kando=30" + x32765 + "x\r\nBack=1" << defaults;
        QTest::newRow("Kiroku value of 32,767 characters")
            << "Kiroku=1" + QByteArray(32766, 'x') + "\r\nBack=1" << Settings{0, 1, 1, 50, true};
        QTest::newRow("Kiroku value of 32,768 characters")
            << "Kiroku=1" + QByteArray(32767, 'x') + "\r\nBack=1" << defaults;
        QTest::newRow("32,766 zeros read 0")
            << "Kando=" + zeros32766 + "\r\nBack=1" << Settings{0, 1, 1, 50};
        QTest::newRow("32,767 zeros fail") << "Kando=" + zeros32766 + "0\r\nBack=1" << defaults;
        QTest::newRow("line of 100,000 characters")
            << "Mozi=4\r\nKando=30" + QByteArray(100'000, 'x') + "\r\nBack=1"
            << Settings{4, 7, 1, 50};
        QTest::newRow("indent of 100,000 spaces")
            << QByteArray(100'000, ' ') + "Mozi=4\r\nBack=1" << Settings{4, 1, 1, 50};
        QTest::newRow("10 MB file") << tenMegabytes + "Mozi=4" << Settings{4, 7, 1, 50};
        QTest::newRow("one 10 MB line")
            << "Kando=30" + QByteArray(10'000'000, '7') + "\r\nMozi=4" << defaults;
    }

    // Through the real file in the working directory, and through every way of
    // cutting a short file into reads.
    void whole_files() {
        QFETCH(QByteArray, file);
        QFETCH(Settings, expected);
        TempWorkingDir dir;
        QVERIFY(dir.isValid());
        QVERIFY(dir.write(QStringLiteral("Tv.txt"), file));

        const Run run = runSuutiInit();
        QCOMPARE(run.settings, expected);
        QCOMPARE(run.notices, readNotices);
        QCOMPARE(run.sampleCommand, QByteArray(1, char(242)));

        // Nothing was written: the folder holds just the file, as it was.
        QCOMPARE(QDir().entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
                 QStringList{QStringLiteral("Tv.txt")});
        QFile check(QStringLiteral("Tv.txt"));
        QVERIFY(check.open(QIODevice::ReadOnly));
        QVERIFY(check.readAll() == file);

        if (file.size() <= 300) {
            for (qint64 chunk : {1, 2, 3, 5, 8})
                QCOMPARE(readInChunks(file, chunk), expected);
        }
    }

    void no_usable_file_keeps_the_defaults_data() {
        QTest::addColumn<QString>("setUp"); // what stands in the folder
        QTest::newRow("missing") << QString();
        QTest::newRow("other name") << QStringLiteral("tv.txt file");
        QTest::newRow("directory") << QStringLiteral("directory");
        QTest::newRow("unreadable") << QStringLiteral("unreadable");
        QTest::newRow("symlink loop") << QStringLiteral("loop");
        QTest::newRow("dangling symlink") << QStringLiteral("dangling");
        QTest::newRow("named pipe") << QStringLiteral("fifo");
    }
    void no_usable_file_keeps_the_defaults() {
        QFETCH(QString, setUp);
#ifndef Q_OS_UNIX
        // Windows cannot take read permission away through Qt, QFile::link makes
        // a shortcut (an ordinary file) there, and named pipes are not files.
        if (QStringList{"unreadable", "loop", "dangling", "fifo"}.contains(setUp))
            QSKIP("made the Unix way: permission bits, symbolic links, named pipes");
#endif
        TempWorkingDir dir;
        QVERIFY(dir.isValid());
        const QByteArray settingLine = "Mozi=4\r\n";
        if (setUp == QLatin1String("tv.txt file")) {
            QVERIFY(dir.write(QStringLiteral("tv.txt"), settingLine));
            if (QFile::exists(QStringLiteral("Tv.txt")))
                QSKIP("file names ignore case here");
        } else if (setUp == QLatin1String("directory")) {
            QVERIFY(QDir().mkdir(QStringLiteral("Tv.txt")));
        } else if (setUp == QLatin1String("unreadable")) {
            QVERIFY(dir.write(QStringLiteral("Tv.txt"), settingLine));
            QVERIFY(QFile::setPermissions(QStringLiteral("Tv.txt"), QFileDevice::Permissions()));
            if (::access("Tv.txt", R_OK) == 0)
                QSKIP("this user reads files whatever their permissions (root)");
        } else if (setUp == QLatin1String("loop")) {
            QVERIFY(QFile::link(QStringLiteral("Tv.txt"), QStringLiteral("Tv.txt")));
        } else if (setUp == QLatin1String("dangling")) {
            QVERIFY(QFile::link(QStringLiteral("gone.txt"), QStringLiteral("Tv.txt")));
        } else if (setUp == QLatin1String("fifo")) {
#ifdef Q_OS_UNIX
            // Opening a pipe without a writer would wait for ever.
            QCOMPARE(::mkfifo("Tv.txt", 0600), 0);
#endif
        }
        const Run run = runSuutiInit();
        QCOMPARE(run.settings, Settings{});
        QCOMPARE(run.notices, missingNotices);
        QCOMPARE(run.sampleCommand, QByteArray(1, char(242)));
    }

    void the_label_ends_with_the_finished_notice() {
        TempWorkingDir dir;
        QVERIFY(dir.isValid());
        ProgramValues v;
        QString label;
        const auto show = [&label](const QString& text) { label = text; };
        Suuti(v, {show, {}}).SuutiInit();
        QCOMPARE(label, SuutiTexts::finished());
        QVERIFY(dir.write(QStringLiteral("Tv.txt"), "Mozi=4\r\n"));
        label.clear();
        Suuti(v, {show, {}}).SuutiInit();
        QCOMPARE(label, SuutiTexts::finished());
        QCOMPARE(v.TextColor, ColorTable::entry(4));
    }

    // A read error ends the reading; the line it cut short is left out.
    void read_error_keeps_the_whole_lines_before_it_data() {
        QTest::addColumn<qint64>("failAt");
        QTest::addColumn<int>("port");
        QTest::newRow("no error") << qint64(-1) << 3;
        QTest::newRow("inside the last line") << qint64(21) << 1;
        QTest::newRow("after the last byte") << qint64(22) << 1;
        QTest::newRow("at the first byte") << qint64(0) << 1;
    }
    void read_error_keeps_the_whole_lines_before_it() {
        QFETCH(qint64, failAt);
        QFETCH(int, port);
        const QByteArray file = "Mozi=4\r\nBack=1\r\nPort=3";
        const Settings s = readInChunks(file, 4, failAt);
        QCOMPARE(s.port, port);
        const bool linesBefore = failAt != 0;
        QCOMPARE(s.text, linesBefore ? 4 : 0);
        QCOMPARE(s.back, linesBefore ? 1 : 7);
    }

    // Random bytes around a setting line neither crash the reading nor disturb the line.
    void random_bytes() {
        TempWorkingDir dir;
        QVERIFY(dir.isValid());
        QRandomGenerator random(20240611);
        for (int round = 0; round < 50; ++round) {
            QByteArray file(64 * 1024, Qt::Uninitialized);
            random.fillRange(reinterpret_cast<quint32*>(file.data()), file.size() / 4);
            // Seed lines that can take effect, so the values do move.
            file.replace(round * 997 % 60000, 9, "\nKando=7\n");
            QVERIFY(dir.write(QStringLiteral("Tv.txt"), file));
            const Run run = runSuutiInit();
            QCOMPARE(run.notices, readNotices);
            QCOMPARE(run.settings, (Settings{0, 7, 1, 7}));
            QCOMPARE(readInChunks(file, 4096 + round), run.settings);
        }
    }
};

QTEST_MAIN(TestCustomizationFile)
#include "tst_CustomizationFile.moc"
