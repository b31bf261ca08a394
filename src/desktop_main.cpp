// strixel-desktop: the program with its windows. For now it shows the menu bar
// with File > Quit and the main window, runs the event loop, and ends on Quit
// (the menu or Ctrl-Q).
#include <cstdio>

#include "app/desktop/eventLoop.h"
#include "app/shell.h"

#include "platform/toolbox/dialogs.h"
#include "platform/toolbox/events.h"
#include "platform/toolbox/menus.h"
#include "platform/toolbox/windows.h"

namespace {

constexpr int16_t kFileMenu = 129;
constexpr int16_t kQuitItem = 1;
constexpr qd::Rect kMainWindow{50, 10, 450, 610};

// Draws the main window's content.
void drawMain(toolbox::WindowPtr w) {
    qd::GrafPort* was = qd::GetPort();
    qd::SetPort(w->port);
    toolbox::BeginUpdate(w);
    qd::EraseRect(w->portRect);
    toolbox::EndUpdate(w);
    qd::SetPort(was);
}

bool quitChosen(int32_t choice) {
    return (choice >> 16) == kFileMenu && (choice & 0xFFFF) == kQuitItem;
}

}  // namespace

int main(int argc, char** argv) {
    toolbox::StartToolbox(&argc, argv);
    toolbox::MenuHandle file = toolbox::GetMenu(kFileMenu);
    if (!file) {
        std::fprintf(stderr, "strixel-desktop: the File menu is missing from the resources\n");
        return 1;
    }
    toolbox::InsertMenu(file, 0);
    toolbox::DrawMenuBar();
    static const unsigned char kTitle[] = "\x08Strixel";
    toolbox::WindowPtr main = toolbox::NewCWindow(nullptr, kMainWindow, kTitle, true,
                                                  toolbox::documentProc, nullptr, false, 0);
    gWindows.wp = main;
    gWindows.activeWindow = main;
    gWindows.lastFloatingWindow = main;
    SelectWindowF(main);

    setLoopHandler("DoCommand", [](WindowPtr, int32_t choice) {
        if (quitChosen(choice)) requestQuit();
        toolbox::HiliteMenu(0);
        return 0;
    });
    setLoopHandler("doCmdKey", [](WindowPtr, int32_t ch) {
        const int32_t choice = toolbox::MenuKey(static_cast<unsigned char>(ch));
        if (quitChosen(choice)) requestQuit();
        toolbox::HiliteMenu(0);
        return choice != 0 ? 1 : 0;
    });
    setLoopHandler("doUpdate", [](WindowPtr w, int32_t) {
        drawMain(w);
        return 0;
    });
    MainEvent();
    return 0;
}
