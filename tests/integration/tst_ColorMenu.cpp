#include "colors/ChannelBar.h"
#include "colors/ColorSwatch.h"
#include "colors/frmColor.h"
#include "support/TempWorkingDir.h"
#include "support/WindowFixture.h"

#include <QApplication>
#include <QPointer>
#include <QTest>

namespace {

// The one colour dialog on the screen, or null for none or several.
frmColor* shownColorDialog() {
    QList<frmColor*> shown;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* d = qobject_cast<frmColor*>(w); d && d->isVisible())
            shown << d;
    }
    return shown.size() == 1 ? shown.front() : nullptr;
}

} // namespace

// The colour menu command, the dialog and the main window together.
class TestColorMenu : public QObject {
    Q_OBJECT
private slots:
    void the_dialog_edits_and_applies_the_shown_colours_data() {
        QTest::addColumn<bool>("ok");
        QTest::addColumn<bool>("closeBox");
        QTest::newRow("Ｏ　Ｋ") << true << false;
        QTest::newRow("キャンセル") << false << false;
        QTest::newRow("close box") << false << true;
    }
    void the_dialog_edits_and_applies_the_shown_colours() {
        QFETCH(bool, ok);
        QFETCH(bool, closeBox);
        TempWorkingDir dir; // light yellow on blue
        QVERIFY(dir.write(QStringLiteral("Tv.txt"), "Mozi=14\r\nBack=1\r\n"));
        WindowFixture f;
        f.port->reads.push_back("MERAVO");
        f.window->Form_Load();
        f.window->MenuColor_Click();
        QPointer<frmColor> dialog = shownColorDialog();
        QVERIFY(dialog && !dialog->parentWidget() && !dialog->isModal());
        QVERIFY(f.window->Timer1.isActive() && f.window->Timer2.isActive());
        dialog->VScroll3->setChannel(0); // yellow text stays yellow
        dialog->Label2_Click();
        dialog->VScroll2->setChannel(0x40); // blue background, a little green

        f.window->MenuColor_Click(); // only brings it to the front
        QCOMPARE(shownColorDialog(), dialog.data());
        QCOMPARE(f.v.ColorTarget, 2);
        QCOMPARE(dialog->Picture2->color(), 0x804000);

        if (ok)
            dialog->Command1_Click();
        else if (closeBox)
            dialog->close();
        else
            dialog->Command2_Click();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(dialog.isNull());
        const QColor back = ok ? QColor(0, 0x40, 0x80) : QColor(0, 0, 0x80);
        QCOMPARE(f.v.ShownBackColor, ok ? 0x804000 : 0x800000);
        QCOMPARE(f.window->Label1->palette().color(QPalette::WindowText), QColor(255, 255, 0));
        QCOMPARE(f.window->Label1->palette().color(QPalette::Window), back);
        if (ok) // the window's own background, beside and below the label
            QCOMPARE(f.window->clientArea()->palette().color(QPalette::Window), back);

        f.window->MenuColor_Click();
        dialog = shownColorDialog();
        QVERIFY(dialog);
        QCOMPARE(dialog->Picture1->color(), 0x00FFFF);
        QCOMPARE(dialog->Picture2->color(), f.v.ShownBackColor);
        QCOMPARE(f.v.ColorTarget, 1);

        // Ending the program takes the dialog with the main window.
        f.window.reset();
        QVERIFY(dialog.isNull());
    }
};

QTEST_MAIN(TestColorMenu)
#include "tst_ColorMenu.moc"
