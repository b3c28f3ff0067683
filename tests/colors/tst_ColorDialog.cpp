#include "colors/ChannelBar.h"
#include "colors/ColorDisplay.h"
#include "colors/ColorSwatch.h"
#include "colors/SelectorLabel.h"
#include "colors/frmColor.h"

#include <QPointer>
#include <QStyleOptionSlider>
#include <QTest>

namespace {

// Remembers what the dialog applied to the main window.
struct RecordedDisplay : ColorDisplay {
    QList<ColorValue> applied; // text, back, window back
    void setDisplayColors(ColorValue text, ColorValue back) override { applied << text << back; }
    void setWindowBackColor(ColorValue back) override { applied << back; }
};

// A dialog on the built-in colours; it deletes itself when it closes.
struct DialogFixture {
    ProgramValues v;
    RecordedDisplay display;
    QPointer<frmColor> dialog;

    DialogFixture() {
        v.ColorTarget = 2; // left over from an earlier opening
        dialog = new frmColor(v, display);
        dialog->show();
    }
    ~DialogFixture() { delete dialog; }

    // Steps such as "L2 R255 C3": a click on Label1/Label2/Picture1/Picture2
    // or "はじめの色", or a bar (R, G, B) set to a channel value.
    void run(const QString& steps) {
        frmColor& d = *dialog;
        for (const QString& step : steps.split(u' ', Qt::SkipEmptyParts)) {
            const int n = step.mid(1).toInt();
            switch (step.at(0).toLatin1()) {
            case 'L':
                n == 1 ? d.Label1_Click() : d.Label2_Click();
                break;
            case 'P':
                n == 1 ? d.Picture1_Click() : d.Picture2_Click();
                break;
            case 'C':
                d.Command3_Click();
                break;
            case 'R':
                d.VScroll1->setChannel(n);
                break;
            case 'G':
                d.VScroll2->setChannel(n);
                break;
            case 'B':
                d.VScroll3->setChannel(n);
                break;
            }
        }
    }
    ColorValue bars() const {
        return ColorChannels::combine(dialog->VScroll1->channel(), dialog->VScroll2->channel(),
                                      dialog->VScroll3->channel());
    }
};

} // namespace

class TestColorDialog : public QObject {
    Q_OBJECT
private slots:
    void selecting_and_mixing_data() {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<ColorValue>("text");
        QTest::addColumn<ColorValue>("back");
        QTest::addColumn<ColorValue>("bars");
        QTest::addColumn<int>("target");
        QTest::newRow("first opening")
            << QStringLiteral("") << 0x000000 << 0xC0C0C0 << 0x000000 << 1;
        QTest::newRow("background red to the top")
            << QStringLiteral("L2 R255") << 0x000000 << 0xC0C0FF << 0xC0C0FF << 2;
        QTest::newRow("selecting back and forth keeps both")
            << QStringLiteral("R200 G10 P2 L1") << 0x000AC8 << 0xC0C0C0 << 0x000AC8 << 1;
        QTest::newRow("selecting by the swatch")
            << QStringLiteral("B7 P2") << 0x070000 << 0xC0C0C0 << 0xC0C0C0 << 2;
        QTest::newRow("built-in colours leave the bars, the next move mixes from them")
            << QStringLiteral("R200 G10 B10 L2 B0 L1 C3 G9") << 0x0A09C8 << 0xC0C0C0 << 0x0A09C8
            << 1;
    }
    void selecting_and_mixing() {
        QFETCH(QString, steps);
        QFETCH(int, target);
        DialogFixture f;
        f.run(steps);
        QTEST(f.dialog->Picture1->color(), "text");
        QTEST(f.dialog->Picture2->color(), "back");
        QTEST(f.bars(), "bars");
        QCOMPARE(f.v.ColorTarget, target);
        QCOMPARE(f.dialog->Label1->font().bold(), target == 1);
        QCOMPARE(f.dialog->Label2->font().bold(), target == 2);
        QCOMPARE(f.dialog->Picture1->hasBorder(), target == 1);
        QCOMPARE(f.dialog->Picture2->hasBorder(), target == 2);
        QVERIFY(f.display.applied.isEmpty());
        QVERIFY(f.dialog->isVisible());
    }

    void dragging_mixes_before_the_thumb_is_released() {
        DialogFixture f;
        QVERIFY(QTest::qWaitForWindowExposed(f.dialog));
        f.run("L2");
        ChannelBar* red = f.dialog->VScroll1;
        QStyleOptionSlider o;
        o.initFrom(red);
        o.orientation = Qt::Vertical;
        o.maximum = red->maximum();
        o.sliderPosition = o.sliderValue = red->value();
        o.pageStep = red->pageStep();
        const QPoint thumb =
            red->style()
                ->subControlRect(QStyle::CC_ScrollBar, &o, QStyle::SC_ScrollBarSlider, red)
                .center();
        QTest::mousePress(red, Qt::LeftButton, {}, thumb);
        QTest::mouseMove(red, QPoint(thumb.x(), thumb.y() - red->height()));
        QVERIFY(red->isSliderDown());
        QCOMPARE(f.dialog->Picture2->color(), 0xC0C0FF);
        QTest::mouseRelease(red, Qt::LeftButton, {}, QPoint(thumb.x(), 0));
        // The up arrow (and the Up key) brightens too.
        QTest::keyClick(f.dialog->VScroll2, Qt::Key_Up);
        QCOMPARE(f.dialog->Picture2->color(), 0xC0C1FF);
    }
};

QTEST_MAIN(TestColorDialog)
#include "tst_ColorDialog.moc"
