// The symbol being made: settings, data and the element list. One instance of
// each, shared by the encoders, the painters and the front ends.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

using Str255 = unsigned char[256];  // Pascal string: length byte, then up to 255 bytes

constexpr size_t kMainCodeSize = 2048;
constexpr size_t kAddCodeSize = 256;
constexpr size_t kHeadCodeSize = 64;
constexpr size_t kAffixSize = 256;
// The element list holds the largest symbol of every family (module bytes or
// block letters, each row ended by 13, then a NUL):
// - PDF417, 90 rows of 30 data columns: start 17, 32 codewords of 17, stop 18, 13;
constexpr size_t kLargestPdf417Bytes = 90 * (17 + 32 * 17 + 18 + 1) + 1;  // 52,201
// - QR Code version 40, 177 modules square, in bands of four rows;
constexpr size_t kLargestQrBytes = (177 + 3) / 4 * (177 + 1) + 1;  // 8,011
// - DataMatrix 144 x 144, in bands of four rows;
constexpr size_t kLargestDataMatrixBytes = 144 / 4 * (144 + 1) + 1;  // 5,221
// - DataBar Expanded Stacked at two segments a row: 11 rows of 53 modules with
//   three separator rows between rows, under a 4-column composite of 44 rows of
//   99 modules with its separator, and a text line.
constexpr size_t kLargestDataBarBytes = (11 + 10 * 3) * (53 + 1) + 45 * (99 + 1) + 256;  // 6,970
constexpr size_t kElementListSize =
    std::max({kLargestPdf417Bytes, kLargestQrBytes, kLargestDataMatrixBytes, kLargestDataBarBytes});
constexpr size_t kTeFSize = 64;

struct SymbolSettings {
    int32_t code = 0;        // family 0..42
    int32_t variation1 = 0;  // variant within the family
    int32_t variation = 0;   // family 15 only: below 2 "M&S Shoe", else "M&S T&B"
    int32_t nCheck = 0;      // 1 = no optional check character
    int32_t ratio = 5;       // 5 = 2.5:1, 3 = 3:1, 2 = 2.2:1, 0 = 2:1, -1 from the magnification
    int32_t chSpace = 0;
    int32_t human = 1;
    int32_t non_light = 1;
    int32_t insetAmount = 0;
    int32_t cutMarks = 0;
    int32_t flushBars = 1;
    double Siz = 100.0;     // magnification, percent
    double Hei = 0.0;       // bar height, mm (0 = automatic)
    int32_t BWidthRed = 0;  // bar-width reduction, micrometres
    int32_t BW = 0;         // bar-font width step 0..5
    int32_t cLength = 0;    // requested symbol length, mm
    int32_t lMode = 0;
    int32_t spec = 0;
    int32_t customTeSize = 0;
    double line = 0.0;   // bearer width, points
    double gline = 0.0;  // guard drop correction with bearers
    int32_t AboveHu = 0;
    int32_t multi_line = 0;
    int32_t black2 = 100;
    int32_t cyan2 = 0;
    int32_t magenta2 = 0;
    int32_t yellow2 = 0;
    int32_t black22 = 0;
    int32_t cyan22 = 0;
    int32_t magenta22 = 0;
    int32_t yellow22 = 0;
    Str255 fontAbove = {7, 'S', 't', 'r', 'i', 'x', 'e', 'l'};
    Str255 fontBelow = {7, 'S', 't', 'r', 'i', 'x', 'e', 'l'};
    Str255 defFont = {7, 'S', 't', 'r', 'i', 'x', 'e', 'l'};
    Str255 barFont = {7, 'S', 't', 'r', 'i', 'x', 'e', 'l'};
    Str255 gHelvetica = {9, 'H', 'e', 'l', 'v', 'e', 't', 'i', 'c', 'a'};
    char TeF[kTeFSize] = {};  // display name of the current code type
    int32_t gglen = 0;        // fixed data length (0 = free)
    int32_t canEdit3 = 0;
    int32_t anumer = 0;

    // Read by the painters and set by the shell and the label items.
    int32_t extraMargin = 0;
    double cuHei = 0;  // bar height in mm kept by the label item
    int32_t attTop = 0;
    int32_t HaTex = 0;
    int32_t textAsFont = 0;
    int32_t strip_extra = 0;
    int32_t smallFirstChar = 0;
    int32_t drawExtraText = 0;
    int32_t transpar_ent = 0;
    int32_t grip = 0;
    int32_t TEjust = 0;
    int32_t gTrackAdjust = 0;
    double gBaseAdjust = 0;
    int32_t overPrint = 0;
    int32_t Hgauge = 0;
    int32_t end_bars = 0;
    int32_t noNarrow = 0;
    Str255 customCol = {};  // spot colour name
    int32_t customColour = 0;
    int32_t para = 0;
    int32_t hMode = 0;   // unit of the height field: 2 inches
    int32_t TEface = 0;  // text style bits of a text item; bit 0 bold
    int32_t orient = 0;  // rotation of the item last loaded, degrees
    int32_t HgaugeJ = 0;
    int32_t bol = 0;  // bold flag of the next character the painters set
};

