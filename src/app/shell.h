// The application's entry and exit glue that needs no window system: the hot
// key's text, the user's folders, the bar font's installation and the question
// at quit. The desktop program hands the windows that answer in to `ShellHost`.
#pragma once

#include <cstdint>
#include <string>

struct ShellState {
    int32_t gRunning = 0;  // non-zero ends the event loop; quit sets -1
    int32_t changed = 0;   // 1: the label layout has unsaved changes
};
extern ShellState gShell;
void resetShell();

// What the shell asks of the windows and files that live elsewhere.
struct ShellHost {
    virtual ~ShellHost() = default;
    // File menu item (3 Save); false when the item did not do its work
    // (a failed or cancelled save).
    virtual bool doFile(int32_t item) = 0;
};
void setShellHost(ShellHost* host);  // nullptr: the items do nothing and succeed

// The function keys F1 to F15 and the hot key taken when the text names none.
constexpr int32_t kFunctionKeys = 15;
constexpr int32_t kDefaultHotKey = 96;  // F5
// The virtual key code of a hot-key text: "F1" to "F15", or one character;
// anything else (empty text, "F0", "F99", "Fx") keeps F5.
int32_t hotKeyCode(const std::string& text);

// The longest folder path the shell builds; longer ones are refused.
constexpr size_t kLongestFolderPath = 255;
// The path, or empty with a message when it is longer than that.
std::string boundedFolderPath(std::string path);
// The user's folder followed by a relative colon path ("Library:Preferences:x")
// as a colon path, or a relative POSIX path ("Library/Fonts/x") as a POSIX path,
// on the XDG folders. Empty, with a message, when the result would be too long.
std::string GetUserFolder(const std::string& relative);
std::string GetUserFolderPosix(const std::string& relative);
// The program's folder, ending in "/"; empty when the system does not say.
std::string GetFolderLocation();

// Copies a font into place through a temporary file and a rename, so that an
// interrupted copy never leaves a partial font; a target that exists with a
// length above 0 counts as installed. false when nothing was installed.
bool installFontFile(const std::string& source, const std::string& target);
// The program's bar font from beside the program into the user's font folder.
void Installfont(const char* name);

// Before a changed label layout is closed or replaced (quit, the close box,
// Open, New): asks whether to save. Returns false when the user chose to save
// and the save failed or was cancelled: the layout stays as it is.
bool saveChanges();
// File > Quit, Ctrl-Q, the main window's close box and a quit request from
// outside: sets gRunning unless the save at quit did not happen.
void requestQuit();
