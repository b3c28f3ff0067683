#include "QtSerialLink.h"

#include "LowLatency.h"
#include "PortErrorRules.h"

#include <QFile>
#include <QSocketNotifier>

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

// Whether this program may read and write the device behind a port name.
// QSerialPort looks for names without a folder in /dev, and gives the name
// back without it ("pts/1"): the whole path is checked.
bool mayReadAndWrite([[maybe_unused]] const QString& portName) {
#ifdef Q_OS_UNIX
    const bool hasFolder = portName.startsWith(QLatin1Char('/')) ||
                           portName.startsWith(QLatin1String("./")) ||
                           portName.startsWith(QLatin1String("../"));
    const QString path = hasFolder ? portName : QStringLiteral("/dev/") + portName;
    return ::access(QFile::encodeName(path).constData(), R_OK | W_OK) == 0;
#else
    return true;
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

QString QtSerialLink::namedDevice() const {
    return m_namer(m_commPort);
}

QList<PortSearch::PresentPort> QtSerialLink::portsPresent() const {
    return m_present();
}

SerialLink::OtherPortMaker QtSerialLink::otherPortMaker() const {
    return [](const QString& device) -> std::unique_ptr<SerialLink> {
        return std::make_unique<QtSerialLink>([device](int) { return device; });
    };
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
    const QString device = m_device.isEmpty() ? m_namer(m_commPort) : m_device;
    m_port.setPortName(device);
    m_port.setBaudRate(m_settings.baudRate);
    m_port.setParity(toQtParity(m_settings.parity));
    m_port.setDataBits(QSerialPort::DataBits(m_settings.dataBits));
    m_port.setStopBits(m_settings.stopBits == 2 ? QSerialPort::TwoStop : QSerialPort::OneStop);
    m_port.setFlowControl(QSerialPort::NoFlowControl);
    if (!m_port.open(QIODevice::ReadWrite))
        throw PortOpenError(PortErrorRules::openFailureReason(m_port.error(), ThisPlatform,
                                                              mayReadAndWrite(device)),
                            "cannot open " + m_port.portName().toStdString() + ": " +
                                m_port.errorString().toStdString());
    askForLowLatency(m_port);
    m_gaveUp = false;
    ++m_openings;
    keepReadNotifierOff();
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
    const QByteArray bytes = m_port.readAll();
    // Emptying Qt's buffer arms its read notifier again.
    keepReadNotifierOff();
    return bytes;
}

bool QtSerialLink::waitForReadyRead(int msecs) {
    requireOpen("wait");
    if (m_port.bytesAvailable() > 0)
        return true;
    return m_port.waitForReadyRead(msecs);
}

// QSerialPort reads each reply as it arrives, woken by a read notifier: a
// second wake-up of the program on every sample, for nothing, since every
// read polls the line itself (readAll() above). On Unix the notifier stays
// off; a line that has gone shows at the next write or read.
void QtSerialLink::keepReadNotifierOff() {
#ifdef Q_OS_UNIX
    for (QSocketNotifier* n : m_port.findChildren<QSocketNotifier*>(Qt::FindDirectChildrenOnly))
        if (n->type() == QSocketNotifier::Read && n->isEnabled())
            n->setEnabled(false);
#endif
}

void QtSerialLink::requireOpen(const char* what) const {
    if (!m_port.isOpen())
        throw LinkError(std::string("cannot ") + what + ": port is not open");
    // Gone, and about to be closed: no more reads or writes on it meanwhile.
    // On Windows a tick that got in between went on with Qt's overlapped I/O
    // on the failed handle and, now and then, ended the program.
    if (m_gaveUp)
        throw LinkError(std::string("cannot ") + what + ": the port has gone");
}

void QtSerialLink::onError(QSerialPort::SerialPortError error) {
    // A timed-out wait is not a fault of the port.
    if (error == QSerialPort::NoError || error == QSerialPort::TimeoutError)
        return;
    if (!m_port.isOpen() || m_gaveUp)
        return;
    if (!PortErrorRules::meansPortGone(error, ThisPlatform)) {
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
