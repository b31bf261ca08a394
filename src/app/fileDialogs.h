// The open and save dialogs and the folder chooser as the program's commands
// use them, over the desktop's choosers (platform/desktop.h; tests answer them).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// A save dialog offers at most the last 30 characters of the name it is given.
constexpr size_t kSaveNameShown = 30;
// What the save dialog offers for a default name: its last 30 characters,
// never cut inside a character.
std::string saveDialogName(const std::string& defaultName);

// The open dialog for a file of the given type ("labl"; null for any). 0 with
// the chosen POSIX path, -128 when cancelled; a chosen file that cannot be read
// is refused with a message from list 143 and its error.
int32_t DoOpenDocument(const char* fileType, std::string* path);
// The save dialog offering defaultName. 0 with the chosen path, 1 otherwise
// (the path is then unchanged).
int32_t DoSaveAsDocument(const std::string& defaultName, std::string* path);

// The folder chooser. Mode 0: the chosen folder's POSIX path ending in "/", or
// empty when cancelled. Mode 1: the colon path ending in ":", and the user's
// Documents folder when nothing was chosen. A path over 255 bytes is refused
// with a message (and taken as nothing chosen).
std::string SelectExistingFolder(int32_t mode);
// A POSIX path as a colon path ending in ":".
std::string converttohfs(const std::string& posixPath);

// The error of a file the open dialog chose but that cannot be opened, and the
// text list 143 gives for it: item 2 for a locked disk, a locked file or no
// permission (-46, -5031, -44, -54), item 3 for anything else.
std::string translationErrorText(int32_t error);
