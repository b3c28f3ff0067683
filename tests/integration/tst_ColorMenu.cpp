#include "colors/ChannelBar.h"
#include "colors/ColorSwatch.h"
#include "colors/frmColor.h"
#include "support/TempWorkingDir.h"
#include "support/WindowFixture.h"

#include <QApplication>
#include <QPointer>
#include <QTest>

namespace {

// The colour dialog the menu command opened, if one is open.
frmColor* shownColorDialog() {
    frmColor* found = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* d = qobject_cast<frmColor*>(w); d && d->isVisible()) {
            if (found)
                return nullptr; // two at once would be a fault of its own
            found = d;
        }
    }
    return found;
}

QColor labelColor(const WindowFixture& f, QPalette::ColorRole role) {
    return f.window->Label1->palette().color(role);
}

} // namespace

class TestColorMenu : public QObject {
    Q_OBJECT
private slots:
    void the_command_opens_one_modeless_dialog_and_keeps_its_edits() {
        WindowFixture f;
        f.port->reads.push_back("MERAVO");
        f.window->Form_Load();
        f.window->show();
        f.window->MenuColor_Click();
        QPointer<frmColor> dialog = shownColorDialog();
        QVERIFY(dialog);
        QVERIFY(dialog->parentWidget() == nullptr);
        QVERIFY(!dialog->isModal());
        QVERIFY(f.window->Timer1.isActive());
        QVERIFY(f.window->Timer2.isActive());

        dialog->Label2_Click();
        dialog->VScroll2->setChannel(0);
        f.window->MenuColor_Click();
        QCOMPARE(shownColorDialog(), dialog.data());
        QCOMPARE(f.v.ColorTarget, 2);
        QCOMPARE(dialog->Picture2->color(), 0xC000C0);
        QCOMPARE(dialog->VScroll2->channel(), 0);

        // Measuring goes on underneath.
        f.window->Timer1.stop();
        f.window->Timer2.stop();
        f.clock(7);
        f.sample(200);
        f.sample(100);
        QCOMPARE(f.display(), QStringLiteral("0.7秒"));
    }

    void leaving_without_ok_changes_nothing_and_the_next_opening_starts_afresh_data() {
        QTest::addColumn<bool>("closeBox");
        QTest::newRow("キャンセル") << false;
        QTest::newRow("close box") << true;
    }
    void leaving_without_ok_changes_nothing_and_the_next_opening_starts_afresh() {
        QFETCH(bool, closeBox);
        TempWorkingDir dir; // light yellow on blue
        QVERIFY(dir.write(QStringLiteral("Tv.txt"), "Mozi=14\r\nBack=1\r\n"));
        WindowFixture f;
        f.window->Form_Load();
        f.window->MenuColor_Click();
        QPointer<frmColor> dialog = shownColorDialog();
        dialog->VScroll1->setChannel(0);
        dialog->Label2_Click();
        dialog->VScroll3->setChannel(0);
        if (closeBox)
            dialog->close();
        else
            dialog->Command2_Click();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(dialog.isNull());
        QCOMPARE(f.v.ShownTextColor, 0x00FFFF);
        QCOMPARE(f.v.ShownBackColor, 0x800000);
        QCOMPARE(labelColor(f, QPalette::WindowText), QColor(0xFF, 0xFF, 0x00));
        QCOMPARE(labelColor(f, QPalette::Window), QColor(0x00, 0x00, 0x80));

        f.window->MenuColor_Click();
        frmColor* again = shownColorDialog();
        QVERIFY(again);
        QCOMPARE(again->Picture1->color(), 0x00FFFF);
        QCOMPARE(again->Picture2->color(), 0x800000);
        QCOMPARE(f.v.ColorTarget, 1);
    }

    void ok_colours_the_display_and_the_window_and_the_next_opening() {
        WindowFixture f;
        f.window->Form_Load();
        f.window->MenuColor_Click();
        frmColor* dialog = shownColorDialog();
        dialog->VScroll2->setChannel(0xFF); // green text
        dialog->Picture2_Click();
        dialog->VScroll1->setChannel(0); // grey-blue, red taken out
        dialog->Command1_Click();
        QCOMPARE(f.v.ShownTextColor, 0x00FF00);
        QCOMPARE(f.v.ShownBackColor, 0xC0C000);
        QCOMPARE(f.v.TextColor, 0x000000);
        QCOMPARE(labelColor(f, QPalette::WindowText), QColor(0, 255, 0));
        QCOMPARE(labelColor(f, QPalette::Window), QColor(0, 192, 192));
        QCOMPARE(f.window->clientArea()->palette().color(QPalette::Window), QColor(0, 192, 192));

        f.window->MenuColor_Click();
        dialog = shownColorDialog();
        QVERIFY(dialog);
        QCOMPARE(dialog->Picture1->color(), 0x00FF00);
        QCOMPARE(dialog->Picture2->color(), 0xC0C000);
    }

    void the_dialog_goes_with_the_main_window() {
        QPointer<frmColor> dialog;
        {
            WindowFixture f;
            f.window->Form_Load();
            f.window->MenuColor_Click();
            dialog = shownColorDialog();
            QVERIFY(dialog);
        }
        QVERIFY(dialog.isNull());
    }
};

QTEST_MAIN(TestColorMenu)
#include "tst_ColorMenu.moc"
