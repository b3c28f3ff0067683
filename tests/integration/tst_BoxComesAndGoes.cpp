#include "link/LinkWatch.h"
#include "link/PerixTexts.h"
#include "support/WindowFixture.h"

#include <QTest>

using namespace std::chrono_literals;

// The whole window on a scripted port whose box comes and goes, its timers
// fired by hand as the event loop would fire them.
namespace {

enum Start { BoxThere, NoPort };

struct Classroom {
    WindowFixture f;
    int bothSamplers = 0; // ticks on which Timer1 and Timer3 both ran

    explicit Classroom(Start start) {
        f.port->openFails = start == NoPort;
        f.startWithBox();
        f.port->reads.clear();
        f.window->Timer1.start();
    }

    qint64 ms() const {
        return std::chrono::duration_cast<std::chrono::milliseconds>(f.now).count();
    }

    // Runs the timers up to `until` ms; the box answers every sample with
    // `brightness` while its port is open.
    void runUntil(qint64 until, int brightness = 200) {
        MainWindow& w = *f.window;
        while (ms() < until) {
            f.now += 10ms;
            if (w.Timer1.isActive() && w.Timer3.isActive())
                ++bothSamplers;
            if (w.Timer1.isActive() || w.Timer3.isActive()) {
                if (f.port->isOpen() && !w.LinkTimer.isActive())
                    f.port->reads.push_back(QByteArray(1, char(brightness)));
                w.Timer1.isActive() ? w.Timer1_Timer() : w.Timer3_Timer();
            }
            if (w.LinkTimer.isActive() && ms() % LinkWatch::TickMs == 0)
                w.LinkTimer_Timer();
            // The clock ticks half-way between the watch's tries.
            if (ms() % 100 == 50)
                w.Timer2_Timer();
        }
    }

    // The adapter is plugged in (again): its port opens, its box answers the probe.
    void plugIn() {
        f.port->openFails = false;
        f.port->reads.clear();
        f.port->reads.push_back("MERAVO");
    }
};

} // namespace

class TestBoxComesAndGoes : public QObject {
    Q_OBJECT
private slots:
    // No restart: a box plugged in after start-up, or back after a loss, is
    // found at the next try, about once a second, with or without the
    // sensitivity dialog open; only one sampler runs throughout.
    void the_box_is_found_whenever_it_comes_data() {
        QTest::addColumn<int>("start");
        QTest::addColumn<bool>("dialog");
        QTest::addColumn<qint64>("pulledAt"); // -1: never
        QTest::addColumn<qint64>("pluggedAt");
        QTest::addColumn<qint64>("foundAt");
        QTest::newRow("plugged in just before the third try")
            << int(NoPort) << false << qint64(-1) << qint64(2990) << qint64(3000);
        QTest::newRow("plugged in 3.5 s after start-up")
            << int(NoPort) << false << qint64(-1) << qint64(3500) << qint64(4000);
        QTest::newRow("plugged in while the dialog is open")
            << int(NoPort) << true << qint64(-1) << qint64(2500) << qint64(3000);
        QTest::newRow("pulled and back")
            << int(BoxThere) << false << qint64(1000) << qint64(2500) << qint64(3000);
        QTest::newRow("pulled and back while the dialog is open")
            << int(BoxThere) << true << qint64(1000) << qint64(1200) << qint64(2000);
    }
    void the_box_is_found_whenever_it_comes() {
        QFETCH(int, start);
        QFETCH(bool, dialog);
        QFETCH(qint64, pulledAt);
        QFETCH(qint64, pluggedAt);
        QFETCH(qint64, foundAt);
        Classroom c{Start(start)};
        MainWindow& w = *c.f.window;
        QCOMPARE(w.LinkTimer.isActive(), start == NoPort);
        if (dialog)
            w.MenuSettei_Click();
        if (pulledAt >= 0) {
            c.runUntil(pulledAt);
            c.f.port->goAway();
        }
        c.runUntil(pluggedAt);
        QCOMPARE(c.f.display(), PerixTexts::notConnectedNotice());
        const qsizetype probesBefore = c.f.port->allWritten().count(QByteArray("\0\0\xFF", 3));
        c.plugIn();
        c.runUntil(foundAt - 10);
        QVERIFY(w.LinkTimer.isActive());
        c.runUntil(foundAt);
        QVERIFY(!w.LinkTimer.isActive());
        QCOMPARE(c.f.port->allWritten().count(QByteArray("\0\0\xFF", 3)), probesBefore + 1);
        // A fresh interval; sampling goes on with the sampler that ran before.
        QCOMPARE(c.f.v.TenthCount, 0);
        QCOMPARE(c.f.v.PeakBrightness, 0);
        c.runUntil(foundAt + 50);
        QCOMPARE(c.f.v.DataValue, 200);
        QCOMPARE(w.Timer1.isActive(), !dialog);
        QCOMPARE(w.Timer3.isActive(), dialog);
        QCOMPARE(c.bothSamplers, 0);
    }
};

QTEST_MAIN(TestBoxComesAndGoes)
#include "tst_BoxComesAndGoes.moc"
