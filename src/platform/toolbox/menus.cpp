#include "platform/toolbox/menus.h"

#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <memory>
#include <set>

#include "platform/fontconfig.h"
#include "platform/macroman.h"
#include "platform/resources.h"
#include "platform/toolbox/events.h"
#include "platform/toolbox/internal.h"
#include "platform/toolbox/qt_glue.h"
#include "platform/toolbox/surface.h"

namespace toolbox {

namespace {

constexpr int32_t kBarHeight = 20;
constexpr int32_t kBarLeftMargin = 10;
constexpr int32_t kTitlePad = 8;  // each side of a title
constexpr int32_t kItemHeight = 16;
constexpr int32_t kSeparatorHeight = 8;
constexpr int32_t kMarkColumn = 14;   // left of the item text
constexpr int32_t kRightColumn = 50;  // the key equivalent or the sub-menu arrow
constexpr int32_t kBaseline = 12;     // of a line of 16
constexpr int16_t kMenuFontSize = 12;
constexpr uint32_t kFontResource = 0x464F4E54;  // 'FONT'
constexpr unsigned char kMacRomanCheck = 0xC3;  // the check mark drawn (a root sign)
constexpr qd::RGBColor kDisabledGrey{0x8888, 0x8888, 0x8888};

std::vector<std::unique_ptr<MenuInfo>> gMenus;  // every menu made
std::vector<MenuHandle> gBar;                   // the bar, left to right
std::vector<MenuHandle> gHier;                  // sub-menus and pop-ups
int16_t gHilited = 0;

struct BarWindow {
    Surface surface;
    WindowNative* native = nullptr;
    qd::Rect bounds;  // global
};
BarWindow gBarWindow;

struct OpenMenu {
    MenuHandle menu = nullptr;
    qd::Rect bounds;  // global, the items' area
    Surface surface;
    WindowNative* native = nullptr;
    int16_t hot = 0;  // the item under the mouse
};
std::vector<OpenMenu> gOpen;

std::string pascal(const unsigned char* p) {
    return p ? std::string(reinterpret_cast<const char*>(p + 1), p[0]) : std::string();
}

bool contains(const qd::Rect& r, qd::Point p) {
    return p.h >= r.left && p.h < r.right && p.v >= r.top && p.v < r.bottom;
}

MenuItem* itemOf(MenuHandle m, int16_t item) {
    if (!m || item < 1 || item > int16_t(m->items.size())) return nullptr;
    return &m->items[size_t(item - 1)];
}

bool isSeparator(const MenuItem& it) { return it.text == "-"; }

int32_t itemHeight(const MenuItem& it) { return isSeparator(it) ? kSeparatorHeight : kItemHeight; }

// Text widths in the menus' font, measured on a scratch port.
int32_t textWidth(const std::string& s) {
    static Surface scratch;
    if (!scratch.port) {
        scratch.port = qd::NewPort(nullptr, qd::Rect{0, 0, 1, 1});
    }
    qd::GrafPort* was = qd::GetPort();
    qd::SetPort(scratch.port);
    qd::TextFont(0);
    qd::TextSize(kMenuFontSize);
    const int32_t w = qd::TextWidth(s.data(), 0, int32_t(s.size()));
    qd::SetPort(was);
    return w;
}

std::string keyText(const MenuItem& it) {
    if (!it.cmd || it.cmd == hMenuCmd) return {};
    return std::string("Ctrl+") + char(std::toupper(it.cmd));
}

qd::Point menuSize(MenuHandle m) {
    int32_t width = textWidth(m->title) + 2 * kTitlePad, height = 0;
    for (const MenuItem& it : m->items) {
        width = std::max(width, kMarkColumn + textWidth(it.text) + kRightColumn);
        height += itemHeight(it);
    }
    return {std::max(height, kItemHeight), width};
}

qd::Rect itemRect(MenuHandle m, const qd::Rect& bounds, int16_t item) {
    int32_t top = bounds.top;
    for (int16_t i = 1; i <= int16_t(m->items.size()); ++i) {
        const int32_t h = itemHeight(m->items[size_t(i - 1)]);
        if (i == item) return {top, bounds.left, top + h, bounds.right};
        top += h;
    }
    return {};
}

int16_t itemAt(MenuHandle m, const qd::Rect& bounds, qd::Point p) {
    if (!contains(bounds, p)) return 0;
    for (int16_t i = 1; i <= int16_t(m->items.size()); ++i)
        if (contains(itemRect(m, bounds, i), p)) return i;
    return 0;
}

// ---- The bar ------------------------------------------------------------------------

qd::Rect titleRect(size_t index) {
    const qd::Rect screen = DesktopScreen();
    int32_t left = screen.left + kBarLeftMargin;
    for (size_t i = 0; i < index; ++i) left += textWidth(gBar[i]->title) + 2 * kTitlePad;
    return {screen.top, left, screen.top + kBarHeight,
            left + textWidth(gBar[index]->title) + 2 * kTitlePad};
}

void drawBar() {
    if (!gBarWindow.surface.port) return;
    qd::GrafPort* was = qd::GetPort();
    qd::SetPort(gBarWindow.surface.port);
    const qd::Rect all{0, 0, gBarWindow.bounds.height(), gBarWindow.bounds.width()};
    qd::ClipRect(all);
    qd::EraseRect(all);
    qd::MoveTo(0, all.bottom - 1);
    qd::LineTo(all.right - 1, all.bottom - 1);
    qd::TextFont(0);
    qd::TextSize(kMenuFontSize);
    for (size_t i = 0; i < gBar.size(); ++i) {
        qd::Rect r = titleRect(i);
        r = {0, r.left - gBarWindow.bounds.left, kBarHeight - 1, r.right - gBarWindow.bounds.left};
        qd::RGBForeColor(gBar[i]->enabled ? qd::RGBColor{} : kDisabledGrey);
        qd::MoveTo(r.left + kTitlePad, kBaseline + 2);
        qd::DrawText(gBar[i]->title.data(), 0, int32_t(gBar[i]->title.size()));
        qd::ForeColor(qd::blackColor);
        if (gBar[i]->menuID == gHilited) qd::InvertRect(r);
    }
    qd::FlushPort(gBarWindow.surface.port);
    qd::SetPort(was);
    RepaintNative(gBarWindow.native);
}

SurfaceSpec barSpec() {
    SurfaceSpec s;
    s.frame = FrameKind::none;
    s.title = "Menu bar";
    s.image = gBarWindow.surface.image;
    s.contentOrigin = {gBarWindow.bounds.top, gBarWindow.bounds.left};
    s.width = gBarWindow.bounds.width();
    s.height = gBarWindow.bounds.height();
    return s;
}

// ---- Open menus -----------------------------------------------------------------

void drawOpen(OpenMenu& o) {
    qd::GrafPort* was = qd::GetPort();
    qd::SetPort(o.surface.port);
    const qd::Rect all{0, 0, o.bounds.height(), o.bounds.width()};
    qd::ClipRect(all);
    qd::EraseRect(all);
    qd::TextFont(0);
    qd::TextSize(kMenuFontSize);
    const qd::Point origin{o.bounds.top, o.bounds.left};
    for (int16_t i = 1; i <= int16_t(o.menu->items.size()); ++i) {
        const MenuItem& it = o.menu->items[size_t(i - 1)];
        qd::Rect r = itemRect(o.menu, o.bounds, i);
        r = {r.top - origin.v, r.left - origin.h, r.bottom - origin.v, r.right - origin.h};
        if (isSeparator(it)) {
            qd::RGBForeColor(kDisabledGrey);
            qd::MoveTo(r.left, r.top + kSeparatorHeight / 2);
            qd::LineTo(r.right - 1, r.top + kSeparatorHeight / 2);
            qd::ForeColor(qd::blackColor);
            continue;
        }
        const bool on = it.enabled && o.menu->enabled;
        qd::RGBForeColor(on ? qd::RGBColor{} : kDisabledGrey);
        if (it.mark && it.cmd != hMenuCmd) {
            qd::MoveTo(r.left + 2, r.top + kBaseline);
            qd::DrawChar(it.mark == checkMark ? kMacRomanCheck : it.mark);
        }
        qd::TextFace(it.style);
        qd::MoveTo(r.left + kMarkColumn, r.top + kBaseline);
        qd::DrawText(it.text.data(), 0, int32_t(it.text.size()));
        qd::TextFace(0);
        const std::string right = it.cmd == hMenuCmd ? std::string(">") : keyText(it);
        if (!right.empty()) {
            qd::MoveTo(r.right - 4 - textWidth(right), r.top + kBaseline);
            qd::DrawText(right.data(), 0, int32_t(right.size()));
        }
        qd::ForeColor(qd::blackColor);
        if (i == o.hot && on) qd::InvertRect(r);
    }
    qd::FlushPort(o.surface.port);
    qd::SetPort(was);
    RepaintNative(o.native);
}

void openMenu(MenuHandle m, const qd::Rect& bounds) {
    OpenMenu o;
    o.menu = m;
    o.bounds = bounds;
    o.surface = MakeSurface(bounds.width(), bounds.height());
    SurfaceSpec s;
    s.frame = FrameKind::menu;
    s.title = platform::macRomanToUtf8(m->title);
    s.image = o.surface.image;
    s.contentOrigin = {bounds.top, bounds.left};
    s.width = bounds.width();
    s.height = bounds.height();
    o.native = CreateNative(s);
    gOpen.push_back(o);
    drawOpen(gOpen.back());
    ShowNative(gOpen.back().native, true);
}

void closeMenusFrom(size_t depth) {
    while (gOpen.size() > depth) {
        DestroyNative(gOpen.back().native);
        FreeSurface(gOpen.back().surface);
        gOpen.pop_back();
    }
}

qd::Rect boundsBelow(MenuHandle m, const qd::Rect& title) {
    const qd::Point size = menuSize(m);
    return {title.bottom, title.left, title.bottom + size.v, title.left + size.h};
}

qd::Rect boundsBeside(MenuHandle sub, const qd::Rect& parentItem) {
    const qd::Point size = menuSize(sub);
    return {parentItem.top, parentItem.right, parentItem.top + size.v, parentItem.right + size.h};
}

qd::Rect boundsAt(MenuHandle m, int32_t top, int32_t left, int16_t popUpItem) {
    const qd::Point size = menuSize(m);
    const qd::Rect at = itemRect(m, {0, 0, size.v, size.h}, popUpItem);
    const int32_t t = top - at.top;
    return {t, left, t + size.v, left + size.h};
}

// The menu and item whose sub-menu is id, or null.
MenuHandle parentOf(int16_t id, int16_t* item) {
    for (const auto& m : gMenus)
        for (int16_t i = 1; i <= int16_t(m->items.size()); ++i) {
            const MenuItem& it = m->items[size_t(i - 1)];
            if (it.cmd == hMenuCmd && it.mark == id && m->menuID != id) {
                *item = i;
                return m.get();
            }
        }
    return nullptr;
}

// Where menu id opens: below its title, or beside the item that leads to it.
qd::Rect placeOf(int16_t id, int depth = 0) {
    MenuHandle m = GetMenuHandle(id);
    if (!m || depth > 8) return {};
    for (size_t i = 0; i < gBar.size(); ++i)
        if (gBar[i] == m) return boundsBelow(m, titleRect(i));
    int16_t item = 0;
    MenuHandle parent = parentOf(id, &item);
    if (!parent) return {};
    return boundsBeside(m, itemRect(parent, placeOf(parent->menuID, depth + 1), item));
}

int barIndexAt(qd::Point p) {
    for (size_t i = 0; i < gBar.size(); ++i)
        if (contains(titleRect(i), p)) return int(i);
    return -1;
}

// Opens the bar menu at index (closing the others) and hilites its title.
void openFromBar(int index) {
    closeMenusFrom(0);
    MenuHandle m = gBar[size_t(index)];
    HiliteMenu(m->menuID);
    if (m->enabled) openMenu(m, boundsBelow(m, titleRect(size_t(index))));
}

struct Hit {
    size_t depth = 0;
    int16_t item = 0;
    bool found = false;
};

Hit hitOpen(qd::Point p) {
    for (size_t d = gOpen.size(); d-- > 0;) {
        const int16_t i = itemAt(gOpen[d].menu, gOpen[d].bounds, p);
        if (i) return {d, i, true};
    }
    return {};
}

// Follows the mouse over the open menus: the item under it hilited.
void trackHot(qd::Point p) {
    const Hit h = hitOpen(p);
    for (size_t d = 0; d < gOpen.size(); ++d) {
        const int16_t hot = h.found && h.depth == d ? h.item : 0;
        if (gOpen[d].hot != hot) {
            gOpen[d].hot = hot;
            drawOpen(gOpen[d]);
        }
    }
}

// A release over an item: its choice, or a sub-menu opened (-1 to go on).
int32_t release(const Hit& h) {
    OpenMenu& o = gOpen[h.depth];
    const MenuItem& it = o.menu->items[size_t(h.item - 1)];
    if (!it.enabled || !o.menu->enabled || isSeparator(it)) return 0;
    if (it.cmd == hMenuCmd) {
        MenuHandle sub = GetMenuHandle(it.mark);
        if (!sub) return 0;
        closeMenusFrom(h.depth + 1);
        openMenu(sub, boundsBeside(sub, itemRect(o.menu, o.bounds, h.item)));
        return -1;
    }
    return int32_t((uint32_t(uint16_t(o.menu->menuID)) << 16) | uint16_t(h.item));
}

// The loop shared by the bar and pop-ups. fromBar: titles switch menus.
int32_t track(qd::Point start, bool fromBar, const std::string& who) {
    bool sticky = false;  // the first release came on the title
    EventRecord e;
    int32_t result = 0;
    try {
        for (;;) {
            ModalNextEvent(who, mDownMask | mUpMask | keyDownMask, &e);
            if (e.what == keyDown) {
                constexpr uint32_t kEscape = 27;
                if ((e.message & charCodeMask) == kEscape) break;
                continue;
            }
            const qd::Point p = e.what == nullEvent ? MouseGlobal() : e.where;
            trackHot(p);
            if (e.what == nullEvent) {
                const int bi = fromBar ? barIndexAt(p) : -1;
                if (bi >= 0 && gBar[size_t(bi)]->menuID != gHilited) openFromBar(bi);
                continue;
            }
            const Hit h = hitOpen(p);
            const int bi = fromBar ? barIndexAt(p) : -1;
            if (e.what == mouseDown) {
                if (h.found) continue;  // chosen on release
                if (bi >= 0) {
                    // The open menu's own title closes it; another title opens its menu.
                    if (sticky && gBar[size_t(bi)]->menuID == gHilited) {
                        result = 0;
                        break;
                    }
                    if (gBar[size_t(bi)]->menuID != gHilited) openFromBar(bi);
                    sticky = false;
                    continue;
                }
                result = 0;
                break;
            }
            // A release.
            if (h.found) {
                result = release(h);
                if (result < 0) {
                    sticky = true;
                    continue;
                }
                break;
            }
            if (bi >= 0 && !sticky) {
                // Released on a title: its menu stays open until the next click.
                if (gBar[size_t(bi)]->menuID != gHilited) openFromBar(bi);
                sticky = true;
                continue;
            }
            result = 0;
            break;
        }
    } catch (...) {
        closeMenusFrom(0);
        HiliteMenu(0);
        throw;
    }
    closeMenusFrom(0);
    if (!result) HiliteMenu(0);
    return result;
}

void parseItems(MenuHandle m, const std::string& data, int16_t after) {
    size_t at = std::min<size_t>(size_t(std::max<int16_t>(after, 0)), m->items.size());
    size_t i = 0;
    while (i <= data.size()) {
        MenuItem it;
        for (; i < data.size() && data[i] != ';'; ++i) {
            const char c = data[i];
            const bool hasArg = i + 1 < data.size();
            if (c == '(')
                it.enabled = false;
            else if (c == '/' && hasArg)
                it.cmd = static_cast<unsigned char>(data[++i]);
            else if (c == '!' && hasArg)
                it.mark = static_cast<unsigned char>(data[++i]);
            else if (c == '^' && hasArg)
                ++i;
            else if (c == '<' && hasArg) {
                const char s = data[++i];
                it.style |= s == 'B'   ? qd::bold
                            : s == 'I' ? qd::italic
                            : s == 'U' ? qd::underline
                                       : 0;
            } else
                it.text += c;
        }
        if (!it.text.empty() || i < data.size()) {
            if (it.text.empty()) it.text = " ";
            m->items.insert(m->items.begin() + long(at++), it);
        }
        ++i;
    }
}

}  // namespace

MenuHandle GetMenu(int16_t resourceID) {
    const std::string_view text =
        platform::embeddedResource("menus/" + std::to_string(resourceID) + ".txt");
    if (text.empty()) return nullptr;
    auto m = std::make_unique<MenuInfo>();
    m->menuID = resourceID;
    size_t start = 0;
    bool first = true;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        std::string line(text.substr(start, end - start));
        if (!line.empty() && line.back() == '\r') line.pop_back();
        std::string roman;
        platform::utf8ToMacRoman(line, &roman);
        if (first)
            m->title = roman;
        else if (!roman.empty())
            parseItems(m.get(), roman, int16_t(m->items.size()));
        first = false;
        start = end + 1;
    }
    gMenus.push_back(std::move(m));
    return gMenus.back().get();
}

