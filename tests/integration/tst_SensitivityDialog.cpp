#include "sensitivity/FSettei.h"
#include "support/WindowFixture.h"

#include <QCloseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

// The sensitivity dialog opened from the main window, sampling through the
// main window's Timer3 on a scripted port.
namespace {
enum Port { Answers, NeverOpened, Gone };
enum Step { Open, Ok, Cancel, CloseBox, AskCloseNo, AskCloseYes, QuitNo, QuitYes };

void step(WindowFixture& f, int s) {
    QCloseEvent close;
    f.boxes.nextAnswer = s == AskCloseYes || s == QuitYes;
    FSettei* d = f.window->settei();
    if (s == Open)
        f.window->MenuSettei_Click();
    else if (s == Ok || s == Cancel)
        (s == Ok ? d->CmdOk : d->CmdCansel)->click();
    else if (s == CloseBox)
        d->close();
    else if (s == AskCloseNo || s == AskCloseYes)
        f.window->Form_QueryUnload(&close);
    else
        f.window->MenuOwaru_Click();
}

// Dialog sampling ticks, one brightness byte waiting at each.
void sample3(WindowFixture& f, const QByteArray& ticks) {
    for (char b : ticks) {
        f.port->reads.push_back(QByteArray(1, b));
        f.window->Timer3_Timer();
    }
}
} // namespace

class TestSensitivityDialog : public QObject {
    Q_OBJECT
private slots:
    void option_on_opening_and_ways_out_data() {
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("option");  // selected on opening
        QTest::addColumn<int>("clicked"); // -1: none
        QTest::addColumn<int>("way");     // how the dialog is left, or reopened
        QTest::addColumn<int>("after");
        QTest::newRow("10") << 10 << 0 << -1 << int(Cancel) << 10;
        QTest::newRow("11") << 11 << 1 << -1 << int(Cancel) << 11;
        QTest::newRow("30") << 30 << 1 << -1 << int(Cancel) << 30;
        QTest::newRow("31") << 31 << 2 << -1 << int(Cancel) << 31;
        QTest::newRow("50") << 50 << 2 << -1 << int(Cancel) << 50;
        QTest::newRow("80") << 80 << 3 << -1 << int(Cancel) << 80;
        QTest::newRow("81") << 81 << 4 << -1 << int(Cancel) << 81;
        QTest::newRow("254") << 254 << 4 << -1 << int(Cancel) << 254;
        QTest::newRow("40, OK") << 40 << 2 << -1 << int(Ok) << 50;
        QTest::newRow("40, close box") << 40 << 2 << -1 << int(CloseBox) << 40;
        QTest::newRow("click, OK") << 50 << 2 << 0 << int(Ok) << 10;
        QTest::newRow("click, Cancel") << 50 << 2 << 0 << int(Cancel) << 50;
        QTest::newRow("click, reopen") << 50 << 2 << 0 << int(Open) << 10;
    }
    void option_on_opening_and_ways_out() {
        QFETCH(int, start);
        QFETCH(int, option);
        QFETCH(int, clicked);
        QFETCH(int, way);
        QFETCH(int, after);
        WindowFixture f;
        f.startWithBox();
        f.v.Sensitivity = std::int16_t(start);
        step(f, Open);
        FSettei* d = f.window->settei();
        QVERIFY(d->KandoOp[option]->isChecked());
        const int optionValues[] = {10, 30, 50, 80, 100};
        QCOMPARE(f.v.Sensitivity, optionValues[option]);
        sample3(f, "\x80");
        if (clicked >= 0)
            d->KandoOp[clicked]->click();
        f.clock(2);
        step(f, way);
        QCOMPARE(f.v.Sensitivity, after);
        QCOMPARE(f.v.TenthCount, 0);
        // Only the close box discards the dialog and its readings. Cancel
        // goes back to the value saved at the latest opening.
        step(f, Open);
        QCOMPARE(f.window->settei()->Label3->text(), way == CloseBox ? "" : " 128");
        step(f, Cancel);
        QCOMPARE(f.v.Sensitivity, after);
    }

