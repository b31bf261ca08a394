#include "symbology/Filters.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <type_traits>

#include "platform/numbers.h"
#include "platform/textedit.h"
#include "symbology/host.h"
#include "symbology/messages.h"
#include "symbology/panels.h"
#include "symbology/state.h"

FilterState gFilter;

void resetFilter() { gFilter = FilterState{}; }

// Code types that keep "-" and blanks in their data. Codabar ('-' is one of its
// characters), Telepen and Codablock F (both full ASCII) keep them too: leaving
// them out would make a symbol that encodes something else.
bool keepsSeparators(int32_t code) {
    switch (code) {
        case 8:
        case 36:
        case 39:
        case 5:
        case 6:
        case 7:
        case 17:
        case 19:
        case 28:
        case 30:
        case 38:
        case 40:
        case 41:
        case 42:
            return true;
        default:
            return false;
    }
}

namespace {

constexpr int32_t kCodeBookNumbers = 1;
constexpr int32_t kCodeInterleaved = 4;

}  // namespace

bool separatorsPrintedOnly(int32_t code) {
    return !keepsSeparators(code) && (code == kCodeBookNumbers || code == kCodeInterleaved);
}

size_t printedLengthOf(const char* printed, size_t n, int32_t dataLength) {
    int32_t counted = 0;
    for (size_t i = 0; i < n; ++i) {
        if (counted >= dataLength) return i;
        if (printed[i] != '-' && printed[i] != ' ') ++counted;
    }
    return n;
}

namespace {

constexpr int32_t kCodeDataBar = 37;
constexpr int32_t kFirstExpandedVariant = 5;  // Expanded, its stacked form, the coupon
constexpr char kCompositeMark = '|';

bool isSeparator(unsigned char c) { return c == '-' || c == ' '; }

// DataBar's GS1 data may hold '-'; blanks typed between its elements, as in
// "(01) 0950...", still go. The item number of the digit-only members, before
// any '|', still loses '-' too: it is a number typed in groups.
bool dashIsData(int32_t code, bool afterCompositeMark) {
    return code == kCodeDataBar && (afterCompositeMark || gSym.variation1 >= kFirstExpandedVariant);
}

bool kept(char c, bool keepsAll, bool keepsDash) {
    return keepsAll || !isSeparator(c) || (keepsDash && c == '-');
}

}  // namespace

void Gettw(const char* text, int32_t length, const char* addOn, int32_t addOnLength) {
    const int32_t code = gSym.code;
    const bool printedKeeps = keepsSeparators(code) || separatorsPrintedOnly(code);
    const bool dataKeeps = keepsSeparators(code);
    bool afterCompositeMark = false;
    int32_t n1 = 0, n11 = 0;
    constexpr int32_t kRoom = static_cast<int32_t>(kMainCodeSize) - 1;
    for (int32_t i = 0; i < length && text[i] != 0; ++i) {
        const char c = text[i];
        afterCompositeMark = afterCompositeMark || c == kCompositeMark;
        const bool dashesKept = dashIsData(code, afterCompositeMark);
        if (kept(c, dataKeeps, dashesKept) && n1 < kRoom) gData.chMainCode[n1++] = c;
        if (kept(c, printedKeeps, dashesKept) && n11 < kRoom) gData.chMainCode2[n11++] = c;
    }
    gData.chMainCode[n1] = 0;
    gData.chMainCode2[n11] = 0;
    gData.len1 = n1;
    gData.len11 = n11;
    takeAddOn(addOn, addOnLength);
}

void takeAddOn(const char* addOn, int32_t addOnLength) {
    int32_t n2 = 0;
    constexpr int32_t kAddRoom = static_cast<int32_t>(kAddCodeSize) - 1;
    for (int32_t i = 0; i < addOnLength && addOn[i] != 0; ++i) {
        if (!isSeparator(addOn[i]) && n2 < kAddRoom) {
            gData.chAddCode[n2] = addOn[i];
            gData.chAddCode2[n2] = addOn[i];
            ++n2;
        }
    }
    gData.chAddCode[n2] = 0;
    gData.chAddCode2[n2] = 0;
    gData.len2 = gData.len22 = n2;
}

