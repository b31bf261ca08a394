#include "symbology/ISBN.h"

#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <utility>

#include "symbology/EAN.h"
#include "symbology/encoders.h"
#include "symbology/info.h"
#include "symbology/messages.h"
#include "symbology/rows.h"
#include "symbology/state.h"

namespace {

// Header prefixes in the bar font's letter codes: '[' I, ']' B, '_' S, '`' M,
// '^' N; '%' is the check character X.
constexpr char kIsbnPrefix[] = "[_]^ ";
constexpr char kIssnPrefix[] = "[__^ ";
constexpr char kIsmnPrefix[] = "[_`^ ";
constexpr int32_t kPrefixLen = 5;
constexpr char kCheckX = '%';
constexpr int32_t kClearedHeader = 25;
// The header ends with 13 and the ISBN encoder stores the EAN check digit
// behind it; keep a NUL after both.
constexpr int32_t kHeaderTextMax = static_cast<int32_t>(kHeadCodeSize) - 3;

constexpr std::pair<char, char> kPlainLetters[] = {{'[', 'I'}, {']', 'B'}, {'_', 'S'},
                                                   {'`', 'M'}, {'^', 'N'}, {'%', 'X'}};

// Bounded writer of the header text.
struct HeaderWriter {
    int32_t n = 0;
    bool fits = true;
    void put(char c) {
        if (n >= kHeaderTextMax) {
            fits = false;
            return;
        }
        gData.chHeadCode[n++] = c;
    }
    void put(const char* s, int32_t count) {
        for (int32_t i = 0; i < count; ++i) put(s[i]);
    }
    // Ends the header with 13; len3 is its index.
    void end() {
        put(13);
        if (!fits) return;
        gData.len3 = n - 1;
        gData.chHeadCode[n] = 0;
    }
};

int digit(const char* s, int i) { return s[i] - '0'; }
int twoDigits(const char* s, int i) { return 10 * digit(s, i) + digit(s, i + 1); }

// The first length whose limit n stays below; `otherwise` past the last.
int byLimit(int n, std::initializer_list<std::pair<int, int>> limits, int otherwise) {
    for (const auto& [below, length] : limits)
        if (n < below) return length;
    return otherwise;
}

HeaderWriter startHeader(const char* prefix) {
    std::memset(gData.chHeadCode, 0, kClearedHeader);
    HeaderWriter w;
    w.put(prefix, kPrefixLen);
    return w;
}

// The typed number in the printed copy: up to its twelfth digit, the last before
// the check digit. A check digit typed after it (verified already) and the
// separators after it are left out: the header adds its own.
constexpr int32_t kTypedDigits = 12;

int32_t typedLength() {
    const int32_t n = static_cast<int32_t>(strnlen(gData.chMainCode2, kMainCodeSize));
    int32_t digits = 0;
    for (int32_t i = 0; i < n; ++i)
        if (gData.chMainCode2[i] >= '0' && gData.chMainCode2[i] <= '9' && ++digits == kTypedDigits)
            return i + 1;
    return n;
}

// Counts the separators typed into the number and turns spaces into '-'.
int32_t typedSeparators() {
    int32_t count = 0;
    const int32_t n = typedLength();
    for (int32_t i = 0; i < n; ++i) {
        char& c = gData.chMainCode2[i];
        if (c == ' ') c = '-';
        if (c == '-') ++count;
    }
    return count;
}

// The header as typed: prefix, the typed number, '-', check, 13.
int32_t typedHeader(const char* prefix, char check) {
    HeaderWriter w = startHeader(prefix);
    w.put(gData.chMainCode2, typedLength());
    w.put('-');
    w.put(check);
    w.end();
    if (!w.fits) {
        MessageText(
            "The number as typed is too long for the text above the symbol. Type it with fewer "
            "separators.");
        return 1;
    }
    StringSortOut();
    return 0;
}

// The GS1 check digit of the 12 digits, computed by calcheck and taken out again.
char mod10Check() {
    calcheck();
    const char check = gData.chMainCode[12];
    gData.chMainCode[12] = 0;
    gData.len1 = 12;
    return check;
}

char isbn10Check(const char* d) {
    int sum = 0;
    for (int i = 0; i < 9; ++i) sum += (10 - i) * digit(d, i);
    const int c = 11 - sum % 11;
    if (c == 10) return kCheckX;
    if (c == 11) return '0';
    return static_cast<char>('0' + c);
}

char issnCheck(const char* d) {
    int sum = 0;
    for (int i = 0; i < 7; ++i) sum += (8 - i) * digit(d, i);
    const int r = sum % 11;
    if (r == 0) return '0';
    if (r == 1) return kCheckX;
    return static_cast<char>('0' + 11 - r);
}

// Publisher length when no range rule applies, from the digits after the group.
int fallbackPublisher(const char* afterGroup) {
    const int b2 = digit(afterGroup, 0);
    if (b2 == 9) return digit(afterGroup, 1) >= 5 ? 7 : 6;
    return b2 >= 2 && b2 <= 6 ? 3 : 2;
}

}  // namespace

