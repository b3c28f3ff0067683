#include "app/CommandLine.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using CommandLine::Program;

namespace {

constexpr int Starts = -1; // the program starts instead of printing

QString firstLine(const QString& text) {
    return text.section(QLatin1Char('\n'), 0, 0);
}

} // namespace

class TestCommandLine : public QObject {
    Q_OBJECT
private slots:
    void read_data() {
        QTest::addColumn<Program>("program");
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("port");
        QTest::addColumn<int>("seconds");
        QTest::addColumn<QString>("said"); // the message's first line
        auto starts = [](const char* name, Program p, QStringList args, const char* port,
                         int seconds) {
            QTest::newRow(name) << p << args << Starts << QString::fromUtf8(port) << seconds
                                << QString();
        };
        auto says = [](const char* name, Program p, QStringList args, int status,
                       const QString& said) {
            QTest::newRow(name) << p << args << status << QString() << 0 << said;
        };
        const auto T = Program::Tolvane;
        const auto D = Program::Demo;
        starts("tolvane, nothing: as designed", T, {}, "", 0);
        starts("--port DEVICE", T, {"--port", "/dev/ttyUSB3"}, "/dev/ttyUSB3", 0);
        starts("--port=COM7", T, {"--port=COM7"}, "COM7", 0);
        starts("-port, one dash", T, {"-port", "/tmp/box"}, "/tmp/box", 0);
        starts("the later --port wins", T, {"--port", "a", "--port", "b"}, "b", 0);
        starts("demo, nothing", D, {}, "", 0);
        starts("--report-after 6", D, {"--report-after", "6"}, "", 6);
        starts("--report-after 600", D, {"--report-after", "600"}, "", 600);

        says("--help", T, {"--help"}, 0, "使い方 / Usage: tolvane [--port DEVICE]");
        says("-h", T, {"-h"}, 0, "使い方 / Usage: tolvane [--port DEVICE]");
        says("demo --help", D, {"--help"}, 0,
             "使い方 / Usage: tolvane-demo [--report-after SECONDS]");
        says("--version", T, {"--version"}, 0, "tolvane " TOLVANE_VERSION);
        says("demo -v", D, {"-v"}, 0, "tolvane-demo " TOLVANE_VERSION);

        says("unknown option", T, {"--bogus"}, 2,
             "「--bogus」というオプションはありません。 / Unknown option \"--bogus\".");
        says("unknown letter", T, {"-x"}, 2,
             "「-x」というオプションはありません。 / Unknown option \"-x\".");
        says("the demo's option", T, {"--report-after", "5"}, 2,
             "「--report-after」というオプションはありません。 / Unknown option "
             "\"--report-after\".");
        says("demo has no port", D, {"--port", "/tmp/box"}, 2,
             "「--port」というオプションはありません。 / Unknown option \"--port\".");
        says("--port without device", T, {"--port"}, 2,
             "--port のあとに DEVICE を書いて下さい。 / --port needs a DEVICE after it.");
        says("--port= empty", T, {"--port="}, 2,
             "--port のデバイス名が空です。 / --port needs a device name.");
        says("a port number alone", T, {"COM1"}, 2,
             "「COM1」は分かりません。 / Unexpected argument \"COM1\".");
        says("a mistake beats --help", T, {"--help", "--bogus"}, 2,
             "「--bogus」というオプションはありません。 / Unknown option \"--bogus\".");
        says("--report-after without seconds", D, {"--report-after"}, 2,
             "--report-after のあとに SECONDS を書いて下さい。 / --report-after needs a "
             "SECONDS after it.");
        for (const char* bad : {"0", "601", "-3", "ten", "2.5"})
            says(qPrintable(QStringLiteral("--report-after %1").arg(bad)), D,
                 {"--report-after", bad}, 2,
                 QStringLiteral("--report-after は 1〜600 秒です (%1)。 / --report-after must "
                                "be 1 to 600 seconds, not %1.")
                     .arg(bad));
    }
    void read() {
        QFETCH(Program, program);
        QFETCH(QStringList, args);
        QFETCH(int, status);
        QFETCH(QString, port);
        QFETCH(int, seconds);
        QFETCH(QString, said);
        const auto request = CommandLine::read(program, args);
        if (status == Starts) {
            const auto* options = std::get_if<CommandLine::StartOptions>(&request);
            QVERIFY(options);
            QCOMPARE(options->port, port);
            QCOMPARE(options->reportAfterSeconds, seconds);
            return;
        }
        const auto* answer = std::get_if<CommandLine::Answer>(&request);
        QVERIFY(answer);
        QCOMPARE(answer->exitStatus, status);
        QCOMPARE(firstLine(answer->text), said);
        QVERIFY(answer->text.endsWith(QLatin1Char('\n')));
        // A mistake is followed by the whole summary.
        if (status == CommandLine::BadUsage)
            QCOMPARE(answer->text, said + QLatin1Char('\n') + CommandLine::usage(program));
    }

    // The built programs answer without starting Qt's windowing: here there
    // is no display and no platform Qt could open a window on.
    void printing_needs_no_display_data() {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("out");
        QTest::addColumn<QString>("errFirstLine");
        const QString usage = CommandLine::usage(Program::Tolvane);
        const QString demoUsage = CommandLine::usage(Program::Demo);
        QTest::newRow("tolvane --help") << TOLVANE << QStringList{"--help"} << 0 << usage << "";
        QTest::newRow("tolvane --version") << TOLVANE << QStringList{"--version"} << 0
                                           << QStringLiteral("tolvane " TOLVANE_VERSION "\n") << "";
        QTest::newRow("tolvane --bogus")
            << TOLVANE << QStringList{"--bogus"} << 2 << ""
            << QStringLiteral("「--bogus」というオプションはありません。 / Unknown option "
                              "\"--bogus\".");
        QTest::newRow("tolvane-demo --help")
            << TOLVANE_DEMO << QStringList{"--help"} << 0 << demoUsage << "";
        QTest::newRow("tolvane-demo --report-after 0")
            << TOLVANE_DEMO << QStringList{"--report-after", "0"} << 2 << ""
            << QStringLiteral("--report-after は 1〜600 秒です (0)。 / --report-after must be 1 "
                              "to 600 seconds, not 0.");
    }
    void printing_needs_no_display() {
        QFETCH(QString, program);
        QFETCH(QStringList, args);
        QFETCH(int, status);
        QFETCH(QString, out);
        QFETCH(QString, errFirstLine);
        QTemporaryDir empty;
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("DISPLAY"));
        env.remove(QStringLiteral("WAYLAND_DISPLAY"));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("tolvane-no-such-platform"));
        p.setProcessEnvironment(env);
        p.setWorkingDirectory(empty.path());
        p.start(program, args);
        QVERIFY2(p.waitForFinished(30000), qPrintable(program));
        auto text = [](const QByteArray& bytes) {
            return QString::fromUtf8(bytes).remove(QLatin1Char('\r')); // Windows' line ends
        };
        const QString err = text(p.readAllStandardError());
        QCOMPARE(p.exitStatus(), QProcess::NormalExit);
        QCOMPARE(p.exitCode(), status);
        QCOMPARE(text(p.readAllStandardOutput()), out);
        QCOMPARE(firstLine(err), errFirstLine);
    }
};

QTEST_MAIN(TestCommandLine)
#include "tst_CommandLine.moc"