// ---- The key filters ------------------------------------------------------------

namespace {

using platform::TERec;

enum class Target { None, Data, Serial, AddOn };

constexpr int32_t kSerialFields =
    static_cast<int32_t>(std::extent_v<decltype(PanelFields::TEBack1)>);

unsigned char key() { return static_cast<unsigned char>(gFilter.theChar); }
int32_t length(const TERec* field) { return static_cast<int32_t>(field->text.size()); }
void refuse() { platform::SysBeep(kRefusedBeep); }
void type(TERec* field) { platform::TEKey(key(), field); }

TERec* serialField() {
    const int32_t i = gPanels.c_TE1;
    return i >= 0 && i < kSerialFields ? &gPanels.TEBack1[i] : nullptr;
}

// Where a key that passed a filter's character test goes.
Target target() {
    switch (productionEntryMode()) {
        case 0:
            return gPanels.c_TE == 0   ? Target::Data
                   : gPanels.c_TE == 1 ? Target::AddOn
                                       : Target::None;
        case 1:
            return serialField() ? Target::Serial : Target::None;
        case 5:
            return gPanels.c_TE5 == 0 ? Target::Data : Target::None;
        default:
            return Target::None;
    }
}

bool digit(unsigned char c) { return c >= '0' && c <= '9'; }
bool inRange(unsigned char c, char first, char last) { return c >= first && c <= last; }
bool oneOf(unsigned char c, const char* set) { return c != 0 && std::strchr(set, c) != nullptr; }

// Characters of the field that are not separators, and separators.
int32_t dataCount(const TERec* field) {
    return static_cast<int32_t>(std::count_if(field->text.begin(), field->text.end(),
                                              [](char c) { return !isSeparator(c); }));
}
int32_t separatorCount(const TERec* field) { return length(field) - dataCount(field); }

// How a field takes a key that passed the character test.
struct Rule {
    int32_t most = 0;                  // refused with a beep at this length; 0 no limit
    std::array<int32_t, 3> dash = {};  // a '-' follows the key that becomes this character
    bool gglenLimit = false;           // dropped silently at gglen characters (gglen not 0)
};

void apply(TERec* field, const Rule& rule) {
    const int32_t n = length(field);
    if (rule.most != 0 && n >= rule.most) return refuse();
    if (rule.gglenLimit && gSym.gglen != 0 && n >= gSym.gglen) return;
    type(field);
    if (std::find(rule.dash.begin(), rule.dash.end(), n + 1) != rule.dash.end())
        platform::TEKey('-', field);
}

void refuseAddOn(TERec*) { refuse(); }

// Sends the key to the field its target names, under that target's rule.
template <class AddOn>
void route(const Rule& data, const Rule& serial, AddOn addOn) {
    switch (target()) {
        case Target::Data:
            apply(&gPanels.TEH, data);
            break;
        case Target::Serial:
            apply(serialField(), serial);
            break;
        case Target::AddOn:
            addOn(&gPanels.TEX);
            break;
        case Target::None:
            break;
    }
}

void route(const Rule& both, void (*addOn)(TERec*) = refuseAddOn) { route(both, both, addOn); }

auto addOnAtMost(int32_t most) {
    return [most](TERec* field) { apply(field, Rule{most}); };
}

// The Code 39 add-on is live: the symbol's add-on and the selected items follow it.
void takeCode39AddOn() {
    const std::string& text = gPanels.TEX.text;
    const size_t n = std::min(text.size(), kAddCodeSize - 1);
    std::memcpy(gData.chAddCode, text.data(), n);
    gData.chAddCode[n] = 0;
    setItemDataSelItems(2);
}

bool code39Character(unsigned char c) {
    return digit(c) || inRange(c, 'A', 'Z') || oneOf(c, "*+$% .-/");
}

// Code 93's extra characters as the keyboard gives them (Mac OS Roman bytes).
constexpr unsigned char kCode93Extras[] = {214, 162, 176, 173};

// ---- The filter of each code type, by family and variant --------------------------

enum class Kind : uint8_t {
    None,
    E13,
    ISB,
    ISS,
    E8,
    NumIT6,
    NumIT7,
    DUN,
    Num7,
    Num18,
    Num20,
    UA12,
    UA8,
    NDC,
    NumMS,
    NumSH,
    mcare,
    CAPs,
    CAPs2,
    Hex,
    C11,
    Phex,
    Numaa,
    CAPsABC,
    ALL2,
};

constexpr int32_t kAnyVariant = -1;

struct FilterRow {
    int32_t code;
    int32_t variant;  // kAnyVariant: every variant not named in an earlier row
    Kind kind;
};

// The first row that matches the code type chooses its filter; a type without
// a row takes no keys.
constexpr FilterRow kFilterRows[] = {
    {0, kAnyVariant, Kind::E13},
    {26, kAnyVariant, Kind::E13},
    {1, kAnyVariant, Kind::ISB},
    {2, kAnyVariant, Kind::ISS},
    {3, kAnyVariant, Kind::E8},
    {9, kAnyVariant, Kind::E8},
    {16, kAnyVariant, Kind::E8},
    {4, 6, Kind::NumIT7},
    {4, 9, Kind::NumIT7},
    {4, kAnyVariant, Kind::DUN},
    {7, 10, Kind::DUN},
    {7, 11, Kind::DUN},
    {7, 12, Kind::DUN},
    {23, kAnyVariant, Kind::DUN},
    {24, kAnyVariant, Kind::DUN},
    {29, kAnyVariant, Kind::DUN},
    {5, 2, Kind::Num18},
    {5, 3, Kind::Num18},
    {5, kAnyVariant, Kind::ALL2},
    {6, 10, Kind::ALL2},
    {7, kAnyVariant, Kind::ALL2},
    {30, kAnyVariant, Kind::ALL2},
    {36, kAnyVariant, Kind::ALL2},
    {37, kAnyVariant, Kind::ALL2},
    {38, kAnyVariant, Kind::ALL2},
    {39, kAnyVariant, Kind::ALL2},
    {40, kAnyVariant, Kind::ALL2},
    {41, kAnyVariant, Kind::ALL2},
    {42, kAnyVariant, Kind::ALL2},
    {6, kAnyVariant, Kind::CAPs},
    {8, kAnyVariant, Kind::Hex},
    {10, 3, Kind::NDC},
    {10, 4, Kind::NDC},
    {10, 5, Kind::NDC},
    {10, 6, Kind::NDC},
    {10, kAnyVariant, Kind::UA12},
    {11, 0, Kind::UA12},
    {11, kAnyVariant, Kind::UA8},
    {12, kAnyVariant, Kind::Num7},
    {13, kAnyVariant, Kind::NumMS},
    {14, kAnyVariant, Kind::NumIT6},
    {15, kAnyVariant, Kind::NumSH},
    {17, 2, Kind::Num20},
    {17, kAnyVariant, Kind::Num7},
    {19, kAnyVariant, Kind::C11},
    {20, kAnyVariant, Kind::Phex},
    {35, kAnyVariant, Kind::Phex},
    {21, kAnyVariant, Kind::Numaa},
    {31, kAnyVariant, Kind::Numaa},
    {25, kAnyVariant, Kind::mcare},
    {28, kAnyVariant, Kind::CAPs2},
    {32, kAnyVariant, Kind::CAPsABC},
    {18, kAnyVariant, Kind::None},
    {22, kAnyVariant, Kind::None},
    {27, kAnyVariant, Kind::None},
    {33, kAnyVariant, Kind::None},
    {34, kAnyVariant, Kind::None},
};

constexpr Kind filterOf(int32_t code, int32_t variant) {
    for (const FilterRow& row : kFilterRows) {
        if (row.code == code && (row.variant == kAnyVariant || row.variant == variant))
            return row.kind;
    }
    return Kind::None;
}
static_assert(filterOf(4, 9) == Kind::NumIT7 && filterOf(4, 1) == Kind::DUN);
static_assert(filterOf(11, 0) == Kind::UA12 && filterOf(11, 1) == Kind::UA8);

void runFilter(Kind kind) {
    switch (kind) {
        case Kind::E13:
            return E13();
        case Kind::ISB:
            return ISB();
        case Kind::ISS:
            return ISS();
        case Kind::E8:
            return E8();
        case Kind::NumIT6:
            return NumIT6();
        case Kind::NumIT7:
            return NumIT7();
        case Kind::DUN:
            return DUN();
        case Kind::Num7:
            return Num(7);
        case Kind::Num18:
            return Num(18);
        case Kind::Num20:
            return Num(20);
        case Kind::UA12:
            return UA(12);
        case Kind::UA8:
            return UA(8);
        case Kind::NDC:
            return NDC();
        case Kind::NumMS:
            return NumMS();
        case Kind::NumSH:
            return NumSH();
        case Kind::mcare:
            return mcare();
        case Kind::CAPs:
            return CAPs();
        case Kind::CAPs2:
            return CAPs2();
        case Kind::Hex:
            return Hex();
        case Kind::C11:
            return C11();
        case Kind::Phex:
            return Phex();
        case Kind::Numaa:
            return Numaa();
        case Kind::CAPsABC:
            return CAPsABC();
        case Kind::ALL2:
            return ALL2();
        case Kind::None:
            return;
    }
}

// Every field of the panes loses its caret, so that one field at most is active.
void deactivatePanelFields() {
    for (TERec* f :
         {&gPanels.TEH, &gPanels.TEX, &gPanels.TESize, &gPanels.TEHeight, &gPanels.TEBWR,
          &gPanels.TECyan, &gPanels.TEMage, &gPanels.TEYell, &gPanels.TEBlac, &gPanels.TELine})
        platform::TEDeactivate(f);
    for (TERec& f : gPanels.TEBack1) platform::TEDeactivate(&f);
    for (TERec& f : gPanels.TEBack2) platform::TEDeactivate(&f);
    for (TERec& f : gPanels.TEBack3) platform::TEDeactivate(&f);
    for (TERec& f : gPanels.TEBack5) platform::TEDeactivate(&f);
    for (TERec& f : gPanels.TETe1) platform::TEDeactivate(&f);
}

constexpr int32_t kPrintTimeFocuses = 3;  // TEH and the two extra fields
constexpr int32_t kSerialFocuses = 4;     // serial fields 0 to 3

// Tab: the next field of the pane takes the caret.
void moveFocus(int32_t mode) {
    auto next = [](int32_t focus, int32_t count) {
        return focus >= 0 && focus < count - 1 ? focus + 1 : 0;
    };
    switch (mode) {
        case 5:
            gPanels.c_TE5 = next(gPanels.c_TE5, kPrintTimeFocuses);
            deactivatePanelFields();
            platform::TEActivate(gPanels.c_TE5 == 0 ? &gPanels.TEH
                                                    : &gPanels.TEBack5[gPanels.c_TE5 - 1]);
            break;
        case 1:
            gPanels.c_TE1 = next(gPanels.c_TE1, kSerialFocuses);
            deactivatePanelFields();
            if (gPanels.c_TE1 > 0) platform::TEActivate(&gPanels.TEBack1[gPanels.c_TE1]);
            break;
        case 0:
            gPanels.c_TE = gPanels.c_TE == 0 ? 1 : 0;
            deactivatePanelFields();
            platform::TEActivate(gPanels.c_TE == 0 ? &gPanels.TEH : &gPanels.TEX);
            break;
        default:
            break;
    }
}

// Keys of the keyboard's editing block (Home, End, Help, the page keys, the
// function keys, Escape, forward Delete): never data.
constexpr unsigned char kEditingKeys[] = {1, 4, 5, 11, 12, 16, 27, 127};
bool isEditingKey(unsigned char c) {
    return std::find(std::begin(kEditingKeys), std::end(kEditingKeys), c) != std::end(kEditingKeys);
}

}  // namespace

