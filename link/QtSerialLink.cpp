#include "QtSerialLink.h"

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace {

QSerialPort::Parity toQtParity(char p) {
    switch (p) {
    case 'E':
        return QSerialPort::EvenParity;
    case 'O':
        return QSerialPort::OddParity;
    case 'M':
        return QSerialPort::MarkParity;
    case 'S':
        return QSerialPort::SpaceParity;
    default:
        return QSerialPort::NoParity;
    }
}

// QSerialPort reports a port held by someone else and a port we may not use
// alike; a device we could read and write must be the busy one.
PortOpenError::Reason openFailureReason(QSerialPort::SerialPortError error,
                                        [[maybe_unused]] const QString& device) {
    switch (error) {
    case QSerialPort::DeviceNotFoundError:
        return PortOpenError::Reason::NoSuchPort;
    case QSerialPort::PermissionError:
#ifdef Q_OS_UNIX
        if (::access(device.toLocal8Bit().constData(), R_OK | W_OK) != 0)
            return PortOpenError::Reason::NotAllowed;
#endif
        return PortOpenError::Reason::Busy;
    default:
        return PortOpenError::Reason::Other;
    }
}

// Only ResourceError means that the device has gone away; a garbled read or
// a write refused once (noise on a long cable, a busy USB hub) must not wipe
// the reading. On Windows, though, Qt's overlapped reads and writes cannot go
// on after one of them has failed: the next one ends the program inside
// QSerialPort (seen with Qt 6.4 under Wine when the line hung up: "Not ready",
// then "Broken pipe"). There every failure counts as the port gone, and the
// watch opens it afresh. Windows reports no line errors from noise anyway.
bool meansPortGone(QSerialPort::SerialPortError error) {
#ifdef Q_OS_WIN
    return error != QSerialPort::NoError && error != QSerialPort::TimeoutError;
#else
    return error == QSerialPort::ResourceError;
#endif
}

// The box's receive buffer is 1024 bytes; keeping Qt's the same size stops a
// stalled reader from piling up memory.
constexpr qint64 ReceiveBufferSize = 1024;

// Two bytes take 2 ms at 9600 baud; a port that has not sent them in this
// time will not.
constexpr int WriteDrainMs = 500;

} // namespace

QtSerialLink::QtSerialLink(ComPortNamer namer, PortSearch::PresentPorts present, QObject* parent)
    : QObject(parent), m_namer(std::move(namer)), m_present(std::move(present)) {
    m_port.setPortName(m_namer(m_commPort));
    m_port.setReadBufferSize(ReceiveBufferSize);
    connect(&m_port, &QSerialPort::errorOccurred, this, &QtSerialLink::onError);
}

void QtSerialLink::setCommPort(int portNumber) {
    if (m_port.isOpen())
        throw LinkError("cannot change the port while it is open");
    if (portNumber < 1 || portNumber > 4)
        throw LinkError("port number out of range");
    m_commPort = portNumber;
    m_device.clear();
    m_port.setPortName(m_namer(portNumber));
}

QStringList QtSerialLink::devicesToSearch() const {
    return PortSearch::order(m_namer(m_commPort), m_present(), PortSearch::ThisPlatform);
}

void QtSerialLink::setDevice(const QString& device) {
    if (m_port.isOpen())
        throw LinkError("cannot change the port while it is open");
    m_device = device;
    m_port.setPortName(device.isEmpty() ? m_namer(m_commPort) : device);
}

void QtSerialLink::setSettings(const QString& settings) {
    m_settings = LineSettings::parse(settings);
    if (m_port.isOpen()) {
        m_port.setBaudRate(m_settings.baudRate);
        m_port.setParity(toQtParity(m_settings.parity));
        m_port.setDataBits(QSerialPort::DataBits(m_settings.dataBits));
        m_port.setStopBits(m_settings.stopBits == 2 ? QSerialPort::TwoStop : QSerialPort::OneStop);
    }
}

