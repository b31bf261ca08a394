// Custom code types: named copies of the current settings, one defaults-format
// file each in the Custom folder of the user's preferences folder, listed in the
// Custom menu.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/files.h"

// One item of the Custom menu: the name stored in the file, and the file itself
// (so that a file renamed on disk still loads).
struct CustomItem {
    std::string name;  // Mac OS Roman, as the record holds it
    std::string path;
};
struct CustomMenu {
    std::vector<CustomItem> menu17;  // the menu's items, from 1 in the menu
};
extern CustomMenu gCustom;

void resetCustomMenu();

inline constexpr const char* kCustomPrompt = "Name this custom code type";
std::string customFolderPath();
// The file name a custom type's name is saved under: '/' and ':' become '-',
// a leading '.' (a hidden file) becomes '_'; Mac OS Roman turned into UTF-8.
std::string customFileName(const std::string& name);

// Whether path exists and is a folder: noErr or fnfErr (the volume and folder
// numbers of a catalog look-up have no meaning here).
platform::OSErr GetDirID(const std::string& path, bool* isFolder);
// Appends one item per file of the Custom folder (hidden files and sub-folders
// passed over), sorted by name; each file's name only is read. A missing folder
// is made; -120 when a file stands where the folder should be.
int32_t GetCustomDirItems();
// Empties the Custom menu's items and fills them again from the folder.
int32_t BuildCustMenu();
// Loads the custom type of menu item `item` (from 1): its settings become
// current and the code-type name shows its name. 0 when there is no such item or
// its file is gone.
int32_t GetCustMenuItem(int32_t item);
// Asks for a name and saves the current settings as a custom type under it; a
// cancelled or empty answer writes nothing. 1 when saved.
int32_t SaveCustomCode();
