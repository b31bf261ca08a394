// List boxes: one column of texts in a window, a vertical scroll bar at the
// right, one selected row, double-clicks.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/quickdraw/quickdraw.h"
#include "platform/toolbox/controls.h"
#include "platform/toolbox/windows.h"

namespace toolbox {

inline constexpr int32_t kListRowHeight = 16;

struct ListRecord;
using ListHandle = ListRecord*;
// What the list's owner does when the selection changes or a row is double-clicked.
using ListHook = void (*)(ListHandle list, void* data);

struct ListRecord {
    WindowPtr owner = nullptr;
    qd::Rect rect;                   // the whole box, scroll bar included
    std::vector<std::string> cells;  // Mac OS Roman, a row each
    int32_t selected = -1;           // row index from 0, or -1
    bool active = true;
    ControlHandle scroll = nullptr;
    int32_t lastClickRow = -1;
    uint32_t lastClickTick = 0;
    ListHook onSelection = nullptr;
    ListHook onDoubleClick = nullptr;
    void* hookData = nullptr;
};

// An empty list over rect of window, drawn and active.
ListHandle cListCreateListItem(WindowPtr window, const qd::Rect& rect);
// Inserts a row before row number `row` (from 1; after the last when beyond it)
// holding text. Row numbers below 1 add nothing.
void cListAddItem(ListHandle list, int32_t row, const std::string& text);
// Empties the text of row number `row` (the row stays).
void cListDeleteItem(ListHandle list, int32_t row);
// The selected row's index (from 0), or -1.
int32_t cListGetIndex(ListHandle list);
int32_t cListGetNumItems(ListHandle list);
void cListSelect(ListHandle list, int32_t index);
// A click at a local point: selects the row under it (the scroll bar scrolls),
// runs the hooks, and answers the selected index.
int32_t cListClick(ListHandle list, qd::Point local, uint16_t modifiers);
void cListSetHooks(ListHandle list, ListHook onSelection, ListHook onDoubleClick, void* data);
void cListDraw(ListHandle list);
void cListDisposeList(ListHandle list);

}  // namespace toolbox
