#include "link/PerixTexts.h"
#include "support/WindowFixture.h"

#include <QTest>

// The main window when the box's port goes away mid-run.
class TestLinkLoss : public QObject {
    Q_OBJECT
private slots:
    void a_lost_port_replaces_the_period_with_the_notice() {
        WindowFixture f;
        f.startWithBox();
        f.sample(200);
        f.clock(7);
        f.sample(20);
        QCOMPARE(f.display(), QStringLiteral("0.7秒"));

        f.port->goAway();
        QCOMPARE(f.display(), PerixTexts::notConnectedNotice());
        QVERIFY(f.window->LinkTimer.isActive());
        // Sampling ticks on the lost link change nothing, bytes waiting or not.
        f.clock(3);
        f.sample(200);
        f.sample(20);
        QCOMPARE(f.display(), PerixTexts::notConnectedNotice());
        QCOMPARE(f.v.TenthCount, 3);
    }

    void a_port_that_never_opened_is_not_retried() {
        WindowFixture f;
        f.port->openFails = true;
        f.window->Form_Load();
        QCOMPARE(f.display(), PerixTexts::notConnectedNotice());
        f.window->Timer1_Timer();
        f.window->Timer1_Timer();
        QVERIFY(!f.window->LinkTimer.isActive());
        QCOMPARE(f.port->opens, 1);
    }
};

QTEST_MAIN(TestLinkLoss)
#include "tst_LinkLoss.moc"