MenuHandle NewMenu(int16_t menuID, const unsigned char* title) {
    auto m = std::make_unique<MenuInfo>();
    m->menuID = menuID;
    m->title = pascal(title);
    gMenus.push_back(std::move(m));
    return gMenus.back().get();
}

void AppendMenu(MenuHandle menu, const unsigned char* data) {
    if (menu) parseItems(menu, pascal(data), int16_t(menu->items.size()));
}

void InsertMenuItem(MenuHandle menu, const unsigned char* data, int16_t afterItem) {
    if (menu) parseItems(menu, pascal(data), afterItem);
}

void AppendResMenu(MenuHandle menu, uint32_t resType) {
    if (!menu || resType != kFontResource) return;
    FcConfig* config = platform::fontConfiguration();
    if (!config) return;
    FcPattern* pat = FcPatternCreate();
    FcObjectSet* os = FcObjectSetBuild(FC_FAMILY, nullptr);
    FcFontSet* fonts = FcFontList(config, pat, os);
    std::set<std::string> names;
    for (int i = 0; fonts && i < fonts->nfont; ++i) {
        FcChar8* family = nullptr;
        if (FcPatternGetString(fonts->fonts[i], FC_FAMILY, 0, &family) != FcResultMatch) continue;
        std::string roman;
        // A name the program's text cannot hold could not be chosen back.
        if (!platform::utf8ToMacRoman(reinterpret_cast<const char*>(family), &roman)) continue;
        if (roman.empty() || roman.size() > 255 || roman == "-") continue;
        names.insert(roman);
    }
    if (fonts) FcFontSetDestroy(fonts);
    FcObjectSetDestroy(os);
    FcPatternDestroy(pat);
    for (const std::string& n : names) {
        MenuItem it;
        it.text = n;  // as it stands: no metacharacters
        menu->items.push_back(it);
    }
}

