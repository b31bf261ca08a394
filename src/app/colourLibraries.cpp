#include "app/colourLibraries.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <iterator>
#include <string>
#include <string_view>

#include "labels/runs/itemOps.h"
#include "platform/questions.h"
#include "symbology/messages.h"
#include "symbology/state.h"

namespace {

constexpr uint16_t kMsgColourNotFound = 50;
constexpr uint16_t kMsgNoLibrary = 51;
constexpr int32_t kLineBytes = 256;
constexpr int32_t kMostLineChars = 254;
constexpr int kBlanksBeforeName = 4;
constexpr int32_t kGaugeScale = 10;  // positions shown in tens of bytes
constexpr int64_t kMostLibraryBytes = 64 * 1024 * 1024;
constexpr int32_t kPercent = 100;
constexpr char kCR = '\r', kLF = '\n';

struct Library {
    const char* file;
    const char* before;  // the full printed name: before + name + after
    const char* after;
};
constexpr Library kLibraries[kLastLibrary] = {
    {"Pantone2.lib", "PANTONE ", " C"},
    {"Pantone2.lib", "PANTONE ", " U"},
    {"Pantone Process2.lib", "PANTONE S1-", ""},
    {"Focoltone ID.lib", "Focoltone ", ""},
    {"Focoltone Swatch.lib", "", ""},
    {"TOYO88.lib", "TOYO88 CF", ""},
    {"TOYO91.lib", "TOYO91 PCF", ""},
    {"Trumatch.lib", "TRUMATCH ", ""},
    {"Pantone.lib", "PANTONE ", " CVC"},
    {"Pantone.lib", "PANTONE ", " CVU"},
};

bool isBlank(char c) { return c == ' ' || c == '\t'; }

// The four fractions a library line begins with, each within 0 to 1; false
// when the line does not begin with four numbers.
// The four fractions that begin a line; `rest`, when given, takes what follows them.
bool fourFractions(const char* line, double out[4], const char** rest = nullptr) {
    const char* p = line;
    const char* end = line + std::strlen(line);
    for (int i = 0; i < 4; ++i) {
        while (p < end && isBlank(*p)) ++p;
        if (p < end && *p == '+') ++p;
        const auto [next, ec] = std::from_chars(p, end, out[i]);
        if (ec != std::errc() || next == p || !std::isfinite(out[i])) return false;
        out[i] = std::clamp(out[i], 0.0, 1.0);
        p = next;
    }
    if (rest) *rest = p;
    return true;
}

// A colour's name on its line: what follows the numbers, without the blanks and
// line end around it.
std::string_view colourNameOf(const char* rest) {
    std::string_view v(rest);
    while (!v.empty() && (isBlank(v.front()) || v.front() == '\r' || v.front() == '\n'))
        v.remove_prefix(1);
    while (!v.empty() && (isBlank(v.back()) || v.back() == '\r' || v.back() == '\n'))
        v.remove_suffix(1);
    return v;
}

// A colour's printed name: the library's words once around the name. A name
// that already carries them (a line "TRUMATCH 18", or "PANTONE 300 C" typed
// whole) is not given them a second time.
std::string printedName(const Library& lib, std::string_view name) {
    const std::string_view before(lib.before), after(lib.after);
    std::string_view core = name;
    if (!before.empty() && core.size() > before.size() && core.starts_with(before))
        core.remove_prefix(before.size());
    if (!after.empty() && core.size() > after.size() && core.ends_with(after))
        core.remove_suffix(after.size());
    return std::string(before) + std::string(core) + std::string(after);
}

// A fraction as a whole percentage; the nudge keeps 0.29 from becoming 28.
int32_t percentOf(double fraction) { return int32_t(fraction * kPercent + 1e-9); }

}  // namespace

const char* reservedSpotName(std::string_view name) {
    // Compared exactly, as the interpreters compare them.
    if (name == "None")
        return "the spot colour name \"None\" is kept for a colour that paints nothing, so the "
               "symbol would not print: give the colour another name";
    if (name == "All")
        return "the spot colour name \"All\" is kept for a colour that paints every plate: give "
               "the colour another name";
    return nullptr;
}

const char* libraryFileName(int32_t library) {
    if (library < kFirstLibrary || library > kLastLibrary) return nullptr;
    return kLibraries[library - kFirstLibrary].file;
}

std::string findLibraryFile(int32_t library) {
    const char* file = libraryFileName(library);
    if (!file) return {};
    for (const std::string& folder : {platform::userDataFolder(), platform::programFolder()}) {
        if (folder.empty()) continue;
        const std::string path = folder + "/Colours/" + file;
        if (platform::pathKind(path) == platform::PathKind::file) return path;
    }
    return {};
}

