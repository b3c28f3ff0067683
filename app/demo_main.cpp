#include "DemoReport.h"
#include "MainWindow.h"
#include "Run.h"
#include "sim/SimulatedPort.h"

#include <cstdio>

// The program with a simulated box and pendulum on its serial port, for
// trying it out without the hardware.
int main(int argc, char** argv) {
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const std::optional<int> seconds = demoReportSeconds(arguments);
    if (!seconds) {
        std::fputs("usage: tolvane-demo [--report-after SECONDS]\n", stderr);
        return 2;
    }
    const auto makePort = []() -> std::unique_ptr<SerialLink> {
        return std::make_unique<SimulatedPort>();
    };
    if (*seconds == 0)
        return runTolvane(argc, argv, makePort);
    return runTolvane(argc, argv, makePort,
                      [s = *seconds](MainWindow& window) { reportAfter(window, s); });
}
