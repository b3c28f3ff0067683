// bench_table: how exact Tolvane is and what it costs, measured in one run
// and printed as one table with the goal beside each figure. It prints
// figures and never fails on them.
//
// The cost pair runs first, alone, so that nothing else of the bench takes
// its cores and wakes it, with its simulated box on a core of its own; then
// the real tolvane on perix-sim, as users run it, beside the bare program
// again. The accuracy runs and the idle clock then run side by side: they are
// mostly idle. The record runs follow on their own, since the record times
// each passage to a few milliseconds and a crowded machine would hold its
// samples up, and then again through a USB adapter. The busy clock runs last,
// alone with its spinners.
#include "bench/BenchFigures.h"
#include "sim/PendulumLight.h"
#include "sim/PseudoTerminal.h"
#include "sim/PtyBox.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <cstdio>
#include <fcntl.h>
#include <optional>
#include <sched.h>
#include <unistd.h>

namespace {

// The settings for the whole run. --quick shortens every run, to try the
// bench itself out; its figures are too few to go by.
constexpr double Apart[] = {0.3, 0.75, 1.25, 2.3, 4.7, 9.9};
constexpr int MinReadouts = 20;
constexpr int StartupRuns = 5;

struct Durations {
    // Long enough for MinReadouts of the longest interval after the first
    // cut, which comes a second after start-up.
    double accuracy = 1.0 + MinReadouts * 9.9 + 1.0;
    double drift = 61;
    int costWarmup = 3;
    int cost = 30;
};

// Keeps the calling thread, and the threads and processes it starts from now
// on, to one core; -1 gives them every core again.
void keepToCore(int core) {
    cpu_set_t set;
    CPU_ZERO(&set);
    for (int c = 0; c < CPU_SETSIZE; ++c)
        if (core < 0 || c == core)
            CPU_SET(c, &set);
    sched_setaffinity(0, sizeof set, &set);
}

qint64 steadyNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// Child processes run in an empty folder (no Tv.txt: the defaults), headless,
// with their output in files so that no pipe fills while others are waited on.
class Children {
public:
    Children() {
        m_env = QProcessEnvironment::systemEnvironment();
        m_env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    }

    // On `core` alone when one is given.
    QProcess* start(const QString& program, const QStringList& args, const QString& name,
                    int core = -1) {
        auto* p = new QProcess;
        if (core >= 0)
            p->setChildProcessModifier([core] { keepToCore(core); });
        p->setWorkingDirectory(m_dir.path());
        p->setProcessEnvironment(m_env);
        p->setStandardOutputFile(m_dir.filePath(name + QStringLiteral(".out")));
        p->setStandardErrorFile(m_dir.filePath(name + QStringLiteral(".err")));
        p->start(QDir::isAbsolutePath(program)
                     ? program
                     : QCoreApplication::applicationDirPath() + QLatin1Char('/') + program,
                 args);
        m_running.emplace_back(p);
        return p;
    }

    // The child's printed lines, once it has ended (or been ended after the timeout).
    QList<QByteArray> finish(QProcess* p, const QString& name, double timeoutSeconds) {
        if (!p->waitForFinished(int(timeoutSeconds * 1000))) {
            std::fprintf(stderr, "%s did not end in time\n", qPrintable(name));
            p->kill();
            p->waitForFinished(5000);
        }
        QFile out(m_dir.filePath(name + QStringLiteral(".out")));
        if (!out.open(QIODevice::ReadOnly))
            return {};
        return out.readAll().split('\n');
    }

    // What the child has printed so far.
    QByteArray printed(const QString& name) const {
        QFile out(m_dir.filePath(name + QStringLiteral(".out")));
        return out.open(QIODevice::ReadOnly) ? out.readAll() : QByteArray();
    }

