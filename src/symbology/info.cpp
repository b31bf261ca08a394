#include "symbology/info.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

#include "symbology/GS1AI.h"
#include "symbology/encoders.h"
#include "symbology/host.h"
#include "symbology/messages.h"
#include "symbology/state.h"

DispatchState gDispatch;

void endSymbolDispatch() {
    const bool refuse = gDispatch.refuseStrayAddOn;
    gDispatch = DispatchState{};
    gDispatch.refuseStrayAddOn = refuse;
}

namespace {

constexpr double kMillimetresPerPoint = 0.35278346151132434;
constexpr double kBearerToMillimetres = 0.7055669230226487;
constexpr int32_t kAsda8 = 4;  // EAN-8 variant
// Families whose add-on field is not an add-on: EAN 8 settles its own (ASDA 8
// prints the characters beside the symbol), Plus and PIP show it as text above.
constexpr int32_t kEan8Family = 3;
constexpr int32_t kPlusFamily = 26;
constexpr int32_t kPipFamily = 27;
constexpr int32_t kNdcDigits = 10;
// The heads that Halfords and Peacocks EAN 13 put before the digits typed.
constexpr const char* kHalfordsHead = "5015025";
constexpr const char* kPeacocksHead = "4850";

// CheckLength for the type's own name, where `added` digits of the data were
// put in front of what the user typed: the texts count the digits typed.
int32_t checkLengthOf(const char* own, int32_t n, int32_t addA, int32_t addB, int32_t added);

void prependZero() {
    // The buffer keeps one byte for the NUL: refuse to grow past it.
    if (gData.len1 < 0 || gData.len1 + 2 > static_cast<int32_t>(kMainCodeSize)) return;
    std::memmove(gData.chMainCode + 1, gData.chMainCode, static_cast<size_t>(gData.len1) + 1);
    gData.chMainCode[0] = '0';
    ++gData.len1;
}

void setLen1FromData() { gData.len1 = static_cast<int32_t>(std::strlen(gData.chMainCode)); }

// A number of 12 digits or more (13 once the encoder has added the check digit)
// that begins with the prefix already carries it.
bool alreadyPrefixed(const char* prefix) {
    return gData.len1 >= 12 && std::strncmp(gData.chMainCode, prefix, std::strlen(prefix)) == 0;
}

// Puts `prefix` in front of the data unless it is already there (a second
// generation of the same item must not prefix twice).
bool prefixData(const char* prefix) {
    if (alreadyPrefixed(prefix)) return true;
    std::string joined = std::string(prefix) + gData.chMainCode;
    if (!copyBounded(gData.chMainCode, joined.c_str())) return false;
    setLen1FromData();
    return true;
}

void tooLongForBuffer() {
    refuseSymbol("The data is too long for this code type. Shorten it and try again.");
}

// Element strings the symbol would carry as other data than typed are refused
// as GS1-128 refuses them: a value of the wrong length runs into the next
// element, and the encoder leaves out the check digit of a GTIN, so a wrong one
// would be read as the right one.
bool elementStringsSound(const char* from, const char* to) {
    const std::string bad = checkCarriedElements(from, static_cast<int32_t>(to - from), "#");
    if (bad.empty()) return true;
    refuseSymbol(bad.c_str());
    return false;
}

// Families whose data is digits only; a letter would otherwise enter a check digit.
bool digitsOnlyFamily(int32_t code) {
    switch (code) {
        case 0:
        case 1:
        case 2:
        case 3:
        case 4:
        case 9:
        case 10:
        case 11:
        case 14:
        case 16:
        case 23:
        case 24:
        case 25:
        case 26:
        case 27:
            return true;
        default:
            return false;
    }
}

// Interleaved 2 of 5 "Next" turns a leading letter into two digits.
bool nextLetterFirst() {
    const int32_t c = gSym.code;
    const char first = gData.chMainCode[0];
    return (c == 4 || c == 23 || c == 24) && gSym.variation1 == 2 && first >= 'A' && first <= 'Z';
}

bool checkDigitsOnly(const char* typeName) {
    for (int32_t i = nextLetterFirst() ? 1 : 0; i < gData.len1; ++i) {
        unsigned char c = static_cast<unsigned char>(gData.chMainCode[i]);
        if (c < '0' || c > '9') {
            char text[160];
            std::snprintf(text, sizeof text,
                          "%s data may hold digits only; \"%c\" cannot be encoded. Remove it and "
                          "try again.",
                          typeName, quotedChar(c));
            refuseSymbol(text);
            return false;
        }
    }
    const int32_t c = gSym.code;
    const bool addOnIsDigits = c == 0 || c == 1 || c == 2 || c == 10 || c == 11 || c == 25;
    if (addOnIsDigits && !allDigits(gData.chAddCode, gData.len2)) {
        refuseSymbol("An add-on may hold digits only. Correct the add-on and try again.");
        return false;
    }
    return true;
}

const unsigned char* pname(const char* text) {
    static unsigned char buf[256];
    pstrSet(buf, text);
    return buf;
}

// The header set above Plus and PIP symbols is made from the add-on.
bool addOnHeader(const char* lead) {
    if (gData.len2 < 0 || gData.len2 >= static_cast<int32_t>(kAddCodeSize)) gData.len2 = 0;
    gData.chAddCode[gData.len2] = 0;
    std::string head = std::string(lead) + gData.chAddCode;
    if (!copyBounded(gData.chHeadCode, head.c_str())) {
        refuseSymbol("The add-on text is too long for the text above the symbol. Shorten it.");
        return false;
    }
    return true;
}

void dropAddOn() {
    gData.len2 = 0;
    gData.len22 = 0;
    gData.chAddCode[0] = 0;
}

// An add-on whose length is neither addA nor addB (none at all when both are 0)
// would be left off the symbol: refused where the caller asks for it.
bool strayAddOnRefused(const char* name, int32_t addA, int32_t addB) {
    const int32_t n = gData.len2;
    if (!gDispatch.refuseStrayAddOn || n <= 0 || (addA != 0 && (n == addA || n == addB)))
        return false;
    char text[240];
    if (addA == 0)
        std::snprintf(text, sizeof text,
                      "%s takes no add-on. Remove the add-on (options) and try again.",
                      typeNameInMessages(name));
    else
        std::snprintf(text, sizeof text,
                      "%s takes an add-on of %d or %d digits; the add-on has %d. Correct the "
                      "add-on and try again.",
                      typeNameInMessages(name), static_cast<int>(addA), static_cast<int>(addB),
                      static_cast<int>(n));
    refuseSymbol(text);
    return true;
}

int32_t interleavedParity() {
    const int32_t v = gSym.variation1;
    const int32_t n = gData.len1;
    if (v == 7 || v == 8) {
        if (n != 10) {
            Message(29);
            gMsg.inerror = 1;
            return 1;
        }
        return 0;
    }
    bool ok;
    const bool evenVariant = v == 2 || v == 14;
    if (gSym.nCheck == 0)
        ok = evenVariant ? n % 2 == 0 : n % 2 == 1;
    else
        ok = evenVariant ? true : n % 2 == 0;
    if (!ok) {
        Message(v == 6 ? 67 : 29);
        gMsg.inerror = 1;
        return 1;
    }
    if (v == 6 && gData.chMainCode[0] != '0') {
        Message(67);
        gMsg.inerror = 1;
        return 1;
    }
    return 0;
}

}  // namespace

