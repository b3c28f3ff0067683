#pragma once

#include "link/ComPortName.h"
#include "link/PortSearch.h"
#include "link/SerialLink.h"

#include <QString>
#include <QStringList>
#include <QTextStream>
#include <functional>
#include <memory>
#include <variant>

// perix-io: opens a port, checks that a Perix box answers there and runs one
// of the box routines, for a teacher or technician checking a box. All but
// main() lives here so that tests can run it in-process.
namespace PerixIoTool {

enum ExitCode {
    Done = 0,
    NoAnswer = 1,
    BadUsage = 2,
    NoSuchPort = 3,
    PortBusy = 4,
    CannotOpen = 5,
};

struct Command {
    enum class Action { Read, Write, Bit, Set };
    QString port;   // as given: "1".."4" or a device name
    QString device; // the device to open
    Action action = Action::Read;
    int number = 0; // channel 1..3 or bit 0..7
    int value = 0;  // 0..255 to write, or 1/0 for on/off
};

// The command, or what is wrong with the arguments. `namer` turns a port
// number into its device.
std::variant<Command, QString> parse(const QStringList& args,
                                     const ComPortNamer& namer = comPortDeviceName);

QString usage();

// Makes the link for a device name; tests put in their own.
using LinkMaker = std::function<std::unique_ptr<SerialLink>(const QString& device)>;
std::unique_ptr<SerialLink> realLink(const QString& device);

// Runs the tool on its arguments (without the program name) and returns the
// exit status. Results go to out, failures to err. `find` probes those of the
// ports `present` lists that the measuring program's search probes first.
int run(const QStringList& args, QTextStream& out, QTextStream& err,
        const LinkMaker& makeLink = realLink, const ComPortNamer& namer = comPortDeviceName,
        const PortSearch::PresentPorts& present = PortSearch::serialPortsPresent);

} // namespace PerixIoTool
