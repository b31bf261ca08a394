#include "app/shell.h"

#include <unistd.h>

#include <array>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "platform/files.h"
#include "platform/questions.h"
#include "symbology/host.h"
#include "symbology/messages.h"

ShellState gShell;

namespace {

ShellHost* gHost = nullptr;

// Virtual key codes of F1 to F15.
constexpr std::array<int32_t, kFunctionKeys> kFunctionKeyCodes = {
    122, 120, 99, 118, 96, 97, 98, 100, 101, 109, 103, 111, 105, 107, 113};

struct CharKey {
    char c;
    int32_t key;
};
// The ANSI keyboard's key codes of the characters a hot key may name.
constexpr CharKey kCharKeys[] = {
    {'a', 0},  {'s', 1},  {'d', 2},   {'f', 3},  {'h', 4},  {'g', 5},  {'z', 6},  {'x', 7},
    {'c', 8},  {'v', 9},  {'b', 11},  {'q', 12}, {'w', 13}, {'e', 14}, {'r', 15}, {'y', 16},
    {'t', 17}, {'1', 18}, {'2', 19},  {'3', 20}, {'4', 21}, {'6', 22}, {'5', 23}, {'9', 25},
    {'7', 26}, {'-', 27}, {'8', 28},  {'0', 29}, {'o', 31}, {'u', 32}, {'i', 34}, {'p', 35},
    {'l', 37}, {'j', 38}, {'\'', 39}, {'k', 40}, {';', 41}, {':', 41}, {',', 43}, {'<', 43},
    {'n', 45}, {'m', 46}, {'.', 47},  {'>', 47}, {' ', 49}, {'*', 67},
};

// The question at quit: question 15 of list 142, buttons 18 (save) and 19.
constexpr int32_t kQuestionList = 142;
constexpr int32_t kSaveQuestion = 15;
constexpr int32_t kSaveButton = 18;
constexpr int32_t kDontSaveButton = 19;
constexpr int32_t kFileSave = 3;
constexpr const char* kBarFontName = "Strixel.TTF";

std::string homeFolder() {
    const char* home = std::getenv("HOME");
    return home ? home : "";
}

}  // namespace

std::string boundedFolderPath(std::string path) {
    if (path.size() > kLongestFolderPath) {
        MessageText("The folder's path is longer than 255 characters. Choose a shorter one.");
        return {};
    }
    return path;
}

void resetShell() {
    gShell = ShellState{};
    gHost = nullptr;
}

void setShellHost(ShellHost* host) { gHost = host; }

int32_t hotKeyCode(const std::string& text) {
    if (text.size() == 1) {
        const char c = static_cast<char>(std::tolower(static_cast<unsigned char>(text[0])));
        for (const CharKey& k : kCharKeys)
            if (k.c == c) return k.key;
        return kDefaultHotKey;
    }
    if (text.size() < 2 || text[0] != 'F') return kDefaultHotKey;
    int32_t n = 0;
    for (size_t i = 1; i < text.size(); ++i) {
        if (!std::isdigit(static_cast<unsigned char>(text[i])) || n > kFunctionKeys)
            return kDefaultHotKey;
        n = n * 10 + (text[i] - '0');
    }
    if (n < 1 || n > kFunctionKeys) return kDefaultHotKey;
    return kFunctionKeyCodes[static_cast<size_t>(n - 1)];
}

std::string GetUserFolder(const std::string& relative) {
    std::string posix = relative;
    for (char& c : posix)
        if (c == ':') c = '/';
    return boundedFolderPath(platform::posixToColon(homeFolder() + "/" + posix));
}

std::string GetUserFolderPosix(const std::string& relative) {
    // Through the colon form, which puts Library/Preferences and Library/Fonts
    // on their XDG folders.
    const std::string colon = platform::posixToColon(homeFolder() + "/" + relative);
    return boundedFolderPath(platform::colonToPosix(colon));
}

std::string GetFolderLocation() {
    std::string folder = platform::programFolder();
    if (folder.empty()) return {};
    if (folder.back() != '/') folder += '/';
    return folder;
}

bool installFontFile(const std::string& source, const std::string& target) {
    namespace fs = std::filesystem;
    std::error_code ec;
    if (fs::is_regular_file(target, ec) && fs::file_size(target, ec) > 0 && !ec) return false;
    std::ifstream in(source, std::ios::binary);
    if (!in) return false;
    fs::create_directories(fs::path(target).parent_path(), ec);
    const std::string temporary = target + ".part" + std::to_string(getpid());
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out) return false;
        out << in.rdbuf();
        out.flush();
        if (!out || in.bad()) {
            out.close();
            fs::remove(temporary, ec);
            return false;
        }
    }
    fs::rename(temporary, target, ec);
    if (ec) {
        fs::remove(temporary, ec);
        return false;
    }
    return true;
}

void Installfont(const char*) {
    const std::string folder = GetFolderLocation();
    const std::string target = GetUserFolderPosix(std::string("Library/Fonts/") + kBarFontName);
    if (folder.empty() || target.empty()) return;
    installFontFile(folder + kBarFontName, target);
}

bool saveChanges() {
    if (gShell.changed != 1 || !labelLayoutOpen()) return true;
    // Return saves: here the second button is the one that throws work away.
    if (platform::AskerBox(kQuestionList, kSaveQuestion, kSaveButton, kDontSaveButton,
                           platform::kAskerFirstButton) != platform::kAskerFirstButton)
        return true;
    return gHost ? gHost->doFile(kFileSave) : true;
}

void requestQuit() {
    if (!saveChanges()) return;
    gShell.gRunning = -1;
}
