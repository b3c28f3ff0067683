#include "FSettei.h"

#include "FSetteiTexts.h"
#include "measuring/PeriodText.h"
#include "widgets/DisplayFont.h"
#include "widgets/Twips.h"

#include <QCloseEvent>
#include <QFrame>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>

namespace {

QLabel* label(QWidget* parent, const QString& text, const QRect& where) {
    auto* l = new QLabel(text, parent);
    l->setGeometry(where);
    l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return l;
}

} // namespace

int FSettei::optionFor(int sensitivity) {
    for (int i = 0; i < int(OptionValues.size()) - 1; ++i) {
        if (sensitivity <= OptionValues[i])
            return i;
    }
    return int(OptionValues.size()) - 1;
}

FSettei::FSettei(ProgramValues& values, Exits exits, QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      v(values), m_exits(std::move(exits)) {
    setWindowTitle(FSetteiTexts::caption());
    setFont(displayFont(12));
    setFixedSize(Twips::rect(0, 0, 5625, 3795).size());
    buildControls();
    buildFrame();
}

void FSettei::buildControls() {
    FSetteiLbl = label(this, FSetteiTexts::heading(), Twips::rect(120, 120, 2895, 495));
    FSetteiLbl->setFont(boldDisplayFont(21.75));
    QPalette magenta = FSetteiLbl->palette();
    magenta.setColor(QPalette::WindowText, QColor(0xC0, 0x00, 0xC0));
    FSetteiLbl->setPalette(magenta);

    Label4 = label(this, FSetteiTexts::headingNote(), Twips::rect(2640, 240, 2535, 255));

    const auto captions = FSetteiTexts::options();
    for (int i = 0; i < int(KandoOp.size()); ++i) {
        KandoOp[i] = new QRadioButton(captions[i], this);
        KandoOp[i]->setGeometry(Twips::rect(240, 720 + 600 * i, 2415, 495));
        KandoOp[i]->setFont(displayFont(14.25));
        connect(KandoOp[i], &QRadioButton::clicked, this, [this, i] { KandoOp_Click(i); });
    }

    CmdOk = new QPushButton(FSetteiTexts::ok(), this);
    CmdOk->setGeometry(Twips::rect(2640, 3240, 1215, 495));
    CmdCansel = new QPushButton(FSetteiTexts::cancel(), this);
    CmdCansel->setGeometry(Twips::rect(3960, 3240, 1455, 495));
    // Neither button answers Enter on its own.
    CmdOk->setAutoDefault(false);
    CmdCansel->setAutoDefault(false);
    connect(CmdOk, &QPushButton::clicked, this, &FSettei::CmdOk_Click);
    connect(CmdCansel, &QPushButton::clicked, this, &FSettei::CmdCansel_Click);

    for (int i = 0; i + 1 < int(KandoOp.size()); ++i)
        setTabOrder(KandoOp[i], KandoOp[i + 1]);
    setTabOrder(KandoOp.back(), CmdOk);
    setTabOrder(CmdOk, CmdCansel);

    Line1 = {Twips::point(2760, 360), Twips::point(2400, 720)};
    Line2 = {Twips::point(2520, 480), Twips::point(2400, 720)};
    Line3 = {Twips::point(2640, 600), Twips::point(2400, 720)};
}

void FSettei::buildFrame() {
    Frame1 = new QFrame(this);
    Frame1->setGeometry(Twips::rect(2640, 600, 2655, 2535));
    Frame1->setFrameStyle(QFrame::Box | QFrame::Sunken);
    Frame1->setAutoFillBackground(true);
    // The readings stand on the desktop's tooltip colour, apart from the options.
    QPalette info = Frame1->palette();
    info.setColor(QPalette::Window, info.color(QPalette::ToolTipBase));
    Frame1->setPalette(info);

    Label0 = label(Frame1, FSetteiTexts::periodHeading(), Twips::rect(120, 120, 2415, 255));
    Label0->setFont(boldDisplayFont(14.25));
    Label1 = label(Frame1, QString(), Twips::rect(360, 480, 1935, 735));
    Label1->setFont(displayFont(18));
    Label2 = label(Frame1, FSetteiTexts::brightnessHeading(), Twips::rect(120, 1320, 2295, 375));
    Label2->setFont(boldDisplayFont(14.25));
    Label3 = label(Frame1, QString(), Twips::rect(360, 1800, 2055, 615));
    Label3->setFont(displayFont(18));
}

void FSettei::KandoOp_Click(int) {
    KandoSet();
}

void FSettei::KandoSet() {
    for (int i = 0; i < int(KandoOp.size()); ++i) {
        if (KandoOp[i]->isChecked())
            v.Sensitivity = std::int16_t(OptionValues[i]);
    }
    if (m_exits.chosen)
        m_exits.chosen();
}

void FSettei::selectForSensitivity() {
    const int index = optionFor(v.Sensitivity);
    KandoOp[index]->setChecked(true);
    KandoOp_Click(index);
}

void FSettei::showBrightness(int brightness) {
    // One space where a minus sign would stand.
    Label3->setText(QLatin1Char(' ') + QString::number(brightness));
}

void FSettei::showPeriod(int tenths) {
    Label1->setText(PeriodText(tenths));
}

void FSettei::showNoReadings() {
    Label1->clear();
    Label3->clear();
}

void FSettei::leave() {
    if (m_exits.left)
        m_exits.left();
}

void FSettei::CmdOk_Click() {
    KandoSet();
    leave();
    hide();
}

void FSettei::CmdCansel_Click() {
    v.Sensitivity = v.SavedSensitivity;
    leave();
    hide();
}

void FSettei::Form_Unload() {
    v.Sensitivity = v.SavedSensitivity;
    leave();
}

void FSettei::closeEvent(QCloseEvent* event) {
    // A dialog already put away by OK or Cancel has nothing to hand back; a
    // close then must not undo its OK.
    if (isVisible())
        Form_Unload();
    event->accept();
    if (m_exits.discarded)
        m_exits.discarded();
}

void FSettei::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(QPen(QColor(0x00, 0x00, 0xC0), 2));
    for (const QLine& line : {Line1, Line2, Line3})
        painter.drawLine(line);
}