    void stop(QProcess* p) {
        p->kill();
        p->waitForFinished(5000);
    }

private:
    QTemporaryDir m_dir;
    QProcessEnvironment m_env;
    std::vector<std::unique_ptr<QProcess>> m_running;
};

QList<double> startupMs(Children& children, const QString& port, const QString& name) {
    QList<double> ms;
    for (int i = 0; i < StartupRuns; ++i) {
        const qint64 began = steadyNs();
        QProcess* p = children.start(QStringLiteral("bench_subject"),
                                     {QStringLiteral("startup"), port}, name);
        for (const QByteArray& line : children.finish(p, name, 30))
            if (line.startsWith("S "))
                ms.append(double(line.mid(2).toLongLong() - began) / 1e6);
    }
    return ms;
}

QString firstLine(const QString& path, const QByteArray& prefix) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith(prefix))
            return QString::fromUtf8(line.mid(prefix.size()).trimmed());
    return {};
}

// The record runs: the accuracy runs again, with the record switched on, each
// in a folder of its own that stands for the documents folder. Their swings
// are 3.1 ms longer: a whole number of 10 ms samples apart, every passage
// would fall at the same point between two samples and the intervals would
// come out exact, which a real pendulum never does. This way the passages walk
// through every point between two samples.
constexpr double RecordOffBeat = 0.0031;

struct RecordRun {
    double apart;
    QString name;
    QString folder;
    QProcess* process;
    int adapterMs;
};

// Through a USB adapter whose latency timer runs out every adapterMs; 0 none.
std::vector<RecordRun> startRecordRuns(Children& children, const QTemporaryDir& folders,
                                       double seconds, int adapterMs = 0) {
    std::vector<RecordRun> runs;
    for (double apart : Apart) {
        apart += RecordOffBeat;
        const QString name = QStringLiteral("record-%1-adapter-%2").arg(apart).arg(adapterMs);
        const QString folder = folders.filePath(name);
        QDir().mkpath(folder);
        runs.push_back(
            {apart, name, folder,
             children.start(QStringLiteral("bench_subject"),
                            {QStringLiteral("record"), QString::number(apart),
                             QString::number(seconds), folder, QString::number(adapterMs)},
                            name),
             adapterMs});
    }
    return runs;
}

BenchFigures::Record finishRecordRun(Children& children, const RecordRun& run, double timeout) {
    const auto lines = children.finish(run.process, run.name, timeout);
    const QDir records(run.folder + QStringLiteral("/Tolvane"));
    const QStringList files = records.entryList({QStringLiteral("*.csv")}, QDir::Files);
    QFile csv(records.filePath(files.value(0)));
    const bool made = files.size() == 1 && csv.open(QIODevice::ReadOnly);
    BenchFigures::Record r = BenchFigures::record(run.apart, lines, made ? csv.readAll() : "");
    r.adapterMs = run.adapterMs;
    return r;
}

// The accuracy runs through a USB adapter, side by side with the others.
struct AccuracyRun {
    double apart;
    QString name;
    QProcess* process;
};

std::vector<AccuracyRun> startAccuracyRunsThroughAdapter(Children& children, double seconds) {
    std::vector<AccuracyRun> runs;
    for (double apart : Apart) {
        const QString name = QStringLiteral("accuracy-%1-adapter").arg(apart);
        runs.push_back(
            {apart, name,
             children.start(QStringLiteral("bench_subject"),
                            {QStringLiteral("accuracy"), QString::number(apart),
                             QString::number(seconds), QString::number(BenchFigures::AdapterMs)},
                            name)});
    }
    return runs;
}

// Their latency is the adapter's as much as Tolvane's: not counted in the latency row.
BenchFigures::Accuracy finishAccuracyRunThroughAdapter(Children& children, const AccuracyRun& run,
                                                       double timeout) {
    BenchFigures::Accuracy a =
        BenchFigures::accuracy(run.apart, children.finish(run.process, run.name, timeout));
    a.adapterMs = BenchFigures::AdapterMs;
    return a;
}

// What /proc says of a running process: the CPU time it has used, its main
// thread's context switches and its peak resident memory.
struct ProcFigures {
    double cpuSeconds = 0;
    qint64 switches = 0;
    long peakKiB = 0;
};