bool parseQROptions(const char* o, int32_t* level, int32_t* version) {
    *level = 0;
    *version = 1;
    if (o[0] == 0) return true;
    static constexpr char kLevels[] = "LMQH";
    const char* found = std::strchr(kLevels, std::toupper(static_cast<unsigned char>(o[0])));
    if (found == nullptr) return false;
    *level = static_cast<int32_t>(found - kLevels);
    // The smallest version, the whole number however many digits it has.
    int32_t v = 0, digits = 0;
    for (const char* p = o + 1; *p != 0; ++p, ++digits) {
        if (*p < '0' || *p > '9' || digits >= 2) return false;
        v = 10 * v + (*p - '0');
    }
    if (digits == 0) return true;
    if (v < 1 || v > kQRLargestVersion) return false;
    *version = v;
    return true;
}

namespace {

int32_t runEncoder() {
    const int32_t code = gSym.code;
    const int32_t v = gSym.variation1;
    switch (code) {
        case 0:
        case 25:
        case 26:
        case 27:
            return EAN13();
        case 1:
            return ISBN();
        case 2:
            return ISSN();
        case 3:
        case 16:
            return EAN8();
        case 4:
        case 24:
            return Intwofive();
        case 23: {
            gSym.code = 4;
            int32_t r = Intwofive();
            gSym.code = 23;
            return r;
        }
        case 5:
            return v == 7 ? JCPenney() : OneTwoEight();
        case 6:
            return ThirtyNine();
        case 7:
            return OneTwoEight();
        case 8:
            return Codabar();
        case 10:
            return UPCA();
        case 11:
            return UPCE();
        case 12:
            return onSick();
        case 13:
            return MSBel();
        case 14:
            return ITF6();
        case 15:
        case 34:
            return MSShoe();
        case 17:
            return onLaetus();
        case 19:
            return Code11();
        case 20:
            return Plessey();
        case 21:
            return C2of5();
        case 28:
            return NinetyThree();
        case 30:
            return RoyalMail();
        case 31:
            return Postnet();
        case 32:
            return FIM();
        case 35:
            return MSI();
        case 36:
            return Telepen();
        case 37:
            if (v >= 0 && v <= 4) return DataBar(v + 1);
            if (v >= 5 && v <= 7) return DataBar(6);
            MessageText("This DataBar variant does not exist. Choose another DataBar type.");
            return 1;
        case 38:
            return doDataMatrixCode(gData.chMainCode);
        case 39:
            return CodaBlock(gData.chMainCode);
        case 40: {
            int32_t level, version;
            if (!parseQROptions(gData.chAddCode, &level, &version)) {
                char text[300];
                std::snprintf(text, sizeof text,
                              "The QR Code options \"%.40s\" cannot be read. Give the "
                              "error-correction level L, M, Q or H, optionally followed by the "
                              "smallest version from 1 to 40, for example H or H40.",
                              gData.chAddCode);
                refuseSymbol(text);
                return 1;
            }
            return QRencodeData(gData.chMainCode, gData.len1, level, version, 1, -1);
        }
        case 41:
            return MicroPDF417();
        case 42:
            if (v == 2) return Barcode2D_CreatePDFTruncated();
            if (v == 1) return Barcode2D_CreatePDFByteCompaction();
            return Barcode2D_CreatePDF();
        default:
            MessageText("This code type does not exist. Choose a code type from the list.");
            return 1;
    }
}

// Families whose symbols neither carry nor read the add-on (options) text, any
// variant; the others draw it, read settings from it, or check it by their length
// rule. ITF reads its first digits for the gauges.
constexpr int32_t kFamiliesWithoutOptions[] = {5,  7,  8,  14, 19, 20, 21, 23, 24,
                                               28, 30, 31, 32, 35, 39, 41, 42};
constexpr int32_t kDataBarFamily = 37;
constexpr int32_t kFirstStackedExpanded = 6;  // DataBar variants 6 and 7 read the segments

constexpr bool takesNoOptions(int32_t code, int32_t v) {
    if (code == kDataBarFamily) return v < kFirstStackedExpanded;
    for (const int32_t family : kFamiliesWithoutOptions)
        if (family == code) return true;
    return false;
}

// The length rule and the data massaging that come before the encoder.
int32_t prepare() {
    const int32_t code = gSym.code;
    const int32_t v = gSym.variation1;
    if (digitsOnlyFamily(code)) {
        const char* typeName = typeNameInMessages(gSym.TeF[0] ? gSym.TeF : "This code type's");
        // Plus and PIP carry text in the add-on; ITF variants take their own checks.
        if (!checkDigitsOnly(typeName)) return 1;
    }
    switch (code) {
        case 0: {
            // Halfords and Peacocks put the head of their numbers before the digits
            // typed: the length is said in the digits the user types.
            const char* head = v == 6 ? kHalfordsHead : v == 12 ? kPeacocksHead : nullptr;
            const int32_t added =
                head && !alreadyPrefixed(head) ? static_cast<int32_t>(std::strlen(head)) : 0;
            if (v == 6) {
                if (!alreadyPrefixed(kHalfordsHead)) {
                    const std::string head = std::string("         Item Code: ") + gData.chMainCode;
                    if (!copyBounded(gData.chHeadCode, head.c_str())) {
                        tooLongForBuffer();
                        return 1;
                    }
                    gData.len3 = static_cast<int32_t>(std::strlen(gData.chHeadCode));
                }
                if (!prefixData(kHalfordsHead)) {
                    tooLongForBuffer();
                    return 1;
                }
            }
            if (v == 12) {
                if (!prefixData(kPeacocksHead)) {
                    tooLongForBuffer();
                    return 1;
                }
                std::memcpy(gData.chMainCode2, gData.chMainCode, sizeof gData.chMainCode2);
                gData.len11 = gData.len1;
            }
            const char* own = v == 6 ? "Halfords" : v == 12 ? "Peacocks EAN 13" : "EAN 13";
            return checkLengthOf(own, 12, 2, 5, added);
        }
        case 1: {
            const bool ismn = v == 2;
            const bool isbn13 = v == 3;
            if (CheckLength(pname(ismn ? "ISMN" : "ISBN"), (ismn || isbn13) ? 12 : 9, 2, 5))
                return 1;
            const bool bad = (ismn && std::strncmp(gData.chMainCode, "9790", 4) != 0) ||
                             (isbn13 && std::strncmp(gData.chMainCode, "978", 3) != 0 &&
                              std::strncmp(gData.chMainCode, "979", 3) != 0);
            if (bad) {
                if (!labelLayoutOpen()) {
                    refuseSymbol(ismn ? "ISMN's must start with 9790"
                                      : "ISBN's must start with 978 or 979");
                }
                return 1;
            }
            return 0;
        }
        case 2:
            return CheckLength(pname("ISSN"), 7, 2, 5);
        case 3:
            // ASDA 8 prints its add-on characters as marks beside the symbol.
            if (v != kAsda8 && strayAddOnRefused(v == 1 ? "WH Smith 8" : "EAN 8", 0, 0)) return 1;
            return CheckLength(pname(v == 1 ? "WH Smith 8" : "EAN 8"), v == 1 ? 5 : 7, 0, 0);
        case 4:
            return interleavedParity();
        case 9:
            return CheckLength(pname("Small Item EAN"), 7, 0, 0);
        case 10:
            if (v >= 3 && v <= 6) return CheckLength(pname("NDC UPC"), 10, 2, 5);
            return CheckLength(pname("UPC-a"), 11, 2, 5);
        case 11:
            copyBounded(gData.chMainCode4, sizeof gData.chMainCode4,
                        std::string(gData.chMainCode).substr(0, kAddCodeSize - 1).c_str());
            if (v == 1) {
                // The 7-digit form is expanded only once its length is right.
                if (gData.len1 < 7) {
                    char text[160];
                    std::snprintf(text, sizeof text, "%s needs 7 digits.",
                                  typeNameInMessages("UPC-e"));
                    return refuseSymbol(text);
                }
                if (UPRecon()) return 1;
            }
            return CheckLength(pname("UPC-e"), 11, 2, 5);
        case 13:
            return CheckLength(pname("M&S BEL"), 19, 0, 0);
        case 15:
            return CheckLength(pname("M&S Shoe"), 10, 0, 0);
        case 16:
            return CheckLength(pname("M&S 7"), 7, 0, 0);
        case 25:
            if (CheckLength(pname("MotherCare"), 12, 2, 5)) return 1;
            dropAddOn();
            return 0;
        case 26:
            if (CheckLength(pname("Plus"), 12, 0, 0)) return 1;
            if (!addOnHeader("")) return 1;
            // The add-on is followed by one blank above the symbol.
            if (std::strlen(gData.chHeadCode) + 2 > kHeadCodeSize) {
                tooLongForBuffer();
                return 1;
            }
            std::strcat(gData.chHeadCode, " ");
            gData.len3 = gData.len2;
            pstrCopy(gSym.fontAbove, gSym.defFont);
            dropAddOn();
            return 0;
        case 27:
            if (CheckLength(pname("PIP"), 12, 0, 0)) return 1;
            if (!addOnHeader("PIP   ")) return 1;
            gData.len3 = gData.len2 + 6;
            pstrCopy(gSym.fontAbove, gSym.gHelvetica);
            dropAddOn();
            return 0;
        case 34:
            return CheckLength(pname("M&S Top Bottom"), 10, 0, 0);
        case 35:
            if (v == 1) return CheckLength(pname("Belgium Pharmaceutical"), 6, 0, 0);
            return 0;
        case 36:
            if (v == 3) return CheckLength(pname("Limerick Check Digit"), 6, 0, 0);
            return 0;
        case 37: {
            // DataBar-14 and Limited: the composite part after '|'; Expanded: all of it.
            const char* bar = std::strchr(gData.chMainCode, '|');
            const char* end = gData.chMainCode + std::strlen(gData.chMainCode);
            if (v < 5 && bar) {
                // The filter drops every parenthesis of the data. One in the item
                // number is left as typed, for the encoder to refuse it as it does
                // without a composite part, rather than make a number of the rest.
                const std::string_view item(gData.chMainCode,
                                            static_cast<size_t>(bar - gData.chMainCode));
                if (item.find_first_of("()") != std::string_view::npos) return 0;
                if (!elementStringsSound(bar + 1, end)) return 1;
                return EAN_APP_ID_FILTER(bar - gData.chMainCode + 1, '#');
            }
            if (v >= 5 && v <= 7) {
                const bool fit = bar ? elementStringsSound(gData.chMainCode, bar) &&
                                           elementStringsSound(bar + 1, end)
                                     : elementStringsSound(gData.chMainCode, end);
                return fit ? EAN_APP_ID_FILTER(0, '#') : 1;
            }
            return 0;
        }
        case 38:
            if (v == 2 && std::strncmp(gData.chMainCode, "\\1", 2) != 0) {
                std::string joined = std::string("\\1") + gData.chMainCode;
                if (!copyBounded(gData.chMainCode, joined.c_str())) {
                    tooLongForBuffer();
                    return 1;
                }
                std::memcpy(gData.chMainCode2, gData.chMainCode, sizeof gData.chMainCode2);
                gData.len1 += 2;
                gData.len11 += 2;
            }
            return 0;
        default:
            return 0;
    }
}

// Family 9: the digits set in the bar font between separator bytes.
int32_t smallEan() {
    calcheck();
    constexpr unsigned char kSeparator = 129;
    const char* d = gData.chMainCode;
    const unsigned char list[] = {kSeparator,          (unsigned char)d[0], (unsigned char)d[1],
                                  (unsigned char)d[2], (unsigned char)d[3], kSeparator,
                                  (unsigned char)d[4], (unsigned char)d[5], (unsigned char)d[6],
                                  (unsigned char)d[7], kSeparator,          13};
    gEl.put(list, sizeof list);
    return 0;
}

}  // namespace

