#include "core/ProgramValues.h"
#include "settings/CustomizationReader.h"

#include <QBuffer>
#include <QFile>
#include <QTest>

// The Tv.txt that the Windows setup and zip put beside the programs: as
// shipped it changes nothing, and each of its examples, once a teacher
// removes the "'", is a value the reader takes.
class SampleSettings : public QObject {
    Q_OBJECT

    static QByteArray sample() {
        QFile file(QStringLiteral(TOLVANE_SAMPLE_TV));
        if (!file.open(QIODevice::ReadOnly))
            qFatal("cannot read %s", TOLVANE_SAMPLE_TV);
        return file.readAll();
    }

    static ProgramValues read(QByteArray text) {
        ProgramValues v;
        QBuffer buffer(&text);
        buffer.open(QIODevice::ReadOnly);
        readCustomization(buffer, v);
        return v;
    }

    static QList<int> settingsOf(const ProgramValues& v) {
        return {int(v.TextColor), int(v.BackColor), v.PortNo, v.Sensitivity, v.KeepRecord};
    }

private slots:
    void changes_nothing_as_shipped_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::newRow("as in the sources") << sample();
        // The setup and the zip write it for Notepad: a byte-order mark, CR LF.
        QTest::newRow("as installed") << "\xEF\xBB\xBF" + sample().replace("\n", "\r\n");
    }
    void changes_nothing_as_shipped() {
        QFETCH(QByteArray, text);
        QCOMPARE(settingsOf(read(text)), settingsOf(ProgramValues{}));
    }

    // Which of settingsOf's values the key's example changes.
    void each_example_is_taken_once_uncommented_data() {
        QTest::addColumn<QByteArray>("key");
        QTest::addColumn<int>("setting");
        QTest::newRow("Mozi") << QByteArray("Mozi=") << 0;
        QTest::newRow("Back") << QByteArray("Back=") << 1;
        QTest::newRow("Port") << QByteArray("Port=") << 2;
        QTest::newRow("Kando") << QByteArray("Kando=") << 3;
        QTest::newRow("Kiroku") << QByteArray("Kiroku=") << 4;
    }
    void each_example_is_taken_once_uncommented() {
        QFETCH(QByteArray, key);
        QFETCH(int, setting);
        QByteArray text = sample();
        const qsizetype at = text.indexOf("\n'" + key);
        QVERIFY2(at >= 0, "no example of the key");
        text.remove(at + 1, 1);
        auto expected = settingsOf(ProgramValues{});
        const auto got = settingsOf(read(text));
        QVERIFY(got[setting] != expected[setting]);
        expected[setting] = got[setting];
        QCOMPARE(got, expected);
    }
};

QTEST_GUILESS_MAIN(SampleSettings)
#include "tst_SampleSettings.moc"
