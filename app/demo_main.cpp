#include "Run.h"
#include "sim/SimulatedPort.h"

// The program with a simulated box and pendulum on its serial port, for
// trying it out without the hardware.
int main(int argc, char** argv) {
    return runTolvane(argc, argv, []() -> std::unique_ptr<SerialLink> {
        return std::make_unique<SimulatedPort>();
    });
}
