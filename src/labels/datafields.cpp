#include "labels/datafields.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string.h>  // memmem

#include "labels/production.h"
#include "platform/macroman.h"
#include "platform/numbers.h"
#include "symbology/messages.h"
#include "symbology/state.h"

namespace {

constexpr uint16_t kMsgImportBuiltCut = 1309;

using platform::FileRef;
using platform::OSErr;

struct FieldPlace {
    char letter;
    int32_t offset;
};
// 'Z' (offset 0) is left out: written there it would overwrite the name field's
// first byte.
constexpr FieldPlace kFieldPlaces[] = {{'N', 1},    {'C', 257},  {'A', 513}, {'P', 769},
                                       {'W', 1025}, {'L', 1281}, {'M', 1537}};
constexpr char kLogoLetter = 'L';
constexpr size_t kFieldTextMax = kFieldSlot - 1;
constexpr int kCountDigitsMax = 19;  // of a long
// The fields, the logo's count and the largest logo.
constexpr int64_t kDataFieldsMostBytes = kLogoDataOffset + kCountDigitsMax + kLogoMostBytes;

bool readByte(FileRef f, unsigned char* b) {
    int32_t n = 1;
    return platform::FSRead(f, &n, b) == platform::noErr && n == 1;
}

OSErr writeBytes(FileRef f, const void* bytes, size_t n) {
    int32_t count = static_cast<int32_t>(n);
    return platform::FSWrite(f, &count, bytes);
}

// The logo's byte count as "%ld" reads it, leaving the position just after its
// digits; -1 when there is no number.
long readCount(FileRef f) {
    int32_t pos = 0;
    platform::GetFPos(f, &pos);
    unsigned char b = 0;
    while (readByte(f, &b) && std::isspace(b)) ++pos;
    bool negative = false;
    if (b == '-' || b == '+') {
        negative = b == '-';
        ++pos;
        if (!readByte(f, &b)) return -1;
    }
    long v = 0;
    int digits = 0;
    constexpr long kMost = std::numeric_limits<long>::max();
    while (std::isdigit(b) && digits < kCountDigitsMax) {
        // A count too large for a long is held at the largest: it runs past the
        // file's end either way.
        const long digit = b - '0';
        v = v > (kMost - digit) / 10 ? kMost : v * 10 + digit;
        ++digits;
        if (!readByte(f, &b)) break;
    }
    if (digits == 0) return -1;
    platform::SetFPos(f, pos + digits);
    return negative ? -v : v;
}

void setPascal(unsigned char* text, const unsigned char* name) {
    std::memcpy(text, name, 1 + name[0]);
    text[1 + name[0]] = 0;
}

}  // namespace

std::string dataFieldsPath() { return platform::userDataFolder() + "/" + kDataFieldsName; }

int32_t dataFieldOffset(unsigned char ch) {
    for (const FieldPlace& p : kFieldPlaces)
        if (p.letter == ch) return p.offset;
    return -1;
}

void fgetline(unsigned char* text, FileRef file) {
    size_t n = 0;
    unsigned char b = 0;
    while (n < kFieldTextMax && readByte(file, &b) && b != '\n' && b != '\r' && b != 0)
        text[1 + n++] = b;
    text[0] = static_cast<unsigned char>(n);
    text[1 + n] = 0;
}

int32_t flen(FileRef file) {
    int32_t length = -1;
    return platform::GetEOF(file, &length) == platform::noErr ? length : -1;
}

OSErr fprinth(FileRef file, const std::string* handle, int32_t n) {
    if (n < 1 || !handle) return writeBytes(file, "", 1);
    return writeBytes(file, handle->data(),
                      std::min<size_t>(static_cast<size_t>(n), handle->size()));
}

OSErr freadh(FileRef file, std::string* handle, int32_t* count) {
    const int32_t want = std::max(0, *count);
    handle->resize(static_cast<size_t>(want));
    int32_t got = want;
    const OSErr err = platform::FSRead(file, &got, handle->data());
    handle->resize(static_cast<size_t>(std::max(0, got)));
    *count = got;
    return err;
}

bool GetFieldData(const unsigned char* name, unsigned char* text, std::string* handle) {
    setPascal(text, name);
    FileRef f = 0;
    // Only a regular file of a sensible size: a pipe or a device would hold the
    // print run for ever.
    if (platform::FSOpenRegular(dataFieldsPath(), kDataFieldsMostBytes, &f) != platform::noErr)
        return false;
    const int32_t offset = name[0] > 0 ? dataFieldOffset(name[1]) : -1;
    const int32_t length = flen(f);
    if (offset < 0 || offset >= length) {
        text[0] = text[1] = 0;
        platform::FSClose(f);
        return true;
    }
    platform::SetFPos(f, offset);
    fgetline(text, f);
    if (name[1] == kLogoLetter && handle && length > kLogoDataOffset) {
        platform::SetFPos(f, kLogoDataOffset);
        const long count = readCount(f);
        int32_t at = 0;
        platform::GetFPos(f, &at);
        // A count past the file's end is a damaged file: only what is there is
        // read. One larger than any picture is no logo at all.
        if (count >= 1 && count <= kLogoMostBytes) {
            int32_t n = static_cast<int32_t>(std::min<long>(count, length - at));
            freadh(f, handle, &n);
        }
    }
    platform::FSClose(f);
    return true;
}

