#include "link/LinkStartup.h"
#include "link/LinkWatch.h"
#include "link/PortSearch.h"
#include "support/ScriptedPort.h"

#include <QHash>
#include <QTest>

namespace {

// The serial ports of a machine, as the link sees them: a list of ports
// present ("link>device" for an adapter's link), the box on one of them or
// on none, and some held by another program. Each device opened is kept,
// with the time.
struct ScriptedPorts : ScriptedPort {
    QString named;
    Platform platform = Platform::Unix;
    QList<PortSearch::PresentPort> present;
    QString box;
    QStringList busy;
    QString device; // set by the search; empty: the named one
    QList<std::pair<QString, qint64>> opened;
    const qint64* now = nullptr;

    QString namedDevice() const override { return named; }
    QList<PortSearch::PresentPort> portsPresent() const override { return present; }
    void setDevice(const QString& d) override { device = d; }
    void open() override {
        const QString d = device.isEmpty() ? named : device;
        const auto entry = std::find_if(present.begin(), present.end(),
                                        [&](const auto& p) { return p.device == d; });
        if (busy.contains(d) || entry == present.end())
            throw PortOpenError(PortOpenError::Reason::Busy, "cannot open");
        ScriptedPort::open();
        opened.append({d, *now});
        if (!box.isEmpty() && (d == box || entry->target == box))
            reads.push_back("MERAVO");
    }
    // The adapter is pulled out and plugged into another socket, where the
    // system gives it another name.
    void moveBox(const QString& to) {
        present.removeIf([&](const auto& p) {
            return p.device.compare(box, Qt::CaseInsensitive) == 0 || p.target == box;
        });
        present.append({to, {}});
        box = to;
        goAway();
    }
};

QList<PortSearch::PresentPort> portsOf(const QStringList& names) {
    QList<PortSearch::PresentPort> ports;
    for (const QString& name : names) {
        const QStringList parts = name.split(QLatin1Char('>'));
        ports.append({parts.at(0), parts.value(1)});
    }
    return ports;
}

constexpr qint64 MoveAt = 10000;
constexpr qint64 RunFor = 20000;

} // namespace

