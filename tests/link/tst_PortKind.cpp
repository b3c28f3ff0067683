#include "link/PortKind.h"

#include <QTest>

// Which ports the search may probe, from what the system says of each.
class TestPortKind : public QObject {
    Q_OBJECT
private slots:
    void kinds_data() {
        QTest::addColumn<Platform>("platform");
        QTest::addColumn<QString>("device");
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("enumerator");
        QTest::addColumn<QString>("service");
        QTest::addColumn<PortKind>("kind");
        const Platform win = Platform::Windows;
        const Platform unix = Platform::Unix;
        const PortKind box = PortKind::MayBeTheBox;
        const PortKind bluetooth = PortKind::BluetoothLink;
        const PortKind cdc = PortKind::UsbCdcDevice;
        auto row = [](const char* name, Platform platform, const char* device, const char* target,
                      const char* enumerator, const char* service, PortKind kind) {
            QTest::newRow(name) << platform << QString::fromLatin1(device)
                                << QString::fromLatin1(target) << QString::fromLatin1(enumerator)
                                << QString::fromLatin1(service) << kind;
        };
        row("Windows: built-in port", win, "COM1", "", "ACPI", "Serial", box);
        row("Windows: FTDI adapter", win, "COM7", "", "FTDIBUS", "FTSER2K", box);
        row("Windows: Prolific adapter", win, "COM4", "", "USB", "Ser2pl", box);
        row("Windows: CH340 adapter", win, "COM5", "", "USB", "CH341SER_A64", box);
        row("Windows: Silicon Labs adapter", win, "COM6", "", "USB", "silabser", box);
        row("Windows: Bluetooth link", win, "COM8", "", "BTHENUM", "BTHMODEM", bluetooth);
        row("Windows: Bluetooth link, small letters", win, "COM9", "", "bthenum", "", bluetooth);
        row("Windows: Bluetooth modem driver only", win, "COM10", "", "", "BTHMODEM", bluetooth);
        row("Windows: USB CDC device (a board)", win, "COM3", "", "USB", "usbser", cdc);
        row("Windows: USB CDC device, capitals", win, "COM11", "", "USB", "USBSER", cdc);
        row("Windows: nothing said (Wine)", win, "COM12", "", "", "", box);
        row("Windows: a name like a Linux board's says nothing", win, "ttyACM0", "", "", "", box);
        row("Linux: USB serial adapter", unix, "/dev/ttyUSB0", "", "", "", box);
        row("Linux: built-in port", unix, "/dev/ttyS0", "", "", "", box);
        row("Linux: adapter's link", unix, "/dev/tolvane/pci-0:2", "/dev/ttyUSB1", "", "", box);
        row("Linux: CDC-ACM board", unix, "/dev/ttyACM0", "", "", "", cdc);
        row("Linux: link to a CDC-ACM board", unix, "/dev/tolvane/pci-0:3", "/dev/ttyACM1", "", "",
            cdc);
        row("Linux: Bluetooth link", unix, "/dev/rfcomm0", "", "", "", bluetooth);
        row("Linux: Windows' words say nothing there", unix, "/dev/ttyUSB2", "", "BTHENUM",
            "usbser", box);
    }
    void kinds() {
        QFETCH(Platform, platform);
        QFETCH(QString, device);
        QFETCH(QString, target);
        QFETCH(QString, enumerator);
        QFETCH(QString, service);
        QFETCH(PortKind, kind);
        const PortSearch::PresentPort port{device, target, enumerator, service};
        QCOMPARE(portKind(port, platform), kind);
        QCOMPARE(mayBeTheBox(port, platform), kind == PortKind::MayBeTheBox);
    }
};

QTEST_MAIN(TestPortKind)
#include "tst_PortKind.moc"