void Filter() {
    const int32_t mode = productionEntryMode();
    const unsigned char ch = key();
    // Tab, Return and Enter are never typed: Tab moves the focus, Return and
    // Enter have already pressed OK. A selection survives them.
    if (ch == kKeyTab) return moveFocus(mode);
    if (ch == kKeyReturn || ch == kKeyEnter || isEditingKey(ch)) return;

    TERec* field = nullptr;
    switch (target()) {
        case Target::Data:
            field = &gPanels.TEH;
            break;
        case Target::AddOn:
            field = &gPanels.TEX;
            break;
        case Target::Serial:
            field = serialField();
            break;
        case Target::None:
            return;
    }
    // The arrows move the caret in every field, whatever its code type takes.
    if (ch >= kKeyLeft && ch <= kKeyDown) return platform::TEKey(ch, field);
    if (field->selStart != field->selEnd || ch == kKeyBackspace) {
        platform::TEKey(kKeyBackspace, field);
        if (field == &gPanels.TEX && gSym.code == 6) takeCode39AddOn();
        if (ch == kKeyBackspace) return;
    }
    runFilter(filterOf(gSym.code, gSym.variation1));
}

void E13() {
    if (target() == Target::Serial && gSym.variation1 == 6) {
        refuse();
        Message(kMsgNoSerialNumbers);
        return;
    }
    const unsigned char c = key();
    if (!digit(c) && c != '|' && c != '#') return refuse();
    Rule data{13, {7}};
    if (gSym.variation1 == 6) data.most = 6;
    if (gSym.variation1 == 12) data.most = 9;
    route(data, data, addOnAtMost(5));
}

