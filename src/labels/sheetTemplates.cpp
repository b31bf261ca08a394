#include "labels/sheetTemplates.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "labels/channels.h"
#include "labels/labelRecords.h"
#include "platform/files.h"
#include "platform/numbers.h"
#include "platform/resources.h"
#include "symbology/messages.h"

SheetSetupState gSheetSetup;

namespace {

constexpr const char* kTemplatesResource = "label/Labels.tmp";
constexpr double kTenthsPerMm = 28.346456692913385;
constexpr double kGutterStep = 1280;  // the across and down words carry the gutter above this
constexpr int32_t kCountMost = 1279;
constexpr int32_t kGutterColumnMost = 3354;  // keeps the across word within 32 bits
constexpr float kDefaultSheetWidth = 210;
constexpr float kDefaultSheetHeight = 298;
constexpr uint16_t kMsgFormatNotSaved = 1405;
constexpr uint16_t kMsgFormatWrongSize = 1406;
constexpr uint16_t kMsgFormatUnread = 1407;

// Reads the text as the template line's scan pattern does: a failed match stops
// the line, leaving the values after it as the previous line set them.
struct Scanner {
    const std::string& t;
    size_t at;
    bool ok = true;
    void blanks() {
        while (at < t.size() && std::isspace(static_cast<unsigned char>(t[at]))) ++at;
    }
    void literal(const char* s) {
        for (; ok && *s; ++s) {
            if (at < t.size() && t[at] == *s)
                ++at;
            else
                ok = false;
        }
    }
    void integer(int32_t* v) {
        if (!ok) return;
        blanks();
        const char* b = t.c_str() + at;
        char* e = nullptr;
        const long n = std::strtol(b, &e, 10);
        if (e == b) {
            ok = false;
            return;
        }
        at += static_cast<size_t>(e - b);
        *v = n < INT32_MIN ? INT32_MIN : n > INT32_MAX ? INT32_MAX : static_cast<int32_t>(n);
    }
    void real(float* v) {
        if (!ok) return;
        blanks();
        const char* b = t.data() + at;
        const char* end = t.data() + t.size();
        if (b < end && *b == '+') ++b;
        float f = 0;
        const auto [p, ec] = std::from_chars(b, end, f);
        if (ec != std::errc() || p == b) {
            ok = false;
            return;
        }
        at = static_cast<size_t>(p - t.data());
        *v = f;
    }
    void word(std::string* v, size_t most) {
        if (!ok) return;
        blanks();
        const size_t b = at;
        while (at < t.size() && at - b < most && !std::isspace(static_cast<unsigned char>(t[at])))
            ++at;
        if (at == b) ok = false;
        *v = t.substr(b, at - b);
    }
};

struct TemplateValues {
    int32_t across = 0, down = 0, gutterColumn = 0;
    float width = 0, height = 0, top = 0, bottom = 0, left = 0, right = 0;
    float gapAcross = 0, gapDown = 0, gutter = 0;
    std::string paper;
    int32_t unused[4] = {};
    float sheetWidth = kDefaultSheetWidth, sheetHeight = kDefaultSheetHeight;
};

void scanValues(Scanner* s, TemplateValues* v) {
    s->integer(&v->across);
    s->literal(",");
    s->integer(&v->down);
    for (float* f : {&v->width, &v->height, &v->top, &v->bottom, &v->left, &v->right, &v->gapAcross,
                     &v->gapDown}) {
        s->literal(",");
        s->real(f);
        s->literal("mm");
    }
    s->literal(",");
    s->integer(&v->gutterColumn);
    s->literal(",");
    s->real(&v->gutter);
    s->literal("mm,");
    s->word(&v->paper, 4);
    for (int32_t& u : v->unused) {
        s->literal(",");
        s->integer(&u);
    }
    for (float* f : {&v->sheetWidth, &v->sheetHeight}) {
        s->literal(",");
        s->real(f);
        s->literal("mm");
    }
}

// Millimetres to the working copy's scale, held within the word. Rounded: whole
// tenths (25.4 mm) read as single precision come out a hair short.
double copyUnits(float mm) { return std::round(double(mm) * kTenthsPerMm * kSheetCopyScale); }

uint32_t copyLength(float mm) {
    const double v = copyUnits(mm);
    if (!(v > 0)) return 0;
    return v >= double(std::numeric_limits<uint32_t>::max()) ? std::numeric_limits<uint32_t>::max()
                                                             : static_cast<uint32_t>(v);
}

int32_t bounded(int32_t v, int32_t most) { return v < 0 ? 0 : v > most ? most : v; }

void applyTemplate(const TemplateValues& v, LabelSheet* s) {
    const double gutterTenths = std::trunc(copyUnits(v.gutter) / kSheetCopyScale);
    const double gutter = gutterTenths > 0 ? std::fmin(gutterTenths, kGutterColumnMost) : 0;
    s->across = static_cast<uint32_t>(bounded(v.across, kCountMost) +
                                      kGutterStep * bounded(v.gutterColumn, kGutterColumnMost));
    s->down = static_cast<uint32_t>(bounded(v.down, kCountMost) + kGutterStep * gutter);
    s->labelWidth = copyLength(v.width);
    s->labelHeight = copyLength(v.height);
    s->topMargin = copyLength(v.top);
    s->leftMargin = copyLength(v.left);
    s->spaceAcross = copyLength(v.gapAcross);
    s->spaceDown = copyLength(v.gapDown);
    s->sheetWidth = copyLength(v.sheetWidth);
    s->sheetHeight = copyLength(v.sheetHeight);
}

void appendBounded(std::string* list, const std::string& line) {
    if (list->size() >= kTemplateListMost) return;
    list->append(line, 0, kTemplateListMost - list->size());
}

}  // namespace

