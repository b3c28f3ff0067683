#include "QuitOnSignals.h"
#include "sim/PendulumLight.h"
#include "sim/PtyBox.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTextStream>
#include <QTimer>
#include <cstdio>
#include <cstdlib>

// perix-sim: a simulated Perix box, with a swinging pendulum in front of its
// light sensor, on a pseudo-terminal. Prints the device to open, then every
// value the programs on the line write to the box. On request the box
// misbehaves, so that a program can be tried against a faulty box. Ctrl+C,
// kill and a closed terminal end it cleanly: the box's folder and link go.
namespace {

int numberOption(const QCommandLineParser& parser, const QString& name, int most) {
    bool ok = false;
    const int value = parser.value(name).toInt(&ok);
    if (!ok || value < 0 || value > most) {
        QTextStream(stderr)
            << QStringLiteral("--%1 は 0〜%2 です。 / --%1 must be 0 to %2.\n").arg(name).arg(most);
        std::exit(2);
    }
    return value;
}

int byteOption(const QCommandLineParser& parser, const QString& name) {
    return numberOption(parser, name, 255);
}

// What --garbage sends after the identity: bytes no box would send.
const QByteArray Garbage("\x8B\x00\xFE#?garbage", 12);

void say(const QString& line) {
    QTextStream(stdout) << line << '\n';
    std::fflush(stdout); // a pipe or a file reads each line as it comes
}

// Serves the box until the event loop ends; `endedBy` tells the signal that
// ended it, if one did.
int serve(int argc, char** argv, int& endedBy) {
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Perix ボックスのシミュレーター / A simulated Perix box"));
    parser.addHelpOption();
    parser.addOption({QStringLiteral("analog2"),
                      QStringLiteral("チャンネル 2 の値 / channel 2's value (0..255)"),
                      QStringLiteral("N"), QStringLiteral("0")});
    parser.addOption({QStringLiteral("inputs"),
                      QStringLiteral("デジタル入力のバイト / the digital inputs' byte (0..255)"),
                      QStringLiteral("N"), QStringLiteral("0")});
    parser.addOption({QStringLiteral("silent"),
                      QStringLiteral("何も答えない / answer nothing, not even the probe")});
    parser.addOption({QStringLiteral("late"),
                      QStringLiteral("答えを N ms 遅らせる / answer N ms late"),
                      QStringLiteral("N"), QStringLiteral("0")});
    parser.addOption({QStringLiteral("adapter-latency"),
                      QStringLiteral("USB アダプターのように、送るものを MS ms ごとにまとめて渡す "
                                     "(FTDI は 16、0 はなし) / hand everything over each time an "
                                     "MS ms timer runs out, as a USB adapter does (FTDI: 16, 0: "
                                     "none)"),
                      QStringLiteral("MS"), QStringLiteral("0")});
    parser.addOption({QStringLiteral("garbage"),
                      QStringLiteral("名前のあとにゴミを送る / send garbage after the identity")});
    parser.addOption({QStringLiteral("flood"),
                      QStringLiteral("明るさを回線の速さで送り続ける / send the brightness "
                                     "unasked, as fast as the line runs")});
    parser.addOption({QStringLiteral("hang-up-after"),
                      QStringLiteral("S 秒後に回線を切る / hang up the line after S seconds"),
                      QStringLiteral("S")});
    parser.addOption({QStringLiteral("back-after"),
                      QStringLiteral("切ってから N 秒後に戻る / come back N seconds after "
                                     "hanging up"),
                      QStringLiteral("N")});
    parser.process(app);
    const int analog2 = byteOption(parser, QStringLiteral("analog2"));
    const int inputs = byteOption(parser, QStringLiteral("inputs"));
    PtyBox::Faults faults;
    faults.silent = parser.isSet(QStringLiteral("silent"));
    faults.lateMs = numberOption(parser, QStringLiteral("late"), 60000);
    faults.adapterLatencyMs = numberOption(parser, QStringLiteral("adapter-latency"), 1000);
    if (parser.isSet(QStringLiteral("garbage")))
        faults.afterIdentity = Garbage;
    faults.flood = parser.isSet(QStringLiteral("flood"));
    const bool hangsUp = parser.isSet(QStringLiteral("hang-up-after"));
    const int hangUpAfter =
        hangsUp ? numberOption(parser, QStringLiteral("hang-up-after"), 86400) : 0;
    const bool comesBack = parser.isSet(QStringLiteral("back-after"));
    const int backAfter = comesBack ? numberOption(parser, QStringLiteral("back-after"), 86400) : 0;

    // From here on a signal ends the loop, and the box below cleans up after it.
    QuitOnSignals quitOnSignals;
    PendulumLight light;
    QElapsedTimer sinceStart;
    sinceStart.start();
    PtyBox box([&] { return light.brightnessAt(double(sinceStart.nsecsElapsed()) / 1e9); }, faults);
    box.withBox([&](PerixBoxModel& m) {
        m.setAnalog2(analog2);
        m.setDigitalInputs(inputs);
    });

    // The link keeps its name when the box comes back on a new pseudo-terminal.
    say(box.stablePath());
    say(QStringLiteral("上のデバイスをポートに指定して下さい。Ctrl+C で終わります。 / Give the "
                       "device above as the port. Ctrl+C ends."));

    if (hangsUp) {
        QTimer::singleShot(hangUpAfter * 1000, [&] {
            box.unplug();
            say(QStringLiteral("回線を切りました。 / Hung up the line."));
            if (!comesBack)
                return;
            QTimer::singleShot(backAfter * 1000, [&] {
                box.plugIn();
                say(QStringLiteral("戻りました (%1)。 / Back on the line (%1).")
                        .arg(box.slavePath()));
            });
        });
    }

    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        const auto writes = box.withBox([](PerixBoxModel& m) { return m.takeWrites(); });
        for (const PerixBoxModel::Write& w : writes) {
            if (w.channel == 3)
                say(QStringLiteral("デジタル出力: %1 = %2 / Digital outputs: %1 = %2")
                        .arg(w.value)
                        .arg(w.value, 8, 2, QLatin1Char('0')));
            else
                say(QStringLiteral("チャンネル %1 に %2 / Channel %1 written: %2")
                        .arg(w.channel)
                        .arg(w.value));
        }
    });
    watch.start(50);
    const int status = app.exec();
    endedBy = quitOnSignals.caught();
    return status;
}

} // namespace

int main(int argc, char** argv) {
    int endedBy = 0;
    const int status = serve(argc, argv, endedBy);
    if (endedBy != 0)
        QuitOnSignals::endBy(endedBy);
    return status;
}
