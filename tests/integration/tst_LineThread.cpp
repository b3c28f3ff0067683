#include "app/MainWindow.h"
#include "link/PerixTexts.h"
#include "measuring/LineThread.h"
#include "support/ScriptedMessageBoxes.h"
#include "support/ScriptedPort.h"

#include <QLabel>
#include <QTest>
#include <condition_variable>
#include <mutex>

namespace {

// A machine's serial ports, shared by the ports made on the line's thread
// and on the probes' threads: COM1 named, the box on COM7, and one port
// whose opening hangs in the system until the test lets it go.
struct Machine {
    std::mutex mutex;
    std::condition_variable released;
    QString hanging;
    bool letGo = false;
    bool hangingNow = false;

    void open(const QString& device) {
        std::unique_lock lock(mutex);
        if (device != hanging)
            return;
        hangingNow = true;
        // Bounded, so that a failing test cannot hang the suite.
        released.wait_for(lock, std::chrono::seconds(20), [this] { return letGo; });
        hangingNow = false;
    }
    void release() {
        {
            const std::lock_guard lock(mutex);
            letGo = true;
        }
        released.notify_all();
    }
    bool isHanging() {
        const std::lock_guard lock(mutex);
        return hangingNow;
    }
};

// A port on that machine: the box answers the probe and every sample; the
// other ports open and say nothing.
class MachinePort : public ScriptedPort {
public:
    MachinePort(std::shared_ptr<Machine> machine, QString device)
        : m_machine(std::move(machine)), m_device(std::move(device)) {}

    QString namedDevice() const override { return QStringLiteral("COM1"); }
    QList<PortSearch::PresentPort> portsPresent() const override {
        return {{QStringLiteral("COM1"), {}},
                {QStringLiteral("COM3"), {}},
                {QStringLiteral("COM7"), {}}};
    }
    OtherPortMaker otherPortMaker() const override {
        return [machine = m_machine](const QString& device) -> std::unique_ptr<SerialLink> {
            return std::make_unique<MachinePort>(machine, device);
        };
    }
    void setDevice(const QString& device) override { m_device = device; }
    void open() override {
        m_machine->open(m_device);
        ScriptedPort::open();
    }
    void write(const QByteArray& bytes) override {
        ScriptedPort::write(bytes);
        if (m_device != QLatin1String("COM7"))
            return;
        if (bytes == QByteArray(1, char(PerixProtocol::Probe)))
            reads.push_back("MERAVO");
        else if (bytes == QByteArray(1, char(PerixProtocol::SampleLight)))
            reads.push_back(QByteArray(1, char(200)));
    }

private:
    std::shared_ptr<Machine> m_machine;
    QString m_device;
};

} // namespace

// The line on a thread of its own, as the program runs it, with a port whose
// opening hangs: the window goes on, the box is found elsewhere, and the
// program can end meanwhile.
class TestLineThread : public QObject {
    Q_OBJECT
private slots:
    void a_hanging_port_holds_up_nothing_data() {
        QTest::addColumn<QString>("hanging");
        QTest::addColumn<bool>("boxFoundMeanwhile");
        QTest::addColumn<bool>("endsMeanwhile");
        // Probed on a thread of its own: only that thread waits.
        QTest::newRow("another port") << QStringLiteral("COM3") << true << true;
        // Probed by the line itself, which waits; the window does not.
        QTest::newRow("the named port") << QStringLiteral("COM1") << false << false;
    }
    void a_hanging_port_holds_up_nothing() {
        QFETCH(QString, hanging);
        QFETCH(bool, boxFoundMeanwhile);
        QFETCH(bool, endsMeanwhile);
        auto machine = std::make_shared<Machine>();
        machine->hanging = hanging;
        ProgramValues v;
        ScriptedMessageBoxes boxes;
        auto line = std::make_unique<LineThread>(
            [machine] { return std::make_unique<MachinePort>(machine, QStringLiteral("COM1")); });
        auto window = std::make_unique<MainWindow>(v, line->line(), boxes, [] {});
        window->Form_Load();
        QTRY_VERIFY_WITH_TIMEOUT(machine->isHanging(), 5000);

        // The window's own clock goes on while the port hangs.
        const int tenths = v.TenthCount;
        QTRY_VERIFY_WITH_TIMEOUT(v.TenthCount > tenths + 2, 5000);
        if (boxFoundMeanwhile) {
            QTRY_VERIFY_WITH_TIMEOUT(!v.NotConnected, 5000);
            QCOMPARE(window->Label1->text(), PerixTexts::startupNotice());
        } else {
            QVERIFY(v.NotConnected);
        }

        // Quitting: the window goes, then the line is given a moment.
        window.reset();
        QCOMPARE(line->end(200), endsMeanwhile);
        QVERIFY(machine->isHanging());
        machine->release();
        // Let go by the system, the thread left behind ends by itself.
        QTRY_VERIFY_WITH_TIMEOUT(line->ended(), 5000);
    }
};

QTEST_MAIN(TestLineThread)
#include "tst_LineThread.moc"
