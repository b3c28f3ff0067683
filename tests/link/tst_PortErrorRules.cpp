#include "link/PortErrorRules.h"

#include <QTest>

using Reason = PortOpenError::Reason;

// What each of QSerialPort's errors means, on Linux and on Windows.
class TestPortErrorRules : public QObject {
    Q_OBJECT
private slots:
    void errors_data() {
        QTest::addColumn<Platform>("platform");
        QTest::addColumn<QSerialPort::SerialPortError>("error");
        QTest::addColumn<bool>("mayReadAndWrite");
        QTest::addColumn<Reason>("openFails");
        QTest::addColumn<bool>("gone");
        const auto row = [](const char* name, Platform p, QSerialPort::SerialPortError e,
                            bool access, Reason r,
                            bool gone) { QTest::newRow(name) << p << e << access << r << gone; };
        const Platform onLinux = Platform::Unix;
        const Platform onWindows = Platform::Windows;
        row("Linux: no device", onLinux, QSerialPort::DeviceNotFoundError, false,
            Reason::NoSuchPort, false);
        row("Linux: held by another program", onLinux, QSerialPort::PermissionError, true,
            Reason::Busy, false);
        row("Linux: not ours to use", onLinux, QSerialPort::PermissionError, false,
            Reason::NotAllowed, false);
        row("Linux: unplugged", onLinux, QSerialPort::ResourceError, true, Reason::Other, true);
        row("Linux: garbled read", onLinux, QSerialPort::ReadError, true, Reason::Other, false);
        row("Linux: write refused", onLinux, QSerialPort::WriteError, true, Reason::Other, false);
        row("Linux: unknown", onLinux, QSerialPort::UnknownError, true, Reason::Other, false);
        row("Windows: no device", onWindows, QSerialPort::DeviceNotFoundError, true,
            Reason::NoSuchPort, true);
        row("Windows: access denied is busy", onWindows, QSerialPort::PermissionError, false,
            Reason::Busy, true);
        row("Windows: unplugged", onWindows, QSerialPort::ResourceError, true, Reason::Other, true);
        row("Windows: a failed read", onWindows, QSerialPort::ReadError, true, Reason::Other, true);
        row("Windows: a failed write", onWindows, QSerialPort::WriteError, true, Reason::Other,
            true);
        row("Windows: unknown", onWindows, QSerialPort::UnknownError, true, Reason::Other, true);
        row("Windows: a wait timed out", onWindows, QSerialPort::TimeoutError, true, Reason::Other,
            false);
        row("Windows: no error", onWindows, QSerialPort::NoError, true, Reason::Other, false);
    }
    void errors() {
        QFETCH(Platform, platform);
        QFETCH(QSerialPort::SerialPortError, error);
        QFETCH(bool, mayReadAndWrite);
        QFETCH(Reason, openFails);
        QFETCH(bool, gone);
        QCOMPARE(PortErrorRules::openFailureReason(error, platform, mayReadAndWrite), openFails);
        QCOMPARE(PortErrorRules::meansPortGone(error, platform), gone);
    }
};

QTEST_GUILESS_MAIN(TestPortErrorRules)
#include "tst_PortErrorRules.moc"
