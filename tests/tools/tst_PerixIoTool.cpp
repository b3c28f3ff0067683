#include "link/QtSerialLink.h"
#ifdef Q_OS_UNIX
#include "sim/PseudoTerminal.h"
#include "sim/PtyBox.h"
#endif
#include "support/Bytes.h"
#include "support/ScriptedPort.h"
#include "tools/perix-io/PerixIoTool.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

namespace {

const QByteArray Probe = bytes({0, 0, 255});

struct Outcome {
    int status;
    QString out;
    QString err;
};

Outcome runTool(const QStringList& args,
                const PerixIoTool::LinkMaker& makeLink = PerixIoTool::realLink,
                const ComPortNamer& namer = comPortDeviceName) {
    QString out, err;
    QTextStream o(&out), e(&err);
    const int status = PerixIoTool::run(args, o, e, makeLink, namer);
    o.flush();
    e.flush();
    return {status, out, err};
}

// Lends the tool a port that the test keeps, to look at afterwards.
class LentPort : public SerialLink {
public:
    explicit LentPort(SerialLink& port) : p(port) {}
    void setCommPort(int n) override { p.setCommPort(n); }
    void setSettings(const QString& s) override { p.setSettings(s); }
    void open() override { p.open(); }
    bool isOpen() const override { return p.isOpen(); }
    void close() override { p.close(); }
    void setBinaryInput() override { p.setBinaryInput(); }
    void setSThreshold(int n) override { p.setSThreshold(n); }
    void setRThreshold(int n) override { p.setRThreshold(n); }
    void write(const QByteArray& b) override { p.write(b); }
    QByteArray readAll() override { return p.readAll(); }
    bool waitForReadyRead(int ms) override { return p.waitForReadyRead(ms); }

private:
    SerialLink& p;
};

PerixIoTool::LinkMaker lend(SerialLink& port, QString* device = nullptr) {
    return [&port, device](const QString& name) {
        if (device)
            *device = name;
        return std::make_unique<LentPort>(port);
    };
}

#ifndef Q_OS_UNIX
// The cases that put a box, or nobody, on a pseudo-terminal need a Unix system.
constexpr const char* NoPty = "needs a pseudo-terminal, which Windows lacks";
#endif

} // namespace