void Len() {
    if (gData.len1 % 2 == 0) prependZero();
}

void LenEven() {
    if (gData.len1 % 2 == 1) prependZero();
}

void calcheck() {
    // A length outside the buffer gets no check digit rather than a write past it.
    if (gData.len1 < 0 || gData.len1 + 2 > static_cast<int32_t>(kMainCodeSize)) return;
    gData.chMainCode[gData.len1] = calcheck2(gData.chMainCode, gData.len1 + 1);
    ++gData.len1;
    gData.chMainCode[gData.len1] = 0;
}

namespace {

// The retail families whose data ends in a GS1 modulo-10 check digit after the
// digits that CheckLength asks for.
bool endsInCheckDigit(int32_t code, int32_t v) {
    switch (code) {
        case 0:
        case 9:
        case 11:
        case 16:  // M&S 7: an EAN-8 of the seven digits
        case 25:
        case 26:
        case 27:
            return true;
        case 1:
            return v == 2 || v == 3;  // ISMN and ISBN-13
        case 3:
            return true;  // EAN-8; WH Smith's two leading zeros leave the sum as it is
        case 10:
            return !(v >= 3 && v <= 6);  // UPC-A, not NDC
        default:
            return false;
    }
}

// Families whose one character beyond the length is refused unless it is the
// check digit the symbol will carry: cutting it would encode other data.
bool extraCharacterRefused(int32_t code, int32_t v) {
    switch (code) {
        case 10:
            return v >= 3 && v <= 6;  // NDC
        case 15:
        case 34:
            return true;  // M&S Shoe and Top Bottom
        case 35:
            return v == 1;  // Belgian MSI
        case 36:
            return v == 3;  // Telepen Limerick
        default:
            return false;
    }
}

// The UPC-A check digit of an NDC, whose symbol carries the number system 3
// ahead of the ten digits; '\0' when the type's check is not verified here.
char ndcCheckDigit(int32_t n) {
    if (gSym.code != 10 || n != kNdcDigits) return '\0';
    std::string digits = std::string("3") + std::string(gData.chMainCode, static_cast<size_t>(n));
    digits += '0';  // place of the check digit, which calcheck2 skips
    return calcheck2(digits.c_str(), static_cast<int32_t>(digits.size()));
}

// Data that reaches the check digit's place must carry the right one, and
// nothing may stand beyond it: either would make a symbol of other digits.
int32_t checkLengthOf(const char* own, int32_t n, int32_t addA, int32_t addB, int32_t added) {
    const char* name = typeNameInMessages(own);
    // What the user typed, and how many of it the type takes.
    const char* typed = gData.chMainCode + added;
    const int typedLength = static_cast<int>(gData.len1 - added);
    const int typedDigits = static_cast<int>(n - added);
    if (gData.len1 > n && gSym.code != 2) {
        char text[300];
        if (gData.len1 > n + 1) {
            std::snprintf(text, sizeof text,
                          "%s takes %d digits and its check digit; the data has %d. Remove "
                          "the extra characters.",
                          name, typedDigits, typedLength);
            return refuseSymbol(text);
        }
        if (endsInCheckDigit(gSym.code, gSym.variation1) && allDigits(gData.chMainCode, n + 1)) {
            const char right = calcheck2(gData.chMainCode, n + 1);
            if (gData.chMainCode[n] != right) {
                std::snprintf(text, sizeof text,
                              "The %s check digit of %.*s is %c, not %c. Correct the last "
                              "digit, or leave it off and it is added.",
                              name, typedDigits, typed, right, gData.chMainCode[n]);
                return refuseSymbol(text);
            }
        } else if (extraCharacterRefused(gSym.code, gSym.variation1)) {
            const char right = allDigits(gData.chMainCode, n + 1) ? ndcCheckDigit(n) : '\0';
            if (right == '\0' || gData.chMainCode[n] != right) {
                if (right != '\0') {
                    std::snprintf(text, sizeof text,
                                  "%s takes %d digits; the data has %d and its last digit is "
                                  "not the check digit %c. Remove the extra digit.",
                                  name, typedDigits, typedLength, right);
                } else {
                    std::snprintf(text, sizeof text,
                                  "%s takes %d digits; the data has %d. Remove the extra "
                                  "character.",
                                  name, typedDigits, typedLength);
                }
                return refuseSymbol(text);
            }
        }
    }
    if (gData.len1 >= n) {
        if (gSym.code != 2) {
            gData.len1 = n;
            gData.len11 = n;
            gData.chMainCode[n] = 0;
            if (gSym.code != 1) gData.chMainCode2[n] = 0;
        }
        const bool addOnIsText =
            gSym.code == kEan8Family || gSym.code == kPlusFamily || gSym.code == kPipFamily;
        if (addA == 0 && !addOnIsText && strayAddOnRefused(own, 0, 0)) return 1;
        if (addA != 0 && gData.len2 > 0 && gData.len2 != addA && gData.len2 != addB) {
            if (strayAddOnRefused(own, addA, addB)) return 1;
            dropAddOn();
        }
        return 0;
    }
    char text[300];
    std::snprintf(text, sizeof text, "%s needs %d digits.", name, typedDigits);
    return refuseSymbol(text);
}

}  // namespace

