#include "app/fileDialogs.h"

#include <unistd.h>

#include "app/shell.h"
#include "platform/desktop.h"
#include "platform/files.h"
#include "platform/resources.h"
#include "symbology/messages.h"

namespace {

constexpr int32_t kUserCanceled = -128;
constexpr int32_t kSaveCancelled = 1;
constexpr int32_t kDialogList = 143;
constexpr int32_t kLockedText = 2;
constexpr int32_t kOtherText = 3;
constexpr int32_t kLockedErrors[] = {-46, -5031, -44, -54};
constexpr int32_t kPermissionError = -54;
constexpr int32_t kFileNotFound = -43;

bool continuationByte(unsigned char c) { return (c & 0xC0) == 0x80; }

std::string withSlash(std::string path) {
    if (path.empty() || path.back() != '/') path += '/';
    return path;
}

}  // namespace

std::string saveDialogName(const std::string& defaultName) {
    size_t chars = 0;
    size_t from = defaultName.size();
    while (from > 0 && chars < kSaveNameShown) {
        --from;
        while (from > 0 && continuationByte(static_cast<unsigned char>(defaultName[from]))) --from;
        ++chars;
    }
    return defaultName.substr(from);
}

std::string translationErrorText(int32_t error) {
    for (int32_t e : kLockedErrors)
        if (e == error) return platform::StringResourceText(kDialogList, kLockedText);
    return platform::StringResourceText(kDialogList, kOtherText);
}

int32_t DoOpenDocument(const char* fileType, std::string* path) {
    std::string chosen;
    if (!platform::GetFileDialog(fileType, &chosen) || chosen.empty()) return kUserCanceled;
    int32_t error = 0;
    if (platform::pathKind(chosen) != platform::PathKind::file)
        error = kFileNotFound;
    else if (::access(chosen.c_str(), R_OK) != 0)
        error = kPermissionError;
    if (error != 0) {
        MessageText(translationErrorText(error).c_str());
        return error;
    }
    if (path) *path = chosen;
    return 0;
}

int32_t DoSaveAsDocument(const std::string& defaultName, std::string* path) {
    std::string chosen;
    if (!platform::PutFileDialog(saveDialogName(defaultName), &chosen) || chosen.empty())
        return kSaveCancelled;
    if (path) *path = chosen;
    return 0;
}

std::string converttohfs(const std::string& posixPath) {
    std::string colon = platform::posixToColon(posixPath);
    if (colon.empty() || colon.back() != ':') colon += ':';
    return colon;
}

std::string SelectExistingFolder(int32_t mode) {
    std::string folder;
    std::string dest;
    if (platform::SelectExistingFolder(&folder) && !folder.empty()) {
        dest = withSlash(folder);
        if (mode == 1) dest = converttohfs(dest);
        dest = boundedFolderPath(dest);
    }
    if (mode == 1 && dest.empty()) dest = GetUserFolder("Documents:");
    return dest;
}
