#include "Run.h"
#include "link/QtSerialLink.h"

int main(int argc, char** argv) {
    return runTolvane(argc, argv, []() -> std::unique_ptr<SerialLink> {
        return std::make_unique<QtSerialLink>();
    });
}
