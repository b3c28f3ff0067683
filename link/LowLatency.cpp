#include "LowLatency.h"

#ifdef Q_OS_LINUX
#include <linux/serial.h>
#include <sys/ioctl.h>
#endif

void askForLowLatency([[maybe_unused]] QSerialPort& port) {
#ifdef Q_OS_LINUX
    serial_struct serial{};
    if (::ioctl(port.handle(), TIOCGSERIAL, &serial) != 0)
        return;
    serial.flags |= ASYNC_LOW_LATENCY;
    ::ioctl(port.handle(), TIOCSSERIAL, &serial);
#endif
}