int32_t isbnreplace(const char* number, int32_t groupLength, int32_t publisherLength, char check) {
    HeaderWriter w;
    w.n = kPrefixLen;
    if (number[0] != '8') {
        w.put(number, 3);
        w.put('-');
    }
    const char* group = number + 3;
    w.put(group, groupLength);
    w.put('-');
    w.put(group + groupLength, publisherLength);
    w.put('-');
    w.put(group + groupLength + publisherLength, 9 - groupLength - publisherLength);
    w.put('-');
    w.put(check);
    w.end();
    return 1;
}

int32_t hyphenate(const char* number, char check) {
    // b[1] is the first digit of the registration group.
    const char* b = number + 2;
    const int b1 = digit(b, 1);
    const int b2 = digit(b, 2);
    const int b3 = digit(b, 3);
    const int b4 = digit(b, 4);
    int group = 0;
    int publisher = 0;
    if (b1 == 0 || b1 == 3 || b1 == 4 || b1 == 2) {
        group = 1;
        publisher = byLimit(twoDigits(b, 2),
                            {{20, 2}, {70, 3}, {b1 == 2 ? 84 : 85, 4}, {90, 5}, {95, 6}}, 7);
    } else if (b1 == 1) {
        group = 1;
        const int n = 100 * twoDigits(b, 2) + twoDigits(b, 4);
        publisher = byLimit(n, {{1000, 2}, {4000, 3}, {5500, 4}, {8698, 5}, {9990, 6}}, 7);
    } else if (b1 == 8 && b2 == 8) {
        group = 2;
        if (b3 == 9)
            publisher = b4 >= 5 ? 5 : 6;
        else if (b3 == 8 && b4 >= 5)
            publisher = 5;
        else
            publisher = byLimit(b3, {{2, 2}, {6, 3}}, 4);
    } else if (b1 == 9 && b2 == 0) {
        group = 2;
        publisher = byLimit(twoDigits(b, 3), {{20, 2}, {50, 3}, {70, 4}, {80, 5}, {82, 6}}, 0);
    } else if (b1 == 9 && b2 == 1) {
        group = 2;
        if (b3 == 9 && b4 >= 7)
            publisher = 6;
        else if ((b3 == 9 && b4 < 5) || (b3 == 8 && b4 >= 5))
            publisher = 5;
        else
            publisher = byLimit(b3, {{2, 1}, {5, 2}, {7, 3}}, 4);
    } else if (b1 == 9 && twoDigits(b, 2) == 65) {
        group = 3;
        publisher = byLimit(twoDigits(b, 4), {{20, 2}, {70, 3}, {90, 4}, {96, 5}}, 0);
    } else if (b1 == 9 && twoDigits(b, 2) == 81) {
        group = 3;
        publisher = byLimit(twoDigits(b, 4), {{20, 2}, {30, 3}, {41, 4}}, 0);
    } else if (b1 == 9 && b2 == 9) {
        group = 4;
        const int b5 = digit(b, 5);
        const int b6 = digit(b, 6);
        switch (twoDigits(b, 3)) {
            case 64:
                publisher = b5 == 9 && b6 >= 5 ? 3 : b5 < 7 ? 1 : 2;
                break;
            case 76:
                publisher = b5 == 9 && b6 == 9 && digit(b, 7) == 9 ? 4
                            : b5 == 9                              ? 3
                            : b5 < 6                               ? 1
                                                                   : 2;
                break;
            case 82:
                publisher = b5 == 9 && b6 == 9 ? 4 : b5 < 8 ? 2 : 3;
                break;
            default:
                break;
        }
    }
    if (publisher == 0) return 0;
    return isbnreplace(number, group, publisher, check);
}

void StringSortOut() {
    const bool defaultFonts = std::memcmp(gSym.fontAbove, gSym.defFont, 1 + gSym.defFont[0]) == 0 &&
                              std::memcmp(gSym.fontBelow, gSym.defFont, 1 + gSym.defFont[0]) == 0;
    if (defaultFonts) return;
    for (int32_t i = 0; i < gData.len3 && i < static_cast<int32_t>(kHeadCodeSize); ++i) {
        for (const auto& [code, letter] : kPlainLetters)
            if (gData.chHeadCode[i] == code) gData.chHeadCode[i] = letter;
    }
}

int32_t genISBN() {
    const int32_t v = gSym.variation1;
    const bool separators = typedSeparators() > 0;
    char number[13];
    char check;
    if (v == 3) {
        check = mod10Check();
        if (separators) return typedHeader(kIsbnPrefix, check);
        std::memcpy(number, gData.chMainCode, 12);
    } else {
        // The ISBN-10 form: '8' in place of the prefix asks for no prefix.
        check = isbn10Check(gData.chMainCode);
        std::memcpy(number, "878", 3);
        std::memcpy(number + 3, gData.chMainCode, 9);
    }
    number[12] = 0;
    startHeader(kIsbnPrefix);
    // Without a range rule: a one-digit group and the publisher length by the
    // digits after it.
    if (hyphenate(number, check) == 0) isbnreplace(number, 1, fallbackPublisher(number + 4), check);
    StringSortOut();
    return 0;
}