std::optional<ProcFigures> procFigures(qint64 pid) {
    QFile statusFile(QStringLiteral("/proc/%1/status").arg(pid));
    QFile statFile(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!statusFile.open(QIODevice::ReadOnly) || !statFile.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray status = statusFile.readAll();
    const auto switches = BenchFigures::contextSwitches(status);
    // utime and stime are the 14th and 15th fields; the name, the 2nd, is in
    // brackets and may hold spaces.
    const QByteArray stat = statFile.readAll();
    const QList<QByteArray> f = stat.mid(stat.lastIndexOf(')') + 2).split(' ');
    const double ticks = double(f.value(11).toLongLong() + f.value(12).toLongLong());
    long peakKiB = 0;
    for (const QByteArray& line : status.split('\n'))
        if (line.startsWith("VmHWM:"))
            peakKiB = line.mid(6).trimmed().split(' ').value(0).toLong();
    if (!switches || f.size() < 13 || peakKiB == 0)
        return std::nullopt;
    return ProcFigures{ticks / double(sysconf(_SC_CLK_TCK)), *switches, peakKiB};
}

// The real tolvane with --port on perix-sim, as a teacher runs it, with the
// bare program beside it; neither is kept to a core. Tolvane prints nothing,
// so it is measured from outside over the same seconds as the bare program.
void costAsRun(Children& children, const Durations& d, BenchFigures& figures) {
    const QString simName = QStringLiteral("as-run-perix-sim");
    QProcess* sim = children.start(QStringLiteral(PERIX_SIM_PROGRAM), {}, simName);
    QByteArray printed;
    QElapsedTimer waited;
    waited.start();
    while (!printed.contains('\n') && waited.elapsed() < 5000) {
        QThread::msleep(50);
        printed = children.printed(simName);
    }
    const QString device = QString::fromLocal8Bit(printed.split('\n').value(0).trimmed());
    QProcess* tolvane =
        children.start(QStringLiteral(TOLVANE_PROGRAM), {QStringLiteral("--port"), device},
                       QStringLiteral("as-run-tolvane"));
    QProcess* bare = children.start(QStringLiteral("bench_bare"),
                                    {QString::number(d.costWarmup), QString::number(d.cost)},
                                    QStringLiteral("as-run-bare"));
    QThread::sleep(d.costWarmup);
    const auto before = procFigures(tolvane->processId());
    QElapsedTimer clock;
    clock.start();
    QThread::sleep(d.cost);
    const auto after = procFigures(tolvane->processId());
    const double seconds = double(clock.elapsed()) / 1000;
    if (before && after)
        figures.costAsRun =
            BenchFigures::Cost{(after->cpuSeconds - before->cpuSeconds) / seconds, after->peakKiB,
                               double(after->switches - before->switches) / seconds};
    figures.costBareBesideRun = BenchFigures::cost(
        children.finish(bare, QStringLiteral("as-run-bare"), d.costWarmup + d.cost + 30));
    // The box first: tolvane lets go of the port, and of its lock, once it
    // sees the line hung up; and perix-sim cleans up after itself on this signal.
    sim->terminate();
    sim->waitForFinished(5000);
    QThread::msleep(500);
    children.stop(tolvane);
}

// The search for a box that answers nowhere: Tolvane with SearchPorts silent
// pseudo-terminals present, the first the named port, and one more whose
// opening takes seconds (bench_subject makes it slow). Each is held open at
// its far end, as a device would be, so that what the probes sent stays to
// be counted.
constexpr int SearchPorts = 4;

qint64 bytesWaiting(const PseudoTerminal& port) {
    ::fcntl(port.masterFd(), F_SETFL, O_NONBLOCK);
    qint64 received = 0;
    char buffer[4096];
    for (ssize_t n; (n = ::read(port.masterFd(), buffer, sizeof buffer)) > 0;)
        received += n;
    return received;
}

std::optional<BenchFigures::Search> searchCost(Children& children, const Durations& d, int core) {
    std::vector<std::unique_ptr<PseudoTerminal>> ports;
    std::vector<int> held;
    QStringList paths;
    for (int i = 0; i < SearchPorts + 1; ++i) {
        ports.push_back(std::make_unique<PseudoTerminal>());
        paths << ports.back()->slavePath();
        held.push_back(::open(QFile::encodeName(paths.back()).constData(), O_RDWR | O_NOCTTY));
    }
    QElapsedTimer ran;
    ran.start();
    QProcess* p =
        children.start(QStringLiteral("bench_subject"),
                       {QStringLiteral("search"), paths.join(QLatin1Char(',')),
                        QString::number(d.costWarmup), QString::number(d.cost), paths.back()},
                       QStringLiteral("search"), core);
    const auto lines = children.finish(p, QStringLiteral("search"), d.costWarmup + d.cost + 30);
    const double seconds = double(ran.elapsed()) / 1000;
    QList<qint64> others;
    for (std::size_t i = 1; i < ports.size(); ++i)
        others.append(bytesWaiting(*ports[i]));
    const qint64 named = bytesWaiting(*ports.front());
    for (int fd : held)
        if (fd >= 0)
            ::close(fd);
    return BenchFigures::search(lines, named, others, seconds);
}

QString loadAverage() {
    QFile f(QStringLiteral("/proc/loadavg"));
    if (!f.open(QIODevice::ReadOnly))
        return QStringLiteral("?");
    return QString::fromUtf8(f.readAll().split(' ').mid(0, 3).join(' '));
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    Durations d;
    if (app.arguments().contains(QStringLiteral("--quick")))
        d = {12, 5, 1, 3};
    QElapsedTimer wall;
    wall.start();
    const int cores = QThread::idealThreadCount();
    BenchFigures figures;
    figures.machine = QStringLiteral("%1 cores, %2; load average at start %3")
                          .arg(cores)
                          .arg(firstLine(QStringLiteral("/proc/cpuinfo"), "model name\t:"))
                          .arg(loadAverage());
    figures.when =
        QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyy-MM-dd HH:mm 'UTC'"));

    // A box that answers at once, on a pseudo-terminal, with the demo's pendulum.
    PendulumLight light;
    QElapsedTimer boxTime;
    boxTime.start();
    PtyBox box([&] { return light.brightnessAt(double(boxTime.nsecsElapsed()) / 1e9); });
    Children children;

    std::fprintf(stderr, "start-up, %d runs each ...\n", StartupRuns);
    figures.startupBoxMs = startupMs(children, box.slavePath(), QStringLiteral("startup-box"));
    figures.startupNoPortMs = startupMs(children, QStringLiteral("/nonexistent/ttyBench"),
                                        QStringLiteral("startup-none"));

    std::fprintf(stderr, "cost, beside the bare program (%d s) ...\n", d.costWarmup + d.cost);
    {
        // Tolvane and the bare program share the first core; the simulated
        // box that answers Tolvane has the second. On the same core its
        // thread, woken by every command, would take the core from Tolvane
        // there and then: a wake-up of Tolvane's that a real box, on the far
        // end of a serial line, never causes.
        const int programsCore = cores > 1 ? 0 : -1;
        keepToCore(cores > 1 ? 1 : -1);
        PtyBox costBox([&] { return light.brightnessAt(double(boxTime.nsecsElapsed()) / 1e9); });
        keepToCore(-1);
        const QStringList costArgs = {QString::number(d.costWarmup), QString::number(d.cost)};
        QProcess* tolvane =
            children.start(QStringLiteral("bench_subject"),
                           QStringList{QStringLiteral("cost"), costBox.slavePath()} + costArgs,
                           QStringLiteral("cost-tolvane"), programsCore);
        QProcess* bare = children.start(QStringLiteral("bench_bare"), costArgs,
                                        QStringLiteral("cost-bare"), programsCore);
        const double costTimeout = d.costWarmup + d.cost + 30;
        figures.costTolvane = BenchFigures::cost(
            children.finish(tolvane, QStringLiteral("cost-tolvane"), costTimeout));
        figures.costBare =
            BenchFigures::cost(children.finish(bare, QStringLiteral("cost-bare"), costTimeout));
        std::fprintf(stderr, "cost of searching for a box that is nowhere (%d s) ...\n",
                     d.costWarmup + d.cost);
        figures.searchNoBox = searchCost(children, d, programsCore);
    }

    std::fprintf(stderr,
                 "cost of tolvane --port on perix-sim, beside the bare program (%d s) ...\n",
                 d.costWarmup + d.cost);
    costAsRun(children, d, figures);

    std::fprintf(stderr, "accuracy (%.0f s) and idle clock, side by side ...\n", d.accuracy);
    std::vector<AccuracyRun> accuracy;
    for (double apart : Apart) {
        const QString name = QStringLiteral("accuracy-%1").arg(apart);
        accuracy.push_back({apart, name,
                            children.start(QStringLiteral("bench_subject"),
                                           {QStringLiteral("accuracy"), QString::number(apart),
                                            QString::number(d.accuracy)},
                                           name)});
    }
    const std::vector<AccuracyRun> accuracyThroughAdapter =
        startAccuracyRunsThroughAdapter(children, d.accuracy);
    QProcess* idle = children.start(QStringLiteral("bench_subject"),
                                    {QStringLiteral("drift"), QString::number(d.drift)},
                                    QStringLiteral("drift-idle"));
    figures.driftIdle =
        BenchFigures::drift(children.finish(idle, QStringLiteral("drift-idle"), d.drift + 30));
    for (const AccuracyRun& run : accuracy) {
        const auto lines = children.finish(run.process, run.name, d.accuracy + 60);
        figures.accuracies.append(BenchFigures::accuracy(run.apart, lines));
        figures.latencyMs += BenchFigures::latencies(lines);
    }
    for (const AccuracyRun& run : accuracyThroughAdapter)
        figures.accuracies.append(finishAccuracyRunThroughAdapter(children, run, d.accuracy + 60));

    // A little longer, for the twentieth interval of the slowest swing.
    const double recordSeconds = d.accuracy + 2;
    std::fprintf(stderr, "record (%.0f s) ...\n", recordSeconds);
    QTemporaryDir recordFolders;
    const std::vector<RecordRun> recordRuns =
        startRecordRuns(children, recordFolders, recordSeconds);
    for (const RecordRun& run : recordRuns)
        figures.records.append(finishRecordRun(children, run, recordSeconds + 60));
    std::fprintf(stderr, "record through a %d ms adapter (%.0f s) ...\n", BenchFigures::AdapterMs,
                 recordSeconds);
    for (const RecordRun& run :
         startRecordRuns(children, recordFolders, recordSeconds, BenchFigures::AdapterMs))
        figures.records.append(finishRecordRun(children, run, recordSeconds + 60));

    std::fprintf(stderr, "clock with %d cores kept busy (%.0f s) ...\n", cores, d.drift);
    std::vector<QProcess*> spinners;
    for (int i = 0; i < cores; ++i)
        spinners.push_back(children.start(QStringLiteral("bench_subject"), {QStringLiteral("spin")},
                                          QStringLiteral("spin-%1").arg(i)));
    QProcess* busy = children.start(QStringLiteral("bench_subject"),
                                    {QStringLiteral("drift"), QString::number(d.drift)},
                                    QStringLiteral("drift-busy"));
    figures.driftBusy =
        BenchFigures::drift(children.finish(busy, QStringLiteral("drift-busy"), d.drift + 30));
    for (QProcess* p : spinners)
        children.stop(p);
    figures.busyCores = cores;

    figures.loadAtEnd = loadAverage();
    figures.wallSeconds = double(wall.elapsed()) / 1000;
    std::fputs(qPrintable(figures.table()), stdout);
    return 0;
}
