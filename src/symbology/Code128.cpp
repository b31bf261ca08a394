#include "symbology/Code128.h"

#include <cstring>
#include <string>

#include "symbology/GS1AI.h"
#include "symbology/encoders.h"
#include "symbology/info.h"
#include "symbology/messages.h"
#include "symbology/rows.h"
#include "symbology/state.h"

namespace {

// Bar and space widths in modules of the Code 128 values 0 to 106 (ISO/IEC
// 15417), bar first; 103 to 105 are START A, B and C, 106 is STOP.
constexpr char kC128Patterns[107][8] = {
    "212222", "222122", "222221", "121223", "121322", "131222", "122213", "122312",  "132212",
    "221213", "221312", "231212", "112232", "122132", "122231", "113222", "123122",  "123221",
    "223211", "221132", "221231", "213212", "223112", "312131", "311222", "321122",  "321221",
    "312212", "322112", "322211", "212123", "212321", "232121", "111323", "131123",  "131321",
    "112313", "132113", "132311", "211313", "231113", "231311", "112133", "112331",  "132131",
    "113123", "113321", "133121", "313121", "211331", "231131", "213113", "213311",  "213131",
    "311123", "311321", "331121", "312113", "312311", "332111", "314111", "221411",  "431111",
    "111224", "111422", "121124", "121421", "141122", "141221", "112214", "112412",  "122114",
    "122411", "142112", "142211", "241211", "221114", "413111", "241112", "134111",  "111242",
    "121142", "121241", "114212", "124112", "124211", "411212", "421112", "421211",  "212141",
    "214121", "412121", "111143", "111341", "131141", "114113", "114311", "411113",  "411311",
    "113141", "114131", "311141", "411131", "211412", "211214", "211232", "2331112",
};
constexpr int32_t kStopValue = 106;

// The prepared symbol string (start character included) and its work buffers.
constexpr int32_t kPreparedMax = 254;
constexpr int kQuietBytes = 7;
constexpr unsigned char kQuietSpace = ';';

// Markers typed in the data (Mac OS Roman bytes entered with the Option key, or
// produced by the escapes) and the function byte each stands for.
constexpr unsigned char kMarkFNC1 = 196;
constexpr unsigned char kMarkFNC2 = 169;
constexpr unsigned char kMarkFNC3 = 250;
constexpr unsigned char kMarkFNC4 = 198;
constexpr unsigned char kMarkCodeA = 140;
constexpr unsigned char kMarkCodeB = 186;
constexpr unsigned char kMarkCodeC = 141;
// Markers that only the check pass turned into function bytes.
constexpr unsigned char kCheckCodeA = 221;
constexpr unsigned char kCheckFNC1 = 218;
constexpr unsigned char kCheckFNC2 = 219;
constexpr unsigned char kCheckFNC3 = 220;
constexpr unsigned char kCheckShift = 234;
constexpr unsigned char kValue95 = 235;  // the byte that stands for value 95

C128Fault gFault = C128Fault::None;

// The control characters of code set A (values 65 to 95), byte + 64.
constexpr unsigned char kLastControl = 31;
constexpr int32_t kControlValueOffset = 64;
constexpr unsigned char kDelete = 127;  // value 95 of code set B
bool isControl(unsigned char c) { return c >= 1 && c <= kLastControl; }
// HT, LF and CR: the escapes \t, \n and \r write them as pairs of equal bytes.
bool isPairedControl(unsigned char c) { return c == 9 || c == 10 || c == 13; }

// The bytes that stand for the function, switch and start characters and STOP
// once the data is prepared. In the data as typed (the Mac OS Roman letters
// from Ä to â) or written with \d they would draw those characters rather than
// a letter, so they are refused there: the escapes and the typed markers stand
// for the functions.
bool standsForFunction(unsigned char b) { return b >= kFNC3 && b <= 32 + kStopValue; }

// Value of a symbol byte, -1 for a byte that is no symbol.
int32_t symbolValue(unsigned char b) {
    if (b >= 32 && b <= 32 + kStopValue) return b - 32;
    if (isControl(b)) return b + kControlValueOffset;
    return b == kValue95 ? 95 : -1;
}

// The function or switch byte of the check pass for a typed marker.
unsigned char checkPassByte(unsigned char b) {
    switch (b) {
        case kMarkCodeA:
        case kCheckCodeA:
            return kCodeA;
        case kMarkCodeC:
            return kCodeC;
        case kMarkCodeB:
            return kCodeB;
        case kCheckFNC1:
            return kFNC1;
        case kCheckFNC2:
            return kFNC2;
        case kCheckFNC3:
            return kFNC3;
        case kCheckShift:
            return kShift;
        default:
            return b;
    }
}

// The function byte of a typed function marker (the switch markers are kept,
// as preparation drops a switch to the set already in use; FNC4 depends on the
// set it is read in).
unsigned char functionByte(unsigned char b) {
    switch (b) {
        case kMarkFNC3:
            return kFNC3;
        case kMarkFNC2:
            return kFNC2;
        case kMarkFNC1:
            return kFNC1;
        case kMarkFNC4:
        case kMarkCodeA:
        case kMarkCodeB:
        case kMarkCodeC:
            return b;
        default:
            return checkPassByte(b);
    }
}

// Code types 5, 7, 13 and 15 draw with the 330 um module, every other caller
// (code type 34, Codablock F, Code 93, Telepen) with the 1000-unit set.
bool smallModule() {
    const int32_t c = gSym.code;
    return c == 5 || c == 7 || c == 13 || c == 15;
}

void putModules(const unsigned char* p, size_t n) {
    const int32_t bw = gSym.BW;
    const bool small = smallModule();
    for (size_t k = 0; k < n; ++k) {
        if (p[k] < '1' || p[k] > '4') continue;  // still takes its bar or space place
        const int32_t m = p[k] - '0';
        const bool bar = k % 2 == 0;
        if (small) {
            if (bar) {
                static constexpr unsigned char kBar[5] = {0, 190, 196, 202, 208};
                gEl.put(m == 3 && bw == 0 ? 254 : static_cast<unsigned char>(kBar[m] + bw));
            } else {
                static constexpr unsigned char kSpace[5] = {0, ';', ';', '=', '?'};
                gEl.put(kSpace[m]);
                if (m == 2) gEl.put(';');
            }
        } else {
            if (bar) {
                for (int32_t j = 1; j < m; ++j) gEl.put(184);
                gEl.put(static_cast<unsigned char>(184 + bw));
            } else {
                static constexpr unsigned char kSpace[5] = {0, '{', '|', '/', 255};
                gEl.put(kSpace[m]);
            }
        }
    }
}

void putPattern(int32_t value) {
    const char* p = kC128Patterns[value];
    putModules(reinterpret_cast<const unsigned char*>(p), std::strlen(p));
}

void putQuiet() {
    for (int i = 0; i < kQuietBytes; ++i) gEl.put(kQuietSpace);
}

// Copies text into a printed copy without the control bytes, which would end a
// row of the element list in the middle of the text line.
int32_t copyPrintable(char* dst, size_t size, const char* src) {
    size_t o = 0;
    for (size_t i = 0; src[i] != 0 && o + 1 < size; ++i)
        if (static_cast<unsigned char>(src[i]) >= 32) dst[o++] = src[i];
    dst[o] = 0;
    return static_cast<int32_t>(o);
}

// A bounded writer for the prepared string.
struct Prepared {
    unsigned char buf[kPreparedMax + 1];
    int32_t n = 0;
    bool full = false;
    void put(unsigned char b) {
        if (n >= kPreparedMax) {
            full = true;
            return;
        }
        buf[n++] = b;
    }
    void put(const unsigned char* from, int32_t count) {
        for (int32_t i = 0; i < count; ++i) put(from[i]);
    }
    void store() const {
        std::memcpy(gData.chMainCode, buf, static_cast<size_t>(n));
        gData.chMainCode[n] = 0;
        gData.len1 = n;
    }
};

const unsigned char* mainBytes() {
    return reinterpret_cast<const unsigned char*>(gData.chMainCode);
}

// Index of the first byte at or after i that is not a digit, or len1.
int32_t getDigits(int32_t i) {
    const unsigned char* in = mainBytes();
    while (i < gData.len1 && isDigit(in[i])) ++i;
    return i;
}

unsigned char chooseStart(const char* data, int32_t n) {
    const int32_t code = gSym.code;
    const int32_t v = gSym.variation1;
    const bool plain = code == 5;
    if (n % 2 == 1) return plain && v == 5 ? kStartA : kStartB;
    if (plain && v == 3) return kStartC;
    if (plain && (v == 2 || v == 8)) return kStartB;
    if (plain && v == 5) return kStartA;
    for (int32_t i = 0; i < n; ++i) {
        const unsigned char c = static_cast<unsigned char>(data[i]);
        if (!isDigit(c) && c != kMarkFNC1 && !(code == 7 && (c == '(' || c == ')'))) return kStartB;
    }
    return kStartC;
}

// Automatic code sets: runs of four or more digits go into code set C.
C128Fault compress128() {
    const unsigned char* in = mainBytes();
    const int32_t n = gData.len1;
    Prepared out;
    const int32_t k = gSym.code == 7 ? 2 : 1;
    out.put(in, k < n ? k : n);
    int32_t e = getDigits(k);
    const int32_t r = e - k;
    if (r >= 4) {
        out.buf[0] = kStartC;
        if (r % 2 == 0) {
            out.put(in + k, r);
            if (e < n) out.put(kMarkCodeB);
        } else {
            out.put(in + k, r - 1);
            out.put(kMarkCodeB);
            out.put(in[e - 1]);
        }
    } else {
        out.buf[0] = kStartB;
        out.put(in + k, r);
    }
    while (e < n) {
        int32_t p = e;
        do out.put(in[p++]);
        while (p < n && !isDigit(in[p]));
        const int32_t end = getDigits(p);
        if (end - p >= 4) {
            if ((end - p) % 2 == 1) out.put(in[p++]);
            out.put(kMarkCodeC);
            out.put(in + p, end - p);
            if (end < n) out.put(kMarkCodeB);
        } else {
            out.put(in + p, end - p);
        }
        e = end;
    }
    if (out.full) return C128Fault::TooLong;
    out.store();
    return C128Fault::None;
}

enum class CodeSet { A, B, C };

void switchTo(Prepared& out, CodeSet& set, CodeSet to) {
    static constexpr unsigned char kSwitch[3] = {kCodeA, kCodeB, kCodeC};
    if (set == to) return;
    out.put(kSwitch[static_cast<int>(to)]);
    set = to;
}

// Markers to function bytes and code set C packing. The code set is followed
// through every byte that changes it, so that each byte is checked against the
// set it will be read in: a byte that the set cannot hold refuses the data
// rather than drawing another character.
C128Fault preprocess() {
    const unsigned char* in = mainBytes();
    const int32_t n = gData.len1;
    Prepared out;
    CodeSet set = in[0] == kStartA ? CodeSet::A : in[0] == kStartC ? CodeSet::C : CodeSet::B;
    const CodeSet own = gSym.code == 5 && gSym.variation1 == 5 ? CodeSet::A : CodeSet::B;
    out.put(in[0]);
    for (int32_t i = 1; i < n; ++i) {
        const unsigned char b = functionByte(in[i]);
        if (b == kMarkFNC4) {
            // FNC4 is value 101 in code set A and value 100 in code set B, the
            // values that switch to the other set; code set C has none.
            if (set == CodeSet::C) switchTo(out, set, own);
            out.put(set == CodeSet::A ? kCodeA : kCodeB);
            continue;
        }
        if (b == kMarkCodeA || b == kMarkCodeB || b == kMarkCodeC) {
            switchTo(out, set,
                     b == kMarkCodeA   ? CodeSet::A
                     : b == kMarkCodeB ? CodeSet::B
                                       : CodeSet::C);
            continue;
        }
        if (isControl(b)) {
            if (isPairedControl(b) && i + 1 < n && in[i + 1] == b) ++i;
            if (set == CodeSet::A) {
                out.put(b);
            } else {
                const CodeSet back = set;
                switchTo(out, set, CodeSet::A);
                out.put(b);
                switchTo(out, set, back);
            }
            continue;
        }
        const unsigned char next = i + 1 < n ? in[i + 1] : 0;
        switch (set) {
            case CodeSet::C:
                if (isDigit(b) && isDigit(next)) {
                    out.put(static_cast<unsigned char>(10 * (b - '0') + (next - '0') + 32));
                    ++i;
                } else if (isDigit(b)) {
                    // A lone digit in code set C goes back to the variant's own set.
                    switchTo(out, set, own);
                    out.put(b);
                } else if (b == kFNC1) {
                    out.put(b);
                } else if (b == kCodeA || b == kCodeB) {
                    out.put(b);
                    set = b == kCodeA ? CodeSet::A : CodeSet::B;
                } else {
                    return C128Fault::NotInSetC;
                }
                break;
            case CodeSet::A:
            case CodeSet::B: {
                const bool inA = set == CodeSet::A;
                const unsigned char fnc4 = inA ? kCodeA : kCodeB;
                const unsigned char other = inA ? kCodeB : kCodeA;
                if (inA && b == kDelete) {
                    // DEL is only in code set B.
                    switchTo(out, set, CodeSet::B);
                    out.put(b);
                    switchTo(out, set, CodeSet::A);
                    break;
                }
                if (inA && b >= 96 && b <= 127) return C128Fault::LowerInSetA;
                if ((b >= 32 && b <= 127) || b == kValue95 || b == kFNC1 || b == kFNC2 ||
                    b == kFNC3 || b == fnc4) {
                    out.put(b);
                } else if (b == other || b == kCodeC) {
                    out.put(b);
                    set = b == kCodeC ? CodeSet::C : inA ? CodeSet::B : CodeSet::A;
                } else if (b == kShift && next >= 32 && next <= (inA ? 127 : 95)) {
                    // SHIFT reads the next character in the other set.
                    out.put(b);
                    out.put(next);
                    ++i;
                } else {
                    return C128Fault::NotEncodable;
                }
                break;
            }
        }
    }
    if (out.full) return C128Fault::TooLong;
    out.store();
    return C128Fault::None;
}

// Whether the prepared symbol bytes carry at least one data character, with
// the code set followed through the switches.
bool holdsData() {
    const auto* d = reinterpret_cast<const unsigned char*>(gData.chMainCode);
    unsigned char set = d[0];
    for (int32_t i = 1; i < gData.len1; ++i) {
        const unsigned char b = d[i];
        if ((b >= 32 && b < 128) || isControl(b) || b == kValue95) return true;
        if (set == kStartC && b <= kCodeC && b >= 128) return true;  // pairs 96 to 99
        if (b == kCodeC) set = kStartC;
        if (b == kCodeB && set != kStartB) set = kStartB;
        if (b == kCodeA && set != kStartA) set = kStartA;
    }
    return false;
}

C128Fault prepare() {
    char* d = gData.chMainCode;
    int32_t n = static_cast<int32_t>(strnlen(d, kMainCodeSize - 1));
    d[n] = 0;
    gData.len1 = n;
    if (n == 0) return C128Fault::Empty;
    const int32_t code = gSym.code;
    const int32_t v = gSym.variation1;
    if (!(code == 5 && v == 13)) gData.len11 = copyPrintable(gData.chMainCode2, kMainCodeSize, d);
    // Room for the start character, FNC1 and the NUL.
    if (n + 3 > static_cast<int32_t>(kMainCodeSize)) return C128Fault::TooLong;
    const unsigned char start = chooseStart(d, n);
    std::memmove(d + 1, d, static_cast<size_t>(n) + 1);
    d[0] = static_cast<char>(start);
    ++n;
    if (code == 7) {
        if (static_cast<unsigned char>(d[1]) != kFNC1) {
            std::memmove(d + 2, d + 1, static_cast<size_t>(n));
            d[1] = static_cast<char>(kFNC1);
            ++n;
        }
        gData.len1 = n;
        if (!aiFilter(2, kMarkFNC1, kFNC1)) return C128Fault::GS1TooLong;
    }
    gData.len1 = n = static_cast<int32_t>(strnlen(d, kMainCodeSize - 1));
    if (!(code == 5 && (v == 2 || v == 5 || v == 8))) {
        const C128Fault f = compress128();
        if (f != C128Fault::None) return f;
    }
    const C128Fault f = preprocess();
    if (f != C128Fault::None) return f;
    // Markers alone (code-set switches, FNC4) would make a symbol that says nothing.
    return holdsData() ? C128Fault::None : C128Fault::Empty;
}

void removeSpaces() {
    char* d = gData.chMainCode;
    int32_t o = 0;
    for (int32_t i = 0; d[i] != 0; ++i)
        if (d[i] != ' ') d[o++] = d[i];
    d[o] = 0;
    gData.len1 = o;
}

// EAN-14 and SSCC: the digits, completed to `digits` + 1 with a leading zero
// when one short and with their check digit, behind the AI.
bool gs1Number(const char* ai, int32_t digits, uint16_t message) {
    const int32_t n = gData.len1;
    if ((n != digits && n != digits - 1) || !allDigits(gData.chMainCode, n)) {
        refuse128(message);
        return false;
    }
    Len();
    calcheck();
    char text[32];
    std::strcpy(text, ai);
    std::strcat(text, gData.chMainCode);
    copyBounded(gData.chMainCode, text);
    copyBounded(gData.chMainCode2, text);
    copyBounded(gData.chMainCode3, text);
    gData.len1 = gData.len11 = static_cast<int32_t>(std::strlen(text));
    return true;
}

void setText(const char* text) {
    gData.len1 = copyPrintable(gData.chMainCode, kMainCodeSize, text);
    gData.len11 = copyPrintable(gData.chMainCode2, kMainCodeSize, text);
}

uint16_t messageOf(C128Fault fault) {
    switch (fault) {
        case C128Fault::Empty:
            return msg128::kEmpty;
        case C128Fault::LowerInSetA:
            return msg128::kLowerInSetA;
        case C128Fault::NotInSetC:
            return msg128::kNotInSetC;
        case C128Fault::BadEscape:
            return msg128::kBadEscape;
        case C128Fault::GS1TooLong:
            return kMsgGS1TooLong;
        case C128Fault::TooLong:
            return msg128::kTooLong;
        default:
            return msg128::kNotEncodable;
    }
}

}  // namespace

