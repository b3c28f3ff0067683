#include "PortErrorRules.h"

namespace PortErrorRules {

PortOpenError::Reason openFailureReason(QSerialPort::SerialPortError error, Platform platform,
                                        bool mayReadAndWrite) {
    switch (error) {
    case QSerialPort::DeviceNotFoundError:
        return PortOpenError::Reason::NoSuchPort;
    case QSerialPort::PermissionError:
        // Linux reports a port held by another program (Qt's lock file, the
        // exclusive flag) and a port we may not use alike: one we could read
        // and write must be the busy one. Windows denies access only to a
        // port that another program holds.
        if (platform == Platform::Unix && !mayReadAndWrite)
            return PortOpenError::Reason::NotAllowed;
        return PortOpenError::Reason::Busy;
    default:
        return PortOpenError::Reason::Other;
    }
}

bool meansPortGone(QSerialPort::SerialPortError error, Platform platform) {
    // On Linux only ResourceError means that the device has gone away; a
    // garbled read or a write refused once (noise on a long cable, a busy USB
    // hub) must not wipe the reading. On Windows, though, Qt's overlapped
    // reads and writes cannot go on after one of them has failed: the next
    // one ends the program inside QSerialPort (seen with Qt 6.4 under Wine
    // when the line hung up: "Not ready", then "Broken pipe"). There every
    // failure counts as the port gone, and the watch opens it afresh.
    // Windows reports no line errors from noise anyway.
    if (platform == Platform::Windows)
        return error != QSerialPort::NoError && error != QSerialPort::TimeoutError;
    return error == QSerialPort::ResourceError;
}

} // namespace PortErrorRules
