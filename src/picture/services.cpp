#include "picture/services.h"

#include <cctype>
#include <cstdlib>
#include <cstring>
#include <string.h>

#include "labels/production.h"
#include "platform/textmetrics.h"
#include "symbology/messages.h"
#include "symbology/state.h"
#include "vector/sink.h"

PictureServiceState gPictServices;

void resetPictureServices() { gPictServices = PictureServiceState{}; }

void TextSizeGC(int16_t size, int32_t n) {
    platform::TextSize(size);
    // Kept in single precision, as the text scale always was.
    gVec.gCtexsize = static_cast<float>(n * gSym.Siz * 0.001);
}

bool cpstrcat2(unsigned char* pstr, const void* bytes, int32_t n) {
    if (n <= 0) return n == 0;
    const int32_t room = 255 - pstr[0];
    const int32_t take = n < room ? n : room;
    std::memcpy(pstr + 1 + pstr[0], bytes, static_cast<size_t>(take));
    pstr[0] = static_cast<unsigned char>(pstr[0] + take);
    return take == n;
}

namespace {

constexpr uint16_t kMsgImportBuiltTooLong = 1305;

bool blankOnly(const char* text, size_t n) {
    for (size_t k = 0; k < n; ++k)
        if (!std::isspace(static_cast<unsigned char>(text[k]))) return false;
    return true;
}

// The field number of a marker as "%i" reads it (0x hexadecimal, a leading 0
// octal); 0 counts as 1. -1 when there is no number or no such field.
int fieldNumber(const char* text, size_t n) {
    char digits[32];
    if (n >= sizeof digits) n = sizeof digits - 1;
    std::memcpy(digits, text, n);
    digits[n] = 0;
    char* end = nullptr;
    const long v = std::strtol(digits, &end, 0);
    if (end == digits) return -1;
    if (v == 0) return 1;
    return v >= 1 && v <= kImportFields ? static_cast<int>(v) : -1;
}

}  // namespace

void GetImportBuilt(char* dst, const char* templ) {
    constexpr size_t kMax = kImportBuiltMax;
    dst[0] = 0;
    if (templ == nullptr || templ[0] == 0) return;
    const char* t = templ + 1;  // the text follows the template's first byte
    const size_t end = strnlen(t, kLabelTemplateMax);
    size_t len = 0;
    bool fits = true;
    auto append = [&](const char* s, size_t n) {
        if (len + n > kMax) {
            fits = false;
            return;
        }
        std::memcpy(dst + len, s, n);
        len += n;
    };
    size_t pos = 0;
    while (pos < end) {
        const char* open = static_cast<const char*>(::memmem(t + pos, end - pos, "<<", 2));
        const size_t mark = open ? static_cast<size_t>(open - t) : end;
        append(t + pos, mark - pos);
        if (!open) break;
        const size_t from = mark + 2;
        const char* close = from < end
                                ? static_cast<const char*>(::memmem(t + from, end - from, ">>", 2))
                                : nullptr;
        const size_t to = close ? static_cast<size_t>(close - t) : end;
        pos = close ? to + 2 : end;
        const int field = fieldNumber(t + from, to - from);
        if (field > 0) {
            const char* value = gProd.importItems[field - 1];
            const size_t n = strnlen(value, kImportFieldSize - 1);
            if (!blankOnly(value, n)) append(value, n);
        }
    }
    if (!fits) {
        dst[0] = 0;
        Message(kMsgImportBuiltTooLong);
        return;
    }
    dst[len] = 0;
}
