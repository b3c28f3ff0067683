#pragma once

#include "Platform.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

// Where to look for the box when it does not answer on the port Tv.txt names:
// every serial port present, the named one first.
namespace PortSearch {

// A serial port the system lists. On Unix an adapter's link in the adapter
// folder and the device it leads to are one port: `target` is the device a
// link leads to, empty when the name is the device itself. On Windows the
// system also says who made the port and which driver runs it, which tells a
// Bluetooth link or a USB CDC device from a port that may lead to the box;
// both are empty where it does not say (under Wine).
struct PresentPort {
    QString device;
    QString target;
    QString enumerator{}; // "BTHENUM", "USB", "ACPI", "FTDIBUS", ...
    QString service{};    // the driver: "Serial", "usbser", "BTHMODEM", "FTSER2K", ...
};

// The ports present now; tests hand in a list of their own.
using PresentPorts = std::function<QList<PresentPort>()>;

// The order in which to probe: the named device first, present or not, then
// the others present, each port once. Windows: COM1, COM2, ... by number.
// Unix: the adapters in the adapter folder by name, then /dev/ttyUSB*,
// /dev/ttyACM*, the built-in /dev/ttyS* and any others, each by number.
QStringList order(const QString& named, const QList<PresentPort>& present, Platform platform);

// What the system says of `device`: its entry in `present`, or only its name.
PresentPort entryOf(const QString& device, const QList<PresentPort>& present);

// No other port: for tests and tools that must look at one device only.
inline QList<PresentPort> noOtherPorts() {
    return {};
}

// The serial ports the system lists: on Windows as it names them, with their
// enumerator and driver; on Unix the adapter folder's links as well as the
// devices.
QList<PresentPort> serialPortsPresent();

} // namespace PortSearch
