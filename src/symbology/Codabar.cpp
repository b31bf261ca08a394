#include "symbology/Codabar.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "symbology/encoders.h"
#include "symbology/messages.h"
#include "symbology/rows.h"
#include "symbology/state.h"

namespace {

// The Codabar characters and their seven elements (bar first, '1' wide) of
// ANSI/AIM BC3; T, N, * and E are the alternate names of the start/stop
// characters A, B, C and D.
constexpr char kCodabarChars[] = "0123456789-$:/.+ABCDTN*E";
constexpr char kCodabarPatterns[][8] = {
    "0000011", "0000110", "0001001", "1100000", "0010010", "1000010", "0100001", "0100100",
    "0110000", "1001000", "0001100", "0011000", "1000101", "1010001", "1010100", "0010101",
    "0011010", "0101001", "0001011", "0001110", "0011010", "0101001", "0001011", "0001110",
};
static_assert(sizeof kCodabarChars - 1 == sizeof kCodabarPatterns / sizeof kCodabarPatterns[0]);

// Element bytes of the fixed 2.5 : 1 ratio.
constexpr unsigned char kNarrowBar = 130, kWideBar = 140;
constexpr unsigned char kNarrowSpace = 128, kWideSpace = 129;
constexpr unsigned char kFilmSpace = ';';  // 330 um
constexpr int32_t kFilmVariant = 1;
constexpr int32_t kFirstStartStop = 16;  // index of 'A' in kCodabarChars

// Where the re-spaced text puts two spaces in a library number without spaces.
constexpr int32_t kDynixGroups[] = {1, 5, 13};
constexpr int32_t kAmeritechGroups[] = {1, 5, 10};
constexpr int32_t kGroupGap = 2;

int32_t codabarIndex(unsigned char c) {
    const char* p = c != 0 ? std::strchr(kCodabarChars, c) : nullptr;
    return p ? static_cast<int32_t>(p - kCodabarChars) : -1;
}

int32_t dataLen() { return mainLength(); }

void wrap(char first, char last) {
    const int32_t n = dataLen();
    if (n + 3 > static_cast<int32_t>(kMainCodeSize)) return;
    std::memmove(gData.chMainCode + 1, gData.chMainCode, static_cast<size_t>(n));
    gData.chMainCode[0] = first;
    gData.chMainCode[n + 1] = last;
    gData.chMainCode[n + 2] = 0;
    gData.len1 = n + 2;
}

// The wrapped number (start and stop letters dropped) spaced for reading.
void remodel(const int32_t (&groups)[3]) {
    const int32_t wrapped = dataLen();
    if (wrapped < 2) return;
    char number[kMainCodeSize];
    const int32_t n = wrapped - 2;
    std::memcpy(number, gData.chMainCode + 1, static_cast<size_t>(n));
    char text[kMainCodeSize];
    int32_t k = 0;
    if (GetCustSpace() == 0) {
        for (int32_t i = 0; i < n && k + kGroupGap + 1 < static_cast<int32_t>(kMainCodeSize); ++i) {
            for (int32_t g : groups)
                if (i == g)
                    for (int32_t s = 0; s < kGroupGap; ++s) text[k++] = ' ';
            text[k++] = number[i];
        }
    } else {
        // The user's layout, with one more place for the check digit.
        const int32_t layout = std::min<int32_t>(std::max(gData.len11, 0) + 1, kMainCodeSize - 1);
        int32_t next = 0;
        for (int32_t i = 0; i < layout && next < n; ++i) {
            const bool space = i < gData.len11 && gData.chMainCode2[i] == ' ';
            text[k++] = space ? ' ' : number[next++];
        }
    }
    std::memcpy(gData.chMainCode, text, static_cast<size_t>(k));
    gData.chMainCode[k] = 0;
    gData.len1 = k;
}

void putElement(bool bar, bool wide) {
    if (bar) {
        gEl.put(static_cast<unsigned char>((wide ? kWideBar : kNarrowBar) + gSym.BW));
    } else {
        gEl.put(wide ? kWideSpace : kNarrowSpace);
    }
}

bool refuseCharacter(unsigned char c) {
    char text[200];
    std::snprintf(text, sizeof text,
                  "Codabar cannot encode \"%c\". Use digits, - $ : / . + and the start and stop "
                  "letters A to D (or T, N, * and E).",
                  quotedChar(c));
    refuseSymbol(text);
    return false;
}

// Every byte a Codabar character, or a space (a gap only).
bool codabarData() {
    const int32_t n = dataLen();
    for (int32_t i = 0; i < n; ++i) {
        const unsigned char c = static_cast<unsigned char>(gData.chMainCode[i]);
        if (c != ' ' && codabarIndex(c) < 0) return refuseCharacter(c);
    }
    return true;
}

bool isStartStop(unsigned char c) {
    const int32_t k = codabarIndex(c);
    return k >= kFirstStartStop;
}

// A reader finds a Codabar symbol by its start and stop letters: without them
// nothing reads it, and one inside the data ends the symbol early.
bool startAndStopAtEnds() {
    const int32_t n = dataLen();
    int32_t first = 0, last = n - 1;
    while (first < n && gData.chMainCode[first] == ' ') ++first;
    while (last > first && gData.chMainCode[last] == ' ') --last;
    bool sound = last > first && isStartStop(static_cast<unsigned char>(gData.chMainCode[first])) &&
                 isStartStop(static_cast<unsigned char>(gData.chMainCode[last]));
    for (int32_t i = first + 1; sound && i < last; ++i)
        sound = !isStartStop(static_cast<unsigned char>(gData.chMainCode[i]));
    if (!sound)
        refuseSymbol(
            "Codabar data must begin and end with a start and stop letter A to D (or T, N, * "
            "and E), with none between them, such as \"A40156B\".");
    return sound;
}

}  // namespace

