#include "app/PeriodText.h"
#include "settings/FSettei.h"
#include "support/WindowFixture.h"

#include <QCloseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

// The sensitivity dialog opened from the main window, sampling through the
// main window's Timer3 on a scripted port.
namespace {

enum Step { Open, Ok, Cancel, CloseBox, AskCloseNo, AskCloseYes, QuitNo, QuitYes };

FSettei* openSettei(WindowFixture& f) {
    f.window->MenuSettei_Click();
    return f.window->settei();
}

// One tick of the dialog's sampling with the given bytes waiting.
void sample3(WindowFixture& f, const QByteArray& waiting) {
    f.port->reads.push_back(waiting);
    f.window->Timer3_Timer();
}
void sample3(WindowFixture& f, int brightness) {
    sample3(f, QByteArray(1, char(brightness)));
}

int selectedOption(const FSettei* d) {
    int selected = -1;
    for (int i = 0; i < int(d->KandoOp.size()); ++i) {
        if (d->KandoOp[i]->isChecked()) {
            if (selected != -1)
                return -2; // more than one
            selected = i;
        }
    }
    return selected;
}

void leave(WindowFixture& f, Step way) {
    FSettei* d = f.window->settei();
    if (way == Ok)
        d->CmdOk->click();
    else if (way == Cancel)
        d->CmdCansel->click();
    else
        d->close();
}

} // namespace

class TestSensitivityDialog : public QObject {
    Q_OBJECT
private slots:
    void opening_selects_the_option_for_the_sensitivity_data() {
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("option");
        QTest::addColumn<int>("whileOpen");
        QTest::newRow("10") << 10 << 0 << 10;
        QTest::newRow("11") << 11 << 1 << 30;
        QTest::newRow("30") << 30 << 1 << 30;
        QTest::newRow("31") << 31 << 2 << 50;
        QTest::newRow("40 from Tv.txt") << 40 << 2 << 50;
        QTest::newRow("50") << 50 << 2 << 50;
        QTest::newRow("80") << 80 << 3 << 80;
        QTest::newRow("81") << 81 << 4 << 100;
        QTest::newRow("254") << 254 << 4 << 100;
    }
    void opening_selects_the_option_for_the_sensitivity() {
        QFETCH(int, start);
        QFETCH(int, option);
        QFETCH(int, whileOpen);
        WindowFixture f;
        f.startWithBox();
        f.v.Sensitivity = std::int16_t(start);
        FSettei* d = openSettei(f);
        QCOMPARE(selectedOption(d), option);
        QCOMPARE(f.v.Sensitivity, whileOpen);
        QCOMPARE(f.v.SavedSensitivity, start);
        d->CmdCansel->click();
        QCOMPARE(f.v.Sensitivity, start);
    }

    void leaving_data() {
        QTest::addColumn<int>("way");
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("clicked"); // -1: no option clicked
        QTest::addColumn<int>("after");
        QTest::addColumn<bool>("keepsReadings");
        QTest::newRow("OK keeps the option chosen on opening") << int(Ok) << 40 << -1 << 50 << true;
        QTest::newRow("OK after a click") << int(Ok) << 50 << 0 << 10 << true;
        QTest::newRow("Cancel after a click") << int(Cancel) << 50 << 0 << 50 << true;
        QTest::newRow("Cancel gives 40 back") << int(Cancel) << 40 << -1 << 40 << true;
        QTest::newRow("close box after a click") << int(CloseBox) << 50 << 4 << 50 << false;
        QTest::newRow("close box gives 40 back") << int(CloseBox) << 40 << -1 << 40 << false;
    }
    void leaving() {
        QFETCH(int, way);
        QFETCH(int, start);
        QFETCH(int, clicked);
        QFETCH(int, after);
        QFETCH(bool, keepsReadings);
        WindowFixture f;
        f.startWithBox();
        f.v.Sensitivity = std::int16_t(start);
        FSettei* d = openSettei(f);
        f.clock(3);
        sample3(f, 200);
        sample3(f, 20); // a passage
        QCOMPARE(d->Label1->text(), PeriodText(3));
        QCOMPARE(d->Label3->text(), QStringLiteral(" 20"));
        if (clicked >= 0)
            d->KandoOp[clicked]->click();
        f.clock(2);

        leave(f, Step(way));
        QCOMPARE(f.v.Sensitivity, after);
        QCOMPARE(f.v.TenthCount, 0);
        QCOMPARE(f.window->settei() != nullptr, keepsReadings);

        d = openSettei(f);
        QCOMPARE(d->Label1->text(), keepsReadings ? PeriodText(3) : QString());
        QCOMPARE(d->Label3->text(), keepsReadings ? QStringLiteral(" 20") : QString());
    }

