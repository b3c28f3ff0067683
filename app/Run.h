#pragma once

#include <memory>

class SerialLink;

// Starts the measuring window on the given serial port and runs until the
// user quits. Shared by tolvane and tolvane-demo.
int runTolvane(int& argc, char** argv, std::unique_ptr<SerialLink> (*makePort)());