int32_t dataLength(const char* data) {
    const int32_t n = static_cast<int32_t>(strnlen(data, kMainCodeSize - 1));
    return gData.len1 >= 0 && gData.len1 < n ? gData.len1 : n;
}

int32_t printedLength() {
    const int32_t n = static_cast<int32_t>(strnlen(gData.chMainCode2, kMainCodeSize - 1));
    return gData.len11 >= 0 && gData.len11 < n ? gData.len11 : n;
}

int32_t refuse128(uint16_t message) {
    Message(message);
    gMsg.inerror = 1;
    return 1;
}

int32_t refuse128(C128Fault fault) { return refuse128(messageOf(fault)); }

void Maker2(const unsigned char* pattern) { putModules(pattern + 1, pattern[0]); }

void C128(int32_t i) {
    if (i < 0 || i >= static_cast<int32_t>(kMainCodeSize)) return;
    const int32_t v = symbolValue(static_cast<unsigned char>(gData.chMainCode[i]));
    if (v >= 0) putPattern(v);
}

void C128Symbols() {
    for (int32_t i = 0; i < gData.len1; ++i) C128(i);
    putPattern(kStopValue);
}

void OTE() {
    unsigned char* s = reinterpret_cast<unsigned char*>(gData.chMainCode);
    const int32_t n = gData.len1;
    if (n <= 0 || n + 1 >= static_cast<int32_t>(kMainCodeSize)) return;
    int32_t sum = 0;
    for (int32_t i = 0; i < n; ++i) {
        s[i] = checkPassByte(s[i]);
        // The byte drawn as value 95 must count as 95 too, or no reader accepts the check.
        const int32_t v = symbolValue(s[i]) >= 0 ? symbolValue(s[i]) : s[i] - 32;
        sum += v * (i == 0 ? 1 : i);
    }
    s[n] = static_cast<unsigned char>(sum % 103 + 32);
    s[n + 1] = 0;
    gData.len1 = n + 1;
}

