#include "app/desktop/wiring.h"

#include "app/desktop/commands.h"
#include "app/desktop/startup.h"

// The shell first: a window's installer may take over one of its steps.
void wireDesktop() {
    installStartup();
    installCommands();
}
