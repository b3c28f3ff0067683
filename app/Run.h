#pragma once

#include <functional>
#include <memory>

class MainWindow;
class SerialLink;

// Starts the measuring window, with the line to the box on a thread of its
// own, and runs until the user quits. `makePort` is called on the line's
// thread. Shared by tolvane and tolvane-demo, after they have read their
// command lines; `shown`, when given, is called once the window is up.
int runTolvane(int& argc, char** argv, std::function<std::unique_ptr<SerialLink>()> makePort,
               const std::function<void(MainWindow&)>& shown = {});