// Where the box is looked for, and found: start-up's probe of the named
// port, then the watch's search over the ports present.
class TestPortSearch : public QObject {
    Q_OBJECT
private slots:
    void search_data() {
        QTest::addColumn<Platform>("platform");
        QTest::addColumn<QString>("named");
        QTest::addColumn<QStringList>("present");
        QTest::addColumn<QStringList>("busy");
        QTest::addColumn<QString>("box");    // empty: nowhere
        QTest::addColumn<QString>("moveTo"); // after MoveAt; empty: it stays
        // The devices opened, in order, from start-up on, as far as given.
        QTest::addColumn<QStringList>("probes");
        QTest::addColumn<QString>("foundOn"); // open at the end; empty: none
        const Platform win = Platform::Windows;
        const Platform unix = Platform::Unix;
        const QString a = QStringLiteral("/dev/tolvane/a");
        const QString b = QStringLiteral("/dev/tolvane/b");
        const QStringList adapters{
            QStringLiteral("/dev/ttyS0"),        QStringLiteral("/dev/ttyUSB1"),
            b + QStringLiteral(">/dev/ttyUSB1"), a + QStringLiteral(">/dev/ttyUSB0"),
            QStringLiteral("/dev/ttyUSB0"),      QStringLiteral("/dev/ttyACM0")};
        const QStringList coms{QStringLiteral("COM10"), QStringLiteral("COM7"),
                               QStringLiteral("COM3"), QStringLiteral("com7")};
        const QStringList none;

        QTest::newRow("box on the named port: nothing else is opened")
            << unix << a << adapters << none << a << QString() << QStringList{a} << a;
        QTest::newRow("--port device of the box, also an adapter's link")
            << unix << QStringLiteral("/dev/ttyUSB1") << adapters << none
            << QStringLiteral("/dev/ttyUSB1") << QString() << QStringList{"/dev/ttyUSB1"}
            << QStringLiteral("/dev/ttyUSB1");
        QTest::newRow("Linux: first adapter another device, box on the second")
            << unix << a << adapters << none << QStringLiteral("/dev/ttyUSB1") << QString()
            << QStringList{a, b} << b;
        // ACM devices (boards, modems) are never the box; the others rest 2 s
        // after a silent probe, the named one does not.
        QTest::newRow("Linux: box nowhere: adapters, built-in, no ACM; the others rest")
            << unix << a << adapters << none << QString() << QString()
            << QStringList{a, b, "/dev/ttyS0", a, a, a, b, "/dev/ttyS0"} << QString();
        QTest::newRow("Linux: numbers in order, COM1 on a built-in port absent")
            << unix << QStringLiteral("/dev/ttyS0")
            << QStringList{"/dev/ttyUSB10", "/dev/ttyUSB9", "/dev/ttyS1"} << none << QString()
            << QString() << QStringList{"/dev/ttyUSB9", "/dev/ttyUSB10", "/dev/ttyS1"} << QString();
        QTest::newRow("Windows: COM1 absent, box on COM7")
            << win << QStringLiteral("COM1") << coms << none << QStringLiteral("COM7") << QString()
            << QStringList{"COM3", "COM7"} << QStringLiteral("COM7");
        QTest::newRow("Windows: COM1 silent, box on COM10, COM7 busy")
            << win << QStringLiteral("COM1") << coms + QStringList{"COM1"} << QStringList{"COM7"}
            << QStringLiteral("COM10") << QString() << QStringList{"COM1", "COM3", "COM10"}
            << QStringLiteral("COM10");
        QTest::newRow("Windows: box on the named COM3 wins over COM1")
            << win << QStringLiteral("COM3") << coms + QStringList{"COM1"} << none
            << QStringLiteral("COM3") << QString() << QStringList{"COM3"} << QStringLiteral("COM3");
        QTest::newRow("Windows: the box moves from COM7 to COM12")
            << win << QStringLiteral("COM1") << coms << none << QStringLiteral("COM7")
            << QStringLiteral("COM12") << QStringList{"COM3", "COM7", "COM3", "COM10", "COM12"}
            << QStringLiteral("COM12");
        QTest::newRow("Linux: the box moves to another adapter")
            << unix << a << adapters << none << QStringLiteral("/dev/ttyUSB1")
            << QStringLiteral("/dev/ttyUSB2") << QStringList{a, b, a, "/dev/ttyUSB2"}
            << QStringLiteral("/dev/ttyUSB2");
    }

    void search() {
        QFETCH(Platform, platform);
        QFETCH(QString, named);
        QFETCH(QStringList, present);
        QFETCH(QStringList, busy);
        QFETCH(QString, box);
        QFETCH(QString, moveTo);
        QFETCH(QStringList, probes);
        QFETCH(QString, foundOn);

        qint64 now = 0;
        auto* ports = new ScriptedPorts;
        ports->now = &now;
        ports->platform = platform;
        ports->named = named;
        ports->present = portsOf(present);
        ports->busy = busy;
        ports->box = box;
        LinkWatch watch(
            std::unique_ptr<SerialLink>(ports), {}, [&] { return now; }, platform);

        // Start-up's probe is the search's first round; then the line's link timer.
        watch.start();
        for (; now <= RunFor; now += LinkWatch::TickMs) {
            if (now == MoveAt && !moveTo.isEmpty())
                ports->moveBox(moveTo);
            if (watch.watching())
                watch.tick();
        }

        QStringList seen;
        for (const auto& [device, at] : ports->opened)
            seen << device;
        QCOMPARE(seen.mid(0, probes.size()), probes);
        QCOMPARE(watch.isOpen() ? seen.last() : QString(), foundOn);
        // However many ports there are, none is probed more than once a second.
        QHash<QString, qint64> last;
        for (const auto& [device, at] : ports->opened) {
            QVERIFY2(!last.contains(device) || at - last[device] >= LinkWatch::RetryMs,
                     qPrintable(device));
            last[device] = at;
        }
    }
};

QTEST_MAIN(TestPortSearch)
#include "tst_PortSearch.moc"
