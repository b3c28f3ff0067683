// The yardstick for the cost figures: a bare Qt Widgets program with an empty
// window and one 10 ms precise timer, run the same way as Tolvane.
// Usage: bench_bare WARMUP SECONDS
#include "CostProbe.h"

#include <QApplication>
#include <QWidget>
#include <cstdlib>

int main(int argc, char** argv) {
    const int warmup = argc > 2 ? std::atoi(argv[1]) : 3;
    const int seconds = argc > 2 ? std::atoi(argv[2]) : 30;
    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    QWidget window;
    window.resize(324, 160); // about Tolvane's window, so both paint as much
    window.show();
    QTimer timer;
    timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer, &QTimer::timeout, [] {});
    timer.start(10);
    CostProbe::reportAfter(warmup, seconds);
    return app.exec();
}
