#include "sensitivity/FSettei.h"
#include "support/Classroom.h"

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
        f.line->Timer3_Timer();
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
        QTest::addColumn<int>("tenths");    // TenthCount after the way
        QTest::addColumn<int>("cancelled"); // after opening once more and Cancel
        QTest::newRow("10") << 10 << 0 << -1 << int(Cancel) << 10 << 0 << 10;
        QTest::newRow("11") << 11 << 1 << -1 << int(Cancel) << 11 << 0 << 11;
        QTest::newRow("30") << 30 << 1 << -1 << int(Cancel) << 30 << 0 << 30;
        QTest::newRow("31") << 31 << 2 << -1 << int(Cancel) << 31 << 0 << 31;
        QTest::newRow("50") << 50 << 2 << -1 << int(Cancel) << 50 << 0 << 50;
        QTest::newRow("80") << 80 << 3 << -1 << int(Cancel) << 80 << 0 << 80;
        QTest::newRow("81") << 81 << 4 << -1 << int(Cancel) << 81 << 0 << 81;
        QTest::newRow("254") << 254 << 4 << -1 << int(Cancel) << 254 << 0 << 254;
        QTest::newRow("40, OK") << 40 << 2 << -1 << int(Ok) << 50 << 0 << 50;
        QTest::newRow("40, close box") << 40 << 2 << -1 << int(CloseBox) << 40 << 0 << 40;
        QTest::newRow("click, OK") << 50 << 2 << 0 << int(Ok) << 10 << 0 << 10;
        QTest::newRow("click, Cancel") << 50 << 2 << 0 << int(Cancel) << 50 << 0 << 50;
        // The menu again while the dialog is open only brings it to the front:
        // nothing is saved anew and the count goes on, so Cancel still gives
        // back the value in force when the dialog was opened.
        QTest::newRow("click, menu again") << 50 << 2 << 0 << int(Open) << 10 << 2 << 50;
        QTest::newRow("40, menu again") << 40 << 2 << -1 << int(Open) << 50 << 2 << 40;
    }
    void option_on_opening_and_ways_out() {
        QFETCH(int, start);
        QFETCH(int, option);
        QFETCH(int, clicked);
        QFETCH(int, way);
        QFETCH(int, after);
        QFETCH(int, tenths);
        QFETCH(int, cancelled);
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
        QCOMPARE(f.v.TenthCount, tenths);
        QCOMPARE(f.window->settei() == d, way != CloseBox);
        // Only the close box discards the dialog and its readings. Cancel
        // goes back to the value saved when the dialog was last opened.
        step(f, Open);
        QCOMPARE(f.window->settei()->Label3->text(), way == CloseBox ? "" : " 128");
        step(f, Cancel);
        QCOMPARE(f.v.Sensitivity, cancelled);
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
            QCOMPARE(f.line->sampler().detector().PeakBrightness, 0);
        QCOMPARE(f.v.TenthCount, period.isEmpty() ? clockTicks : 0);
        QCOMPARE(f.display(), mainDisplay);
    }

    // While the box is away the dialog shows no brightness and no period
    // rather than old ones, also when opened again; when the box answers,
    // the brightness is live at once and the period comes with the next
    // true interval.
    void readings_while_the_box_is_away_data() {
        QTest::addColumn<QString>("how");
        QTest::addColumn<bool>("away"); // the readings are cleared
        QTest::newRow("silent 0.9 s") << "silent 900" << false;
        QTest::newRow("silent 1.1 s") << "silent 1100" << true;
        QTest::newRow("port lost while open") << "lost" << true;
        QTest::newRow("lost while hidden, opened again") << "hidden, lost, open" << true;
        QTest::newRow("lost and back while hidden, opened again")
            << "hidden, lost and back, open" << true;
    }
    void readings_while_the_box_is_away() {
        QFETCH(QString, how);
        QFETCH(bool, away);
        Classroom c{BoxThere};
        WindowFixture& f = c.f;
        step(f, Open);
        FSettei* d = f.window->settei();
        c.runFor(500, 200);
        c.runFor(10, 20);
        QCOMPARE(d->Label1->text(), QStringLiteral("0.5秒"));
        c.runFor(100, 200);
        QCOMPARE(d->Label3->text(), QStringLiteral(" 200"));

        // Pulled out, and plugged in again a second later: back at the
        // watch's first try.
        const auto pullAndReplug = [&] {
            f.port->goAway();
            c.plugIn();
            c.runFor(1010, -1);
        };
        if (how.startsWith(QLatin1String("silent")))
            c.runFor(how.mid(7).toInt(), -1);
        else if (how == QLatin1String("lost"))
            f.port->goAway();
        else {
            step(f, Ok);
            if (how.contains(QLatin1String("back")))
                pullAndReplug();
            else
                f.port->goAway();
            step(f, Open);
        }
        QCOMPARE(d->Label1->text(), away ? QString() : QStringLiteral("0.5秒"));
        QCOMPARE(d->Label3->text(), away ? QString() : QStringLiteral(" 200"));

        if (f.line->LinkTimer.isActive())
            pullAndReplug();
        c.runFor(30, 180);
        QCOMPARE(d->Label3->text(), QStringLiteral(" 180"));
        QCOMPARE(d->Label1->text(), away ? QString() : QStringLiteral("0.5秒"));
        QVERIFY(!f.line->Timer1.isActive());
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
        f.line->Timer1.start();
        f.window->Timer2.start();
        const auto neverBoth = [&] {
            QVERIFY(!(f.line->Timer1.isActive() && f.line->Timer3.isActive()));
        };
        f.boxes.whileAsking = neverBoth;
        for (int s : steps) {
            step(f, s);
            neverBoth();
        }
        QCOMPARE(f.line->Timer1.isActive(), timer1);
        QCOMPARE(f.line->Timer3.isActive(), !timer1);
        QVERIFY(f.window->Timer2.isActive());
        QCOMPARE(f.endCalls, ends);
    }
};

QTEST_MAIN(TestSensitivityDialog)
#include "tst_SensitivityDialog.moc"
