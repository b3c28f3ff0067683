#include "CommandLine.h"
#include "Run.h"
#include "link/QtSerialLink.h"

int main(int argc, char** argv) {
    const auto request =
        CommandLine::read(CommandLine::Program::Tolvane, CommandLine::argumentsOf(argc, argv));
    if (const auto* answer = std::get_if<CommandLine::Answer>(&request))
        return CommandLine::print(*answer);
    // --port DEVICE stands for whichever COM n Tv.txt names, at every opening.
    const QString port = std::get<CommandLine::StartOptions>(request).port;
    const ComPortNamer namer =
        port.isEmpty() ? ComPortNamer(comPortDeviceName) : [port](int) { return port; };
    return runTolvane(argc, argv, [namer]() -> std::unique_ptr<SerialLink> {
        // When the box does not answer there, it is looked for on every port present.
        return std::make_unique<QtSerialLink>(namer, PortSearch::serialPortsPresent);
    });
}
