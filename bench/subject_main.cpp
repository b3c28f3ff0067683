// The program under measurement: Tolvane's main window, made and started as
// tolvane makes it, with hooks that print what bench_table needs. One mode
// per run:
//   accuracy APART SECONDS [ADAPTER]  simulated box, a pendulum passing the beam
//                           every APART s; per readout "R <tenths> <true interval s>",
//                           per new text "L <ms from the cut to the paint>". With
//                           ADAPTER, through a USB adapter whose latency timer
//                           runs out every ADAPTER ms
//   record APART SECONDS FOLDER [ADAPTER]  the same with "Kiroku=1" in a Tv.txt in
//                           FOLDER, which stands for the documents folder too: the
//                           record goes to FOLDER/Tolvane
//   drift SECONDS           simulated box, beam off the swing;
//                           "T <TenthCount> <Timer2 ticks> <ns since counting began>"
//   startup PORT            "S <monotonic ns>" once the display is first painted
//   cost PORT WARMUP SECONDS  "C <share of one core> <peak KiB> <wake-ups/s>" while measuring
//   search PORTS WARMUP SECONDS [SLOW]  the same with no box: PORTS, comma-separated,
//                           are the ports present, the first the named one; the
//                           device SLOW, one of them, takes 4 s to open
//   spin                    keeps one core busy until killed
#include "BenchPorts.h"
#include "CostProbe.h"
#include "PaintWatch.h"
#include "app/MainWindow.h"
#include "app/MessageBoxes.h"
#include "link/QtSerialLink.h"
#include "measuring/LineThread.h"
#include "measuring/PeriodText.h"
#include "record/RecordFile.h"
#include "sim/PendulumLight.h"
#include "sim/SimulatedPort.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QThread>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <numbers>
#include <optional>

namespace {

qint64 steadyNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

class SilentBoxes : public MessageBoxes {
public:
    bool askYesNo(QWidget*, const QString&, const QString&) override { return false; }
    void tell(QWidget*, const QString&, const QString&) override {}
    void warnWithoutWaiting(QWidget*, const QString&, const QString&) override {}
};

// Real time for the simulated box, moved ahead once so that the pendulum is
// where the measurement wants it when measuring begins.
class BenchClock : public SimClock {
public:
    // Read on the line's thread, moved on the window's.
    qint64 nowMicros() override { return (steadyNs() - m_origin) / 1000 + m_ahead.load(); }
    void sleepMicros(qint64 micros) override {
        if (micros > 0)
            QThread::usleep(static_cast<unsigned long>(micros));
    }
    void skipAhead(qint64 micros) { m_ahead += micros; }
    double seconds() { return double(nowMicros()) / 1e6; }

private:
    const qint64 m_origin = steadyNs();
    std::atomic<qint64> m_ahead = 0;
};

// The main window as tolvane runs it, with the line to the box on a thread
// of its own. `first` is connected to the line before the window is, so that
// it hears of each passage before the window has taken it.
struct Subject {
    ProgramValues v;
    SilentBoxes boxes;
    LineThread line;
    std::optional<MainWindow> window;

    explicit Subject(BoxLine::MakePort makePort, TenthClock::Now clock = TenthClock::steadyNow,
                     RecordPlace recordPlace = RecordPlace::standard(),
                     const std::function<void(BoxLine&)>& first = {})
        : line(std::move(makePort)) {
        if (first)
            first(line.line());
        window.emplace(
            v, line.line(), boxes, [] { QCoreApplication::exit(0); }, std::move(clock),
            std::move(recordPlace));
    }

