#pragma once

#include <QString>
#include <functional>

// Turns COM n into the device the platform knows it by.
using ComPortNamer = std::function<QString(int portNumber)>;

// Where the installed udev rule puts one link per USB serial adapter.
inline constexpr char UsbAdapterFolder[] = "/dev/tolvane";

// "COMn" on Windows. On Linux and other Unix systems the USB serial adapters
// come first: COM n is the n-th link in UsbAdapterFolder, in name order, and
// "/dev/ttyS(n-1)" when there are fewer than n adapters.
QString comPortDeviceName(int portNumber);

// The same on Unix, with the adapters looked for in the given folder.
QString comPortDeviceNameIn(int portNumber, const QString& adapterFolder);
