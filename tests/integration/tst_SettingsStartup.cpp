#include "core/ColorTable.h"
#include "link/PerixTexts.h"
#include "support/TempWorkingDir.h"
#include "support/WindowFixture.h"
#include "widgets/DisplayColor.h"

#include <QTest>

// The customization file's settings reach the display, the link and the
// measuring through the start-up sequence.
class TestSettingsStartup : public QObject {
    Q_OBJECT
private slots:
    void start_up_takes_the_file_settings_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<int>("text");
        QTest::addColumn<int>("back");
        QTest::addColumn<int>("portUsed");
        QTest::addColumn<int>("sensitivity");
        QTest::newRow("no file") << QByteArray() << 0 << 7 << 1 << 50;
        QTest::newRow("file") << QByteArray("Mozi=14\r\nBack=1\r\nPort=2\r\nKando=30\r\n") << 14
                              << 1 << 2 << 30;
        QTest::newRow("port above 4")
            << QByteArray("Port=9\nMozi=15\nBack=0\n") << 15 << 0 << 4 << 50;
        QTest::newRow("port below 1") << QByteArray("Port=-7\nKando=254\n") << 0 << 7 << 1 << 254;
        QTest::newRow("failure keeps earlier lines")
            << QByteArray("Back=2\r\nKando=40000\r\nPort=3\r\n") << 0 << 2 << 1 << 50;
    }
    void start_up_takes_the_file_settings() {
        QFETCH(QByteArray, file);
        QFETCH(int, text);
        QFETCH(int, back);
        QFETCH(int, portUsed);
        QFETCH(int, sensitivity);
        TempWorkingDir dir;
        QVERIFY(dir.isValid());
        if (!file.isEmpty())
            QVERIFY(dir.write(QStringLiteral("Tv.txt"), file));

        WindowFixture f;
        f.startWithBox();

        const QPalette p = f.window->Label1->palette();
        QCOMPARE(p.color(QPalette::WindowText), toQColor(ColorTable::entry(text)));
        QCOMPARE(p.color(QPalette::Window), toQColor(ColorTable::entry(back)));
        QCOMPARE(f.v.ShownTextColor, ColorTable::entry(text));
        QCOMPARE(f.v.ShownBackColor, ColorTable::entry(back));
        QCOMPARE(int(f.v.PortNo), portUsed);
        QCOMPARE(f.port->commPort, portUsed);
        QCOMPARE(int(f.v.Sensitivity), sensitivity);
        // The link's notice follows the settings notices.
        QCOMPARE(f.display(), PerixTexts::startupNotice());

        // The sampling tick sends the read command the settings left.
        f.sample(255);
        QCOMPARE(f.port->written, QByteArrayList{QByteArray(1, char(242))});
        // And the detection uses the file's sensitivity: a drop of exactly it is no passage.
        f.clock(5);
        f.sample(255 - sensitivity);
        QCOMPARE(f.display(), PerixTexts::startupNotice());
        f.sample(254 - sensitivity);
        QCOMPARE(f.display(), QStringLiteral("0.5秒"));
    }
};

QTEST_MAIN(TestSettingsStartup)
#include "tst_SettingsStartup.moc"
