#pragma once

#include "Platform.h"
#include "SerialLink.h"

#include <QSerialPort>

// What QSerialPort's errors mean to the program. The rules differ between
// platforms; each takes the platform, so that both can be tried anywhere.
namespace PortErrorRules {

// Why a port would not open. `mayReadAndWrite`: whether the system lets
// this program read and write the device file (Linux only).
PortOpenError::Reason openFailureReason(QSerialPort::SerialPortError error, Platform platform,
                                        bool mayReadAndWrite);

// Whether an error of an open port means that the port has gone away.
bool meansPortGone(QSerialPort::SerialPortError error, Platform platform);

} // namespace PortErrorRules
