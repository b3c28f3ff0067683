#include "app/MainWindow.h"
#include "link/QtSerialLink.h"
#ifdef Q_OS_UNIX
#include "sim/PtyBox.h"
#endif
#include "support/ScriptedMessageBoxes.h"

#include <QElapsedTimer>
#include <QLabel>
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

} // namespace
#endif

class TestEndToEndPty : public QObject {
    Q_OBJECT
private slots:
    // The whole program on a real pseudo-terminal: probe, a measured period,
    // and a box unplugged mid-run.
    void end_to_end_on_a_pseudo_terminal() {
#ifndef Q_OS_UNIX
        QSKIP("needs a pseudo-terminal, which Windows lacks");
#else
        // The beam is cut for 50 ms every 700 ms.
        QElapsedTimer since;
        since.start();
        PtyBox box([&] { return since.elapsed() % 700 < 50 ? 20 : 200; });

        ProgramValues v;
        ScriptedMessageBoxes boxes;
        auto link = std::make_unique<QtSerialLink>([&](int) { return box.slavePath(); });
        QtSerialLink* rawLink = link.get();
        MainWindow window(v, std::move(link), boxes, [] {});
        window.Form_Load();
        QVERIFY(!v.NotConnected);
        QVERIFY(box.received().startsWith(QByteArray("\0\0\xFF", 3)));
        window.show();

        const QStringList near{QStringLiteral("0.6秒"), QStringLiteral("0.7秒"),
                               QStringLiteral("0.8秒")};
        // Wait for two periods so that the first (measured from start-up) is past.
        QTRY_VERIFY_WITH_TIMEOUT(v.DataValue == 200, 2000);
        QString shown;
        int periods = 0;
        QElapsedTimer watch;
        watch.start();
        while (periods < 3 && watch.elapsed() < 5000) {
            QTest::qWait(10);
            if (window.Label1->text() != shown) {
                shown = window.Label1->text();
                ++periods;
            }
        }
        QVERIFY2(near.contains(shown), qPrintable(shown));

        box.unplug();
        QTRY_VERIFY_WITH_TIMEOUT(!rawLink->isOpen(), 2000);
        const QString lastText = window.Label1->text();
        const double cpuBefore = cpuSeconds();
        QTest::qWait(1000);
        const double cpuUsed = cpuSeconds() - cpuBefore;
        QCOMPARE(window.Label1->text(), lastText);
        QVERIFY(window.Timer1.isActive());
        QVERIFY(window.Timer2.isActive());
        // A spinning read notifier would burn a whole core.
        QVERIFY2(cpuUsed < 0.5, qPrintable(QString::number(cpuUsed)));
#endif
    }
};

QTEST_MAIN(TestEndToEndPty)
#include "tst_EndToEndPty.moc"
