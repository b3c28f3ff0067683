// bench_search: the search for the box as a teacher meets it, with the real
// program's start and end (runTolvane) on pseudo-terminals, one of which
// BenchPorts makes slow to open. Each check runs in a process of its own;
// with no mode, all of them, and one table with the goal beside each figure.
//   window NAMED_SLOW  no box, two silent ports and one that takes 4 s to open
//                      (the named one when NAMED_SLOW is 1); a 50 ms timer on the
//                      window's thread notes how late it comes, "W <worst ms>
//                      <mean ms> <ticks>"; after 16 s a box is plugged in on
//                      another port: "F <s>" once it is found, "P <s> <text>" once
//                      a period is shown
//   quit NAMED_SLOW    the same without the box, quit while the slow port is
//                      being opened: "Q <ms from the request to the process gone>"
//   gentle             a minute without the box, a silent other port and one that
//                      answers something else: "N <named> <silent> <other>"
//                      openings; the other one then unplugged and plugged in
//                      again: "A <openings after it came back>"
//   late               a box switched on behind a port already present, just
//                      after its probe, once its rests have grown to their
//                      longest: "L <s from switching on to found>"
// It prints figures and never fails on them.
#include "BenchPorts.h"
#include "app/MainWindow.h"
#include "app/ProgramEnd.h"
#include "app/Run.h"
#include "link/PerixTexts.h"
#include "measuring/PeriodText.h"
#include "sim/PendulumLight.h"
#include "sim/PseudoTerminal.h"
#include "sim/PtyBox.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

// The goals, as the search's design states them.
constexpr double LatenessGoalMs = 300;     // at most, throughout
constexpr double FoundBoxGoalS = 10;       // at most, box plugged in to a period shown
constexpr double QuitGoalMs = 1000;        // at most, quit asked to the process gone
constexpr int SilentOpeningsGoal = 7;      // at most, over a minute
constexpr int OtherAnswerOpeningsGoal = 1; // exactly
constexpr double SwitchedOnGoalS = 35;     // at most

constexpr int TickMs = 50;
constexpr int BeforeBoxMs = 16000;
constexpr int GiveUpMs = 30000;
constexpr int MinuteMs = 60000;
constexpr int AwayMs = 2000;
constexpr int AfterBackMs = 4000;
// The rest after the fifth silent probe is the longest.
constexpr int ProbesBeforeLongestRest = 5;

double secondsSince(Clock::time_point t) {
    return std::chrono::duration<double>(Clock::now() - t).count();
}

qint64 steadyNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now().time_since_epoch())
        .count();
}

void say(const char* format, auto... values) {
    std::printf(format, values...);
    std::fflush(stdout);
}

// Silent pseudo-terminals, each held open at its far end as a device holds
// its line, so that the program's closing it never hangs it up.
class Lines {
public:
    explicit Lines(int count) {
        for (int i = 0; i < count; ++i) {
            m_lines.push_back(std::make_unique<PseudoTerminal>());
            m_held.push_back(::open(QFile::encodeName(path(i)).constData(), O_RDWR | O_NOCTTY));
        }
    }
    ~Lines() {
        for (int fd : m_held)
            if (fd >= 0)
                ::close(fd);
    }
    QString path(int i) const { return m_lines[std::size_t(i)]->slavePath(); }
    int masterFd(int i) const { return m_lines[std::size_t(i)]->masterFd(); }

private:
    std::vector<std::unique_ptr<PseudoTerminal>> m_lines;
    std::vector<int> m_held;
};

