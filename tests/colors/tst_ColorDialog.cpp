#include "colors/ChannelBar.h"
#include "colors/ColorDisplay.h"
#include "colors/ColorSwatch.h"
#include "colors/SelectorLabel.h"
#include "colors/frmColor.h"
#include "core/ProgramValues.h"

#include <QPointer>
#include <QPushButton>
#include <QStyleOptionSlider>
#include <QTest>

namespace {

// Remembers what the dialog applied to the main window.
struct RecordedDisplay : ColorDisplay {
    QList<QPair<ColorValue, ColorValue>> displayColors;
    QList<ColorValue> windowBackColors;
    void setDisplayColors(ColorValue text, ColorValue back) override {
        displayColors.append({text, back});
    }
    void setWindowBackColor(ColorValue back) override { windowBackColors.append(back); }
};

// A dialog on fresh values. It deletes itself when it closes, so the fixture
// only deletes what is still there.
struct DialogFixture {
    ProgramValues v;
    RecordedDisplay display;
    QPointer<frmColor> dialog;

    explicit DialogFixture(ColorValue shownText = 0x000000, ColorValue shownBack = 0xC0C0C0) {
        v.ShownTextColor = shownText;
        v.ShownBackColor = shownBack;
        dialog = new frmColor(v, display);
    }
    ~DialogFixture() { delete dialog; }

    ColorValue bars() const {
        return ColorChannels::combine(dialog->VScroll1->channel(), dialog->VScroll2->channel(),
                                      dialog->VScroll3->channel());
    }
    ColorValue text() const { return dialog->Picture1->color(); }
    ColorValue back() const { return dialog->Picture2->color(); }
};

using Handler = void (frmColor::*)();

} // namespace

class TestColorDialog : public QObject {
    Q_OBJECT
private slots:
    void opening_starts_from_the_shown_colours_with_text_selected_data() {
        QTest::addColumn<ColorValue>("text");
        QTest::addColumn<ColorValue>("back");
        QTest::newRow("built-in") << ColorValue(0x000000) << ColorValue(0xC0C0C0);
        QTest::newRow("yellow on blue") << ColorValue(0x00FFFF) << ColorValue(0x800000);
        QTest::newRow("mixed channels") << ColorValue(0x0A0BC8) << ColorValue(0x123456);
    }
    void opening_starts_from_the_shown_colours_with_text_selected() {
        QFETCH(ColorValue, text);
        QFETCH(ColorValue, back);
        ProgramValues v;
        v.ColorTarget = 2; // left over from an earlier opening
        v.ShownTextColor = text;
        v.ShownBackColor = back;
        RecordedDisplay display;
        QPointer<frmColor> dialog = new frmColor(v, display);
        QCOMPARE(v.ColorTarget, 1);
        QCOMPARE(dialog->Picture1->color(), text);
        QCOMPARE(dialog->Picture2->color(), back);
        QCOMPARE(ColorChannels::combine(dialog->VScroll1->channel(), dialog->VScroll2->channel(),
                                        dialog->VScroll3->channel()),
                 text);
        QVERIFY(dialog->Label1->font().bold());
        QVERIFY(!dialog->Label2->font().bold());
        QVERIFY(dialog->Picture1->hasBorder());
        QVERIFY(!dialog->Picture2->hasBorder());
        QCOMPARE(dialog->focusWidget(), dialog->Command1);
        QVERIFY(display.displayColors.isEmpty());
        delete dialog;
    }

