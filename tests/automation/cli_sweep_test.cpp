// Every code type the command line makes, written as EPS, PDF, picture, TIFF and
// printed PDF by the real program, read back by outside readers: zxing-cpp where
// it knows the symbology, else the module rows of zint for the same data. The
// PDF's human-readable line must hold every character the symbol shows.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "support/cases.h"
#include "support/grey_image.h"
#include "support/reader.h"
#include "support/zint_dump.h"

namespace {

namespace fs = std::filesystem;
using testsupport::Bitmap;

// name | the record's keys | reader | what it reads | what the text line shows.
// The reader is a zxing-cpp format (a "+" behind it: with an EAN add-on; "/check",
// "/fullascii" or "/startstop" for Code 39's and Codabar's own reading),
// "zint:OPTIONS" to hold the symbol against zint's module rows for the data read,
// or "runs:W W ..." to hold it against the bar and space widths given in modules.
// A text line shown as "-" is not checked.
struct SweepCase {
    std::string where, name, keys, reader, read, shown;
};

std::vector<SweepCase> sweepCases() {
    std::vector<SweepCase> out;
    for (const auto& c : testsupport::readCases("automation/sweep.txt", 5))
        out.push_back({c.where, c[0], c[1], c[2], c[3], c[4]});
    return out;
}

// Faults known and not yet mended: the symbol is still made and read, and what goes
// wrong is printed, but the sweep stays green for them. "held against zint" marks a type whose zint
// reference is not settled yet; "not yet diagnosed" is open. Drop an entry once its case reads
// right (the sweep prints "now right" for it).
struct KnownFault {
    const char* name;  // the case's name (its code type)
    const char* kind;  // eps, pdf, pdf-text, pict, tiff, print-gs, print-poppler
    const char* why;
};
constexpr KnownFault kKnownFaults[] = {
    {"Micro PDF417", "eps",
     "zint packs this text on two columns in text compaction; the Bytes case holds it"},
    {"Micro PDF417", "pdf",
     "zint packs this text on two columns in text compaction; the Bytes case holds it"},
    {"Micro PDF417", "tiff",
     "zint packs this text on two columns in text compaction; the Bytes case holds it"},
    {"Micro PDF417", "print-gs",
     "zint packs this text on two columns in text compaction; the Bytes case holds it"},
    {"Micro PDF417", "print-poppler",
     "zint packs this text on two columns in text compaction; the Bytes case holds it"},
    {"Micro PDF417", "pict",
     "zint packs this text on two columns in text compaction; the Bytes case holds it"},
};

const KnownFault* knownFault(const std::string& name, const std::string& kind) {
    for (const KnownFault& k : kKnownFaults)
        if (name == k.name && kind == k.kind) return &k;
    return nullptr;
}

// Collects each case's verdict, then fails once per case that is not a known fault.
class Verdicts {
  public:
    explicit Verdicts(std::string kind) : kind_(std::move(kind)) {}
    void add(const SweepCase& c, const std::string& fault) {
        const KnownFault* known = knownFault(c.name, kind_);
        if (fault.empty()) {
            if (known)
                std::printf("now right, drop it from the known faults: %s %s\n", c.name.c_str(),
                            kind_.c_str());
            return;
        }
        if (known) {
            std::printf("known fault %s %s (%s): %s\n", c.name.c_str(), kind_.c_str(), known->why,
                        fault.c_str());
            return;
        }
        ADD_FAILURE_AT(c.where.c_str(), 0) << c.name << " as " << kind_ << ": " << fault;
    }

