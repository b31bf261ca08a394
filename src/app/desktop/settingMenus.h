// The setting menus: every menu other than File, Edit and Help, from the menu
// bar or popped up in a window, turns a choice into a change of the current
// settings, the output, the options, the colours and the layout's view.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/quickdraw/quickdraw.h"
#include "platform/textedit.h"

// Registers doMenu as the loop handler "doMenu" (the argument is the menu
// choice, (menu id << 16) | item), installs the menus' start marks and the
// Custom menu's items.
void installSettingMenus();

// A choice of item (from 1) in menu menuId; ends by unhiliting the menu bar.
void doMenu(int16_t item, int16_t menuId);

// The small handlers doMenu calls.
void colourMenu(int16_t item);
void doMarksMenu(int16_t item);
void doDirectionMenu(int16_t item);
void doFieldsMenu(int16_t item);
void doLineSizeMenu(int16_t item);
void doTextJustMenu(int16_t item);
void doTextSizeMenu(int16_t item);
int16_t doTextStyleMenu(int16_t item);  // answers the item, changes nothing

// The view rectangle of a text field.
void GetEditFieldRectangle(qd::Rect* rect, const platform::TERec& field);

// The Custom menu's items again from the custom types listed.
void fillCustomMenu();
// The Options menu's marks from the settings.
void setOptionMarks();

// The layout view's labels, switched from the layout commands menu.
struct LayoutViewFlags {
    int32_t showTypes = 0;
    int32_t iteNumbers = 0;
    int32_t showSpecs = 0;
};
extern LayoutViewFlags gLayoutView;

// What the menus ask of windows built elsewhere. Each hook that is not set
// records its call in settingMenuCalls() and does nothing else, so choices
// stay whole while those windows come.
struct SettingMenuHooks {
    std::function<void(int32_t quiet)> WorkOutHeight;
    std::function<void()> DataBarCouponDialog;
    std::function<void(int32_t item)> doShapeMenu;
    std::function<void(int32_t item)> GetScriptMenuItem;
    // A main-window field that lives with the main window ("TELine", "TETe1[1]").
    std::function<void(const std::string& field, const std::string& text)> setMainField;
    // Shows the colour pane (sub-tab and tab layer of the main window).
    std::function<void()> showColourPane;
    // The preferences window (the layout commands' item 8).
    std::function<void()> SetPreferences;
};
SettingMenuHooks& settingMenuHooks();
const std::vector<std::string>& settingMenuCalls();
void resetSettingMenus();  // hooks, records and flags