void ISS() {
    const unsigned char c = key();
    if (!digit(c) && c != '|' && c != '#') return refuse();
    const Rule rule{11, {4, 8}};
    route(rule, rule, addOnAtMost(5));
}

void ISB() {
    const unsigned char c = key();
    const bool ismn = gSym.variation1 == 2;
    const bool anyFirst = ismn && gPanels.TEH.text.empty();
    if (!anyFirst && !digit(c) && !isSeparator(c)) return refuse();
    const bool thirteen = gSym.variation1 == 2 || gSym.variation1 == 3;
    const int32_t most = thirteen ? 12 : 9;  // characters beyond the separators
    const int32_t separators = thirteen ? 3 : 2;
    switch (target()) {
        case Target::Data: {
            TERec* f = &gPanels.TEH;
            if (dataCount(f) >= most) return refuse();
            if (isSeparator(c) && separatorCount(f) >= separators) return refuse();
            return type(f);
        }
        case Target::Serial:
            return apply(serialField(), Rule{most + 1, {1}});
        case Target::AddOn:
            return apply(&gPanels.TEX, Rule{5});
        case Target::None:
            return;
    }
}

void E8() {
    const bool anyAddOn = gSym.variation1 == 4;
    if (anyAddOn && target() == Target::AddOn) return apply(&gPanels.TEX, Rule{2});
    if (!digit(key())) return refuse();
    const Rule rule = gSym.code == 3 && gSym.variation1 == 1 ? Rule{5} : Rule{8, {4}};
    route(rule);
}

