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

// Windows-1252 byte of a Unicode character, or -1.
int32_t unicodeToCp1252(uint32_t u) {
    static iconv_t cd = iconv_open("CP1252", "UTF-32LE");
    char* ip = reinterpret_cast<char*>(&u);
    unsigned char out = 0;
    char* op = reinterpret_cast<char*>(&out);
    size_t il = 4, ol = 1;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    if (iconv(cd, &ip, &il, &op, &ol) == static_cast<size_t>(-1)) return -1;
    return out;
}

// DataMatrix readers show ISO 8859-1: a typed letter travels as its Latin-1
// byte, and one that Latin-1 lacks cannot be encoded.
int32_t latin1Of(unsigned char c) {
    const uint32_t u = macRomanUnicode()[c];
    return u <= 0xFF ? static_cast<int32_t>(u) : -1;
}

// PDF417 converts its data to Windows-1252 with a table of its own: a few
// letters land on look-alikes, a few stay as typed.
unsigned char pdfAnsiOf(unsigned char c) {
    if (c < 0x80 || c == 0xFF) return c;
    struct Pair {
        unsigned char from, to;
    };
    static constexpr Pair kOwn[] = {
        {0xB8, 0xBD}, {0xB9, 0xBC}, {0xBA, 0xB9}, {0xBD, 0xB3}, {0xC5, 0xDE}, {0xC6, 0xFE},
        {0xDA, 0xF0}, {0xDE, 0xB2}, {0xDF, 0xA6}, {0xFE, 0xA0}, {0xBC, 0xBE}, {0xDB, 0xA4},
        {0xE0, 0xD0}, {0xE1, 0xE1}, {0xF3, 0xF3}, {0xF6, 0xF6}, {0xF7, 0xF7}, {0xF8, 0xF8}};
    for (const Pair& p : kOwn)
        if (p.from == c) return p.to;
    const int32_t b = unicodeToCp1252(macRomanUnicode()[c]);
    return b < 0 ? c : static_cast<unsigned char>(b);
}

// ---- what a reader should report ----------------------------------------------

struct Expectation {
    bool refuse = false;      // the data cannot be encoded: a symbol is a finding
    bool exact = true;        // false: it must read, the content is not checked
    std::string bytes;        // the content bytes
    std::string symbologyId;  // empty: not checked
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
    size_t i = 0;
    while (i < n) {
        const unsigned char c = static_cast<unsigned char>(data[i]);
        if (c != '\\') {
            const int32_t b = latin1Of(c);
            if (b < 0) {
                e.refuse = true;
                return e;
            }
            out += static_cast<char>(b);
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

// PDF417: an optional Macro PDF417 header, then the data in Windows-1252.
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
    for (const char* p = payload; *p; ++p) e.bytes += static_cast<char>(pdfAnsiOf(*p));
    return e;
}

// ---- rendering -------------------------------------------------------------------

// `px` pixels a module; PDF417 rows are three modules high.
testsupport::Bitmap render(int32_t code, int px) {
    if (code == 42) return testsupport::rasteriseModuleRows(gEl.chNum, gEl.cu_len, px, 3 * px, 2);
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
testsupport::Decoded readBack(int32_t code, const char* format) {
    testsupport::Decoded d;
    for (int px : {4, 2, 6}) {
        const testsupport::Bitmap bmp = render(code, px);
        for (bool pure : {false, true}) {
            ZXing::DecodeHints hints;
            hints.setFormats(ZXing::BarcodeFormatsFromString(format));
            hints.setTryHarder(true);
            hints.setTryRotate(false);
            hints.setIsPure(pure);
            hints.setBinarizer(ZXing::Binarizer::FixedThreshold);
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
    return d;
}

const char* readerFormat(int32_t code) {
    switch (code) {
        case 38:
            return "DataMatrix";
        case 40:
            return "QRCode";
        case 42:
            return "PDF417";
        default:
            return nullptr;
    }
}

}  // namespace

extern "C" int STRIXEL_FUZZ_ENTRY(const uint8_t* in, size_t n) {
    fuzzing::Request r;
    if (!fuzzing::parseRequest(in, n, &r)) return 0;
    const char* format = readerFormat(r.code);
    if (format == nullptr) return 0;
    fuzzing::gCurrent = &r;
    fuzzing::loadRequest(r);

    // What the data means, from the data as the split left it.
    const std::string data = gData.chMainCode;
    Expectation e;
    switch (r.code) {
        case 38:
            e = expectDataMatrix(data.c_str(), r.variant == 2);
            break;
        case 42:
            e = expectPdf417(data.c_str());
            break;
    }

    const int32_t result = STRixel();
    if (!fuzzing::checkOutcome(result, data.empty()) || result != 0) {
        fuzzing::gCurrent = nullptr;
        return 0;
    }
    if (e.refuse) {
        fail("a symbol was made of data that cannot be encoded");
    } else {
        const testsupport::Decoded d = readBack(r.code, format);
        if (!d.ok) {
            fail(std::string("the symbol does not read: ") + d.error);
        } else if (e.exact && d.bytes != e.bytes) {
            fail("reads \"" + printable(d.bytes) + "\", expected \"" + printable(e.bytes) + "\"");
        } else if (!e.symbologyId.empty() && d.symbologyId != e.symbologyId) {
            fail("symbology identifier " + d.symbologyId + ", expected " + e.symbologyId);
        }
    }
    fuzzing::gCurrent = nullptr;
    return 0;
}
