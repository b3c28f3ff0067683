#include "CommandLine.h"
#include "DemoReport.h"
#include "MainWindow.h"
#include "Run.h"
#include "sim/SimulatedPort.h"

// The program with a simulated box and pendulum on its serial port, for
// trying it out without the hardware.
int main(int argc, char** argv) {
    const auto request =
        CommandLine::read(CommandLine::Program::Demo, CommandLine::argumentsOf(argc, argv));
    if (const auto* answer = std::get_if<CommandLine::Answer>(&request))
        return CommandLine::print(*answer);
    const int seconds = std::get<CommandLine::StartOptions>(request).reportAfterSeconds;
    const auto makePort = []() -> std::unique_ptr<SerialLink> {
        return std::make_unique<SimulatedPort>();
    };
    if (seconds == 0)
        return runTolvane(argc, argv, makePort);
    return runTolvane(argc, argv, makePort,
                      [seconds](MainWindow& window) { reportAfter(window, seconds); });
}
