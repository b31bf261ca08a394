#include "picture/SetUpFiles.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>

#include "platform/files.h"
#include "symbology/messages.h"
#include "symbology/state.h"
#include "vector/Epsout.h"

namespace {

constexpr uint16_t kMsgCannotCreate = 33;
constexpr size_t kMostNameBytes = 100;
constexpr size_t kLastNameBytes = 30;

const char* extensionOfKind() {
    if (gOut.tool == 2 && gOut.ill == kIllPdf) return ".PDF";
    if (gOut.tool == 2 || gOut.tool == 3) return ".EPS";
    if (gOut.tool == 4) return ".TIF";
    if (gOut.tool == 1) return ".TXT";
    return ".PIC";
}

}  // namespace

std::string NewFileName() {
    std::string name;
    if (gOut.appID == 0) {
        if (gOut.title[0])
            name += gOut.title;
        else
            name += std::string(gSym.TeF) + " ";
    }
    if (gOut.title[0] == 0) {
        // Escape pairs (a backslash or a control byte and the byte after it) vanish whole.
        const char* p = gData.chMainCode2;
        const size_t n = strnlen(p, kMainCodeSize);
        size_t len = gData.len11 >= 0 && static_cast<size_t>(gData.len11) < n ? gData.len11 : n;
        std::string printed;
        for (size_t i = 0; i < len; ++i) {
            const unsigned char c = static_cast<unsigned char>(p[i]);
            if (c == '\\' || c <= 32) {
                ++i;
                continue;
            }
            printed += static_cast<char>(c);
        }
        name += printed;
        const size_t dataLen = strnlen(gData.chMainCode, kMainCodeSize);
        if (gSym.nCheck == 0 && dataLen > printed.size()) name += gData.chMainCode[dataLen - 1];
    }
    name.append(gData.chAddCode2, strnlen(gData.chAddCode2, kAddCodeSize));
    if (name.size() > kMostNameBytes) name.resize(kMostNameBytes);
    for (char& c : name)
        if (c == 0) c = ' ';
    if (!name.empty() && name.back() == ' ') name.pop_back();
    for (char& c : name) {
        const unsigned char u = static_cast<unsigned char>(c);
        if (c == ' ' || c == '/' || c == '#' || c == ':' || c == '\\' || u < 32 || u > 126) c = '-';
    }
    if (gOut.fileTyp == 1) name += extensionOfKind();
    if (name.size() > kLastNameBytes) name = name.substr(name.size() - kLastNameBytes);
    return name;
}

int32_t SetUpFiles(int32_t yPos) {
    std::string path = gOut.globFolS;
    if (gOut.fileDia != 4) {
        if (!path.empty() && path.back() != '/') path += '/';
        path += NewFileName();
    }
    if (path.empty()) {
        Message(kMsgCannotCreate);
        return 0;
    }
    // A document is written beside its name and moved there whole. A path that
    // names something other than a regular file (a device, a pipe) is written
    // directly: it must never be replaced.
    struct stat st {};
    const bool special = ::stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode);
    const std::string partial = special ? path : path + ".partial";
    platform::FileRef ref = 0;
    if (platform::FSCreateOpen(partial, &ref) != platform::noErr) {
        Message(kMsgCannotCreate);
        return 0;
    }
    const int32_t refused = EPSout(ref, yPos);
    const bool closed = platform::FSClose(ref) == platform::noErr;
    if (refused != 0 || !closed) {
        if (refused == 0) Message(kMsgVectorWriteFailed);
        if (!special) ::unlink(partial.c_str());
        return 0;
    }
    if (!special && std::rename(partial.c_str(), path.c_str()) != 0) {
        ::unlink(partial.c_str());
        Message(kMsgCannotCreate);
        return 0;
    }
    copyBounded(gOut.gfullpathp, path.c_str());
    return 1;
}
