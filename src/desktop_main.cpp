// strixel-desktop: the program with its windows. Starts the desktop, runs the
// start-up steps, the event loop until a quit, and the shut-down.
#include <cstdio>
#include <exception>

#include "app/desktop/startup.h"
#include "app/desktop/wiring.h"
#include "platform/toolbox/dialogs.h"

int main(int argc, char** argv) {
    try {
        toolbox::StartToolbox(&argc, argv);
        wireDesktop();
        return runProgram();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "strixel-desktop: %s\n", e.what());
        return 1;
    }
}
