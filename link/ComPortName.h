#pragma once

#include <QString>
#include <functional>

// Turns COM n into the device the platform knows it by.
using ComPortNamer = std::function<QString(int portNumber)>;

// "COMn" on Windows, "/dev/ttyS(n-1)" on Linux and other Unix systems.
QString comPortDeviceName(int portNumber);
