#include "platform/toolbox/windows.h"

#include <algorithm>
#include <map>

#include "platform/macroman.h"
#include "platform/toolbox/controls.h"
#include "platform/toolbox/events.h"
#include "platform/toolbox/internal.h"
#include "platform/toolbox/qt_glue.h"
#include "platform/toolbox/surface.h"

namespace toolbox {

namespace {

struct WindowExtra {
    Surface surface;
    bool closeRequested = false;
    qd::ClipState savedClip;
    bool updating = false;
};

std::vector<WindowPtr> gWindows;  // front to back, floating ones first
std::map<WindowPtr, WindowExtra> gExtra;
WindowPtr gActive = nullptr;
uint32_t gLastID = 0;

bool contains(const qd::Rect& r, qd::Point p) {
    return p.h >= r.left && p.h < r.right && p.v >= r.top && p.v < r.bottom;
}

std::string titleOf(const unsigned char* pascal) {
    if (!pascal) return {};
    return std::string(reinterpret_cast<const char*>(pascal + 1), pascal[0]);
}

SurfaceSpec specOf(WindowPtr w) {
    SurfaceSpec s;
    s.owner = w;
    s.managed = w->procID == documentProc || w->procID == noGrowDocProc;
    s.frame = w->procID == dBoxProc    ? FrameKind::modal
              : w->procID == plainDBox ? FrameKind::dragBar
                                       : FrameKind::none;
    s.floating = w->floating();
    s.title = platform::macRomanToUtf8(w->title);
    s.image = gExtra[w].surface.image;
    s.contentOrigin = w->contentOrigin;
    s.width = w->portRect.width();
    s.height = w->portRect.height();
    s.hilited = w->hilited;
    return s;
}

void refreshNative(WindowPtr w) { UpdateNative(w->native, specOf(w)); }

// Where w goes in the list: the front of its layer.
size_t frontOfLayer(WindowPtr w) {
    if (w->floating()) return 0;
    size_t i = 0;
    while (i < gWindows.size() && gWindows[i]->floating()) ++i;
    return i;
}

void restackNatives() {
    for (auto it = gWindows.rbegin(); it != gWindows.rend(); ++it) RaiseNative((*it)->native);
}

// The front document window is the active one: when it changes, the old one
// is deactivated and the new one activated.
void followActive() {
    WindowPtr now = FrontNonFloatingWindow();
    if (now == gActive) return;
    if (gActive) {
        gActive->hilited = false;
        refreshNative(gActive);
        PostActivate(gActive, false);
    }
    gActive = now;
    if (now) {
        now->hilited = true;
        refreshNative(now);
        PostActivate(now, true);
    }
}

qd::Rect offset(const qd::Rect& r, qd::Point by) {
    return {r.top + by.v, r.left + by.h, r.bottom + by.v, r.right + by.h};
}

WindowPtr windowOfCurrentPort() { return GetWindowFromPort(qd::GetPort()); }

}  // namespace

WindowPtr NewCWindow(void*, const qd::Rect& boundsRect, const unsigned char* title, bool visible,
                     int16_t procID, WindowPtr, bool goAwayFlag, int32_t refCon) {
    auto* w = new WindowRecord;
    w->id = ++gLastID;
    w->procID = procID;
    w->refCon = refCon;
    w->goAwayFlag = goAwayFlag;
    w->title = titleOf(title);
    w->portRect = {0, 0, std::max(1, boundsRect.height()), std::max(1, boundsRect.width())};
    w->contentOrigin = {boundsRect.top, boundsRect.left};
    WindowExtra& x = gExtra[w];
    x.surface = MakeSurface(w->portRect.width(), w->portRect.height());
    w->port = x.surface.port;
    gWindows.insert(gWindows.begin() + long(frontOfLayer(w)), w);
    w->native = CreateNative(specOf(w));
    if (visible) ShowWindow(w);
    return w;
}

void DisposeWindow(WindowPtr w) {
    auto it = std::find(gWindows.begin(), gWindows.end(), w);
    if (it == gWindows.end()) return;
    gWindows.erase(it);
    ForgetWindowEvents(w);
    if (gActive == w) gActive = nullptr;
    KillControls(w);
    DestroyNative(w->native);
    FreeSurface(gExtra[w].surface);
    gExtra.erase(w);
    delete w;
    followActive();
}

void ShowWindow(WindowPtr w) {
    if (!w || w->visible) return;
    w->visible = true;
    InvalWindowRect(w, w->portRect);
    ShowNative(w->native, true);
    restackNatives();
    followActive();
}

void HideWindow(WindowPtr w) {
    if (!w || !w->visible) return;
    w->visible = false;
    ShowNative(w->native, false);
    followActive();
}

void SelectWindow(WindowPtr w) {
    BringToFront(w);
    followActive();
}

void BringToFront(WindowPtr w) {
    auto it = std::find(gWindows.begin(), gWindows.end(), w);
    if (it == gWindows.end()) return;
    gWindows.erase(it);
    gWindows.insert(gWindows.begin() + long(frontOfLayer(w)), w);
    restackNatives();
}

void SendBehind(WindowPtr w, WindowPtr behindWindow) {
    auto it = std::find(gWindows.begin(), gWindows.end(), w);
    if (it == gWindows.end()) return;
    gWindows.erase(it);
    size_t at = 0;
    if (behindWindow && behindWindow->floating() == w->floating()) {
        at = size_t(std::find(gWindows.begin(), gWindows.end(), behindWindow) - gWindows.begin()) +
             1;
    } else {
        at = frontOfLayer(w);
        while (at < gWindows.size() && gWindows[at]->floating() == w->floating()) ++at;
    }
    gWindows.insert(gWindows.begin() + long(std::min(at, gWindows.size())), w);
    restackNatives();
    followActive();
}

void HiliteWindow(WindowPtr w, bool on) {
    if (!w || w->hilited == on) return;
    w->hilited = on;
    refreshNative(w);
}

WindowPtr FrontWindow() {
    for (WindowPtr w : gWindows)
        if (w->visible) return w;
    return nullptr;
}

WindowPtr FrontNonFloatingWindow() {
    for (WindowPtr w : gWindows)
        if (w->visible && !w->floating()) return w;
    return nullptr;
}

const std::vector<WindowPtr>& WindowList() { return gWindows; }

int16_t FindWindow(qd::Point where, WindowPtr* window) {
    if (window) *window = nullptr;
    if (MenuBarContains(where)) return inMenuBar;
    for (WindowPtr w : gWindows) {
        if (!w->visible) continue;
        const qd::Rect content = ContentBounds(w);
        qd::Rect structure = content;
        if (w->procID == documentProc || w->procID == noGrowDocProc) {
            structure.top -= kTitleBarHeight;
        } else if (w->procID == dBoxProc) {
            structure = {content.top - kModalFrameWidth, content.left - kModalFrameWidth,
                         content.bottom + kModalFrameWidth, content.right + kModalFrameWidth};
        } else if (w->procID == plainDBox) {
            structure = {content.top - kDragBarHeight, content.left - 1, content.bottom + 1,
                         content.right + 1};
        }
        if (!contains(structure, where)) continue;
        if (window) *window = w;
        if (contains(content, where)) {
            if (w->procID == documentProc && where.h >= content.right - kGrowBoxSize &&
                where.v >= content.bottom - kGrowBoxSize)
                return inGrow;
            return inContent;
        }
        if (w->procID == dBoxProc) return inContent;   // the frame belongs to the box
        if (where.v >= content.top) return inContent;  // a plain box's side lines
        if (w->goAwayFlag && w->procID != plainDBox && where.h < content.left + kGoAwayWidth)
            return inGoAway;
        return inDrag;
    }
    return inDesk;
}

namespace {

// Follows the mouse until the button comes up; each move goes to step(dh, dv),
// and the answer is the last offset from start.
template <typename Step>
qd::Point followMouse(const std::string& who, qd::Point start, Step step) {
    EventRecord e;
    for (;;) {
        ModalNextEvent(who, mUpMask, &e);
        const qd::Point now = e.what == mouseUp ? e.where : MouseGlobal();
        step(now.h - start.h, now.v - start.v);
        if (e.what == mouseUp) return {now.v - start.v, now.h - start.h};
    }
}

}  // namespace

void DragWindow(WindowPtr w, qd::Point start, const qd::Rect& limit) {
    if (!w) return;
    const qd::Point from = w->contentOrigin;
    followMouse(w->title, start, [&](int32_t dh, int32_t dv) {
        const qd::Point to{
            std::clamp(start.v + dv, limit.top, std::max(limit.top, limit.bottom - 1)),
            std::clamp(start.h + dh, limit.left, std::max(limit.left, limit.right - 1))};
        MoveWindow(w, from.h + to.h - start.h, from.v + to.v - start.v, false);
    });
}

int32_t GrowWindow(WindowPtr w, qd::Point start, const qd::Rect& sizeRect) {
    if (!w) return 0;
    const int32_t width = w->portRect.width(), height = w->portRect.height();
    const qd::Point d = followMouse(w->title, start, [](int32_t, int32_t) {});
    const int32_t nw =
        std::clamp(width + d.h, sizeRect.left, std::max(sizeRect.left, sizeRect.right));
    const int32_t nh =
        std::clamp(height + d.v, sizeRect.top, std::max(sizeRect.top, sizeRect.bottom));
    if (nw == width && nh == height) return 0;
    return int32_t((uint32_t(nh) << 16) | uint32_t(nw & 0xFFFF));
}

void MoveWindow(WindowPtr w, int32_t h, int32_t v, bool front) {
    if (!w) return;
    w->contentOrigin = {v, h};
    refreshNative(w);
    if (front) SelectWindow(w);
}

void SizeWindow(WindowPtr w, int32_t width, int32_t height, bool update) {
    if (!w || width <= 0 || height <= 0) return;
    if (width == w->portRect.width() && height == w->portRect.height()) return;
    w->portRect = {0, 0, height, width};
    ResizeSurface(gExtra[w].surface, width, height);
    w->updateRgn.clear();
    if (update) InvalWindowRect(w, w->portRect);
    refreshNative(w);
}

bool TrackGoAway(WindowPtr w, qd::Point start) {
    if (!w) return false;
    if (TakeCloseRequest(w)) return true;
    const qd::Rect box{w->contentOrigin.v - kTitleBarHeight, w->contentOrigin.h, w->contentOrigin.v,
                       w->contentOrigin.h + kGoAwayWidth};
    const qd::Point d = followMouse(w->title, start, [](int32_t, int32_t) {});
    return contains(box, {start.v + d.v, start.h + d.h});
}

void SetWTitle(WindowPtr w, const unsigned char* title) {
    if (!w) return;
    w->title = titleOf(title);
    refreshNative(w);
}

void GetWTitle(WindowPtr w, unsigned char* title) {
    const size_t n = w ? std::min<size_t>(w->title.size(), 255) : 0;
    title[0] = static_cast<unsigned char>(n);
    if (n) std::copy_n(w->title.begin(), n, title + 1);
}

void SetWRefCon(WindowPtr w, int32_t refCon) {
    if (w) w->refCon = refCon;
}
int32_t GetWRefCon(WindowPtr w) { return w ? w->refCon : 0; }

WindowPtr GetWindowFromPort(qd::GrafPort* port) {
    for (WindowPtr w : gWindows)
        if (w->port == port) return w;
    return nullptr;
}

WindowPtr GetWindowFromID(uint32_t id) {
    for (WindowPtr w : gWindows)
        if (w->id == id) return w;
    return nullptr;
}

qd::GrafPort* GetWindowPort(WindowPtr w) { return w ? w->port : nullptr; }

void InvalWindowRect(WindowPtr w, const qd::Rect& r) {
    if (!w || r.empty()) return;
    w->updateRgn.push_back(r);
}

void ValidWindowRect(WindowPtr w, const qd::Rect& r) {
    if (!w) return;
    // Whole rectangles inside r are valid now; the rest stays invalid.
    std::erase_if(w->updateRgn, [&](const qd::Rect& u) {
        return u.left >= r.left && u.right <= r.right && u.top >= r.top && u.bottom <= r.bottom;
    });
}

void BeginUpdate(WindowPtr w) {
    if (!w) return;
    WindowExtra& x = gExtra[w];
    qd::GrafPort* was = qd::GetPort();
    qd::SetPort(w->port);
    x.savedClip = qd::GetClipState();
    x.updating = true;
    if (!w->updateRgn.empty()) {
        qd::Rect u = w->updateRgn.front();
        for (const qd::Rect& r : w->updateRgn)
            u = {std::min(u.top, r.top), std::min(u.left, r.left), std::max(u.bottom, r.bottom),
                 std::max(u.right, r.right)};
        qd::ClipRect(u);
    }
    w->updateRgn.clear();
    qd::SetPort(was);
}

void EndUpdate(WindowPtr w) {
    if (!w) return;
    WindowExtra& x = gExtra[w];
    if (!x.updating) return;
    qd::GrafPort* was = qd::GetPort();
    qd::SetPort(w->port);
    qd::SetClipState(x.savedClip);
    qd::SetPort(was);
    x.updating = false;
    DrawWindowContent(w);
}

void DrawWindowContent(WindowPtr w) {
    if (!w) return;
    qd::FlushPort(w->port);
    RepaintNative(w->native);
}

qd::Rect ContentBounds(WindowPtr w) { return offset(w->portRect, w->contentOrigin); }

qd::Rect ScreenBounds() { return DesktopScreen(); }

qd::Rect DesktopBounds() {
    qd::Rect r = DesktopScreen();
    r.top += MenuBarHeight();
    return r;
}

void LocalToGlobal(qd::Point* pt) {
    if (WindowPtr w = windowOfCurrentPort()) {
        pt->h += w->contentOrigin.h;
        pt->v += w->contentOrigin.v;
    }
}

void GlobalToLocal(qd::Point* pt) {
    if (WindowPtr w = windowOfCurrentPort()) {
        pt->h -= w->contentOrigin.h;
        pt->v -= w->contentOrigin.v;
    }
}

uint32_t WindowPixel(WindowPtr w, int32_t h, int32_t v) {
    if (!w) return 0xFFFFFF;
    qd::FlushPort(w->port);
    return SurfacePixel(gExtra[w].surface, h, v);
}

void resetWindows() {
    while (!gWindows.empty()) DisposeWindow(gWindows.front());
    gActive = nullptr;
}

// ---- The desktop's side ----------------------------------------------------------

bool TakeCloseRequest(WindowPtr w) {
    auto it = gExtra.find(w);
    if (it == gExtra.end() || !it->second.closeRequested) return false;
    it->second.closeRequested = false;
    return true;
}

void DesktopWindowMoved(WindowRecord* w, qd::Point contentOrigin) {
    if (gExtra.count(w)) w->contentOrigin = contentOrigin;
}

void DesktopWindowResized(WindowRecord* w, int32_t width, int32_t height) {
    if (gExtra.count(w)) SizeWindow(w, width, height, true);
}

// The window manager's close button: a click in the close box that TrackGoAway
// accepts without following the mouse.
void DesktopCloseBox(WindowRecord* w) {
    if (!gExtra.count(w) || !w->goAwayFlag) return;
    gExtra[w].closeRequested = true;
    EventRecord e;
    e.what = mouseDown;
    e.when = TickCount();
    e.where = {w->contentOrigin.v - kTitleBarHeight / 2, w->contentOrigin.h + kGoAwayWidth / 2};
    PostEvent(e);
}

WindowRecord* WindowNeedingUpdate() {
    for (WindowPtr w : gWindows)
        if (w->visible && !w->updateRgn.empty()) return w;
    return nullptr;
}

void ShowAllWindows() {
    for (WindowPtr w : gWindows)
        if (w->visible) DrawWindowContent(w);
}

}  // namespace toolbox
