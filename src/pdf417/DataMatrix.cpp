// DataMatrix ECC 200: escapes, ASCII encodation, size choice, pads, error
// correction with interleaving, the placement of ISO/IEC 16022 Annex F, the
// finder and clock patterns, and block-letter output.
#include "pdf417/DataMatrix.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "pdf417/block_letters.h"
#include "pdf417/reed.h"
#include "platform/macroman.h"
#include "symbology/GS1AI.h"
#include "symbology/encoders.h"
#include "symbology/messages.h"
#include "symbology/state.h"

namespace datamatrix {

DataMatrixState gDataMatrix;

namespace {

DataMatrixState& S = gDataMatrix;

// Reads up to `most` digits from `p` (stopping at the first non-digit);
// returns how many were read.
int32_t readDigits(const char* p, int32_t most, int32_t* value) {
    int32_t n = 0;
    int32_t v = 0;
    while (n < most && isDigit(p[n])) {
        v = v * 10 + (p[n] - '0');
        ++n;
    }
    *value = v;
    return n;
}

void putFunction(int32_t o, int32_t codeword) {
    S.internalCode[o] = static_cast<unsigned char>(codeword);
    S.fromEscape[o] = true;
    S.sideTable[o][0] = 0;
}

// The ECI designator codewords that follow codeword 241.
void eciCodewords(unsigned char* side, int32_t e) {
    if (e <= 126) {
        side[0] = static_cast<unsigned char>(e + 1);
        side[1] = 0;
    } else if (e <= 16382) {
        side[0] = static_cast<unsigned char>((e - 127) / 254 + 128);
        side[1] = static_cast<unsigned char>((e - 127) % 254 + 1);
        side[2] = 0;
    } else {
        side[0] = static_cast<unsigned char>((e - 16383) / 64516 + 192);
        side[1] = static_cast<unsigned char>(((e - 16383) / 254) % 254 + 1);
        side[2] = static_cast<unsigned char>((e - 16383) % 254 + 1);
        side[3] = 0;
    }
}

// The automatic choice: the first row whose data capacity holds `count`.
int32_t chooseFormat(int32_t count) {
    if (S.preferredFormat >= 0 && configuration[S.preferredFormat][kTotalData] >= count)
        return S.preferredFormat;
    for (int32_t f = 0; f < kSizeCount; ++f) {
        if (configuration[f][kTotalData] >= count) return f;
    }
    return -1;
}

void addPads(int32_t from, int32_t total) {
    for (int32_t i = from; i < total; ++i) {
        // Positions in the stream count from 1; the first pad is not randomised.
        S.encoded[i] = i == from ? kPad : random253(kPad, i + 1);
    }
}

// Splits the data codewords into the interleaved blocks, adds each block's
// check codewords, and reads the blocks out place by place into finalBlock.
void errorCorrection(const int32_t* row) {
    const int32_t nb = row[kBlockCount];
    const int32_t nc = row[kBlockCheck];
    const int32_t total = row[kTotalData];
    int32_t nd[kMaxBlocks];
    for (int32_t b = 0; b < nb; ++b) {
        // 144x144: the last two blocks hold one data codeword less.
        nd[b] = total / nb + (b < total % nb ? 1 : 0);
    }
    for (int32_t k = 0; k < total; ++k) S.blocks[k % nb][k / nb] = S.encoded[k];
    for (int32_t b = 0; b < nb; ++b) reed::calculateReedSolomon(S.blocks[b], nd[b], nc);
    int32_t t = 0;
    const int32_t longest = nd[0] + nc;
    for (int32_t j = 0; j < longest; ++j) {
        for (int32_t b = 0; b < nb; ++b) {
            if (nd[b] + nc > j) S.finalBlock[t++] = S.blocks[b][j];
        }
    }
    S.finalCount = t;
}

// Placement (ISO/IEC 16022 Annex F). An entry 10 * n + b stands for bit b
// (1 = most significant) of codeword n, counted from 1.
int32_t& at(int32_t row, int32_t col) { return S.placement[row * S.gncol + col]; }

void module(int32_t row, int32_t col, int32_t chr, int32_t bit) {
    if (row < 0) {
        row += S.gnrow;
        col += 4 - ((S.gnrow + 4) % 8);
    }
    if (col < 0) {
        col += S.gncol;
        row += 4 - ((S.gncol + 4) % 8);
    }
    at(row, col) = 10 * chr + bit;
}

// The standard eight-module shape with its lower right module at (row, col).
void utah(int32_t row, int32_t col, int32_t chr) {
    module(row - 2, col - 2, chr, 1);
    module(row - 2, col - 1, chr, 2);
    module(row - 1, col - 2, chr, 3);
    module(row - 1, col - 1, chr, 4);
    module(row - 1, col, chr, 5);
    module(row, col - 2, chr, 6);
    module(row, col - 1, chr, 7);
    module(row, col, chr, 8);
}

// The four corner shapes of Annex F: eight (row, column) places for bits 1..8,
// a negative value counting back from the last row or column (-1 = last).
constexpr int8_t kCorners[4][8][2] = {
    {{-1, 0}, {-1, 1}, {-1, 2}, {0, -2}, {0, -1}, {1, -1}, {2, -1}, {3, -1}},
    {{-3, 0}, {-2, 0}, {-1, 0}, {0, -4}, {0, -3}, {0, -2}, {0, -1}, {1, -1}},
    {{-3, 0}, {-2, 0}, {-1, 0}, {0, -2}, {0, -1}, {1, -1}, {2, -1}, {3, -1}},
    {{-1, 0}, {-1, -1}, {0, -3}, {0, -2}, {0, -1}, {1, -3}, {1, -2}, {1, -1}},
};

void corner(int32_t which, int32_t chr) {
    for (int32_t b = 0; b < 8; ++b) {
        const int32_t r = kCorners[which][b][0], c = kCorners[which][b][1];
        module(r < 0 ? S.gnrow + r : r, c < 0 ? S.gncol + c : c, chr, b + 1);
    }
}

void corner1(int32_t chr) { corner(0, chr); }
void corner2(int32_t chr) { corner(1, chr); }
void corner3(int32_t chr) { corner(2, chr); }
void corner4(int32_t chr) { corner(3, chr); }

bool refuse(const char* text) {
    MessageText(text);
    gMsg.inerror = 1;
    return false;
}

}  // namespace

int32_t random253(int32_t value, int32_t position) {
    const int32_t pseudo = ((149 * position) % 253) + 1;
    const int32_t sum = value + pseudo;
    return sum <= 254 ? sum : sum - 254;
}

bool sizeAskedForTaken(int32_t* rows, int32_t* cols) {
    const DataMatrixState& dm = gDataMatrix;
    if (dm.format < 0 || dm.format >= kSizeCount || dm.format != dm.preferredFormat) return false;
    *rows = configuration[dm.format][kSymbolRows];
    *cols = configuration[dm.format][kSymbolCols];
    return *rows > 0 && *cols > 0;
}

bool DataMatrixDefaults() {
    S.processTilde = 1;
    S.preferredFormat = -1;
    S.globlend = 0;
    S.dataCount = 0;
    S.format = -1;
    S.finalCount = 0;
    // The options text may end with the return that closed its field. Work
    // on the text itself, bounded by the buffer; an empty text names no size.
    const char* text = gData.chAddCode;
    size_t n = strnlen(text, kAddCodeSize);
    if (gData.len2 > 0 && static_cast<size_t>(gData.len2) <= n && text[gData.len2 - 1] == 13)
        n = static_cast<size_t>(gData.len2) - 1;
    while (n > 0 && text[n - 1] == ' ') --n;
    while (n > 0 && text[0] == ' ') ++text, --n;
    if (n == 0) return true;
    for (int32_t f = 0; f < kSizeCount; ++f) {
        const char* word = kOptionWords[f];
        if (std::strlen(word) != n) continue;
        size_t k = 0;
        while (k < n && (text[k] == word[k] || (word[k] == 'X' && text[k] == 'x'))) ++k;
        if (k == n) {
            S.preferredFormat = f;
            return true;
        }
    }
    // The square sizes by their side, then the oblong ones, to keep the list short.
    std::string why = "There is no DataMatrix size \"";
    why.append(text, std::min<size_t>(n, 16));
    why += "\". Square:";
    std::string oblong;
    for (const char* word : kOptionWords) {
        const char* x = std::strchr(word, 'X');
        const std::string side(word, static_cast<size_t>(x - word));
        std::string& list = side == x + 1 ? why : oblong;
        list += list.empty() || list.back() == ':' ? " " : ", ";
        list += side == x + 1 ? side.c_str() : word;
    }
    why += " (as 24X24); oblong:" + oblong + ".";
    return refuse(why.c_str());
}

bool applyTilde(const char* in, bool fnc1First) {
    const int32_t n = static_cast<int32_t>(strnlen(in, kMainCodeSize));
    if (n >= static_cast<int32_t>(kMainCodeSize))
        return refuse("The data is too long for DataMatrix. Shorten it and try again.");
    int32_t o = 0;
    auto putData = [&](int32_t byte) {
        S.internalCode[o] = static_cast<unsigned char>(byte);
        S.fromEscape[o] = false;
        ++o;
    };
    if (fnc1First) putFunction(o++, kFNC1);
    // Readers take DataMatrix bytes as ISO 8859-1, so typed letters travel as their
    // Latin-1 bytes; when Latin-1 lacks one of them (escapes are plain ASCII), the
    // typed text goes as UTF-8 behind ECI 26, announced before its first character.
    bool utf8 = false;
    for (int32_t k = 0; k < n && !utf8; ++k)
        utf8 = platform::macRomanToLatin1(static_cast<unsigned char>(in[k])) < 0;
    bool announced = false;
    int32_t i = 0;
    while (i < n) {
        const char c = in[i];
        if (c != '\\') {
            if (!utf8) {
                putData(platform::macRomanToLatin1(static_cast<unsigned char>(c)));
            } else {
                if (!announced) {
                    putFunction(o, kECI);
                    eciCodewords(S.sideTable[o], platform::kEciUtf8);
                    ++o;
                    announced = true;
                }
                for (char u : platform::macRomanToUtf8(std::string_view(&c, 1)))
                    putData(static_cast<unsigned char>(u));
            }
            ++i;
            continue;
        }
        if (i + 1 >= n) break;  // a lone trailing backslash is dropped
        const char d = in[i + 1];
        const int32_t rest = n - (i + 2);  // characters after the escape letter
        int32_t value = 0;
        if (d >= 64 && d <= 90) {
            putData(d - 64);
            i += 2;
        } else if (d == '\\') {
            putData('\\');
            i += 2;
        } else if (d == '1') {
            // FNC1 only where it marks the data (first positions); elsewhere
            // it separates fields as the group separator.
            if (o == 0 || o == 1 || o == 4 || o == 5)
                putFunction(o++, kFNC1);
            else
                putData(29);
            i += 2;
        } else if (d == '2' && o == 0 && rest >= 3) {
            // Structured append heads the symbol; further in, readers refuse it.
            putFunction(o, kStructuredAppend);
            for (int32_t k = 0; k < 3; ++k)
                S.sideTable[o][k] = static_cast<unsigned char>(in[i + 2 + k]);
            S.sideTable[o][3] = 0;
            ++o;
            i += 5;
        } else if (d == '3' && o == 0) {
            putFunction(o++, kReaderProgramming);
            i += 2;
        } else if (d == '5' && o == 0) {
            putFunction(o++, kMacro05);
            i += 2;
        } else if (d == '6' && o == 0) {
            putFunction(o++, kMacro06);
            i += 2;
        } else if (d == '7' && rest >= 6 && readDigits(in + i + 2, 6, &value) == 6) {
            putFunction(o, kECI);
            eciCodewords(S.sideTable[o], value);
            ++o;
            i += 8;
        } else if (d == 'd' && rest >= 2 && isDigit(in[i + 2])) {
            // Up to three digits, fewer when the data or the digits end.
            const int32_t got = readDigits(in + i + 2, 3, &value);
            putData(value > 255 ? 255 : value);
            i += 2 + got;
        } else {
            ++i;  // unknown escape: the backslash goes, the character stays
        }
    }
    S.globlend = o;
    S.internalCode[o] = 0;
    if (o == 0)
        return refuse("The DataMatrix data is empty once its escapes are read. Enter data.");
    return true;
}

int32_t encodeAscii() {
    // Codewords past the largest symbol are counted, not stored, so that a
    // refusal can say how much too long the data is.
    int32_t count = 0;
    auto put = [&](int32_t cw) {
        if (count < kMaxData + kStepRoom) S.encoded[count] = cw;
        ++count;
    };
    const int32_t len = S.globlend;
    const unsigned char* v = S.internalCode;
    for (int32_t i = 0; i < len; ++i) {
        if (S.fromEscape[i]) {
            put(v[i]);
            for (int32_t k = 0; k < kSideWidth && S.sideTable[i][k] != 0; ++k)
                put(S.sideTable[i][k]);
        } else if (isDigit(static_cast<char>(v[i])) && i + 1 < len &&
                   isDigit(static_cast<char>(v[i + 1]))) {
            put(130 + (v[i] - '0') * 10 + (v[i + 1] - '0'));
            ++i;
        } else if (v[i] > 127) {
            put(kUpperShift);
            put(v[i] - 127);
        } else {
            put(v[i] + 1);
        }
    }
    return count;
}

void drawBorders(int32_t x, int32_t y, int32_t width, int32_t height) {
    for (int32_t k = 0; k < height; ++k) {
        S.result2[x][y + k] = 1;                                 // solid left column
        S.result2[x + width - 1][y + k] = (k % 2 == 1) ? 1 : 0;  // clock on the right
    }
    for (int32_t k = 0; k < width; ++k) {
        S.result2[x + k][y + height - 1] = 1;        // solid bottom row
        S.result2[x + k][y] = (k % 2 == 0) ? 1 : 0;  // clock on the top
    }
}

void ecc200() {
    const int32_t nrow = S.gnrow, ncol = S.gncol;
    std::memset(S.placement, 0, sizeof(int32_t) * static_cast<size_t>(nrow * ncol));
    int32_t chr = 1, row = 4, col = 0;
    do {
        if (row == nrow && col == 0) corner1(chr++);
        if (row == nrow - 2 && col == 0 && ncol % 4) corner2(chr++);
        if (row == nrow - 2 && col == 0 && ncol % 8 == 4) corner3(chr++);
        if (row == nrow + 4 && col == 2 && !(ncol % 8)) corner4(chr++);
        // Up and to the right.
        do {
            if (row < nrow && col >= 0 && !at(row, col)) utah(row, col, chr++);
            row -= 2;
            col += 2;
        } while (row >= 0 && col < ncol);
        row += 1;
        col += 3;
        // Down and to the left.
        do {
            if (row >= 0 && col < ncol && !at(row, col)) utah(row, col, chr++);
            row += 2;
            col -= 2;
        } while (row < nrow && col >= 0);
        row += 3;
        col += 1;
    } while (row < nrow || col < ncol);
    // The lower right corner left untouched gets its fixed pattern.
    if (!at(nrow - 1, ncol - 1)) {
        at(nrow - 1, ncol - 1) = 1;
        at(nrow - 2, ncol - 2) = 1;
    }
}

void createCode() {
    const int32_t* row = configuration[S.format];
    const int32_t rows = row[kSymbolRows], cols = row[kSymbolCols];
    const int32_t rr = row[kRegionRows], rc = row[kRegionCols];
    for (int32_t x = 0; x < cols; ++x) std::memset(S.result2[x], 0, static_cast<size_t>(rows));

    // Finder and clock patterns: two regions side by side, or a square grid.
    const int32_t regions = row[kRegionCount];
    int32_t across = 1;
    while (across * across < regions) ++across;
    const int32_t down = regions == 2 ? 1 : across;
    for (int32_t i = 0; i < across; ++i) {
        for (int32_t j = 0; j < down; ++j) drawBorders((rc + 2) * i, (rr + 2) * j, rc + 2, rr + 2);
    }

    S.gnrow = row[kMapRows];
    S.gncol = row[kMapCols];
    ecc200();
    for (int32_t r = 0; r < S.gnrow; ++r) {
        for (int32_t c = 0; c < S.gncol; ++c) {
            const int32_t e = at(r, c);
            int32_t dark = e;
            if (e >= 10) {
                const int32_t cw = S.finalBlock[e / 10 - 1];
                dark = (cw >> (8 - e % 10)) & 1;
            }
            S.result2[c + 1 + 2 * (c / rc)][r + 1 + 2 * (r / rr)] =
                static_cast<unsigned char>(dark != 0);
        }
    }
}

bool debugMatrix(int32_t width, int32_t height) {
    return writeBlockLetters(S.result2, width, height);
}

namespace {

// The escape that applyTilde turns into FNC1 (a separator past the first positions).
constexpr const char* kFNC1Escape = "\\1";

// GS1 element strings typed in parentheses are checked as GS1-128 checks them
// and go into the symbol without their parentheses, an FNC1 ending each element
// of no predefined length: a reader takes "(01)..." literally, not as a GTIN.
// Data typed without parentheses goes as typed.
// In bracket form the brackets mark where elements end: a separator typed before
// the next bracket, or at the end, is the one the encoder puts in itself, and
// would otherwise stand twice (or end the data).
std::string withoutTypedSeparators(const char* data, int32_t n) {
    const size_t escape = std::strlen(kFNC1Escape);
    std::string kept;
    for (int32_t i = 0; i < n; ++i) {
        // "\\" is a backslash: a "1" behind it is data, not a separator.
        if (data[i] == '\\' && i + 1 < n && data[i + 1] == '\\') {
            kept.append(data + i, 2);
            ++i;
            continue;
        }
        const bool typed = std::strncmp(data + i, kFNC1Escape, escape) == 0;
        const int32_t after = i + static_cast<int32_t>(escape);
        if (typed && after <= n && (after == n || data[after] == '(')) {
            i = after - 1;
            continue;
        }
        kept += data[i];
    }
    return kept;
}

bool gs1Elements(const char* data, std::string& out) {
    const auto n = static_cast<int32_t>(strnlen(data, kMainCodeSize));
    if (n == 0 || data[0] != '(') {
        out = data;
        return true;
    }
    const std::string bare = withoutTypedSeparators(data, n);
    const auto length = static_cast<int32_t>(bare.size());
    const std::string bad = checkElementStrings(bare.c_str(), length, false, kFNC1Escape);
    if (!bad.empty()) return refuse(bad.c_str());
    out = elementStringsUnbracketed(bare.c_str(), length, kFNC1Escape);
    return true;
}

}  // namespace

}  // namespace datamatrix

