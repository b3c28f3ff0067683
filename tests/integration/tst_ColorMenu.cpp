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
        QTest::addColumn<int>("way"); // out of the dialog
        QTest::newRow("Ｏ　Ｋ") << 1;
        QTest::newRow("Enter on the focused Ｏ　Ｋ") << 3;
        QTest::newRow("キャンセル") << 2;
        QTest::newRow("close box") << 0;
    }
    void the_dialog_edits_and_applies_the_shown_colours() {
        QFETCH(int, way);
        const bool ok = way == 1 || way == 3;
        TempWorkingDir dir; // light yellow on blue
        QVERIFY(dir.write(QStringLiteral("Tv.txt"), "Mozi=14\r\nBack=1\r\n"));
        WindowFixture f;
        f.startUp();
        f.window->MenuColor_Click();
        QPointer<frmColor> dialog = shownColorDialog();
        QVERIFY(dialog && !dialog->parentWidget() && !dialog->isModal());
        QVERIFY(f.line->Timer1.isActive() && f.window->Timer2.isActive());
        dialog->VScroll1->setChannel(0x80); // yellow-green text
        dialog->Label2_Click();
        dialog->VScroll2->setChannel(0x40); // blue background, a little green

        f.window->MenuColor_Click(); // only brings it to the front
        QCOMPARE(shownColorDialog(), dialog.data());
        QCOMPARE(f.v.ColorTarget, 2);
        QCOMPARE(dialog->Picture2->color(), 0x804000);

        // Neither Escape nor Enter away from a button leaves the dialog.
        QTest::keyClick(dialog, Qt::Key_Escape);
        QTest::keyClick(dialog->VScroll1, Qt::Key_Return);
        QCOMPARE(shownColorDialog(), dialog.data());
        QCOMPARE(f.v.ShownBackColor, 0x800000);

        if (way == 1)
            dialog->Command1_Click();
        else if (way == 2)
            dialog->Command2_Click();
        else if (way == 3)
            QTest::keyClick(dialog->focusWidget(), Qt::Key_Return);
        else
            dialog->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(dialog.isNull());
        const QColor text = ok ? QColor(0x80, 0xFF, 0) : QColor(0xFF, 0xFF, 0);
        const QColor back = ok ? QColor(0, 0x40, 0x80) : QColor(0, 0, 0x80);
        QCOMPARE(f.v.ShownTextColor, ok ? 0x00FF80 : 0x00FFFF);
        QCOMPARE(f.v.ShownBackColor, ok ? 0x804000 : 0x800000);
        QCOMPARE(f.v.BackColor, 0x800000); // the start-up colours stay as read
        QCOMPARE(f.window->Label1->palette().color(QPalette::WindowText), text);
        QCOMPARE(f.window->Label1->palette().color(QPalette::Window), back);
        // The window's own background, beside and below the label.
        QCOMPARE(f.window->clientArea()->palette().color(QPalette::Window),
                 ok ? back : QColor(0xC0, 0xC0, 0xC0));

        f.window->MenuColor_Click();
        dialog = shownColorDialog();
        QVERIFY(dialog);
        QCOMPARE(dialog->Picture1->color(), f.v.ShownTextColor);
        QCOMPARE(dialog->Picture2->color(), f.v.ShownBackColor);
        QCOMPARE(f.v.ColorTarget, 1);

        // Ending the program takes the dialog with the main window.
        f.window.reset();
        QVERIFY(dialog.isNull());
    }
};

QTEST_MAIN(TestColorMenu)
#include "tst_ColorMenu.moc"
