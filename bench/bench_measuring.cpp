// Prints what start-up and the sampling tick cost, and whether memory grows
// over a long run. Figures only; nothing here passes or fails.
#include "app/MainWindow.h"
#include "app/MessageBoxes.h"
#include "link/QtSerialLink.h"
#include "sim/PseudoTerminal.h"
#include "sim/PtyBox.h"
#include "sim/SimulatedPort.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <cstdio>

namespace {

class SilentBoxes : public MessageBoxes {
public:
    bool askYesNo(QWidget*, const QString&, const QString&) override { return false; }
    void tell(QWidget*, const QString&, const QString&) override {}
    void warnWithoutWaiting(QWidget*, const QString&, const QString&) override {}
};

long rssKiB() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    return -1;
}

// A clock for the simulated box that runs as fast as the benchmark calls it.
class FastClock : public SimClock {
public:
    qint64 now = 0;
    qint64 nowMicros() override { return now; }
    void sleepMicros(qint64 micros) override { now += micros; }
};

// The window with its line on the same thread, so that the bench can fire
// the line's ticks itself.
struct BenchWindow {
    ProgramValues v;
    SilentBoxes boxes;
    BoxLine line;
    MainWindow window{v, line, boxes, [] {}};
    explicit BenchWindow(BoxLine::MakePort makePort) : line(std::move(makePort)) {}
};

// Until start-up's round has answered: the window is up at once, the answer
// comes when the probe has it or its wait is over.
double startUpMs(BoxLine::MakePort makePort, bool* connected) {
    BenchWindow b(std::move(makePort));
    QElapsedTimer clock;
    clock.start();
    b.window.Form_Load();
    while (b.line.startingUp())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    const double ms = double(clock.nsecsElapsed()) / 1e6;
    *connected = !b.v.NotConnected;
    return ms;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    bool connected = false;

    double ms = startUpMs(
        [] {
            return std::make_unique<QtSerialLink>(
                [](int) { return QStringLiteral("/nonexistent/ttyBench"); });
        },
        &connected);
    std::printf("start-up, no such port:        %8.1f ms (connected: %d)\n", ms, connected);

    // A pseudo-terminal nobody answers on: the probe's whole wait.
    {
        const PseudoTerminal line;
        const QString slave = line.slavePath();
        ms = startUpMs(
            [slave] { return std::make_unique<QtSerialLink>([slave](int) { return slave; }); },
            &connected);
        std::printf("start-up, silent box:          %8.1f ms (connected: %d)\n", ms, connected);
    }

    ms = startUpMs([] { return std::make_unique<SimulatedPort>(); }, &connected);
    std::printf("start-up, simulated box:       %8.1f ms (connected: %d)\n", ms, connected);

    // The sampling tick against the simulated box, 10 ms of box time apart.
    auto owned = std::make_shared<std::unique_ptr<SerialLink>>(
        std::make_unique<SimulatedPort>(std::make_unique<FastClock>()));
    auto& clock = static_cast<FastClock&>(static_cast<SimulatedPort&>(**owned).clock());
    BenchWindow sim([owned] { return std::move(*owned); });
    MainWindow& window = sim.window;
    window.Form_Load();
    while (sim.line.startingUp()) {
        clock.now += 10'000;
        sim.line.LinkTimer_Timer();
    }
    sim.line.Timer1.stop();
    window.Timer2.stop();
    const long rssBefore = rssKiB();
    constexpr int ticks = 1'000'000; // 2.8 hours of measuring
    int periods = 0;
    QString last = window.Label1->text();
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < ticks; ++i) {
        if (i % 10 == 0)
            window.Timer2_Timer();
        sim.line.Timer1_Timer();
        clock.now += 10'000;
        if (window.Label1->text() != last) {
            last = window.Label1->text();
            ++periods;
        }
    }
    const double perTick = double(timer.nsecsElapsed()) / ticks / 1000.0;
    std::printf("sampling tick, simulated box:  %8.2f us per tick (%d periods shown)\n", perTick,
                periods);
    std::printf("memory over %d ticks:     %8ld KiB -> %ld KiB resident\n", ticks, rssBefore,
                rssKiB());

    // The same tick on the real serial class, against a box on a pseudo-terminal:
    // one write and one read that never waits, so the syscalls are the cost.
    PtyBox box([] { return 200; });
    const QString slave = box.slavePath();
    BenchWindow pty(
        [slave] { return std::make_unique<QtSerialLink>([slave](int) { return slave; }); });
    pty.window.Form_Load();
    while (pty.line.startingUp())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    pty.line.Timer1.stop();
    pty.window.Timer2.stop();
    constexpr int ptyTicks = 20'000;
    timer.restart();
    for (int i = 0; i < ptyTicks; ++i)
        pty.line.Timer1_Timer();
    std::printf("sampling tick, pseudo-terminal: %7.2f us per tick (connected: %d)\n",
                double(timer.nsecsElapsed()) / ptyTicks / 1000.0, !pty.v.NotConnected);
    return 0;
}