void InsertMenu(MenuHandle menu, int16_t beforeID) {
    if (!menu) return;
    std::erase(gBar, menu);
    std::erase(gHier, menu);
    if (beforeID == hierMenu) {
        gHier.push_back(menu);
        return;
    }
    auto at =
        std::find_if(gBar.begin(), gBar.end(), [&](MenuHandle m) { return m->menuID == beforeID; });
    gBar.insert(at, menu);
}

void DeleteMenu(int16_t menuID) {
    std::erase_if(gBar, [&](MenuHandle m) { return m->menuID == menuID; });
    std::erase_if(gHier, [&](MenuHandle m) { return m->menuID == menuID; });
}

void DisposeMenu(MenuHandle menu) {
    if (!menu) return;
    std::erase(gBar, menu);
    std::erase(gHier, menu);
    std::erase_if(gMenus, [&](const auto& m) { return m.get() == menu; });
}

MenuHandle GetMenuHandle(int16_t menuID) {
    for (MenuHandle m : gBar)
        if (m->menuID == menuID) return m;
    for (MenuHandle m : gHier)
        if (m->menuID == menuID) return m;
    return nullptr;
}

void DrawMenuBar() {
    StartDesktop(nullptr, nullptr);
    const qd::Rect want = MenuBarBounds();
    if (!gBarWindow.surface.port) {
        gBarWindow.bounds = want;
        gBarWindow.surface = MakeSurface(want.width(), want.height());
        gBarWindow.native = CreateNative(barSpec());
        ShowNative(gBarWindow.native, true);
    } else if (!(want == gBarWindow.bounds)) {
        gBarWindow.bounds = want;
        ResizeSurface(gBarWindow.surface, want.width(), want.height());
        UpdateNative(gBarWindow.native, barSpec());
    }
    drawBar();
}

