// The menu bar and the commands of the application, File, Edit and Help menus
// and of the Command keys. Every other menu goes to the loop handler "doMenu"
// with the argument (menu id << 16) | item.
//
// Commands that open or act on windows built elsewhere (the label window, the
// preview, the palettes, printing) call those windows' loop handlers by name:
// "ShowToolWin", "ShowTabWin", "ShowLabelWin" (argument glablayer),
// "NewPreviewWindow", "selectAllItems", "killWp", "deactivateAll",
// "PrintSetUp", "doPrint", "updateDisp", "doUndo", "doCmdKeyDisp" (the key),
// "KillLocalWin" (the window; 1 for the label window), "editMainField" (the
// Edit item, 3 to 6, on the main window's focused field).
#pragma once

#include <cstdint>
#include <string>

// Menu ids.
inline constexpr int16_t kAppleMenu = 128;
inline constexpr int16_t kFileMenu = 129;
inline constexpr int16_t kEditMenu = 130;
inline constexpr int16_t kHelpMenu = 131;
inline constexpr int16_t kLayoutMenu = 134;
inline constexpr int16_t kSaveLayoutMenu = 143;
inline constexpr int16_t kCodeTypeMenu = 144;
inline constexpr int16_t kScriptsMenu = 155;

// File menu items.
enum FileItem : int32_t {
    kFileNew = 1,
    kFileOpen = 2,
    kFileSave = 3,
    kFileSaveAs = 4,
    kFileClosePreview = 5,
    kFileSaveLayoutAs = 6,  // opens menu 143
    kFileSheet = 7,
    kFileLabelSetup = 9,
    kFilePageSetup = 10,
    kFilePrint = 11,
    kFilePrintPreview = 12,
    kFileQuit = 14,
    kFileCloseLabel = 15,
    kFileThermalOnly = 100,
    kFileExample = 202,
};

struct CommandState {
    int32_t glablayer = 0;   // 1: the label window shows the sheet, 0 the label
    int32_t printsheet = 0;  // 1: a sheet of single symbols
    // The list-answer window's outcome, set by the cancel key.
    int32_t pressed = 0;
    int32_t finish = 0;
};
extern CommandState gCommands;

// The menu bar: application, File (with 143), Edit, 134, then Create_Menu's
// code types and Scripts, and Help last. Menus whose resources are missing are
// left out.
void SetUpMenus();
void Create_Menu();

// A MenuSelect result: (menu id << 16) | item. Returns 1.
int32_t DoCommand(int32_t menuResult);
void HandleAppleChoice(int32_t item);
// Returns 1 (0 when a save or an open asked for did not happen: the dialog was
// cancelled or the file was not written).
int32_t DoFile(int32_t item);
// Save Layout As (menu 143): item 1 the document under a new name, as Save As;
// item 2 a template under a name asked for, the document keeping its own.
// 1 when written.
int32_t DoSaveLayoutAs(int32_t item);
// Opens the document at path as File > Open does once the file is chosen (the
// open layout's changes were offered for saving already): 1 when it replaced
// the layout; 0 when it failed, said so and left the layout, its name and its
// changes as they were.
int32_t openDocumentAt(const std::string& path);
int32_t DoEditMenu(int32_t item);
void doHelpItem(int32_t item);
// 1 when the key was handled for good, 0 when the layout's keys should see it.
int32_t doCmdKey(unsigned char ch);

// Registers DoCommand, doCmdKey, DoFile and DoSaveLayoutAs as loop handlers, and the File
// menu's Save as what the question at quit saves with.
void installCommands();
void resetCommands();
