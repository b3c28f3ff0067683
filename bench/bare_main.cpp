// The yardstick for the cost figures: a bare Qt Widgets program with a window
// of about Tolvane's size that shows a period as Tolvane does, in the same
// face at the same 64 points (the Japanese face alone is some megabytes),
// and one 10 ms precise timer, run the same way as Tolvane.
// Usage: bench_bare WARMUP SECONDS
#include "CostProbe.h"
#include "widgets/DisplayFont.h"

#include <QApplication>
#include <QLabel>
#include <QWidget>
#include <cstdlib>

namespace {

// Tolvane's window with its menu bar, its display label and the type that
// the label takes at that size.
constexpr QSize WindowSize(324, 160);
constexpr QSize LabelSize(322, 132);
constexpr int Points = 64;

} // namespace

int main(int argc, char** argv) {
    const int warmup = argc > 2 ? std::atoi(argv[1]) : 3;
    const int seconds = argc > 2 ? std::atoi(argv[2]) : 30;
    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    QWidget window;
    window.resize(WindowSize);
    QLabel label(QStringLiteral(" 1.2秒"), &window);
    label.setFont(displayFont(Points));
    label.resize(LabelSize);
    window.show();
    QTimer timer;
    timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer, &QTimer::timeout, [] {});
    timer.start(10);
    CostProbe::reportAfter(warmup, seconds);
    return app.exec();
}