int32_t CheckLength(const unsigned char* name, int32_t n, int32_t addA, int32_t addB) {
    const std::string own(reinterpret_cast<const char*>(name + 1), name[0]);
    return checkLengthOf(own.c_str(), n, addA, addB, 0);
}

namespace {

// Nominal width at 100 % in millimetres, or a negative value when the family
// keeps its magnification.
double nominalWidth() {
    const int32_t code = gSym.code;
    const bool noMargins = (gSym.lMode & 2) != 0;
    const int32_t L = gData.len1;
    const int32_t add = gData.len2;
    auto pick = [&](double with, double without) { return noMargins ? without : with; };
    auto retail = [&](double none, double noneBare) {
        if (add == 2) return pick(45.54, 40.26);
        if (add == 5) return pick(54.45, 49.17);
        return pick(none, noneBare);
    };
    switch (code) {
        case 0:
        case 1:
        case 2:
        case 25:
        case 26:
        case 27:
            return retail(38.1, 31.35);
        case 3:
        case 9:
        case 16:
            return pick(26.73, 22.11);
        case 4:
        case 14:
        case 23:
        case 24: {
            int32_t n = (gSym.nCheck == 0 || code == 24) ? L + 1 : L;
            return (16.0 * n + 17) * 0.508 + pick(30, 0);
        }
        case 5:
        case 7: {
            // Count the symbol characters on a copy; the data is put back whole.
            SymbolData saved = gData;
            Proc128();
            int32_t n = gData.len1 + (gSym.variation1 == 0 ? 1 : 0);
            gData = saved;
            return (11.0 * n + 13) * 0.66 + pick(10, 0);
        }
        case 6: {
            int32_t n = gSym.nCheck == 0 ? L + 3 : L + 2;
            double m = pick(18, 0);
            const int32_t r = gSym.ratio;
            const double s = gSym.Siz;
            if (r == 3 || (r == -1 && s >= 100)) return 13.1064 * n + m;
            if (r == 5 || (r == -1 && s >= 75)) return 13.716 * n + m;
            if (r == 0 || (r == -1 && s >= 50)) return 12.192 * n + m;
            return 12.8016 * n + m;
        }
        case 8: {
            int32_t n = gSym.nCheck == 0 ? L - 1 : L - 2;
            return (11.0 * n + 25) * 1.016;
        }
        case 10:
            return retail(39.511, 31.35);
        case 11:
            if (add == 2) return pick(30.36, 25.08);
            if (add == 5) return pick(39.27, 33.99);
            return pick(22.11, 16.83);
        case 12:
        case 17:
            return 6.0 * L * 1.5;
        case 13:
        case 15:
        case 34: {
            int32_t n = code == 13 ? L / 2 + 3 : L / 2 + 2;
            double m = code == 13 ? 0 : pick(8, 0);
            return (11.0 * n + 13) * 0.33 + m;
        }
        case 19:
            return 9.0 * L * 0.508;
        case 20: {
            int32_t n = L + (gSym.nCheck == 0 ? 2 : 0);
            return (28.0 * n + 63) * 0.254;
        }
        case 21:
            return (13.0 * L + 17) * 0.508;
        case 28: {
            int32_t n = L + (gSym.nCheck == 0 ? 2 : 0);
            return (9.0 * n + 19) * 0.508 + pick(10, 0);
        }
        case 35: {
            int32_t n = L + (gSym.nCheck == 0 ? 1 : 0);
            return (14.0 * n + 10.5) * 0.508;
        }
        case 36: {
            int32_t n = L;
            if (add > 0 && gData.chAddCode[0] == '2') n /= 2;
            if (gSym.nCheck == 0) ++n;
            return (16.0 * n + 32) * 0.508 + pick(8, 0);
        }
        default:
            return -1;
    }
}

bool smallTextFamily(int32_t code) {
    switch (code) {
        case 0:
        case 1:
        case 2:
        case 3:
        case 10:
        case 11:
        case 13:
        case 15:
        case 16:
        case 19:
        case 20:
        case 21:
        case 25:
        case 26:
        case 27:
        case 28:
        case 35:
        case 36:
            return true;
        default:
            return false;
    }
}

}  // namespace

