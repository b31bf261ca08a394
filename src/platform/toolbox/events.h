// The event queue: what the desktop reports (mouse, keys, window changes, focus)
// becomes event records, read by WaitNextEvent and GetNextEvent.
//
// Key events carry the Mac OS Roman character in the low byte of message and a
// key code above it; a typed character that Mac OS Roman lacks beeps and is
// dropped. Modifiers: Ctrl plays Command, Alt plays Option, the Super/Meta key
// plays Control. Update events come only when nothing else waits; activate
// events before anything else.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

#include "platform/quickdraw/quickdraw.h"

namespace toolbox {

struct WindowRecord;

enum EventKind : int16_t {
    nullEvent = 0,
    mouseDown = 1,
    mouseUp = 2,
    keyDown = 3,
    keyUp = 4,
    autoKey = 5,
    updateEvt = 6,
    activateEvt = 8,
    osEvt = 15,
    kHighLevelEvent = 23,
};

enum EventMask : uint16_t {
    mDownMask = 1 << mouseDown,
    mUpMask = 1 << mouseUp,
    keyDownMask = 1 << keyDown,
    keyUpMask = 1 << keyUp,
    autoKeyMask = 1 << autoKey,
    updateMask = 1 << updateEvt,
    activMask = 1 << activateEvt,
    osMask = 1u << osEvt,
    everyEvent = 0xFFFF,
};
// High-level events are asked for by kind, not by a mask bit.
inline constexpr uint32_t highLevelEventMask = 0x0400;

enum EventModifiers : uint16_t {
    activeFlag = 0x0001,  // an activate (not a deactivate)
    btnState = 0x0080,    // set while the mouse button is up
    cmdKey = 0x0100,
    shiftKey = 0x0200,
    alphaLock = 0x0400,
    optionKey = 0x0800,
    controlKey = 0x1000,
};

inline constexpr uint32_t charCodeMask = 0x000000FF;
inline constexpr uint32_t keyCodeMask = 0x0000FF00;
// osEvt: the message's top byte says suspend or resume, bit 0 which.
inline constexpr uint32_t suspendResumeMessage = 0x01;
inline constexpr uint32_t resumeFlag = 1;

struct EventRecord {
    int16_t what = nullEvent;
    uint32_t message = 0;  // a window id (see EventWindow), a key, or a high-level class
    uint32_t when = 0;     // ticks
    qd::Point where;       // global; a high-level event's id
    uint16_t modifiers = 0;
};

// The window an update or activate event names (null once it is disposed).
WindowRecord* EventWindow(const EventRecord& e);

// Runs the desktop until an event of the mask waits or sleep ticks pass; false
// (a null event) when none came.
bool WaitNextEvent(uint16_t mask, EventRecord* event, uint32_t sleep);
// Takes the next waiting event of the mask without waiting.
bool GetNextEvent(uint16_t mask, EventRecord* event);
// True when an event of the mask waits (it stays queued).
bool EventAvail(uint16_t mask, EventRecord* event);
// Drops waiting events of the mask up to the first of stopMask.
void FlushEvents(uint16_t mask, uint16_t stopMask);

// Puts an event at the end of the queue (the desktop's side and tests).
void PostEvent(const EventRecord& e);
// A high-level event: its class and id, and the data the handler reads.
void PostHighLevelEvent(uint32_t eventClass, uint32_t eventID, const std::string& data);
// The data of the last high-level event taken from the queue.
const std::string& HighLevelEventData();

// 60 ticks a second since start-up, or the tests' clock once SetTickClock set it.
uint32_t TickCount();
void SetTickClock(bool manual, uint32_t ticks = 0);
void AdvanceTicks(uint32_t ticks);
// Waits `ticks` (on the tests' clock: moves it on) and answers the tick count after.
void Delay(uint32_t ticks, uint32_t* finalTicks);
// Ticks between two clicks that make a double-click.
uint32_t GetDblTime();

// The mouse button and position as the queue has seen them.
bool Button();
// True while the button stays down since the last mouse-down taken.
bool StillDown();
// The mouse in the current port's window coordinates.
void GetMouse(qd::Point* pt);
// The mouse in global coordinates.
qd::Point MouseGlobal();

// A modal loop that must not wait for nobody. In tests (Qt's offscreen platform,
// or once SetModalGuard is on) a loop that finds no event fails at once with
// ModalStall, naming its window; on a real desktop it waits.
struct ModalStall : std::runtime_error {
    using std::runtime_error::runtime_error;
};
void SetModalGuard(bool on);
bool ModalGuard();
// The next event of the mask for a modal loop in the window named `who`.
void ModalNextEvent(const std::string& who, uint16_t mask, EventRecord* event, uint32_t sleep = 2);

// The system beep; counted so tests can see it.
void SysBeep(int16_t duration);
int32_t BeepCount();

// Cursors.
enum CursorKind : int16_t { arrowCursor = 0, iBeamCursor = 1, crossCursor = 2, handCursor = 3 };
void SetCursor(int16_t kind);
void InitCursor();
int16_t CurrentCursor();

// Forgets every waiting event, the mouse, the beeps and the clock (tests).
void resetEvents();

}  // namespace toolbox