struct SymbolData {
    char chMainCode[kMainCodeSize] = {};
    int32_t len1 = 0;
    char chMainCode2[kMainCodeSize] = {};  // printed copy
    int32_t len11 = 0;
    char chMainCode3[kMainCodeSize] = {};  // data of the last symbol generated
    char chMainCode4[kAddCodeSize] = {};   // UPC-E data before expansion
    char chAddCode[kAddCodeSize] = {};     // add-on, or a 2-D options text
    int32_t len2 = 0;
    char chAddCode2[kAddCodeSize] = {};
    int32_t len22 = 0;
    char chHeadCode[kHeadCodeSize] = {};  // text set above the symbol
    int32_t len3 = 0;
    char chPrefix[kAffixSize] = {};
    char chSuffix[kAffixSize] = {};
};

// The encoders' output: one byte per element, module or block letter; 13 ends a
// row. Appends past the end are refused and mark the list as overflowed, so no
// encoder can write past the buffer; the dispatcher reports the overflow.
struct ElementList {
    unsigned char chNum[kElementListSize] = {};
    int32_t cu_len = 0;
    bool overflow = false;
    // Bytes from here on have not been written since the list was made or
    // emptied: a reset between records clears the written part alone.
    int32_t written = 0;

    bool put(unsigned char b) {
        if (cu_len >= static_cast<int32_t>(kElementListSize)) {
            overflow = true;
            return false;
        }
        chNum[cu_len++] = b;
        if (cu_len > written) written = cu_len;
        return true;
    }
    // Appends n bytes copied from [from, from + n); the caller has made sure they fit.
    void copyWithin(int32_t from, size_t n) {
        std::memmove(chNum + cu_len, chNum + from, n);
        cu_len += static_cast<int32_t>(n);
        if (cu_len > written) written = cu_len;
    }
    bool put(const unsigned char* bytes, size_t n) {
        for (size_t i = 0; i < n; ++i) {
            if (!put(bytes[i])) return false;
        }
        return true;
    }
    // Room for n more bytes?
    bool fits(size_t n) const { return static_cast<size_t>(cu_len) + n <= kElementListSize; }
    // The PDF417 and block-letter lists end with a NUL that cu_len does not count.
    bool terminate() {
        if (cu_len >= static_cast<int32_t>(kElementListSize)) {
            overflow = true;
            return false;
        }
        chNum[cu_len] = 0;
        if (cu_len >= written) written = cu_len + 1;
        return true;
    }
    void clear() {
        cu_len = 0;
        overflow = false;
        chNum[0] = 0;
    }
    // As a fresh list, without clearing bytes that were never written.
    void reset() {
        std::memset(chNum, 0, static_cast<size_t>(written));
        cu_len = 0;
        overflow = false;
        written = 0;
    }
};

struct OutputSettings {
    int32_t tool = 0;       // output kind: 2 a vector file
    int32_t ill = 1;        // vector dialect: 1, 88, 93, 95, 25, 2, 1115
    int32_t purePost = 0;   // 0 EPS, 1 plain PostScript, 2 PostScript in a job wrapper
    int32_t fileDia = 0;    // naming mode: 3 folder globFolS + name, 4 globFolS is the whole path
    int32_t fileTyp = 1;    // 1: add the extension of the output kind
    int32_t appID = 0;      // 0: names begin with the title or the code-type name
    int32_t outToFile = 0;  // 0 the clipboard, 1 or 2 a file
    int32_t showDia = 0;    // non-zero: delivered without a preview (no dialogs, no notes)
    int32_t features = 0;   // 1: written files are shown in the file manager
    char globFolS[1024] = {};    // POSIX folder (mode 3) or whole path (mode 4)
    char gfullpathp[1024] = {};  // the last file written
    char title[52] = {};         // the production run's title field
};

extern SymbolSettings gSym;
extern SymbolData gData;
extern ElementList gEl;
extern OutputSettings gOut;

// Pascal-string helpers for the font slots and toolbox texts.
void pstrSet(unsigned char* dst, const char* text);           // bounded at 255
void pstrCopy(unsigned char* dst, const unsigned char* src);  // whole Str255
bool pstrEquals(const unsigned char* p, const char* text);

// Bounded C-string copy into a fixed buffer; false (and dst untouched) when the
// text with its NUL does not fit.
bool copyBounded(char* dst, size_t dstSize, const char* src);
template <size_t N>
bool copyBounded(char (&dst)[N], const char* src) {
    return copyBounded(dst, N, src);
}

// True for an ASCII digit.
inline bool isDigit(char c) { return c >= '0' && c <= '9'; }
// True when the n bytes at s are all ASCII digits (and so for n <= 0).
bool allDigits(const char* s, int32_t n);

// Puts the engine's own state back to its start values (the symbol's settings,
// data and element list, the output settings, messages and the window's fields).
// The whole program is reset by resetWorld in app/world.h.
void resetSymbology();