C128Fault SeeFancyChars(char* data) {
    const int32_t n = dataLength(data);
    int32_t o = 0;
    for (int32_t i = 0; i < n; ++i) {
        const char c = data[i];
        const char next = i + 1 < n ? data[i + 1] : 0;
        if (c == '\\') {
            unsigned char function = 0;
            char control = 0;
            switch (next) {
                case '1':
                    function = kFNC1;
                    break;
                case '2':
                    function = kFNC2;
                    break;
                case '3':
                    function = kFNC3;
                    break;
                case '4':
                    function = kMarkFNC4;  // its value depends on the code set
                    break;
                case 'n':
                    control = 10;
                    break;
                case 't':
                    control = 9;
                    break;
                case 'r':
                    control = 13;
                    break;
                case 'd': {
                    if (i + 4 >= n) return C128Fault::BadEscape;
                    int32_t value = 0;
                    for (int32_t k = i + 2; k <= i + 4; ++k) {
                        if (!isDigit(static_cast<unsigned char>(data[k])))
                            return C128Fault::BadEscape;
                        value = value * 10 + (data[k] - '0');
                    }
                    if (value < 1 || value > 255) return C128Fault::BadEscape;
                    if (standsForFunction(static_cast<unsigned char>(value)))
                        return C128Fault::NotEncodable;
                    data[o++] = static_cast<char>(value);
                    // Control characters travel as pairs, as \n, \t and \r make them.
                    if (isPairedControl(static_cast<unsigned char>(value)))
                        data[o++] = static_cast<char>(value);
                    i += 4;
                    continue;
                }
                default:
                    break;
            }
            if (function != 0) {
                data[o++] = static_cast<char>(function);
                ++i;
                continue;
            }
            if (control != 0) {
                data[o++] = control;
                data[o++] = control;
                ++i;
                continue;
            }
        }
        if (standsForFunction(static_cast<unsigned char>(c))) return C128Fault::NotEncodable;
        data[o++] = c;
    }
    data[o] = 0;
    gData.len1 = o;

    // The printed copy shows none of the escapes.
    char* p = gData.chMainCode2;
    const int32_t n2 = printedLength();
    int32_t q = 0;
    for (int32_t i = 0; i < n2; ++i) {
        if (p[i] == '\\') {
            i += i + 1 < n2 && p[i + 1] == 'd' ? 4 : 1;
            continue;
        }
        p[q++] = p[i];
    }
    p[q] = 0;
    gData.len11 = q;
    return C128Fault::None;
}

