#include "automation/cli.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <istream>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "automation/options.h"
#include "labels/labelDoc.h"
#include "picture/SetUpFiles.h"
#include "picture/symbolbox.h"
#include "platform/macroman.h"
#include "platform/numbers.h"
#include "symbology/appBits.h"
#include "symbology/info.h"
#include "symbology/messages.h"
#include "symbology/state.h"
#include "vector/Epsout.h"

namespace {

constexpr int kToolVectorFile = 2;

struct Dialect {
    const char* name;
    int32_t ill;
    int32_t purePost;  // -1: as --post or the file's extension says
    const char* what;
};

constexpr Dialect kDialects[] = {
    {"ai1", kIll11, -1, "Illustrator 1.1 EPS"},
    {"ai88", kIll88, -1, "Illustrator 88 EPS"},
    {"ai3", kIll3, -1, "Illustrator 3 EPS (the .eps default)"},
    {"ai5", kIll5, -1, "Illustrator 5 EPS"},
    {"press", kIllPress, -1, "Illustrator 5 for the digital press"},
    {"type3", kIllType3, -1, "Type 3 font"},
    {"pdf", kIllPdf, 0, "PDF 1.4 (the .pdf default)"},
    {"ps", kIll5, 1, "plain PostScript (the .ps default)"},
    {"ps-job", kIll5, 2, "PostScript in a printer job wrapper"},
};

struct PostKind {
    const char* name;
    int32_t purePost;
};
constexpr PostKind kPostKinds[] = {{"eps", 0}, {"ps", 1}, {"job", 2}};

constexpr const char* kKeys[] = {"type", "data",   "options", "size",     "height",
                                 "bwr",  "colour", "color",   "spotname", "saveto"};

bool knownKey(std::string_view key) {
    for (const char* k : kKeys)
        if (key == k) return true;
    return false;
}

struct Choice {
    int32_t ill = -1;  // -1: from the file's extension
    int32_t purePost = -1;
};

bool endsWith(const std::string& s, const char* tail) {
    const size_t n = std::strlen(tail);
    if (s.size() < n) return false;
    for (size_t i = 0; i < n; ++i) {
        char a = s[s.size() - n + i];
        if (a >= 'A' && a <= 'Z') a = static_cast<char>(a + 32);
        if (a != tail[i]) return false;
    }
    return true;
}

// The dialect of one file: the flags, else the extension.
void chooseOutput(const Choice& choice, const std::string& path) {
    int32_t ill = kIll3;
    int32_t post = 0;
    if (endsWith(path, ".pdf")) ill = kIllPdf;
    if (endsWith(path, ".ps")) ill = kIll5, post = 1;
    if (choice.ill >= 0) ill = choice.ill;
    if (choice.purePost >= 0) post = choice.purePost;
    gOut.tool = kToolVectorFile;
    gOut.ill = ill;
    gOut.purePost = post;
}

void printHelp(std::ostream& out) {
    out << "usage: strixel [--dialect=NAME] [--post=eps|ps|job] [RECORD...]\n"
           "\n"
           "Makes one symbol file per script record. Records come from the arguments, or\n"
           "one a line from standard input. A record is key and quoted-value pairs between\n"
           "braces, for example:\n"
           "  {type:\"EAN 13\", data:\"400638133393\", saveto:\"ean13.eps\"}\n"
           "\n"
           "Keys:\n"
           "  type      the code type (names below)\n"
           "  data      the data, as typed into the data field\n"
           "  options   the add-on digits, or the options text of a 2-D code type\n"
           "            (DataMatrix size such as \"24X24\", QR level and version such as \"Q4\")\n"
           "  size      magnification in percent\n"
           "  height    bar height in millimetres\n"
           "  bwr       bar-width reduction in micrometres\n"
           "  colour    cyan magenta yellow black in percent, e.g. \"0 0 0 100\"\n"
           "  spotname  the name of a spot colour\n"
           "  saveto    the output file; .eps, .ps or .pdf picks the kind\n"
           "\n"
           "Dialects (--dialect):\n";
    for (const Dialect& d : kDialects)
        out << "  " << d.name << std::string(8 - std::strlen(d.name), ' ') << d.what << "\n";
    out << "--post: eps (0, encapsulated), ps (1, plain PostScript), job (2, in a printer job "
           "wrapper)\n"
           "\nCode types:\n";
    out << "  Code 128, EAN 128, Code 39, Code 39 NC, Code 39 Full Ascii, Telepen, EAN 8, UPC A,\n"
           "  ISSN -OCRB, ISBN -OCRB, ISMN, EAN 13, Codabar, Code 93, Code 11, ITF, MSI, PLESSEY,\n"
           "  2 OF 5, and every display name:\n";
    std::vector<std::string> names;
    const SymbolSettings keep = gSym;
    for (int32_t c = 0; c <= kLastFamily; ++c)
        for (int32_t v : kVariantsTried) {
            const char* n = codeTypeName(c, v);
            if (!n) continue;
            if (std::find(names.begin(), names.end(), n) == names.end()) names.emplace_back(n);
        }
    gSym = keep;
    size_t column = 1;
    out << " ";
    for (const std::string& n : names) {
        if (column + n.size() + 3 > 80) {
            out << "\n ";
            column = 1;
        }
        out << " \"" << n << '"';
        column += n.size() + 3;
    }
    out << "\n";
}

// The numbers a record may give: what the label item can carry.
struct NumberRange {
    const char* key;
    double least;
    double most;
    bool zeroAllowed;
    const char* unit;
};
constexpr NumberRange kRanges[] = {
    {"size", kSmallestSize, kLargestSize, false, "percent"},
    {"height", kLowestHeight, kTallestHeight, true, "millimetres (0 for the type's own height)"},
    {"bwr", 0, kMostReduction, true, "micrometres"},
};

// A colour is four whole percentages: cyan, magenta, yellow and black.
bool colourWellFormed(const std::string& value) {
    if (value.find_first_not_of("0123456789 ") != std::string::npos) return false;
    std::istringstream in(value);
    int part = 0, parts = 0;
    while (in >> part)
        if (part > 100 || ++parts > 4) return false;
    return parts == 4;
}

std::string numberOutOfRange(const std::string& key, const std::string& value) {
    if ((key == "colour" || key == "color") && !colourWellFormed(value))
        return "the " + key +
               " must be four whole numbers from 0 to 100 (cyan magenta yellow black)";
    for (const NumberRange& r : kRanges) {
        if (key != r.key) continue;
        char* end = nullptr;
        const double v = std::strtod(value.c_str(), &end);
        const bool number = !value.empty() && end && *end == 0 && std::isfinite(v);
        if (number && ((v >= r.least && v <= r.most) || (r.zeroAllowed && v == 0))) return {};
        std::ostringstream why;
        why << "the " << key << " must be a number from " << r.least << " to " << r.most << " "
            << r.unit;
        return why.str();
    }
    return {};
}

// The buffers a value fills, with their terminating NUL: longer values are refused whole.
struct Limit {
    const char* key;
    size_t size;
    const char* what;
};
constexpr Limit kLimits[] = {
    {"data", kMainCodeSize, "the data is"},
    {"options", kAddCodeSize, "the options are"},
    {"spotname", sizeof SymbolSettings::customCol, "the spot colour name is"},
    {"saveto", sizeof OutputSettings::globFolS, "the file name (saveto) is"},
};

std::string tooLong(const std::string& key, const std::string& value) {
    for (const Limit& l : kLimits)
        if (key == l.key && value.size() >= l.size)
            return std::string(l.what) + " longer than " + std::to_string(l.size - 1) + " bytes";
    return {};
}

// A value holding ", key:\"" of a known key has taken in the pairs after it: its
// closing quote is missing.
const char* swallowedKey(std::string_view value) {
    for (const char* k : kKeys) {
        const std::string mark = std::string(k) + ":\"";
        for (size_t at = value.find(mark); at != std::string_view::npos;
             at = value.find(mark, at + 1)) {
            const size_t before =
                at == 0 ? std::string_view::npos : value.find_last_not_of(' ', at - 1);
            if (before != std::string_view::npos && value[before] == ',') return k;
        }
    }
    return nullptr;
}

// Why the value's character at `at` has no Mac OS Roman form: shown as it is when
// it is UTF-8, else as the bytes that are not.
std::string notMacRoman(const std::string& key, const std::string& value, size_t at) {
    const unsigned char lead = static_cast<unsigned char>(value[at]);
    const size_t want = lead >= 0xF5   ? 0
                        : lead >= 0xF0 ? 4
                        : lead >= 0xE0 ? 3
                        : lead >= 0xC2 ? 2
                                       : 0;
    size_t n = 1;
    while (at + n < value.size() && (static_cast<unsigned char>(value[at + n]) & 0xC0) == 0x80) ++n;
    if (n == want)
        return "the " + key + " holds \"" + value.substr(at, n) +
               "\", which has no Mac OS Roman form";
    std::string bytes;
    for (size_t i = 0; i < n; ++i)
        bytes += platform::formatC(" \\x%02X", static_cast<unsigned char>(value[at + i]));
    return "the " + key + " holds bytes that are not UTF-8:" + bytes;
}

// One record: returns an empty string when its file was made, else the reason.
std::string runRecord(const std::string& record, const Choice& choice) {
    resetWorld();
    initLabelItems();
    gMsg.quiet = true;

    std::vector<std::pair<std::string, std::string>> pairs;
    std::string error;
    if (!forEachScriptPair(
            record.c_str(),
            [&pairs](std::string_view k, std::string_view v) { pairs.emplace_back(k, v); }, &error))
        return "the record is not well formed: " + error;

    std::string saveto, type;
    for (auto& [key, value] : pairs) {
        if (!knownKey(key)) return "unknown key \"" + key + "\"";
        if (const char* lost = swallowedKey(value))
            return "the " + key + " runs on into the " + lost +
                   " key: is its closing quote missing?";
        // The program works in Mac OS Roman; the command line speaks UTF-8. The
        // file name stays as it is given.
        std::string roman;
        size_t bad = 0;
        if (key == "saveto")
            saveto = value;
        else if (!platform::utf8ToMacRoman(value, &roman, &bad))
            return notMacRoman(key, value, bad);
        else
            value = roman;
        if (key == "type") type = value;
        std::string range = tooLong(key, value);
        if (range.empty()) range = numberOutOfRange(key, value);
        if (!range.empty()) return range;
    }
    if (type.empty()) return "the record names no type";
    if (saveto.empty()) return "the record names no file (saveto)";
    // The type first: it applies the type's defaults, which the other keys then change.
    if (!parseCodeType(type.c_str()))
        return "unknown type \"" + platform::macRomanToUtf8(type) + "\"";
    for (auto& [key, value] : pairs)
        if (key != "type" && key != "saveto") applyScriptPair(key, value);
    if (gData.len1 == 0) return "the record has no data";

    chooseOutput(choice, saveto);
    // The single barcode item of a plain symbol carries the settings to the writer,
    // sized to its symbol. The data is checked before a file is made: a refused
    // symbol leaves nothing behind.
    gMsg.shown = 0;
    if (!addSingleSymbolItem())
        return gMsg.shown ? platform::macRomanToUtf8(gMsg.last) : "the data cannot be encoded";
    copyBounded(gOut.globFolS, saveto.c_str());
    gOut.fileDia = 4;
    gMsg.shown = 0;
    if (SetUpFiles(0) != 1)
        return gMsg.shown ? platform::macRomanToUtf8(gMsg.last) : "the file could not be written";
    return {};
}

}  // namespace

