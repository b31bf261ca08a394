// Data the user typed is encoded as typed or refused: each refusal through the
// command line gives its message, exit status 1 and no file.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "automation/cli.h"
#include "support/reader.h"

namespace {

namespace fs = std::filesystem;

struct CliRun {
    int status = 0;
    std::string err;
};

CliRun run(const std::vector<std::string>& records) {
    std::vector<const char*> argv = {"strixel"};
    for (const std::string& a : records) argv.push_back(a.c_str());
    std::istringstream in;
    std::ostringstream out, err;
    CliRun r;
    r.status = runCommandLine(static_cast<int>(argv.size()), argv.data(), in, out, err);
    r.err = err.str();
    return r;
}

std::string record(const std::string& type, const std::string& data, const std::string& saveto,
                   const std::string& more = "") {
    return "{type:\"" + type + "\", data:\"" + data + "\"" + more + ", saveto:\"" + saveto + "\"}";
}

TEST(TypedData, IsRefusedWhenItWouldEncodeSomethingElse) {
    const struct {
        const char* type;
        std::string data;
        std::string more;
        const char* says;
    } cases[] = {
        {"EAN 13", "4006381333932", "", "check digit of 400638133393 is 1, not 2"},
        {"EAN 13", "40063813339310", "", "EAN 13 takes 12 digits and its check digit"},
        {"UPC A", "036000291453", "", "is 2, not 3"},
        {"EAN 8", "96385075", "", "is 4, not 5"},
        {"EAN 8", "963850741", "", "takes 7 digits and its check digit"},
        {"EAN 128", "(01)15400141288764", "", "check digit of AI (01) is 3, not 4"},
        {"EAN 128", "(01)154001412887", "", "AI (01) takes 14 digits; the data gives 12"},
        {"EAN 128", "(17)991399", "", "AI (17) has the month 13"},
        {"EAN 128", "(17)991232", "", "AI (17) has the day 32"},
        {"EAN 128", "(17)9912", "", "AI (17) takes 6 digits; the data gives 4"},
        {"EAN 128", "(10)ABCDEFGHIJKLMNOPQRSTUVWXYZ", "", "AI (10) takes at most 20"},
        {"EAN 128", "()123", "", "An AI in parentheses is empty"},
        {"EAN 128", "(05)123", "", "AI (05) is not known"},
        {"EAN 128", "(01)15400141288763(10)", "", "AI (10) has no data"},
        {"Datamatrix", "ABC", ", options:\"33X33\"", "There is no DataMatrix size \"33X33\""},
        {"QRCode", "ABC", ", options:\"H41\"", "The QR Code options \"H41\" cannot be read"},
        {"QRCode", "ABC", ", options:\"Z4\"", "The QR Code options \"Z4\" cannot be read"},
        {"Small EAN", "1234567", "", "Small EAN symbols cannot be drawn yet"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.data + c.more);
        const std::string path = testsupport::tempPath("typed.eps");
        fs::remove(path);
        const CliRun r = run({record(c.type, c.data, path, c.more)});
        EXPECT_EQ(r.status, 1);
        EXPECT_NE(r.err.find(c.says), std::string::npos) << r.err;
        EXPECT_FALSE(fs::exists(path));
    }
}

TEST(TypedData, SoundDataIsEncoded) {
    const struct {
        const char* type;
        const char* data;
        const char* more;
        const char* format;
        const char* want;
    } cases[] = {
        {"EAN 13", "4006381333931", "", "EAN-13", "4006381333931"},
        {"UPC A", "036000291452", "", "UPC-A", "036000291452"},
        {"EAN 128", "(01)15400141288763(17)251200(10)AB1", "", "Code128",
         "0115400141288763172512001"
         "0AB1"},
        {"EAN 128", "(01)1540014128876", "", "Code128", "0115400141288763"},
        {"Datamatrix", "Strixel", ", options:\"24x24\"", "DataMatrix", "Strixel"},
        {"QRCode", "Strixel", ", options:\"h12\"", "QRCode", "Strixel"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.data);
        const std::string path = testsupport::tempPath("sound.eps");
        fs::remove(path);
        const CliRun r = run({record(c.type, c.data, path, c.more)});
        ASSERT_EQ(r.status, 0) << r.err;
        const testsupport::Rendered img = testsupport::renderWithGhostscript(path);
        ASSERT_TRUE(img.ok) << img.err;
        const testsupport::Decoded d =
            testsupport::decode(testsupport::padBitmap(img.bitmap, 40), c.format);
        EXPECT_EQ(d.bytes, c.want) << d.error;
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

}  // namespace

namespace {

// A record's spot colour name turns the spot colour on: the Illustrator dialects
// from 88 on name it in their comments and paint with it, and Ghostscript's
// separations give it a plate of its own; dialect 1 and PDF paint in process colour.
TEST(SpotColour, TheNameTurnsItOn) {
    const std::string spot = ", spotname:\"Strixel Blue\"";
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

        const std::string plates = testsupport::tempPath("plates");
        fs::create_directories(plates);
        const testsupport::RunResult gs = testsupport::runCommand(
            "gs -q -dSAFER -dBATCH -dNOPAUSE -dEPSCrop -r72 -sDEVICE=tiffsep -o '" + plates +
            "/p.tif' '" + path + "'");
        EXPECT_EQ(gs.status, 0) << gs.err;
        EXPECT_TRUE(fs::exists(plates + "/p(Strixel Blue).tif"));
    }
    for (const char* dialect : {"--dialect=ai1", "--dialect=pdf"}) {
        SCOPED_TRACE(dialect);
        const std::string path =
            testsupport::tempPath(std::string("spot-process") +
                                  (std::strcmp(dialect, "--dialect=pdf") == 0 ? ".pdf" : ".eps"));
        ASSERT_EQ(run({dialect, record("EAN 13", "400638133393", path, spot)}).status, 0);
        const std::string out = testsupport::slurp(path);
        EXPECT_EQ(out.find("(Strixel Blue) 0 x"), std::string::npos);
        EXPECT_NE(out.find(" k\r"), std::string::npos);
    }
}

}  // namespace
