// strixel-desktop: the program with its windows. Starts the desktop, runs the
// start-up steps, the event loop until a quit, and the shut-down.
#include <cstdio>
#include <exception>
#include <optional>

#include "app/desktop/outsideInterface.h"
#include "app/desktop/startup.h"
#include "app/desktop/wiring.h"
#include "platform/standardFiles.h"
#include "platform/tempfiles.h"
#include "platform/toolbox/dialogs.h"

int main(int argc, char** argv) {
    platform::takeClosedStandardDescriptors();
    // Documents and requests go to the copy already running, when there is one;
    // this needs no display.
    if (const std::optional<int> status = handOffToRunningCopy(argc, argv)) return *status;
    platform::keepWritingPastFileSizeLimit();
    try {
        toolbox::StartToolbox(&argc, argv);
        wireDesktop(argc, argv);
        const int status = runProgram();
        closeOutsideInterface();
        return status;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "strixel-desktop: %s\n", e.what());
        // The windows go while the window system is still there, as at a quit;
        // left to the exit's own clean-up they outlive it.
        try {
            CleanUpApp();
        } catch (const std::exception& again) {
            std::fprintf(stderr, "strixel-desktop: %s\n", again.what());
        }
        closeOutsideInterface();
        return 1;
    }
}