    void reopening_while_open_saves_the_newer_value() {
        WindowFixture f;
        f.startWithBox();
        FSettei* d = openSettei(f);
        d->KandoOp[0]->click();
        QCOMPARE(f.v.Sensitivity, 10);
        f.clock(3);
        QCOMPARE(openSettei(f), d);
        QCOMPARE(f.v.TenthCount, 0);
        QCOMPARE(selectedOption(d), 0);
        d->KandoOp[4]->click();
        QCOMPARE(f.v.Sensitivity, 100);
        d->CmdCansel->click();
        QCOMPARE(f.v.Sensitivity, 10);
    }

    void brightness_text_data() {
        QTest::addColumn<QByteArray>("waiting");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<int>("dataValue");
        QTest::newRow("0") << QByteArray(1, '\0') << QStringLiteral(" 0") << 0;
        QTest::newRow("255") << QByteArray(1, char(255)) << QStringLiteral(" 255") << 255;
        QTest::newRow("three waiting: the first") << QByteArray("\x80\x05\x06") << " 128" << 128;
        QTest::newRow("nothing waiting keeps the last") << QByteArray() << " 7" << 7;
    }
    void brightness_text() {
        QFETCH(QByteArray, waiting);
        QFETCH(QString, shown);
        QFETCH(int, dataValue);
        WindowFixture f;
        f.startWithBox();
        FSettei* d = openSettei(f);
        sample3(f, 7);
        sample3(f, waiting);
        QCOMPARE(d->Label3->text(), shown);
        QCOMPARE(f.v.DataValue, dataValue);
    }

    void detection_in_the_dialog_data() {
        QTest::addColumn<int>("sensitivity");
        QTest::addColumn<int>("drop");
        QTest::addColumn<bool>("detects");
        QTest::newRow("50, drop 50") << 50 << 50 << false;
        QTest::newRow("50, drop 51") << 50 << 51 << true;
        QTest::newRow("10, drop 10") << 10 << 10 << false;
        QTest::newRow("10, drop 11") << 10 << 11 << true;
        QTest::newRow("100, drop 100") << 100 << 100 << false;
        QTest::newRow("100, drop 101") << 100 << 101 << true;
    }
    void detection_in_the_dialog() {
        QFETCH(int, sensitivity);
        QFETCH(int, drop);
        QFETCH(bool, detects);
        WindowFixture f;
        f.startWithBox();
        f.v.Sensitivity = std::int16_t(sensitivity);
        const QString mainDisplay = f.display();
        FSettei* d = openSettei(f);
        f.clock(4);
        sample3(f, 200);
        sample3(f, 200 - drop);
        QCOMPARE(d->Label1->text(), detects ? QStringLiteral("0.4秒") : QString());
        QCOMPARE(f.v.TenthCount, detects ? 0 : 4);
        QCOMPARE(f.v.PeakBrightness, detects ? 1 : 200);
        QCOMPARE(f.display(), mainDisplay);
    }

    void disarmed_right_after_opening() {
        WindowFixture f;
        f.startWithBox();
        f.clock(5);
        FSettei* d = openSettei(f);
        sample3(f, 200);
        sample3(f, 20);
        QCOMPARE(d->Label1->text(), QString());
        QCOMPARE(f.v.PeakBrightness, 200);
        QCOMPARE(f.v.DataValue, 20);
        f.clock();
        sample3(f, 20);
        QCOMPARE(d->Label1->text(), QStringLiteral("0.1秒"));
    }