int32_t parseLabelTemplates(const std::string& text, int32_t selected, std::string* list,
                            LabelSheet* chosen) {
    size_t at = text.find('\n');
    at = at == std::string::npos ? text.size() : at + 1;  // the header line
    TemplateValues v;
    int32_t passes = 0;
    while (true) {
        ++passes;
        const size_t comma = text.find(',', at);
        if (comma == std::string::npos) break;
        std::string name = text.substr(at, comma - at);
        if (name.size() > kTemplateNameMost) name.resize(kTemplateNameMost);
        Scanner s{text, comma + 1};
        scanValues(&s, &v);
        at = s.at;
        if (passes - 1 == selected && chosen) applyTemplate(v, chosen);
        appendBounded(list,
                      platform::formatC("%s %0.2f x %0.2fmm %d across x %d down\r", name.c_str(),
                                        double(v.width), double(v.height), v.across, v.down));
        if (at < text.size()) ++at;  // the line break
    }
    return passes;
}

int32_t LoadLabelTemplates(std::string* buffer, int32_t) {
    std::string text;
    if (!gSheetSetup.templatesPath.empty()) {
        platform::FileRef ref = 0;
        if (platform::FSOpenRead(gSheetSetup.templatesPath, &ref) != platform::noErr) return -1;
        int32_t length = 0;
        platform::GetEOF(ref, &length);
        text.resize(static_cast<size_t>(length > 0 ? length : 0));
        int32_t n = length;
        if (length > 0) platform::FSRead(ref, &n, text.data());
        platform::FSClose(ref);
        text.resize(static_cast<size_t>(n > 0 ? n : 0));
    } else {
        const std::string_view r = platform::embeddedResource(kTemplatesResource);
        if (r.empty()) return -1;
        text.assign(r);
    }
    return parseLabelTemplates(text, gSheetSetup.currentSel, buffer, &labelBack2);
}

int32_t saveFormat(const std::string& path) {
    if (path.empty()) return 0;  // cancelled
    uint8_t bytes[kSavedFormatBytes];
    encodeLabelSheet(labelBack2, platform::ByteOrder::little, bytes);
    DEF_OPEN(fourCC("SXLD"), fourCC("LATE"));
    const bool ok = writeWholeFile(kDocumentChannel, path.c_str(), bytes,
                                   static_cast<int32_t>(kSavedFormatBytes)) == platform::noErr;
    if (!ok) Message(kMsgFormatNotSaved);
    return ok ? 1 : 0;
}

int32_t loadSavedFormat(const std::string& path) {
    if (path.empty()) return 0;  // cancelled
    platform::FileRef ref = 0;
    if (platform::FSOpenRead(path, &ref) != platform::noErr) {
        Message(kMsgFormatUnread);
        return 0;
    }
    int32_t length = 0;
    platform::GetEOF(ref, &length);
    uint8_t bytes[kSavedFormatBytes];
    int32_t n = static_cast<int32_t>(kSavedFormatBytes);
    const bool read = length == static_cast<int32_t>(kSavedFormatBytes) &&
                      platform::FSRead(ref, &n, bytes) == platform::noErr;
    platform::FSClose(ref);
    if (!read) {
        Message(length == static_cast<int32_t>(kSavedFormatBytes) ? kMsgFormatUnread
                                                                  : kMsgFormatWrongSize);
        return 0;
    }
    labelBack2 = decodeLabelSheet(bytes, platform::ByteOrder::little);
    return 1;
}
