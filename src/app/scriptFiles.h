// The Scripts folder: files of script records that the Scripts menu lists and
// runs, in the user's settings folder.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

// A menu item holds a short name; the menu a few screens at most.
constexpr size_t kMostScriptNameBytes = 63;
constexpr size_t kMostScriptItems = 100;

// $XDG_CONFIG_HOME/strixel/Scripts (default ~/.config/strixel/Scripts).
std::string scriptsFolder();

// The names of the script files in folder, sorted by their bytes: regular files
// (or links to them) only; hidden files, names longer than kMostScriptNameBytes
// and names without a Mac OS Roman form (a menu could not show them) are left
// out; at most kMostScriptItems. Empty when the folder is missing.
std::vector<std::string> listScriptFiles(const std::string& folder);
