#include "link/QtSerialLink.h"
#include "link/SideProbes.h"
#ifdef Q_OS_UNIX
#include "sim/PtyBox.h"
#endif
#include "support/Bytes.h"
#include "support/ScriptedPort.h"

#include <QHash>
#include <QRegularExpression>
#include <QTest>
#include <chrono>
#include <condition_variable>
#include <thread>

namespace {

using Outcome = ProbeSchedule::Outcome;
using namespace std::chrono_literals;

// How long a test waits for a thread before it calls the thread lost; the
// slow port's open never lasts that long, so a test cannot hang for good.
constexpr auto Lost = 10s;

// What a port on a probe thread went through, for the test's thread to look
// at: every field is read and written under the mutex.
struct Trace {
    std::mutex mutex;
    std::condition_variable changed;
    int made = 0;
    bool inOpen = false;
    bool released = false; // lets a slow port's open return
    bool destroyed = false;
    std::thread::id openedOn;
    std::thread::id destroyedOn;
    QByteArray written;
    int closes = 0;

    template <typename Done> bool waitFor(Done done) {
        std::unique_lock lock(mutex);
        return changed.wait_for(lock, Lost, done);
    }
    void release() {
        const std::lock_guard lock(mutex);
        released = true;
        changed.notify_all();
    }
};

// A scripted port that reports to its trace; a slow one stays in open()
// until the test releases it.
class TracedPort : public ScriptedPort {
public:
    TracedPort(std::shared_ptr<Trace> trace, bool slow) : m_trace(std::move(trace)), m_slow(slow) {}
    ~TracedPort() override {
        const std::lock_guard lock(m_trace->mutex);
        m_trace->destroyed = true;
        m_trace->destroyedOn = std::this_thread::get_id();
        m_trace->written = allWritten();
        m_trace->closes = closes;
        m_trace->changed.notify_all();
    }
    void open() override {
        {
            std::unique_lock lock(m_trace->mutex);
            m_trace->openedOn = std::this_thread::get_id();
            if (m_slow) {
                m_trace->inOpen = true;
                m_trace->changed.notify_all();
                m_trace->changed.wait_for(lock, Lost, [&] { return m_trace->released; });
                m_trace->inOpen = false;
            }
        }
        ScriptedPort::open();
    }

private:
    std::shared_ptr<Trace> m_trace;
    bool m_slow;
};

} // namespace

// Probes on threads of their own: a port that takes long to open holds up
// neither the others nor its owner.
class TestSideProbes : public QObject {
    Q_OBJECT
private slots:
    void beside_a_slow_port_data() {
        QTest::addColumn<QString>("behaviour");
        QTest::addColumn<Outcome>("outcome");
        QTest::addColumn<QByteArray>("sent");
        const QByteArray probe = bytes({0, 0, 255});
        QTest::newRow("the box") << "box" << Outcome::Box << probe;
        QTest::newRow("the box, its answer in two parts")
            << "box in parts" << Outcome::Box << probe;
        QTest::newRow("the box after bytes an earlier user left")
            << "stale, then box" << Outcome::Box << probe;
        QTest::newRow("silent") << "silent" << Outcome::Silent << probe;
        QTest::newRow("a printer's text") << "other" << Outcome::Other << probe;
        QTest::newRow("will not open") << "closed" << Outcome::WouldNotOpen << QByteArray();
        QTest::newRow("writes refused") << "writes fail" << Outcome::Silent << QByteArray();
    }

    void beside_a_slow_port() {
        QFETCH(QString, behaviour);
        QFETCH(Outcome, outcome);
        QFETCH(QByteArray, sent);
        const QString slowDevice = QStringLiteral("SLOW");
        const QString device = QStringLiteral("PORT");
        const QHash<QString, std::shared_ptr<Trace>> traces{{slowDevice, std::make_shared<Trace>()},
                                                            {device, std::make_shared<Trace>()}};
        Trace& slow = *traces.value(slowDevice);
        Trace& other = *traces.value(device);

        auto probes =
            std::make_unique<SideProbes>([traces, slowDevice, behaviour](const QString& name) {
                const std::shared_ptr<Trace> trace = traces.value(name);
                {
                    const std::lock_guard lock(trace->mutex);
                    ++trace->made;
                }
                auto port = std::make_unique<TracedPort>(trace, name == slowDevice);
                if (name == slowDevice)
                    return std::unique_ptr<SerialLink>(std::move(port));
                if (behaviour == QLatin1String("box"))
                    port->late = {"MERAVO"};
                else if (behaviour == QLatin1String("box in parts"))
                    port->late = {"MER", "AVO"};
                else if (behaviour == QLatin1String("stale, then box"))
                    port->reads = {"\x0d\x0a"}, port->late = {"MERAVO"};
                else if (behaviour == QLatin1String("other"))
                    port->late = {"ok\r\n"};
                else if (behaviour == QLatin1String("closed"))
                    port->openFails = true;
                else if (behaviour == QLatin1String("writes fail"))
                    port->failWrites = true;
                return std::unique_ptr<SerialLink>(std::move(port));
            });

        probes->start(slowDevice);
        QVERIFY(slow.waitFor([&] { return slow.inOpen; }));
        probes->start(slowDevice); // still running: not probed twice
        probes->start(device);

        QList<SideProbes::Result> results;
        QTRY_VERIFY_WITH_TIMEOUT((results += probes->finished(), !results.isEmpty()), 5000);
        QCOMPARE(results.size(), 1);
        QCOMPARE(results.first().device, device);
        QCOMPARE(results.first().outcome, outcome);
        QVERIFY(!probes->running(device));
        QVERIFY(probes->running(slowDevice));
        {
            const std::lock_guard lock(other.mutex);
            QVERIFY(other.destroyed);
            QCOMPARE(other.written, sent);
            if (outcome != Outcome::WouldNotOpen) {
                QCOMPARE(other.closes, 1);
                // Made, used and destroyed on a thread of its own.
                QCOMPARE(other.destroyedOn, other.openedOn);
                QVERIFY(other.openedOn != std::this_thread::get_id());
            }
        }

        // The owner goes while the slow port is still in open().
        probes.reset();
        {
            const std::lock_guard lock(slow.mutex);
            QVERIFY(slow.inOpen);
            QCOMPARE(slow.made, 1);
        }
        slow.release();
        // Its thread finishes alone: the port closed and destroyed there.
        QVERIFY(slow.waitFor([&] { return slow.destroyed; }));
        const std::lock_guard lock(slow.mutex);
        QCOMPARE(slow.destroyedOn, slow.openedOn);
        QCOMPARE(slow.written, bytes({0, 0, 255}));
        QCOMPARE(slow.closes, 1);
    }

    // The real port works on a thread of its own, without a warning.
    void a_real_port_finds_the_box() {
#ifndef Q_OS_UNIX
        QSKIP("needs a pseudo-terminal, which Windows lacks");
#else
        QTest::failOnWarning(QRegularExpression(QStringLiteral(".")));
        PtyBox box([] { return 0; });
        SideProbes probes([](const QString& device) {
            return std::make_unique<QtSerialLink>([device](int) { return device; });
        });
        probes.start(box.slavePath());
        QList<SideProbes::Result> results;
        QTRY_VERIFY_WITH_TIMEOUT((results += probes.finished(), !results.isEmpty()), 5000);
        QCOMPARE(results.first().outcome, Outcome::Box);
#endif
    }
};

QTEST_MAIN(TestSideProbes)
#include "tst_SideProbes.moc"
