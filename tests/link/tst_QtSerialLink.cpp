#include "link/QtSerialLink.h"
#include "sim/PtyBox.h"

#include <QElapsedTimer>
#include <QSocketNotifier>
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

    // Only a port that goes away by itself is reported, and only once. On a
    // hung-up line Qt reports each read as a plain read error, which is no
    // loss by itself; the sampling's next write finds the device gone.
    void a_port_that_goes_away_says_so_once() {
        PtyBox box([] { return 0; });
        QtSerialLink link([&](int) { return box.slavePath(); });
        int gone = 0;
        int faults = 0;
        link.whenGone([&] { ++gone; });
        link.whenFaulty([&] { ++faults; });
        link.open();
        link.close();
        QTest::qWait(50);
        QCOMPARE(gone, 0);

        link.open();
        box.unplug();
        QElapsedTimer clock;
        clock.start();
        while (gone == 0 && clock.elapsed() < 2000) {
            QTest::qWait(10);
            if (link.isOpen())
                link.writeByte(242);
        }
        QCOMPARE(gone, 1);
        QVERIFY(!link.isOpen());
        QVERIFY_THROWS_EXCEPTION(LinkError, link.writeByte(242));
        const int faultsWhenClosed = faults;
        QTest::qWait(100);
        QCOMPARE(gone, 1);
        QCOMPARE(faults, faultsWhenClosed);
    }

    // The adapter back in another socket has another name: every opening
    // asks the namer again.
    void each_opening_asks_for_the_device_afresh() {
        PtyBox first([] { return 0; });
        PtyBox second([] { return 0; });
        const QStringList answers{first.slavePath(), QStringLiteral("/nonexistent/ttyTolvane1"),
                                  second.slavePath()};
        int asked = 0;
        QtSerialLink link([&](int) { return answers.value(asked++, answers.back()); });
        asked = 0; // what the link asked while it was made does not count
        link.open();
        link.writeByte(1);
        link.close();
        QVERIFY_THROWS_EXCEPTION(LinkError, link.open());
        link.open();
        link.writeByte(2);
        QCOMPARE(asked, 3);
        QTRY_COMPARE_WITH_TIMEOUT(second.received(), QByteArray(1, char(2)), 2000);
        QCOMPARE(first.received(), QByteArray(1, char(1)));
    }

    // Each write is flushed to the driver at once and leaves no notifier
    // armed to wake the program again for nothing; nor does a read, since
    // the next read pulls in the reply itself.
    void no_write_notifier_is_left_armed() {
        PtyBox box([] { return 0; });
        QtSerialLink link([&](int) { return box.slavePath(); });
        link.open();
        for (int i = 0; i < 3; ++i) {
            link.writeByte(242);
            for (const QSocketNotifier* n : link.findChildren<QSocketNotifier*>())
                QVERIFY(n->type() != QSocketNotifier::Write || !n->isEnabled());
        }
        QTRY_COMPARE_WITH_TIMEOUT(box.received(), QByteArray(3, char(242)), 2000);
        QByteArray replies;
        QTRY_COMPARE_WITH_TIMEOUT((replies += link.readAll()).size(), 3, 2000);
        for (const QSocketNotifier* n : link.findChildren<QSocketNotifier*>())
            QVERIFY(!n->isEnabled());
    }
#endif
};

QTEST_MAIN(TestQtSerialLink)
#include "tst_QtSerialLink.moc"
