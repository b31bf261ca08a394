// Data and flags the user gave are written as given or refused: each refusal
// gives its message, exit status 1 and no file.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <map>
#include <regex>
#include <string>
#include <vector>

#include "cli_run.h"
#include "support/grey_image.h"

namespace {

namespace fs = std::filesystem;

TEST(Refusals, EachGivesItsMessageAndLeavesNoFile) {
    for (const auto& c : testsupport::readCases("automation/refusals.txt", 4)) {
        SCOPED_TRACE(c[0] + " " + c[1] + " " + c[2]);
        const std::string path = fresh(c[1]);
        std::vector<std::string> args = words(c[0]);
        args.push_back(record(c[2], path));
        const CliRun r = run(args);
        EXPECT_EQ(r.status, 1);
        EXPECT_NE(r.err.find(c[3]), std::string::npos) << r.err;
        EXPECT_FALSE(fs::exists(path));
    }
}

// A digit beyond the length that is the symbol's own check digit is taken, and
// the symbol carries exactly the digits typed.
TEST(TypedData, TheCheckDigitBeyondTheLengthIsTaken) {
    const struct {
        const char* type;
        const char* data;
        const char* format;
        const char* read;
    } cases[] = {{"NDC UPC 5-3-2", "36000291453", "UPC-A", "336000291453"},
                 {"WHS 6", "123457", "EAN-8", "00123457"},
                 {"MS 7A", "12345670", "EAN-8", "12345670"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.type);
        const std::string path = fresh("taken.eps");
        ASSERT_EQ(run({record(c.type, c.data, path)}).status, 0);
        EXPECT_EQ(testsupport::decode(rendered(path), c.format).text, c.read);
    }
}

// The size that a DataMatrix option names is the size made, in either case of X;
// the QR version is the whole number given.
TEST(TypedData, SizesAndVersionsAreTheOnesNamed) {
    const std::string path = testsupport::tempPath("size.eps");
    ASSERT_EQ(run({record("Datamatrix", "A", path, ", options:\"24x24\"")}).status, 0);
    const std::string upper = testsupport::tempPath("size2.eps");
    ASSERT_EQ(run({record("Datamatrix", "A", upper, ", options:\"24X24\"")}).status, 0);
    EXPECT_EQ(testsupport::slurp(path).size(), testsupport::slurp(upper).size());
    const std::string smallest = testsupport::tempPath("size3.eps");
    ASSERT_EQ(run({record("Datamatrix", "A", smallest)}).status, 0);
    EXPECT_GT(testsupport::slurp(path).size(), testsupport::slurp(smallest).size());
}

// Types that read their options still take them (the ones that read none are
// refused, in the refusals file), and the symbol holds the data typed.
TEST(TypedData, TypesThatReadOptionsTakeThem) {
    const struct {
        const char *type, *data, *options, *format, *read;
    } cases[] = {{"Code 39 NC", "ABC", "3", "Code39", "ABC"},
                 {"Databar", "(01)00123456789012", "4", "", ""},
                 {"QRCode", "Strixel", "H", "QRCode", "Strixel"},
                 {"Datamatrix", "Strixel", "24x24", "DataMatrix", "Strixel"},
                 {"SCC 14", "1234567890123", "12", "ITF", "12345678901231"},
                 {"Telepen", "ABC", "1", "", ""}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.type);
        const std::string path = fresh("options.eps");
        const CliRun r =
            run({record(c.type, c.data, path, ", options:\"" + std::string(c.options) + "\"")});
        ASSERT_EQ(r.status, 0) << r.err;
        if (*c.format) {
            EXPECT_EQ(testsupport::decode(rendered(path), c.format).text, c.read);
        }
    }
}

