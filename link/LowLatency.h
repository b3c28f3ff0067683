#pragma once

#include <QSerialPort>

// Asks the driver of an open port to hand received bytes over at once. A USB
// adapter otherwise holds them back for a while (FTDI's: 16 ms) and then
// hands a bunch over together. On Linux the port's low-latency flag, which
// ftdi_sio turns into a 1 ms latency timer; a port that refuses (a
// pseudo-terminal, a built-in port) is left as it is. Elsewhere nothing.
void askForLowLatency(QSerialPort& port);
