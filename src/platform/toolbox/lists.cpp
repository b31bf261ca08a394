#include "platform/toolbox/lists.h"

#include <algorithm>

#include "platform/toolbox/events.h"

namespace toolbox {

namespace {

constexpr int32_t kTextInset = 4;
constexpr int32_t kBaseline = 12;
constexpr int16_t kListFontSize = 12;

qd::Rect viewOf(const ListRecord& l) {
    return {l.rect.top + 1, l.rect.left + 1, l.rect.bottom - 1, l.rect.right - kScrollBarWidth};
}

int32_t visibleRows(const ListRecord& l) {
    return std::max(1, viewOf(l).height() / kListRowHeight);
}

int32_t topRow(const ListRecord& l) { return l.scroll ? GetControlValue(l.scroll) : 0; }

void syncScroll(ListRecord& l) {
    if (!l.scroll) return;
    SetControlMaximum(l.scroll, std::max(0, int32_t(l.cells.size()) - visibleRows(l)));
}

// The scroll bar's arrows move a row, its pages a screen.
void scrollAction(ControlHandle c, int16_t part) {
    const int32_t page = std::max(1, (c->rect.height() - 2 * kScrollBarWidth) / kListRowHeight);
    const int32_t step = part == inUpButton     ? -1
                         : part == inDownButton ? 1
                         : part == inPageUp     ? -page
                         : part == inPageDown   ? page
                                                : 0;
    SetControlValue(c, GetControlValue(c) + step);
}

}  // namespace

ListHandle cListCreateListItem(WindowPtr window, const qd::Rect& rect) {
    if (!window) return nullptr;
    auto* l = new ListRecord;
    l->owner = window;
    l->rect = rect;
    const qd::Rect bar{rect.top, rect.right - kScrollBarWidth, rect.bottom, rect.right};
    l->scroll = NewControl(window, bar, nullptr, true, 0, 0, 0, scrollBarProc, 0);
    cListDraw(l);
    return l;
}

void cListAddItem(ListHandle list, int32_t row, const std::string& text) {
    if (!list || row < 1) return;
    const size_t at = std::min<size_t>(size_t(row - 1), list->cells.size());
    list->cells.insert(list->cells.begin() + long(at), text);
    if (list->selected >= int32_t(at)) ++list->selected;
    syncScroll(*list);
    cListDraw(list);
}

void cListDeleteItem(ListHandle list, int32_t row) {
    if (!list || row < 1 || row > int32_t(list->cells.size())) return;
    list->cells[size_t(row - 1)].clear();
    cListDraw(list);
}

int32_t cListGetIndex(ListHandle list) { return list ? list->selected : -1; }

int32_t cListGetNumItems(ListHandle list) { return list ? int32_t(list->cells.size()) : 0; }

void cListSelect(ListHandle list, int32_t index) {
    if (!list) return;
    list->selected = index >= 0 && index < int32_t(list->cells.size()) ? index : -1;
    cListDraw(list);
}

int32_t cListClick(ListHandle list, qd::Point local, uint16_t) {
    if (!list) return -1;
    ControlHandle hit = nullptr;
    if (list->scroll && TestControl(list->scroll, local)) {
        hit = list->scroll;
        TrackControl(hit, local, scrollAction);
        cListDraw(list);
        return list->selected;
    }
    const qd::Rect view = viewOf(*list);
    if (local.h < view.left || local.h >= view.right || local.v < view.top ||
        local.v >= view.bottom)
        return list->selected;
    const int32_t row = topRow(*list) + (local.v - view.top) / kListRowHeight;
    const uint32_t now = TickCount();
    if (row >= int32_t(list->cells.size())) return list->selected;
    const bool twice = row == list->lastClickRow && now - list->lastClickTick <= GetDblTime();
    list->lastClickRow = twice ? -1 : row;
    list->lastClickTick = now;
    if (row != list->selected) {
        list->selected = row;
        cListDraw(list);
        if (list->onSelection) list->onSelection(list, list->hookData);
    }
    if (twice && list->onDoubleClick) list->onDoubleClick(list, list->hookData);
    return list->selected;
}

void cListSetHooks(ListHandle list, ListHook onSelection, ListHook onDoubleClick, void* data) {
    if (!list) return;
    list->onSelection = onSelection;
    list->onDoubleClick = onDoubleClick;
    list->hookData = data;
}

void cListDraw(ListHandle list) {
    if (!list || !list->owner) return;
    qd::GrafPort* was = qd::GetPort();
    qd::SetPort(list->owner->port);
    qd::PenNormal();
    const qd::Rect frame{list->rect.top, list->rect.left, list->rect.bottom,
                         list->rect.right - kScrollBarWidth + 1};
    qd::FrameRect(frame);
    const qd::Rect view = viewOf(*list);
    qd::EraseRect(view);
    qd::TextFont(0);
    qd::TextFace(0);
    qd::TextSize(kListFontSize);
    const int32_t first = topRow(*list);
    for (int32_t r = first; r < int32_t(list->cells.size()) && r < first + visibleRows(*list);
         ++r) {
        const int32_t top = view.top + (r - first) * kListRowHeight;
        const std::string& text = list->cells[size_t(r)];
        qd::MoveTo(view.left + kTextInset, top + kBaseline);
        qd::DrawText(text.data(), 0, int32_t(text.size()));
        if (r == list->selected && list->active)
            qd::InvertRect(
                {top, view.left, std::min(top + kListRowHeight, view.bottom), view.right});
    }
    qd::SetPort(was);
    if (list->scroll) Draw1Control(list->scroll);
}

void cListDisposeList(ListHandle list) {
    if (!list) return;
    DisposeControl(list->scroll);
    delete list;
}

}  // namespace toolbox