  private:
    std::string kind_;
};

// Runs the program once over one record a line; the exit status tells only
// whether every record made its file, so each file is looked at on its own.
void makeAll(const std::vector<std::string>& records, const std::string& folder) {
    const std::string input = folder + "/records.txt";
    {
        std::ofstream f(input, std::ios::binary);
        for (const std::string& r : records) f << r << '\n';
    }
    // The print settings come from a fresh preferences folder of the test's own.
    const std::string config = folder + "/config";
    fs::create_directories(config);
    const testsupport::RunResult r = testsupport::runCommand(
        "XDG_CONFIG_HOME='" + config + "' timeout 300 " STRIXEL_BINARY " - < '" + input + "'");
    EXPECT_NE(r.status, -1) << r.err;
    if (r.status != 0) std::printf("%s", r.err.c_str());
}

std::string inQuotes(const std::string& s) { return "\"" + s + "\""; }

// The file of case i written as `ext`, made for every case in one run.
std::vector<std::string> makeFiles(const std::vector<SweepCase>& cases, const std::string& folder,
                                   const std::string& ext, bool print) {
    std::vector<std::string> records, paths;
    for (size_t i = 0; i < cases.size(); ++i) {
        paths.push_back(folder + "/" + std::to_string(i) + ext);
        records.push_back("{" + cases[i].keys + (print ? ", printer:" : ", saveto:") +
                          inQuotes(paths.back()) + "}");
    }
    makeAll(records, folder);
    return paths;
}

// ---- reading a symbol back -------------------------------------------------

bool dark(const Bitmap& b, int x, int y) { return b.at(x, y) < 128; }

bool blankRow(const Bitmap& b, int y) {
    for (int x = 0; x < b.width; ++x)
        if (dark(b, x, y)) return false;
    return true;
}

// The rows of the bars: from the first inked row to the first blank row after it
// (the text line stands apart below).
std::pair<int, int> barBand(const Bitmap& b) {
    int top = 0;
    while (top < b.height && blankRow(b, top)) ++top;
    int bottom = top;
    while (bottom < b.height && !blankRow(b, bottom)) ++bottom;
    return {top, bottom};
}

// Dark and light runs of one row from its first dark pixel to its last.
std::vector<int> rowRuns(const Bitmap& b, int y) {
    std::vector<int> runs;
    int x = 0;
    while (x < b.width && !dark(b, x, y)) ++x;
    int last = b.width - 1;
    while (last >= x && !dark(b, last, y)) --last;
    while (x <= last) {
        int e = x;
        while (e <= last && dark(b, e, y) == dark(b, x, y)) ++e;
        runs.push_back(e - x);
        x = e;
    }
    return runs;
}

// A linear symbol against zint's one row: the runs of most rows of the bar band,
// as narrow and wide elements or, for symbologies of more widths, in modules.
std::string linearAgainstZint(const Bitmap& b, const std::vector<int>& zint) {
    const auto [top, bottom] = barBand(b);
    int modules = 0;
    for (int m : zint) modules += m;
    std::map<std::vector<int>, int> seen;
    for (int y = top; y < bottom; ++y) ++seen[rowRuns(b, y)];
    std::vector<int> runs;
    int most = 0;
    for (const auto& [r, n] : seen)
        if (n > most) most = n, runs = r;
    if (runs.size() == zint.size() &&
        testsupport::narrowWide(runs) == testsupport::narrowWide(zint))
        return {};
    int width = 0;
    for (int r : runs) width += r;
    std::vector<int> inModules;
    for (int r : runs)
        inModules.push_back(static_cast<int>(r * static_cast<double>(modules) / width + 0.5));
    if (inModules == zint) return {};
    return "bars " + testsupport::narrowWide(runs) + ", zint's " + testsupport::narrowWide(zint);
}

// How many of zint's modules differ from the bar band sampled at the middle of
// each module, for columns of width w from x = left.
int modulesWrong(const Bitmap& b, const std::vector<std::string>& zint, size_t cols, int top,
                 double h, double left, double w) {
    int wrong = 0;
    for (size_t r = 0; r < zint.size(); ++r)
        for (size_t c = 0; c < cols; ++c) {
            const bool want = c < zint[r].size() && zint[r][c] == '1';
            const int x = static_cast<int>(left + (c + 0.5) * w);
            const int y = top + static_cast<int>((r + 0.5) * h);
            wrong += (x >= 0 && x < b.width && dark(b, x, y)) != want;
        }
    return wrong;
}

// A symbol of several rows (stacked, four-state) against zint's rows: the bar
// band sampled at the middle of each of zint's modules. The columns are placed
// by the ink of the whole band or of one row's first and last dark module,
// whichever fits best: a mark beside the symbol widens the band's ink, not
// every row's.
std::string gridAgainstZint(const Bitmap& b, std::vector<std::string> zint) {
    size_t cols = 0;
    for (std::string& r : zint) {
        const size_t last = r.find_last_of('1');
        cols = std::max(cols, last == std::string::npos ? 0 : last + 1);
    }
    const auto [top, bottom] = barBand(b);
    int left = b.width, right = -1;
    for (int y = top; y < bottom; ++y)
        for (int x = 0; x < b.width; ++x)
            if (dark(b, x, y)) left = std::min(left, x), right = std::max(right, x);
    if (right < left || cols == 0) return "no bars";
    const double h = (bottom - top) / static_cast<double>(zint.size());
    const double w = (right + 1 - left) / static_cast<double>(cols);
    int wrong = modulesWrong(b, zint, cols, top, h, left, w);
    for (size_t r = 0; r < zint.size() && wrong > 0; ++r) {
        const size_t first = zint[r].find('1'), last = zint[r].find_last_of('1');
        if (first == std::string::npos || last == first) continue;
        const int y = top + static_cast<int>((r + 0.5) * h);
        int inkLeft = 0, inkRight = b.width - 1;
        while (inkLeft < b.width && !dark(b, inkLeft, y)) ++inkLeft;
        while (inkRight > inkLeft && !dark(b, inkRight, y)) --inkRight;
        if (inkRight <= inkLeft) continue;
        const double rowW = (inkRight + 1 - inkLeft) / static_cast<double>(last + 1 - first);
        wrong = std::min(wrong, modulesWrong(b, zint, cols, top, h, inkLeft - first * rowW, rowW));
    }
    if (wrong == 0) return {};
    return std::to_string(wrong) + " of " + std::to_string(cols * zint.size()) +
           " modules differ from zint's " + std::to_string(zint.size()) + " rows of " +
           std::to_string(cols);
}

std::string againstZint(const Bitmap& b, const SweepCase& c) {
    if (!testsupport::requireProgram("zint", "zint")) return "no zint";
    const std::vector<std::string> rows = testsupport::zintRows(c.reader.substr(5), c.read);
    if (rows.empty()) return "zint refused " + c.read;
    if (rows.size() > 1) return gridAgainstZint(b, rows);
    // The image's runs start and end with a bar: so do these.
    std::string bits = rows.front();
    bits.erase(bits.find_last_of('1') + 1);
    bits.erase(0, bits.find('1'));
    std::vector<int> runs;
    for (size_t i = 0; i < bits.size();) {
        size_t j = i;
        while (j < bits.size() && bits[j] == bits[i]) ++j;
        runs.push_back(static_cast<int>(j - i));
        i = j;
    }
    return linearAgainstZint(b, runs);
}

// What is wrong with the symbol of the picture; empty when it reads right.
std::string readBack(const Bitmap& page, const SweepCase& c) {
    if (page.width == 0) return "no page";
    const Bitmap b = testsupport::cropToInk(page, 40);
    if (b.width <= 80) return "no ink";
    if (c.reader.rfind("zint:", 0) == 0) return againstZint(b, c);
    if (c.reader.rfind("runs:", 0) == 0) {
        std::istringstream in(c.reader.substr(5));
        std::vector<int> runs;
        for (int r; in >> r;) runs.push_back(r);
        return linearAgainstZint(b, runs);
    }
    std::string format = c.reader, how;
    if (const size_t slash = format.find('/'); slash != std::string::npos) {
        how = format.substr(slash + 1);
        format.erase(slash);
    }
    testsupport::ReadOptions opt;
    opt.code39FullAscii = how == "fullascii";
    opt.code39Check = how == "check" || how == "fullascii";
    opt.codabarStartStop = how == "startstop";
    const bool addOn = !format.empty() && format.back() == '+';
    if (addOn) format.pop_back();
    if (format == "*") format.clear();
    const testsupport::Decoded d =
        addOn ? testsupport::decodeWithAddOn(b, format) : testsupport::decode(b, format, opt);
    if (!d.ok) return "unread: " + d.error;
    const std::string text = c.read.rfind("]", 0) == 0 ? d.symbologyId + d.text : d.text;
    return text == c.read ? std::string() : "read " + d.format + " \"" + text + "\"";
}

// ---- the human-readable line of a PDF --------------------------------------

std::string withoutBlanks(const std::string& s) {
    std::string out;
    for (char ch : s)
        if (ch != ' ' && ch != '\n' && ch != '\f' && ch != '\r' && ch != '\t') out += ch;
    return out;
}

// The outlines filled in the PDF's page that are not rectangles: the glyphs that
// a font drawn as paths leaves (bars and boxes are rectangles).
int glyphOutlines(const std::string& pdf) {
    const std::string plain = pdf + ".qdf";
    testsupport::runCommand("qpdf --qdf --object-streams=disable '" + pdf + "' '" + plain + "'");
    std::istringstream in(testsupport::slurp(plain));
    int glyphs = 0;
    std::string ops;  // the path operators since the last paint
    bool inStream = false;
    for (std::string line; std::getline(in, line);) {
        if (line == "stream") inStream = true;
        if (line == "endstream") inStream = false;
        if (!inStream || line.empty()) continue;
        const std::string op = line.substr(line.find_last_of(' ') + 1);
        if (op == "m" || op == "l" || op == "c" || op == "h" || op == "re" || op == "v" ||
            op == "y") {
            ops += op + " ";
        } else if (op == "f" || op == "f*" || op == "b" || op == "B" || op == "S" || op == "n") {
            const bool rectangle =
                ops == "re " || ops == "m l l l l " || ops == "m l l l h " || ops == "m l l l ";
            if (!ops.empty() && !rectangle && op != "n") ++glyphs;
            ops.clear();
        }
    }
    return glyphs;
}

// What the PDF's text line misses of `shown`: the text pdftotext finds must hold
// its characters in order; text drawn as outlines must have a glyph each. Nor
// may the page show a character outside plain ASCII that `shown` lacks (element
// bytes taken for text).
std::string textFault(const std::string& pdf, const std::string& shown) {
    const std::string want = withoutBlanks(shown);
    const std::string text =
        withoutBlanks(testsupport::runCommand("pdftotext '" + pdf + "' -").out);
    constexpr unsigned char kFirstPrintable = 0x20, kLastAscii = 0x7E;
    for (const char ch : text) {
        const auto b = static_cast<unsigned char>(ch);
        if ((b < kFirstPrintable || b > kLastAscii) && want.find(ch) == std::string::npos)
            return "text \"" + text + "\" shows characters \"" + shown + "\" has not";
    }
    size_t at = 0;
    for (char ch : text)
        if (at < want.size() && ch == want[at]) ++at;
    if (at == want.size()) return {};
    const int glyphs = glyphOutlines(pdf);
    if (static_cast<int>(text.size()) + glyphs >= static_cast<int>(want.size())) return {};
    return "text \"" + text + "\" and " + std::to_string(glyphs) + " outlines for \"" + shown +
           "\"";
}

// ---- batches through the outside programs ----------------------------------

Bitmap readPage(const std::string& pgm) {
    Bitmap b;
    testsupport::readPGM(pgm, &b);
    fs::remove(pgm);
    return b;
}

// One Ghostscript run over many PDF files, each page read in turn.
template <typename Each>
void throughGhostscript(const std::vector<std::string>& pdfs, int dpi, Each each) {
    constexpr size_t kBatch = 25;  // pages of a run kept on disc at once
    for (size_t first = 0; first < pdfs.size(); first += kBatch) {
        const size_t end = std::min(pdfs.size(), first + kBatch);
        const std::string pages = fs::path(pdfs[first]).parent_path() / "gs-%04d.pgm";
        std::string cmd = "timeout 300 gs -q -dSAFER -dBATCH -dNOPAUSE -sDEVICE=pgmraw -r" +
                          std::to_string(dpi) + testsupport::kGhostscriptAntiAlias +
                          " -sOutputFile='" + pages + "'";
        std::vector<size_t> present;
        for (size_t i = first; i < end; ++i)
            if (fs::exists(pdfs[i])) {
                cmd += " '" + pdfs[i] + "'";
                present.push_back(i);
            }
        testsupport::runCommand(cmd);
        for (size_t k = 0; k < present.size(); ++k) {
            char page[64];
            std::snprintf(page, sizeof page, "gs-%04zu.pgm", k + 1);
            each(present[k], readPage((fs::path(pdfs[first]).parent_path() / page).string()));
        }
    }
}

Bitmap throughPoppler(const std::string& pdf, int dpi) {
    if (!fs::exists(pdf)) return {};
    testsupport::runCommand("timeout 120 pdftoppm -r " + std::to_string(dpi) +
                            " -gray -singlefile '" + pdf + "' '" + pdf + "'");
    return readPage(pdf + ".pgm");
}

Bitmap greyOf(const std::string& path) { return testsupport::greyOfImage(path); }

// Vector output is rendered anti-aliased, as pdftoppm renders it: Ghostscript's
// plain fill darkens every pixel a bar touches, a gain of a quarter of a 0.33 mm
// module at 300 dpi that any vector file of the symbol suffers (zint's own
// EPS of DataBar-14 goes unread the same way) and that bar width reduction is for.
constexpr int kVectorDpi = 300;
constexpr int kPageDpi = 300;

// ---- the sweep, one output kind a test -------------------------------------

struct CodeTypeSweep : ::testing::Test {
    std::vector<SweepCase> cases = sweepCases();
    std::string folder = testsupport::freshFolder("sweep");
};

TEST_F(CodeTypeSweep, Eps) {
    const std::vector<std::string> eps = makeFiles(cases, folder, ".eps", false);
    std::vector<std::string> made;
    std::vector<size_t> which;
    for (size_t i = 0; i < eps.size(); ++i)
        if (fs::exists(eps[i])) made.push_back(eps[i]), which.push_back(i);
    const std::vector<Bitmap> pages = testsupport::renderEpsFiles(made, kVectorDpi, true);
    Verdicts v("eps");
    std::vector<bool> read(cases.size());
    for (size_t k = 0; k < made.size(); ++k) {
        v.add(cases[which[k]], readBack(pages[k], cases[which[k]]));
        read[which[k]] = true;
    }
    for (size_t i = 0; i < cases.size(); ++i)
        if (!read[i]) v.add(cases[i], "no file made");
}

TEST_F(CodeTypeSweep, PdfAndItsText) {
    const std::vector<std::string> pdf = makeFiles(cases, folder, ".pdf", false);
    Verdicts v("pdf"), text("pdf-text");
    throughGhostscript(pdf, kVectorDpi, [&](size_t i, const Bitmap& page) {
        v.add(cases[i], readBack(page, cases[i]));
    });
    for (size_t i = 0; i < cases.size(); ++i) {
        if (!fs::exists(pdf[i])) {
            v.add(cases[i], "no file made");
            continue;
        }
        if (cases[i].shown != "-") text.add(cases[i], textFault(pdf[i], cases[i].shown));
    }
}

TEST_F(CodeTypeSweep, PictureThroughLibreOffice) {
    if (!testsupport::requireProgram("soffice", "libreoffice-draw-nogui")) return;
    const std::vector<std::string> pict = makeFiles(cases, folder, ".pict", false);
    // LibreOffice knows a picture file by its extension; one run converts them all.
    std::string names;
    for (const std::string& p : pict) {
        if (!fs::exists(p)) continue;
        const std::string pct = fs::path(p).replace_extension(".pct");
        fs::rename(p, pct);
        names += " '" + pct + "'";
    }
    const testsupport::RunResult lo = testsupport::runCommand(
        "cd '" + folder + "' && timeout 600 soffice -env:UserInstallation=file://" + folder +
        "/profile --headless --convert-to pdf --outdir '" + folder + "'" + names);
    EXPECT_EQ(lo.status, 0) << lo.err;
    Verdicts v("pict");
    for (size_t i = 0; i < cases.size(); ++i) {
        const std::string pdf = fs::path(pict[i]).replace_extension(".pdf");
        if (!fs::exists(pdf)) {
            v.add(cases[i], "no picture made or converted");
            continue;
        }
        testsupport::runCommand("timeout 120 pdftoppm -r " + std::to_string(kPageDpi) +
                                " -gray -aa no -aaVector no -singlefile '" + pdf + "' '" + pdf +
                                "'");
        v.add(cases[i], readBack(readPage(pdf + ".pgm"), cases[i]));
    }
}

TEST_F(CodeTypeSweep, Tiff) {
    const std::vector<std::string> tif = makeFiles(cases, folder, ".tif", false);
    Verdicts v("tiff");
    for (size_t i = 0; i < cases.size(); ++i)
        v.add(cases[i], fs::exists(tif[i]) ? readBack(greyOf(tif[i]), cases[i]) : "no file made");
}

TEST_F(CodeTypeSweep, PrintedPdfThroughGhostscript) {
    const std::vector<std::string> pdf = makeFiles(cases, folder, ".pdf", true);
    Verdicts v("print-gs");
    std::vector<bool> read(cases.size());
    throughGhostscript(pdf, kVectorDpi, [&](size_t i, const Bitmap& page) {
        v.add(cases[i], readBack(page, cases[i]));
        read[i] = true;
    });
    for (size_t i = 0; i < cases.size(); ++i)
        if (!read[i]) v.add(cases[i], "no file made");
}

TEST_F(CodeTypeSweep, PrintedPdfThroughPoppler) {
    const std::vector<std::string> pdf = makeFiles(cases, folder, ".pdf", true);
    Verdicts v("print-poppler");
    for (size_t i = 0; i < cases.size(); ++i)
        v.add(cases[i], fs::exists(pdf[i]) ? readBack(throughPoppler(pdf[i], kPageDpi), cases[i])
                                           : "no file made");
}

// The sweep holds every code type that --help lists but Small EAN, whose digits no
// reader reads (cli_small_ean_test.cpp holds it), and --help lists every type swept.
TEST(CodeTypeSweepTable, CoversEveryListedCodeType) {
    constexpr const char* kNotSwept = "Small EAN";
    const testsupport::RunResult help = testsupport::runCommand(STRIXEL_BINARY " --help");
    const size_t at = help.out.find("Code types that can be made");
    ASSERT_NE(at, std::string::npos);
    std::vector<std::string> names;
    for (size_t q = help.out.find('"', at); q != std::string::npos;) {
        const size_t end = help.out.find('"', q + 1);
        names.push_back(help.out.substr(q + 1, end - q - 1));
        q = help.out.find('"', end + 1);
    }
    ASSERT_GT(names.size(), 100u);
    const std::vector<SweepCase> cases = sweepCases();
    for (const std::string& n : names) {
        const bool swept = std::any_of(cases.begin(), cases.end(), [&](const SweepCase& c) {
            return c.keys.find("type:\"" + n + "\"") != std::string::npos;
        });
        EXPECT_TRUE(swept || n == kNotSwept) << "no sweep case for " << n;
    }
    for (const SweepCase& c : cases) {
        const size_t type = c.keys.find("type:\"");
        if (type == std::string::npos) continue;
        const size_t from = type + std::strlen("type:\""), end = c.keys.find('"', from);
        const std::string n = c.keys.substr(from, end - from);
        EXPECT_NE(std::find(names.begin(), names.end(), n), names.end()) << n << " is not listed";
    }
}

}  // namespace
