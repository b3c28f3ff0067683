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

MainWindow::MainWindow(ProgramValues& values, std::unique_ptr<SerialLink> port, MessageBoxes& boxes,
                       std::function<void()> endProgram, TenthClock::Now clock,
                       RecordPlace recordPlace)
    : v(values), m_boxes(boxes), m_now(clock), m_sampler(v, clock), m_tenths(std::move(clock)),
      m_recordPlace(std::move(recordPlace)), m_recordSigns(*this, boxes, m_recordPlace.folder) {
    // The port goes through a watch that reports it when it goes away mid-run
    // and opens it again, or for the first time when start-up could not.
    auto watch = std::make_unique<LinkWatch>(
        std::move(port), LinkWatch::Hooks{[this] { linkGone(); }, [this] { linkBack(); }},
        [this] { return std::chrono::duration_cast<std::chrono::milliseconds>(m_now()).count(); });
    m_linkWatch = watch.get();
    m_port = std::move(watch);

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
    Timer1.setTimerType(Qt::PreciseTimer);
    Timer2.setTimerType(Qt::PreciseTimer);
    Timer3.setTimerType(Qt::PreciseTimer);
    connect(&Timer1, &QTimer::timeout, this, &MainWindow::Timer1_Timer);
    connect(&Timer2, &QTimer::timeout, this, &MainWindow::Timer2_Timer);
    connect(&Timer3, &QTimer::timeout, this, &MainWindow::Timer3_Timer);

    m_suuti = std::make_unique<Suuti>(v, labelNotices());
    m_perix = std::make_unique<Perix>(v, labelNotices(), *m_port, std::move(endProgram));
    LinkTimer.setInterval(LinkWatch::TickMs);
    connect(&LinkTimer, &QTimer::timeout, this, &MainWindow::LinkTimer_Timer);

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
    Measuring::freshInterval(v);
    applySizingRule();
    Timer1.stop();
    Timer2.stop();
    m_suuti->SuutiInit();
    m_perix->PerixInit();
    // Its notice goes over the link's start-up notice, but not over the
    // not-connected notice, which matters more.
    startRecord();
    if (v.NotConnected)
        m_perix->PerixDone();
    m_linkWatch->startWatching(!v.NotConnected);
    if (m_linkWatch->watching())
        LinkTimer.start();
    m_sampler.begin();
    setDisplayColors(v.TextColor, v.BackColor);
    v.ShownTextColor = v.TextColor;
    v.ShownBackColor = v.BackColor;
    Timer1.setInterval(TenthClock::SamplingMs);
    Timer1.start();
    Measuring::freshInterval(v);
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
    const bool wasSampling = Timer1.isActive();
    Timer1.stop();
    if (m_boxes.askYesNo(this, MainTexts::title(), MainTexts::quitQuestion())) {
        hide();
        event->accept();
        m_perix->PerixOwari();
        return;
    }
    event->ignore();
    if (wasSampling) {
        Timer1.start();
        // The tenths went on while nothing was sampled: no reading may span that.
        m_sampler.gap();
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
    Timer1.stop();
    // The record follows the big display, which stands still meanwhile.
    recordGap();
    if (!m_settei) {
        // The close box discards the dialog; the next opening starts empty.
        m_settei = new FSettei(v, {[this] { setteiLeft(); }, [this] { discardSettei(); }}, this);
    }
    m_settei->show();
    m_settei->activateWindow();
    if (m_sampler.silent())
        m_settei->showNoReadings();
    m_settei->selectForSensitivity();
    Timer3.setInterval(TenthClock::SamplingMs);
    Timer3.start();
    Measuring::freshInterval(v);
    v.DataValue = 0;
}

void MainWindow::setteiLeft() {
    // Never two samplers: the dialog's stops before the display's starts.
    Timer3.stop();
    Timer1.start();
    Measuring::freshInterval(v);
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

void MainWindow::Timer1_Timer() {
    const Sampler::Result r = m_sampler.sample(*m_port);
    followReplies(r);
    // Every passage goes into the record with its own time; the display
    // shows the latest period.
    std::optional<int> period;
    for (const Sampler::Sample& s : r.samples) {
        if (s.passage)
            recordPassage(s);
        if (s.period)
            period = s.period;
    }
    if (period)
        Label1->setText(PeriodText(*period));
}

// The sensitivity dialog's sampling: the same exchange and detector as
// Timer1's, with the readings shown in the dialog.
void MainWindow::Timer3_Timer() {
    const Sampler::Result r = m_sampler.sample(*m_port);
    followReplies(r);
    if (!m_settei)
        return;
    for (const Sampler::Sample& s : r.samples) {
        m_settei->showBrightness(s.brightness);
        if (s.period)
            m_settei->showPeriod(*s.period);
    }
}

void MainWindow::Timer2_Timer() {
    Measuring::clockTick(v, m_tenths.tick());
}

void MainWindow::followReplies(const Sampler::Result& r) {
    if (r.fellSilent)
        showBoxAway();
    if (r.answersAgain)
        showBoxBack();
}

void MainWindow::showBoxAway() {
    // The last readings would look live; say that the box is not there.
    m_perix->PerixDone();
    if (m_settei)
        m_settei->showNoReadings();
}

void MainWindow::showBoxBack() {
    // As after a start-up that found the box, until the first true interval.
    Label1->setText(PerixTexts::startupNotice());
}

void MainWindow::linkGone() {
    m_sampler.boxGone();
    showBoxAway();
    LinkTimer.start();
}

void MainWindow::linkBack() {
    // The time the box was away is no period, and its light may have changed.
    Measuring::freshInterval(v, Measuring::Peak::Forgotten);
    m_sampler.gap();
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

void MainWindow::recordPassage(const Sampler::Sample& s) {
    m_kiroku.passage(s.at, s.period);
    if (!m_record || !m_record->writing())
        return;
    m_record->passage(s.at, s.period);
    if (!m_record->writing())
        m_recordSigns.follow(m_record.get());
}

void MainWindow::LinkTimer_Timer() {
    m_linkWatch->tick();
    if (!m_linkWatch->watching())
        LinkTimer.stop();
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
