#include "app/world.h"
#include "automation/cli.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <sstream>
#include <istream>
#include <optional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "app/colourLibraries.h"
#include "automation/importrun.h"
#include "automation/options.h"
#include "automation/outputchoice.h"
#include "labels/labelDoc.h"
#include "labels/importfile.h"
#include "labels/itemFields.h"
#include "labels/labelFile.h"
#include "labels/printDefaults.h"
#include "labels/runs/printLabels.h"
#include "labels/runs/printWindow.h"
#include "labels/production.h"
#include "QRCode/QREncode.h"
#include "picture/output/SetUpFiles.h"
#include "picture/output/outer2.h"
#include "picture/PICout2.h"
#include "picture/driverdata.h"
#include "picture/outputstate.h"
#include "picture/placedPictures.h"
#include "picture/symbolbox.h"
#include "picture/symbolpicture.h"
#include "platform/files.h"
#include "platform/macroman.h"
#include "platform/numbers.h"
#include "platform/printing/printing.h"
#include "platform/tempfiles.h"
#include "symbology/appBits.h"
#include "symbology/encoders.h"
#include "symbology/info.h"
#include "symbology/messages.h"
#include "symbology/scriptValues.h"
#include "symbology/state.h"
#include "vector/Epsout.h"
#include "vector/page.h"
#include "vector/press.h"

