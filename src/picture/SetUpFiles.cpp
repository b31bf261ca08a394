#include "picture/SetUpFiles.h"

#include <algorithm>
#include <cstring>

#include "platform/files.h"
#include "platform/macroman.h"
#include "platform/resources.h"
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

// The message, followed by the path and the system's reason; a path too long for
// the box loses its middle.
void reportFileFailure(uint16_t n) {
    unsigned char text[256];
    platform::StringResourceGetString(text, 136, n);
    std::string why = platform::FSFailureText();
    std::string roman;
    size_t bad = 0;
    if (platform::utf8ToMacRoman(why, &roman, &bad)) why = roman;
    std::string said(reinterpret_cast<const char*>(text + 1), text[0]);
    if (why.empty() || said.empty()) {
        Message(n);
        return;
    }
    // The box holds 255 bytes; the texts of the list leave room for a path.
    constexpr size_t kMostMessageBytes = 255;
    const size_t room = kMostMessageBytes - std::min(said.size() + 3, kMostMessageBytes);
    if (why.size() > room) {
        const size_t head = room / 2, tail = room - head - std::min<size_t>(room - head, 3);
        why = why.substr(0, head) + "..." + why.substr(why.size() - tail);
    }
    said += " (" + why + ")";
    MessageText(said.c_str());
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
    platform::FileRef ref = 0;
    if (platform::FSCreateReplacement(path, &ref) != platform::noErr) {
        reportFileFailure(kMsgCannotCreate);
        return 0;
    }
    if (EPSout(ref, yPos) != 0) {
        platform::FSDiscard(ref);
        return 0;
    }
    const platform::OSErr err = platform::FSCommit(ref);
    if (err != platform::noErr) {
        reportFileFailure(err == platform::dskFulErr ? kMsgVectorWriteFailed : kMsgCannotCreate);
        return 0;
    }
    copyBounded(gOut.gfullpathp, path.c_str());
    return 1;
}
