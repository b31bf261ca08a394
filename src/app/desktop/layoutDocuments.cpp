#include "app/desktop/layoutDocuments.h"

#include <filesystem>
#include <cstring>
#include <fstream>

#include "app/desktop/eventLoop.h"
#include "app/desktop/layoutPalettes.h"
#include "app/desktop/layoutWindow.h"
#include "app/defaultsFile.h"
#include "app/layoutGeometry.h"
#include "app/preferences.h"
#include "app/shell.h"
#include "automation/options.h"
#include "labels/labelFile.h"
#include "labels/layoutText.h"
#include "labels/runs/itemOps.h"
#include "platform/desktop.h"
#include "platform/macroman.h"
#include "platform/questions.h"

using namespace toolbox;

namespace {

constexpr const char* kUntitled = "Untitled";
constexpr const char* kTemplateExtension = ".labt";
constexpr const char* kDocumentExtension = ".labl";
constexpr size_t kEpsMagicBytes = 40;

bool isEpsFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::string head(kEpsMagicBytes, '\0');
    in.read(head.data(), std::streamsize(head.size()));
    head.resize(size_t(in.gcount()));
    // A DOS EPS binary header, or a PostScript header that names EPSF.
    if (head.size() >= 4 && static_cast<unsigned char>(head[0]) == 0xC5 &&
        static_cast<unsigned char>(head[1]) == 0xD0)
        return true;
    return head.rfind("%!PS-Adobe", 0) == 0 && head.find("EPSF") != std::string::npos;
}

bool hasExtension(const std::string& path, const char* ext) {
    return std::filesystem::path(path).extension() == ext;
}

void showPalettes() {
    if (gPrefs.hideIF != 0) return;
    if (!gWindows.ToolWin) ShowToolWin();
    if (!gWindows.TabWin) ShowTabWin();
}

}  // namespace

std::string openedDocumentName(const std::string& path) {
    return hasExtension(path, kTemplateExtension) ? kUntitled : path;
}

std::string layoutTitle() {
    const std::string& name = gDocFile.globFilS;
    if (name.empty() || name == kUntitled) return kUntitled;
    // Titles are Mac OS Roman; the file system's names are UTF-8.
    return platform::utf8ToMacRomanShown(std::filesystem::path(name).filename().string());
}

void retitleLayoutWindow() {
    if (!gWindows.disp2) return;
    const std::string t = layoutTitle();
    unsigned char p[256];
    p[0] = static_cast<unsigned char>(std::min<size_t>(t.size(), 255));
    std::memcpy(p + 1, t.data(), p[0]);
    SetWTitle(gWindows.disp2, p);
}

void newLayoutDocument() {
    showPalettes();
    gDocFile.impoFile.clear();
    deleteAllItems(gLabel.labelParts, labelBack);
    gDocFile.globFilS = kUntitled;
    disposeDisp2();
}

void openLayoutWindow() {
    showPalettes();
    disposeDisp2();
    NewPreviewWindow();
    retitleLayoutWindow();
    if (gWindows.disp2) SelectWindow(gWindows.disp2);
}

int32_t openLayoutDocument() {
    gShell.changed = 0;
    gDocFile.impoFile.clear();
    showPalettes();
    std::string path;
    if (!platform::GetFileDialog("labl", &path)) return 0;
    if (isEpsFile(path)) {
        if (GetSettingsFromEpsAt(path, ConvertString) == 1) showSymbolSettings();
        return 0;
    }
    platform::ShowGauge("Loading Objects from File");
    const int32_t loaded = loadDocumentFrom(path);
    platform::SetGauge(1, 1);
    platform::KillGauge();
    if (loaded != 1) return 0;
    gDocFile.globFilS = openedDocumentName(path);
    selectAllItems(0);
    recomputeSelRect();
    openLayoutWindow();
    InvalRuler();
    return 1;
}

bool saveLayoutDocument(int32_t mode) {
    const bool asTemplate = mode == 2;
    gDocFile.fileType = asTemplate ? kTemplateType : kDocumentType;
    const bool unnamed = gDocFile.globFilS.empty() || gDocFile.globFilS == kUntitled;
    std::string path = gDocFile.globFilS;
    if (mode != 0 || unnamed) {
        // A template is offered under the template extension, so that opening
        // it again starts an untitled document.
        std::filesystem::path suggested =
            unnamed ? std::filesystem::path(std::string(kUntitled) + kDocumentExtension)
                    : std::filesystem::path(path).filename();
        if (asTemplate) suggested.replace_extension(kTemplateExtension);
        if (!platform::PutFileDialog(suggested.string(), &path)) return false;
    }
    // Option held: the layout text export goes into the chosen file instead.
    // It is no copy of the document: the layout keeps its name and its
    // changes stay marked, so that quitting still asks.
    if (optionKeyDown()) {
        saveLayoutTextTo(path);
        return false;
    }
    platform::ShowGauge("Saving Objects to File");
    const int32_t failed = saveDocumentTo(path);
    platform::SetGauge(labelBack.lastItem + 1, labelBack.lastItem + 1);
    platform::KillGauge();
    if (failed != 0) return false;
    // A template is opened again as a new document: the open one keeps its
    // name, and its changes, which its own file does not hold yet.
    if (asTemplate) return true;
    gShell.changed = 0;
    gDocFile.globFilS = path;
    retitleLayoutWindow();
    return true;
}