// Height 0 is the type's own height for every type: never a symbol of no height.
TEST(TypedData, HeightZeroIsTheTypesOwnHeight) {
    const struct {
        const char* type;
        const char* data;
    } cases[] = {{"Codablock F", "Strixel Codablock"},
                 {"Code 128", "ABC123"},
                 {"EAN 13", "400638133393"},
                 {"EAN 8", "9638507"},
                 {"PDF417", "Strixel"},
                 {"Datamatrix", "Strixel"}};
    const std::regex box(R"(%%BoundingBox: (-?\d+) (-?\d+) (-?\d+) (-?\d+))");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.type);
        const std::string zero = testsupport::tempPath("h0.eps");
        const std::string own = testsupport::tempPath("hown.eps");
        const CliRun r =
            run({record(c.type, c.data, zero, ", height:\"0\""), record(c.type, c.data, own)});
        ASSERT_EQ(r.status, 0) << r.err;
        std::smatch m0, m1;
        const std::string a = testsupport::slurp(zero), b = testsupport::slurp(own);
        ASSERT_TRUE(std::regex_search(a, m0, box));
        ASSERT_TRUE(std::regex_search(b, m1, box));
        EXPECT_GT(std::stoi(m0[4]), std::stoi(m0[2]));
        EXPECT_EQ(m0.str(0), m1.str(0));
    }
}

// The height an EPS file's options line gives, in millimetres.
double linedHeight(const std::string& path) {
    const std::string text = testsupport::slurp(path);
    const size_t at = text.find("height:\"");
    EXPECT_NE(at, std::string::npos);
    return at == std::string::npos ? 0 : std::stod(text.substr(at + 8));
}

// Without a height of its own a symbol takes its type's height at its size, as the
// main window's size field gives it, whichever key comes first; a height given
// stays, and so does an opened file's.
TEST(TypedData, TheTypesOwnHeightFollowsTheSize) {
    const struct {
        const char* type;
        const char* data;
        double nominal;  // mm at 100 %
    } cases[] = {{"EAN 13", "400638133393", 26.26}, {"Databar 14", "1234567890123", 15}};
    for (const auto& c : cases) {
        for (const char* size : {"80", "100", "200"}) {
            SCOPED_TRACE(std::string(c.type) + " at " + size);
            const std::string none = fresh("none.eps"), zero = fresh("zero.eps"),
                              given = fresh("given.eps");
            const std::string sized = ", size:\"" + std::string(size) + "\"";
            ASSERT_EQ(run({record(c.type, c.data, none, sized),
                           record(c.type, c.data, zero, ", height:\"0\"" + sized),
                           record(c.type, c.data, given, sized + ", height:\"20\"")})
                          .status,
                      0);
            EXPECT_NEAR(linedHeight(none), c.nominal * std::stod(size) / 100, 1e-6);
            EXPECT_EQ(linedHeight(zero), linedHeight(none));
            EXPECT_EQ(linedHeight(given), 20);
        }
    }
    // The bars grow with the symbol: the ink is twice as tall at twice the size.
    const std::string whole = fresh("whole.eps"), twice = fresh("twice.eps"),
                      reopened = fresh("reopened.eps");
    ASSERT_EQ(run({ean13(whole), ean13(twice, ", size:\"200\"")}).status, 0);
    auto inkHeight = [](const std::string& path) {
        const testsupport::Rendered r = testsupport::renderWithGhostscript(path, 400);
        EXPECT_TRUE(r.ok) << r.err;
        return testsupport::cropToInk(r.bitmap, 0).height;
    };
    const int wholeInk = inkHeight(whole);
    EXPECT_NEAR(inkHeight(twice), 2 * wholeInk, wholeInk / 50 + 2);
    // An opened file's line always gives its height, which the record's size keeps.
    ASSERT_EQ(run({"--open", whole, record("size:\"200\"", reopened)}).status, 0);
    EXPECT_EQ(linedHeight(reopened), linedHeight(whole));
}

// The ink each plate of a file's separations holds, in pixels, by plate name.
std::map<std::string, int> plateInk(const std::string& path) {
    const std::string plates = testsupport::tempPath("plates");
    fs::remove_all(plates);
    fs::create_directories(plates);
    const testsupport::RunResult gs = testsupport::runCommand(
        "gs -q -dSAFER -dBATCH -dNOPAUSE -dEPSCrop -r72 -sDEVICE=tiffsep -o '" + plates +
        "/p.tif' '" + path + "'");
    EXPECT_EQ(gs.status, 0) << gs.err;
    std::map<std::string, int> ink;
    for (const fs::directory_entry& e : fs::directory_iterator(plates)) {
        const std::string name = e.path().filename().string();
        if (!name.starts_with("p(")) continue;
        const testsupport::Bitmap b = testsupport::greyOfImage(e.path().string());
        int n = 0;
        for (const uint8_t px : b.pixels) n += px < 128;
        ink[name.substr(2, name.size() - 7)] = n;  // between "p(" and ").tif"
    }
    return ink;
}

