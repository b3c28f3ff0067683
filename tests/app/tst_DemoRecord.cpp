#include <QDateTime>
#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <cmath>

// tolvane-demo as a teacher starts it, with its record in the documents
// folder that the desktop names: a home folder of the test's own.
class TestDemoRecord : public QObject {
    Q_OBJECT
private slots:
    void the_demo_records_into_the_documents_folder_data() {
        QTest::addColumn<QByteArray>("tvTxt");
        QTest::addColumn<bool>("recorded");
        QTest::newRow("Kiroku=1") << QByteArray("Kiroku=1\r\n") << true;
        QTest::newRow("no Tv.txt") << QByteArray() << false;
    }
    void the_demo_records_into_the_documents_folder() {
#ifndef Q_OS_UNIX
        QSKIP("the documents folder comes from HOME on Unix desktops only");
#else
        QFETCH(QByteArray, tvTxt);
        QFETCH(bool, recorded);
        QTemporaryDir temp;
        QVERIFY(temp.isValid());
        const QString home = temp.filePath(QStringLiteral("home"));
        const QString documents = home + QStringLiteral("/Documents");
        const QString work = temp.filePath(QStringLiteral("work"));
        QVERIFY(QDir().mkpath(documents));
        QVERIFY(QDir().mkpath(work));
        if (!tvTxt.isEmpty()) {
            QFile tv(work + QStringLiteral("/Tv.txt"));
            QVERIFY(tv.open(QIODevice::WriteOnly));
            tv.write(tvTxt);
        }

        QProcess demo;
        demo.setWorkingDirectory(work);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("HOME"), home);
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), home + QStringLiteral("/.config"));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        demo.setProcessEnvironment(env);
        const QDateTime started = QDateTime::currentDateTime();
        demo.start(QStringLiteral(TOLVANE_DEMO), {QStringLiteral("--report-after"), "6"});
        QVERIFY(demo.waitForFinished(60000));
        const QDateTime ended = QDateTime::currentDateTime();
        QCOMPARE(demo.exitCode(), 0);
        // "display: " and the text shown, such as " 1.3秒".
        const QString display = QString::fromUtf8(demo.readAllStandardOutput().split('\n')[0]);

        const QDir folder(documents + QStringLiteral("/Tolvane"));
        QCOMPARE(QDir(documents).exists(QStringLiteral("Tolvane")), recorded);
        QCOMPARE(QDir(work).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
                 tvTxt.isEmpty() ? QStringList() : QStringList{"Tv.txt"});
        if (!recorded)
            return;
        const QStringList files = folder.entryList(QDir::Files);
        QCOMPARE(files.size(), 1);
        QVERIFY2(QRegularExpression(QStringLiteral("^tolvane-\\d{8}-\\d{6}\\.csv$"))
                     .match(files[0])
                     .hasMatch(),
                 qPrintable(files[0]));
        QFile csv(folder.filePath(files[0]));
        QVERIFY(csv.open(QIODevice::ReadOnly));
        const QByteArray all = csv.readAll();
        QVERIFY(all.endsWith("\r\n"));
        QByteArrayList lines = all.split('\n');
        lines.removeLast();
        QCOMPARE(lines.value(0), QByteArray("passage,time,interval_s,shown_s\r"));
        // The pendulum passes every 1.25 s: four passages or so in six seconds.
        QVERIFY2(lines.size() >= 4, all.constData());
        for (qsizetype i = 1; i < lines.size(); ++i) {
            const QByteArrayList f = lines[i].chopped(1).split(',');
            QCOMPARE(f.size(), 4);
            QCOMPARE(f[0].toInt(), i);
            const QDateTime at =
                QDateTime::fromString(QString::fromLatin1(f[1]), Qt::ISODateWithMs);
            QVERIFY2(at >= started.addMSecs(-1) && at <= ended.addMSecs(1), f[1].constData());
            if (i == 1) {
                QVERIFY(f[2].isEmpty());
                continue;
            }
            // Seconds from the sampling clock, beside the tenths shown; the
            // margins are wide, for a machine busy with other work.
            const double interval = f[2].toDouble();
            QVERIFY2(std::abs(interval - 1.25) < 0.15, lines[i].constData());
            QVERIFY2(std::abs(f[3].toDouble() - interval) < 0.2, lines[i].constData());
        }
        // The last line is the period the display shows at the end.
        QCOMPARE(display, QStringLiteral("display: \" %1秒\"")
                              .arg(QString::fromLatin1(lines.last().chopped(1).split(',')[3])));
#endif
    }
};

QTEST_MAIN(TestDemoRecord)
#include "tst_DemoRecord.moc"
