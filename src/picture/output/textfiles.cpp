#include "picture/output/textfiles.h"

#include <algorithm>
#include <limits>
#include <string_view>

#include "picture/output/SetUpFiles.h"
#include "labels/production.h"
#include "picture/outputstate.h"
#include "platform/files.h"
#include "platform/macroman.h"
#include "symbology/state.h"

namespace {

constexpr unsigned char kReturn = 13;
constexpr size_t kCopyBlock = 64 * 1024;
constexpr double kLowBarsMm = 5.0;  // lower bars: the line is the last row's readable text

// Bytes that code page 1252 lacks as Mac OS Roman has them, and the control
// bytes of the bar fonts, onto the codes their files expect.
struct AnsiRow {
    unsigned char from;
    unsigned char to;
};
constexpr AnsiRow kAnsiRows[] = {
    {1, 208},   {224, 208}, {2, 240},   {218, 240}, {5, 138},   {6, 154},   {7, 221},
    {8, 253},   {21, 189},  {184, 189}, {22, 188},  {185, 188}, {23, 185},  {186, 185},
    {24, 190},  {188, 190}, {25, 179},  {189, 179}, {26, 178},  {222, 178}, {27, 166},
    {223, 166}, {28, 173},  {29, 215},  {197, 222}, {198, 254}, {219, 164}, {254, 160},
};
// Mac OS Roman bytes kept as they are although code page 1252 has their character.
constexpr unsigned char kAnsiKept[] = {173, 176, 178, 179, 182, 183, 195, 215, 225, 240,
                                       243, 245, 246, 247, 248, 249, 250, 251, 253, 255};

bool isAsciiAlnum(unsigned char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

}  // namespace

std::string MACtoMacRomanUnicode(const unsigned char* text, size_t n) {
    std::string out;
    out.reserve(2 + 2 * n + 32);
    auto unit = [&out](char32_t u) {
        out += static_cast<char>(u >> 8 & 0xFF);
        out += static_cast<char>(u & 0xFF);
    };
    unit(0xFEFF);
    for (size_t i = 0; i < n; ++i) {
        unit(platform::macRomanToUnicode(text[i]));
        if (text[i] == kReturn) unit('\n');
    }
    return out;
}

std::string MACtoUTF8(const unsigned char* text, size_t n) {
    return "\xEF\xBB\xBF" +
           platform::macRomanToUtf8(std::string_view(reinterpret_cast<const char*>(text), n));
}

void MACtoANSI(unsigned char* text, size_t n) {
    for (size_t i = 0; i < n; ++i) {
        const unsigned char b = text[i];
        bool done = false;
        for (const AnsiRow& r : kAnsiRows)
            if (r.from == b) text[i] = r.to, done = true;
        if (done || b < 128) continue;
        for (unsigned char k : kAnsiKept)
            if (k == b) done = true;
        if (done) continue;
        const int w = platform::macRomanToWindows1252(b);
        if (w >= 0) text[i] = static_cast<unsigned char>(w);
    }
}

std::string saveItemToFile() {
    const size_t n = static_cast<size_t>(std::max<int32_t>(0, gEl.cu_len));
    std::string line;
    if (gSym.Hei < kLowBarsMm) {
        size_t start = 0;
        for (size_t i = 0; i < n; ++i)
            if (gEl.chNum[i] == kReturn) start = i + 1;
        for (size_t i = start; i < n; ++i)
            if (isAsciiAlnum(gEl.chNum[i])) line += static_cast<char>(gEl.chNum[i]);
    } else {
        line.assign(reinterpret_cast<const char*>(gEl.chNum), n);
    }
    line += static_cast<char>(kReturn);
    return line;
}

namespace {

// A later run adds to the file of an earlier one: its new version starts with
// the old bytes. A target that is no regular file (a device) is written directly.
bool copyOldLines(const std::string& path, platform::FileRef to) {
    platform::FileRef from = 0;
    if (platform::FSOpenRegular(path, std::numeric_limits<int32_t>::max(), &from) !=
        platform::noErr)
        return true;  // nothing to keep
    std::string block(kCopyBlock, '\0');
    platform::OSErr err = platform::noErr;
    while (err == platform::noErr) {
        int32_t n = static_cast<int32_t>(block.size());
        const platform::OSErr read = platform::FSRead(from, &n, block.data());
        if (n > 0) err = platform::FSWrite(to, &n, block.data());
        if (read != platform::noErr) {
            if (read != platform::eofErr) err = read;
            break;
        }
    }
    platform::FSClose(from);
    return err == platform::noErr;
}

// The run's file could not be written: it stays as it was, and the run ends.
void failTextRun() {
    abandonTextRun();
    gPictOut.textFileFailed = true;
}

// Opens the new version of the run's file: the remembered one when the run adds
// to it, else a file named as output kind 7.
bool startTextFile() {
    const bool adding = gPictOut.sameFile == 1 && !gPictOut.theFileName2.empty();
    std::string path = gPictOut.theFileName2;
    if (!adding) {
        const int32_t keep = gOut.tool;
        gOut.tool = kOutTextLine;
        const bool named = NewFile(&path);
        gOut.tool = keep;
        if (!named) return false;
    } else if (!outputSparesReadFiles(path)) {
        return false;
    }
    platform::FileRef ref = 0;
    if (platform::FSCreateReplacement(path, &ref) != platform::noErr) {
        reportFileFailure(kMsgCannotCreate);
        failTextRun();
        return false;
    }
    if (adding && !copyOldLines(path, ref)) {
        platform::FSDiscard(ref);
        reportFileFailure(kMsgWriteIncomplete);
        failTextRun();
        return false;
    }
    gPictOut.textRunRef = ref;
    gPictOut.theFileName2 = path;
    return true;
}

}  // namespace

int32_t SaveTextToFile(int32_t /*yPos*/) {
    const std::string line = saveItemToFile();
    if (gPictOut.textRunRef == 0 && !startTextFile()) return 0;
    int32_t n = static_cast<int32_t>(line.size());
    // A device or pipe is flushed at once, so that a full one is reported at the
    // record that met it. A new version of a file is not: it is put in place
    // whole at the run's end or not at all, so its lines are written in blocks.
    const platform::FileRef ref = gPictOut.textRunRef;
    if (platform::FSWrite(ref, &n, line.data()) != platform::noErr ||
        (platform::FSWritesThrough(ref) && platform::FSFlush(ref) != platform::noErr)) {
        reportFileFailure(kMsgWriteIncomplete);
        failTextRun();
        return 0;
    }
    disposePict();
    // A run keeps its file open until it ends; a single symbol's file is put in place now.
    if (gProd.background != 0) {
        gPictOut.sameFile = 1;
        return 1;
    }
    return endTextRun() ? 1 : 0;
}