int32_t Proc128() {
    gFault = prepare();
    return gFault == C128Fault::None ? 0 : 1;
}

C128Fault lastProc128Fault() { return gFault; }

int32_t OneTwoEight() {
    const int32_t code = gSym.code;
    const int32_t v = gSym.variation1;
    const C128Fault escapes = SeeFancyChars(gData.chMainCode);
    if (escapes != C128Fault::None) return refuse128(escapes);
    if (gData.len1 == 0) return refuse128(C128Fault::Empty);

    // GS1-128 prints the data as typed, spaces included.
    char kept[kAIBufferSize] = {};
    if (code == 7) {
        if (!copyBounded(kept, gData.chMainCode)) return refuse128(C128Fault::GS1TooLong);
        removeSpaces();
        if ((v == 10 || v == 11) && !gs1Number("(01)", 13, msg128::kEAN14Length)) return 1;
        if (v == 12 && !gs1Number("(00)", 17, msg128::kSSCCLength)) return 1;
        if (v != 10 && v != 11 && v != 12) {
            // An FNC1 typed in front, which the symbol begins with anyway, does
            // not spare the elements behind it their checks.
            int32_t first = 0;
            while (first < gData.len1 &&
                   static_cast<unsigned char>(gData.chMainCode[first]) == kFNC1)
                ++first;
            const char typedFNC1[] = {static_cast<char>(kFNC1), 0};
            const std::string bad =
                checkElementStrings(gData.chMainCode + first, gData.len1 - first, true, typedFNC1);
            if (!bad.empty()) {
                return refuseSymbol(bad.c_str());
            }
        }
        if (v == 14 && (gData.len1 == 12 || gData.len1 == 16)) {
            std::memcpy(gData.chHeadCode, gData.chMainCode + 7, 5);
            gData.chHeadCode[5] = 0;
            gData.len3 = 5;
        }
    }
    bool sisacUnsupported = false;
    if (code == 5 && v == 13) {
        SICICheck();
        sisacUnsupported = !MakeSISAC();
    }
    if (v == 4 && APEXTooLong()) return 1;
    if (v == 4 && !APEXCheck()) return refuse128(msg128::kApexShort);

    if (Proc128() != 0) return refuse128(gFault);
    if (v != 1) OTE();
    putQuiet();
    C128Symbols();
    putQuiet();
    Vector(kRowUnit20pt);

    if (code == 7 && v == 14) {
        setText(kept);
    } else if (code == 7 && v != 10 && v != 11 && v != 12) {
        // A completed AI 00, 01 or 02 prints with its check digit.
        if (gData.chMainCode4[0] != 0) copyBounded(kept, gData.chMainCode2);
        setText(kept);
    }
    if (gSym.human == 1) Humans1();
    if (gEl.overflow) return 1;
    // The stand-in text must not pass for the data.
    if (sisacUnsupported) return refuse128(msg128::kSiciFormat);
    return 0;
}