void NumIT6() {
    if (!digit(key())) return refuse();
    route(Rule{8});
}

void NumIT7() { NumIT6(); }

void DUN() {
    const unsigned char c = key();
    const bool withMN = gSym.variation1 == 2;
    if (!digit(c) && !isSeparator(c) && !(withMN && (c == 'M' || c == 'N'))) return refuse();
    switch (target()) {
        case Target::Data: {
            TERec* f = &gPanels.TEH;
            if (length(f) >= (withMN ? 9 : 20)) return refuse();
            if (gSym.gglen != 0 && c != ' ' && dataCount(f) >= gSym.gglen) return;
            return type(f);
        }
        case Target::Serial:
            return apply(serialField(), Rule{20, {}, true});
        case Target::AddOn: {
            TERec* f = &gPanels.TEX;
            if (length(f) >= 3) return refuse();
            if (length(f) == 1) platform::TEKey('-', f);
            return type(f);
        }
        case Target::None:
            return;
    }
}

void Num(int32_t most) {
    if (!digit(key())) return refuse();
    const Rule rule{most};
    if (gSym.code == 17) return route(rule, rule, addOnAtMost(most));
    route(rule);
}

void UA(int32_t most) {
    if (!digit(key())) return refuse();
    const Rule rule{most, {6}};
    route(rule, rule, addOnAtMost(gSym.code == 11 ? 2 : 5));
}