    void readings_data() {
        QTest::addColumn<int>("port");
        QTest::addColumn<int>("clockTicks"); // after opening
        QTest::addColumn<QByteArray>("ticks");
        QTest::addColumn<QString>("period");
        QTest::addColumn<QString>("brightness");
        QTest::newRow("0") << int(Answers) << 0 << QByteArray(1, '\0') << QString() << " 0";
        QTest::newRow("255") << int(Answers) << 0 << QByteArray("\xff") << QString() << " 255";
        QTest::newRow("drop 50") << int(Answers) << 4 << QByteArray("\xc8\x96") << QString()
                                 << " 150";
        QTest::newRow("drop 51") << int(Answers) << 4 << QByteArray("\xc8\x95") << "0.4秒"
                                 << " 149";
        QTest::newRow("disarmed on opening")
            << int(Answers) << 0 << QByteArray("\xc8\x14") << QString() << " 20";
        QTest::newRow("never opened")
            << int(NeverOpened) << 2 << QByteArray("\xc8") << QString() << QString();
        QTest::newRow("gone") << int(Gone) << 2 << QByteArray("\xc8") << QString() << QString();
    }
    void readings() {
        QFETCH(int, port);
        QFETCH(int, clockTicks);
        QFETCH(QByteArray, ticks);
        QFETCH(QString, period);
        QFETCH(QString, brightness);
        WindowFixture f;
        f.port->openFails = port == NeverOpened;
        f.startWithBox();
        f.port->failWrites = port == Gone;
        f.clock(5);
        const QString mainDisplay = f.display();
        step(f, Open);
        f.clock(clockTicks);
        sample3(f, ticks);
        QCOMPARE(f.window->settei()->Label1->text(), period);
        QCOMPARE(f.window->settei()->Label3->text(), brightness);
        QCOMPARE(f.v.DataValue, brightness.isEmpty() ? 0 : uchar(ticks.back()));
        if (brightness.isEmpty())
            QCOMPARE(f.v.PeakBrightness, 0);
        QCOMPARE(f.v.TenthCount, period.isEmpty() ? clockTicks : 0);
        QCOMPARE(f.display(), mainDisplay);
    }

    void sampling_timers_data() {
        QTest::addColumn<QList<int>>("steps");
        QTest::addColumn<bool>("timer1");
        QTest::addColumn<int>("ends");
        QTest::newRow("open") << QList<int>{Open} << false << 0;
        QTest::newRow("OK") << QList<int>{Open, Ok} << true << 0;
        QTest::newRow("Cancel") << QList<int>{Open, Cancel} << true << 0;
        QTest::newRow("close box") << QList<int>{Open, CloseBox} << true << 0;
        QTest::newRow("open twice, Cancel") << QList<int>{Open, Open, Cancel} << true << 0;
        QTest::newRow("close: No, dialog shut") << QList<int>{AskCloseNo} << true << 0;
        QTest::newRow("close: No, dialog open") << QList<int>{Open, AskCloseNo} << false << 0;
        QTest::newRow("close: No, then OK") << QList<int>{Open, AskCloseNo, Ok} << true << 0;
        QTest::newRow("quit: Yes, dialog open") << QList<int>{Open, QuitYes} << false << 1;
        QTest::newRow("close: Yes, dialog open") << QList<int>{Open, AskCloseYes} << false << 1;
    }
    void sampling_timers() {
        QFETCH(QList<int>, steps);
        QFETCH(bool, timer1);
        QFETCH(int, ends);
        WindowFixture f;
        f.startWithBox();
        f.window->Timer1.start();
        f.window->Timer2.start();
        const auto neverBoth = [&] {
            QVERIFY(!(f.window->Timer1.isActive() && f.window->Timer3.isActive()));
        };
        f.boxes.whileAsking = neverBoth;
        for (int s : steps) {
            step(f, s);
            neverBoth();
        }
        QCOMPARE(f.window->Timer1.isActive(), timer1);
        QCOMPARE(f.window->Timer3.isActive(), !timer1);
        QVERIFY(f.window->Timer2.isActive());
        QCOMPARE(f.endCalls, ends);
    }
};

QTEST_MAIN(TestSensitivityDialog)
#include "tst_SensitivityDialog.moc"