// A record's spot colour name turns the spot colour on: the Illustrator dialects
// from 88 on name it in their comments and paint with it, PDF through a
// Separation colour space, and Ghostscript's separations give it a plate of its
// own; dialect 1 paints in process colour.
TEST(SpotColour, TheNameTurnsItOn) {
    const std::string spot = ", spotname:\"Strixel Blue\"";
    const auto expectPlate = [](const std::string& path) {
        EXPECT_EQ(plateInk(path).count("Strixel Blue"), 1u);
    };
    for (const char* dialect : {"--dialect=ai88", "--dialect=ai3", "--dialect=ai5"}) {
        SCOPED_TRACE(dialect);
        const std::string path = testsupport::tempPath("spot.eps");
        const std::string plain = testsupport::tempPath("plain.eps");
        ASSERT_EQ(run({dialect, record("EAN 13", "400638133393", path, spot),
                       record("EAN 13", "400638133393", plain)})
                      .status,
                  0);
        const std::string eps = testsupport::slurp(path);
        EXPECT_NE(eps.find("%%DocumentCustomColors: (Strixel Blue)\r"), std::string::npos);
        EXPECT_NE(eps.find("%%CMYKCustomColor: "), std::string::npos);
        EXPECT_NE(eps.find("(Strixel Blue) 0 x\r"), std::string::npos);
        EXPECT_EQ(testsupport::slurp(plain).find("%%DocumentCustomColors"), std::string::npos);
        expectPlate(path);
    }
    // PDF: the name as a PDF name, the colour's CMYK as the alternate.
    const std::string pdf = testsupport::tempPath("spot.pdf");
    const std::string plainPdf = testsupport::tempPath("plain.pdf");
    ASSERT_EQ(run({"--dialect=pdf",
                   record("EAN 13", "400638133393", pdf, spot + ", colour:\"0 100 50 5\""),
                   record("EAN 13", "400638133393", plainPdf)})
                  .status,
              0);
    const std::string out = testsupport::slurp(pdf);
    EXPECT_NE(out.find("/ColorSpace 7 0 R\r"), std::string::npos);
    EXPECT_NE(out.find("/CS0 [/Separation /Strixel#20Blue /DeviceCMYK << /FunctionType 2 "
                       "/Domain [0 1] /C0 [0 0 0 0] /C1 [0 1 .50 .05] /N 1 >>]"),
              std::string::npos)
        << out;
    EXPECT_NE(out.find("/CS0 cs 1 scn\r"), std::string::npos);
    EXPECT_EQ(out.find("0 1 .50 .05 k"), std::string::npos) << "no bar in process colour";
    EXPECT_EQ(testsupport::slurp(plainPdf).find("/ColorSpace"), std::string::npos);
    EXPECT_EQ(testsupport::qpdfCheck(pdf).status, 0);
    expectPlate(pdf);

    const std::string path = testsupport::tempPath("spot-process.eps");
    ASSERT_EQ(run({"--dialect=ai1", record("EAN 13", "400638133393", path, spot)}).status, 0);
    const std::string eps = testsupport::slurp(path);
    EXPECT_EQ(eps.find("(Strixel Blue) 0 x"), std::string::npos);
    EXPECT_NE(eps.find(" k\r"), std::string::npos);
}

// ITF-6 shows its digits above the bars and has no line under them: none of
// its element bytes (whatever the bar height repeats of its row) is set as text.
TEST(TextLine, ItfSixShowsNoElementBytes) {
    for (const char* more : {"", R"(, height:"40")"}) {
        SCOPED_TRACE(more);
        const std::string pdf = testsupport::tempPath("itf6.pdf");
        const std::string eps = testsupport::tempPath("itf6.eps");
        ASSERT_EQ(run({record("ITF6 NoCheck", "123456", pdf, more),
                       record("ITF6 NoCheck", "123456", eps, more)})
                      .status,
                  0);
        const std::string text = testsupport::runCommand("pdftotext '" + pdf + "' -").out;
        EXPECT_EQ(text.find_first_not_of("123456 \n\f"), std::string::npos) << text;
        // The EPS sets no text of its own either: its digits are drawn glyphs.
        EXPECT_EQ(testsupport::slurp(eps).find(")Tx\r"), std::string::npos);
    }
}