void getCodeScale(int32_t length) {
    if (!((gSym.lMode & 1) || (gSym.spec & 2))) return;
    double w = nominalWidth();
    if (w >= 1) {
        int32_t whole = static_cast<int32_t>(w);
        gSym.Siz = static_cast<double>((length * 100) / whole);
    }
    if (gSym.Siz < 12) gSym.Siz = 10;

    const int32_t code = gSym.code;
    if ((gSym.lMode & 4) && code != 30 && code != 31 && code != 32) {
        double t = gSym.Siz * (smallTextFamily(code) ? 0.1 : 0.2);
        if (gSym.customTeSize != 0 && t < gSym.customTeSize) t = gSym.customTeSize;
        gSym.Hei += t * kMillimetresPerPoint;
        if (gSym.Hei < 2) gSym.Hei = 2;
        if (gSym.line > 0) gSym.Hei += gSym.line * kBearerToMillimetres;
        if (gSym.insetAmount > 0) gSym.Hei += gSym.insetAmount * kBearerToMillimetres;
    }
}

int32_t STRixel() {
    gEl.clear();
    if (gData.chMainCode[0] == 0) return 1;
    gData.len1 = static_cast<int32_t>(strnlen(gData.chMainCode, kMainCodeSize - 1));
    gData.chMainCode[gData.len1] = 0;
    if (gData.len2 < 0 || gData.len2 >= static_cast<int32_t>(kAddCodeSize)) gData.len2 = 0;
    gDispatch.nu = 0;
    gDispatch.iComplete = 1;
    getCodeScale(gSym.cLength);

    // Legacy ITF families arrive only from stored settings: generate them as ITF.
    if (gSym.code == 18 || gSym.code == 22 || gSym.code == 29) gSym.code = 4;
    if (gSym.code < 0 || gSym.code > 42 || gSym.code == 33) {
        refuseSymbol("This code type does not exist. Choose a code type from the list.");
        return 1;
    }

    // Options the symbol would leave out: it would hold other data than typed.
    if (takesNoOptions(gSym.code, gSym.variation1) &&
        strayAddOnRefused(gSym.TeF[0] ? gSym.TeF : "This code type", 0, 0))
        return 1;
    if (prepare()) {
        gEl.clear();
        return 1;
    }
    gMsg.inerror = 0;
    int32_t result = gSym.code == 9 ? smallEan() : runEncoder();
    if (gEl.overflow) {
        gEl.clear();
        refuseSymbol(
            "The data is too long for this symbol. Shorten the data or choose a code "
            "type that holds more.");
        return 1;
    }
    if (result != 0) {
        gEl.clear();
        return 1;
    }
    if (gSym.code == 11 || gSym.code == 37) return 0;
    std::memcpy(gData.chMainCode3, gData.chMainCode, kMainCodeSize);
    return 0;
}
