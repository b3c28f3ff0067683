#include "CommandLine.h"

#include "core/TwoLanguages.h"

#include <QCommandLineParser>
#include <algorithm>
#include <cstdio>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace CommandLine {

namespace {

// tolvane-demo --report-after: at least a second, at most ten minutes.
constexpr int FewestReportSeconds = 1;
constexpr int MostReportSeconds = 600;

using TwoLanguages::both;

QString programName(Program program) {
    return program == Program::Tolvane ? QStringLiteral("tolvane") : QStringLiteral("tolvane-demo");
}

QString asTyped(const QString& optionName) {
    return (optionName.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + optionName;
}

Answer badUsage(Program program, const QString& problem) {
    return {BadUsage, problem + QLatin1Char('\n') + usage(program)};
}

} // namespace

std::variant<StartOptions, Answer> read(Program program, const QStringList& arguments) {
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, QString());
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")}, QString());
    const QCommandLineOption port(QStringLiteral("port"), QString(), QStringLiteral("DEVICE"));
    const QCommandLineOption reportAfter(QStringLiteral("report-after"), QString(),
                                         QStringLiteral("SECONDS"));
    // Each program has one option that takes a value.
    const QCommandLineOption& withValue = program == Program::Tolvane ? port : reportAfter;

    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.addOptions({help, version, withValue});
    if (!parser.parse(QStringList{programName(program)} + arguments)) {
        const QStringList unknown = parser.unknownOptionNames();
        if (!unknown.isEmpty())
            return badUsage(
                program,
                both(QStringLiteral("「%1」というオプションはありません。")
                         .arg(asTyped(unknown.first())),
                     QStringLiteral("Unknown option \"%1\".").arg(asTyped(unknown.first()))));
        const QString name = asTyped(withValue.names().first());
        return badUsage(
            program,
            both(QStringLiteral("%1 のあとに %2 を書いて下さい。").arg(name, withValue.valueName()),
                 QStringLiteral("%1 needs a %2 after it.").arg(name, withValue.valueName())));
    }
    if (!parser.positionalArguments().isEmpty()) {
        const QString extra = parser.positionalArguments().first();
        return badUsage(program, both(QStringLiteral("「%1」は分かりません。").arg(extra),
                                      QStringLiteral("Unexpected argument \"%1\".").arg(extra)));
    }
    if (parser.isSet(help))
        return Answer{Done, usage(program)};
    if (parser.isSet(version))
        return Answer{Done, QStringLiteral("%1 %2\n").arg(programName(program),
                                                          QStringLiteral(TOLVANE_VERSION))};

    StartOptions options;
    if (!parser.isSet(withValue))
        return options;
    const QString value = parser.value(withValue);
    if (program == Program::Tolvane) {
        options.port = value;
        if (options.port.isEmpty())
            return badUsage(program, both(QStringLiteral("--port のデバイス名が空です。"),
                                          QStringLiteral("--port needs a device name.")));
        return options;
    }
    bool ok = false;
    options.reportAfterSeconds = value.toInt(&ok);
    if (!ok || options.reportAfterSeconds < FewestReportSeconds ||
        options.reportAfterSeconds > MostReportSeconds)
        return badUsage(program, both(QStringLiteral("--report-after は %1〜%2 秒です (%3)。")
                                          .arg(FewestReportSeconds)
                                          .arg(MostReportSeconds)
                                          .arg(value),
                                      QStringLiteral("--report-after must be %1 to %2 seconds, "
                                                     "not %3.")
                                          .arg(FewestReportSeconds)
                                          .arg(MostReportSeconds)
                                          .arg(value)));
    return options;
}

QString usage(Program program) {
    struct Line {
        QString option; // empty: the text goes on from the line above
        QString text;
    };
    QList<Line> lines;
    QString head;
    QString tail;
    if (program == Program::Tolvane) {
        head = QStringLiteral("使い方 / Usage: tolvane [--port DEVICE]\n"
                              "Perix と光センサーで振り子の周期をはかります。 / Measures a "
                              "pendulum's period with the Perix box and a light sensor.\n");
        lines << Line{QStringLiteral("--port DEVICE"),
                      QStringLiteral("Tv.txt の Port= (COM1〜COM4) の代わりに DEVICE だけを使う / "
                                     "use DEVICE only, instead of COM1 to COM4 from Port= in "
                                     "Tv.txt")}
              << Line{QString(), QStringLiteral("(/dev/ttyUSB0、perix-sim のデバイス、Windows "
                                                "では COM5 など / such as /dev/ttyUSB0, "
                                                "perix-sim's device, COM5 on Windows)")};
        tail = QStringLiteral(
            "オプションなしでは Tv.txt の設定で起動します。 / Without options it starts with the "
            "settings in Tv.txt.\n"
            "Perix が答えないときはほかのシリアルポートも探します。Bluetooth のポートと USB CDC "
            "の機器 (マイコンボード、モデム、Linux の ttyACM) には触れません。 / When the box "
            "does not answer, the other serial ports are searched; Bluetooth links and USB CDC "
            "devices (boards, modems, ttyACM on Linux) are left alone.\n"
            "探さないポートは Tv.txt の Port= (COM1〜COM4) か --port DEVICE で指定します。 / "
            "Name a port the search skips with Port= in Tv.txt (COM1 to COM4) or --port "
            "DEVICE.\n");
    } else {
        head = QStringLiteral("使い方 / Usage: tolvane-demo [--report-after SECONDS]\n"
                              "Perix と振り子のシミュレーターで動く Tolvane です。 / Tolvane on "
                              "a simulated Perix box and pendulum.\n");
        lines << Line{QStringLiteral("--report-after SECONDS"),
                      QStringLiteral("%1〜%2 秒後に表示とボタンの文字を出力して終わる / after "
                                     "SECONDS (%1 to %2), print the display and the button "
                                     "texts and end")
                          .arg(FewestReportSeconds)
                          .arg(MostReportSeconds)};
    }
    lines << Line{QStringLiteral("-h, --help"),
                  QStringLiteral("この説明を表示 / print this summary")}
          << Line{QStringLiteral("-v, --version"), QStringLiteral("版を表示 / print the version")};

    qsizetype width = 0;
    for (const Line& line : lines)
        width = std::max(width, line.option.size());
    QString text = head;
    for (const Line& line : lines)
        text += QStringLiteral("  %1   %2\n").arg(line.option, -int(width)).arg(line.text);
    // Where the figures are, since no menu command names them.
    return text + tail +
           QStringLiteral("表示を右クリックして「きろく」を選ぶと、間隔の表とグラフ、平均、周期 T、"
                          "長さからの g が出ます。 / Right-click the display and choose "
                          "きろく for the intervals as a table and a graph, their average, the "
                          "period T and g from the pendulum's length.\n");
}

QStringList argumentsOf(int argc, char** argv) {
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

int print(const Answer& answer) {
#ifdef Q_OS_WIN
    // A window program started from a command prompt has no standard output
    // of its own: write into the prompt's console.
    if (!GetStdHandle(STD_OUTPUT_HANDLE) && AttachConsole(ATTACH_PARENT_PROCESS)) {
        std::freopen("CONOUT$", "w", stdout);
        std::freopen("CONOUT$", "w", stderr);
    }
#endif
    std::FILE* stream = answer.exitStatus == Done ? stdout : stderr;
    std::fputs(answer.text.toUtf8().constData(), stream);
    std::fflush(stream);
    return answer.exitStatus;
}

} // namespace CommandLine
