#pragma once

#include <QObject>
#include <QSocketNotifier>

// Ends the event loop on SIGINT (Ctrl+C), SIGTERM (kill) and SIGHUP (the
// terminal closed) instead of letting the signal end the process at once, so
// that the destructors run: the simulated box removes its folder and link.
// The handler only writes the signal's number into a pipe; the loop reads it
// there. A second signal of the same kind ends the program at once.
class QuitOnSignals : public QObject {
    Q_OBJECT
public:
    // Needs the QCoreApplication made.
    QuitOnSignals();
    ~QuitOnSignals() override;

    // The signal that ended the loop; 0 while none has come.
    int caught() const { return m_caught; }

    // Once everything is cleaned up: ends the process by the caught signal
    // with its usual effect, so that the shell sees how the program ended.
    static void endBy(int signalNumber);

private:
    void readSignal();

    QSocketNotifier* m_notifier = nullptr;
    int m_caught = 0;
};
