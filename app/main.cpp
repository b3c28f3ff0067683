#include "CommandLine.h"
#include "Run.h"
#include "link/QtSerialLink.h"

int main(int argc, char** argv) {
    const auto request =
        CommandLine::read(CommandLine::Program::Tolvane, CommandLine::argumentsOf(argc, argv));
    if (const auto* answer = std::get_if<CommandLine::Answer>(&request))
        return CommandLine::print(*answer);
    // --port DEVICE stands for whichever COM n Tv.txt names, at every opening,
    // and the box is looked for there only. Without it, a box that does not
    // answer on COM n is looked for on every serial port present.
    const QString port = std::get<CommandLine::StartOptions>(request).port;
    const ComPortNamer namer =
        port.isEmpty() ? ComPortNamer(comPortDeviceName) : [port](int) { return port; };
    const PortSearch::PresentPorts present =
        port.isEmpty() ? PortSearch::PresentPorts(PortSearch::serialPortsPresent)
                       : PortSearch::noOtherPorts;
    return runTolvane(argc, argv, [namer, present]() -> std::unique_ptr<SerialLink> {
        return std::make_unique<QtSerialLink>(namer, present);
    });
}