int32_t GetToChar(unsigned char* out, const char* text, int32_t start, char stop) {
    int32_t i = std::max(start, 0);
    const int32_t len = int32_t(std::strlen(text));
    int32_t n = 0;
    while (i < len && n < kMostLineChars) {
        const char c = text[i];
        if (n > 0 && (c == stop || c == kCR || c == '>')) break;
        out[1 + n++] = static_cast<unsigned char>(c);
        ++i;
    }
    out[0] = static_cast<unsigned char>(n);
    out[1 + n] = 0;
    return i;
}

platform::OSErr LineInput2(platform::FileRef ref, char* buffer, int32_t* fourthBlank) {
    int32_t n = 0, blanks = 0;
    bool readAny = false;
    platform::OSErr err = platform::noErr;
    if (fourthBlank) *fourthBlank = -1;
    while (n < kMostLineChars) {
        char c = 0;
        int32_t count = 1;
        err = platform::FSRead(ref, &count, &c);
        if (err != platform::noErr || count != 1) break;
        readAny = true;
        if (c == kLF) break;
        if (c == kCR) {
            if (!fourthBlank) buffer[n++] = kCR;
            // A line feed after the carriage return belongs to the same end.
            int32_t pos = 0, next = 1;
            char after = 0;
            platform::GetFPos(ref, &pos);
            if (platform::FSRead(ref, &next, &after) == platform::noErr && next == 1 &&
                after != kLF)
                platform::SetFPos(ref, pos);
            break;
        }
        if (c == ' ' && ++blanks == kBlanksBeforeName && fourthBlank) *fourthBlank = n;
        buffer[n++] = c;
    }
    buffer[n] = 0;
    if (!readAny) return platform::eofErr;
    return platform::noErr;
}

int32_t SearchLibrary(int32_t library, int32_t* cyan, int32_t* magenta, int32_t* yellow,
                      int32_t* black, const char* name) {
    const std::string path = findLibraryFile(library);
    platform::FileRef ref = 0;
    if (path.empty() || platform::FSOpenRegular(path, kMostLibraryBytes, &ref) != platform::noErr) {
        Message(kMsgNoLibrary);
        return 0;
    }
    int32_t length = 0;
    platform::GetEOF(ref, &length);
    // A file shorter than the gauge's unit still has a whole bar to fill.
    const int32_t total = std::max(length / kGaugeScale, 1);
    platform::ShowGauge("Searching Database");
    char line[kLineBytes];
    double fractions[4] = {}, line4[4] = {};
    bool found = false;
    std::string spotName;
    const bool named = name && name[0] != 0;
    const Library& lib = kLibraries[library - kFirstLibrary];
    const std::string typed = named ? name : "";
    const std::string withPrefix = std::string(lib.before) + typed;
    const std::string full = withPrefix + lib.after;  // as the line may name the colour
    // The colour of that very name wins; else the first whose name holds the text
    // typed (never its numbers), as a short name finds a longer one.
    bool exact = false;
    while (named && !exact && LineInput2(ref, line, nullptr) == platform::noErr) {
        int32_t pos = 0;
        platform::GetFPos(ref, &pos);
        platform::SetGauge(std::min(pos / kGaugeScale, total), total);
        const char* rest = nullptr;
        if (!fourFractions(line, line4, &rest)) continue;
        const std::string_view colour = colourNameOf(rest);
        exact = colour == typed || colour == withPrefix || colour == full;
        if (exact || (!found && colour.find(typed) != std::string_view::npos)) {
            std::copy(std::begin(line4), std::end(line4), fractions);
            found = true;
            // The colour of that very name is named as its line names it; one
            // found by part of its name, as typed.
            spotName = printedName(lib, exact ? colour : std::string_view(typed));
        }
    }
    platform::KillGauge();
    platform::FSClose(ref);
    if (!found) {
        Message(kMsgColourNotFound);
        return 0;
    }
    *cyan = percentOf(fractions[0]);
    *magenta = percentOf(fractions[1]);
    *yellow = percentOf(fractions[2]);
    *black = percentOf(fractions[3]);
    setColourItems(1);
    const size_t n = std::min<size_t>(spotName.size(), sizeof(Str255) - 1);
    gSym.customCol[0] = static_cast<unsigned char>(n);
    std::memcpy(gSym.customCol + 1, spotName.data(), n);
    gSym.customColour = 1;
    return 1;
}