// A device that is not the box: it answers whatever it is sent with a line
// of its own, as a printer's firmware does.
class OtherDevice {
public:
    explicit OtherDevice(int masterFd)
        : m_thread([this, masterFd] {
              while (!m_stop) {
                  pollfd p{masterFd, POLLIN, 0};
                  if (::poll(&p, 1, 100) <= 0)
                      continue;
                  char buffer[256];
                  if (::read(masterFd, buffer, sizeof buffer) > 0)
                      static_cast<void>(::write(masterFd, "ok T:21.3 /0.0\n", 15));
              }
          }) {}
    ~OtherDevice() {
        m_stop = true;
        m_thread.join();
    }

private:
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

int run(const std::shared_ptr<BenchPorts>& ports, const std::function<void(MainWindow&)>& shown) {
    int argc = 1;
    char name[] = "bench_search";
    char* argv[] = {name, nullptr};
    return runTolvane(
        argc, argv, [ports] { return BenchPorts::lineOf(ports); }, shown);
}

// Calls `tick` every `ms` on the window's thread until the program ends.
void every(MainWindow& w, int ms, std::function<void()> tick) {
    auto* timer = new QTimer(&w);
    timer->setTimerType(Qt::PreciseTimer);
    QObject::connect(timer, &QTimer::timeout, &w, std::move(tick));
    timer->start(ms);
}

int window(bool namedSlow) {
    Lines lines(3);
    const QString slow = lines.path(2);
    auto ports = std::make_shared<BenchPorts>(
        namedSlow ? slow : lines.path(0), QStringList{lines.path(0), lines.path(1), slow}, slow);
    PendulumLight light;
    const Clock::time_point began = Clock::now();
    PtyBox box([&] { return light.brightnessAt(secondsSince(began)); });
    std::optional<Clock::time_point> last;
    std::optional<Clock::time_point> pluggedIn;
    bool found = false;
    bool done = false;
    double worstMs = 0;
    double sumMs = 0;
    int ticks = 0;
    return run(ports, [&](MainWindow& w) {
        every(w, TickMs, [&] {
            if (done)
                return;
            const Clock::time_point now = Clock::now();
            if (last) {
                const double lateMs =
                    std::chrono::duration<double, std::milli>(now - *last).count() - TickMs;
                worstMs = std::max(worstMs, lateMs);
                sumMs += lateMs;
                ++ticks;
            }
            last = now;
            const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(now - began);
            if (!pluggedIn && ms.count() >= BeforeBoxMs) {
                ports->plugIn(box.slavePath());
                pluggedIn = now;
            }
            if (!pluggedIn)
                return;
            const QString text = w.Label1->text();
            if (!found && text == PerixTexts::startupNotice()) {
                found = true;
                say("F %.2f\n", secondsSince(*pluggedIn));
            }
            const bool period = found && isPeriodText(text);
            if (period || secondsSince(*pluggedIn) * 1000 > GiveUpMs) {
                if (period)
                    say("P %.2f %s\n", secondsSince(*pluggedIn), qPrintable(text.trimmed()));
                say("W %.1f %.2f %d\n", worstMs, sumMs / std::max(ticks, 1), ticks);
                done = true;
                endProgramNow();
            }
        });
    });
}

// Run in a child process: the parent times the child's end.
int quitChild(bool namedSlow, int requestFd) {
    Lines lines(3);
    const QString slow = lines.path(2);
    auto ports = std::make_shared<BenchPorts>(
        namedSlow ? slow : lines.path(0), QStringList{lines.path(0), lines.path(1), slow}, slow);
    const Clock::time_point began = Clock::now();
    bool asked = false;
    return run(ports, [&](MainWindow& w) {
        every(w, 10, [&, requestFd] {
            // Once the program has settled, early in a slow opening.
            if (asked || secondsSince(began) < 2 || !ports->slowOpening())
                return;
            asked = true;
            const qint64 at = steadyNs();
            static_cast<void>(::write(requestFd, &at, sizeof at));
            endProgramNow();
        });
    });
}

int quit(bool namedSlow) {
    int pipeFds[2];
    if (::pipe(pipeFds) != 0)
        return 1;
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(pipeFds[0]);
        std::_Exit(quitChild(namedSlow, pipeFds[1]));
    }
    ::close(pipeFds[1]);
    qint64 requested = 0;
    const bool heard = ::read(pipeFds[0], &requested, sizeof requested) == sizeof requested;
    int status = 0;
    ::waitpid(child, &status, 0);
    const qint64 ended = steadyNs();
    if (!heard)
        return 1;
    say("Q %.0f\n", double(ended - requested) / 1e6);
    return 0;
}

int gentle() {
    Lines lines(3);
    const QString named = lines.path(0);
    const QString silent = lines.path(1);
    const QString other = lines.path(2);
    OtherDevice device(lines.masterFd(2));
    auto ports = std::make_shared<BenchPorts>(named, QStringList{named, silent, other});
    const Clock::time_point began = Clock::now();
    int phase = 0;
    qsizetype otherBefore = 0;
    return run(ports, [&](MainWindow& w) {
        every(w, TickMs, [&] {
            const double ms = secondsSince(began) * 1000;
            if (phase == 0 && ms >= MinuteMs) {
                otherBefore = ports->openingsOf(other);
                say("N %lld %lld %lld\n", (long long)ports->openingsOf(named),
                    (long long)ports->openingsOf(silent), (long long)otherBefore);
                ports->pullOut(other);
                phase = 1;
            } else if (phase == 1 && ms >= MinuteMs + AwayMs) {
                ports->plugIn(other);
                phase = 2;
            } else if (phase == 2 && ms >= MinuteMs + AwayMs + AfterBackMs) {
                say("A %lld\n", (long long)(ports->openingsOf(other) - otherBefore));
                phase = 3;
                endProgramNow();
            }
        });
    });
}

