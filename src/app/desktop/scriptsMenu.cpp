#include "app/desktop/scriptsMenu.h"

#include <sys/stat.h>

#include <cstdlib>
#include <vector>

#include "app/desktop/outsideInterface.h"
#include "app/scriptFiles.h"
#include "platform/macroman.h"
#include "platform/toolbox/dialogs.h"
#include "symbology/messages.h"

namespace {

// The files the menu's items stand for, by item from 1 (UTF-8 names).
std::vector<std::string> gScriptNames;
std::string gScriptFolder;
DocumentOpener gOpener = nullptr;

// A placeholder item, renamed at once: AppendMenu would read a name's ";", "("
// or "/" as its own marks.
const unsigned char kPlaceholder[] = "\x01x";

}  // namespace

void BuildScriptMenu(toolbox::MenuHandle menu, int32_t) {
    gScriptNames.clear();
    gScriptFolder = scriptsFolder();
    if (!menu) return;
    while (toolbox::CountMenuItems(menu) > 0) toolbox::DeleteMenuItem(menu, 1);
    for (const std::string& name : listScriptFiles(gScriptFolder)) {
        std::string roman;
        platform::utf8ToMacRoman(name, &roman);  // listed names all have a form
        unsigned char title[256];
        title[0] = static_cast<unsigned char>(roman.size());
        roman.copy(reinterpret_cast<char*>(title + 1), roman.size());
        toolbox::AppendMenu(menu, kPlaceholder);
        toolbox::SetMenuItemText(menu, toolbox::CountMenuItems(menu), title);
        gScriptNames.push_back(name);
    }
}

void GetScriptMenuItem(int32_t item, int32_t, const unsigned char*) {
    if (item < 1 || size_t(item) > gScriptNames.size()) return;
    const std::string& name = gScriptNames[size_t(item) - 1];
    std::string text, why;
    if (!readScriptFile(gScriptFolder + "/" + name, &text, &why)) {
        std::string roman;
        if (!platform::utf8ToMacRoman("The script cannot be read: " + why, &roman))
            roman = "The script " + name + " cannot be read.";
        MessageText(roman.c_str());
        return;
    }
    const char* home = std::getenv("HOME");
    runScriptRecords(text, home && home[0] == '/' ? home : gScriptFolder, name);
}

bool TestCAppleScript(const std::string& posixPath) {
    struct stat st {};
    if (::stat(posixPath.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
    return gOpener ? gOpener(posixPath) : toolbox::OpenDocument(posixPath);
}

void setDocumentOpener(DocumentOpener opener) { gOpener = opener; }