    void start() {
        window->Form_Load();
        window->show();
    }
};

// A port made here, closed, for the line's thread to open and use.
BoxLine::MakePort handOver(std::unique_ptr<SerialLink> port) {
    auto held = std::make_shared<std::unique_ptr<SerialLink>>(std::move(port));
    return [held] { return std::move(*held); };
}

BoxLine::MakePort portAt(const QString& path) {
    return [path] { return std::make_unique<QtSerialLink>([path](int) { return path; }); };
}

void endAfter(double seconds) {
    QTimer::singleShot(int(seconds * 1000), [] { QCoreApplication::exit(0); });
}

int accuracy(QApplication& app, double apart, double seconds, int adapterMs,
             RecordPlace recordPlace = RecordPlace::standard()) {
    // The beam in the middle: two passages a swing. The bob goes through the
    // beam as fast as the demo's does (a 10 cm swing every 2.5 s), whatever the
    // period: a bob that crawls into the beam darkens it over several samples,
    // and the fall after a detection can then count once more as "0.1秒".
    PendulumLight::Setup pendulum;
    const double speed = 2 * std::numbers::pi * pendulum.amplitudeCm / pendulum.periodSeconds;
    pendulum.periodSeconds = 2 * apart;
    pendulum.amplitudeCm = speed * pendulum.periodSeconds / (2 * std::numbers::pi);
    pendulum.gateCm = 0;
    auto owned = std::make_unique<BenchClock>();
    BenchClock& clock = *owned;
    auto port = std::make_unique<SimulatedPort>(std::move(owned), pendulum);
    port->setAdapterLatency(qint64(adapterMs) * 1000);
    // The bob's centre is in the beam at k * apart seconds of box time; its
    // edge reaches the beam and the light starts to fall `lead` seconds
    // before: the cut.
    const double lead =
        std::asin((pendulum.bobRadiusCm + pendulum.beamWidthCm / 2) / pendulum.amplitudeCm) *
        pendulum.periodSeconds / (2 * std::numbers::pi);
    // Each passage is looked at once, as it comes, before the window takes
    // it: a second look after the window's could come after a tick of the
    // tenth clock and find the count going again. The window makes a readout
    // of the tenths counted, when there are any.
    std::optional<long> lastPassage;
    std::optional<double> cutShown; // the cut whose text is waiting to be painted
    Subject s(handOver(std::move(port)), TenthClock::steadyNow, std::move(recordPlace),
              [&](BoxLine& line) {
                  QObject::connect(&line, &BoxLine::passage, &app, [&] {
                      const int tenths = s.v.TenthCount;
                      if (tenths == 0)
                          return;
                      const long passage = std::lround((clock.seconds() + lead) / apart);
                      if (lastPassage)
                          std::printf("R %d %.6f\n", tenths,
                                      double(passage - *lastPassage) * apart);
                      lastPassage = passage;
                      // The same text again paints nothing new, so it has no latency.
                      if (s.window->Label1->text() != PeriodText(tenths))
                          cutShown = double(passage) * apart - lead;
                  });
              });
    s.start();

    // The first cut comes a second after start-up, whatever start-up took.
    const double firstCutAt = clock.seconds() + 1.0;
    const double k0 = std::ceil((firstCutAt + lead) / apart);
    clock.skipAhead(qint64((k0 * apart - lead - firstCutAt) * 1e6));

    PaintWatch watch(s.window->Label1, [&] {
        if (cutShown)
            std::printf("L %.3f\n", (clock.seconds() - *cutShown) * 1000);
        cutShown.reset();
    });
    endAfter(seconds);
    return app.exec();
}

// The accuracy run with the record switched on the way a teacher does it.
int record(QApplication& app, double apart, double seconds, const QString& folder, int adapterMs) {
    QFile tv(QDir(folder).filePath(QStringLiteral("Tv.txt")));
    if (!QDir::setCurrent(folder) || !tv.open(QIODevice::WriteOnly) ||
        tv.write("Kiroku=1\r\n") < 0) {
        std::fprintf(stderr, "cannot switch the record on in %s\n", qPrintable(folder));
        return 1;
    }
    tv.close();
    return accuracy(app, apart, seconds, adapterMs, RecordPlace::inDocuments(folder));
}

int drift(QApplication& app, double seconds) {
    PendulumLight::Setup pendulum;
    pendulum.gateCm = 3 * pendulum.amplitudeCm; // off the swing: the count runs on
    std::chrono::nanoseconds lastRead{};
    Subject s(
        [pendulum] {
            return std::make_unique<SimulatedPort>(std::make_unique<SteadyClock>(), pendulum);
        },
        [&] {
            lastRead = TenthClock::steadyNow();
            return lastRead;
        });
    s.window->Form_Load();
    // The clock's last reading in start-up is where counting began.
    const qint64 began = lastRead.count();
    s.window->show();
    int ticks = 0;
    QObject::connect(&s.window->Timer2, &QTimer::timeout, &app, [&] {
        ++ticks;
        const qint64 elapsed = steadyNs() - began;
        if (elapsed < qint64(seconds * 1e9))
            return;
        std::printf("T %d %d %lld\n", s.v.TenthCount, ticks, static_cast<long long>(elapsed));
        QCoreApplication::exit(0);
    });
    return app.exec();
}

int startup(QApplication& app, const QString& port) {
    Subject s(portAt(port));
    bool shown = false;
    PaintWatch watch(s.window->Label1, [&] {
        if (shown)
            return;
        shown = true;
        std::printf("S %lld\n", static_cast<long long>(steadyNs()));
        QTimer::singleShot(0, [] { QCoreApplication::exit(0); });
    });
    s.start();
    return app.exec();
}

int cost(QApplication& app, const QString& port, int warmup, int seconds) {
    Subject s(portAt(port));
    s.start();
    CostProbe::reportAfter(warmup, seconds);
    return app.exec();
}

int search(QApplication& app, const QStringList& ports, int warmup, int seconds,
           const QString& slow) {
    const auto present = std::make_shared<BenchPorts>(ports.value(0), ports, slow);
    Subject s([present] { return BenchPorts::lineOf(present); });
    s.start();
    CostProbe::reportAfter(warmup, seconds);
    return app.exec();
}

[[noreturn]] void spin() {
    volatile unsigned long n = 0;
    for (;;)
        n = n + 1;
}

} // namespace

int main(int argc, char** argv) {
    const QByteArray mode = argc > 1 ? argv[1] : "";
    if (mode == "spin")
        spin();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    const auto arg = [&](int i) { return QString::fromLocal8Bit(i < argc ? argv[i] : ""); };
    if (mode == "accuracy" && (argc == 4 || argc == 5))
        return accuracy(app, arg(2).toDouble(), arg(3).toDouble(), arg(4).toInt());
    if (mode == "record" && (argc == 5 || argc == 6))
        return record(app, arg(2).toDouble(), arg(3).toDouble(), arg(4), arg(5).toInt());
    if (mode == "drift" && argc == 3)
        return drift(app, arg(2).toDouble());
    if (mode == "startup" && argc == 3)
        return startup(app, arg(2));
    if (mode == "cost" && argc == 5)
        return cost(app, arg(2), arg(3).toInt(), arg(4).toInt());
    if (mode == "search" && (argc == 5 || argc == 6))
        return search(app, arg(2).split(QLatin1Char(',')), arg(3).toInt(), arg(4).toInt(), arg(5));
    std::fprintf(stderr, "usage: see the comment at the top of subject_main.cpp\n");
    return 2;
}
