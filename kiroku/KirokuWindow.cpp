#include "KirokuWindow.h"

#include "KirokuTexts.h"
#include "SeriesGraph.h"
#include "SeriesModel.h"
#include "record/SeriesTable.h"
#include "record/SeriesTexts.h"
#include "record/SwingSeries.h"
#include "widgets/DisplayFont.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QGridLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QTableView>
#include <algorithm>

namespace {

QLabel* noteLabel(const QString& text) {
    auto* label = new QLabel(text);
    label->setFont(displayFont(KirokuWindow::NotePoints));
    label->setWordWrap(true);
    return label;
}

// A figure with its unit, or the sign that there is none yet.
QString figure(const QString& value, const QString& unit) {
    return value.isEmpty() ? KirokuTexts::noFigure() : value + QLatin1Char(' ') + unit;
}

} // namespace

KirokuWindow::KirokuWindow(SwingSeries& series) : QWidget(nullptr), m_series(series) {
    setWindowTitle(KirokuTexts::title());
    setWindowIcon(QIcon(QStringLiteral(":/tolvane.xpm")));
    setFont(displayFont(TextPoints));
    buildControls();
    resize(Width, Height);
    showFigures();
}

QLabel* KirokuWindow::figureValue() {
    auto* label = new QLabel(KirokuTexts::noFigure());
    label->setFont(boldDisplayFont(FigurePoints));
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

void KirokuWindow::buildControls() {
    Graph = new SeriesGraph(m_series);

    m_model = new SeriesModel(m_series, this);
    Table = new QTableView;
    Table->setModel(m_model);
    Table->verticalHeader()->hide();
    Table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    Table->setSelectionMode(QAbstractItemView::NoSelection);
    Table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Read, not worked in: Ctrl+C belongs to the window's copy of everything.
    Table->setFocusPolicy(Qt::NoFocus);
    Table->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Table->horizontalHeader()->setStretchLastSection(true);

    m_count = figureValue();
    m_average = figureValue();
    m_spread = figureValue();
    m_period = figureValue();
    m_gravity = figureValue();
    TextLength = new QLineEdit;
    TextLength->setFont(boldDisplayFont(FigurePoints));
    TextLength->setPlaceholderText(KirokuTexts::lengthExample());
    TextLength->setMaximumWidth(QFontMetrics(TextLength->font()).horizontalAdvance("00.000") + 16);
    TextLength->installEventFilter(this);

    auto* figures = new QGridLayout;
    const auto name = [](const QString& text) { return new QLabel(text); };
    figures->addWidget(name(SeriesTexts::count()), 0, 0);
    figures->addWidget(m_count, 0, 1);
    figures->addWidget(name(SeriesTexts::average()), 0, 2);
    figures->addWidget(m_average, 0, 3);
    figures->addWidget(name(SeriesTexts::spread()), 1, 0);
    figures->addWidget(m_spread, 1, 1);
    figures->addWidget(name(SeriesTexts::period()), 1, 2);
    figures->addWidget(m_period, 1, 3);
    figures->addWidget(noteLabel(KirokuTexts::whyTwice()), 2, 0, 1, 4);
    auto* length = new QHBoxLayout;
    length->addWidget(TextLength);
    length->addWidget(name(SeriesTexts::metres()));
    length->addStretch();
    figures->addWidget(name(SeriesTexts::length()), 3, 0);
    figures->addLayout(length, 3, 1);
    figures->addWidget(name(SeriesTexts::gravity()), 3, 2);
    figures->addWidget(m_gravity, 3, 3);
    figures->addWidget(noteLabel(KirokuTexts::lengthHint()), 4, 0, 1, 4);
    figures->setHorizontalSpacing(FigureSpacing);
    figures->setColumnStretch(1, 1);
    figures->setColumnStretch(3, 1);

    CmdRestart = new QPushButton(KirokuTexts::restart());
    CmdCopy = new QPushButton(KirokuTexts::copy());
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(CmdRestart);
    buttons->addWidget(CmdCopy);
    buttons->addStretch();

    auto* left = new QVBoxLayout;
    left->addWidget(Graph, 1);
    left->addLayout(figures);
    left->addLayout(buttons);
    auto* all = new QHBoxLayout(this);
    all->addLayout(left, 1);
    all->addWidget(Table);
    fitTableWidth(); // in the window's type, now that it is in the window

    CopyKey = new QAction(this);
    CopyKey->setShortcut(QKeySequence::Copy);
    addAction(CopyKey);

    connect(CmdRestart, &QPushButton::clicked, this, &KirokuWindow::CmdRestart_Click);
    connect(CmdCopy, &QPushButton::clicked, this, &KirokuWindow::CmdCopy_Click);
    connect(CopyKey, &QAction::triggered, this, &KirokuWindow::CmdCopy_Click);
    connect(TextLength, &QLineEdit::textChanged, this, &KirokuWindow::showFigures);
}

void KirokuWindow::passageAdded() {
    // The table follows the newest passage, unless it was scrolled back to
    // look at older ones.
    const QScrollBar* bar = Table->verticalScrollBar();
    const bool atEnd = bar->value() == bar->maximum();
    m_model->passageAdded();
    if (atEnd)
        scrollTableToEnd();
    Graph->update();
    showFigures();
}

void KirokuWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    scrollTableToEnd();
}

