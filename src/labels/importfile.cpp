#include "labels/importfile.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "symbology/panels.h"
#include "labels/labelDoc.h"
#include "labels/production.h"
#include "labels/serial.h"
#include "QRCode/QREncode.h"
#include "platform/macroman.h"
#include "symbology/messages.h"
#include "symbology/state.h"

namespace {

constexpr uint16_t kMsgNoLength = 16;
constexpr uint16_t kMsgNoFileOrTemplate = 17;
constexpr uint16_t kMsgNoStart = 18;
constexpr uint16_t kMsgNoTitle = 19;
constexpr uint16_t kMsgNoCount = 20;
constexpr uint16_t kMsgImportFieldCut = 1304;
constexpr uint16_t kMsgImportNul = 1306;
constexpr uint16_t kMsgImportExcess = 1307;
constexpr uint16_t kMsgImportNotRoman = 1308;

constexpr char kCR = 13, kLF = 10, kQuote = '"';
constexpr int32_t kModeTab = 1, kModeSemicolon = 2;
constexpr int32_t kModeLineFeed = 3;  // records end in LF by default
constexpr int32_t kModeQuoted = 4;    // quotes protect the delimiter
enum : int32_t { kFieldGoesOn = 0, kRecordEnded = 1, kFileEnded = 2 };
constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

char delimiterOf(int32_t mode) {
    if (mode == kModeTab) return '\t';
    if (mode == kModeSemicolon) return ';';
    return ',';
}

bool lineEnd(char c) { return c == kCR || c == kLF; }

char defaultRecordEnd(int32_t mode) { return mode == kModeLineFeed ? kLF : kCR; }

// The record end found in the file by the run, kept in the end value's second
// byte. Only a CR or LF counts: a serial run leaves its end value there too.
char recordEndOf(int32_t mode) {
    const char found = gProd.gfini[1];
    if (found == kCR || found == kLF) return found;
    return defaultRecordEnd(mode);
}

// Blocks read ahead from an import file and from its separate file. A block
// belongs to its file while the file's position is where the block ended; any
// other read or seek of the file drops it.
struct ReadAhead {
    static constexpr size_t kBlock = 64 * 1024;
    platform::FileRef ref = 0;
    int32_t filePos = 0;  // the file's position after the block
    size_t at = 0, len = 0;
    bool ended = false;
    bool afterCR = false;  // the last byte taken was a CR: an LF next is its pair
    char bytes[kBlock];
};
ReadAhead gReaders[2];
int gLastReader = 0;

ReadAhead& readerFor(platform::FileRef ref) {
    int32_t pos = -1;
    platform::GetFPos(ref, &pos);
    for (int i = 0; i < 2; ++i) {
        ReadAhead& r = gReaders[i];
        if (r.ref == ref && r.filePos == pos) {
            gLastReader = i;
            return r;
        }
    }
    int pick = 1 - gLastReader;
    for (int i = 0; i < 2; ++i)
        if (gReaders[i].ref == ref) pick = i;
    gLastReader = pick;
    ReadAhead& r = gReaders[pick];
    r.ref = ref;
    r.filePos = pos;
    r.at = r.len = 0;
    r.ended = r.afterCR = false;
    return r;
}

// The next byte of the file; false at its end or at a read failure.
bool nextByte(ReadAhead& r, char* c) {
    if (r.at == r.len) {
        if (r.ended) return false;
        int32_t count = static_cast<int32_t>(ReadAhead::kBlock);
        const platform::OSErr err = platform::FSRead(r.ref, &count, r.bytes);
        r.at = 0;
        r.len = count > 0 ? static_cast<size_t>(count) : 0;
        r.filePos += static_cast<int32_t>(r.len);
        if (err != platform::noErr) r.ended = true;  // the end, or a failure: the same to a reader
        if (r.len == 0) return false;
    }
    *c = r.bytes[r.at++];
    return true;
}

// Whether the file begins with a UTF-16 byte-order mark: its records would read
// as other characters, a NUL between every two. The file is read from its start
// again after.
bool utf16Marked(ReadAhead& r) {
    constexpr unsigned char kMarks[][2] = {{0xFF, 0xFE}, {0xFE, 0xFF}};
    unsigned char first[2] = {};
    char c = 0;
    for (unsigned char& b : first)
        if (nextByte(r, &c)) b = static_cast<unsigned char>(c);
    r.at = 0;
    return std::any_of(std::begin(kMarks), std::end(kMarks), [&](const auto& mark) {
        return mark[0] == first[0] && mark[1] == first[1];
    });
}

void forget(platform::FileRef ref) {
    for (ReadAhead& r : gReaders)
        if (r.ref == ref) r.ref = 0;
}

// The bytes of the UTF-8 character that `lead` begins; 0 when no character
// begins with it.
size_t utf8Length(unsigned char lead) {
    return lead < 0x80                   ? 1
           : lead >= 0xC2 && lead < 0xE0 ? 2
           : lead >= 0xE0 && lead < 0xF0 ? 3
           : lead >= 0xF0 && lead < 0xF5 ? 4
                                         : 0;
}

bool validUtf8(std::string_view s) {
    for (size_t i = 0; i < s.size();) {
        const size_t n = utf8Length(static_cast<unsigned char>(s[i]));
        if (n == 0 || i + n > s.size()) return false;
        for (size_t k = 1; k < n; ++k)
            if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
        i += n;
    }
    return true;
}

// The length of text without an unfinished UTF-8 character at its end.
size_t wholeUtf8Length(std::string_view text) {
    size_t lead = text.size();
    for (size_t back = 0; back < 4 && lead > 0; ++back)
        if ((static_cast<unsigned char>(text[--lead]) & 0xC0) != 0x80) break;
    if (lead == text.size()) return text.size();
    return text.size() - lead < utf8Length(static_cast<unsigned char>(text[lead])) ? lead
                                                                                   : text.size();
}

// A field written in UTF-8 (non-ASCII bytes that read as UTF-8) becomes Mac OS
// Roman; bytes that are no UTF-8 are taken as Mac OS Roman already, and *foreign
// becomes true: they may be in another character set. False when a character has
// no Mac OS Roman form.
bool toMacRoman(char* field, bool* foreign) {
    std::string_view text(field);
    // A field cut at its limit may end inside a UTF-8 character: that part goes,
    // rather than the whole field being taken as Mac OS Roman.
    if (text.size() == kImportFieldSize - 1) {
        const size_t whole = wholeUtf8Length(text);
        if (whole < text.size() && validUtf8(text.substr(0, whole))) {
            field[whole] = 0;
            text = text.substr(0, whole);
        }
    }
    const bool ascii = std::all_of(text.begin(), text.end(),
                                   [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    if (ascii) return true;
    if (!validUtf8(text)) {
        *foreign = true;
        return true;
    }
    std::string roman;
    if (!platform::utf8ToMacRoman(text, &roman)) return false;
    std::memcpy(field, roman.data(), roman.size() + 1);
    return true;
}

void readSeparateLine() {
    if (gProd.vimpoRef2 == 0) {
        gProd.sepText[0] = 0;
        return;
    }
    fgetsCR(gProd.sepText, static_cast<int32_t>(sizeof gProd.sepText) - 1, gProd.vimpoRef2);
}

// A panel field through GetAnyField; false when it is empty.
bool readField(int field, char* destination) {
    const std::string& text = gPanels.TEBack2[field].text;
    if (text.empty()) return false;
    constexpr size_t kFieldRead = 254;
    GetAnyField(text.c_str(), static_cast<int32_t>(std::min(text.size(), kFieldRead)), destination);
    return true;
}

int32_t fieldNumber(const char* text) {
    constexpr long kLargest = 1000000000;
    return static_cast<int32_t>(std::clamp(std::strtol(text, nullptr, 10), -kLargest, kLargest));
}

}  // namespace

int32_t GetNextItemFromFile(platform::FileRef file, char delimiter, char recordEnd,
                            char* destination, int32_t counter, int32_t* status,
                            FieldFaults* faults) {
    const int32_t mode = gLabel.impoMode;
    // A file may mix its line ends (lines added by another program): CR, LF and
    // CR LF each end a record, whichever the file began with.
    const bool anyLineEnd = lineEnd(recordEnd);
    constexpr size_t kMax = kImportFieldSize - 1;
    ReadAhead& r = readerFor(file);
    size_t len = 0;
    bool quoted = false;
    *status = kFieldGoesOn;
    for (;;) {
        char c = 0;
        if (!nextByte(r, &c)) {
            *status = kFileEnded;
            break;
        }
        if (c == 0) {  // text saved as UTF-16 holds one with every ASCII character
            if (faults) faults->nul = true;
            continue;
        }
        const bool pairedLF = c == kLF && r.afterCR;
        r.afterCR = c == kCR;
        if (pairedLF) continue;
        if (c == kQuote) {
            quoted = !quoted;
            continue;
        }
        if (c == recordEnd || (anyLineEnd && lineEnd(c))) {
            *status = kRecordEnded;
            break;
        }
        if (c == delimiter && !(mode == kModeQuoted && quoted)) break;
        if (len < kMax) {
            destination[len++] = c;
        } else if (faults) {
            faults->cut = true;
        }
    }
    destination[len] = 0;
    return counter + 1;
}

int32_t GetImportItems() {
    const int32_t mode = gLabel.impoMode;
    const char delimiter = delimiterOf(mode);
    const char recordEnd = recordEndOf(mode);
    int32_t slot = 0, status = kFieldGoesOn;
    FieldFaults faults;
    while (status == kFieldGoesOn && slot < kImportReadFields)
        slot = GetNextItemFromFile(gProd.vimportRef, delimiter, recordEnd, gProd.importItems[slot],
                                   slot, &status, &faults);
    // The fields after the 19th are read and dropped, so that the next read
    // starts at the next record.
    bool excess = false;
    for (char rest[kImportFieldSize]; status == kFieldGoesOn; excess = true)
        GetNextItemFromFile(gProd.vimportRef, delimiter, recordEnd, rest, 0, &status, &faults);
    // Slots this record did not reach must not keep the fields of an earlier one.
    for (int32_t k = slot; k < kImportFields; ++k) gProd.importItems[k][0] = 0;
    gProd.importRecordBad = false;
    bool foreign = false;
    for (int32_t k = 0; k < slot; ++k)
        if (!toMacRoman(gProd.importItems[k], &foreign)) gProd.importRecordBad = true;
    qrencode::gQROrigin.foreignBytes = foreign;
    gProd.importRecordChanged = faults.cut || faults.nul;
    ++gProd.importLine;  // a record is one line, whichever line end closed it
    if (gProd.sepIm == 1) readSeparateLine();
    if (faults.cut) Message(kMsgImportFieldCut);
    if (faults.nul) Message(kMsgImportNul);
    if (excess) Message(kMsgImportExcess);
    if (gProd.importRecordBad) Message(kMsgImportNotRoman);
    return status == kFileEnded ? 1 : 0;
}

bool importRecordBlank() {
    for (const auto& field : gProd.importItems)
        for (const char* c = field; *c; ++c)
            if (!std::isspace(static_cast<unsigned char>(*c))) return false;
    return true;
}

bool importRecordsLeft() {
    const platform::FileRef ref = gProd.vimportRef;
    const char delimiter = delimiterOf(gLabel.impoMode);
    // Bytes that leave a record blank: white space, delimiters, and the quotes and
    // NULs a field drops.
    auto content = [&](char c) {
        return c != delimiter && c != kQuote && c != 0 &&
               !std::isspace(static_cast<unsigned char>(c));
    };
    ReadAhead& r = readerFor(ref);
    if (std::any_of(r.bytes + r.at, r.bytes + r.len, content)) return true;
    if (r.ended) return false;
    // Past the block read ahead; the file goes back to where the block ends, so
    // the block stays the reader's.
    bool found = false;
    char bytes[4096];
    for (int32_t count = sizeof bytes; !found; count = sizeof bytes) {
        const platform::OSErr err = platform::FSRead(ref, &count, bytes);
        found = std::any_of(bytes, bytes + std::max(count, 0), content);
        if (err != platform::noErr || count <= 0) break;
    }
    platform::SetFPos(ref, r.filePos);
    return found;
}

bool skipImportRecords(int32_t count) {
    const char delimiter = delimiterOf(gLabel.impoMode);
    const char recordEnd = recordEndOf(gLabel.impoMode);
    char text[kImportFieldSize];
    int32_t status = kFieldGoesOn;
    for (int32_t skipped = 0; skipped < count;) {
        // The record end is the delimiter too: one read takes the whole record
        // (its first 255 bytes, enough to tell a blank one).
        GetNextItemFromFile(gProd.vimportRef, recordEnd, recordEnd, text, 0, &status);
        ++gProd.importLine;
        if (gProd.vimpoRef2 != 0) fgetsCR(gProd.sepText, kImportFieldSize, gProd.vimpoRef2);
        const std::string_view record(text);
        const bool blank = std::all_of(record.begin(), record.end(), [&](char c) {
            return c == delimiter || std::isspace(static_cast<unsigned char>(c));
        });
        if (!blank) ++skipped;
        if (status == kFileEnded) return false;  // no record left after them
    }
    return true;
}

char* fgetsCR(char* buffer, int32_t maximum, platform::FileRef file) {
    ReadAhead& r = readerFor(file);
    int32_t n = 0;
    char c = 0;
    while (n < maximum - 1 && nextByte(r, &c)) {
        buffer[n++] = c;
        if (c == kCR) break;
    }
    if (n > 0 && buffer[n - 1] == kCR) --n;
    if (maximum > 0) buffer[n] = 0;
    return buffer;
}

void rewindImportFile(platform::FileRef ref) {
    forget(ref);
    platform::SetFPos(ref, 0);
    char mark[3] = {};
    int32_t count = 3;
    platform::FSRead(ref, &count, mark);
    if (count != 3 || std::string_view(mark, 3) != kUtf8Mark) platform::SetFPos(ref, 0);
}

platform::OSErr openImportFile(const std::string& posixPath, platform::FileRef* ref,
                               char* recordEnd, std::string* why) {
    *ref = 0;
    if (posixPath == kStandardInputName) {
        static bool taken = false;
        if (taken) {
            if (why) *why = "standard input was read by an earlier import";
            return platform::eofErr;
        }
        taken = true;
        *ref = platform::FSOpenStandardInput(kMostImportBytes, why);
        if (*ref == 0) return platform::ioErr;
    } else {
        const platform::OSErr err = platform::FSOpenRegular(posixPath, kMostImportBytes, ref, why);
        if (err != platform::noErr) return err;
    }
    forget(*ref);
    ReadAhead& r = readerFor(*ref);
    char c = 0;
    *recordEnd = 0;
    if (utf16Marked(r)) {
        if (why) *why = "\"" + posixPath + "\" is text in UTF-16: save it as UTF-8 or plain text";
        closeImportFile(*ref);
        *ref = 0;
        return platform::paramErr;
    }
    while (nextByte(r, &c))
        if (c == kCR || c == kLF) {
            *recordEnd = c;
            break;
        }
    rewindImportFile(*ref);
    return platform::noErr;
}

void closeImportFile(platform::FileRef ref) {
    qrencode::gQROrigin.foreignBytes = false;  // what is made next is no record of it
    if (ref == 0) return;
    forget(ref);
    platform::FSClose(ref);
}

void GetImportText(ImportSettings* s) {
    const int32_t mode = gLabel.impoMode;
    *s = ImportSettings{};
    s->delimiter = delimiterOf(mode);
    s->recordEnd = defaultRecordEnd(mode);
    const ExternalImport& ext = gProd.externalImport;
    if (ext.countPlus1 != 0) {
        s->file = ext.file;
        s->length = ext.length;
        s->start = ext.start;
        s->title = ext.title;
        s->count = ext.countPlus1 - 1;
        return;
    }
    enum {
        kFileField = 1,
        kTemplateField = 4,
        kStartField = 5,
        kLengthField = 6,
        kTitleField = 7,
        kCountField = 8
    };
    char text[kRunTextSize];
    if (!readField(kLengthField, text)) {
        Message(kMsgNoLength);
        return;
    }
    s->length = fieldNumber(text);
    if (readField(kFileField, text)) {
        s->file = text;
    } else if (labelBack.labelWidth == 0) {
        Message(kMsgNoFileOrTemplate);
        return;
    }
    if (!readField(kTemplateField, text)) {
        Message(kMsgNoFileOrTemplate);
        return;
    }
    s->templateText = text;
    s->templateNumber = fieldNumber(text);
    const struct {
        int field;
        int32_t* value;
        uint16_t missing;
    } numbers[] = {{kStartField, &s->start, kMsgNoStart},
                   {kTitleField, &s->title, kMsgNoTitle},
                   {kCountField, &s->count, kMsgNoCount}};
    for (const auto& n : numbers) {
        if (!readField(n.field, text)) {
            *n.value = 0;
            s->count = 0;
            Message(n.missing);
            return;
        }
        *n.value = fieldNumber(text);
    }
}
