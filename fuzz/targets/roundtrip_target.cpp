// Encode, render, decode, compare: for every code type that an outside reader
// reads, the symbol the dispatcher makes must read back as exactly what the
// data means once the type's own rules (escapes, character set, check
// characters) are applied. A symbol that reads as something else, or not at
// all, is a finding. The expectations are worked out here from the data alone,
// never from the encoders' working state.
#define ZX_USE_UTF8 1
#include <ZXing/DecodeHints.h>
#include <ZXing/ReadBarcode.h>
#include <iconv.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "fuzz_common.h"
#include "support/reader.h"
#include "platform/macroman.h"
#include "symbology/GS1AI.h"
#include "symbology/info.h"

namespace {

using fuzzing::fail;
using fuzzing::printable;

// ---- character sets, from the C library's converters --------------------------

// Unicode of each Mac OS Roman byte.
const std::vector<uint32_t>& macRomanUnicode() {
    static const std::vector<uint32_t> table = [] {
        std::vector<uint32_t> t(256, 0);
        iconv_t cd = iconv_open("UTF-32LE", "MACINTOSH");
        for (int c = 0; c < 256; ++c) {
            char in = static_cast<char>(c);
            uint32_t out = 0;
            char* ip = &in;
            char* op = reinterpret_cast<char*>(&out);
            size_t il = 1, ol = 4;
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
            if (iconv(cd, &ip, &il, &op, &ol) != static_cast<size_t>(-1)) t[c] = out;
        }
        iconv_close(cd);
        return t;
    }();
    return table;
}

// DataMatrix, QR Code and PDF417 readers assume ISO 8859-1: a typed character
// travels as its Latin-1 byte, unless Latin-1 lacks one of the text's characters;
// then the whole text travels as UTF-8 under ECI 26.
int32_t latin1Of(unsigned char c) {
    const uint32_t u = macRomanUnicode()[c];
    return u <= 0xFF ? static_cast<int32_t>(u) : -1;
}

bool beyondLatin1(const std::string& macRoman) {
    for (char c : macRoman)
        if (latin1Of(static_cast<unsigned char>(c)) < 0) return true;
    return false;
}

// The program's own table gives the UTF-8 form: the C library's table differs
// from it on a few characters (the increment sign, the Apple logo).
std::string utf8Of(unsigned char c) {
    const char one = static_cast<char>(c);
    return platform::macRomanToUtf8(std::string_view(&one, 1));
}

std::string symbolBytes(const std::string& macRoman) {
    const bool utf8 = beyondLatin1(macRoman);
    std::string out;
    for (char c : macRoman) {
        const auto b = static_cast<unsigned char>(c);
        out += utf8 ? utf8Of(b) : std::string(1, static_cast<char>(latin1Of(b)));
    }
    return out;
}

// ---- what a reader should report ----------------------------------------------

struct Expectation {
    bool refuse = false;      // the data cannot be encoded: a symbol is a finding
    bool exact = true;        // false: it must read, the content is not checked
    std::string bytes;        // the content bytes
    std::string orBytes;      // another reading that is as right (empty: none)
    std::string symbologyId;  // empty: not checked
    std::string orId;         // another identifier that is as right
    bool readable = true;     // false: no reader takes such a symbol, nothing is read
};

// DataMatrix backslash escapes, read from the table of escapes.
Expectation expectDataMatrix(const char* data, bool fnc1First) {
    Expectation e;
    std::string out;
    int32_t o = 0;  // symbol characters so far, function characters included
    bool fnc1AtFront = false, macro = false;
    std::string macroHead;
    if (fnc1First) {
        while (data[0] == '\\' && data[1] == '1') data += 2;
        fnc1AtFront = true;
        o = 1;
    }
    const size_t n = std::strlen(data);
    auto digits = [&](size_t at, size_t most, int32_t* value) {
        size_t k = 0;
        int32_t v = 0;
        while (k < most && at + k < n && data[at + k] >= '0' && data[at + k] <= '9')
            v = v * 10 + (data[at + k++] - '0');
        *value = v;
        return k;
    };
    // The escapes are ASCII, so a character beyond Latin-1 is a typed one.
    const bool utf8 = beyondLatin1(data);
    if (utf8) e.exact = false;  // an ECI: the reader may recode the escaped bytes
    size_t i = 0;
    while (i < n) {
        const unsigned char c = static_cast<unsigned char>(data[i]);
        if (c != '\\') {
            out += utf8 ? utf8Of(c) : std::string(1, static_cast<char>(latin1Of(c)));
            ++o;
            ++i;
            continue;
        }
        if (i + 1 >= n) break;
        const char d = data[i + 1];
        const size_t rest = n - (i + 2);
        int32_t value = 0;
        if (d >= 64 && d <= 90) {
            out += static_cast<char>(d - 64);
            ++o;
            i += 2;
        } else if (d == '\\') {
            out += '\\';
            ++o;
            i += 2;
        } else if (d == '1') {
            if (o == 0) {
                fnc1AtFront = true;
            } else if (o == 1) {
                e.exact = false;  // an application indicator: reader-specific
            } else {
                out += '\x1D';  // later positions read as the group separator
            }
            ++o;
            i += 2;
        } else if (d == '2' && o == 0 && rest >= 3) {
            e.exact = false;  // structured append
            ++o;
            i += 5;
        } else if (d == '3' && o == 0) {
            e.exact = false;  // reader programming
            ++o;
            i += 2;
        } else if ((d == '5' || d == '6') && o == 0) {
            macro = true;
            macroHead = d == '5' ? "05" : "06";
            ++o;
            i += 2;
        } else if (d == '7' && rest >= 6 && digits(i + 2, 6, &value) == 6) {
            e.exact = false;  // ECI: the reader may recode what follows
            ++o;
            i += 8;
        } else if (d == 'd' && rest >= 2 && data[i + 2] >= '0' && data[i + 2] <= '9') {
            const size_t got = digits(i + 2, 3, &value);
            out += static_cast<char>(value > 255 ? 255 : value);
            ++o;
            i += 2 + got;
        } else {
            ++i;  // unknown escape: the character stays
        }
    }
    if (o == 0) {
        e.refuse = true;
        return e;
    }
    if (macro) out = "[)>\x1E" + macroHead + "\x1D" + out + "\x1E\x04";
    e.bytes = out;
    if (!macro && e.exact) e.symbologyId = fnc1AtFront ? "]d2" : "]d1";
    return e;
}

// EAN DataMatrix: element strings typed in parentheses go into the symbol
// without them, a separator after each element of no predefined length that is
// not last; a separator typed where an element ends anyway is not doubled.
// Element strings GS1 forbids are refused. Other data goes as typed.
Expectation expectEanDataMatrix(const char* data) {
    while (data[0] == '\\' && data[1] == '1') data += 2;
    if (data[0] != '(') return expectDataMatrix(data, true);
    const std::string typed = data;
    std::string bare;
    for (size_t i = 0; i < typed.size(); ++i) {
        if (typed.compare(i, 2, "\\\\") == 0) {
            bare += typed.substr(i, 2);
            ++i;
            continue;
        }
        const bool separator = typed.compare(i, 2, "\\1") == 0;
        if (separator && (i + 2 == typed.size() || typed[i + 2] == '(')) {
            ++i;
            continue;
        }
        bare += typed[i];
    }
    const auto n = static_cast<int32_t>(bare.size());
    if (!checkElementStrings(bare.c_str(), n, false, "\\1").empty()) {
        Expectation e;
        e.refuse = true;
        return e;
    }
    return expectDataMatrix(elementStringsUnbracketed(bare.c_str(), n, "\\1").c_str(), true);
}

// PDF417: an optional Macro PDF417 header, then the data.
Expectation expectPdf417(const char* data) {
    Expectation e;
    const char* payload = data;
    if (data[0] == '*') {
        const char* head = data + (data[1] == 'L' ? 2 : 1);
        const char* end = std::strchr(head, '*');
        if (end == nullptr || end == head) {
            e.refuse = true;
            return e;
        }
        payload = end + 1;
        e.exact = false;  // the header's numbers are checked by the unit tests
    }
    e.bytes = symbolBytes(payload);
    return e;
}

// QR Code: as DataMatrix, or, for data that is Shift-JIS text, the bytes as
// typed (Kanji mode); no escapes.
Expectation expectQR(const std::string& data) {
    Expectation e;
    e.bytes = symbolBytes(data);
    e.orBytes = data;
    return e;
}

bool allDigits(const std::string& s) {
    if (s.empty()) return false;
    for (char c : s)
        if (c < '0' || c > '9') return false;
    return true;
}

char gs1Check(const std::string& digits) {
    int sum = 0, weight = 3;
    for (size_t i = digits.size(); i-- > 0;) {
        sum += (digits[i] - '0') * weight;
        weight = weight == 3 ? 1 : 3;
    }
    return static_cast<char>('0' + (10 - sum % 10) % 10);
}

// The EAN/UPC family: the fixed number of digits, retail prefixes, the check
// digit. Layouts whose number is put together in other ways (ISSN issue
// numbers, UPC-E zero suppression) only have to read.
Expectation expectRetail(int32_t code, int32_t v, const std::string& data) {
    Expectation e;
    e.exact = false;
    if (!allDigits(data)) return e;
    std::string d = data;
    auto take = [&](size_t n) {
        if (d.size() < n) return;  // the length rule refuses it
        e.bytes = d.substr(0, n) + gs1Check(d.substr(0, n));
        e.exact = true;
    };
    switch (code) {
        case 0:
            if (v == 6 && !(d.size() >= 12 && d.compare(0, 7, "5015025") == 0)) d = "5015025" + d;
            if (v == 12 && !(d.size() >= 12 && d.compare(0, 4, "4850") == 0)) d = "4850" + d;
            if (v == 0 || v == 6 || v == 12) take(12);
            break;
        case 25:
        case 26:
        case 27:
            take(12);
            break;
        case 1:
            if (v == 2 || v == 3) take(12);
            if ((v == 0 || v == 1 || v == 4) && d.size() >= 9) {
                d = "978" + d.substr(0, 9);
                take(12);
            }
            break;
        case 3:
            if (v == 0) take(7);
            break;
        case 10:
            if (v >= 0 && v <= 2) take(11);
            if (v >= 3 && v <= 6 && d.size() >= 10) {
                d.resize(10);
                d.insert(d.begin(), '3');
                take(11);
            }
            break;
        default:
            break;
    }
    return e;
}

// DataBar-14: up to 13 digits before any '|', read back with zeros in front and
// the check digit. The composite component after a '|' is not read; the linear
// part then carries the link flag, which the reader shows as a leading 1 (the
// value 10^13 higher) with the check digit of those 14 digits.
Expectation expectDataBar(const std::string& data) {
    Expectation e;
    const std::string primary = data.substr(0, data.find('|'));
    if (primary.empty() || primary.size() > 13 || !allDigits(primary)) {
        e.refuse = true;
        return e;
    }
    std::string digits = std::string(13 - primary.size(), '0') + primary;
    if (data.find('|') != std::string::npos) digits = "1" + digits;
    e.bytes = digits + gs1Check(digits);
    return e;
}

// Code 128 and its retail forms: plain printable data reads back as it is;
// escapes, marker bytes and GS1 data only have to read (GS1 with its
// identifier), apart from the fixed digit layouts.
Expectation expectCode128(int32_t code, int32_t v, const std::string& data) {
    Expectation e;
    e.exact = false;
    bool plain = !data.empty();
    for (char c : data) plain = plain && c >= 32 && c < 127 && c != '\\';
    if (code == 7) {
        e.symbologyId = "]C1";
        // Escapes and marker bytes may put FNC1 behind a single character or
        // digit pair, which readers take for an application indicator.
        if (!plain) e.orId = "]C2";
        std::string digits;
        for (char c : data)
            if (c != ' ') digits += c;
        // One character whose check character has the value of FNC1 reads,
        // in zxing, as an application indicator.
        if (digits.size() <= 2) e.orId = "]C2";
        if ((v == 10 || v == 11) && digits.size() == 13 && allDigits(digits)) {
            e.bytes = "01" + digits + gs1Check(digits);
            e.exact = true;
        }
        if (v == 12 && digits.size() == 17 && allDigits(digits)) {
            e.bytes = "00" + digits + gs1Check(digits);
            e.exact = true;
        }
        return e;
    }
    if (code == 15 || code == 34) {
        if (allDigits(data) && data.size() >= 10) {
            e.bytes = data.substr(0, 10);
            e.exact = true;
        }
        return e;
    }
    if (code == 13) {
        if (allDigits(data) && data.size() >= 19) {
            const std::string d = data.substr(0, 19);
            int sum = 0;
            for (size_t i = 0; i < d.size(); ++i) sum += (d[i] - '0') * (i % 2 == 0 ? 3 : 1);
            e.bytes = d + static_cast<char>('0' + (10 - sum % 10) % 10);
            e.exact = true;
        }
        return e;
    }
    if (v == 7) {  // JC Penney: an even count loses its last digit, then '0'
        if (allDigits(data)) {
            e.bytes = data.size() % 2 == 0 ? data.substr(0, data.size() - 1) : data;
            e.bytes += '0';
            e.exact = true;
        }
        return e;
    }
    if (plain && v != 4 && v != 13) {
        e.bytes = data;
        e.exact = true;
        e.symbologyId = "]C0";
    }
    return e;
}

// Code 39 at exactly 3 : 1 (the options text "3", or any other but "2..." at
// 100 % or more): zxing-cpp 1.4 misses the characters without a wide bar
// ($ / + %) at that ratio, which zbarimg reads; such symbols are not read here.
bool code39ThreeToOne() {
    if (gData.len2 > 0 && gData.chAddCode[0] != 0) {
        if (gData.chAddCode[0] == '3') return true;
        if (gData.chAddCode[0] == '2') return false;
        return gSym.Siz >= 100;
    }
    return gSym.ratio == 3 || (gSym.ratio == -1 && gSym.Siz >= 100);
}

// Code 39: the 43 characters in plain Code 39, ASCII in full ASCII; the other
// variants rewrite the data and only have to read.
Expectation expectCode39(int32_t v, const std::string& data) {
    static constexpr char kSet[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ-. $/+%";
    Expectation e;
    for (char c : data) {
        const bool ok = v == 10 ? static_cast<unsigned char>(c) < 128
                                : c != 0 && std::strchr(kSet, c) != nullptr;
        if (!ok && (v == 0 || v == 1 || v == 10)) e.refuse = true;
    }
    if (v == 0 || v == 1 || v == 10)
        e.bytes = data;
    else
        e.exact = false;
    e.readable = !code39ThreeToOne();
    return e;
}

// Codabar as typed reads when its ends are start/stop letters and its inside
// holds none (zxing-cpp wants two characters or more between them); the library variants wrap
// digits in A and B (MSI: B and A).
Expectation expectCodabar(int32_t v, bool noCheck, const std::string& data) {
    static constexpr char kSet[] = "0123456789-$:/.+ABCDTN*E";
    auto startStop = [](char c) { return c != 0 && std::strchr("ABCDTN*E", c) != nullptr; };
    Expectation e;
    const bool library = (v == 0 && !noCheck) || v == 2 || v == 3;
    bool digit = false;
    for (char c : data) {
        digit = digit || (c >= '0' && c <= '9');
        if (library ? !((c >= '0' && c <= '9') || c == ' ')
                    : c != ' ' && (c == 0 || std::strchr(kSet, c) == nullptr))
            e.refuse = true;
    }
    if (library) {
        e.refuse = e.refuse || !digit;
        e.exact = false;
        return e;
    }
    bool framed = data.size() >= 4 && startStop(data.front()) && startStop(data.back());
    for (size_t i = 1; framed && i + 1 < data.size(); ++i)
        framed = !startStop(data[i]) && data[i] != ' ';
    e.readable = framed;
    for (char c : data) {
        const char* alt = std::strchr("TN*E", c);
        e.bytes += alt ? static_cast<char>("ABCD"[alt - "TN*E"]) : c;
    }
    return e;
}

// Code 93 reads only with its two checks; the shift characters must pair up
// with a letter, so data holding them only has to be made.
Expectation expectCode93(bool noCheck, const std::string& data) {
    static constexpr char kSet[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ-. $/+%\xa2\xb0\xd6\xad";
    Expectation e;
    for (char c : data) {
        if (c == 0 || std::strchr(kSet, c) == nullptr) e.refuse = true;
        if (static_cast<unsigned char>(c) > 127) e.readable = false;
    }
    if (noCheck) e.readable = false;
    e.bytes = data;
    return e;
}

// Interleaved 2 of 5 and ITF-6: the digits with the variant's own prefix or
// suffix, a leading 0 to an even count, and the GS1 check digit unless the
// check is off. The length rules refuse the rest.
Expectation expectInterleaved(int32_t code, int32_t v, int32_t nCheck, const std::string& data) {
    Expectation e;
    std::string d = data;
    const bool next = code != 14 && v == 2;
    if (next && !d.empty() && d[0] >= 'A' && d[0] <= 'Z') {
        const int value = 11 + (d[0] - 'A');
        d = std::to_string(value) + d.substr(1);
    } else if (next && !d.empty()) {
        d = "0" + d;
    }
    if (!allDigits(d)) {
        e.refuse = true;
        return e;
    }
    if (code != 14) {
        if (v == 14) d = "9" + d;
        if (v == 7 || v == 8) d += "0";
    }
    const bool check = code != 14 && nCheck == 0;
    if ((d.size() + (check ? 1 : 0)) % 2 != 0) d = "0" + d;
    if (check) d += gs1Check(d);
    e.bytes = d;
    // The reader takes Interleaved 2 of 5 of six digits and more.
    e.readable = d.size() >= 6;
    return e;
}

// ---- rendering -------------------------------------------------------------------

bool isLinear(int32_t code) { return code != 37 && code != 38 && code != 40 && code != 42; }

// `px` pixels a module; PDF417 rows are three modules high. Linear symbols are
// drawn from their first bar row, or from all rows (`whole`).
testsupport::Bitmap render(int32_t code, int px, bool whole) {
    if (isLinear(code)) {
        testsupport::LinearOptions opt;
        opt.pixelsPerMicrometre = px / 330.0;
        opt.firstRowOnly = !whole;
        return testsupport::rasteriseElementList(gEl.chNum, gEl.cu_len, opt);
    }
    if (code == 42) return testsupport::rasteriseModuleRows(gEl.chNum, gEl.cu_len, px, 3 * px, 2);
    if (code == 37) return testsupport::rasteriseModuleRows(gEl.chNum, gEl.cu_len, px, 10 * px, 12);
    // Block letters: the last band is padded with light rows below the symbol;
    // a matrix symbol never ends in an all-light row, so they are cut off.
    auto m = testsupport::blockLettersToMatrix(gEl.chNum, gEl.cu_len);
    while (!m.empty()) {
        bool light = true;
        for (bool dark : m.back()) light = light && !dark;
        if (!light) break;
        m.pop_back();
    }
    return testsupport::rasteriseMatrix(m, px, px, 4);
}

// The reader's own limits are not the symbol's: its detector misses some
// symbols that it reads when told the image holds nothing else, or at another
// scale, so every way is tried before the symbol is blamed.
// Code 39 pairs are read as ASCII for full ASCII; the modulo-43 check is
// checked and removed when there is one; Codabar keeps its start and stop.
struct Reading {
    bool code39FullAscii = false;
    bool code39Check = false;
};

testsupport::Decoded readBack(int32_t code, const char* format, const Reading& how) {
    testsupport::Decoded d;
    for (int px : {4, 2, 6}) {
        for (bool whole : {false, true}) {
            if (whole && !isLinear(code)) continue;
            const testsupport::Bitmap bmp = render(code, px, whole);
            for (bool pure : {false, true}) {
                ZXing::DecodeHints hints;
                hints.setFormats(ZXing::BarcodeFormatsFromString(format));
                hints.setTryHarder(true);
                hints.setTryRotate(false);
                hints.setIsPure(pure);
                hints.setBinarizer(ZXing::Binarizer::FixedThreshold);
                hints.setTryCode39ExtendedMode(how.code39FullAscii);
                hints.setValidateCode39CheckSum(how.code39Check);
                hints.setReturnCodabarStartEnd(true);
                const ZXing::Result r = ZXing::ReadBarcode(
                    {bmp.pixels.data(), bmp.width, bmp.height, ZXing::ImageFormat::Lum}, hints);
                if (r.isValid()) {
                    d.ok = true;
                    d.bytes.assign(r.bytes().begin(), r.bytes().end());
                    d.symbologyId = r.symbologyIdentifier();
                    return d;
                }
                d.error = r.error() ? r.error().msg() : std::string("nothing found");
            }
        }
    }
    return d;
}

// The reader's name for the symbols of a code type, or nullptr when no
// outside reader reads them.
const char* readerFormat(int32_t code, int32_t v) {
    switch (code) {
        case 0:
        case 1:
        case 2:
        case 25:
        case 26:
        case 27:
            return "EAN-13";
        case 3:
        case 16:
            return "EAN-8";
        case 10:
            return "UPC-A";
        case 11:
            return "UPC-E";
        case 5:
        case 7:
            return v == 1 ? nullptr : "Code128";  // variant 1 has no check character
        case 13:
        case 15:
        case 34:
            return "Code128";
        case 4:
        case 14:
        case 18:
        case 22:
        case 23:
        case 24:
        case 29:
            return "ITF";
        case 38:
            return "DataMatrix";
        case 40:
            return "QRCode";
        case 42:
            return "PDF417";
        case 6:
            return "Code39";
        case 8:
            return "Codabar";
        case 28:
            return "Code93";
        case 37:
            return v >= 0 && v <= 3 ? "DataBar" : nullptr;
        default:
            return nullptr;
    }
}

Expectation expect(int32_t code, int32_t v, bool noCheck, const std::string& data) {
    switch (code) {
        case 38:
            return v == 2 ? expectEanDataMatrix(data.c_str())
                          : expectDataMatrix(data.c_str(), false);
        case 40:
            return expectQR(data);
        case 42:
            return expectPdf417(data.c_str());
        case 6:
            return expectCode39(v, data);
        case 8:
            return expectCodabar(v, noCheck, data);
        case 28:
            return expectCode93(noCheck, data);
        case 37:
            return expectDataBar(data);
        case 5:
        case 7:
        case 13:
        case 15:
        case 34:
            return expectCode128(code, v, data);
        default:
            return expectRetail(code, v, data);
    }
}

}  // namespace

extern "C" int STRIXEL_FUZZ_ENTRY(const uint8_t* in, size_t n) {
    fuzzing::Request r;
    if (!fuzzing::parseRequest(in, n, &r)) return 0;
    const char* format = readerFormat(r.code, r.variant);
    if (format == nullptr) return 0;
    fuzzing::gCurrent = &r;
    fuzzing::loadRequest(r);

    // What the data means, from the data as the split left it.
    const std::string data = gData.chMainCode;
    const bool noCheck = gSym.nCheck == 1;
    const bool interleaved = std::strcmp(format, "ITF") == 0;
    // The type's defaults and the dispatcher fold the legacy ITF families into 4.
    const Expectation e = interleaved ? expectInterleaved(gSym.code == 14 ? 14 : 4, gSym.variation1,
                                                          gSym.nCheck, data)
                                      : expect(r.code, r.variant, noCheck, data);
    Reading how;
    how.code39FullAscii = r.code == 6 && r.variant == 10;
    // Code 32 and PZN carry their own check digit and no modulo-43 character.
    const bool pharmacy = r.variant == 3 || r.variant == 4 || r.variant == 14;
    how.code39Check = r.code == 6 && !noCheck && !pharmacy;

    const int32_t result = STRixel();
    if (fuzzing::checkOutcome(result, data.empty()) && result == 0) {
        if (e.refuse) {
            fail("a symbol was made of data that cannot be encoded");
        } else if (e.readable) {
            const testsupport::Decoded d = readBack(r.code, format, how);
            if (!d.ok) {
                fail(std::string("the symbol does not read: ") + d.error);
            } else if (e.exact && d.bytes != e.bytes &&
                       (e.orBytes.empty() || d.bytes != e.orBytes)) {
                fail("reads \"" + printable(d.bytes) + "\", expected \"" + printable(e.bytes) +
                     "\"");
            } else if (!e.symbologyId.empty() && d.symbologyId != e.symbologyId &&
                       d.symbologyId != e.orId) {
                fail("symbology identifier " + d.symbologyId + ", expected " + e.symbologyId);
            }
        }
    }
    fuzzing::gCurrent = nullptr;
    return 0;
}