int32_t mainLength() { return std::clamp<int32_t>(gData.len1, 0, kMainCodeSize - 1); }

bool appendToMain(char c) {
    const int32_t n = mainLength();
    if (n + 1 >= static_cast<int32_t>(kMainCodeSize)) return false;
    gData.chMainCode[n] = c;
    gData.chMainCode[n + 1] = 0;
    gData.len1 = n + 1;
    return true;
}

void removeMainSpaces() {
    const int32_t n = mainLength();
    int32_t k = 0;
    for (int32_t i = 0; i < n; ++i)
        if (gData.chMainCode[i] != ' ') gData.chMainCode[k++] = gData.chMainCode[i];
    gData.chMainCode[k] = 0;
    gData.len1 = k;
}

bool libraryDigitsOnly(const char* typeName) {
    const int32_t n = dataLen();
    bool any = false;
    for (int32_t i = 0; i < n; ++i) {
        const char c = gData.chMainCode[i];
        any = any || isDigit(c);
        if (isDigit(c) || c == ' ') continue;
        char text[200];
        std::snprintf(text, sizeof text,
                      "%s takes a library number of digits only; \"%c\" cannot be encoded. Remove "
                      "it and try again.",
                      typeName, quotedChar(c));
        refuseSymbol(text);
        return false;
    }
    if (!any) {
        char text[160];
        std::snprintf(text, sizeof text, "%s needs a library number of digits.", typeName);
        refuseSymbol(text);
    }
    return any;
}

char dynixDigit(const char* data, int32_t n) {
    int32_t sum = 0, place = 0;
    for (int32_t i = 0; i < n; ++i) {
        if (!isDigit(data[i])) continue;
        const int32_t d = data[i] - '0';
        sum += place % 2 == 0 ? (2 * d) % 10 + (d >= 5 ? 1 : 0) : d;
        ++place;
    }
    return static_cast<char>('0' + (10 - sum % 10) % 10);
}

char ameritechDigit(const char* data, int32_t n) {
    int32_t sum = 0, place = 0;
    for (int32_t i = 0; i < n; ++i) {
        if (!isDigit(data[i])) continue;
        const int32_t d = data[i] - '0';
        sum += place % 2 == 0 ? (2 * d > 9 ? 2 * d - 9 : 2 * d) : d;
        ++place;
    }
    return static_cast<char>('0' + (10 - sum % 10) % 10);
}

bool DynixCheckDigit() { return appendToMain(dynixDigit(gData.chMainCode, dataLen())); }

bool ameritechcalcheckMod10() { return appendToMain(ameritechDigit(gData.chMainCode, dataLen())); }

void DynixModel() { wrap('A', 'B'); }
void MSIModel() { wrap('B', 'A'); }

void DynixRemodel() { remodel(kDynixGroups); }
void AmeritechRemodel() { remodel(kAmeritechGroups); }

int32_t GetCustSpace() {
    int32_t spaces = 0;
    const int32_t n = std::clamp<int32_t>(gData.len11, 0, kMainCodeSize - 1);
    for (int32_t i = 0; i < n; ++i) spaces += gData.chMainCode2[i] == ' ';
    return spaces;
}

void Cod(int32_t i) {
    if (i < 0 || i >= static_cast<int32_t>(kMainCodeSize)) return;
    const int32_t k = codabarIndex(static_cast<unsigned char>(gData.chMainCode[i]));
    if (k >= 0) {
        for (int32_t e = 0; e < 7; ++e) putElement(e % 2 == 0, kCodabarPatterns[k][e] == '1');
    }
    gEl.put(kNarrowSpace);
    if (gSym.variation1 == kFilmVariant) {
        gEl.put(kWideSpace);
        gEl.put(kFilmSpace);
    }
}

int32_t Codabar() {
    const int32_t v = gSym.variation1;
    char kept[kMainCodeSize];
    std::memcpy(kept, gData.chMainCode, sizeof kept);
    const int32_t keptLen = gData.len1;

    const bool dynix = v == 0 && gSym.nCheck == 0;
    const bool library = dynix || v == 2 || v == 3;
    if (library) {
        const char* name = v == 2 ? "Codabar Ameritech" : v == 3 ? "Codabar MSI" : "Codabar Dynix";
        if (!libraryDigitsOnly(name)) return 1;
        // The spaces of a library number only group it for reading by eye.
        removeMainSpaces();
        const bool fits = dynix    ? DynixCheckDigit()
                          : v == 2 ? ameritechcalcheckMod10()
                                   : appendToMain(MSICheckMod10(gData.chMainCode, dataLen()));
        if (!fits || dataLen() + 3 > static_cast<int32_t>(kMainCodeSize)) {
            return refuseSymbol("The data is too long for this symbol. Shorten it and try again.");
        }
        if (v == 3)
            MSIModel();
        else
            DynixModel();
    }
    if (!codabarData() || !startAndStopAtEnds()) return 1;

    const int32_t n = dataLen();
    for (int32_t i = 0; i < n; ++i) Cod(i);
    Vector(kRowUnit20pt);

    if (dynix) DynixRemodel();
    if (v == 2 || v == 3) AmeritechRemodel();
    if (gSym.human == 1) Humans1();

    // The data as entered, for the next symbol made of it.
    std::memcpy(gData.chMainCode, kept, sizeof kept);
    gData.len1 = keptLen;
    return 0;
}