namespace {

using Pairs = std::vector<std::pair<std::string, std::string>>;

// Records are being read from standard input, so an import cannot read it too.
bool gRecordsFromInput = false;

constexpr const char* kKeys[] = {"type",   "data",       "options",  "size",   "height", "bwr",
                                 "colour", "color",      "spotname", "saveto", "import", "printer",
                                 "number", "continuous", "stripper", "cutter", "answer"};
// The keys of a print request; the ones after "printer" need it.
constexpr const char* kPrintKeys[] = {"printer",  "number", "continuous",
                                      "stripper", "cutter", "answer"};

bool printKey(std::string_view key) {
    for (const char* k : kPrintKeys)
        if (key == k) return true;
    return false;
}

bool knownKey(std::string_view key) {
    for (const char* k : kKeys)
        if (key == k) return true;
    return false;
}

void printNames(std::ostream& out, const std::vector<std::string>& names) {
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

void printCodeTypes(std::ostream& out) {
    out << "\nCode types that can be made (script names and display names, in any case):\n";
    printNames(out, codeTypeNames());
}

void printHelp(std::ostream& out) {
    out << "usage: strixel [--kind NAME] [--dialect NAME] [--post NAME] [--open FILE]\n"
           "               [RECORD | -]...\n"
           "\n"
           "Makes one symbol file per script record. Records come from the arguments; a lone\n"
           "\"-\" reads them from standard input, one a line (two or more on a line are\n"
           "made in turn), and so does a run given no record. A record is key and\n"
           "quoted-value pairs between braces, for example:\n"
           "  {type:\"EAN 13\", data:\"400638133393\", saveto:\"ean13.eps\"}\n"
           "A value ends at the double quote that a comma and the next key, or the closing\n"
           "brace, follow; any other double quote in a value is typed as it is:\n"
           "  {type:\"QRCode\", data:\"say \"hi\", then go\", saveto:\"hi.eps\"}\n"
           "Blanks, tabs and line breaks may stand between the pairs. A key may be given\n"
           "once in a record.\n"
           "\n"
           "--open FILE reads FILE before each record. A label document is written as\n"
           "its label, in EPS, PostScript or PDF, by a record that gives saveto alone:\n"
           "  strixel --open sheet.labl '{saveto:\"sheet.pdf\"}'\n"
           "An EPS file made by this program gives back the settings it was made with\n"
           "(through its %%Options: line); the record's keys then change them, and its\n"
           "type may be left out.\n"
           "With --dialect press an opened label document is exported for the digital\n"
           "press instead: beside saveto, NAME.jb (the job), NAME_F1_N.pg (a page file for\n"
           "each label position N), NAME.ps (the label without the items whose data\n"
           "varies) and NAME_va_N_I.ps (item I alone at position N, for each text or\n"
           "barcode item whose data varies), NAME being saveto's file name without its\n"
           "extension and with blanks as \"_\". The press's name fields hold no longer\n"
           "names: a NAME too long for them is refused. The press files are EPS: a .ps\n"
           "saveto or a PostScript --post is refused. A serial item that reaches its end\n"
           "value before the sheet's last position refuses the export: every label takes\n"
           "a number of its own.\n"
           "\n"
           "A record with printer prints instead of (or as well as) writing saveto: an\n"
           "opened label document on sheets of its labels, or the symbol once a page:\n"
           "  strixel --open sheet.labl '{printer:\"sheet.pdf\", number:\"30\"}'\n"
           "printer names a file (.pdf or .ps) or a queue of the printing system; the\n"
           "sheets start at the first cell, in the fill order, cut marks and other switches\n"
           "kept in Print.def of the preferences folder, and pages follow as the labels\n"
           "need them.\n"
           "\n"
           "Keys:\n"
           "  type      the code type (names below)\n"
           "  data      the data, as typed into the data field\n"
           "  options   the add-on digits, or the options text of a 2-D code type\n"
           "            (DataMatrix size such as \"24X24\", QR level and version such as \"Q4\",\n"
           "            segments per row of the stacked \"Databar\" and \"Databar Coupon\",\n"
           "            2 to 20, even)\n"
           "            or a setting of Code 39, ITF, Telepen, Laetus or Sick; a type\n"
           "            that takes none refuses them\n"
           "  size      magnification in percent\n"
           "  height    bar height in millimetres: above 2 (lower bars are not drawn;\n"
           "            only the text kinds take such a height), or 0 for the type's own\n"
           "            at the size, as when it is left out\n"
           "  bwr       bar-width reduction in whole micrometres, less than the narrowest\n"
           "            bar at the size\n"
           "  colour    cyan magenta yellow black in percent, e.g. \"0 0 0 100\" (or color)\n"
           "  spotname  the name of a spot colour\n"
           "  saveto    the output file; its extension picks the kind (below)\n"
           "  import    \"FILE|START|TITLE|COUNT\": one symbol per record of the import\n"
           "            file FILE (comma-separated, quotes dropped), from record START\n"
           "            (default 1), COUNT records (default all; blank lines are no\n"
           "            records); each file is named after field TITLE (1 to 19), or\n"
           "            after its data when TITLE is 0 (the default). The data is then\n"
           "            the template: <<n>> is field n, in decimal from 1 to 19 (a record\n"
           "            gives at most 19 fields) (default \"<<1>>\"); what follows a '|'\n"
           "            of the template builds the add-on or options (a '|' in a field\n"
           "            is data). A record that cannot be made is named by its number\n"
           "            and line in FILE; the others are still made. saveto names a\n"
           "            folder (ending in /) for a file a record, or the file of\n"
           "            --kind=text-line's lines. The files end in the kind's extension\n"
           "            in capitals (.EPS, PostScript too, .PDF, .PIC, .TXT, .TIF, .BMP;\n"
           "            pdf-from-eps .pdf). A record whose file name an earlier record\n"
           "            of the run took gets a numbered one (NAME-2.EPS, NAME-3.EPS ...).\n"
           "            FILE \"-\" (or /dev/stdin) reads the records from standard\n"
           "            input; a run makes at most 100000 files\n"
           "  printer   prints: a .pdf or .ps file, or a printer queue's name\n"
           "  number    labels to print (0 or none: the whole first sheet)\n"
           "  continuous, stripper, cutter\n"
           "            0 or 1: the thermal printer's settings (kept in Therm.def; no\n"
           "            thermal printer back end is built in)\n"
           "  answer    the answer to the questions an opened label document asks when\n"
           "            it is printed: every item whose data is typed at printing takes it\n"
           "            (a document with such items is printed only with an answer)\n"
           "\n"
           "Escapes in the data:\n"
           "  \\n \\t \\r      line feed, tab, carriage return (Code 128)\n"
           "  \\dNNN         the byte NNN, three digits from 001 to 127 (Code 128); above\n"
           "                127 only the Mac OS Roman codes of the characters below that\n"
           "                stand for no letter, as those characters (\\d196, \u0192, is FNC1)\n"
           "  \\1 \\2 \\3 \\4   FNC1, FNC2, FNC3, FNC4 (Code 128)\n"
           "  \\1            FNC1 (Datamatrix, EAN Datamatrix)\n"
           "In Code 128 data (and import records) these characters stand for no letter:\n"
           "\u0192 and \u2044 FNC1, \u00a9 and \u20ac FNC2, \u02d9 and \u2039 FNC3, "
           "\u2206 FNC4; \u00e5 and \u203a switch to code set\n"
           "A, \u222b to code set B, \u00e7 to code set C; \u00cd is a shift, "
           "\u00ce the value 95 (DEL, or US in\n"
           "code set A). \"PRICE 5\u20ac\" encodes PRICE 5 and FNC2.\n"
           "In Datamatrix and EAN Datamatrix every backslash begins an escape: \\\\ a\n"
           "backslash, \\@ and \\A to \\Z the bytes 0 to 26, \\dNNN a byte (above 255: 255),\n"
           "\\2 structured append (three characters follow), \\3 reader programming,\n"
           "\\5 and \\6 the 05 and 06 macros, \\7NNNNNN an ECI; before any other\n"
           "character the backslash is dropped.\n"
           "PDF417 data that begins with * holds a Macro PDF417 header up to the next *\n"
           "(*L... for the last segment); the data encoded follows it.\n"
           "\n";
    printOutputKinds(out);
    out << "\n"
           "Exit status: 0 every record made its file; 1 some record failed (each failure\n"
           "names its record: its line of standard input, or its place among the record\n"
           "arguments); 2 the command line itself is wrong (nothing is made).\n";
    printCodeTypes(out);
}

// The numbers a record may give: what the label item can carry.
constexpr double kMostPrintedLabels = 100000;
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
    {"number", 0, kMostPrintedLabels, true, "labels"},
    {"continuous", 0, 1, true, "(0 or 1)"},
    {"stripper", 0, 1, true, "(0 or 1)"},
    {"cutter", 0, 1, true, "(0 or 1)"},
};
// Whole numbers only.
constexpr const char* kWholeKeys[] = {"bwr", "number", "continuous", "stripper", "cutter"};

// A number as the settings read it: blanks, a minus sign and digits; unless
// whole, a decimal point and an exponent too. A hexadecimal number, or an
// exponent in a whole number, which a looser reading would take for another
// value than the settings get, is no number here.
bool plainDecimal(std::string_view value, bool whole) {
    size_t i = value.find_first_not_of(' ');
    if (i == std::string_view::npos) return false;
    if (value[i] == '-') ++i;
    bool digits = false, point = false;
    for (; i < value.size(); ++i) {
        const char c = value[i];
        if (c >= '0' && c <= '9') {
            digits = true;
        } else if (c == '.' && !point && !whole) {
            point = true;
        } else if ((c == 'e' || c == 'E') && digits && !whole) {
            size_t k = i + 1;
            if (k < value.size() && (value[k] == '-' || value[k] == '+')) ++k;
            return k < value.size() &&
                   value.find_first_not_of("0123456789", k) == std::string_view::npos;
        } else {
            return false;
        }
    }
    return digits;
}

// A colour is four whole percentages: cyan, magenta, yellow and black.
bool colourWellFormed(const std::string& value) {
    if (value.find_first_not_of("0123456789 ") != std::string::npos) return false;
    std::istringstream in(value);
    int part = 0, parts = 0;
    while (in >> part)
        if (part > 100 || ++parts > 4) return false;
    return parts == 4;
}

std::string numberOutOfRange(std::string_view key, const std::string& value) {
    if ((key == "colour" || key == "color") && !colourWellFormed(value))
        return "the " + std::string(key) +
               " must be four whole numbers from 0 to 100 (cyan magenta yellow black)";
    for (const NumberRange& r : kRanges) {
        if (key != r.key) continue;
        bool whole = false;
        for (const char* k : kWholeKeys) whole = whole || key == k;
        const bool number = plainDecimal(value, whole);
        const double v = number ? std::strtod(value.c_str(), nullptr) : 0;
        if (number && ((v >= r.least && v <= r.most) || (r.zeroAllowed && v == 0))) return {};
        std::ostringstream why;
        why << "the " << key << " must be a number from " << r.least << " to " << r.most << " "
            << r.unit;
        return why.str();
    }
    return {};
}

// A height out of range, refused with the lowest height this record's symbol
// takes: bars are drawn only above the bar-font height, so only the bar-font
// text kinds, and the types drawn at any height, take a lower one.
std::string heightOutOfRange(bool lowBarsTaken) {
    std::ostringstream why;
    why << "the height must be a number ";
    if (lowBarsTaken)
        why << "from " << kLowestHeight;
    else
        why << "above " << kBarFontMaxHeight << " and up";
    why << " to " << kTallestHeight << " millimetres (0 for the type's own height)";
    return why.str();
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
    {"printer", sizeof OutputSettings::globFolS, "the printer's name is"},
    {"answer", kRunTextSize, "the answer is"},
};

std::string tooLong(std::string_view key, const std::string& value) {
    for (const Limit& l : kLimits)
        if (key == l.key && value.size() >= l.size)
            return std::string(l.what) + " longer than " + std::to_string(l.size - 1) + " bytes";
    return {};
}

// The symbol's item keeps the spot colour name in one field with the font name:
// a name that does not fit beside it would be cut where the bars are painted
// while the file's header names it whole.
std::string spotNameRoomFault() {
    if (gSym.customColour != 1) return {};
    const size_t room = spotNameRoom(pascalBytes(gSym.fontAbove));
    if (gSym.customCol[0] <= room) return {};
    const std::string font(reinterpret_cast<const char*>(gSym.fontAbove + 1), gSym.fontAbove[0]);
    return "the spot colour name is longer than " + std::to_string(room) +
           " bytes, all that the symbol keeps beside its font name \"" +
           platform::macRomanToUtf8(font) + "\"";
}

// A spot colour's name is the plate the symbol prints on: a control character
// (a tab, a line end) makes no ink's name, and the options line cannot keep it.
std::string spotNameFault(std::string_view name) {
    constexpr unsigned char kLastControl = 31, kDelete = 127;
    for (const char c : name) {
        const auto b = static_cast<unsigned char>(c);
        if (b <= kLastControl || b == kDelete)
            return "the spot colour name holds a control character (such as a tab or a line "
                   "end): give the ink's name as printed";
    }
    if (const char* reserved = reservedSpotName(name)) return reserved;
    return {};
}

// A value holding a comma and then a known key's `key:"` (white space allowed
// about them) has taken in the pairs after it: its closing quote is missing.
const char* swallowedKey(std::string_view value) {
    if (value.find(':') == std::string_view::npos) return nullptr;  // the common case
    for (size_t at = value.find(','); at != std::string_view::npos; at = value.find(',', at + 1)) {
        const std::string_view key = scriptPairKeyAt(value, at + 1);
        for (const char* k : kKeys)
            if (key == k) return k;
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

// The kinds that hold one symbol and no label, by what their files are called.
const char* singleSymbolKind(int32_t tool) {
    switch (tool) {
        case kOutPicture:
            return "picture (PICT)";
        case kOutBarFontText:
            return "bar-font text";
        case kOutPcEps:
            return "PC EPS";
        case kOutTiff:
            return "TIFF";
        case kOutBmp72:
        case kOutBmp300:
            return "bitmap (BMP)";
        case kOutTextLine:
            return "text-line";
        default:
            return nullptr;
    }
}

// The reason shown last, or `otherwise` when nothing was shown.
std::string shownOr(const char* otherwise) { return gMsg.shown ? lastMessageUtf8() : otherwise; }

// The label's import items take the first record of the document's import
// file, as the desktop's preview shows them; the reason when there is none.
// *at becomes where that record is, for the label's faults ("label 1 (import
// file line 2)"); it stays empty without import items.
std::string takeFirstImportRecord(std::string* at) {
    if (!labelHasImportItem()) return {};
    if (gDocFile.impoFile.empty())
        return "the label's import items take their data from an import file, and the document "
               "names none";
    std::vector<ImportedRecord> records;
    gMsg.shown = 0;
    if (!readDocumentImportRecords(1, &records)) return shownOr("the import file cannot be read");
    if (records.empty()) return "the import file holds no record for the label's import items";
    std::memcpy(gProd.importItems, records.front().fields, sizeof(ImportRecord));
    qrencode::gQROrigin.foreignBytes = records.front().foreign;
    *at = "label 1 (import file line " + std::to_string(records.front().line) + ")";
    bool built = true;
    for (int32_t i = 0; i <= labelBack.lastItem && i < kMaxLabelItems; ++i)
        built = buildImportItem(i) && built;
    // A record the items cannot take whole (reported) would give a label without
    // its symbol or with cut data.
    if (!built || gMsg.shown != 0) return *at + ": " + shownOr("the import record cannot be used");
    return {};
}

// The label is made in memory before its file: an item that cannot be made has
// been reported, and the label would go out without it.
std::string labelItemFault() {
    gMsg.shown = 0;
    const platform::FileRef ref = platform::FSOpenMemory();
    const int32_t result = EPSout(ref, 0);
    platform::FSClose(ref);
    if (result == 0 && gMsg.shown == 0) return {};
    return shownOr("the label cannot be written");
}

// The label of an opened document, written as one label.
std::string writeOpenedLabel(const OutputChoice& choice, const std::string& saveto) {
    const std::string fault = outputKindFault(choice, saveto);
    if (!fault.empty()) return fault;
    applyOutputChoice(choice, saveto);
    // Refused before anything is written: a file of these kinds would hold no
    // label, or a label with items missing.
    if (const char* kind = singleSymbolKind(gOut.tool))
        return std::string(
                   "a label document is written as EPS, PostScript or PDF (.eps, .ps "
                   "or .pdf); ") +
               kind + " files hold a single symbol";
    if (const std::string missing = itemsWithoutVectorForm(); !missing.empty()) return missing;
    gMsg.shown = 0;
    if (gOut.purePost == 0 && gOut.ill == kIllPress) {
        // The sheet goes to the digital press: its files beside saveto, named
        // after it without its extension.
        const size_t slash = saveto.rfind('/');
        gPress.folder = slash == std::string::npos ? "" : saveto.substr(0, slash + 1);
        // The export drops the extension itself: "lot.7.eps" is the job "lot.7".
        const std::string job = saveto.substr(slash == std::string::npos ? 0 : slash + 1);
        // An earlier job's files it replaces must not be what the command reads.
        for (const std::string& path : pressJobFilesPresent(job))
            if (!outputSparesReadFiles(path)) return lastMessageUtf8();
        if (pressExport(job) == 0) return {};
        const std::string said = shownOr("the press export could not be written");
        return gPress.faultAt.empty() ? said : gPress.faultAt + ": " + said;
    }
    std::string at;
    if (std::string why = takeFirstImportRecord(&at); !why.empty()) return why;
    if (std::string why = labelItemFault(); !why.empty()) return at.empty() ? why : at + ": " + why;
    copyBounded(gOut.globFolS, saveto.c_str());
    gOut.fileDia = 4;
    gMsg.shown = 0;
    if (SetUpFiles(0) != 1) return shownOr("the file could not be written");
    return {};
}

// One record: returns an empty string when its file was made, else the reason.
// "colour" and "color" are one key.
std::string keyOf(const std::string& key) { return key == "color" ? "colour" : key; }

// The file --open names, read afresh for every record: a label document, or the
// settings of an EPS file through its options line.
struct OpenedFile {
    std::string path;
    bool eps = false;
};

}  // namespace

bool looksLikeEps(const std::string& path) {
    platform::FileRef ref = 0;
    if (platform::FSOpenRegular(path, kMostDocumentBytes, &ref) != platform::noErr) return false;
    unsigned char head[4] = {};
    int32_t n = 4;
    platform::FSRead(ref, &n, head);
    platform::FSClose(ref);
    const bool dosEps = head[0] == 0xC5 && head[1] == 0xD0 && head[2] == 0xD3 && head[3] == 0xC6;
    return n == 4 && ((head[0] == '%' && head[1] == '!') || dosEps);
}

namespace {

// The keys an options line holds.
constexpr const char* kLineKeys[] = {"type",    "size",   "height", "bwr",     "data",
                                     "options", "colour", "color",  "spotname"};

// An options line held to the checks of a record: a line edited by hand, or
// damaged, is refused rather than taken in part.
std::string lineFault(const Pairs& line) {
    std::vector<std::string> seen;
    bool typed = false;
    for (const auto& [key, value] : line) {
        if (std::find(std::begin(kLineKeys), std::end(kLineKeys), key) == std::end(kLineKeys))
            return "holds the key \"" + platform::macRomanToUtf8(key) +
                   "\", which the options line does not keep";
        if (std::find(seen.begin(), seen.end(), keyOf(key)) != seen.end())
            return "gives the key \"" + key + "\" twice";
        seen.push_back(keyOf(key));
        std::string why = tooLong(key, value);
        if (why.empty() && key == "spotname") why = spotNameFault(value);
        if (!why.empty()) return "cannot be used: " + why;
        if (key == "type") {
            if (!isCodeTypeName(value.c_str()))
                return "names the unknown type \"" + platform::macRomanToUtf8(value) + "\"";
            typed = true;
        }
    }
    // The desktop writes no type for a symbol that no type name makes again.
    return typed ? std::string()
                 : "names no type: its symbol is of a kind the command line cannot make, so "
                   "the file cannot be opened here";
}

// Loads the opened file into the fresh world; the reason when it cannot be. The
// pairs of an EPS file's options line go to *line, to be applied with the record.
std::string loadOpened(const OpenedFile& opened, Pairs* line) {
    gDocFile.globFilS = opened.path;
    line->clear();
    if (opened.eps) {
        const std::string record = epsOptionsRecordAt(opened.path);
        if (record.empty())
            return "the EPS file " + opened.path + " holds no options line to take settings from";
        // A label file's line names no type: its symbols are the document's.
        if (record.rfind("{type:\"\"", 0) == 0)
            return "the EPS file " + opened.path +
                   " is a label written from a label document and holds no symbol's settings: "
                   "open the label document instead";
        std::string why;
        const bool formed = forEachScriptPair(
            record.c_str(),
            [line](std::string_view k, std::string_view v) { line->emplace_back(k, v); }, &why);
        if (formed)
            why = lineFault(*line);
        else
            why = "is not well formed: " + why;
        if (!why.empty()) return "the options line of the EPS file " + opened.path + " " + why;
        return {};
    }
    gMsg.shown = 0;
    if (loadObjects(0) != 1)
        return gMsg.shown ? lastMessageUtf8()
                          : "the label document " + opened.path + " could not be read";
    if (!labelLayoutOpen() || labelBack.lastItem < 0)
        return "the label document " + opened.path + " holds no label to write";
    // Refused before any file: a label must not go out without its picture.
    if (const std::string why = unreadablePicture(); !why.empty()) return why;
    return {};
}

// The text file that kind 7 appends to across the records of one command line:
// its new version stays open from record to record and is put in place when the
// command line ends (or another file takes the lines), so that the lines are
// added whole or not at all.
struct TextRun {
    std::string file;
    platform::FileRef ref = 0;
    // The files whose lines are in place: a later record adds to them, since
    // only the command's first lines for a file replace it.
    std::vector<std::string> written;
    // The files whose lines could not be written, left as they were: a later
    // record's lines would replace them without the lines before, so none is added.
    std::vector<std::string> failed;

    bool wrote(const std::string& path) const {
        return std::find(written.begin(), written.end(), path) != written.end();
    }
    void remember(const std::string& path) {
        if (!path.empty() && !wrote(path)) written.push_back(path);
    }
    bool lost(const std::string& path) const {
        return std::find(failed.begin(), failed.end(), path) != failed.end();
    }
    void fail(const std::string& path) {
        if (!path.empty() && !lost(path)) failed.push_back(path);
    }
};

// Puts the lines so far in place; false after a message.
bool finishTextRun(TextRun* run) {
    if (run->ref == 0) return true;
    gPictOut.textRunRef = run->ref;
    run->ref = 0;
    if (!endTextRun()) {
        run->fail(run->file);
        return false;
    }
    run->remember(run->file);
    return true;
}

// Why a record's line is not added to a file whose earlier lines failed.
std::string linesLostFault(const std::string& path) {
    return "the lines of an earlier record for " + path +
           " could not be written, so the file was left as it was and this record's line was "
           "not added";
}

// The file made for the record by the output dispatch, as the script's request
// delivers it: no preview, no dialog, the whole path given.
bool deliver(const std::string& saveto, TextRun* run) {
    copyBounded(gOut.globFolS, saveto.c_str());
    gOut.fileDia = 4;
    gOut.showDia = 1;
    const int32_t tool = gOut.tool;
    gOut.outToFile =
        tool == kOutTiff || tool == kOutBmp72 || tool == kOutBmp300 || tool == kOutTextLine ? 0 : 1;
    if (tool == kOutTextLine) {
        gProd.background = 1;  // the records of a command line are one run
        if (run->file != saveto && !finishTextRun(run)) return false;
        if (run->file == saveto || run->wrote(saveto)) {
            gPictOut.sameFile = 1;
            gPictOut.theFileName2 = saveto;
            gPictOut.textRunRef = run->ref;
            run->ref = 0;
        }
    }
    gPictOut.textFileFailed = false;
    const bool ok = (!needsPicture(tool) || recordSymbolPicture()) && outer2() == 1;
    if (tool == kOutTextLine) {
        if (gPictOut.textFileFailed) run->fail(saveto);
        // The open file outlives the next record's fresh world.
        run->file = gPictOut.sameFile == 1 ? gPictOut.theFileName2 : "";
        run->ref = gPictOut.textRunRef;
        gPictOut.textRunRef = 0;
        gPictOut.sameFile = 0;
        gPictOut.theFileName2.clear();
    }
    return ok;
}

constexpr int32_t kProModePrintTime = 3;  // an item whose data is typed at printing
constexpr char kQuestionMark = '\v';

// What a record that was made says besides (a run's choices, warnings), shown
// after it on standard error; the exit status stays 0.
std::vector<std::string> gNotes;
// The import records a record's run could not make, each shown on its own line
// naming the record; the record has failed.
std::vector<std::string> gImportFaults;

// The question of the document's first item whose data is typed at printing;
// none when no item asks.
std::optional<std::string> printTimeQuestion() {
    for (int32_t i = 0; i <= labelBack.lastItem; ++i) {
        const LabelItem* it = gLabel.labelParts[size_t(i)].get();
        if (!it || getProMode(i) != kProModePrintTime) continue;
        const uint16_t kind = it->u16(item::kind);
        if (kind != kKindText && kind != kKindBarcode) continue;
        // The item keeps its question after its font name and a VT.
        const std::string font = it->text(item::defFont);
        const size_t vt = font.empty() ? std::string::npos : font.find(kQuestionMark, 1);
        return vt == std::string::npos ? std::string()
                                       : platform::macRomanToUtf8(font.substr(vt + 1));
    }
    return std::nullopt;
}

// A print-time answer given where it is wanted; the reason when it is not.
std::string printTimeFault(const Pairs& pairs) {
    const auto given = std::find_if(pairs.begin(), pairs.end(),
                                    [](const auto& pair) { return pair.first == "answer"; });
    const std::optional<std::string> question = printTimeQuestion();
    if (given == pairs.end()) {
        if (!question) return {};
        return "the label asks at printing" +
               (question->empty() ? std::string() : " \"" + *question + "\"") +
               ": give the answer with answer:\"...\"";
    }
    if (!question)
        return "the key \"answer\" does not apply: no item of the label asks for its data at "
               "printing";
    if (given->second.empty()) return "the answer is empty: give the data the label asks for";
    return {};
}

// The print request: the print window opened, the record's printer keys set,
// and its print button pressed.
std::string printRecord(const Pairs& pairs) {
    ShowPrintWin();
    gPrint.printLoop = 1;
    ThermalGetDefault();  // the kept thermal settings, which the record's keys change
    bool thermalKeys = false;
    for (const auto& [key, value] : pairs) {
        const int32_t n = std::atoi(value.c_str());
        if (key == "printer") gPrint.destination = print::settingsFor(value);
        if (key == "number") gPrint.nLabels = n;
        if (key == "continuous") gThermal.continuous = n;
        if (key == "stripper") gThermal.stripper = n;
        if (key == "cutter") gThermal.cutter = n;
        if (key == "answer") gPrint.printTimeAnswer = value;
        thermalKeys = thermalKeys || key == "continuous" || key == "stripper" || key == "cutter";
    }
    // A printed file must not replace what the command reads.
    if (gPrint.destination.destination == print::Destination::file &&
        !outputSparesReadFiles(gPrint.destination.target, "printer"))
        return lastMessageUtf8();
    if (thermalKeys && ThermalSetDefault() != platform::noErr)
        return "the thermal printer's settings could not be kept in " +
               platform::userPreferencesFolder() + "/" + kThermDefName + "; nothing was printed";
    gMsg.shown = 0;
    const int32_t status = PrintButton();
    if (!gPrint.note.empty()) gNotes.push_back(gPrint.note);
    if (status == print::kPrintNoErr && gMsg.shown == 0) return {};
    if (!gMsg.shown) return "the print job ended with status " + std::to_string(status);
    const std::string said = lastMessageUtf8();
    return gPrint.faultAt.empty() ? said : gPrint.faultAt + ": " + said;
}

// A plain symbol prints once a page, at half an inch from the paper's corner:
// a sheet of one label the size of the symbol's item, drawn in points.
void singleSymbolSheet() {
    constexpr uint32_t kHalfInch = 360;  // tenths of a point
    constexpr uint32_t kTenths = 10;
    const LabelItem& it = *gLabel.labelParts[0];
    labelBack.across = labelBack.down = 1;
    labelBack.leftMargin = labelBack.topMargin = kHalfInch;
    labelBack.labelWidth = uint32_t(std::max<int16_t>(it.i16(item::rectRight), 1)) * kTenths;
    labelBack.labelHeight = uint32_t(std::max<int16_t>(it.i16(item::rectBottom), 1)) * kTenths;
}

// A symbol that runs off the paper would print cut off, and a cut symbol reads
// as nothing or as something else: it is refused before anything is printed.
std::string symbolOffPaper() {
    constexpr double kTenths = 10;
    const print::PageFormat format = print::loadPageFormat();
    const double right = (labelBack.leftMargin + labelBack.labelWidth) / kTenths;
    const double bottom = (labelBack.topMargin + labelBack.labelHeight) / kTenths;
    if (right <= format.pageWidth() && bottom <= format.pageHeight()) return {};
    char text[300];
    std::snprintf(text, sizeof text,
                  "the symbol, %.0f x %.0f points half an inch from the paper's corner, does not "
                  "fit on the %s paper (%.0f x %.0f points); nothing was printed. Make it "
                  "smaller (size) or shorten its data",
                  labelBack.labelWidth / kTenths, labelBack.labelHeight / kTenths,
                  format.paperName.c_str(), format.pageWidth(), format.pageHeight());
    return text;
}

// A file the command reads, as its outputs are checked against it.
ReadFiles::Read readFile(const std::string& path) {
    if (path != kStandardInputName) return {platform::regularFileId(path), path};
    std::error_code failed;
    const std::filesystem::path named = std::filesystem::read_symlink("/proc/self/fd/0", failed);
    return {platform::standardInputFileId(), failed ? "standard input" : named.string()};
}

// Whether the record's type is another than the opened EPS file's.
bool retypes(const Pairs& line, const std::string& type) {
    if (type.empty()) return false;
    for (const auto& [key, value] : line)
        if (key == "type") return !sameCodeType(type.c_str(), value.c_str());
    return true;
}

// Which keys of an opened EPS file's line are applied.
enum class OpenedKeys {
    all,
    settings,  // all but the type: the record names the file's own type
    carried,   // the record names another type: data and colour only
};

// The opened EPS file's settings. A record that names another type gets that
// type's own settings, as a record without --open does: the file gives only its
// data and colour (its add-on or options belong to its own type).
void applyOpenedLine(const Pairs& line, OpenedKeys keys, TypeOwnSize* own) {
    for (const auto& [key, value] : line) {
        const bool carried =
            key == "data" || key == "colour" || key == "color" || key == "spotname";
        const bool wanted =
            keys == OpenedKeys::all || (keys == OpenedKeys::settings && key != "type") || carried;
        if (wanted) applyRecordPair(key, value, own);
    }
}

std::string runRecord(Pairs& pairs, const OutputChoice& choice, const OpenedFile& opened,
                      TextRun* run) {
    gReadFiles.import = {};
    resetWorld();
    initLabelItems();
    gMsg.quiet = true;
    const bool document = !opened.path.empty() && !opened.eps;
    // Kept from record to record with their storage, as the record's pairs are.
    static Pairs openedLine;
    if (!opened.path.empty()) {
        if (std::string why = loadOpened(opened, &openedLine); !why.empty()) return why;
    }
    // The document's import file is read while its labels are written or printed.
    if (document && !gDocFile.impoFile.empty())
        gReadFiles.import = readFile(documentPath(gDocFile.impoFile));

    std::string type, import, templ = "<<1>>";
    // An import key asks for an import run even when its value is empty (a
    // script's variable that came out empty), which is then refused.
    bool importRun = false;
    // Kept from record to record, with their storage: a file's path is longer
    // than a string holds without the heap.
    static std::string saveto;
    static std::vector<std::string> seen;
    saveto.clear();
    seen.clear();
    bool printing = false, heightRefused = false;
    for (auto& [key, value] : pairs) {
        const std::string_view k = key;
        if (!knownKey(key)) return "unknown key \"" + key + "\"";
        if (std::find(seen.begin(), seen.end(), keyOf(key)) != seen.end())
            return "the key \"" + key + "\" is given twice";
        seen.push_back(keyOf(key));
        if (const char* lost = swallowedKey(value))
            return "the " + key + " runs on into the " + lost +
                   " key: is its closing quote missing?";
        // The program works in Mac OS Roman; the command line speaks UTF-8. File
        // and printer names stay as they are given.
        std::string roman;
        size_t bad = 0;
        if (k == "printer") printing = true;
        if (k == "saveto") saveto = value;
        if (k == "import") {
            import = value;  // a file name, as saveto
            importRun = true;
        }
        const bool name = k == "saveto" || k == "printer" || k == "import";
        if (!name && !platform::utf8ToMacRoman(value, &roman, &bad))
            return notMacRoman(key, value, bad);
        if (!name) value = roman;
        if (k == "type") type = value;
        if (document && k != "saveto" && !printKey(key))
            return "the key \"" + key +
                   "\" does not apply to an opened label document (give saveto or printer)";
        if (!document && k == "answer")
            return "the key \"answer\" applies to an opened label document whose items ask "
                   "for their data at printing";
        if (k == "data") templ = value;
        std::string range = tooLong(key, value);
        // The lowest height is said once the type and the output are known.
        if (range.empty() && k == "height")
            heightRefused = !numberOutOfRange(key, value).empty();
        else if (range.empty())
            range = numberOutOfRange(key, value);
        if (range.empty() && k == "spotname") range = spotNameFault(value);
        if (!range.empty()) return range;
    }
    for (const std::string& k : seen)
        if (printKey(k) && !printing) return "the key \"" + k + "\" needs printer";
    if (saveto.empty() && !printing) return "the record names no file (saveto)";
    if (document) {
        if (printing)
            if (std::string why = printTimeFault(pairs); !why.empty()) return why;
        if (!saveto.empty())
            if (std::string why = writeOpenedLabel(choice, saveto); !why.empty()) return why;
        return printing ? printRecord(pairs) : std::string();
    }
    // An opened EPS file gives the type and its settings.
    if (type.empty() && !opened.eps) return "the record names no type";
    // The type first: it applies the type's defaults, which the other keys then change.
    if (!type.empty() && !parseCodeType(type.c_str()))
        return "unknown type \"" + platform::macRomanToUtf8(type) + "\"";
    // Without a height of its own (or the opened file's) the symbol takes the type's
    // height at the size it is given, whichever key comes first.
    TypeOwnSize own;
    if (!type.empty()) own = takeTypeOwnSize();
    // An opened EPS file's settings come after the type: its own type, by any of its
    // names, changes none of them. The type is applied once only, for some types add
    // to what they found (an inset), and the name keeps what it sets itself (the
    // font above of "ISBN OCR B").
    if (opened.eps) {
        const OpenedKeys keys = retypes(openedLine, type) ? OpenedKeys::carried
                                : type.empty()            ? OpenedKeys::all
                                                          : OpenedKeys::settings;
        applyOpenedLine(openedLine, keys, &own);
    }
    if (!type.empty()) gMsg.typeName = type;  // messages name the type as the user did
    if (heightRefused) {
        const int32_t tool = outputTool(choice, saveto);
        const bool textKind = !printing && (tool == kOutBarFontText || tool == kOutTextLine);
        return heightOutOfRange(textKind || drawnAlways(gSym.code));
    }
    // An import run builds each symbol's data from a record by the data template.
    for (auto& [key, value] : pairs)
        if (key != "type" && key != "saveto" && key != "import" && !printKey(key) &&
            !(importRun && key == "data"))
            applyRecordPair(key, value, &own);
    settleOwnHeight(own);
    if (std::string why = spotNameRoomFault(); !why.empty()) return why;
    if (importRun) {
        if (printing) return "an import run cannot print (give saveto)";
        if (std::string fault = takeImportRequest(import); !fault.empty()) return fault;
        if (gRecordsFromInput && gProd.externalImport.file == std::string(kStandardInputName))
            return "the import reads standard input, which holds the records here: give the "
                   "records as arguments";
        gReadFiles.import = readFile(gProd.externalImport.file);
        // An earlier record's text lines are put in place before the run writes its own.
        if (!finishTextRun(run)) return lastMessageUtf8();
        if (choice.kind && choice.kind->tool == kOutTextLine && run->lost(saveto))
            return linesLostFault(saveto);
        std::string warning;
        const bool addToLines = run->file == saveto || run->wrote(saveto);
        std::string why =
            runImportRequest(templ, saveto, choice, addToLines, &warning, &gImportFaults);
        // The run's lines are in place: the command's next lines go after them.
        if (why.empty() && gOut.tool == kOutTextLine) run->file = saveto;
        if (gOut.tool == kOutTextLine && gPictOut.textFileFailed)
            run->fail(saveto);
        else if (gProd.runMade > 0 && gOut.tool == kOutTextLine)
            run->remember(saveto);
        if (why.empty() && !warning.empty()) gNotes.push_back("warning: " + warning);
        return why;
    }
    if (gData.len1 == 0)
        return opened.eps ? "the record has no data, and the options line of " + opened.path +
                                " gives none (data with control characters, such as a tab or a "
                                "line end, is not kept there): give data"
                          : "the record has no data";

    if (!saveto.empty()) {
        const std::string fault = outputKindFault(choice, saveto);
        if (!fault.empty()) return fault;
        applyOutputChoice(choice, saveto);
        if (gOut.tool == kOutTextLine && run->lost(saveto)) return linesLostFault(saveto);
    }
    // Bars 2 mm low or lower are not drawn: the symbol would stand as its text. Only
    // the bar-font text kinds, which are that text, take such a height.
    const bool textKind =
        !saveto.empty() && (gOut.tool == kOutBarFontText || gOut.tool == kOutTextLine);
    // The bar-font text shows the reduction as thinner bar glyphs.
    if (textKind) gSym.BW = widthStepOfReduction(gSym.BWidthRed, gSym.Siz, gSym.code);
    if (setAsBarFontText() && (printing || !textKind))
        return "a bar height of 2 mm or less draws no bars, only the symbol's text: give a "
               "height above 2 mm (or 0 for the type's own height)";
    // The single barcode item of a plain symbol carries the settings to the writer,
    // sized to its symbol. The data is checked before a file is made: a refused
    // symbol leaves nothing behind.
    gMsg.shown = 0;
    gDispatch.refuseStrayAddOn = true;
    const bool made = addSingleSymbolItem();
    gDispatch.refuseStrayAddOn = false;
    if (!made) return gMsg.shown ? lastMessageUtf8() : "the data cannot be encoded";
    gMsg.shown = 0;
    if (!saveto.empty() && !deliver(saveto, run))
        return gMsg.shown ? lastMessageUtf8() : "the file could not be written";
    if (!printing) return {};
    singleSymbolSheet();
    if (std::string why = symbolOffPaper(); !why.empty()) return why;
    return printRecord(pairs);
}

// The records of a line, kept from line to line: their vectors and strings keep
// their storage, so a warm batch parses without the heap. The first `count`
// are this line's.
struct LineRecords {
    std::vector<Pairs> records;
    size_t count = 0;
    std::vector<std::string> spare;  // the strings of earlier lines, with their storage

    Pairs& next() {
        if (count == records.size()) records.emplace_back();
        Pairs& pairs = records[count++];
        for (auto& [key, value] : pairs) {
            spare.push_back(std::move(key));
            spare.push_back(std::move(value));
        }
        pairs.clear();
        return pairs;
    }

    std::string take(std::string_view text) {
        std::string s;
        if (!spare.empty()) {
            s = std::move(spare.back());
            spare.pop_back();
        }
        s.assign(text);
        return s;
    }
};

// The records of one line, each as its pairs; the reason when the line (from
// the record that fails on) cannot be read. Records before a fault are kept.
std::string splitLine(const std::string& line, LineRecords* records) {
    if (const size_t nul = line.find('\0'); nul != std::string::npos)
        return "the record holds a NUL byte (at byte " + std::to_string(nul + 1) +
               "); records are text";
    const size_t first = line.find_first_not_of(" \t");
    if (first == std::string::npos || line[first] != '{')
        return "the record must begin with its opening brace";
    size_t at = first;
    while (at < line.size()) {
        Pairs& pairs = records->next();
        std::string error;
        size_t end = 0;
        if (!forEachScriptPairIn(
                std::string_view(line).substr(at),
                [&pairs, records](std::string_view k, std::string_view v) {
                    pairs.emplace_back(records->take(k), records->take(v));
                },
                &error, &end)) {
            --records->count;
            return "the record is not well formed: " + error;
        }
        at = line.find_first_not_of(" \t", at + end);
        if (at != std::string::npos && line[at] != '{')
            return "text after the record's closing brace: \"" + line.substr(at) + "\"";
    }
    return {};
}

std::string ordinal(size_t n) {
    const char* suffix = n % 10 == 1 && n % 100 != 11   ? "st"
                         : n % 10 == 2 && n % 100 != 12 ? "nd"
                         : n % 10 == 3 && n % 100 != 13 ? "rd"
                                                        : "th";
    return std::to_string(n) + suffix;
}

// A line of standard input is read whole before its records are made: one
// without an end (a binary file, /dev/zero) would otherwise take all memory.
// Ten thousand records to a line stay far below this.
constexpr size_t kMostLineBytes = 16 * 1024 * 1024;

enum class LineRead { line, tooLong, end };

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

// The next line of `in` into `line`, without its line feed. A line longer than
// `most` is not read on: what follows it is no longer known to be records.
LineRead readLine(std::istream& in, std::string& line, size_t most) {
    line.clear();
    char chunk[4096];
    bool any = false;
    for (;;) {
        in.getline(chunk, sizeof chunk);
        const auto got = static_cast<size_t>(in.gcount());
        any = any || got > 0;
        const bool ended = !in.fail() && !in.eof();  // at a line feed, taken but not kept
        const size_t kept = ended ? got - 1 : got;
        if (line.size() + kept > most) return LineRead::tooLong;
        line.append(chunk, kept);
        if (ended) return LineRead::line;
        // A full chunk leaves the line feed still to come; anything else ends the input.
        if (in.bad() || in.eof() || got != sizeof chunk - 1)
            return any ? LineRead::line : LineRead::end;
        in.clear();
    }
}

// Makes the records of one line; the number of failures.
int runLine(const std::string& line, int number, const OutputChoice& choice,
            const OpenedFile& opened, TextRun* run, std::ostream& err) {
    static LineRecords lineRecords;
    lineRecords.count = 0;
    const std::string fault = splitLine(line, &lineRecords);
    const size_t records = lineRecords.count;
    int failures = 0;
    for (size_t i = 0; i < records; ++i) {
        gNotes.clear();
        gImportFaults.clear();
        const std::string why = runRecord(lineRecords.records[i], choice, opened, run);
        auto named = [&]() -> std::ostream& {
            err << "strixel: record " << number;
            if (i > 0) err << " (the " << ordinal(i + 1) << " on its line)";
            return err;
        };
        if (why.empty() && gImportFaults.empty()) {
            for (const std::string& note : gNotes) named() << ": " << note << "\n";
            continue;
        }
        ++failures;
        for (const std::string& fault : gImportFaults) named() << ", " << fault << "\n";
        if (!why.empty()) named() << ": " << why << "\n";
    }
    if (!fault.empty()) {
        ++failures;
        err << "strixel: record " << number;
        if (records > 0) err << " (the " << ordinal(records + 1) << " on its line)";
        err << ": " << fault << "\n";
    }
    return failures;
}

// What the command line asked for.
struct Request {
    OutputChoice output;
    std::vector<std::string> records;  // "-" reads standard input at its place
    OpenedFile opened;
    bool help = false;
};

std::string takeDialect(const std::string& name, Request* r) {
    r->output.dialect = findDialect(name);
    return r->output.dialect ? "" : "unknown dialect \"" + name + "\" (see --help)";
}
std::string takePost(const std::string& name, Request* r) {
    r->output.post = findPostKind(name);
    return r->output.post ? "" : "unknown --post \"" + name + "\" (eps, ps or job; 0, 1 or 2)";
}
std::string takeKind(const std::string& name, Request* r) {
    r->output.kind = findOutputKind(name);
    return r->output.kind ? "" : "unknown --kind \"" + name + "\" (see --help)";
}

// Options with a value, given as --name=value or --name value.
struct ValueOption {
    const char* name;
    std::string (*take)(const std::string& value, Request* request);  // the fault, or empty
};
std::string takeOpen(const std::string& path, Request* r) {
    if (path.empty()) return "--open needs a file name";
    if (platform::pathKind(path) == platform::PathKind::folder)
        return "--open: \"" + path + "\" is a folder; give a label document or an EPS file";
    // Only a regular file: a device or a pipe could be read without end.
    platform::FileRef ref = 0;
    std::string why;
    if (platform::FSOpenRegular(path, kMostDocumentBytes, &ref, &why) != platform::noErr)
        return "--open: " + why;
    platform::FSClose(ref);
    r->opened.path = path;
    r->opened.eps = looksLikeEps(path);
    return {};
}

constexpr ValueOption kValueOptions[] = {
    {"--dialect", takeDialect}, {"--post", takePost}, {"--open", takeOpen}, {"--kind", takeKind}};

// Reads the arguments; the usage error, or empty.
std::string parseArguments(int argc, const char* const* argv, Request* r) {
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--help" || a == "-h") {
            r->help = true;
            return {};
        }
        if (a == "-" || a.empty() || a[0] != '-') {
            r->records.push_back(a);  // a record, or "-"
            continue;
        }
        const size_t equals = a.find('=');
        const std::string name = a.substr(0, equals);
        const ValueOption* option = nullptr;
        for (const ValueOption& o : kValueOptions)
            if (name == o.name) option = &o;
        if (!option) return "unknown option " + a + " (see --help)";
        std::string value;
        if (equals != std::string::npos)
            value = a.substr(equals + 1);
        else if (i + 1 < argc)
            value = argv[++i];
        else
            return name + " needs a value (see --help)";
        if (std::string fault = option->take(value, r); !fault.empty()) return fault;
    }
    if (r->records.empty()) r->records.push_back("-");
    return {};
}

}  // namespace