void NDC() {
    const unsigned char c = key();
    if (!digit(c) && c != '-') return refuse();
    constexpr int32_t kDigits = 10;
    constexpr int32_t kDashes = 2;
    switch (target()) {
        case Target::Data: {
            TERec* f = &gPanels.TEH;
            if (dataCount(f) >= kDigits) return refuse();
            if (c == '-' && separatorCount(f) >= kDashes) return refuse();
            return type(f);
        }
        case Target::Serial:
            return apply(serialField(), Rule{kDigits + 1, {1}});
        case Target::AddOn:
            return apply(&gPanels.TEX, Rule{5});
        case Target::None:
            return;
    }
}

void NumMS() {
    if (!digit(key())) return refuse();
    route(Rule{22, {2, 8, 17}});
}

void NumSH() {
    if (!digit(key())) return refuse();
    route(Rule{11, {8}});
}

void mcare() {
    if (!digit(key())) return refuse();
    route(Rule{13, {6}});
}

void CAPs() {
    if (!code39Character(key())) return refuse();
    Rule data{0, {}, true};
    if (gSym.variation1 == 5) data.most = 21;
    if (gSym.variation1 == 4) data.most = 11;
    if (gSym.variation1 == 3) data.most = 10;
    route(data, Rule{0, {}, true}, [](TERec* f) {
        const unsigned char c = key();
        if (!digit(c) && c != '.') return refuse();
        if (length(f) >= 4) return refuse();
        type(f);
        takeCode39AddOn();
    });
}

void CAPs2() {
    const unsigned char c = key();
    const bool extra =
        std::find(std::begin(kCode93Extras), std::end(kCode93Extras), c) != std::end(kCode93Extras);
    if (!code39Character(c) && !extra) return refuse();
    route(Rule{0, {}, true});
}

void Hex() {
    const unsigned char c = key();
    if (!digit(c) && !inRange(c, 'A', 'E') && !oneOf(c, "-$+:/.*TN")) return refuse();
    route(Rule{});
}

void C11() {
    const unsigned char c = key();
    if (!digit(c) && c != '-' && c != '*') return refuse();
    route(Rule{});
}

void Phex() {
    const unsigned char c = key();
    if (!digit(c) && !inRange(c, 'A', 'F')) return refuse();
    route(Rule{0, {}, true});
}

void Numaa() {
    if (!digit(key())) return refuse();
    route(Rule{});
}

void CAPsABC() {
    if (!inRange(key(), 'A', 'D')) return refuse();
    route(Rule{1});
}

void ALL2() {
    const unsigned char c = key();
    if (c == kKeyReturn || c == kKeyTab) return;
    const int32_t code = gSym.code, v = gSym.variation1;
    const bool addOnTaken =
        code == 36 || (code == 37 && (v == 6 || v == 7)) || code == 38 || code == 40;
    route(Rule{}, Rule{}, [addOnTaken](TERec* f) {
        if (!addOnTaken) return refuse();
        type(f);
    });
}