void QtSerialLink::open() {
    if (m_port.isOpen())
        throw LinkError("port already open");
    m_port.setPortName(m_device.isEmpty() ? m_namer(m_commPort) : m_device);
    m_port.setBaudRate(m_settings.baudRate);
    m_port.setParity(toQtParity(m_settings.parity));
    m_port.setDataBits(QSerialPort::DataBits(m_settings.dataBits));
    m_port.setStopBits(m_settings.stopBits == 2 ? QSerialPort::TwoStop : QSerialPort::OneStop);
    m_port.setFlowControl(QSerialPort::NoFlowControl);
    if (!m_port.open(QIODevice::ReadWrite))
        throw PortOpenError(openFailureReason(m_port.error(), m_port.portName()),
                            "cannot open " + m_port.portName().toStdString() + ": " +
                                m_port.errorString().toStdString());
    m_gaveUp = false;
    ++m_openings;
}

bool QtSerialLink::isOpen() const {
    return m_port.isOpen();
}

QtSerialLink::~QtSerialLink() {
    close();
}

void QtSerialLink::close() {
    // On Windows the last bytes written may still be in an overlapped write,
    // which closing cancels: perix-io, which writes and ends, lost its command
    // now and then. Wait for them first.
    if (m_port.isOpen() && m_port.bytesToWrite() > 0)
        m_port.waitForBytesWritten(WriteDrainMs);
    m_port.close();
    m_gaveUp = false;
}

// QSerialPort always hands over raw bytes; the thresholds only mattered for
// notifications that nobody listens to. They are accepted for completeness.
void QtSerialLink::setBinaryInput() {}
void QtSerialLink::setSThreshold(int) {}
void QtSerialLink::setRThreshold(int) {}

void QtSerialLink::write(const QByteArray& bytes) {
    requireOpen("write");
    if (m_port.write(bytes) != bytes.size())
        throw LinkError("write failed: " + m_port.errorString().toStdString());
    // Push the bytes to the driver now rather than at the next event-loop pass,
    // so a command goes out when it is written, as the box expects.
    m_port.flush();
#ifdef Q_OS_UNIX
    // That flush leaves QSerialPort's write notifier armed, to report the
    // bytes written at the next pass of the event loop: one more wake-up on
    // every sample, for nothing. Once all is written, a second flush reports
    // them at once and disarms the notifier.
    if (m_port.isOpen() && m_port.bytesToWrite() == 0)
        m_port.flush();
#endif
}

QByteArray QtSerialLink::readAll() {
    requireOpen("read");
    // QSerialPort only fills its buffer from the event loop; a zero-timeout
    // wait pulls in whatever the driver holds already, without blocking.
    // Under Wine this wait is the only way bytes come in at all: Qt's receive
    // notification is not armed again after the first wait ends.
    if (m_port.bytesAvailable() == 0)
        m_port.waitForReadyRead(0);
    if (!m_port.isOpen())
        throw LinkError("port closed while reading");
    return m_port.readAll();
}

bool QtSerialLink::waitForReadyRead(int msecs) {
    requireOpen("wait");
    if (m_port.bytesAvailable() > 0)
        return true;
    return m_port.waitForReadyRead(msecs);
}

void QtSerialLink::requireOpen(const char* what) const {
    if (!m_port.isOpen())
        throw LinkError(std::string("cannot ") + what + ": port is not open");
}

void QtSerialLink::onError(QSerialPort::SerialPortError error) {
    // A timed-out wait is not a fault of the port.
    if (error == QSerialPort::NoError || error == QSerialPort::TimeoutError)
        return;
    if (!m_port.isOpen() || m_gaveUp)
        return;
    if (!meansPortGone(error)) {
        // Cleared, so that the next one is reported again; the watch on the
        // line judges whether it keeps failing.
        m_port.clearError();
        reportFault();
        return;
    }
    // An unplugged adapter keeps reporting errors and its read notifier keeps
    // firing; close once, later, outside QSerialPort's own notification code.
    m_gaveUp = true;
    QMetaObject::invokeMethod(
        this,
        [this, opening = m_openings] {
            if (opening != m_openings || !m_gaveUp)
                return; // closed or opened again meanwhile
            m_port.close();
            reportGone();
        },
        Qt::QueuedConnection);
}