void ClearMenuBar() {
    gBar.clear();
    gHilited = 0;
}

int16_t CountMenuItems(MenuHandle menu) { return menu ? int16_t(menu->items.size()) : 0; }

void DeleteMenuItem(MenuHandle menu, int16_t item) {
    if (itemOf(menu, item)) menu->items.erase(menu->items.begin() + item - 1);
}

void SetMenuItemText(MenuHandle menu, int16_t item, const unsigned char* text) {
    if (MenuItem* it = itemOf(menu, item)) it->text = pascal(text);
}

void GetMenuItemText(MenuHandle menu, int16_t item, unsigned char* text) {
    const MenuItem* it = itemOf(menu, item);
    const size_t n = it ? std::min<size_t>(it->text.size(), 255) : 0;
    text[0] = static_cast<unsigned char>(n);
    if (n) std::copy_n(it->text.begin(), n, text + 1);
}

void EnableMenuItem(MenuHandle menu, int16_t item) {
    if (menu && item == 0)
        menu->enabled = true;
    else if (MenuItem* it = itemOf(menu, item))
        it->enabled = true;
}

void DisableMenuItem(MenuHandle menu, int16_t item) {
    if (menu && item == 0)
        menu->enabled = false;
    else if (MenuItem* it = itemOf(menu, item))
        it->enabled = false;
}