std::string recordLineFault(const std::string& line) {
    LineRecords records;
    return splitLine(line, &records);
}

int runCommandLine(int argc, const char* const* argv, std::istream& in, std::ostream& out,
                   std::ostream& err) {
    platform::keepWritingPastFileSizeLimit();
    Request request;
    if (const std::string usage = parseArguments(argc, argv, &request); !usage.empty()) {
        err << "strixel: " << usage << "\n";
        return 2;
    }
    if (request.help) {
        printHelp(out);
        // A usage lost on a full disk or a closed output is a failure, as a symbol's is.
        if (!out.flush()) {
            err << "strixel: the usage could not be written to standard output\n";
            return 1;
        }
        return 0;
    }
    int failures = 0;
    int made = 0;  // records tried
    int argument = 0;
    TextRun run;
    gRecordsFromInput =
        std::find(request.records.begin(), request.records.end(), "-") != request.records.end();
    // An output that replaced one of these would destroy what is still to be read.
    struct ReadFilesOfCommand {
        ReadFilesOfCommand(bool fromInput, const std::string& opened) {
            if (fromInput) gReadFiles.records = readFile(kStandardInputName);
            if (!opened.empty()) gReadFiles.opened = readFile(opened);
        }
        ~ReadFilesOfCommand() { gReadFiles = {}; }
    } readFiles(gRecordsFromInput, request.opened.path);
    // A signal noted by a run ends the command line after its record.
    auto stopHere = [&err] {
        if (!platform::stopRequested()) return;
        err << "strixel: stopped by a signal; the files made so far are whole\n";
        err.flush();
        platform::endForNotedSignal();
    };
    for (const std::string& source : request.records) {
        if (source != "-") {
            ++made;
            failures += runLine(source, ++argument, request.output, request.opened, &run, err);
            stopHere();
            continue;
        }
        // Standard input: one record a line, numbered by the line, blank lines counted.
        std::string line;
        for (int number = 1;; ++number) {
            const LineRead read = readLine(in, line, kMostLineBytes);
            if (read == LineRead::end) break;
            if (read == LineRead::tooLong) {
                err << "strixel: record " << number << ": the line is longer than "
                    << kMostLineBytes / (1024 * 1024)
                    << " MB, the most a line of records may hold; the rest of the input is not "
                       "read\n";
                ++made;
                ++failures;
                break;
            }
            if (!line.empty() && line.back() == '\r') line.pop_back();
            // Editors on other systems start a text file with the UTF-8 mark.
            if (number == 1 && line.starts_with(kUtf8Mark)) line.erase(0, kUtf8Mark.size());
            if (line.find_first_not_of(" \t") == std::string::npos) continue;
            ++made;
            failures += runLine(line, number, request.output, request.opened, &run, err);
            stopHere();
        }
    }
    if (!finishTextRun(&run)) {
        err << "strixel: " << lastMessageUtf8() << "\n";
        ++failures;
    }
    if (made == 0) {
        err << "strixel: no record given (see --help)\n";
        return 2;
    }
    return failures == 0 ? 0 : 1;
}
