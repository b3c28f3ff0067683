#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTest>

#include <csignal>

// perix-sim stopped the ways docs/tools.md stops it leaves nothing behind in
// the temporary folder: neither its folder nor the link in it.
class TestPerixSim : public QObject {
    Q_OBJECT
private slots:
    void a_signal_removes_the_folder_and_link_data() {
        QTest::addColumn<int>("signalNumber");
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QByteArray>("waitFor"); // in perix-sim's output, before the signal
        const struct {
            const char* name;
            int number;
        } signals_[] = {{"SIGINT", SIGINT}, {"SIGTERM", SIGTERM}, {"SIGHUP", SIGHUP}};
        for (const auto& s : signals_) {
            QTest::addRow("%s, on the line", s.name) << s.number << QStringList() << QByteArray();
            QTest::addRow("%s, hung up", s.name)
                << s.number << QStringList{"--hang-up-after", "0"} << QByteArray("Hung up");
        }
    }
    void a_signal_removes_the_folder_and_link() {
        QFETCH(int, signalNumber);
        QFETCH(QStringList, args);
        QFETCH(QByteArray, waitFor);
        QProcess sim;
        sim.start(QStringLiteral(PERIX_SIM), args);
        QVERIFY(sim.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(sim.canReadLine(), 5000);
        const QString device = QString::fromLocal8Bit(sim.readLine()).trimmed();
        const QString folder = QFileInfo(device).path();
        QVERIFY2(folder.contains(QStringLiteral("perix-sim-")), qPrintable(device));
        QVERIFY(QFileInfo(device).isSymLink());
        QByteArray said;
        QTRY_VERIFY_WITH_TIMEOUT((said += sim.readAll()).contains(waitFor), 5000);

        QCOMPARE(::kill(pid_t(sim.processId()), signalNumber), 0);
        QVERIFY(sim.waitForFinished(5000));
        // Ended by the signal, as the shell expects, but only after cleaning up.
        QCOMPARE(sim.exitStatus(), QProcess::CrashExit);
        QVERIFY2(!QFileInfo::exists(folder), qPrintable(folder));
    }
};

QTEST_MAIN(TestPerixSim)
#include "tst_PerixSim.moc"
