#include "QuitOnSignals.h"

#include <QCoreApplication>
#include <cerrno>
#include <csignal>
#include <iterator>

#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr int Signals[] = {SIGINT, SIGTERM, SIGHUP};
constexpr int SignalCount = int(std::size(Signals));

// The pipe's ends: the handler writes, the event loop reads. One object at a
// time, as there is one set of handlers.
int pipeEnds[2] = {-1, -1};
// What each signal did before, to be put back.
struct sigaction previous[SignalCount];
bool installed[SignalCount] = {};

void onSignal(int signalNumber) {
    const int savedErrno = errno; // the interrupted code may be looking at it
    const unsigned char number = static_cast<unsigned char>(signalNumber);
    [[maybe_unused]] const ssize_t written = ::write(pipeEnds[1], &number, 1);
    errno = savedErrno;
}

} // namespace

QuitOnSignals::QuitOnSignals() {
    if (::pipe(pipeEnds) != 0)
        return; // the signals keep their usual effect
    for (int end : pipeEnds) {
        ::fcntl(end, F_SETFL, ::fcntl(end, F_GETFL) | O_NONBLOCK);
        ::fcntl(end, F_SETFD, FD_CLOEXEC);
    }
    m_notifier = new QSocketNotifier(pipeEnds[0], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &QuitOnSignals::readSignal);

    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART | SA_RESETHAND;
    for (int i = 0; i < SignalCount; ++i) {
        sigaction(Signals[i], nullptr, &previous[i]);
        // A signal ignored from the start (nohup, a script's background job
        // and Ctrl+C) stays ignored.
        if (previous[i].sa_handler == SIG_IGN)
            continue;
        installed[i] = sigaction(Signals[i], &action, nullptr) == 0;
    }
}

QuitOnSignals::~QuitOnSignals() {
    for (int i = 0; i < SignalCount; ++i) {
        if (installed[i])
            sigaction(Signals[i], &previous[i], nullptr);
        installed[i] = false;
    }
    delete m_notifier;
    for (int& end : pipeEnds) {
        if (end >= 0)
            ::close(end);
        end = -1;
    }
}

void QuitOnSignals::readSignal() {
    unsigned char number = 0;
    while (::read(pipeEnds[0], &number, 1) == 1) {
        if (m_caught == 0)
            m_caught = number;
    }
    QCoreApplication::quit();
}

void QuitOnSignals::endBy(int signalNumber) {
    std::signal(signalNumber, SIG_DFL);
    std::raise(signalNumber);
}
