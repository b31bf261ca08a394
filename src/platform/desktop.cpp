#include "platform/desktop.h"

namespace platform {

namespace {

Scrap gScrap;
DesktopCalls gCalls;
PutFileAnswer gPutFile = nullptr;
bool gSaveAdds = false;
FolderAnswer gFolder = nullptr;
GetFileAnswer gGetFile = nullptr;
DesktopHooks gHooks;

void changed() {
    if (gHooks.scrapChanged) gHooks.scrapChanged(gScrap);
}

}  // namespace

void ZeroScrap() {
    const int32_t handovers = gScrap.handovers;
    gScrap = Scrap{};
    gScrap.handovers = handovers;
    changed();
}

void PutScrapText(const std::string& text, const std::string& fontName, int32_t fontSize) {
    gScrap.text = text;
    gScrap.fontName = fontName;
    gScrap.fontSize = fontSize;
    gScrap.flavours["TEXT"] = text;
    changed();
}

void PutScrapPict(const std::string& pictBytes) {
    gScrap.pict = pictBytes;
    gScrap.flavours["PICT"] = pictBytes;
    changed();
}

void PutScrapFlavor(const std::string& type, const std::string& bytes) {
    if (type == "PICT") gScrap.pict = bytes;
    if (type == "TEXT") gScrap.text = bytes;
    gScrap.flavours[type] = bytes;
    changed();
}

bool GetScrapFlavor(const std::string& type, std::string* bytes) {
    Scrap fresh;
    if (gHooks.readScrap && gHooks.readScrap(&fresh)) {
        fresh.handovers = gScrap.handovers;
        gScrap = fresh;
    }
    const auto f = gScrap.flavours.find(type);
    if (f == gScrap.flavours.end()) return false;
    *bytes = f->second;
    return true;
}
void UnloadScrap() { ++gScrap.handovers; }
const Scrap& ScrapContents() { return gScrap; }

bool PutFileDialog(const std::string& suggestedName, std::string* path) {
    return gPutFile && gPutFile(suggestedName, path);
}

void SetSaveAddsToFile(bool adds) { gSaveAdds = adds; }
bool SaveAddsToFile() { return gSaveAdds; }

bool SelectExistingFolder(std::string* folder) { return gFolder && gFolder(folder); }

bool GetFileDialog(const char* fileType, std::string* path) {
    return gGetFile && gGetFile(fileType, path);
}

void SetDialogAnswers(PutFileAnswer putFile, FolderAnswer folder, GetFileAnswer getFile) {
    gPutFile = putFile;
    gFolder = folder;
    gGetFile = getFile;
}

void selectfileinfinder(const std::string& posixPath) {
    ++gCalls.reveals;
    gCalls.lastRevealed = posixPath;
    if (gHooks.reveal) gHooks.reveal(posixPath);
}

void SwitchBack() {
    ++gCalls.switchBacks;
    if (gHooks.switchBack) gHooks.switchBack();
}

void SetDesktopHooks(const DesktopHooks& hooks) { gHooks = hooks; }
const DesktopCalls& DesktopCallCounts() { return gCalls; }

void resetDesktop() {
    gScrap = Scrap{};
    gCalls = DesktopCalls{};
    gPutFile = nullptr;
    gFolder = nullptr;
    gGetFile = nullptr;
}

}  // namespace platform