int late() {
    Lines lines(2);
    const QString named = lines.path(0);
    // The port the program knows: a link, first to a line with nothing
    // behind it, then to the box's own line, as a box switched on would be.
    QTemporaryDir dir;
    const QString port = dir.filePath(QStringLiteral("ttyLate"));
    const auto pointAt = [&](const QString& target) {
        const QString next = port + QStringLiteral(".next");
        QFile::remove(next);
        QFile::link(target, next);
        ::rename(QFile::encodeName(next).constData(), QFile::encodeName(port).constData());
    };
    pointAt(lines.path(1));
    PendulumLight light;
    const Clock::time_point began = Clock::now();
    PtyBox box([&] { return light.brightnessAt(secondsSince(began)); });
    auto ports = std::make_shared<BenchPorts>(named, QStringList{named, port});
    std::optional<Clock::time_point> switchedOn;
    bool done = false;
    return run(ports, [&](MainWindow& w) {
        every(w, 10, [&] {
            const QList<BenchPorts::Opening> openings = ports->openings();
            QList<Clock::time_point> probed;
            for (const BenchPorts::Opening& o : openings)
                if (o.device == port)
                    probed.append(o.at);
            // Its probe is over a little after its opening.
            if (!switchedOn && probed.size() >= ProbesBeforeLongestRest &&
                Clock::now() - probed.last() > std::chrono::milliseconds(500)) {
                pointAt(box.slavePath());
                switchedOn = Clock::now();
            }
            if (done || !switchedOn)
                return;
            if (w.Label1->text() == PerixTexts::startupNotice())
                say("L %.2f\n", secondsSince(*switchedOn));
            else if (secondsSince(*switchedOn) * 1000 > 2 * GiveUpMs)
                say("L never\n");
            else
                return;
            done = true;
            endProgramNow();
        });
    });
}

