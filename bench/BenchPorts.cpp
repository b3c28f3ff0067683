#include "BenchPorts.h"

#include <algorithm>
#include <thread>

// A real serial port that notes its openings, and sleeps in open() on the
// bench's slow device. Everything else goes straight to the port.
class BenchLink : public SerialLink {
public:
    BenchLink(std::shared_ptr<BenchPorts> ports, std::unique_ptr<QtSerialLink> port, QString device)
        : m_ports(std::move(ports)), m_port(std::move(port)), m_device(std::move(device)) {
        m_port->whenGone([this] { reportGone(); });
        m_port->whenFaulty([this] { reportFault(); });
    }

    void setCommPort(int portNumber) override {
        m_port->setCommPort(portNumber);
        m_chosen.clear();
    }
    QString namedDevice() const override { return m_port->namedDevice(); }
    QList<PortSearch::PresentPort> portsPresent() const override { return m_port->portsPresent(); }
    OtherPortMaker otherPortMaker() const override {
        return [ports = m_ports](const QString& device) -> std::unique_ptr<SerialLink> {
            return std::make_unique<BenchLink>(
                ports, std::make_unique<QtSerialLink>([device](int) { return device; }), device);
        };
    }
    void setDevice(const QString& device) override {
        m_port->setDevice(device);
        m_chosen = device;
    }
    void setSettings(const QString& settings) override { m_port->setSettings(settings); }
    void open() override {
        const QString device = !m_chosen.isEmpty()   ? m_chosen
                               : !m_device.isEmpty() ? m_device
                                                     : m_port->namedDevice();
        m_ports->noteOpening(device);
        if (m_ports->isSlow(device)) {
            m_ports->slowOpeningUnderWay(true);
            std::this_thread::sleep_for(BenchPorts::SlowOpen);
            m_ports->slowOpeningUnderWay(false);
        }
        m_port->open();
    }
    bool isOpen() const override { return m_port->isOpen(); }
    void close() override { m_port->close(); }
    void setBinaryInput() override { m_port->setBinaryInput(); }
    void setSThreshold(int bytes) override { m_port->setSThreshold(bytes); }
    void setRThreshold(int bytes) override { m_port->setRThreshold(bytes); }
    void write(const QByteArray& bytes) override { m_port->write(bytes); }
    QByteArray readAll() override { return m_port->readAll(); }
    bool waitForReadyRead(int msecs) override { return m_port->waitForReadyRead(msecs); }

private:
    std::shared_ptr<BenchPorts> m_ports;
    std::unique_ptr<QtSerialLink> m_port;
    QString m_device; // a probe's port: its one device
    QString m_chosen; // the search's choice for the line's port; empty: COM n
};

BenchPorts::BenchPorts(QString named, QStringList present, QString slow)
    : m_named(std::move(named)), m_present(std::move(present)), m_slow(std::move(slow)) {}

QString BenchPorts::named() const {
    const std::lock_guard lock(m_mutex);
    return m_named;
}

QList<PortSearch::PresentPort> BenchPorts::present() const {
    const std::lock_guard lock(m_mutex);
    QList<PortSearch::PresentPort> ports;
    for (const QString& device : m_present)
        ports.append({device, {}});
    return ports;
}

void BenchPorts::plugIn(const QString& device) {
    const std::lock_guard lock(m_mutex);
    if (!m_present.contains(device))
        m_present.append(device);
}

void BenchPorts::pullOut(const QString& device) {
    const std::lock_guard lock(m_mutex);
    m_present.removeAll(device);
}

QList<BenchPorts::Opening> BenchPorts::openings() const {
    const std::lock_guard lock(m_mutex);
    return m_openings;
}

qsizetype BenchPorts::openingsOf(const QString& device) const {
    const std::lock_guard lock(m_mutex);
    return std::count_if(m_openings.begin(), m_openings.end(),
                         [&](const Opening& o) { return o.device == device; });
}

bool BenchPorts::slowOpening() const {
    const std::lock_guard lock(m_mutex);
    return m_slowOpenings > 0;
}

void BenchPorts::noteOpening(const QString& device) {
    const std::lock_guard lock(m_mutex);
    m_openings.append({device, std::chrono::steady_clock::now()});
}

void BenchPorts::slowOpeningUnderWay(bool underWay) {
    const std::lock_guard lock(m_mutex);
    m_slowOpenings += underWay ? 1 : -1;
}

std::unique_ptr<SerialLink> BenchPorts::lineOf(const std::shared_ptr<BenchPorts>& ports) {
    return std::make_unique<BenchLink>(
        ports,
        std::make_unique<QtSerialLink>([ports](int) { return ports->named(); },
                                       [ports] { return ports->present(); }),
        QString());
}
