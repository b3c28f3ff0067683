#pragma once

#include <functional>
#include <memory>

class MainWindow;
class SerialLink;

// Starts the measuring window on the given serial port and runs until the
// user quits. Shared by tolvane and tolvane-demo, after they have read their
// command lines; `shown`, when given, is called once the window is up.
int runTolvane(int& argc, char** argv, const std::function<std::unique_ptr<SerialLink>()>& makePort,
               const std::function<void(MainWindow&)>& shown = {});
