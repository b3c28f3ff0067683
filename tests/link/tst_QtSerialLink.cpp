#include "link/QtSerialLink.h"
#include "sim/PtyBox.h"

#include <QElapsedTimer>
#include <QTest>

class TestQtSerialLink : public QObject {
    Q_OBJECT
private slots:
    void missing_port_fails_to_open_and_closed_port_refuses_io() {
        QtSerialLink link([](int n) { return QStringLiteral("/nonexistent/ttyTolvane%1").arg(n); });
        // A port that never opened has not gone away: nobody retries it.
        int gone = 0;
        link.whenGone([&] { ++gone; });
        link.setCommPort(2);
        QCOMPARE(link.deviceName(), QStringLiteral("/nonexistent/ttyTolvane2"));
        link.setSettings(QStringLiteral("9600,N,8,1"));
        QVERIFY_THROWS_EXCEPTION(LinkError, link.open());
        QVERIFY(!link.isOpen());
        QVERIFY_THROWS_EXCEPTION(LinkError, link.writeByte(242));
        QVERIFY_THROWS_EXCEPTION(LinkError, link.readAll());
        QVERIFY_THROWS_EXCEPTION(LinkError, link.waitForReadyRead(5));
        QTest::qWait(20);
        QCOMPARE(gone, 0);
    }

    void settings_text_is_checked() {
        QtSerialLink link;
        for (const char* bad : {"", "9600", "9600,X,8,1", "fast,N,8,1", "9600,N,9,1", "9600,N,8,3"})
            QVERIFY_THROWS_EXCEPTION(LinkError, link.setSettings(QString::fromLatin1(bad)));
        link.setSettings(QStringLiteral("9600,n,8,1"));
        QVERIFY_THROWS_EXCEPTION(LinkError, link.setCommPort(0));
    }

#ifndef Q_OS_UNIX
    void busy_port_and_bytes_both_ways() {
        QSKIP("these put a box on a pseudo-terminal, which Windows lacks");
    }
#else
    void busy_port_fails_to_open() {
        PtyBox box([] { return 0; });
        QtSerialLink first([&](int) { return box.slavePath(); });
        QtSerialLink second([&](int) { return box.slavePath(); });
        first.open();
        QVERIFY_THROWS_EXCEPTION(LinkError, second.open());
        QVERIFY(first.isOpen());
    }

    void bytes_pass_unchanged_both_ways() {
        PtyBox box([] { return 0; });
        QtSerialLink link([&](int) { return box.slavePath(); });
        link.open();
        link.write(QByteArray("\0\0\xFF\xF2", 4));
        QByteArray reply;
        QElapsedTimer clock;
        clock.start();
        while (reply.size() < 7 && clock.elapsed() < 2000) {
            link.waitForReadyRead(50);
            reply += link.readAll();
        }
        QCOMPARE(reply, QByteArray("MERAVO\0", 7));
        QCOMPARE(box.received(), QByteArray("\0\0\xFF\xF2", 4));
    }

    // Only a port that goes away by itself is reported, and only once.
    void a_port_that_goes_away_says_so_once() {
        PtyBox box([] { return 0; });
        QtSerialLink link([&](int) { return box.slavePath(); });
        int gone = 0;
        link.whenGone([&] { ++gone; });
        link.open();
        link.close();
        QTest::qWait(50);
        QCOMPARE(gone, 0);

        link.open();
        box.unplug();
        QTRY_COMPARE_WITH_TIMEOUT(gone, 1, 2000);
        QVERIFY(!link.isOpen());
        QVERIFY_THROWS_EXCEPTION(LinkError, link.writeByte(242));
        QTest::qWait(100);
        QCOMPARE(gone, 1);
    }
#endif
};

QTEST_MAIN(TestQtSerialLink)
#include "tst_QtSerialLink.moc"