OSErr SaveFieldData(const unsigned char* name, const unsigned char* value,
                    const std::string* handle) {
    const int32_t offset = name[0] > 0 ? dataFieldOffset(name[1]) : -1;
    if (offset < 0) return platform::noErr;
    platform::createFolder(platform::userDataFolder());
    FileRef f = 0;
    OSErr err = platform::FSOpenRW(dataFieldsPath(), &f);
    if (err != platform::noErr) return err;
    // The text and its line feed fit the field's slot.
    const size_t n = std::min<size_t>(value[0], kFieldTextMax);
    err = platform::SetFPos(f, offset);
    if (err == platform::noErr) err = writeBytes(f, value + 1, n);
    if (err == platform::noErr) err = writeBytes(f, "\n", 1);
    if (err == platform::noErr && name[1] == kLogoLetter) {
        const size_t size = handle ? handle->size() : 0;
        char digits[32];
        const int len = platform::formatInt(digits, sizeof digits, static_cast<long>(size));
        err = platform::SetFPos(f, kLogoDataOffset);
        if (err == platform::noErr) err = writeBytes(f, digits, static_cast<size_t>(len));
        if (err == platform::noErr) err = fprinth(f, handle, static_cast<int32_t>(size));
    }
    const OSErr closed = platform::FSClose(f);
    return err != platform::noErr ? err : closed;
}

void SavePersonalData() {
    static const char* const kSamples[][2] = {
        {"Name", "A. N. Other"},
        {"Company Name", "Example Labels Ltd"},
        {"Address", "1 High Street, Anytown, Countyshire, AB1 2CD"},
        {"Phone", "Tel. +44 1234 567890  Fax +44 1234 567891"},
        {"Web", "www.example.com"},
        {"Logo", "Vek.eps"},
    };
    for (const auto& sample : kSamples) {
        unsigned char name[256], value[256];
        pstrSet(name, sample[0]);
        pstrSet(value, sample[1]);
        SaveFieldData(name, value, nullptr);
    }
}

namespace {

bool blankOnly(const char* text, size_t n) {
    for (size_t k = 0; k < n; ++k)
        if (!std::isspace(static_cast<unsigned char>(text[k]))) return false;
    return true;
}

// What a marker's text names: the field number (decimal, blanks around it
// allowed; 0 counts as 1), or why it names no field a record can fill.
enum class MarkerKind { field, notNumber, pastRead };
MarkerKind markerField(const char* text, size_t n, int* field) {
    size_t from = 0, to = n;
    while (from < to && text[from] == ' ') ++from;
    while (to > from && text[to - 1] == ' ') --to;
    if (from == to) return MarkerKind::notNumber;
    long value = 0;
    for (size_t k = from; k < to; ++k) {
        if (!std::isdigit(static_cast<unsigned char>(text[k]))) return MarkerKind::notNumber;
        // Leading zeros are no octal: "010" is field 10.
        if (value <= kImportReadFields) value = value * 10 + (text[k] - '0');
    }
    if (value > kImportReadFields) return MarkerKind::pastRead;
    *field = value == 0 ? 1 : static_cast<int>(value);
    return MarkerKind::field;
}

// Calls each(marker text, its length) for every "<<...>>" of the template;
// stops when each returns false.
template <typename Each>
void forEachMarker(const char* t, size_t end, Each each) {
    size_t pos = 0;
    while (pos < end) {
        const char* open = static_cast<const char*>(::memmem(t + pos, end - pos, "<<", 2));
        if (!open) return;
        const size_t from = static_cast<size_t>(open - t) + 2;
        const char* close = static_cast<const char*>(::memmem(t + from, end - from, ">>", 2));
        if (!close) return;
        const size_t to = static_cast<size_t>(close - t);
        if (!each(t + from, to - from)) return;
        pos = to + 2;
    }
}

}  // namespace

bool GetImportBuilt(char* dst, const char* templ) {
    size_t len = 0;
    bool cut = false;
    auto append = [&](const char* s, size_t n) {
        if (n > kImportBuiltMax - len) {  // a longer text is cut, and the user told
            n = kImportBuiltMax - len;
            cut = true;
        }
        std::memcpy(dst + len, s, n);
        len += n;
    };
    const char* t = templ ? templ : "";
    const size_t end = strnlen(t, kImportTemplateMax);
    size_t pos = 0;
    while (pos < end) {
        const char* open = static_cast<const char*>(::memmem(t + pos, end - pos, "<<", 2));
        const size_t mark = open ? static_cast<size_t>(open - t) : end;
        append(t + pos, mark - pos);
        if (!open) break;
        const size_t from = mark + 2;
        const char* close = static_cast<const char*>(::memmem(t + from, end - from, ">>", 2));
        if (!close) {
            append(t + mark, end - mark);
            break;
        }
        const size_t to = static_cast<size_t>(close - t);
        int field = 0;
        if (markerField(t + from, to - from, &field) == MarkerKind::field) {
            const char* value = gProd.importItems[field - 1];
            const size_t n = strnlen(value, kImportFieldSize - 1);
            if (!blankOnly(value, n)) append(value, n);
        }
        pos = to + 2;
    }
    dst[len] = 0;
    if (cut) Message(kMsgImportBuiltCut);
    return !cut;
}

std::string importTemplateFault(const char* templ) {
    const char* t = templ ? templ : "";
    std::string fault;
    forEachMarker(t, strnlen(t, kImportTemplateMax), [&](const char* text, size_t n) {
        int field = 0;
        const MarkerKind kind = markerField(text, n, &field);
        if (kind == MarkerKind::field) return true;
        const std::string marker = "<<" + platform::macRomanToUtf8(std::string(text, n)) + ">>";
        const std::string most = std::to_string(kImportReadFields);
        fault = "the data template's marker " + marker +
                (kind == MarkerKind::pastRead
                     ? " names a field no record fills: a record gives at most " + most + " fields"
                     : " is no field number: write the number in decimal") +
                " (<<1>> to <<" + most + ">>)";
        return false;
    });
    return fault;
}