    void a_dead_port_changes_nothing_data() {
        QTest::addColumn<bool>("neverOpened");
        QTest::newRow("never opened") << true;
        QTest::newRow("gone") << false;
    }
    void a_dead_port_changes_nothing() {
        QFETCH(bool, neverOpened);
        WindowFixture f;
        if (neverOpened) {
            f.port->openFails = true;
            f.window->Form_Load();
        } else {
            f.startWithBox();
            f.port->failWrites = true;
        }
        f.v.Sensitivity = 30;
        FSettei* d = openSettei(f);
        f.clock(2);
        f.v.PeakBrightness = 200;
        f.v.DataValue = 5;
        sample3(f, 20);
        QCOMPARE(d->Label1->text(), QString());
        QCOMPARE(d->Label3->text(), QString());
        QCOMPARE(f.v.TenthCount, 2);
        QCOMPARE(f.v.PeakBrightness, 200);
        QCOMPARE(f.v.DataValue, 5);
        QCOMPARE(f.v.Sensitivity, 30);
    }

    void sampling_timers_data() {
        QTest::addColumn<QList<int>>("steps");
        QTest::addColumn<bool>("timer1");
        QTest::addColumn<bool>("timer3");
        QTest::addColumn<int>("ends");
        QTest::newRow("open") << QList<int>{Open} << false << true << 0;
        QTest::newRow("OK") << QList<int>{Open, Ok} << true << false << 0;
        QTest::newRow("Cancel") << QList<int>{Open, Cancel} << true << false << 0;
        QTest::newRow("close box") << QList<int>{Open, CloseBox} << true << false << 0;
        QTest::newRow("open twice, Cancel") << QList<int>{Open, Open, Cancel} << true << false << 0;
        QTest::newRow("close question No, dialog shut")
            << QList<int>{AskCloseNo} << true << false << 0;
        QTest::newRow("close question No, dialog open")
            << QList<int>{Open, AskCloseNo} << false << true << 0;
        QTest::newRow("close question No, then OK")
            << QList<int>{Open, AskCloseNo, Ok} << true << false << 0;
        QTest::newRow("close question No after OK")
            << QList<int>{Open, Ok, AskCloseNo} << true << false << 0;
        QTest::newRow("quit No, dialog open") << QList<int>{Open, QuitNo} << false << true << 0;
        QTest::newRow("quit Yes, dialog open") << QList<int>{Open, QuitYes} << false << true << 1;
        QTest::newRow("close question Yes, dialog open")
            << QList<int>{Open, AskCloseYes} << false << true << 1;
    }
    void sampling_timers() {
        QFETCH(QList<int>, steps);
        QFETCH(bool, timer1);
        QFETCH(bool, timer3);
        QFETCH(int, ends);
        WindowFixture f;
        f.startWithBox();
        f.window->Timer1.start();
        f.window->Timer2.start();
        auto neverBoth = [&] {
            QVERIFY(!(f.window->Timer1.isActive() && f.window->Timer3.isActive()));
        };
        f.boxes.whileAsking = neverBoth;
        for (int step : steps) {
            switch (step) {
            case Open:
                openSettei(f);
                break;
            case Ok:
            case Cancel:
            case CloseBox:
                leave(f, Step(step));
                break;
            case AskCloseNo:
            case AskCloseYes: {
                f.boxes.nextAnswer = step == AskCloseYes;
                QCloseEvent close;
                f.window->Form_QueryUnload(&close);
                break;
            }
            case QuitNo:
            case QuitYes:
                f.boxes.nextAnswer = step == QuitYes;
                f.window->MenuOwaru_Click();
                break;
            }
            neverBoth();
        }
        QCOMPARE(f.window->Timer1.isActive(), timer1);
        QCOMPARE(f.window->Timer3.isActive(), timer3);
        QVERIFY(f.window->Timer2.isActive());
        QCOMPARE(f.endCalls, ends);
        if (timer3)
            QCOMPARE(f.window->Timer3.interval(), 10);
    }
};

QTEST_MAIN(TestSensitivityDialog)
#include "tst_SensitivityDialog.moc"
