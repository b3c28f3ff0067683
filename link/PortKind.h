#pragma once

#include "Platform.h"
#include "PortSearch.h"

// What kind of port the system says a port is, as far as the search for the
// box cares. Opening a Bluetooth link makes the system try to reach the paired
// device, which takes seconds; opening a USB CDC device (a microcontroller
// board, a modem, a 3D printer) raises DTR, which resets most boards. The box
// hangs on a built-in port or a USB serial adapter, never on either of those.
enum class PortKind {
    MayBeTheBox,
    BluetoothLink,
    UsbCdcDevice,
};

// Windows: by the enumerator and the driver (service); a port the system says
// nothing about may be the box. Unix: by the device's name, the one a link
// leads to where it is a link.
PortKind portKind(const PortSearch::PresentPort& port, Platform platform);

inline bool mayBeTheBox(const PortSearch::PresentPort& port, Platform platform) {
    return portKind(port, platform) == PortKind::MayBeTheBox;
}
