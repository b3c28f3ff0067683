#include "app/MainWindow.h"
#include "link/ComPortName.h"
#include "link/PerixTexts.h"
#include "link/QtSerialLink.h"
#include "measuring/LineThread.h"
#ifdef Q_OS_UNIX
#include "sim/PtyBox.h"
#endif
#include "support/ScriptedMessageBoxes.h"

#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>

#ifdef Q_OS_UNIX
#include <sys/resource.h>

namespace {

double cpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// Waits until the display shows a new text three times, so that the first
// period (measured from a reset, not from a cut) is past; returns the last.
QString thirdNewText(const QLabel& display) {
    QString shown = display.text();
    int changes = 0;
    QElapsedTimer watch;
    watch.start();
    while (changes < 3 && watch.elapsed() < 5000) {
        QTest::qWait(10);
        if (display.text() != shown) {
            shown = display.text();
            ++changes;
        }
    }
    return shown;
}

} // namespace
#endif

class TestEndToEndPty : public QObject {
    Q_OBJECT
private slots:
    // The whole program on a real pseudo-terminal, found as the real program
    // finds a USB adapter, by its link in a folder: not there at start-up,
    // plugged in later, measured periods, unplugged mid-run, and plugged in
    // again into another socket, under another name.
    void end_to_end_on_a_pseudo_terminal() {
#ifndef Q_OS_UNIX
        QSKIP("needs a pseudo-terminal, which Windows lacks");
#else
        // The beam is cut for 150 ms every 700 ms: wide enough that a busy
        // machine cannot miss it.
        QElapsedTimer since;
        since.start();
        PtyBox box([&] { return since.elapsed() % 700 < 150 ? 20 : 200; });

        QTemporaryDir adapters;
        QVERIFY(adapters.isValid());
        const auto socket = [&](const QString& name) { return adapters.filePath(name); };
        // No adapter in the folder would mean the built-in port: never here.
        const auto namer = [&](int n) {
            const QString device = comPortDeviceNameIn(n, adapters.path());
            return device.startsWith(adapters.path()) ? device
                                                      : QStringLiteral("/nonexistent/ttyTolvane");
        };

        // The line on a thread of its own, as in the program: the test sees
        // only what the window is told.
        ProgramValues v;
        ScriptedMessageBoxes boxes;
        LineThread line([namer] { return std::make_unique<QtSerialLink>(namer); });
        MainWindow window(v, line.line(), boxes, [] {});
        window.Form_Load();
        QCOMPARE(window.Label1->text(), PerixTexts::startupNotice());
        QTRY_COMPARE_WITH_TIMEOUT(window.Label1->text(), PerixTexts::notConnectedNotice(), 2000);
        QVERIFY(v.NotConnected);
        window.show();

        // Plugged in after start-up: found without a restart, woken and probed.
        QTest::qWait(300);
        QVERIFY(QFile::link(box.slavePath(), socket(QStringLiteral("pci-0-usb-0:1:1.0"))));
        QTRY_COMPARE_WITH_TIMEOUT(window.Label1->text(), PerixTexts::startupNotice(), 3000);
        QVERIFY(box.received().startsWith(QByteArray("\0\0\xFF", 3)));

        const QStringList near{QStringLiteral("0.6秒"), QStringLiteral("0.7秒"),
                               QStringLiteral("0.8秒")};
        QString shown = thirdNewText(*window.Label1);
        QVERIFY2(near.contains(shown), qPrintable(shown));

        // Unplugged: the display says so instead of keeping the last period.
        box.unplug();
        QTRY_COMPARE_WITH_TIMEOUT(window.Label1->text(), PerixTexts::notConnectedNotice(), 2000);
        const double cpuBefore = cpuSeconds();
        QTest::qWait(1500);
        const double cpuUsed = cpuSeconds() - cpuBefore;
        // Retrying on a missing device changes nothing on the display.
        QCOMPARE(window.Label1->text(), PerixTexts::notConnectedNotice());
        QVERIFY(window.Timer2.isActive());
        // A spinning read notifier would burn a whole core.
        QVERIFY2(cpuUsed < 0.5, qPrintable(QString::number(cpuUsed)));

        // Plugged in again, into the socket next to it: the box is found under
        // its new name, woken and probed, and periods show again.
        const qsizetype heardBefore = box.received().size();
        QVERIFY(QFile::remove(socket(QStringLiteral("pci-0-usb-0:1:1.0"))));
        box.plugIn();
        QVERIFY(QFile::link(box.slavePath(), socket(QStringLiteral("pci-0-usb-0:2:1.0"))));
        QTRY_COMPARE_WITH_TIMEOUT(window.Label1->text(), PerixTexts::startupNotice(), 3000);
        QVERIFY(box.received().mid(heardBefore).startsWith(QByteArray("\0\0\xFF", 3)));
        shown = thirdNewText(*window.Label1);
        QVERIFY2(near.contains(shown), qPrintable(shown));
#endif
    }
};

QTEST_MAIN(TestEndToEndPty)
#include "tst_EndToEndPty.moc"
