// Menus: one menu bar for every window, a slim window of its own at the top left
// of the screen; menus open below their titles as windows drawn by the toolbox.
// A choice answers (menu id << 16) | item; 0 is no choice.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/quickdraw/quickdraw.h"

namespace toolbox {

// Item command 0x1B makes an item open the sub-menu whose id is its mark.
inline constexpr unsigned char hMenuCmd = 0x1B;
inline constexpr unsigned char checkMark = 0x12;
inline constexpr unsigned char noMark = 0;
// InsertMenu's beforeID for sub-menus and pop-ups (not in the bar).
inline constexpr int16_t hierMenu = -1;

struct MenuItem {
    std::string text;  // Mac OS Roman; "-" a separator line
    bool enabled = true;
    unsigned char cmd = 0;   // the Command-key letter, or hMenuCmd
    unsigned char mark = 0;  // a mark character, or the sub-menu id
    int16_t style = 0;
};
struct MenuInfo {
    int16_t menuID = 0;
    std::string title;
    bool enabled = true;
    std::vector<MenuItem> items;
};
using MenuHandle = MenuInfo*;

// The menu of resources/menus/<id>.txt (its title on the first line, then an
// item a line as AppendMenu reads it), or null.
MenuHandle GetMenu(int16_t resourceID);
MenuHandle NewMenu(int16_t menuID, const unsigned char* title);
// Items separated by ';' with the metacharacters ( disabled, /X Command-X,
// !c mark, <B style, ^n icon (ignored).
void AppendMenu(MenuHandle menu, const unsigned char* data);
void InsertMenuItem(MenuHandle menu, const unsigned char* data, int16_t afterItem);
// 'FONT': the font families installed, in alphabetical order.
void AppendResMenu(MenuHandle menu, uint32_t resType);
// beforeID 0 puts it at the end of the bar, hierMenu among sub-menus and pop-ups.
void InsertMenu(MenuHandle menu, int16_t beforeID);
void DeleteMenu(int16_t menuID);
void DisposeMenu(MenuHandle menu);
MenuHandle GetMenuHandle(int16_t menuID);
void DrawMenuBar();
void ClearMenuBar();
int16_t CountMenuItems(MenuHandle menu);
void DeleteMenuItem(MenuHandle menu, int16_t item);
void SetMenuItemText(MenuHandle menu, int16_t item, const unsigned char* text);
void GetMenuItemText(MenuHandle menu, int16_t item, unsigned char* text);
// item 0 is the whole menu.
void EnableMenuItem(MenuHandle menu, int16_t item);
void DisableMenuItem(MenuHandle menu, int16_t item);
bool IsMenuItemEnabled(MenuHandle menu, int16_t item);
void CheckMenuItem(MenuHandle menu, int16_t item, bool checked);
void SetItemMark(MenuHandle menu, int16_t item, unsigned char mark);
void GetItemMark(MenuHandle menu, int16_t item, unsigned char* mark);
void SetItemCmd(MenuHandle menu, int16_t item, unsigned char cmd);

// Follows the mouse from a click in the menu bar until a choice or none. A
// click released on a title leaves its menu open until the next click.
int32_t MenuSelect(qd::Point start);
// Opens menu with item popUpItem at (top, left) global.
int32_t PopUpMenuSelect(MenuHandle menu, int32_t top, int32_t left, int16_t popUpItem);
// The choice a Command key makes, or 0.
int32_t MenuKey(unsigned char ch);
// Hilites the title of menuID in the bar (0: none).
void HiliteMenu(int16_t menuID);
int16_t HilitedMenu();

// Where things are on the screen (global), as a click would find them: a title
// in the bar, and an item of a menu opened from the bar, from its parent item or
// as a pop-up at (top, left) showing popUpItem there (parentMenu 0: from the bar).
qd::Rect MenuTitleBounds(int16_t menuID);
qd::Rect MenuItemBounds(int16_t menuID, int16_t item);
qd::Rect PopUpItemBounds(MenuHandle menu, int32_t top, int32_t left, int16_t popUpItem,
                         int16_t item);
qd::Rect MenuBarBounds();
// The ids of the menus open now, outermost first (for tests and the smoke test).
std::vector<int16_t> OpenMenus();

// Empties the bar and forgets every menu (tests).
void resetMenus();

}  // namespace toolbox
