// A label document read and written back, then put through every output and
// print mode. A script record, as a script or the command line sends it, written as every
// vector dialect into memory. Each document must be complete and hang
// together: the PDF cross-reference offsets land on their objects and the
// stream length is right; an EPS bounding box is well formed and encloses the
// coordinates the page draws at; the graphics state is saved and restored in
// pairs.
#include <cstddef>
#include <cstdio>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <stdlib.h>  // mkdtemp
#include <sstream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "app/world.h"
#include "automation/options.h"
#include "fuzz_common.h"
#include "labels/labelDoc.h"
#include "labels/labelFile.h"
#include "labels/printDefaults.h"
#include "labels/runs/printLabels.h"
#include "picture/symbolbox.h"
#include "platform/files.h"
#include "platform/printing/printing.h"
#include "platform/quickdraw/quickdraw.h"
#include "symbology/info.h"
#include "vector/Epsout.h"
#include "vector/press.h"

namespace {

using fuzzing::fail;

constexpr int32_t kToolVectorFile = 2;
constexpr size_t kMaxRecord = 5000;

struct Dialect {
    int32_t ill;
    int32_t purePost;
};
constexpr Dialect kDialects[] = {{kIll11, 0},    {kIll88, 0},    {kIll3, 0},
                                 {kIll5, 0},     {kIll5, 1},     {kIll5, 2},
                                 {kIllPress, 0}, {kIllType3, 0}, {kIllPdf, 0}};

std::string describe(const Dialect& d) {
    return "dialect " + std::to_string(d.ill) + " post " + std::to_string(d.purePost) + ": ";
}

// The operator and number tokens of PostScript or PDF content: whitespace
// separates them; string literals (with their escapes and nested brackets)
// and comments are left out, since they carry the user's data.
std::vector<std::string_view> words(std::string_view s) {
    std::vector<std::string_view> w;
    size_t i = 0;
    auto blank = [](char c) { return c == ' ' || c == '\r' || c == '\n' || c == '\t'; };
    while (i < s.size()) {
        const char c = s[i];
        if (blank(c)) {
            ++i;
        } else if (c == '%') {
            while (i < s.size() && s[i] != '\r' && s[i] != '\n') ++i;
        } else if (c == '(') {
            int depth = 0;
            for (; i < s.size(); ++i) {
                if (s[i] == '\\') {
                    ++i;
                } else if (s[i] == '(') {
                    ++depth;
                } else if (s[i] == ')' && --depth == 0) {
                    ++i;
                    break;
                }
            }
        } else {
            const size_t b = i;
            while (i < s.size() && !blank(s[i]) && s[i] != '(' && s[i] != '%') ++i;
            w.push_back(s.substr(b, i - b));
        }
    }
    return w;
}

bool number(std::string_view w, double* v) {
    if (w.empty() || w.size() > 40) return false;
    const std::string s(w);
    char* end = nullptr;
    *v = std::strtod(s.c_str(), &end);
    return end == s.c_str() + s.size();
}

// The cross-reference table: every object in use starts where its entry says.
void checkPdf(const std::string& doc, const Dialect& d) {
    const std::string where = describe(d);
    if (doc.rfind("%PDF-1.", 0) != 0) return fail(where + "no PDF header");
    const size_t sx = doc.rfind("startxref");
    if (sx == std::string::npos) return fail(where + "no startxref");
    const long table = std::strtol(doc.c_str() + sx + 9, nullptr, 10);
    if (table <= 0 || static_cast<size_t>(table) >= doc.size() ||
        doc.compare(static_cast<size_t>(table), 4, "xref") != 0)
        return fail(where + "startxref " + std::to_string(table) + " does not land on xref");
    std::istringstream in(doc.substr(static_cast<size_t>(table) + 4));
    long first = -1, count = -1;
    in >> first >> count;
    if (first != 0 || count <= 0 || count > 10000) return fail(where + "bad xref subsection");
    std::vector<long> offsets(static_cast<size_t>(count), -1);
    for (long i = 0; i < count; ++i) {
        long offset = -1, generation = -1;
        std::string kind;
        in >> offset >> generation >> kind;
        if (!in) return fail(where + "xref table cut short");
        if (kind != "n") continue;
        offsets[static_cast<size_t>(i)] = offset;
        const std::string head = std::to_string(first + i) + " 0 obj";
        if (offset < 0 || static_cast<size_t>(offset) >= doc.size() ||
            doc.compare(static_cast<size_t>(offset), head.size(), head) != 0)
            return fail(where + "xref entry " + std::to_string(i) + " (" + std::to_string(offset) +
                        ") does not land on its object");
    }
    std::string word;
    long size = -1;
    while (in >> word)
        if (word == "/Size") {
            in >> size;
            break;
        }
    if (size != count) return fail(where + "trailer /Size differs from the xref count");
    if (doc.size() < 6 || doc.compare(doc.size() - 6, 5, "%%EOF") != 0)
        return fail(where + "does not end with %%EOF");

    // The content stream (object 4) is as long as its length object (object
    // 5) says, found through the table rather than by searching the text.
    if (offsets.size() < 6 || offsets[4] < 0 || offsets[5] < 0)
        return fail(where + "no content stream or length object");
    const size_t s = doc.find("stream\r\n", static_cast<size_t>(offsets[4]));
    if (s == std::string::npos) return fail(where + "object 4 holds no stream");
    const long length = std::strtol(doc.c_str() + offsets[5] + 8, nullptr, 10);
    const size_t body = s + 8;
    size_t e = std::string::npos;
    for (long slack : {0L, 1L})
        if (length >= 0 && body + length + slack + 9 <= doc.size() &&
            doc.compare(body + length + slack, 9, "endstream") == 0)
            e = body + static_cast<size_t>(length + slack);
    if (e == std::string::npos)
        return fail(where + "no endstream where the length object (" + std::to_string(length) +
                    ") puts the end of the stream");
    int q = 0, bt = 0;
    for (std::string_view w : words(std::string_view(doc).substr(body, e - body))) {
        if (w == "q") ++q;
        if (w == "Q" && --q < 0) return fail(where + "Q without q");
        if (w == "BT") ++bt;
        if (w == "ET" && --bt < 0) return fail(where + "ET without BT");
    }
    if (q != 0 || bt != 0) return fail(where + "q/Q or BT/ET unbalanced in the content");
}

// Where a DSC comment line begins (the user's data may hold the same words
// inside the title and options lines), or npos.
size_t lineStart(const std::string& doc, const char* comment) {
    for (size_t at = doc.find(comment); at != std::string::npos; at = doc.find(comment, at + 1))
        if (at == 0 || doc[at - 1] == '\r' || doc[at - 1] == '\n') return at;
    return std::string::npos;
}

// PostScript: the bounding box of an EPS encloses the points the page draws
// at, as far as no transformation moves them; gsave and grestore pair up.
void checkPostScript(const std::string& doc, const Dialect& d) {
    const std::string where = describe(d);
    const size_t ps = doc.find("%!PS-Adobe-");
    if (ps == std::string::npos) return fail(where + "no PostScript header");
    const size_t endComments = lineStart(doc, "%%EndComments");
    if (endComments == std::string::npos) return fail(where + "no %%EndComments");
    const size_t eof = doc.rfind("%%EOF");
    if (eof == std::string::npos) return fail(where + "no %%EOF");

    const size_t prologEnd = lineStart(doc, "%%EndProlog");
    const size_t bodyStart = prologEnd == std::string::npos ? endComments : prologEnd;
    const std::string_view body = std::string_view(doc).substr(bodyStart, eof - bodyStart);

    int saves = 0;
    for (std::string_view w : words(body)) {
        if (w == "gsave") ++saves;
        if (w == "grestore" && --saves < 0) return fail(where + "grestore without gsave");
    }
    if (saves != 0) return fail(where + "gsave and grestore do not pair up");

    if (d.purePost != 0) return;
    const size_t bb = lineStart(doc, "%%BoundingBox: ");
    if (bb == std::string::npos || bb > endComments) return fail(where + "no %%BoundingBox");
    std::istringstream box(doc.substr(bb + 15, 100));
    double llx, lly, urx, ury;
    if (!(box >> llx >> lly >> urx >> ury)) return fail(where + "bounding box is not 4 numbers");
    if (llx > urx || lly > ury) return fail(where + "bounding box upside down");
    const size_t hb = lineStart(doc, "%%HiResBoundingBox: ");
    if (hb != std::string::npos && hb < endComments) {
        std::istringstream hi(doc.substr(hb + 20, 120));
        double a, b, c, e;
        if (!(hi >> a >> b >> c >> e)) return fail(where + "hi-res box is not 4 numbers");
        if (a < llx || b < lly || c > urx || e > ury)
            return fail(where + "hi-res box outside the whole-point box");
    }

    // Points of the paths the page paints, until a transformation changes the
    // frame. A lone point stroked or filled puts no ink down.
    constexpr double kSlack = 1.0;  // half of the widest line the writers stroke
    std::vector<std::pair<double, double>> path;
    std::vector<double> stack;
    for (std::string_view w : words(body)) {
        double v;
        if (number(w, &v)) {
            stack.push_back(v);
            continue;
        }
        if (w == "concat" || w == "translate" || w == "scale" || w == "rotate" ||
            w == "setmatrix" || w == "Adobe_Illustrator_AI5_vars")
            return;  // coordinates from here on are not page coordinates
        const size_t n = stack.size();
        const bool point = w == "m" || w == "l" || w == "L" || w == "moveto" || w == "lineto" ||
                           w == "c" || w == "C" || w == "v" || w == "V" || w == "y" || w == "Y" ||
                           w == "curveto";
        if (point && n >= 2) path.emplace_back(stack[n - 2], stack[n - 1]);
        if (w == "n" || w == "N" || w == "newpath") path.clear();
        const bool paint = w == "f" || w == "F" || w == "S" || w == "s" || w == "b" || w == "B" ||
                           w == "fill" || w == "stroke" || w == "eofill" || w == "f*";
        if (paint) {
            if (path.size() >= 2) {
                for (const auto& [x, y] : path) {
                    if (x >= llx - kSlack && x <= urx + kSlack && y >= lly - kSlack &&
                        y <= ury + kSlack)
                        continue;
                    char text[160];
                    std::snprintf(text, sizeof text,
                                  "paints at %g %g, outside the bounding box %g %g %g %g", x, y,
                                  llx, lly, urx, ury);
                    return fail(where + text);
                }
            }
            path.clear();
        }
        stack.clear();
    }
}

// Loads the record into fresh settings and makes its single barcode item, as
// the command line does for one file of the dialect chosen; false when the
// record names no known code type or no data, or the data is refused.
bool loadRecord(const std::vector<std::pair<std::string, std::string>>& pairs,
                const std::string& type, const Dialect& d) {
    resetWorld();
    resetMessages();
    initLabelItems();
    gMsg.quiet = true;
    // The type first: it applies the type's defaults, which the other keys change.
    if (!parseCodeType(type.c_str())) return false;
    TypeOwnSize own = takeTypeOwnSize();
    for (const auto& [key, value] : pairs)
        if (key != "type" && key != "saveto") applyRecordPair(key, value, &own);
    settleOwnHeight(own);
    if (gData.len1 == 0) return false;
    gOut.tool = kToolVectorFile;
    gOut.ill = d.ill;
    gOut.purePost = d.purePost;
    // The single barcode item, sized to its symbol, carries the settings to
    // the writer.
    if (!addSingleSymbolItem()) {
        if (gMsg.shown == 0) fail("the data was refused without a message");
        return false;
    }
    return true;
}

constexpr size_t kMaxDocument = 1 << 20;
// Labels a run prints of a fuzzed sheet, and the most cells a sheet may have
// for the page picture and the press export, which draw or write every cell.
constexpr int32_t kLabelsPrinted = 6;
constexpr int64_t kMostCells = 400;

// A folder of this process for the files the print and press runs write.
const std::string& workFolder() {
    static const std::string folder = [] {
        char tmpl[] = "/tmp/strixel-fuzz-XXXXXX";
        return std::string(::mkdtemp(tmpl) ? tmpl : "/tmp");
    }();
    return folder;
}

// The opened label through every way out of the program: written in every
// vector dialect, drawn as the print window's page picture, printed to a PDF
// and a PostScript file and to the thermal back end, and exported for the
// digital press. Each ends, and a refusal says why.
void runEveryMode() {
    const LabelSheet sheet = labelBack;
    const PrintSwitches switches = gPrintSwitches;
    const int64_t cells = int64_t{sheetAcross()} * sheetDown();
    for (const Dialect& d : kDialects) {
        labelBack = sheet;
        gOut.tool = kToolVectorFile;
        gOut.ill = d.ill;
        gOut.purePost = d.purePost;
        resetMessages();
        gMsg.quiet = true;
        const platform::FileRef ref = platform::FSOpenMemory();
        const int32_t result = EPSout(ref, 0);
        const bool empty = platform::FSMemoryContents(ref).empty();
        platform::FSClose(ref);
        if (result != 0 && gMsg.shown == 0) fail(describe(d) + "a label refused without a message");
        if (result == 0 && empty) fail(describe(d) + "an empty label reported as written");
    }
    const std::string folder = workFolder();
    if (cells <= kMostCells) {
        labelBack = sheet;
        gOut.tool = kToolVectorFile;
        gOut.ill = kIllPress;
        gOut.purePost = 0;
        gPress.folder = folder + "/";
        pressExport("press");
        labelBack = sheet;
        qd::GWorldPtr world = nullptr;
        if (qd::NewGWorld(&world, 32, {0, 0, 10, 10}) == 0) {
            qd::SetGWorld(world);
            PrintLabels2(0, nullptr);
            qd::SetGWorld(nullptr);
            qd::DisposeGWorld(world);
        }
        resetPrintRun();
    }
    gOut.ill = kIllPdf;
    for (const char* name : {"/printed.pdf", "/printed.ps"}) {
        for (int32_t mode : {1, 2}) {
            labelBack = sheet;
            gPrintSwitches = switches;
            resetPrintRun();
            resetMessages();
            gMsg.quiet = true;
            gPrint.nLabels = kLabelsPrinted;
            const int32_t status =
                doPrinting(mode, print::settingsFor(folder + name), print::PageFormat{});
            if (status != print::kPrintNoErr && gMsg.shown == 0 && status != print::kPrintCancel)
                fail("a print run failed with status " + std::to_string(status) +
                     " without a message");
        }
    }
    resetPrintRun();
    labelBack = sheet;
}

// The input as a label document file: read whole or refused with a message. A
// document read is written again and must read back to the same bytes.
void checkDocumentReader(const uint8_t* in, size_t n) {
    if (n > kMaxDocument) return;
    ParsedDocument doc;
    uint16_t message = 0;
    if (!parseDocument(in, n, &doc, &message)) {
        if (message == 0) fail("a document refused without a message");
        return;
    }
    resetWorld();
    initLabelItems();
    applyDocument(std::move(doc));
    const std::string again = documentBytes();
    ParsedDocument second;
    if (!parseDocument(reinterpret_cast<const uint8_t*>(again.data()), again.size(), &second,
                       &message))
        return fail("a document written from one read cannot be read back");
    resetWorld();
    initLabelItems();
    applyDocument(std::move(second));
    if (documentBytes() != again) return fail("a document read back is written differently");
    runEveryMode();
}

}  // namespace

