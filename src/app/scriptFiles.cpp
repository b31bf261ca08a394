#include "app/scriptFiles.h"

#include <algorithm>
#include <filesystem>

#include "platform/files.h"
#include "platform/macroman.h"

std::string scriptsFolder() { return platform::userPreferencesFolder() + "/Scripts"; }

std::vector<std::string> listScriptFiles(const std::string& folder) {
    namespace fs = std::filesystem;
    std::vector<std::string> names;
    std::error_code ec;
    fs::directory_iterator it(folder, ec);
    if (ec) return names;
    for (const fs::directory_entry& entry : it) {
        const std::string name = entry.path().filename().string();
        std::string roman;
        if (name.empty() || name[0] == '.' || name.size() > kMostScriptNameBytes) continue;
        if (!platform::utf8ToMacRoman(name, &roman)) continue;
        if (!entry.is_regular_file(ec)) continue;
        names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    if (names.size() > kMostScriptItems) names.resize(kMostScriptItems);
    return names;
}
