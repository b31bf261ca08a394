#include "symbology/typeNames.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <string>
#include <vector>

#include "symbology/appBits.h"
#include "symbology/codeTypeRows.h"
#include "symbology/panels.h"
#include "symbology/state.h"

bool sameNameIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        unsigned char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x += 32;
        if (y >= 'A' && y <= 'Z') y += 32;
        if (x != y) return false;
    }
    return true;
}

namespace {

// Type names of the script record language that are not display names.
struct ScriptType {
    std::string_view name;
    int32_t code;
    int32_t variation1;
    int32_t nCheck;   // -1: as the type's defaults leave it
    int32_t ocrFont;  // 0 leave, 1 OCR-B above (the bar font), 2 OCR-A above
};
constexpr ScriptType kScriptTypes[] = {
    {"Code 128", 5, 0, -1, 0},
    {"EAN 128", 7, 0, -1, 0},
    {"Code 39 NC", 6, 0, 1, 0},
    {"Code 39", 6, 0, 0, 0},
    {"Code 39 Full Ascii", 6, 10, -1, 0},
    {"Telepen", 36, 0, -1, 0},
    {"EAN 8", 3, 0, -1, 0},
    {"UPC A", 10, 0, -1, 0},
    {"ISSN -OCRB", 2, 0, -1, 1},
    {"ISBN -OCRB", 1, 0, -1, 1},
    {"ISMN", 1, 2, -1, 0},
    {"EAN 13", 0, 0, -1, 0},
    {"Codabar", 8, 0, 1, 0},  // the data as entered, start and stop letters included
    {"Code 93", 28, 0, -1, 0},
    {"Code 11", 19, 0, -1, 0},
    {"ITF", 4, 0, -1, 0},
    {"MSI", 35, 0, -1, 0},
    {"PLESSEY", 20, 0, -1, 0},
    {"2 OF 5", 21, 0, -1, 0},
    {"ISBN OCR B", 1, 0, -1, 1},
    {"ISBN OCR A", 1, 0, -1, 2},
    {"ISSN OCR B", 2, 0, -1, 1},
    {"ISSN OCR A", 2, 0, -1, 2},
};

void applyType(int32_t code, int32_t variation1, int32_t nCheck, int32_t ocrFont) {
    gSym.code = code;
    gSym.variation1 = variation1;
    if (nCheck >= 0) gSym.nCheck = nCheck;
    if (ocrFont == 1) pstrCopy(gSym.fontAbove, gSym.barFont);
    if (ocrFont == 2) pstrSet(gSym.fontAbove, "OCR-ANormal");
    // The settings the menu item of the same name gives, before the type's texts
    // as the menu applies them.
    if (const CodeTypeRow* row = typeNameRow(code, variation1))
        for (const CodeAssign& a : row->set) applyCodeAssign(a, row->code);
    GetCodeText();
}

// The display name of some (code, variant), trying both check-digit settings.
bool findDisplayName(std::string_view name, int32_t* code, int32_t* variation1, int32_t* nCheck) {
    const int32_t keep = gSym.nCheck;
    for (int32_t nc : {keep, 1 - keep}) {
        gSym.nCheck = nc;
        for (int32_t c = 0; c <= kLastFamily; ++c)
            for (int32_t v : kVariantsTried) {
                const char* n = codeTypeName(c, v);
                if (n && sameNameIgnoringCase(n, name)) {
                    gSym.nCheck = keep;
                    *code = c;
                    *variation1 = v;
                    *nCheck = nc;
                    return true;
                }
            }
    }
    gSym.nCheck = keep;
    return false;
}

// What the reader of the options line makes of a type name: the code, variant and
// check setting the name gives a fresh record, and the M&S shoe family's own
// variation, which tells its four symbols apart.
struct TypeIdentity {
    int32_t code = -1;
    int32_t variation1 = -1;
    int32_t nCheck = -1;
    int32_t variation = 0;
    bool operator==(const TypeIdentity&) const = default;
};

constexpr int32_t kShoeFamily = 15;

TypeIdentity currentIdentity() {
    // Other families ignore the variation, which a shoe symbol chosen before leaves.
    const int32_t variation = gSym.code == kShoeFamily ? gSym.variation : 0;
    return {gSym.code, gSym.variation1, gSym.nCheck, variation};
}

// Whether the check setting changes the bars of a family's variant; elsewhere it
// is left from an earlier type and means nothing.
bool checkSettingCounts(int32_t code, int32_t variation1) {
    constexpr int32_t kCode39 = 6, kCodabar = 8;
    // Code 32, PZN7 and PZN8 carry check digits of their own.
    constexpr int32_t kCode39Unchecked[] = {3, 4, 14};
    // ITF and its kin, Plessey, Code 93, MSI, Telepen.
    constexpr int32_t kCounting[] = {4, 20, 23, 24, 28, 35, 36};
    if (code == kCode39)
        return std::find(std::begin(kCode39Unchecked), std::end(kCode39Unchecked), variation1) ==
               std::end(kCode39Unchecked);
    if (code == kCodabar) return variation1 == 0;  // only the plain one adds a check digit
    return std::find(std::begin(kCounting), std::end(kCounting), code) != std::end(kCounting);
}

// Whether a name read back as `read` makes the symbol drawn as `now`: variants
// the display names do not tell apart count as one, as they always have.
bool makesSymbolDrawn(const TypeIdentity& read, const TypeIdentity& now) {
    if (read.code != now.code || read.variation != now.variation) return false;
    if (read.nCheck != now.nCheck && checkSettingCounts(now.code, now.variation1)) return false;
    if (read.variation1 == now.variation1) return true;
    const char* drawnName = codeTypeName(now.code, now.variation1);
    if (!drawnName) return false;
    const std::string drawn(drawnName);  // the next name may be composed in the same buffer
    const char* readName = codeTypeName(read.code, read.variation1);
    return readName && drawn == readName;
}

// Run with the settings of a fresh record; the settings and the fields are put back.
TypeIdentity readBack(const char* name) {
    // Kept between calls: the copies keep their storage, so a batch does not allocate.
    static SymbolSettings keptSym;
    static PanelFields keptPanels;
    char copy[kTeFSize] = {};  // the name may be the settings' own
    if (!copyBounded(copy, name)) return {};
    keptSym = gSym;
    keptPanels = gPanels;
    gSym = SymbolSettings{};
    const TypeIdentity read = parseCodeType(copy) ? currentIdentity() : TypeIdentity{};
    gSym = keptSym;
    gPanels = keptPanels;
    return read;
}

// The names a type may be written by, as a fresh record names them: the script
// names, then the display names. Stops at the first name tryName takes.
template <typename Try>
void forEachTypeName(const Try& tryName) {
    for (const ScriptType& t : kScriptTypes)
        if (tryName(t.name.data())) return;
    const SymbolSettings kept = gSym;
    char name[kTeFSize] = {};
    for (int32_t nc : {0, 1})
        for (int32_t c = 0; c <= kLastFamily; ++c)
            for (int32_t v : kVariantsTried) {
                gSym = SymbolSettings{};
                gSym.nCheck = nc;
                const char* n = codeTypeName(c, v);
                gSym = kept;
                // Copied: the next name may be composed in the same buffer.
                if (n && copyBounded(name, n) && tryName(name)) return;
            }
}

}  // namespace