// The view lays its rows out later; the scroll bar must know the new row first.
void KirokuWindow::scrollTableToEnd() {
    Table->doItemsLayout();
    Table->scrollToBottom();
}

// Wide enough for every column, so that no number is cut off: the headers,
// or the widest numbers of a long lesson where those are wider.
void KirokuWindow::fitTableWidth() {
    const QFontMetrics metrics(Table->font());
    const QHeaderView* header = Table->horizontalHeader();
    const int margin = 2 * Table->style()->pixelMetric(QStyle::PM_FocusFrameHMargin) + 12;
    const QStringList widest = {QStringLiteral("00000"), QStringLiteral("000.000"),
                                QStringLiteral("0000.0")};
    int width = 0;
    for (int column = 0; column < SeriesModel::Columns; ++column)
        width += std::max(header->sectionSizeHint(column),
                          metrics.horizontalAdvance(widest[column]) + margin);
    Table->setFixedWidth(width + Table->verticalScrollBar()->sizeHint().width() +
                         2 * Table->frameWidth());
}

void KirokuWindow::CmdRestart_Click() {
    m_series.restart();
    m_model->restarted();
    Graph->update();
    showFigures();
}

void KirokuWindow::CmdCopy_Click() {
    QApplication::clipboard()->setText(
        SeriesTable::tabSeparated(m_series, SwingFigures::lengthFrom(TextLength->text())));
}

void KirokuWindow::showFigures() {
    const SwingFigures& f = m_series.figures();
    m_count->setText(QString::number(f.count()));
    m_average->setText(figure(SeriesTable::seconds(f.average()), SeriesTexts::seconds()));
    m_spread->setText(figure(SeriesTable::seconds(f.spread()), SeriesTexts::seconds()));
    m_period->setText(figure(SeriesTable::seconds(f.period()), SeriesTexts::seconds()));
    m_gravity->setText(
        figure(SeriesTable::gravity(f.gravity(SwingFigures::lengthFrom(TextLength->text()))),
               SeriesTexts::acceleration()));
}

// In the length field Ctrl+C copies what is selected there; with nothing
// selected it is the window's, which copies the series.
bool KirokuWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == TextLength && event->type() == QEvent::ShortcutOverride &&
        static_cast<QKeyEvent*>(event)->matches(QKeySequence::Copy) &&
        !TextLength->hasSelectedText())
        return true;
    return QWidget::eventFilter(watched, event);
}
