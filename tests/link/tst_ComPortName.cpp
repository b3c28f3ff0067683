#include "link/ComPortName.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

// Which device each COM number opens on Linux, given the USB adapters that the
// udev rule has linked into the adapter folder.
class TestComPortName : public QObject {
    Q_OBJECT
private slots:
    void search_order_data() {
        QTest::addColumn<bool>("folderExists");
        QTest::addColumn<QStringList>("adapters");
        QTest::addColumn<int>("port");
        QTest::addColumn<QString>("expected"); // "@" stands for the adapter folder

        const QStringList none;
        const QStringList one{QStringLiteral("pci-0000:00:14.0-usb-0:2:1.0")};
        // Created out of order; numbered by name.
        const QStringList two{QStringLiteral("pci-0000:00:14.0-usb-0:3:1.0"),
                              QStringLiteral("pci-0000:00:14.0-usb-0:1:1.0")};
        QTest::newRow("no folder: COM1") << false << none << 1 << QStringLiteral("/dev/ttyS0");
        QTest::newRow("no folder: COM4") << false << none << 4 << QStringLiteral("/dev/ttyS3");
        QTest::newRow("empty folder") << true << none << 1 << QStringLiteral("/dev/ttyS0");
        QTest::newRow("one adapter is COM1") << true << one << 1 << QStringLiteral("@/") + one[0];
        QTest::newRow("one adapter, COM2 is built in")
            << true << one << 2 << QStringLiteral("/dev/ttyS1");
        QTest::newRow("two adapters: COM1 by name")
            << true << two << 1 << QStringLiteral("@/") + two[1];
        QTest::newRow("two adapters: COM2 by name")
            << true << two << 2 << QStringLiteral("@/") + two[0];
        QTest::newRow("two adapters: COM3 is built in")
            << true << two << 3 << QStringLiteral("/dev/ttyS2");
        QTest::newRow("two adapters: COM4 is built in")
            << true << two << 4 << QStringLiteral("/dev/ttyS3");
    }

    void search_order() {
        QFETCH(bool, folderExists);
        QFETCH(QStringList, adapters);
        QFETCH(int, port);
        QFETCH(QString, expected);

        QTemporaryDir temp;
        QVERIFY(temp.isValid());
        const QString folder = temp.filePath(QStringLiteral("tolvane"));
        if (folderExists)
            QVERIFY(QDir().mkdir(folder));
        // Links to a character device, as udev makes them.
        for (const QString& name : adapters)
            QVERIFY(QFile::link(QStringLiteral("/dev/null"), folder + QLatin1Char('/') + name));

        expected.replace(QLatin1Char('@'), folder);
        QCOMPARE(comPortDeviceNameIn(port, folder), expected);
    }

#ifdef Q_OS_WIN
    // Windows names the ports itself; no adapter folder there.
    void windows_opens_com_n() {
        QCOMPARE(comPortDeviceName(1), QStringLiteral("COM1"));
        QCOMPARE(comPortDeviceName(4), QStringLiteral("COM4"));
    }
#endif
};

QTEST_GUILESS_MAIN(TestComPortName)
#include "tst_ComPortName.moc"