bool IsMenuItemEnabled(MenuHandle menu, int16_t item) {
    if (menu && item == 0) return menu->enabled;
    const MenuItem* it = itemOf(menu, item);
    return it && it->enabled && menu->enabled;
}

void CheckMenuItem(MenuHandle menu, int16_t item, bool checked) {
    SetItemMark(menu, item, checked ? checkMark : noMark);
}

void SetItemMark(MenuHandle menu, int16_t item, unsigned char mark) {
    if (MenuItem* it = itemOf(menu, item)) it->mark = mark;
}

void GetItemMark(MenuHandle menu, int16_t item, unsigned char* mark) {
    const MenuItem* it = itemOf(menu, item);
    *mark = it ? it->mark : 0;
}

void SetItemCmd(MenuHandle menu, int16_t item, unsigned char cmd) {
    if (MenuItem* it = itemOf(menu, item)) it->cmd = cmd;
}

int32_t MenuSelect(qd::Point start) {
    const int bi = barIndexAt(start);
    if (bi < 0) return 0;
    openFromBar(bi);
    return track(start, true, "menu " + gBar[size_t(bi)]->title);
}

int32_t PopUpMenuSelect(MenuHandle menu, int32_t top, int32_t left, int16_t popUpItem) {
    if (!menu) return 0;
    closeMenusFrom(0);
    openMenu(menu, boundsAt(menu, top, left, std::max<int16_t>(popUpItem, 1)));
    return track({top, left}, false, "pop-up menu " + menu->title);
}