int runCommandLine(int argc, const char* const* argv, std::istream& in, std::ostream& out,
                   std::ostream& err) {
    Choice choice;
    std::vector<std::string> records;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--help" || a == "-h") {
            printHelp(out);
            return 0;
        }
        if (a.rfind("--dialect=", 0) == 0) {
            const std::string name = a.substr(10);
            bool found = false;
            for (const Dialect& d : kDialects)
                if (name == d.name) {
                    choice.ill = d.ill;
                    if (d.purePost >= 0) choice.purePost = d.purePost;
                    found = true;
                }
            if (!found) {
                err << "strixel: unknown dialect \"" << name << "\" (see --help)\n";
                return 2;
            }
            continue;
        }
        if (a.rfind("--post=", 0) == 0) {
            const std::string name = a.substr(7);
            bool found = false;
            for (const PostKind& p : kPostKinds)
                if (name == p.name) choice.purePost = p.purePost, found = true;
            if (!found) {
                err << "strixel: unknown --post \"" << name << "\" (eps, ps or job)\n";
                return 2;
            }
            continue;
        }
        if (a.rfind("--", 0) == 0) {
            err << "strixel: unknown option " << a << " (see --help)\n";
            return 2;
        }
        records.push_back(a);
    }
    const bool fromInput = records.empty();
    int failures = 0;
    int number = 0;
    std::string line;
    for (size_t i = 0;; ++i) {
        if (fromInput) {
            if (!std::getline(in, line)) break;
            if (!line.empty() && line.back() == '\r') line.pop_back();
            if (line.find_first_not_of(" \t") == std::string::npos) continue;
        } else {
            if (i >= records.size()) break;
            line = records[i];
        }
        ++number;
        const std::string why = runRecord(line, choice);
        if (!why.empty()) {
            ++failures;
            err << "strixel: record " << number << ": " << why << "\n";
        }
    }
    if (number == 0) {
        err << "strixel: no record given (see --help)\n";
        return 2;
    }
    return failures == 0 ? 0 : 1;
}
