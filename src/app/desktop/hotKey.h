// The hot key that brings the program forward, and switching between programs,
// as far as the desktop allows.
//
// A desktop program gets no key of its own while another program is in front
// (Wayland has no such keys, and taking one from the X server would take it
// from every other program), so no hot key is registered: SetHotKey keeps the
// key that its text names and answers that it could not register it. The
// desktop decides which program is in front; this program can only raise its
// own windows, never another program's (the output's SwitchBack is
// platform::SwitchBack).
#pragma once

#include <cstdint>
#include <string>

// What SetHotKey answers: the desktop took no hot key (the toolbox's "event
// not handled").
constexpr int32_t kHotKeyNotRegistered = -9878;
constexpr int32_t kHotKeyModifiers = 0x1000;  // Control

struct HotKeyState {
    int32_t keyCode = 0;  // the virtual key code the text named (F5 96 by default)
    int32_t modifiers = kHotKeyModifiers;
    bool handlerInstalled = false;
    bool registered = false;  // never on this desktop
    int64_t gPSN = 0;         // this program's process, once GetStrixelProcess ran
};
extern HotKeyState gHotKey;
void resetHotKey();

void installEventHandler();
// The key's press: SwitchToStrixel; 0, handled.
int32_t HotKeyEventHandler();
// "F1" to "F15" or one character; any other text keeps F5.
int32_t SetHotKey(const std::string& text);
void UnregisterHotKey();

// Brings the program's windows to the front; a beep when it is in front already.
void SwitchToStrixel();
void GetStrixelProcess();
// Brings the program with that name (a Pascal string) to the front: only this
// program ("Strixel" or "strixel-desktop") can be; any other name does nothing.
void SwitchToApp(const unsigned char* name);