const char* optionsLineTypeName() {
    // The answer for the last type asked about: a batch of one type looks once.
    static char askedName[kTeFSize] = {};
    static TypeIdentity asked;
    static char answer[kTeFSize] = {};
    static bool named = true;
    const TypeIdentity now = currentIdentity();
    if (now == asked && std::strcmp(askedName, gSym.TeF) == 0) return named ? answer : nullptr;
    copyBounded(askedName, gSym.TeF);
    asked = now;
    copyBounded(answer, gSym.TeF);
    named = true;
    // Display names such as "Code 39" stand for more than one setting, and a custom
    // code type's name is the user's own. A label's line names no type, and stays so.
    if (gSym.TeF[0] == 0 || readBack(gSym.TeF) == now) return answer;
    named = false;
    forEachTypeName([&now](const char* name) {
        if (readBack(name) != now) return false;
        copyBounded(answer, name);
        named = true;
        return true;
    });
    // No name reads back as these very settings: one that makes the same symbol
    // serves, the display name first; any other would make another symbol.
    if (!named) named = makesSymbolDrawn(readBack(gSym.TeF), now);
    if (!named)
        forEachTypeName([&now](const char* name) {
            if (!makesSymbolDrawn(readBack(name), now)) return false;
            copyBounded(answer, name);
            named = true;
            return true;
        });
    return named ? answer : nullptr;
}

bool sameCodeType(const char* a, const char* b) {
    const TypeIdentity first = readBack(a);
    return first != TypeIdentity{} && first == readBack(b);
}

std::vector<std::string> codeTypeNames() {
    std::vector<std::string> names;
    forEachTypeName([&names](const char* name) {
        if (std::find(names.begin(), names.end(), name) == names.end()) names.emplace_back(name);
        return false;
    });
    return names;
}

bool isCodeTypeName(const char* text) {
    const std::string_view name(text);
    for (const ScriptType& t : kScriptTypes)
        if (sameNameIgnoringCase(name, t.name)) return true;
    int32_t code = 0, v = 0, nc = 0;
    return findDisplayName(name, &code, &v, &nc);
}

int32_t parseCodeType(const char* text) {
    const std::string_view name(text);
    for (const ScriptType& t : kScriptTypes)
        if (sameNameIgnoringCase(name, t.name)) {
            applyType(t.code, t.variation1, t.nCheck, t.ocrFont);
            return 1;
        }
    int32_t code = 0, v = 0, nc = 0;
    if (!findDisplayName(name, &code, &v, &nc)) return 0;
    applyType(code, v, nc, 0);
    return 1;
}