int32_t doDataMatrixCode(const char* data) {
    using namespace datamatrix;
    if (data == nullptr) data = "";
    if (!DataMatrixDefaults()) return 1;
    // EAN DataMatrix starts with exactly one FNC1, however many "\1" the data
    // already carries in front.
    const bool ean = gSym.code == 38 && gSym.variation1 == 2;
    std::string gs1;
    if (ean) {
        while (data[0] == '\\' && data[1] == '1') data += 2;
        if (!gs1Elements(data, gs1)) return 1;
        data = gs1.c_str();
    }
    if (!applyTilde(data, ean)) return 1;
    const int32_t count = encodeAscii();
    S.dataCount = count;
    S.format = chooseFormat(count);
    if (S.format < 0) {
        char text[200];
        std::snprintf(text, sizeof text,
                      "The data needs %d DataMatrix codewords; the largest symbol (144 x 144) "
                      "holds %d. Shorten the data.",
                      count, kMaxData);
        refuse(text);
        return 1;
    }
    const int32_t* row = configuration[S.format];
    addPads(count, row[kTotalData]);
    errorCorrection(row);
    createCode();
    if (!debugMatrix(row[kSymbolCols], row[kSymbolRows])) {
        refuse("The DataMatrix symbol does not fit the element list.");
        return 1;
    }
    return 0;
}