// The lines a mode printed, run in a child process of its own.
QList<QByteArray> runMode(const QList<QByteArray>& args) {
    int pipeFds[2];
    if (::pipe(pipeFds) != 0)
        return {};
    const pid_t child = ::fork();
    if (child == 0) {
        ::dup2(pipeFds[1], STDOUT_FILENO);
        ::close(pipeFds[0]);
        ::close(pipeFds[1]);
        char self[] = "/proc/self/exe";
        std::vector<char*> argv{self};
        for (const QByteArray& a : args)
            argv.push_back(const_cast<char*>(a.constData()));
        argv.push_back(nullptr);
        ::execv(self, argv.data());
        std::_Exit(127);
    }
    ::close(pipeFds[1]);
    QByteArray out;
    char buffer[4096];
    for (ssize_t n; (n = ::read(pipeFds[0], buffer, sizeof buffer)) > 0;)
        out.append(buffer, n);
    ::close(pipeFds[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    return out.split('\n');
}

QList<QByteArray> fieldsOf(const QList<QByteArray>& lines, char tag) {
    for (const QByteArray& line : lines)
        if (line.startsWith(tag) && line.size() > 1 && line[1] == ' ')
            return line.mid(2).split(' ');
    return {};
}

struct Row {
    QString measure, figure, goal;
    bool met;
};

QString yesNo(bool met) {
    return met ? QStringLiteral("yes") : QStringLiteral("no");
}

int all() {
    QList<Row> rows;
    for (const bool slowNamed : {false, true}) {
        const QByteArray namedSlow = slowNamed ? "1" : "0";
        const QString which =
            slowNamed ? QStringLiteral("the named port") : QStringLiteral("another port");
        std::fprintf(stderr, "slow port, %s ...\n", qPrintable(which));
        const auto lines = runMode({"window", namedSlow});
        const auto w = fieldsOf(lines, 'W');
        const auto p = fieldsOf(lines, 'P');
        rows.append({QStringLiteral("Window's thread late, %1 slow to open").arg(which),
                     w.isEmpty()
                         ? QStringLiteral("not measured")
                         : QStringLiteral("worst %1 ms, mean %2 ms (%3 ticks of 50 ms)")
                               .arg(QString::fromUtf8(w.value(0)), QString::fromUtf8(w.value(1)),
                                    QString::fromUtf8(w.value(2))),
                     QStringLiteral("at most %1 ms").arg(LatenessGoalMs),
                     !w.isEmpty() && w.value(0).toDouble() <= LatenessGoalMs});
        rows.append(
            {QStringLiteral("Box plugged in on a third port, %1 slow: period shown").arg(which),
             p.isEmpty() ? QStringLiteral("never")
                         : QStringLiteral("after %1 s (found after %2 s)")
                               .arg(QString::fromUtf8(p.value(0)),
                                    QString::fromUtf8(fieldsOf(lines, 'F').value(0))),
             QStringLiteral("within %1 s").arg(FoundBoxGoalS),
             !p.isEmpty() && p.value(0).toDouble() <= FoundBoxGoalS});
        const auto q = fieldsOf(runMode({"quit", namedSlow}), 'Q');
        rows.append({QStringLiteral("Quit during the slow opening of %1: process gone").arg(which),
                     q.isEmpty() ? QStringLiteral("not measured")
                                 : QStringLiteral("after %1 ms").arg(QString::fromUtf8(q.value(0))),
                     QStringLiteral("within %1 ms").arg(QuitGoalMs),
                     !q.isEmpty() && q.value(0).toDouble() <= QuitGoalMs});
    }
    std::fprintf(stderr, "a minute without the box ...\n");
    const auto g = runMode({"gentle"});
    const auto n = fieldsOf(g, 'N');
    const auto a = fieldsOf(g, 'A');
    rows.append({QStringLiteral("A minute without the box: silent other port opened"),
                 QStringLiteral("%1 times (the named port %2)")
                     .arg(QString::fromUtf8(n.value(1)), QString::fromUtf8(n.value(0))),
                 QStringLiteral("at most %1").arg(SilentOpeningsGoal),
                 !n.isEmpty() && n.value(1).toInt() <= SilentOpeningsGoal});
    rows.append({QStringLiteral("A minute without the box: a device answering otherwise opened"),
                 QStringLiteral("%1 times").arg(QString::fromUtf8(n.value(2))),
                 QStringLiteral("%1").arg(OtherAnswerOpeningsGoal),
                 !n.isEmpty() && n.value(2).toInt() == OtherAnswerOpeningsGoal});
    rows.append({QStringLiteral("That device unplugged and plugged in again: opened"),
                 QStringLiteral("%1 times in %2 s")
                     .arg(QString::fromUtf8(a.value(0)))
                     .arg(AfterBackMs / 1000),
                 QStringLiteral("again"), a.value(0).toInt() >= 1});
    std::fprintf(stderr, "a box switched on late ...\n");
    const auto l = fieldsOf(runMode({"late"}), 'L');
    rows.append(
        {QStringLiteral("Box switched on behind a silent port, at its longest rest: found"),
         l.isEmpty() || l.value(0) == "never"
             ? QStringLiteral("never")
             : QStringLiteral("after %1 s").arg(QString::fromUtf8(l.value(0))),
         QStringLiteral("within %1 s").arg(SwitchedOnGoalS),
         !l.isEmpty() && l.value(0) != "never" && l.value(0).toDouble() <= SwitchedOnGoalS});

    std::printf("| Measure | Figure | Goal | Met |\n|---|---|---|---|\n");
    for (const Row& r : rows)
        std::printf("| %s | %s | %s | %s |\n", qPrintable(r.measure), qPrintable(r.figure),
                    qPrintable(r.goal), qPrintable(yesNo(r.met)));
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const QByteArray mode = argc > 1 ? argv[1] : "";
    const bool namedSlow = argc > 2 && QByteArray(argv[2]) == "1";
    if (argc == 1)
        return all();
    if (mode == "window" && argc == 3)
        return window(namedSlow);
    if (mode == "quit" && argc == 3)
        return quit(namedSlow);
    if (mode == "gentle" && argc == 2)
        return gentle();
    if (mode == "late" && argc == 2)
        return late();
    std::fprintf(stderr, "usage: see the comment at the top of search_main.cpp\n");
    return 2;
}