// The marks drawn around a symbol, Small EAN's open frame and the top bar of
// the Peacocks ITF (stroked in dialects 1 and 88), are in the symbol's colour:
// a spot job makes no black plate, a magenta symbol none either.
TEST(SpotColour, MarksAroundTheSymbolTakeItsColour) {
    const struct {
        const char* dialect;
        const char* keys;
        const char* ext;
        const char* plate;
    } cases[] = {
        {"--dialect=ai3", R"(type:"Small EAN", data:"1234567", colour:"0 0 0 100", spotname:"SP")",
         ".eps", "SP"},
        {"--dialect=ai88", R"(type:"Small EAN", data:"1234567", colour:"0 0 0 100", spotname:"SP")",
         ".eps", "SP"},
        {"--dialect=ai3", R"(type:"Small EAN", data:"1234567", colour:"0 100 0 0")", ".eps",
         "Magenta"},
        {"--dialect=pdf", R"(type:"Small EAN", data:"1234567", colour:"0 100 0 0")", ".pdf",
         "Magenta"},
        {"--dialect=ai88", R"(type:"Peacocks New ITF", data:"1234567", colour:"0 100 0 0")", ".eps",
         "Magenta"},
        {"--dialect=ai1", R"(type:"Peacocks New ITF", data:"1234567", colour:"0 100 0 0")", ".eps",
         "Magenta"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.dialect) + " " + c.keys);
        const std::string path = testsupport::tempPath(std::string("marks") + c.ext);
        ASSERT_EQ(run({c.dialect, record(c.keys, path)}).status, 0);
        const std::map<std::string, int> ink = plateInk(path);
        EXPECT_GT(ink.count(c.plate) ? ink.at(c.plate) : 0, 0);
        EXPECT_EQ(ink.count("Black") ? ink.at("Black") : 0, 0) << "a mark in process black";
    }
}

// The symbol's item keeps the spot colour name beside its font name: a name
// that does not fit is refused whole, not painted cut while the header names it
// whole; the longest that fits is painted as named.
TEST(SpotColour, ANameLongerThanTheItemKeepsIsRefused) {
    const std::string path = testsupport::tempPath("long-spot.eps");
    fs::remove(path);
    const auto named = [&path](size_t n) {
        return record("Code 128", "A1", path, ", spotname:\"" + std::string(n, 'N') + "\"");
    };
    const CliRun refused = run({"--dialect=ai3", named(254)});
    EXPECT_EQ(refused.status, 1);
    const std::string says = "record 1: the spot colour name is longer than ";
    const size_t at = refused.err.find(says);
    ASSERT_NE(at, std::string::npos) << refused.err;
    EXPECT_FALSE(fs::exists(path));
    const size_t room = std::stoul(refused.err.substr(at + says.size()));
    ASSERT_LT(room, 254u);
    EXPECT_EQ(run({"--dialect=ai3", named(room + 1)}).status, 1);
    ASSERT_EQ(run({"--dialect=ai3", named(room)}).status, 0);
    const std::string eps = testsupport::slurp(path);
    const std::string name(room, 'N');
    EXPECT_NE(eps.find("%%DocumentCustomColors: (" + name + ")\r"), std::string::npos);
    EXPECT_NE(eps.find("(" + name + ") 0 x\r"), std::string::npos);
}

// A spot colour name is text in strings and comment lines: a line end in it could
// end the comment and let the rest run as PostScript, and names no ink. It is
// refused.
TEST(SpotColour, ALineEndInTheNameIsRefused) {
    const std::string spot = ", spotname:\"PMS 1\r424242 = flush %\"";
    for (const char* dialect :
         {"--dialect=ai88", "--dialect=ai3", "--dialect=ai5", "--dialect=ps"}) {
        SCOPED_TRACE(dialect);
        const bool ps = std::strcmp(dialect, "--dialect=ps") == 0;
        const std::string path = fresh(ps ? "spot-cr.ps" : "spot-cr.eps");
        const CliRun r = run({dialect, record("EAN 13", "400638133393", path, spot)});
        EXPECT_EQ(r.status, 1);
        EXPECT_NE(r.err.find("holds a control character"), std::string::npos) << r.err;
        EXPECT_FALSE(fs::exists(path));
    }
}

}  // namespace
