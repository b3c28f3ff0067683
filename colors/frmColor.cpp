#include "frmColor.h"

#include "ChannelBar.h"
#include "ColorDisplay.h"
#include "ColorSwatch.h"
#include "ColorTexts.h"
#include "SelectorLabel.h"
#include "core/ColorTable.h"
#include "widgets/DisplayFont.h"
#include "widgets/Twips.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

namespace {

QPushButton* button(QWidget* parent, const QString& caption, QRect where) {
    auto* b = new QPushButton(caption, parent);
    b->setGeometry(where);
    b->setFont(displayFont(12));
    // Enter presses the button that has the focus, and only that one: there
    // is no default button to fall back on.
    b->setAutoDefault(true);
    b->setDefault(false);
    return b;
}

} // namespace

frmColor::frmColor(ProgramValues& values, ColorDisplay& display)
    : QWidget(nullptr, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowCloseButtonHint),
      v(values), m_display(display) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(ColorTexts::caption());
    setFont(displayFont(9.75));
    setFixedSize(ClientWidth, ClientHeight);
    buildControls();
    connectHandlers();
    Form_Load();
}

// Created in the order of the Tab key's round, which starts at "Ｏ　Ｋ".
void frmColor::buildControls() {
    Command1 = button(this, ColorTexts::ok(), Twips::rect(4560, 960, 1455, 495));
    Command2 = button(this, ColorTexts::cancel(), Twips::rect(4560, 1680, 1455, 495));

    Label2 = new SelectorLabel(ColorTexts::backColor(), this);
    Label2->setGeometry(Twips::rect(120, 600, 1575, 375));
    Picture2 = new ColorSwatch(this);
    Picture2->setGeometry(Twips::rect(1800, 600, 615, 375));

    Command3 = button(this, ColorTexts::builtInColors(), Twips::rect(4560, 240, 1455, 495));

    const QString channelNames[] = {ColorTexts::red(), ColorTexts::green(), ColorTexts::blue()};
    QLabel** channelLabels[] = {&Label10, &Label11, &Label12};
    ChannelBar** bars[] = {&VScroll1, &VScroll2, &VScroll3};
    for (int i = 0; i < 3; ++i) {
        const int left = 2760 + 600 * i;
        QLabel* label = new QLabel(channelNames[i], this);
        label->setGeometry(Twips::rect(left, 0, 255, 255));
        label->setFont(boldDisplayFont(12));
        *channelLabels[i] = label;
    }
    for (int i = 0; i < 3; ++i) {
        *bars[i] = new ChannelBar(this);
        (*bars[i])->setGeometry(Twips::rect(2760 + 600 * i, 360, 255, 1815));
    }

    Label1 = new SelectorLabel(ColorTexts::textColor(), this);
    Label1->setGeometry(Twips::rect(120, 120, 1575, 375));
    Picture1 = new ColorSwatch(this);
    Picture1->setGeometry(Twips::rect(1800, 120, 615, 375));

    Text1 = new QPlainTextEdit(this);
    Text1->setGeometry(Twips::rect(120, 1080, 2175, 1215));
    Text1->setPlainText(ColorTexts::instructions());
    Text1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Text1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Text1->setTabChangesFocus(true);

    for (SelectorLabel* label : {Label1, Label2})
        label->setFont(displayFont(14.25));

    QWidget* round[] = {Command1, Command2, Label2,   Picture2, Command3, Label10,  Label11,
                        Label12,  VScroll1, VScroll2, VScroll3, Label1,   Picture1, Text1};
    for (std::size_t i = 1; i < std::size(round); ++i)
        setTabOrder(round[i - 1], round[i]);
}

void frmColor::connectHandlers() {
    connect(Label1, &SelectorLabel::clicked, this, &frmColor::Label1_Click);
    connect(Label2, &SelectorLabel::clicked, this, &frmColor::Label2_Click);
    connect(Picture1, &ColorSwatch::clicked, this, &frmColor::Picture1_Click);
    connect(Picture2, &ColorSwatch::clicked, this, &frmColor::Picture2_Click);
    connect(VScroll1, &ChannelBar::channelChanged, this, &frmColor::VScroll1_Change);
    connect(VScroll2, &ChannelBar::channelChanged, this, &frmColor::VScroll2_Change);
    connect(VScroll3, &ChannelBar::channelChanged, this, &frmColor::VScroll3_Change);
    connect(Command1, &QPushButton::clicked, this, &frmColor::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &frmColor::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &frmColor::Command3_Click);
}

void frmColor::Form_Load() {
    v.ColorTarget = 1;
    Picture1->setColor(v.ShownTextColor);
    Picture2->setColor(v.ShownBackColor);
    Label1_Click();
    Command1->setFocus();
}

void frmColor::Label1_Click() {
    selectColor(1);
}
void frmColor::Label2_Click() {
    selectColor(2);
}
void frmColor::Picture1_Click() {
    selectColor(1);
}
void frmColor::Picture2_Click() {
    selectColor(2);
}

// The target changes first, so that the bars, set one after another below,
// mix only into the newly selected swatch and leave the other one alone.
void frmColor::selectColor(int target) {
    const bool text = target == 1;
    v.ColorTarget = target;
    QFont bold = Label1->font();
    bold.setBold(true);
    QFont regular = bold;
    regular.setBold(false);
    Label1->setFont(text ? bold : regular);
    Label2->setFont(text ? regular : bold);
    Picture1->setBorder(text);
    Picture2->setBorder(!text);
    const ColorValue c = (text ? Picture1 : Picture2)->color();
    VScroll1->setChannel(ColorChannels::red(c));
    VScroll2->setChannel(ColorChannels::green(c));
    VScroll3->setChannel(ColorChannels::blue(c));
}

void frmColor::VScroll1_Change() {
    recombine();
}
void frmColor::VScroll2_Change() {
    recombine();
}
void frmColor::VScroll3_Change() {
    recombine();
}

void frmColor::recombine() {
    const ColorValue color =
        ColorChannels::combine(VScroll1->channel(), VScroll2->channel(), VScroll3->channel());
    if (v.ColorTarget == 1)
        Picture1->setColor(color);
    else if (v.ColorTarget == 2)
        Picture2->setColor(color);
}

void frmColor::Command1_Click() {
    v.ShownTextColor = Picture1->color();
    v.ShownBackColor = Picture2->color();
    m_display.setDisplayColors(v.ShownTextColor, v.ShownBackColor);
    m_display.setWindowBackColor(v.ShownBackColor);
    close();
}

void frmColor::Command2_Click() {
    close();
}

// The program's own colours, not those of the customization file; the bars
// stay where they are until a colour is next selected.
void frmColor::Command3_Click() {
    Picture1->setColor(ColorTable::BuiltInText);
    Picture2->setColor(ColorTable::BuiltInBack);
}
