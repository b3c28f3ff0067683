#pragma once

#include <QString>
#include <QStringList>
#include <variant>

// The programs' command lines: --help and --version as any Linux program has
// them, tolvane's --port for a box on a port of one's own, tolvane-demo's
// --report-after for scripts. Without arguments both programs start as
// always. Read before Qt's windowing starts, so that printing needs no
// display.
namespace CommandLine {

enum class Program { Tolvane, Demo };

enum ExitCode {
    Done = 0,
    BadUsage = 2,
};

// What the program starts with.
struct StartOptions {
    QString port;               // --port DEVICE; empty: COM n from Tv.txt
    int reportAfterSeconds = 0; // --report-after SECONDS; 0: never
};

// What the program prints instead of starting, and its exit status: to
// standard output when the status is Done, else to standard error.
struct Answer {
    int exitStatus = Done;
    QString text;
};

// The arguments come without the program's name.
std::variant<StartOptions, Answer> read(Program program, const QStringList& arguments);

QString usage(Program program);

// argv without the program's name, as text.
QStringList argumentsOf(int argc, char** argv);

// Prints the answer where it belongs and returns its exit status.
int print(const Answer& answer);

} // namespace CommandLine
