#include "app/customTypes.h"

#include <algorithm>

#include "app/defaultsFile.h"
#include "platform/macroman.h"
#include "platform/questions.h"
#include "symbology/messages.h"

CustomMenu gCustom;

namespace {

constexpr int32_t kAnswerSize = 256;
constexpr uint16_t kMsgCustomMissing = 1615;

// The name stored in a custom file; the file's own name when the record holds
// none.
std::string storedName(const std::string& path, const std::string& fileName) {
    std::string bytes;
    if (platform::readRegularFile(path, kMostDefaultsFileBytes, &bytes)) {
        const DefaultsParse parsed = parseDefaultsRecord(bytes);
        if (!parsed.fields.empty() && !parsed.fields[0].text.empty()) return parsed.fields[0].text;
    }
    std::string roman;
    size_t bad = 0;
    return platform::utf8ToMacRoman(fileName, &roman, &bad) ? roman : fileName;
}

// Where a custom type named `name` is saved: its own file when the menu lists
// it (saved again, it is replaced), else the first file name no other type
// holds. Names that differ only in characters a file name cannot keep ("a/b"
// and "a:b") would otherwise replace each other.
std::string customPathFor(const std::string& folder, const std::string& name) {
    const std::string base = folder + "/" + customFileName(name);
    for (int32_t n = 1;; ++n) {
        const std::string path = n == 1 ? base : base + "-" + std::to_string(n);
        const auto listed = std::find_if(gCustom.menu17.begin(), gCustom.menu17.end(),
                                         [&](const CustomItem& i) { return i.path == path; });
        if (listed != gCustom.menu17.end()
                ? listed->name == name
                : platform::pathKind(path) == platform::PathKind::missing)
            return path;
    }
}

}  // namespace

void resetCustomMenu() { gCustom = CustomMenu{}; }

std::string customFolderPath() { return platform::userPreferencesFolder() + "/Custom"; }

std::string customFileName(const std::string& name) {
    std::string n = name;
    std::replace(n.begin(), n.end(), '/', '-');
    std::replace(n.begin(), n.end(), ':', '-');
    if (!n.empty() && n[0] == '.') n[0] = '_';
    return platform::macRomanToUtf8(n);
}

platform::OSErr GetDirID(const std::string& path, bool* isFolder) {
    const platform::PathKind kind = platform::pathKind(path);
    if (isFolder) *isFolder = kind == platform::PathKind::folder;
    return kind == platform::PathKind::missing ? platform::fnfErr : platform::noErr;
}

int32_t GetCustomDirItems() {
    const std::string folder = customFolderPath();
    bool isFolder = false;
    if (GetDirID(folder, &isFolder) != platform::noErr) {
        const platform::OSErr made = platform::createFolder(folder);
        if (made == platform::dupFNErr) return platform::dirNFErr;
        if (made != platform::noErr) return made;
    } else if (!isFolder) {
        return platform::dirNFErr;
    }
    std::vector<std::string> names;
    if (!platform::listFolder(folder, &names)) return platform::ioErr;
    std::vector<CustomItem> found;
    for (const std::string& fileName : names) {
        if (fileName.empty() || fileName[0] == '.') continue;
        const std::string path = folder + "/" + fileName;
        found.push_back({storedName(path, fileName), path});
    }
    std::sort(found.begin(), found.end(), [](const CustomItem& a, const CustomItem& b) {
        return a.name != b.name ? a.name < b.name : a.path < b.path;
    });
    gCustom.menu17.insert(gCustom.menu17.end(), found.begin(), found.end());
    return platform::noErr;
}

int32_t BuildCustMenu() {
    gCustom.menu17.clear();
    return GetCustomDirItems();
}

int32_t GetCustMenuItem(int32_t item) {
    if (item < 1 || size_t(item) > gCustom.menu17.size()) return 0;
    const CustomItem& chosen = gCustom.menu17[size_t(item) - 1];
    char name[kMostNameBytes] = {};
    if (GetTheDefault(chosen.path.c_str(), name, sizeof name, 1)) return 1;
    if (platform::pathKind(chosen.path) == platform::PathKind::missing)
        MessageWith(kMsgCustomMissing, chosen.path);
    return 0;
}

int32_t SaveCustomCode() {
    char answer[kAnswerSize] = {};
    platform::LibAnswerS(kCustomPrompt, answer, kAnswerSize);
    if (answer[0] == 0) return 0;
    const std::string folder = customFolderPath();
    bool isFolder = false;
    if (GetDirID(folder, &isFolder) != platform::noErr) platform::createFolder(folder);
    const std::string path = customPathFor(folder, answer);
    if (SetAsDefault(path.c_str(), answer, 0) != platform::noErr) return 0;
    // Saving again under a name already listed replaces that file, not the menu item.
    const auto same = std::find_if(gCustom.menu17.begin(), gCustom.menu17.end(),
                                   [&](const CustomItem& i) { return i.path == path; });
    if (same == gCustom.menu17.end())
        gCustom.menu17.push_back({answer, path});
    else
        same->name = answer;
    return 1;
}
