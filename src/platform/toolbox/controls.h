// Controls drawn in the classic style through the window's port: push buttons,
// check boxes, bevel buttons and scroll bars, with their hit tests and tracking.
#pragma once

#include <cstdint>
#include <string>

#include "platform/quickdraw/quickdraw.h"
#include "platform/toolbox/windows.h"

namespace toolbox {

enum ControlKind : int16_t {
    pushButProc = 0,
    checkBoxProc = 1,
    radioButProc = 2,
    scrollBarProc = 16,
    kControlBevelButtonSmallBevelProc = 32,
};

enum ControlPart : int16_t {
    kControlNoPart = 0,
    inButton = 10,
    inCheckBox = 11,
    inUpButton = 20,
    inDownButton = 21,
    inPageUp = 22,
    inPageDown = 23,
    inThumb = 129,
};
// HiliteControl's 255: the control is inactive and takes no clicks.
inline constexpr int16_t kControlInactivePart = 255;
inline constexpr int32_t kScrollBarWidth = 16;

struct ControlRecord;
using ControlHandle = ControlRecord*;
// Called while the mouse is held in a part (scroll arrows and pages), and
// while the thumb is dragged with the value it stands for.
using ControlActionProc = void (*)(ControlHandle control, int16_t part);

struct ControlRecord {
    WindowPtr owner = nullptr;
    qd::Rect rect;  // local to the owner
    int16_t procID = pushButProc;
    int16_t value = 0, min = 0, max = 0;
    std::string title;  // Mac OS Roman
    bool visible = true;
    int16_t hilite = 0;  // the part hilited, or 255 inactive
    int32_t refCon = 0;
    const qd::Picture* picture = nullptr;  // a bevel button's content, the caller's
};

ControlHandle NewControl(WindowPtr owner, const qd::Rect& bounds, const unsigned char* title,
                         bool visible, int16_t value, int16_t min, int16_t max, int16_t procID,
                         int32_t refCon);
void DisposeControl(ControlHandle c);
void KillControls(WindowPtr w);
void ShowControl(ControlHandle c);
void HideControl(ControlHandle c);
void Draw1Control(ControlHandle c);
void DrawControls(WindowPtr w);
void HiliteControl(ControlHandle c, int16_t part);
void SetControlValue(ControlHandle c, int32_t value);  // kept within min and max
int16_t GetControlValue(ControlHandle c);
void SetControlMinimum(ControlHandle c, int32_t min);
int16_t GetControlMinimum(ControlHandle c);
void SetControlMaximum(ControlHandle c, int32_t max);
int16_t GetControlMaximum(ControlHandle c);
void MoveControl(ControlHandle c, int32_t h, int32_t v);
void SizeControl(ControlHandle c, int32_t width, int32_t height);
void SetControlTitle(ControlHandle c, const unsigned char* title);
void GetControlTitle(ControlHandle c, unsigned char* title);
// A bevel button shows the picture, centred, in place of its title.
void SetControlPicture(ControlHandle c, const qd::Picture* picture);
void SetControlReference(ControlHandle c, int32_t refCon);
int32_t GetControlReference(ControlHandle c);

// The part of a control at a local point, or 0.
int16_t TestControl(ControlHandle c, qd::Point local);
// The visible, active control at a local point of w and its part, or 0.
int16_t FindControl(qd::Point local, WindowPtr w, ControlHandle* control);
// Follows the mouse from start (local) until the button comes up; the part it
// came up in, or 0 when it left the part. action runs while it is held.
int16_t TrackControl(ControlHandle c, qd::Point start, ControlActionProc action);

}  // namespace toolbox
