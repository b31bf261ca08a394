// strixel-desktop: the program with its windows. For now it shows the menu bar
// with File > Quit and the main window, and ends on Quit (the menu or Ctrl-Q).
#include <cstdio>

#include "platform/toolbox/dialogs.h"
#include "platform/toolbox/events.h"
#include "platform/toolbox/menus.h"
#include "platform/toolbox/windows.h"

namespace {

constexpr int16_t kFileMenu = 129;
constexpr int16_t kQuitItem = 1;
constexpr qd::Rect kMainWindow{50, 10, 450, 610};
constexpr uint32_t kSleepTicks = 30;

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
    toolbox::SelectWindow(main);

    for (;;) {
        toolbox::EventRecord e;
        if (!toolbox::WaitNextEvent(toolbox::everyEvent, &e, kSleepTicks)) continue;
        switch (e.what) {
            case toolbox::mouseDown: {
                toolbox::WindowPtr w = nullptr;
                const int16_t part = toolbox::FindWindow(e.where, &w);
                if (part == toolbox::inMenuBar && quitChosen(toolbox::MenuSelect(e.where)))
                    return 0;
                toolbox::HiliteMenu(0);
                if (part == toolbox::inContent && w && w != toolbox::FrontWindow())
                    toolbox::SelectWindow(w);
                break;
            }
            case toolbox::keyDown:
            case toolbox::autoKey:
                if ((e.modifiers & toolbox::cmdKey) &&
                    quitChosen(toolbox::MenuKey(
                        static_cast<unsigned char>(e.message & toolbox::charCodeMask))))
                    return 0;
                break;
            case toolbox::updateEvt:
                if (toolbox::WindowPtr w = toolbox::EventWindow(e)) drawMain(w);
                break;
            default:
                break;
        }
    }
}