extern "C" int STRIXEL_FUZZ_ENTRY(const uint8_t* in, size_t n) {
    checkDocumentReader(in, n);
    if (n > kMaxRecord) return 0;
    const std::string record(reinterpret_cast<const char*>(in), n);
    std::vector<std::pair<std::string, std::string>> pairs;
    if (!forEachScriptPair(
            record.c_str(),
            [&pairs](std::string_view k, std::string_view v) { pairs.emplace_back(k, v); },
            nullptr))
        return 0;
    std::string type;
    for (const auto& [key, value] : pairs)
        if (key == "type") type = value;
    if (type.empty()) return 0;

    for (const Dialect& d : kDialects) {
        if (!loadRecord(pairs, type, d)) return 0;
        resetMessages();
        gMsg.quiet = true;
        const platform::FileRef ref = platform::FSOpenMemory();
        if (ref == 0) {
            fail("no memory file");
            break;
        }
        const int32_t result = EPSout(ref, 0);
        const std::string doc = platform::FSMemoryContents(ref);
        platform::FSClose(ref);
        if (result != 0) {
            if (gMsg.shown == 0) fail(describe(d) + "refused without a message");
            continue;
        }
        if (doc.empty()) {
            fail(describe(d) + "an empty document reported as written");
            continue;
        }
        if (d.ill == kIllPdf)
            checkPdf(doc, d);
        else if (d.ill != kIllType3)
            checkPostScript(doc, d);
    }
    return 0;
}
