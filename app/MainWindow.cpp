#include "MainWindow.h"

#include "LabelSizing.h"
#include "MainTexts.h"
#include "MessageBoxes.h"
#include "colors/frmColor.h"
#include "link/PerixTexts.h"
#include "measuring/Measuring.h"
#include "measuring/PeriodText.h"
#include "record/RecordTexts.h"
#include "widgets/DisplayColor.h"
#include "widgets/DisplayFont.h"
#include "widgets/DisplayLabel.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QMenuBar>

MainWindow::MainWindow(ProgramValues& values, BoxLine& line, MessageBoxes& boxes,
                       std::function<void()> endProgram, TenthClock::Now clock,
                       RecordPlace recordPlace)
    : v(values), m_boxes(boxes), m_now(clock), m_tenths(std::move(clock)),
      m_recordPlace(std::move(recordPlace)), m_recordSigns(*this, boxes, m_recordPlace.folder) {
    setWindowTitle(MainTexts::title());
    setWindowIcon(QIcon(QStringLiteral(":/tolvane.xpm")));
    setFont(displayFont(12));

    m_client = new QWidget(this);
    m_client->setAutoFillBackground(true);
    setCentralWidget(m_client);
    setWindowBackColor(ColorTable::BuiltInBack);

    Label1 = new DisplayLabel(m_client);
    Label1->move(0, 0);
    Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label1->setWordWrap(true);
    Label1->setAutoFillBackground(true);
    setDisplayColors(ColorTable::BuiltInText, ColorTable::BuiltInBack);

    buildMenus();
    m_kiroku.offerOn(Label1);

    // Ticks close to the tenths they stand for.
    Timer2.setTimerType(Qt::PreciseTimer);
    connect(&Timer2, &QTimer::timeout, this, &MainWindow::Timer2_Timer);
    connectLine(line);

    m_suuti = std::make_unique<Suuti>(v, labelNotices());
    m_perix = std::make_unique<Perix>(
        v, labelNotices(), [this] { emit lineStart(v.PortNo, v.SampleCommand, v.Sensitivity); },
        std::move(endProgram));

    m_client->installEventFilter(this);
    m_client->resize(ClientWidth, ClientHeight);
    // The main window lays its menu bar out at the height the bar needs for
    // the window's width, which can differ from the bar's size hint (on
    // Windows by a pixel; more if the captions wrap).
    resize(ClientWidth, ClientHeight + menuBar()->heightForWidth(ClientWidth));
}

// The colour dialog has no owner, so it would outlive the window that it
// colours: it goes with it, when the program ends. The sensitivity dialog
// calls back into this window, so it goes first.
MainWindow::~MainWindow() {
    delete m_color;
    delete m_settei;
}

// On a thread of its own the line gets these queued, in order; a test's line
// on the test's thread gets them at once.
void MainWindow::connectLine(BoxLine& line) {
    connect(this, &MainWindow::lineStart, &line, &BoxLine::start);
    connect(this, &MainWindow::samplingWanted, &line, &BoxLine::sampleFor);
    connect(this, &MainWindow::intervalBegun, &line, &BoxLine::freshInterval);
    connect(this, &MainWindow::countingBegan, &line, &BoxLine::countingBegan);
    connect(this, &MainWindow::sensitivityChosen, &line, &BoxLine::setSensitivity);
    connect(this, &MainWindow::samplingResumed, &line, &BoxLine::gapInSampling);
    connect(&line, &BoxLine::startUpAnswered, this, &MainWindow::lineStartedUp);
    connect(&line, &BoxLine::passage, this, &MainWindow::takePassage);
    connect(&line, &BoxLine::brightness, this, &MainWindow::takeBrightness);
    connect(&line, &BoxLine::fellSilent, this, &MainWindow::boxFellSilent);
    connect(&line, &BoxLine::answersAgain, this, &MainWindow::boxAnswersAgain);
    connect(&line, &BoxLine::gone, this, &MainWindow::linkGone);
    connect(&line, &BoxLine::back, this, &MainWindow::linkBack);
}

void MainWindow::setSampling(Sampling sampling) {
    m_sampling = sampling;
    emit samplingWanted(sampling);
}

void MainWindow::freshInterval(Detector::Peak peak) {
    Measuring::freshInterval(v);
    emit intervalBegun(++m_interval, peak);
}

