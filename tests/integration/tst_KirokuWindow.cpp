#include "app/MainWindow.h"
#include "kiroku/KirokuTexts.h"
#include "kiroku/KirokuWindow.h"
#include "sim/SimulatedPort.h"
#include "support/ManualClock.h"
#include "support/ScriptedMessageBoxes.h"
#include "support/TempWorkingDir.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <cmath>
#include <numbers>

namespace {

// The simulated pendulum crosses the beam at the middle of its swing every
// half period from the moment the box is switched on: intervals known to the
// microsecond, falling all over the 10 ms between samples.
constexpr double PeriodSeconds = 2.5062;
constexpr double IntervalSeconds = PeriodSeconds / 2;
constexpr double LengthM = 1.55;

// The main window on the simulated box, ticked by hand on a clock that moves
// only with the ticks.
struct Lesson {
    ManualClock* clock = nullptr;
    ProgramValues v;
    ScriptedMessageBoxes boxes;
    QTemporaryDir documents;
    std::unique_ptr<BoxLine> line;
    std::unique_ptr<MainWindow> window;
    int ms = 0;

    Lesson() {
        PendulumLight::Setup pendulum;
        pendulum.periodSeconds = PeriodSeconds;
        auto owned = std::make_unique<ManualClock>();
        clock = owned.get();
        auto port = std::make_shared<std::unique_ptr<SerialLink>>(
            std::make_unique<SimulatedPort>(std::move(owned), pendulum));
        const auto now = [this] { return std::chrono::microseconds(clock->now); };
        line = std::make_unique<BoxLine>([port] { return std::move(*port); }, now);
        window = std::make_unique<MainWindow>(v, *line, boxes, [] {}, now,
                                              RecordPlace::inDocuments(documents.path()));
        window->Form_Load();
        while (line->startingUp()) {
            line->LinkTimer_Timer();
            clock->advanceMs(LinkWatch::TickMs);
        }
        line->Timer1.stop();
        window->Timer2.stop();
        // On from the next whole tenth after the probe's time.
        ms = int(clock->now / 100'000 + 1) * 100;
    }

    // Sampling and the tenths as the timers would, until `untilMs` on the box's clock.
    void runUntil(int untilMs) {
        for (; ms < untilMs; ms += 10) {
            clock->now = qint64(ms) * 1000;
            if (ms % 100 == 0)
                window->Timer2_Timer();
            line->Timer1_Timer();
        }
    }

    // A right-click on the display, and 「きろく」 from the menu it opens.
    KirokuWindow* openKiroku() {
        const QPoint at(20, 20);
        QContextMenuEvent click(QContextMenuEvent::Mouse, at, window->Label1->mapToGlobal(at));
        QApplication::sendEvent(window->Label1, &click);
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu || menu->actions().value(0)->text() != KirokuTexts::title())
            return nullptr;
        menu->actions().value(0)->trigger();
        menu->close();
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (auto* kiroku = qobject_cast<KirokuWindow*>(w); kiroku && kiroku->isVisible())
                return kiroku;
        }
        return nullptr;
    }
};

// Ctrl+C in the window, and the copied text as rows of cells.
QList<QStringList> copiedCells(KirokuWindow* kiroku) {
    QApplication::clipboard()->clear();
    QTest::keyClick(kiroku, Qt::Key_C, Qt::ControlModifier);
    QList<QStringList> cells;
    for (const QString& line :
         QApplication::clipboard()->text().split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        cells << line.split(QLatin1Char('\t'));
    return cells;
}

// The figure named in column E, from column F.
double figure(const QList<QStringList>& cells, int row) {
    return cells.value(row).value(5).toDouble();
}

} // namespace

// The きろく window on a simulated pendulum, as a teacher uses it in a lesson.
class TestKirokuWindow : public QObject {
    Q_OBJECT
private slots:
    void the_window_has_every_interval_and_copies_them() {
        TempWorkingDir dir; // no Tv.txt: no record file, and the window counts all the same
        Lesson lesson;
        lesson.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(lesson.window.get()));
        lesson.runUntil(30'000);
        KirokuWindow* kiroku = lesson.openKiroku();
        QVERIFY(kiroku);
        QVERIFY(QTest::qWaitForWindowActive(kiroku));
        QTest::keyClicks(kiroku->TextLength, QStringLiteral("1.55"));
        lesson.runUntil(60'000);

        // Every crossing from the first sample on; the one as the box was
        // switched on comes before it.
        const int passages = int(60.0 / IntervalSeconds);
        QCOMPARE(kiroku->Table->model()->rowCount(), passages);
        const QList<QStringList> cells = copiedCells(kiroku);
        QCOMPARE(cells.value(0).mid(0, 3), (QStringList{"番号", "間隔（秒）", "表示（秒）"}));
        QCOMPARE(cells.size(), 1 + passages);
        QCOMPARE(cells[1][1], QString()); // the first only starts the count
        double sum = 0;
        for (int row = 2; row <= passages; ++row) {
            QCOMPARE(cells[row][0].toInt(), row);
            const double interval = cells[row][1].toDouble();
            QVERIFY2(std::abs(interval - IntervalSeconds) <= 0.015, qPrintable(cells[row][1]));
            QVERIFY2(std::abs(cells[row][2].toDouble() - interval) <= 0.1,
                     qPrintable(cells[row][2]));
            sum += interval;
        }
        QCOMPARE(figure(cells, 0), double(passages - 1));
        const double average = figure(cells, 1);
        QVERIFY2(std::abs(average - IntervalSeconds) <= 0.003, qPrintable(cells[1][5]));
        QCOMPARE(average, std::round(sum / (passages - 1) * 1000) / 1000);
        const double period = figure(cells, 3);
        QVERIFY2(std::abs(period - 2 * average) <= 0.0015, qPrintable(cells[3][5]));
        QCOMPARE(figure(cells, 4), LengthM);
        const double g = 4 * std::numbers::pi * std::numbers::pi * LengthM / (period * period);
        QVERIFY2(std::abs(figure(cells, 5) - g) <= 0.005 + 1e-9, qPrintable(cells[5][5]));

        // 「はじめから」 for the next length: an empty series that goes on.
        kiroku->CmdRestart->click();
        QCOMPARE(kiroku->Table->model()->rowCount(), 0);
        QCOMPARE(copiedCells(kiroku).value(0).value(5), QStringLiteral("0"));
        lesson.runUntil(65'000);
        QCOMPARE(kiroku->Table->model()->rowCount(), 4);
        QCOMPARE(lesson.window->menuBar()->actions().size(), 4);
    }
};

QTEST_MAIN(TestKirokuWindow)
#include "tst_KirokuWindow.moc"
