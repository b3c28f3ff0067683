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
// value the programs on the line write to the box.
namespace {

int byteOption(const QCommandLineParser& parser, const QString& name) {
    bool ok = false;
    const int value = parser.value(name).toInt(&ok);
    if (!ok || value < 0 || value > 255) {
        QTextStream(stderr)
            << QStringLiteral("--%1 は 0〜255 です。 / --%1 must be 0 to 255.\n").arg(name);
        std::exit(2);
    }
    return value;
}

void say(const QString& line) {
    QTextStream(stdout) << line << '\n';
    std::fflush(stdout); // a pipe or a file reads each line as it comes
}

} // namespace

int main(int argc, char** argv) {
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
    parser.process(app);
    const int analog2 = byteOption(parser, QStringLiteral("analog2"));
    const int inputs = byteOption(parser, QStringLiteral("inputs"));

    PendulumLight light;
    QElapsedTimer sinceStart;
    sinceStart.start();
    PtyBox box([&] { return light.brightnessAt(double(sinceStart.nsecsElapsed()) / 1e9); });
    box.withBox([&](PerixBoxModel& m) {
        m.setAnalog2(analog2);
        m.setDigitalInputs(inputs);
    });

    say(box.slavePath());
    say(QStringLiteral("上のデバイスをポートに指定して下さい。Ctrl+C で終わります。 / Give the "
                       "device above as the port. Ctrl+C ends."));

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
    return app.exec();
}