void MainWindow::discardSettei() {
    FSettei* closed = m_settei;
    m_settei = nullptr;
    closed->deleteLater();
}

void MainWindow::buildMenus() {
    QMenuBar* bar = menuBar();
    // Menus keep the desktop's own menu font, as menus everywhere do.
    bar->setFont(QApplication::font(bar));
    MenuOwaru = bar->addAction(MainTexts::menuOwaru());
    MenuSettei = bar->addAction(MainTexts::menuSettei());
    MenuColor = bar->addAction(MainTexts::menuColor());
    MenuSetumei = bar->addAction(MainTexts::menuSetumei());
    connect(MenuOwaru, &QAction::triggered, this, &MainWindow::MenuOwaru_Click);
    connect(MenuSettei, &QAction::triggered, this, &MainWindow::MenuSettei_Click);
    connect(MenuColor, &QAction::triggered, this, &MainWindow::MenuColor_Click);
    connect(MenuSetumei, &QAction::triggered, this, &MainWindow::MenuSetumei_Click);
}

void MainWindow::Form_Load() {
    v.SampleCommand = QByteArray(1, '\0');
    freshInterval();
    applySizingRule();
    setSampling(Sampling::None);
    Timer2.stop();
    m_suuti->SuutiInit();
    // The line answers later; the not-connected notice, if the box does not
    // answer, goes over the record's.
    m_perix->PerixInit();
    // Its notice goes over the link's start-up notice.
    startRecord();
    setDisplayColors(v.TextColor, v.BackColor);
    v.ShownTextColor = v.TextColor;
    v.ShownBackColor = v.BackColor;
    setSampling(Sampling::Display);
    freshInterval();
    Timer2.setInterval(TenthClock::TenthMs);
    m_tenths.restart();
    Timer2.start();
}

NoticeSink MainWindow::labelNotices() {
    return {[this](const QString& text) { Label1->setText(text); },
            [this](int points) {
                QFont font = Label1->font();
                font.setPointSize(points);
                Label1->setFont(font);
            }};
}

void MainWindow::applySizingRule() {
    const LabelSizing s = LabelSizing::forClient(m_client->size());
    Label1->resize(s.label);
    QFont font = Label1->font();
    font.setPointSize(s.fontPoints);
    Label1->setFont(font);
}

void MainWindow::Form_Resize() {
    if (LabelSizing::appliesTo(m_client->size()))
        applySizingRule();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_client && event->type() == QEvent::Resize)
        Form_Resize();
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    Form_QueryUnload(event);
}

void MainWindow::Form_QueryUnload(QCloseEvent* event) {
    // While the sensitivity dialog is open Timer3 samples instead, and Timer1
    // must stay stopped whatever the answer.
    const bool wasSampling = m_sampling == Sampling::Display;
    if (wasSampling)
        setSampling(Sampling::None);
    if (m_boxes.askYesNo(this, MainTexts::title(), MainTexts::quitQuestion())) {
        hide();
        event->accept();
        m_perix->PerixOwari();
        return;
    }
    event->ignore();
    if (wasSampling) {
        setSampling(Sampling::Display);
        // The tenths went on while nothing was sampled: no reading may span that.
        emit samplingResumed();
    }
}

void MainWindow::MenuOwaru_Click() {
    if (m_boxes.askYesNo(this, MainTexts::title(), MainTexts::quitQuestion()))
        m_perix->PerixOwari();
}

void MainWindow::MenuSettei_Click() {
    // Open already: only to the front. Saving the sensitivity anew here would
    // make Cancel keep one chosen meanwhile, not the one in force at opening.
    if (m_settei && m_settei->isVisible()) {
        m_settei->raise();
        m_settei->activateWindow();
        return;
    }
    v.SavedSensitivity = v.Sensitivity;
    // The record follows the big display, which stands still meanwhile.
    recordGap();
    if (!m_settei) {
        // The close box discards the dialog; the next opening starts empty.
        m_settei = new FSettei(v,
                               {[this] { setteiLeft(); }, [this] { discardSettei(); },
                                [this] { emit sensitivityChosen(v.Sensitivity); }},
                               this);
    }
    m_settei->show();
    m_settei->activateWindow();
    if (m_noReadings)
        m_settei->showNoReadings();
    m_settei->selectForSensitivity();
    setSampling(Sampling::Dialog);
    freshInterval();
    v.DataValue = 0;
}