int32_t genISSN() {
    const char* d = gData.chMainCode;
    HeaderWriter w = startHeader(kIssnPrefix);
    w.put(d, 4);
    w.put('-');
    w.put(d + 4, 3);
    w.put(issnCheck(d));
    w.end();
    StringSortOut();
    return 0;
}

int32_t genISMN13() {
    const char check = mod10Check();
    if (typedSeparators() > 0) return typedHeader(kIsmnPrefix, check);
    const char* d = gData.chMainCode;
    constexpr int kPublisherLength[10] = {3, 4, 4, 4, 5, 5, 5, 6, 6, 7};
    const int publisher = kPublisherLength[digit(d, 4)];
    HeaderWriter w = startHeader(kIsmnPrefix);
    w.put("979-0-", 6);
    w.put(d + 4, publisher);
    w.put('-');
    w.put(d + 4 + publisher, 8 - publisher);
    w.put('-');
    w.put(check);
    w.end();
    StringSortOut();
    return 0;
}

int32_t ISBN() {
    const int32_t v = gSym.variation1;
    const bool thirteen = v == 2 || v == 3;
    if (!takeDigits(v == 2 ? "ISMN" : "ISBN", thirteen ? 12 : 9) || !addOnDigitsOnly()) return 1;
    gDispatch.nu = 0;
    if ((v == 2 ? genISMN13() : genISBN()) != 0) return 1;
    if (!thirteen) {
        char ean[13] = "978";
        std::memcpy(ean + 3, gData.chMainCode, 9);
        ean[12] = 0;
        std::memcpy(gData.chMainCode, ean, 13);
        gData.len1 = 12;
    }
    EAN();
    // The EAN check digit also stands behind the header's 13.
    if (gData.len3 + 1 < static_cast<int32_t>(kHeadCodeSize))
        gData.chHeadCode[gData.len3 + 1] = gData.chMainCode[12];
    Vector2(kRowUnit10pt);
    if (gSym.human == 1) Humans2();
    return 0;
}

namespace {

constexpr int32_t kIssnDigits = 7, kIssueDigits = 2;
// 7 digits, with the check digit after them or not, then the issue digits or not.
constexpr int32_t kIssnWithCheck = kIssnDigits + 1;
constexpr int32_t kIssnWithIssue = kIssnDigits + kIssueDigits;
constexpr int32_t kIssnWhole = kIssnWithCheck + kIssueDigits;
constexpr int32_t kNoIssue = -1, kRefused = -2;

// Where the issue digits stand, or kNoIssue when the data has none (kRefused: refuses data of
// another form, or whose typed check digit is not the ISSN's).
int32_t issnIssueAt() {
    const char* d = gData.chMainCode;
    const int32_t n = gData.len1;
    char text[240];
    if (n > kIssnWhole) {
        std::snprintf(text, sizeof text,
                      "%s takes at most %d digits: 7, the check digit and 2 issue digits; the "
                      "data has %d. Remove the extra digits and try again.",
                      typeNameInMessages("ISSN"), static_cast<int>(kIssnWhole),
                      static_cast<int>(n));
        refuseSymbol(text);
        return kRefused;
    }
    if (!allDigits(d, n)) {
        MessageText("ISSN data may hold digits only. Remove the other characters and try again.");
        return kRefused;
    }
    if (n == kIssnWithCheck || n == kIssnWhole) {
        const char right = issnCheck(d);
        if (d[kIssnDigits] != right) {
            std::snprintf(text, sizeof text,
                          "The ISSN check digit of %.*s is %c, not %c. Correct it, or leave it "
                          "off and it is added.",
                          static_cast<int>(kIssnDigits), d, right == kCheckX ? 'X' : right,
                          d[kIssnDigits]);
            refuseSymbol(text);
            return kRefused;
        }
    }
    if (n == kIssnWhole) return kIssnWithCheck;
    return n == kIssnWithIssue ? kIssnDigits : kNoIssue;
}

}  // namespace

int32_t ISSN() {
    if (!takeDigits("ISSN", kIssnDigits, false) || !addOnDigitsOnly()) return 1;
    const int32_t issueAt = issnIssueAt();
    if (issueAt == kRefused) return 1;
    char issue[kIssueDigits] = {'0', '0'};
    if (issueAt != kNoIssue) std::memcpy(issue, gData.chMainCode + issueAt, kIssueDigits);
    gDispatch.nu = 0;
    genISSN();
    char ean[13] = "977";
    std::memcpy(ean + 3, gData.chMainCode, 7);
    std::memcpy(ean + 10, issue, 2);
    ean[12] = 0;
    std::memcpy(gData.chMainCode, ean, 13);
    gData.len1 = 12;
    EAN();
    Vector2(kRowUnit10pt);
    if (gSym.human == 1) Humans2();
    return 0;
}