    void bars_put_255_at_the_top() {
        DialogFixture f(0x0000FF); // red 255, green and blue 0
        f.dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(f.dialog));
        QVERIFY(f.dialog->VScroll1->sliderPosition() < f.dialog->VScroll2->sliderPosition());
        // The up arrow (and the Up key) brightens.
        QTest::keyClick(f.dialog->VScroll2, Qt::Key_Up);
        QCOMPARE(f.dialog->VScroll2->channel(), 1);
        QCOMPARE(f.text(), 0x0001FF);
    }

    void selecting_moves_the_bars_without_touching_either_swatch_data() {
        QTest::addColumn<QList<Handler>>("clicks");
        QTest::addColumn<ColorValue>("selected");
        QTest::newRow("background by its label")
            << QList<Handler>{&frmColor::Label2_Click} << ColorValue(0x4080C0);
        QTest::newRow("background by its swatch")
            << QList<Handler>{&frmColor::Picture2_Click} << ColorValue(0x4080C0);
        QTest::newRow("background, then text again")
            << QList<Handler>{&frmColor::Label2_Click, &frmColor::Label1_Click}
            << ColorValue(0x0A0BC8);
        QTest::newRow("back and forth by swatches")
            << QList<Handler>{&frmColor::Picture2_Click, &frmColor::Picture1_Click,
                              &frmColor::Picture2_Click}
            << ColorValue(0x4080C0);
        QTest::newRow("text twice")
            << QList<Handler>{&frmColor::Label1_Click, &frmColor::Picture1_Click}
            << ColorValue(0x0A0BC8);
    }
    void selecting_moves_the_bars_without_touching_either_swatch() {
        QFETCH(QList<Handler>, clicks);
        QFETCH(ColorValue, selected);
        DialogFixture f(0x0A0BC8, 0x4080C0);
        for (Handler click : clicks)
            (f.dialog->*click)();
        QCOMPARE(f.text(), 0x0A0BC8);
        QCOMPARE(f.back(), 0x4080C0);
        QCOMPARE(f.bars(), selected);
        const bool text = selected == 0x0A0BC8;
        QCOMPARE(f.v.ColorTarget, text ? 1 : 2);
        QCOMPARE(f.dialog->Label1->font().bold(), text);
        QCOMPARE(f.dialog->Label2->font().bold(), !text);
        QCOMPARE(f.dialog->Picture1->hasBorder(), text);
        QCOMPARE(f.dialog->Picture2->hasBorder(), !text);
    }

    void a_bar_mixes_into_the_selected_swatch_only_data() {
        QTest::addColumn<int>("target");
        QTest::addColumn<int>("bar");
        QTest::addColumn<int>("channel");
        QTest::addColumn<ColorValue>("text");
        QTest::addColumn<ColorValue>("back");
        QTest::newRow("text red") << 1 << 1 << 0x12 << ColorValue(0x0A0B12) << ColorValue(0xC0C0C0);
        QTest::newRow("text green") << 1 << 2 << 0 << ColorValue(0x0A00C8) << ColorValue(0xC0C0C0);
        QTest::newRow("text blue") << 1 << 3 << 255 << ColorValue(0xFF0BC8) << ColorValue(0xC0C0C0);
        QTest::newRow("back red") << 2 << 1 << 255 << ColorValue(0x0A0BC8) << ColorValue(0xC0C0FF);
        QTest::newRow("back blue") << 2 << 3 << 1 << ColorValue(0x0A0BC8) << ColorValue(0x01C0C0);
        QTest::newRow("nothing selected")
            << 0 << 2 << 99 << ColorValue(0x0A0BC8) << ColorValue(0xC0C0C0);
    }
    void a_bar_mixes_into_the_selected_swatch_only() {
        QFETCH(int, target);
        QFETCH(int, bar);
        QFETCH(int, channel);
        DialogFixture f(0x0A0BC8, 0xC0C0C0);
        if (target == 2)
            f.dialog->Label2_Click();
        f.v.ColorTarget = target;
        ChannelBar* bars[] = {f.dialog->VScroll1, f.dialog->VScroll2, f.dialog->VScroll3};
        bars[bar - 1]->setChannel(channel);
        QTEST(f.text(), "text");
        QTEST(f.back(), "back");
    }

    void dragging_mixes_before_the_thumb_is_released() {
        DialogFixture f;
        f.dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(f.dialog));
        f.dialog->Label2_Click();
        ChannelBar* red = f.dialog->VScroll1;
        QStyleOptionSlider option;
        option.initFrom(red);
        option.orientation = Qt::Vertical;
        option.minimum = red->minimum();
        option.maximum = red->maximum();
        option.sliderPosition = red->sliderPosition();
        option.sliderValue = red->value();
        option.pageStep = red->pageStep();
        option.singleStep = red->singleStep();
        const QRect thumb = red->style()->subControlRect(QStyle::CC_ScrollBar, &option,
                                                         QStyle::SC_ScrollBarSlider, red);
        QTest::mousePress(red, Qt::LeftButton, {}, thumb.center());
        QVERIFY(red->isSliderDown());
        QTest::mouseMove(red, QPoint(thumb.center().x(), thumb.center().y() - red->height()));
        QVERIFY(red->isSliderDown());
        QCOMPARE(f.back(), 0xC0C0FF);
        QCOMPARE(f.text(), 0x000000);
        QTest::mouseRelease(red, Qt::LeftButton, {}, QPoint(thumb.center().x(), 0));
        QCOMPARE(f.back(), 0xC0C0FF);
    }

    void built_in_colours_change_only_the_swatches() {
        DialogFixture f(0x0A0AC8, 0x00FFFF);
        f.dialog->show();
        f.dialog->Command3_Click();
        QCOMPARE(f.text(), 0x000000);
        QCOMPARE(f.back(), 0xC0C0C0);
        QCOMPARE(f.bars(), 0x0A0AC8);
        QCOMPARE(f.v.ColorTarget, 1);
        QVERIFY(f.dialog->Label1->font().bold());
        QVERIFY(f.dialog->Picture1->hasBorder());
        QVERIFY(f.display.displayColors.isEmpty());
        QCOMPARE(f.v.ShownTextColor, 0x0A0AC8);
        QVERIFY(!f.dialog->isHidden());

        // The bars still hold the old colour, and the next move mixes from them.
        f.dialog->VScroll2->setChannel(9);
        QCOMPARE(f.text(), 0x0A09C8);
        QCOMPARE(f.back(), 0xC0C0C0);
    }

    void leaving_applies_only_on_ok_data() {
        QTest::addColumn<Handler>("leave");
        QTest::addColumn<bool>("applies");
        QTest::newRow("Ｏ　Ｋ") << Handler(&frmColor::Command1_Click) << true;
        QTest::newRow("キャンセル") << Handler(&frmColor::Command2_Click) << false;
        QTest::newRow("close box") << Handler(nullptr) << false;
    }
    void leaving_applies_only_on_ok() {
        QFETCH(Handler, leave);
        QFETCH(bool, applies);
        DialogFixture f(0x000000, 0xC0C0C0);
        f.dialog->show();
        f.dialog->Label2_Click();
        f.dialog->VScroll3->setChannel(0x80);
        f.dialog->Label1_Click();
        f.dialog->VScroll1->setChannel(0xFF);
        if (leave)
            (f.dialog->*leave)();
        else
            f.dialog->close();
        QVERIFY(f.dialog->isHidden());
        QCOMPARE(f.v.ShownTextColor, applies ? 0x0000FF : 0x000000);
        QCOMPARE(f.v.ShownBackColor, applies ? 0x80C0C0 : 0xC0C0C0);
        using Applied = QList<QPair<ColorValue, ColorValue>>;
        const Applied applied = applies ? Applied{{0x0000FF, 0x80C0C0}} : Applied{};
        QCOMPARE(f.display.displayColors, applied);
        QCOMPARE(f.display.windowBackColors,
                 applies ? QList<ColorValue>{0x80C0C0} : QList<ColorValue>{});
        QCOMPARE(f.v.TextColor, 0x000000); // the start-up colours stay as read
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(f.dialog.isNull());
    }

    void enter_presses_only_the_focused_button_and_escape_does_nothing() {
        DialogFixture f;
        f.dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(f.dialog));
        f.dialog->VScroll1->setChannel(40);
        for (QWidget* target :
             {static_cast<QWidget*>(f.dialog->VScroll1), static_cast<QWidget*>(f.dialog->Command1),
              static_cast<QWidget*>(f.dialog.data())}) {
            target->setFocus();
            QTest::keyClick(target, Qt::Key_Escape);
            QVERIFY(!f.dialog->isHidden());
        }
        QTest::keyClick(f.dialog->VScroll1, Qt::Key_Return);
        QTest::keyClick(f.dialog->Picture2, Qt::Key_Enter);
        QVERIFY(!f.dialog->isHidden());
        QVERIFY(f.display.displayColors.isEmpty());

        QTest::keyClick(f.dialog->Command1, Qt::Key_Return);
        QVERIFY(f.dialog->isHidden());
        QCOMPARE(f.v.ShownTextColor, 40);
    }
};

QTEST_MAIN(TestColorDialog)
#include "tst_ColorDialog.moc"
