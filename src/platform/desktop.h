// The desktop's services that output hands files and text to: the clipboard, the
// save dialog and folder chooser, the file manager and the application switcher.
// Headless (command line, tests) nobody is there: the clipboard keeps what it is
// given for inspection, the dialogs cancel unless a test answers them, and the
// reveal and the switch do nothing.
#pragma once

#include <cstdint>
#include <map>
#include <string>

namespace platform {

// The clipboard: emptied, then given text in a font and size, or a picture's
// PICT bytes. The last contents stay readable (ScrapContents).
struct Scrap {
    std::string text;
    std::string fontName;
    int32_t fontSize = 0;
    std::string pict;  // PICT version 2 bytes
    // Every flavour by its four-character type: 'TEXT' and 'PICT' as above, and
    // the label item flavours 'LABL' (an item record) and 'EXTR' (its data).
    std::map<std::string, std::string> flavours;
    int32_t handovers = 0;  // UnloadScrap calls: the contents given to the system
};
void ZeroScrap();
void PutScrapText(const std::string& text, const std::string& fontName, int32_t fontSize);
void PutScrapPict(const std::string& pictBytes);
void PutScrapFlavor(const std::string& type, const std::string& bytes);
// False when the clipboard holds no flavour of that type.
bool GetScrapFlavor(const std::string& type, std::string* bytes);
void UnloadScrap();
const Scrap& ScrapContents();

// The save dialog: suggested name and the file's type; true with the chosen POSIX
// path, false when cancelled. The folder chooser: true with a POSIX folder.
using PutFileAnswer = bool (*)(const std::string& suggestedName, std::string* path);
using FolderAnswer = bool (*)(std::string* folder);
// The open dialog: a file of the given type ("TEXT") chosen, as a POSIX path.
using GetFileAnswer = bool (*)(const char* fileType, std::string* path);
bool PutFileDialog(const std::string& suggestedName, std::string* path);
// The save dialog of the next PutFileDialog adds to the file chosen: it does not
// ask whether to replace it.
void SetSaveAddsToFile(bool adds);
bool SaveAddsToFile();
bool SelectExistingFolder(std::string* folder);
bool GetFileDialog(const char* fileType, std::string* path);
// Tests answer the dialogs; null puts back the headless cancel.
void SetDialogAnswers(PutFileAnswer putFile, FolderAnswer folder, GetFileAnswer getFile = nullptr);

// Selects a written file in the file manager; brings back the application that
// was in front before the hot key. Nothing happens headless; the counts are kept.
void selectfileinfinder(const std::string& posixPath);
void SwitchBack();
struct DesktopCalls {
    int32_t reveals = 0;
    std::string lastRevealed;
    int32_t switchBacks = 0;
};
const DesktopCalls& DesktopCallCounts();

// A desktop program hands these jobs to the desktop: the system clipboard (told of
// every change; asked before a read, it refills *scrap and answers true when another
// program changed it) and the file manager. resetDesktop keeps the hooks.
struct DesktopHooks {
    void (*scrapChanged)(const Scrap& scrap) = nullptr;
    bool (*readScrap)(Scrap* scrap) = nullptr;
    void (*reveal)(const std::string& posixPath) = nullptr;
    void (*switchBack)() = nullptr;
};
void SetDesktopHooks(const DesktopHooks& hooks);

void resetDesktop();

}  // namespace platform
