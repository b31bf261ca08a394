// Controls and lists: hit tests, tracking with live actions, drawing, selection.
#include "desktop_fixture.h"

#include "platform/quickdraw/picture.h"
#include "platform/toolbox/controls.h"
#include "platform/toolbox/lists.h"

using namespace toolbox;

namespace {

int gActions = 0;
int16_t gLastPart = 0;
void countAction(ControlHandle, int16_t part) {
    ++gActions;
    gLastPart = part;
}

// Presses at a local point of w and releases at another, through the desktop.
void pressAndRelease(WindowPtr w, qd::Point down, qd::Point up) {
    SendDesktopMouse(true, {w->contentOrigin.v + down.v, w->contentOrigin.h + down.h}, 0);
    SendDesktopMouse(false, {w->contentOrigin.v + up.v, w->contentOrigin.h + up.h}, 0);
    EventRecord e;
    GetNextEvent(mDownMask, &e);
}

}  // namespace

TEST_F(DesktopTest, ScrollBarPartsAndTracking) {
    WindowPtr w = window({100, 100, 300, 300}, documentProc);
    drain();
    // 16 wide, 116 high: arrows of 16, a track of 84 with a thumb of 16.
    ControlHandle bar =
        NewControl(w, {10, 100, 126, 116}, nullptr, true, 0, 0, 10, scrollBarProc, 0);
    ControlHandle found = nullptr;
    EXPECT_EQ(FindControl({15, 108}, w, &found), inUpButton);
    EXPECT_EQ(found, bar);
    EXPECT_EQ(FindControl({120, 108}, w, &found), inDownButton);
    EXPECT_EQ(FindControl({30, 108}, w, &found), inThumb);
    EXPECT_EQ(FindControl({80, 108}, w, &found), inPageDown);
    SetControlValue(bar, 10);
    EXPECT_EQ(FindControl({40, 108}, w, &found), inPageUp);
    SetControlValue(bar, 99);
    EXPECT_EQ(GetControlValue(bar), 10);  // kept at the maximum
    EXPECT_EQ(FindControl({60, 50}, w, &found), kControlNoPart);
    EXPECT_EQ(found, nullptr);

    // The arrow's action runs while held; released inside, the part answers.
    gActions = 0;
    pressAndRelease(w, {120, 108}, {121, 108});
    EXPECT_EQ(TrackControl(bar, {120, 108}, countAction), inDownButton);
    EXPECT_GE(gActions, 1);
    EXPECT_EQ(gLastPart, inDownButton);
    // Released outside: no part.
    pressAndRelease(w, {15, 108}, {15, 180});
    EXPECT_EQ(TrackControl(bar, {15, 108}, nullptr), kControlNoPart);

    // The thumb dragged half the track's room sets half the range.
    SetControlValue(bar, 0);
    pressAndRelease(w, {30, 108}, {64, 108});
    EXPECT_EQ(TrackControl(bar, {30, 108}, nullptr), inThumb);
    EXPECT_EQ(GetControlValue(bar), 5);

    // Inactive bars take no clicks.
    SetControlMaximum(bar, 0);
    EXPECT_EQ(FindControl({15, 108}, w, &found), kControlNoPart);
}

TEST_F(DesktopTest, ButtonsDrawTheirStateAndTrackTheirClicks) {
    WindowPtr w = window({100, 100, 300, 300}, documentProc);
    drain();
    ControlHandle box = NewControl(w, {10, 10, 30, 150},
                                   reinterpret_cast<const unsigned char*>("\x04"
                                                                          "Bold"),
                                   true, 0, 0, 1, checkBoxProc, 0);
    ControlHandle push = NewControl(w, {50, 10, 70, 90},
                                    reinterpret_cast<const unsigned char*>("\x02"
                                                                           "OK"),
                                    true, 0, 0, 1, pushButProc, 0);
    ControlHandle bevel = NewControl(w, {80, 10, 110, 90},
                                     reinterpret_cast<const unsigned char*>("\x03"
                                                                            "Pic"),
                                     true, 0, 3, 141, kControlBevelButtonSmallBevelProc, 0);
    // The box, 12 square, centred on the control's height: its centre is
    // crossed once checked.
    EXPECT_EQ(WindowPixel(w, 15, 20), 0xFFFFFFu);
    SetControlValue(box, 1);
    EXPECT_EQ(WindowPixel(w, 15, 19), 0x000000u);
    EXPECT_EQ(WindowPixel(w, 50, 70 - 1), 0x000000u);  // the push button's frame, bottom edge

    ControlHandle found = nullptr;
    EXPECT_EQ(FindControl({20, 100}, w, &found), inCheckBox);
    EXPECT_EQ(FindControl({60, 50}, w, &found), inButton);
    EXPECT_EQ(found, push);
    EXPECT_EQ(FindControl({95, 50}, w, &found), inButton);
    EXPECT_EQ(found, bevel);
    pressAndRelease(w, {60, 50}, {61, 52});
    EXPECT_EQ(TrackControl(push, {60, 50}, nullptr), inButton);
    EXPECT_EQ(push->hilite, 0);
    // A bevel button's picture, centred: a 10 x 10 black square in the 80 x 30 button.
    qd::SetPort(w->port);
    qd::Picture* square = qd::OpenPicture({0, 0, 10, 10});
    qd::PaintRect({0, 0, 10, 10});
    qd::ClosePicture();
    SetControlPicture(bevel, square);
    EXPECT_EQ(WindowPixel(w, 45, 90), 0x000000u);
    EXPECT_EQ(WindowPixel(w, 30, 90), WindowPixel(w, 20, 90));  // the face around it
    SetControlPicture(bevel, nullptr);
    qd::KillPicture(square);
    HideControl(push);
    EXPECT_EQ(FindControl({60, 50}, w, &found), kControlNoPart);
    HiliteControl(box, kControlInactivePart);
    EXPECT_EQ(FindControl({20, 100}, w, &found), kControlNoPart);
}