void MainWindow::setteiLeft() {
    // OK keeps the sensitivity chosen; Cancel and the close box restore it.
    emit sensitivityChosen(v.Sensitivity);
    // Never two samplers: the line stops the dialog's before the display's starts.
    setSampling(Sampling::Display);
    freshInterval();
}

// Modeless and without an owner; a new one after each close, so that it starts
// from the colours now shown. While it is open it only comes to the front,
// with its edits as they were.
void MainWindow::MenuColor_Click() {
    if (!m_color || m_color->isHidden())
        m_color = new frmColor(v, *this);
    m_color->show();
    m_color->raise();
    m_color->activateWindow();
}

void MainWindow::MenuSetumei_Click() {
    m_boxes.tell(this, MainTexts::explanationTitle(), MainTexts::explanation());
}

void MainWindow::Timer2_Timer() {
    if (Measuring::clockTick(v, m_tenths.tick()))
        emit countingBegan();
}

void MainWindow::lineStartedUp(bool boxThere) {
    v.NotConnected = !boxThere;
    m_noReadings = !boxThere;
    if (v.NotConnected)
        m_perix->PerixDone();
}

void MainWindow::takePassage(const Passage& p) {
    if (p.interval != m_interval) {
        // Seen before the fresh interval reached the line, which has stopped
        // detecting since: a count already under way starts it again.
        if (v.TenthCount != 0)
            emit countingBegan();
        return;
    }
    const std::optional<int> period = Measuring::passage(v, p.followsGap);
    v.DataValue = std::int16_t(p.brightness);
    if (m_sampling == Sampling::Dialog) {
        if (m_settei && period)
            m_settei->showPeriod(*period);
        return;
    }
    // Every passage goes into the record with its own time; the display
    // shows the latest period.
    recordPassage(p.at, period);
    if (period)
        Label1->setText(PeriodText(*period));
}

void MainWindow::takeBrightness(int brightness) {
    v.DataValue = std::int16_t(brightness);
    if (m_settei && m_sampling == Sampling::Dialog)
        m_settei->showBrightness(brightness);
}

void MainWindow::boxFellSilent() {
    showBoxAway();
}

void MainWindow::boxAnswersAgain() {
    showBoxBack();
}

void MainWindow::showBoxAway() {
    m_noReadings = true;
    // The last readings would look live; say that the box is not there.
    m_perix->PerixDone();
    if (m_settei)
        m_settei->showNoReadings();
}

void MainWindow::showBoxBack() {
    m_noReadings = false;
    // As after a start-up that found the box, until the first true interval.
    Label1->setText(PerixTexts::startupNotice());
}

void MainWindow::linkGone() {
    showBoxAway();
}

void MainWindow::linkBack() {
    // The time the box was away is no period, and its light may have changed.
    freshInterval(Detector::Peak::Forgotten);
    showBoxBack();
}

void MainWindow::startRecord() {
    if (!v.KeepRecord)
        return;
    m_record = PassageRecord::begin(m_recordPlace, m_now);
    if (!m_record)
        Label1->setText(RecordTexts::notStarted());
    m_recordSigns.follow(m_record.get());
}

void MainWindow::recordGap() {
    m_kiroku.gap();
    if (m_record)
        m_record->gap();
}

void MainWindow::recordPassage(std::chrono::nanoseconds at, std::optional<int> period) {
    m_kiroku.passage(at, period);
    if (!m_record || !m_record->writing())
        return;
    m_record->passage(at, period);
    if (!m_record->writing())
        m_recordSigns.follow(m_record.get());
}

void MainWindow::setDisplayColors(ColorValue text, ColorValue back) {
    QPalette p = Label1->palette();
    p.setColor(QPalette::WindowText, toQColor(text));
    p.setColor(QPalette::Window, toQColor(back));
    Label1->setPalette(p);
}

void MainWindow::setWindowBackColor(ColorValue back) {
    QPalette p = m_client->palette();
    p.setColor(QPalette::Window, toQColor(back));
    p.setColor(QPalette::WindowText, Qt::black);
    m_client->setPalette(p);
}