int32_t MenuKey(unsigned char ch) {
    const int lower = std::tolower(ch);
    for (MenuHandle m : gBar) {
        if (!m->enabled) continue;
        for (int16_t i = 1; i <= int16_t(m->items.size()); ++i) {
            const MenuItem& it = m->items[size_t(i - 1)];
            if (it.enabled && it.cmd && it.cmd != hMenuCmd && std::tolower(it.cmd) == lower)
                return int32_t((uint32_t(uint16_t(m->menuID)) << 16) | uint16_t(i));
        }
    }
    return 0;
}

void HiliteMenu(int16_t menuID) {
    if (gHilited == menuID) return;
    gHilited = menuID;
    drawBar();
}

int16_t HilitedMenu() { return gHilited; }

qd::Rect MenuTitleBounds(int16_t menuID) {
    for (size_t i = 0; i < gBar.size(); ++i)
        if (gBar[i]->menuID == menuID) return titleRect(i);
    return {};
}

qd::Rect MenuItemBounds(int16_t menuID, int16_t item) {
    MenuHandle m = GetMenuHandle(menuID);
    return m ? itemRect(m, placeOf(menuID), item) : qd::Rect{};
}

qd::Rect PopUpItemBounds(MenuHandle menu, int32_t top, int32_t left, int16_t popUpItem,
                         int16_t item) {
    if (!menu) return {};
    return itemRect(menu, boundsAt(menu, top, left, std::max<int16_t>(popUpItem, 1)), item);
}