namespace {
int gSelections = 0, gDoubleClicks = 0;
void onSelection(ListHandle, void*) { ++gSelections; }
void onDoubleClick(ListHandle, void*) { ++gDoubleClicks; }
}  // namespace

TEST_F(DesktopTest, ListsSelectScrollAndDoubleClick) {
    WindowPtr w = window({100, 100, 300, 300}, documentProc);
    drain();
    ListHandle list = cListCreateListItem(w, {10, 10, 60, 150});  // three rows show
    cListSetHooks(list, onSelection, onDoubleClick, nullptr);
    gSelections = gDoubleClicks = 0;
    cListAddItem(list, 0, "never");  // no row 0
    for (int row = 1; row <= 5; ++row) cListAddItem(list, row, "Avery " + std::to_string(row));
    cListAddItem(list, 1, "Top");
    EXPECT_EQ(cListGetNumItems(list), 6);
    EXPECT_EQ(list->cells.front(), "Top");
    EXPECT_EQ(cListGetIndex(list), -1);

    EXPECT_EQ(cListClick(list, {11 + 16 + 5, 40}, 0), 1);
    EXPECT_EQ(gSelections, 1);
    EXPECT_EQ(WindowPixel(w, 100, 11 + 16 + 2), 0x000000u);  // the selected row is inverted
    AdvanceTicks(GetDblTime() + 1);
    EXPECT_EQ(cListClick(list, {11 + 16 + 5, 40}, 0), 1);
    EXPECT_EQ(gDoubleClicks, 0);  // too slow
    AdvanceTicks(GetDblTime() - 1);
    cListClick(list, {11 + 16 + 5, 40}, 0);
    EXPECT_EQ(gDoubleClicks, 1);

    // The scroll bar moves the rows: a click on the down arrow shows row 1 on top.
    ASSERT_NE(list->scroll, nullptr);
    EXPECT_EQ(GetControlMaximum(list->scroll), 3);
    pressAndRelease(w, {55, 140}, {55, 140});
    cListClick(list, {55, 140}, 0);
    EXPECT_EQ(GetControlValue(list->scroll), 1);
    EXPECT_EQ(cListClick(list, {11 + 5, 40}, 0), 1);  // the top row shown is row 1 now

    cListDeleteItem(list, 1);
    EXPECT_EQ(list->cells[0], "");
    EXPECT_EQ(cListGetNumItems(list), 6);
    cListDisposeList(list);
    EXPECT_TRUE(w->controls.empty());
}

namespace {
std::vector<int16_t> gThumbValues;
// Records each value; after the first the mouse goes on down and lets go.
void followThumb(ControlHandle c, int16_t) {
    gThumbValues.push_back(GetControlValue(c));
    if (gThumbValues.size() == 1) SendDesktopMouse(false, {100 + 50, 100 + 108}, 0);
}
}  // namespace

TEST_F(DesktopTest, ALiveThumbActionSeesTheValueWhileTheMouseMoves) {
    WindowPtr w = window({100, 100, 300, 300}, documentProc);
    drain();
    // 68 pixels of room for a range of 68: a pixel a step.
    ControlHandle bar =
        NewControl(w, {10, 100, 126, 116}, nullptr, true, 0, 0, 68, scrollBarProc, 0);
    gThumbValues.clear();
    SendDesktopMouse(true, {100 + 30, 100 + 108}, 0);
    EventRecord e;
    ASSERT_TRUE(GetNextEvent(mDownMask, &e));
    DesktopMouseMoved({100 + 40, 100 + 108});
    // Held with nothing queued: a real desktop's loop follows the mouse.
    SetModalGuard(false);
    EXPECT_EQ(TrackControl(bar, {30, 108}, followThumb), inThumb);
    ASSERT_EQ(gThumbValues.size(), 2u);
    EXPECT_EQ(gThumbValues[0], 10);
    EXPECT_EQ(gThumbValues[1], 20);
    EXPECT_EQ(GetControlValue(bar), 20);
}
