#include "tools/perix-io/PerixIoTool.h"

#include "core/TwoLanguages.h"
#include "link/ComPortName.h"
#include "link/LinkStartup.h"
#include "link/PerixIo.h"
#include "link/PortKind.h"
#include "link/ProbeSchedule.h"
#include "link/QtSerialLink.h"

#include <QFile>
#include <QRegularExpression>
#include <optional>
#include <utility>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace PerixIoTool {

namespace {

using TwoLanguages::both;

bool isWholeNumber(const QString& text) {
    static const QRegularExpression number(QStringLiteral("^[+-]?[0-9]+$"));
    return number.match(text).hasMatch();
}

// The number in text when it lies in lo..hi.
std::optional<int> numberIn(const QString& text, int lo, int hi) {
    bool ok = false;
    const int n = text.toInt(&ok);
    if (!ok || n < lo || n > hi)
        return std::nullopt;
    return n;
}

QString binary(int byte) {
    return QStringLiteral("%1").arg(byte, 8, 2, QLatin1Char('0'));
}

QString portLabel(const Command& c) {
    if (c.port == c.device)
        return c.device;
    return QStringLiteral("COM%1 (%2)").arg(c.port, c.device);
}

// What to write instead of "COMn" where ports are not called so, in Japanese
// and in English, or nothing.
std::optional<std::pair<QString, QString>> comNameHint([[maybe_unused]] const QString& port) {
#ifdef Q_OS_WIN
    return std::nullopt;
#else
    static const QRegularExpression com(QStringLiteral("^com([0-9]+)$"),
                                        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch typed = com.match(port);
    if (!typed.hasMatch())
        return std::nullopt;
    const auto n = numberIn(typed.captured(1), 1, 4);
    if (!n)
        return std::pair(QStringLiteral("Linux ではポート番号 (1〜4) かデバイス名を書いて下さい。"),
                         QStringLiteral("On Linux, give a port number (1 to 4) or a device name."));
    return std::pair(
        QStringLiteral("Linux では %1 の代わりに %2 と書いて下さい。").arg(port).arg(*n),
        QStringLiteral("On Linux, write %2 for %1.").arg(port).arg(*n));
#endif
}

// A device that is there but no serial port (a plain file, a folder,
// /dev/null), which the port itself reports only in the system's own words.
bool isNoSerialPort([[maybe_unused]] const QString& device) {
#ifdef Q_OS_UNIX
    const QByteArray path = QFile::encodeName(device);
    struct stat status {};
    if (::stat(path.constData(), &status) != 0)
        return false;
    if (!S_ISCHR(status.st_mode))
        return true;
    const int fd = ::open(path.constData(), O_RDONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool terminal = ::isatty(fd) == 1;
    ::close(fd);
    return !terminal;
#else
    return false;
#endif
}

QString openFailure(const Command& c, PortOpenError::Reason reason, const char* detail) {
    const QString port = portLabel(c);
    switch (reason) {
    case PortOpenError::Reason::NoSuchPort: {
        QString ja = QStringLiteral("ポート %1 を開けません (ありません)。").arg(port);
        QString en = QStringLiteral("Cannot open port %1: no such port.").arg(port);
        if (const auto hint = comNameHint(c.port)) {
            ja += hint->first;
            en += QLatin1Char(' ') + hint->second;
        }
        return both(ja, en);
    }
    case PortOpenError::Reason::Busy:
        return both(
            QStringLiteral("ポート %1 を開けません (ほかのプログラムが使っています)。").arg(port),
            QStringLiteral("Cannot open port %1: another program is using it.").arg(port));
    case PortOpenError::Reason::NotAllowed:
        return both(QStringLiteral("ポート %1 を開けません (使う権限がありません)。").arg(port),
                    QStringLiteral("Cannot open port %1: permission denied.").arg(port));
    case PortOpenError::Reason::Other:
        break;
    }
    if (isNoSerialPort(c.device))
        return both(
            QStringLiteral("ポート %1 を開けません (シリアルポートではありません)。").arg(port),
            QStringLiteral("Cannot open port %1: it is not a serial port.").arg(port));
    return both(QStringLiteral("ポート %1 を開けません。").arg(port),
                QStringLiteral("Cannot open port %1.").arg(port)) +
           QStringLiteral(" (%1)").arg(QString::fromUtf8(detail));
}

QString noAnswer(const Command& c) {
    const QString port = portLabel(c);
    return both(QStringLiteral("ポート %1 の Perix が応答しません。ケーブル、電源、ポート番号を"
                               "確認して下さい。")
                    .arg(port),
                QStringLiteral("No answer from a Perix box on port %1. Check the cable, the "
                               "power and the port number.")
                    .arg(port));
}

// Wakes the box and asks who it is, as the measuring program does at start.
bool boxAnswers(SerialLink& link) {
    link.readAll(); // whatever an earlier user of the line left behind
    return LinkStartup::wakeAndProbe(link, LinkStartup::runStrictly);
}

// Runs the routine and says what came of it.
QString perform(const Command& c, SerialLink& link) {
    ProgramValues v; // a fresh start: DigitalShadow 0, as after start-up
    PerixIo io(v, link);
    switch (c.action) {
    case Command::Action::Read:
        v.ChannelNo = std::int16_t(c.number);
        io.PerixInput();
        return both(QStringLiteral("チャンネル %1: %2").arg(c.number).arg(v.DataValue),
                    QStringLiteral("Channel %1 reads %2.").arg(c.number).arg(v.DataValue));
    case Command::Action::Write:
        v.ChannelNo = std::int16_t(c.number);
        v.DataValue = std::int16_t(c.value);
        io.PerixOutPut();
        return both(
            QStringLiteral("チャンネル %1 に %2 を書き込みました。").arg(c.number).arg(v.DataValue),
            QStringLiteral("Wrote %2 to channel %1.").arg(c.number).arg(v.DataValue));
    case Command::Action::Bit: {
        v.DigitalBitNo = std::int16_t(c.number);
        io.PerixDigInput();
        const bool on = v.DigitalBit != 0;
        return both(QStringLiteral("デジタル入力 %1: %2 (入力バイト %3 = %4)")
                        .arg(c.number)
                        .arg(on ? QStringLiteral("オン") : QStringLiteral("オフ"))
                        .arg(v.DataValue)
                        .arg(binary(v.DataValue)),
                    QStringLiteral("Digital input %1 is %2 (input byte %3 = %4).")
                        .arg(c.number)
                        .arg(on ? QStringLiteral("on") : QStringLiteral("off"))
                        .arg(v.DataValue)
                        .arg(binary(v.DataValue)));
    }
    case Command::Action::Set: {
        v.DigitalBitNo = std::int16_t(c.number);
        v.DigitalBit = std::int16_t(c.value);
        io.PerixDigOutput();
        const bool on = c.value != 0;
        return both(
            QStringLiteral("デジタル出力 %1 を%2にしました (出力バイト %3 = %4、ほかの出力は"
                           "オフ)。")
                .arg(c.number)
                .arg(on ? QStringLiteral("オン") : QStringLiteral("オフ"))
                .arg(v.DigitalShadow)
                .arg(binary(v.DigitalShadow)),
            QStringLiteral("Digital output %1 is now %2 (output byte %3 = %4, the other "
                           "outputs off).")
                .arg(c.number)
                .arg(on ? QStringLiteral("on") : QStringLiteral("off"))
                .arg(v.DigitalShadow)
                .arg(binary(v.DigitalShadow)));
    }
    }
    return {};
}

// What a probe of one port found, in Japanese and English.
QString probeOutcome(const QString& device, const LinkMaker& makeLink, bool& boxThere) {
    boxThere = false;
    const std::unique_ptr<SerialLink> link = makeLink(device);
    try {
        LinkStartup::openLine(*link, LinkStartup::runStrictly);
    } catch (const PortOpenError& e) {
        switch (e.reason()) {
        case PortOpenError::Reason::Busy:
            return both(QStringLiteral("ほかのプログラムが使用中"),
                        QStringLiteral("in use by another program"));
        case PortOpenError::Reason::NotAllowed:
            return both(QStringLiteral("使う権限がありません"),
                        QStringLiteral("permission denied"));
        default:
            return both(QStringLiteral("開けません"), QStringLiteral("cannot open"));
        }
    } catch (const LinkError&) {
        return both(QStringLiteral("開けません"), QStringLiteral("cannot open"));
    }
    try {
        boxThere = boxAnswers(*link);
    } catch (const LinkError&) {
    }
    return boxThere ? both(QStringLiteral("Perix が応答しました"),
                           QStringLiteral("the Perix box answers"))
                    : both(QStringLiteral("応答なし"), QStringLiteral("no answer"));
}

// Why the search leaves a port alone, in Japanese and English.
QString whyLeftAlone(const PortSearch::PresentPort& port) {
    switch (portKind(port, ThisPlatform)) {
    case PortKind::BluetoothLink:
        return both(QStringLiteral("Bluetooth のポートです (開くと相手の機器を呼び出し、"
                                   "時間がかかります)"),
                    QStringLiteral("a Bluetooth link (opening it calls the paired device, which "
                                   "takes seconds)"));
    case PortKind::UsbCdcDevice:
        return both(QStringLiteral("USB CDC の機器です (マイコンボード、モデム、3D プリンター"
                                   "など。開くとリセットされることがあります)"),
                    QStringLiteral("a USB CDC device (a microcontroller board, a modem, a 3D "
                                   "printer; opening it may reset it)"));
    case PortKind::MayBeTheBox:
        break;
    }
    return both(QStringLiteral("今回は調べません"), QStringLiteral("not probed this time"));
}

// perix-io find: the ports the measuring program's search probes first, in
// its order, and whether the box answers there; then the ports it leaves
// alone, and why. A port named with --port is probed whatever it is.
int find(const QString& named, QTextStream& out, QTextStream& err, const LinkMaker& makeLink,
         const PortSearch::PresentPorts& present) {
    const QList<PortSearch::PresentPort> ports = present();
    ProbeSchedule schedule;
    const ProbeSchedule::Round round = schedule.round(named, ports, 0);
    if (round.probe.isEmpty() && round.leftAlone.isEmpty()) {
        err << both(QStringLiteral("シリアルポートが見つかりません。"),
                    QStringLiteral("No serial ports found."))
            << '\n';
        return NoAnswer;
    }
    QStringList found;
    for (const QString& device : round.probe) {
        bool boxThere = false;
        out << device << ": " << probeOutcome(device, makeLink, boxThere) << '\n';
        if (boxThere)
            found << device;
    }
    if (!round.leftAlone.isEmpty()) {
        out << both(QStringLiteral("調べなかったポート:"), QStringLiteral("Ports left alone:"))
            << '\n';
        for (const ProbeSchedule::Skipped& skipped : round.leftAlone)
            out << skipped.device << ": "
                << whyLeftAlone(PortSearch::entryOf(skipped.device, ports)) << '\n';
        const QString example =
            QStringLiteral("perix-io find --port %1").arg(round.leftAlone.first().device);
        out << both(QStringLiteral("調べるには --port で指定して下さい (%1)。").arg(example),
                    QStringLiteral("Name one with --port to probe it (%1).").arg(example))
            << '\n';
    }
    if (found.isEmpty()) {
        err << both(QStringLiteral("どのポートでも Perix が応答しません。ケーブルと電源を確認して"
                                   "下さい。"),
                    QStringLiteral("No Perix box answers on any port. Check the cable and the "
                                   "power."))
            << '\n';
        return NoAnswer;
    }
    out << both(QStringLiteral("Perix は %1 にあります。").arg(found.first()),
                QStringLiteral("The Perix box is on %1.").arg(found.first()))
        << '\n';
    return Done;
}

// PORT as given: 1..4 stands for COM n's device, anything else is a device.
std::variant<Command, QString> portOf(const QString& port, const ComPortNamer& namer) {
    Command c;
    c.port = port;
    c.device = port;
    if (isWholeNumber(port)) {
        const auto n = numberIn(port, 1, 4);
        if (!n)
            return both(QStringLiteral("ポート番号は 1〜4 です (%1)。").arg(port),
                        QStringLiteral("The port number must be 1 to 4, not %1.").arg(port));
        c.port = QString::number(*n);
        c.device = namer(*n);
    }
    return c;
}

// find [--port PORT]: the device named, empty without --port.
std::variant<Command, QString> parseFind(const QStringList& args, const ComPortNamer& namer) {
    if (args.size() == 1)
        return Command{};
    if (args.at(1) != QLatin1String("--port"))
        return both(QStringLiteral("「%1」は分かりません。").arg(args.at(1)),
                    QStringLiteral("Unexpected argument \"%1\".").arg(args.at(1)));
    if (args.size() == 2)
        return both(QStringLiteral("--port のあとに PORT を書いて下さい。"),
                    QStringLiteral("--port needs a PORT after it."));
    if (args.size() > 3)
        return both(QStringLiteral("引数が多すぎます。"), QStringLiteral("Too many arguments."));
    return portOf(args.at(2), namer);
}

} // namespace

std::variant<Command, QString> parse(const QStringList& args, const ComPortNamer& namer) {
    if (args.size() < 3)
        return both(QStringLiteral("引数が足りません。"), QStringLiteral("Too few arguments."));
    auto port = portOf(args.at(0), namer);
    if (std::holds_alternative<QString>(port))
        return port;
    Command c = std::get<Command>(port);

    const QString& verb = args.at(1);
    const QString& number = args.at(2);
    int wanted = 3;
    if (verb == QLatin1String("read") || verb == QLatin1String("write")) {
        c.action = verb == QLatin1String("read") ? Command::Action::Read : Command::Action::Write;
        const auto channel = numberIn(number, 1, 3);
        if (!channel)
            return both(QStringLiteral("チャンネルは 1〜3 です (%1)。").arg(number),
                        QStringLiteral("The channel must be 1 to 3, not %1.").arg(number));
        c.number = *channel;
        wanted = c.action == Command::Action::Write ? 4 : 3;
    } else if (verb == QLatin1String("bit") || verb == QLatin1String("set")) {
        c.action = verb == QLatin1String("bit") ? Command::Action::Bit : Command::Action::Set;
        const auto bit = numberIn(number, 0, 7);
        if (!bit)
            return both(QStringLiteral("ビット番号は 0〜7 です (%1)。").arg(number),
                        QStringLiteral("The bit number must be 0 to 7, not %1.").arg(number));
        c.number = *bit;
        wanted = c.action == Command::Action::Set ? 4 : 3;
    } else {
        return both(QStringLiteral("「%1」というコマンドはありません。").arg(verb),
                    QStringLiteral("Unknown command \"%1\".").arg(verb));
    }
    if (args.size() < wanted)
        return both(QStringLiteral("引数が足りません。"), QStringLiteral("Too few arguments."));
    if (args.size() > wanted)
        return both(QStringLiteral("引数が多すぎます。"), QStringLiteral("Too many arguments."));

    if (c.action == Command::Action::Write) {
        const auto value = numberIn(args.at(3), 0, 255);
        if (!value)
            return both(QStringLiteral("値は 0〜255 です (%1)。").arg(args.at(3)),
                        QStringLiteral("The value must be 0 to 255, not %1.").arg(args.at(3)));
        c.value = *value;
    } else if (c.action == Command::Action::Set) {
        const QString state = args.at(3).toLower();
        if (state == QLatin1String("on") || state == QLatin1String("1"))
            c.value = 1;
        else if (state == QLatin1String("off") || state == QLatin1String("0"))
            c.value = 0;
        else
            return both(QStringLiteral("on か off を指定して下さい (%1)。").arg(args.at(3)),
                        QStringLiteral("Give on or off, not %1.").arg(args.at(3)));
    }
    return c;
}

QString usage() {
    return QStringLiteral(
        "使い方 / Usage:\n"
        "  perix-io PORT read CH          チャンネル CH (1〜3) を読む / read channel CH (1 to 3)\n"
        "  perix-io PORT write CH VALUE   チャンネル CH に VALUE (0〜255) を書く / write VALUE "
        "(0 to 255) to channel CH\n"
        "  perix-io PORT bit N            デジタル入力 N (0〜7) を読む / read digital input N "
        "(0 to 7)\n"
        "  perix-io PORT set N on|off     デジタル出力 N (0〜7) をオン・オフ / set digital "
        "output N (0 to 7) on or off\n"
        "  perix-io find [--port PORT]    Tolvane が調べるポートと、Perix が応答するポート / "
        "probe the ports Tolvane searches and name the one the box answers on\n"
        "find は Bluetooth のポートと USB CDC の機器 (マイコンボード、モデムなど。Linux では "
        "ttyACM) を調べず、理由を表示します。--port で指定したポートは必ず調べます。 / find "
        "leaves Bluetooth links and USB CDC devices (boards, modems; ttyACM on Linux) alone and "
        "says why; a port named with --port is always probed.\n"
        "PORT: 1〜4 (COM1〜COM4) またはデバイス名 (/dev/ttyUSB0 など) / 1 to 4 (COM1 to COM4) "
        "or a device name such as /dev/ttyUSB0\n"
        "set はほかの 7 本の出力をオフにします (出力は読み戻せないため)。 / set turns the other "
        "seven outputs off (outputs cannot be read back).\n"
        "find は見つかれば 0、なければ 1 で終わります。 / find ends with 0 when the box is "
        "found, 1 when not.\n"
        "終了コード / Exit status: 0 成功 / done, 1 応答なし / no answer, 2 使い方の誤り / bad "
        "usage, 3 ポートなし / no such port, 4 使用中 / port busy, 5 その他 / cannot open "
        "otherwise\n");
}

std::unique_ptr<SerialLink> realLink(const QString& device) {
    return std::make_unique<QtSerialLink>([device](int) { return device; });
}

int run(const QStringList& args, QTextStream& out, QTextStream& err, const LinkMaker& makeLink,
        const ComPortNamer& namer, const PortSearch::PresentPorts& present) {
    if (args.size() == 1 &&
        (args.at(0) == QLatin1String("-h") || args.at(0) == QLatin1String("--help"))) {
        out << usage();
        return Done;
    }
    const bool finding = !args.isEmpty() && args.at(0) == QLatin1String("find");
    const auto parsed = finding ? parseFind(args, namer) : parse(args, namer);
    if (const auto* problem = std::get_if<QString>(&parsed)) {
        err << *problem << '\n' << usage();
        return BadUsage;
    }
    const Command& c = std::get<Command>(parsed);
    if (finding)
        return find(c.device, out, err, makeLink, present);

    const std::unique_ptr<SerialLink> link = makeLink(c.device);
    try {
        LinkStartup::openLine(*link, LinkStartup::runStrictly);
    } catch (const PortOpenError& e) {
        err << openFailure(c, e.reason(), e.what()) << '\n';
        return e.reason() == PortOpenError::Reason::NoSuchPort ? NoSuchPort
               : e.reason() == PortOpenError::Reason::Busy     ? PortBusy
                                                               : CannotOpen;
    } catch (const LinkError& e) {
        err << openFailure(c, PortOpenError::Reason::Other, e.what()) << '\n';
        return CannotOpen;
    }

    try {
        if (!boxAnswers(*link)) {
            err << noAnswer(c) << '\n';
            return NoAnswer;
        }
        out << perform(c, *link) << '\n';
        return Done;
    } catch (const NoReplyError&) {
        err << noAnswer(c) << '\n';
        return NoAnswer;
    } catch (const LinkError& e) {
        const QString port = portLabel(c);
        const QString detail = QString::fromUtf8(e.what());
        err << both(QStringLiteral("ポート %1 との通信に失敗しました (%2)。").arg(port, detail),
                    QStringLiteral("The link on port %1 failed: %2.").arg(port, detail))
            << '\n';
        return NoAnswer;
    }
}

} // namespace PerixIoTool
