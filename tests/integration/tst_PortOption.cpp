#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#ifdef Q_OS_UNIX
#include "sim/PtyBox.h"

namespace {

// True when the box heard the wake-up and probe at least `times` times, and
// sampling (242) after the last of them.
bool probedAndSampled(const QByteArray& received, int times) {
    const QByteArray probe("\0\0\xFF", 3);
    qsizetype at = -1;
    for (int i = 0; i < times; ++i) {
        at = received.indexOf(probe, at + 1);
        if (at < 0)
            return false;
    }
    return received.indexOf(char(242), at + probe.size()) >= 0;
}

} // namespace
#endif

// The real program with --port: the device named replaces COM n, and losing
// and regaining it works as with COM n.
class TestPortOption : public QObject {
    Q_OBJECT
private slots:
    void tolvane_measures_on_the_given_device_and_finds_it_again() {
#ifndef Q_OS_UNIX
        QSKIP("needs a pseudo-terminal, which Windows lacks");
#else
        PtyBox box([] { return 200; });
        QTemporaryDir empty; // no Tv.txt
        QProcess tolvane;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        tolvane.setProcessEnvironment(env);
        tolvane.setWorkingDirectory(empty.path());
        tolvane.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        tolvane.start(QStringLiteral(TOLVANE), {QStringLiteral("--port"), box.stablePath()});
        QVERIFY(tolvane.waitForStarted());

        QTRY_VERIFY_WITH_TIMEOUT(probedAndSampled(box.received(), 1), 20000);
        box.unplug();
        QTest::qWait(1500); // tolvane notices, and tries the missing device at least once
        QCOMPARE(tolvane.state(), QProcess::Running);
        box.plugIn();
        QTRY_VERIFY_WITH_TIMEOUT(probedAndSampled(box.received(), 2), 20000);
        QCOMPARE(tolvane.state(), QProcess::Running);

        tolvane.terminate();
        QVERIFY(tolvane.waitForFinished(10000));
#endif
    }
};

QTEST_MAIN(TestPortOption)
#include "tst_PortOption.moc"
