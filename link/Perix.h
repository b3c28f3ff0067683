#pragma once

#include "app/ProgramValues.h"
#include "link/SerialLink.h"

#include <QByteArray>
#include <functional>

class QLabel;

// The routines that talk to the Perix box. Like the rest of the program they
// take no arguments: inputs and results go through the program-wide values.
class Perix {
public:
    // How long the probe keeps collecting the box's reply after its first read.
    // At 9600 baud the six reply bytes need about 6 ms on the wire; a slow USB
    // adapter adds a few more. 200 ms is plenty and still unnoticeable.
    static constexpr int ProbeWaitMs = 200;

    Perix(ProgramValues& values, QLabel& label, SerialLink& port, std::function<void()> endProgram);

    // Opens the port, wakes and probes the box, sets NotConnected.
    void PerixInit();
    // Shows the not-connected notice.
    void PerixDone();
    // Ends the program at once.
    void PerixOwari();

    // True when a probe reply says the box is there.
    static bool replyIsFromBox(const QByteArray& reply);

private:
    void collectProbeReply(QByteArray& reply);

    ProgramValues& v;
    QLabel& Label1;
    SerialLink& MSComm1;
    std::function<void()> m_endProgram;
};