class TestPerixIoTool : public QObject {
    Q_OBJECT
private slots:
    void bad_usage_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("problem");
        auto row = [](const char* name, QStringList args, const char* problem) {
            QTest::newRow(name) << args << QString::fromUtf8(problem);
        };
        row("nothing", {}, "Too few arguments.");
        row("port only", {"BOX"}, "Too few arguments.");
        row("unknown command", {"BOX", "jump", "2"}, "Unknown command \"jump\".");
        row("port 0", {"0", "read", "1"}, "The port number must be 1 to 4, not 0.");
        row("port 5", {"5", "read", "1"}, "The port number must be 1 to 4, not 5.");
        row("channel 0", {"BOX", "read", "0"}, "The channel must be 1 to 3, not 0.");
        row("channel 4", {"BOX", "write", "4", "1"}, "The channel must be 1 to 3, not 4.");
        row("read, extra", {"BOX", "read", "1", "2"}, "Too many arguments.");
        row("value -5", {"BOX", "write", "2", "-5"}, "The value must be 0 to 255, not -5.");
        row("value 300", {"BOX", "write", "2", "300"}, "The value must be 0 to 255, not 300.");
        row("bit 8", {"BOX", "bit", "8"}, "The bit number must be 0 to 7, not 8.");
        row("bit -1", {"BOX", "set", "-1", "on"}, "The bit number must be 0 to 7, not -1.");
        row("set maybe", {"BOX", "set", "3", "maybe"}, "Give on or off, not maybe.");
        row("find, --port without a port", {"find", "--port"}, "--port needs a PORT after it.");
        row("find, port 9", {"find", "--port", "9"}, "The port number must be 1 to 4, not 9.");
        row("find, something else", {"find", "now"}, "Unexpected argument \"now\".");
    }
    void bad_usage() {
#ifndef Q_OS_UNIX
        QSKIP(NoPty);
#else
        QFETCH(QStringList, args);
        QFETCH(QString, problem);
        PtyBox box([] { return 0; });
        args.replaceInStrings(QStringLiteral("BOX"), box.slavePath());
        const Outcome r = runTool(args);
        QCOMPARE(r.status, int(PerixIoTool::BadUsage));
        QVERIFY(r.out.isEmpty());
        const QString firstLine = r.err.section(QLatin1Char('\n'), 0, 0);
        QVERIFY2(firstLine.endsWith(QStringLiteral(" / ") + problem), qPrintable(firstLine));
        QVERIFY(r.err.contains(QStringLiteral("Usage:")));
        QTest::qWait(20);
        QVERIFY(box.received().isEmpty()); // the port was never opened
#endif
    }

    void help_goes_to_standard_output() {
        const Outcome r = runTool({QStringLiteral("--help")});
        QCOMPARE(r.status, 0);
        QCOMPARE(r.out, PerixIoTool::usage());
        QVERIFY(r.err.isEmpty());
    }

    // find: each port the search would probe, probed; the box named where it
    // answers; the ports left alone listed with the reason, and not opened.
    void find_data() {
        QTest::addColumn<QStringList>("ports"); // BOX, SILENT or a device name
        QTest::addColumn<QString>("named");     // --port; empty: none
        QTest::addColumn<QStringList>("leftAlone");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("said");
        const QString missing = QStringLiteral("/nonexistent/ttyTolvane9");
        const QString board = QStringLiteral("/nonexistent/ttyACM0");
        const QStringList none;
        QTest::newRow("box behind a silent port and a missing one, a board left alone")
            << QStringList{QStringLiteral("SILENT"), missing, QStringLiteral("BOX"), board}
            << QString() << QStringList{board} << int(PerixIoTool::Done)
            << QStringLiteral("The Perix box is on BOX.");
        QTest::newRow("a board named with --port is probed")
            << QStringList{QStringLiteral("SILENT"), board} << board << none
            << int(PerixIoTool::NoAnswer) << QStringLiteral("No Perix box answers on any port.");
        QTest::newRow("only a board")
            << QStringList{board} << QString() << QStringList{board} << int(PerixIoTool::NoAnswer)
            << QStringLiteral("No Perix box answers on any port.");
        QTest::newRow("no box") << QStringList{QStringLiteral("SILENT"), missing} << QString()
                                << none << int(PerixIoTool::NoAnswer)
                                << QStringLiteral("No Perix box answers on any port.");
        QTest::newRow("no ports") << QStringList{} << QString() << none
                                  << int(PerixIoTool::NoAnswer)
                                  << QStringLiteral("No serial ports found.");
    }
    void find() {
#ifndef Q_OS_UNIX
        QSKIP(NoPty);
#else
        QFETCH(QStringList, ports);
        QFETCH(QString, named);
        QFETCH(QStringList, leftAlone);
        QFETCH(int, status);
        QFETCH(QString, said);
        PtyBox box([] { return 0; });
        PseudoTerminal silent;
        ports.replaceInStrings(QStringLiteral("BOX"), box.slavePath());
        ports.replaceInStrings(QStringLiteral("SILENT"), silent.slavePath());
        said.replace(QStringLiteral("BOX"), box.slavePath());
        QString out, err;
        QTextStream o(&out), e(&err);
        QStringList opened;
        const QStringList args = named.isEmpty()
                                     ? QStringList{QStringLiteral("find")}
                                     : QStringList{QStringLiteral("find"), "--port", named};
        const int exit = PerixIoTool::run(
            args, o, e,
            [&](const QString& device) {
                opened << device;
                return PerixIoTool::realLink(device);
            },
            comPortDeviceName,
            [&] {
                QList<PortSearch::PresentPort> present;
                for (const QString& port : ports)
                    present.append({port, {}});
                return present;
            });
        o.flush();
        e.flush();
        QCOMPARE(exit, status);
        QVERIFY2((out + err).contains(said), qPrintable(out + err));
        // Every port present is listed, each on a line of its own; those left
        // alone with the reason, and never opened.
        for (const QString& port : ports) {
            QVERIFY2(out.contains(port + QStringLiteral(": ")), qPrintable(port));
            QCOMPARE(opened.contains(port), !leftAlone.contains(port));
        }
        for (const QString& port : leftAlone)
            QVERIFY2(out.contains(port + QStringLiteral(": USB CDC の機器です")), qPrintable(out));
#endif
    }

    void commands_on_a_box_data() {
        QTest::addColumn<QStringList>("command");
        QTest::addColumn<QByteArray>("sent");
        QTest::addColumn<QString>("said");
        auto row = [](const char* name, QStringList command, QByteArray sent, const char* said) {
            QTest::newRow(name) << command << sent << QString::fromUtf8(said);
        };
        row("read 1", {"read", "1"}, bytes({242}), "チャンネル 1: 201 / Channel 1 reads 201.\n");
        row("read 2", {"read", "2"}, bytes({243}), "チャンネル 2: 128 / Channel 2 reads 128.\n");
        row("write 2 200", {"write", "2", "200"}, bytes({246, 200}),
            "チャンネル 2 に 200 を書き込みました。 / Wrote 200 to channel 2.\n");
        row("bit 2", {"bit", "2"}, bytes({244}),
            "デジタル入力 2: オン (入力バイト 5 = 00000101) / Digital input 2 is on (input byte 5 "
            "= 00000101).\n");
        row("bit 1", {"bit", "1"}, bytes({244}),
            "デジタル入力 1: オフ (入力バイト 5 = 00000101) / Digital input 1 is off (input byte "
            "5 = 00000101).\n");
        row("set 3 on", {"set", "3", "on"}, bytes({247, 8}),
            "デジタル出力 3 をオンにしました (出力バイト 8 = 00001000、ほかの出力はオフ)。 / "
            "Digital output 3 is now on (output byte 8 = 00001000, the other outputs off).\n");
        row("set 7 off", {"set", "7", "off"}, bytes({247, 0}),
            "デジタル出力 7 をオフにしました (出力バイト 0 = 00000000、ほかの出力はオフ)。 / "
            "Digital output 7 is now off (output byte 0 = 00000000, the other outputs off).\n");
    }
    void commands_on_a_box() {
#ifndef Q_OS_UNIX
        QSKIP(NoPty);
#else
        QFETCH(QStringList, command);
        QFETCH(QByteArray, sent);
        QFETCH(QString, said);
        PtyBox box([] { return 201; });
        box.withBox([](PerixBoxModel& m) {
            m.setAnalog2(128);
            m.setDigitalInputs(5);
        });
        const Outcome r = runTool(QStringList{box.slavePath()} + command);
        QCOMPARE(r.err, QString());
        QCOMPARE(r.status, 0);
        QCOMPARE(r.out, said);
        QTRY_COMPARE(box.received(), Probe + sent);
#endif
    }

    void a_port_number_names_its_device() {
        ScriptedPort port;
        port.openFails = true;
        QString device;
        // Named apart from /dev, which may hold anything at /dev/ttyS1.
        const Outcome r = runTool({"2", "read", "1"}, lend(port, &device), [](int n) {
            return QStringLiteral("/nonexistent/COM%1").arg(n);
        });
        QCOMPARE(device, QStringLiteral("/nonexistent/COM2"));
        QCOMPARE(r.status, int(PerixIoTool::CannotOpen));
        QVERIFY2(r.err.contains(QStringLiteral("Cannot open port COM2 (%1).").arg(device)),
                 qPrintable(r.err));
    }

    void missing_port() {
        const Outcome r = runTool({"/nonexistent/ttyTolvane", "read", "1"});
        QCOMPARE(r.status, int(PerixIoTool::NoSuchPort));
        QCOMPARE(r.err,
                 QStringLiteral("ポート /nonexistent/ttyTolvane を開けません (ありません)。 / "
                                "Cannot open port /nonexistent/ttyTolvane: no such port.\n"));
        QVERIFY(r.out.isEmpty());
    }

    // Ports that cannot be opened, and what the message tells the user to do.
    void open_failures_say_why_data() {
        QTest::addColumn<QString>("port");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("said");
        auto row = [](const char* name, const char* port, int status, const char* said) {
            QTest::newRow(name) << QString::fromUtf8(port) << status << QString::fromUtf8(said);
        };
        const int none = PerixIoTool::NoSuchPort;
        const int other = PerixIoTool::CannotOpen;
        row("COM1 on Linux", "COM1", none,
            "ポート COM1 を開けません (ありません)。Linux では COM1 の代わりに 1 と書いて下さい。"
            " / Cannot open port COM1: no such port. On Linux, write 1 for COM1.");
        row("com4, small letters", "com4", none,
            "ポート com4 を開けません (ありません)。Linux では com4 の代わりに 4 と書いて下さい。"
            " / Cannot open port com4: no such port. On Linux, write 4 for com4.");
        row("COM7, beyond 4", "COM7", none,
            "ポート COM7 を開けません (ありません)。Linux ではポート番号 (1〜4) かデバイス名を書い"
            "て下さい。 / Cannot open port COM7: no such port. On Linux, give a port number (1 "
            "to 4) or a device name.");
        row("COM without a number", "COM", none,
            "ポート COM を開けません (ありません)。 / Cannot open port COM: no such port.");
        row("/dev/null", "/dev/null", other,
            "ポート /dev/null を開けません (シリアルポートではありません)。 / Cannot open port "
            "/dev/null: it is not a serial port.");
        row("a plain file", "DIR/plain", other,
            "ポート DIR/plain を開けません (シリアルポートではありません)。 / Cannot open port "
            "DIR/plain: it is not a serial port.");
        row("a folder", "DIR", other,
            "ポート DIR を開けません (シリアルポートではありません)。 / Cannot open port DIR: it "
            "is not a serial port.");
        row("a named pipe", "DIR/pipe", other,
            "ポート DIR/pipe を開けません (シリアルポートではありません)。 / Cannot open port "
            "DIR/pipe: it is not a serial port.");
    }
    void open_failures_say_why() {
#ifndef Q_OS_UNIX
        QSKIP("Linux's device names and file kinds");
#else
        QFETCH(QString, port);
        QFETCH(int, status);
        QFETCH(QString, said);
        QTemporaryDir dir;
        QFile plain(dir.filePath(QStringLiteral("plain")));
        QVERIFY(plain.open(QIODevice::WriteOnly));
        plain.close();
        QCOMPARE(
            ::mkfifo(QFile::encodeName(dir.filePath(QStringLiteral("pipe"))).constData(), 0600), 0);
        port.replace(QStringLiteral("DIR"), dir.path());
        said.replace(QStringLiteral("DIR"), dir.path());
        const Outcome r = runTool({port, "read", "1"});
        QCOMPARE(r.err, said + QLatin1Char('\n'));
        QCOMPARE(r.status, status);
        QVERIFY(r.out.isEmpty());
#endif
    }

    void no_box_on_the_line() {
#ifndef Q_OS_UNIX
        QSKIP(NoPty);
#else
        PseudoTerminal line; // nothing on its far end
        QElapsedTimer clock;
        clock.start();
        const Outcome r = runTool({line.slavePath(), "write", "2", "5"});
        QCOMPARE(r.status, int(PerixIoTool::NoAnswer));
        QVERIFY2(r.err.startsWith(
                     QStringLiteral("ポート %1 の Perix が応答しません。").arg(line.slavePath())),
                 qPrintable(r.err));
        QVERIFY(r.err.contains(QStringLiteral("No answer from a Perix box")));
        QVERIFY(r.out.isEmpty()); // a write to nobody is not reported as done
        QVERIFY(clock.elapsed() < 3000);
#endif
    }

    void box_answers_the_probe_but_not_the_read() {
        ScriptedPort port;
        port.reads = {QByteArray(), QByteArray("MERAVO")};
        const Outcome r = runTool({"/dev/box", "bit", "4"}, lend(port));
        QCOMPARE(r.status, int(PerixIoTool::NoAnswer));
        QVERIFY(r.err.contains(QStringLiteral("No answer from a Perix box on port /dev/box")));
        QCOMPARE(port.allWritten(), Probe + bytes({244}));
        QVERIFY(r.out.isEmpty());
    }

    // The built programs, as docs/tools.md shows them.
    void perix_io_against_perix_sim() {
#ifndef Q_OS_UNIX
        QSKIP(NoPty);
#else
        QProcess sim;
        sim.start(QStringLiteral(PERIX_SIM), {"--analog2", "99", "--inputs", "5"});
        QVERIFY(sim.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(sim.canReadLine(), 5000);
        const QString device = QString::fromLocal8Bit(sim.readLine()).trimmed();
        QVERIFY2(QFileInfo::exists(device), qPrintable(device));

        auto perixIo = [&](const QStringList& args) {
            QProcess tool;
            tool.start(QStringLiteral(PERIX_IO), QStringList{device} + args);
            tool.waitForFinished(5000);
            return Outcome{tool.exitCode(), QString::fromUtf8(tool.readAllStandardOutput()),
                           QString::fromUtf8(tool.readAllStandardError())};
        };
        Outcome r = perixIo({"read", "2"});
        QCOMPARE(r.status, 0);
        QCOMPARE(r.out, QStringLiteral("チャンネル 2: 99 / Channel 2 reads 99.\n"));
        r = perixIo({"set", "3", "on"});
        QCOMPARE(r.status, 0);
        QByteArray simSaid;
        QTRY_VERIFY_WITH_TIMEOUT(
            (simSaid += sim.readAllStandardOutput()).contains("Digital outputs: 8 = 00001000"),
            3000);

        {
            // Another program holds the port.
            QtSerialLink holder([&](int) { return device; });
            holder.open();
            r = perixIo({"read", "1"});
            QCOMPARE(r.status, int(PerixIoTool::PortBusy));
            QVERIFY2(
                r.err.endsWith(QStringLiteral("(ほかのプログラムが使っています)。 / Cannot open "
                                              "port %1: another program is using it.\n")
                                   .arg(device)),
                qPrintable(r.err));
        }

        sim.terminate();
        QVERIFY(sim.waitForFinished(5000));
        r = perixIo({"read", "1"});
        QCOMPARE(r.status, int(PerixIoTool::NoSuchPort));
#endif
    }
};

QTEST_MAIN(TestPerixIoTool)
#include "tst_PerixIoTool.moc"
