#include "app/desktop/hotKey.h"

#include <unistd.h>

#include <cstring>

#include "app/desktop/eventLoop.h"
#include "app/shell.h"
#include "platform/toolbox/dialogs.h"
#include "platform/toolbox/events.h"

HotKeyState gHotKey;

namespace {

constexpr int16_t kBeepTicks = 6;
constexpr const char* kOwnNames[] = {"Strixel", "strixel-desktop"};

// The desktop's suspend and resume events tell the loop whether the program is
// in front.
bool inFront() { return gLoop.gactive != 1; }

}  // namespace

void resetHotKey() { gHotKey = HotKeyState{}; }

void installEventHandler() { gHotKey.handlerInstalled = true; }

int32_t HotKeyEventHandler() {
    SwitchToStrixel();
    return 0;
}

int32_t SetHotKey(const std::string& text) {
    if (gHotKey.registered) UnregisterHotKey();
    gHotKey.modifiers = kHotKeyModifiers;
    gHotKey.keyCode = hotKeyCode(text);
    return kHotKeyNotRegistered;
}

void UnregisterHotKey() { gHotKey.registered = false; }

void SwitchToStrixel() {
    if (inFront()) {
        toolbox::SysBeep(kBeepTicks);
        return;
    }
    toolbox::BringProgramToFront();
}

void GetStrixelProcess() { gHotKey.gPSN = ::getpid(); }

void SwitchToApp(const unsigned char* name) {
    if (!name) return;
    for (const char* own : kOwnNames)
        if (name[0] == std::strlen(own) && std::memcmp(name + 1, own, name[0]) == 0) {
            toolbox::BringProgramToFront();
            return;
        }
}