qd::Rect MenuBarBounds() {
    if (!DesktopStarted()) return {};
    const qd::Rect screen = DesktopScreen();
    int32_t right = screen.left + 2 * kBarLeftMargin;
    for (MenuHandle m : gBar) right += textWidth(m->title) + 2 * kTitlePad;
    return {screen.top, screen.left, screen.top + kBarHeight, right};
}

std::vector<int16_t> OpenMenus() {
    std::vector<int16_t> ids;
    for (const OpenMenu& o : gOpen) ids.push_back(o.menu->menuID);
    return ids;
}

bool MenuBarContains(qd::Point global) {
    return gBarWindow.native && contains(gBarWindow.bounds, global);
}

int32_t MenuBarHeight() { return kBarHeight; }

bool ClickMenuTitleByLetter(char32_t letter) {
    if (!gBarWindow.native || letter > 0x7F) return false;
    const int want = std::tolower(int(letter));
    for (size_t i = 0; i < gBar.size(); ++i) {
        const std::string& t = gBar[i]->title;
        if (t.empty() || std::tolower(static_cast<unsigned char>(t[0])) != want) continue;
        const qd::Rect r = titleRect(i);
        const qd::Point at{(r.top + r.bottom) / 2, (r.left + r.right) / 2};
        PostEvent(EventRecord{mouseDown, 0, TickCount(), at, 0});
        PostEvent(EventRecord{mouseUp, 0, TickCount(), at, btnState});
        return true;
    }
    return false;
}

void resetMenus() {
    closeMenusFrom(0);
    gBar.clear();
    gHier.clear();
    gMenus.clear();
    gHilited = 0;
    if (gBarWindow.native) DestroyNative(gBarWindow.native);
    FreeSurface(gBarWindow.surface);
    gBarWindow = BarWindow{};
}

}  // namespace toolbox
