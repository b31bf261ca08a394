// The Scripts menu, and opening a file with the desktop's own program.
#pragma once

#include <cstdint>
#include <string>

#include "platform/toolbox/menus.h"

// Empties the Scripts menu and lists the script files of the Scripts folder
// (scriptFiles.h) in it.
void BuildScriptMenu(toolbox::MenuHandle menu, int32_t unused);
// Runs the records of the file that item names, as the command line runs
// them; relative names in them are taken from the user's home folder. An item
// the menu does not hold does nothing.
void GetScriptMenuItem(int32_t item, int32_t unused, const unsigned char* blank);

// Opens a file with the desktop's program for its kind; false when it is not a
// file or the desktop has no program for it.
bool TestCAppleScript(const std::string& posixPath);
using DocumentOpener = bool (*)(const std::string& posixPath);
// Tests replace the desktop's opener, so that none is launched (null puts it back).
void setDocumentOpener(DocumentOpener opener);
