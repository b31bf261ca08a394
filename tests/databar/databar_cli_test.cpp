// DataBar symbols made by the command line in EPS, PostScript and PDF, rendered
// by Ghostscript and read back by an outside reader.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "automation/cli_run.h"
#include "support/cases.h"
#include "support/grey_image.h"
#include "support/reader.h"

namespace {

// A record that saves the symbol to path.
std::string record(const std::string& type, const std::string& data, const std::string& path) {
    return "{type:\"" + type + "\", data:\"" + data + "\", saveto:\"" + path + "\"}";
}

struct Dialect {
    const char* flag;
    const char* ext;
};
const Dialect kDialects[] = {
    {"--dialect=ai1", ".eps"}, {"--dialect=ps", ".ps"}, {"--dialect=pdf", ".pdf"}};

const char* const kTypes[] = {"Databar 14", "Databar 14 Truncated", "Databar 14 Stacked",
                              "Databar 14 Stacked Omnidirectional"};

std::string readBack(const std::string& path, bool eps, const char* format = "DataBar") {
    const testsupport::Rendered r = testsupport::renderWithGhostscript(path, 400, eps);
    EXPECT_TRUE(r.ok) << r.err;
    if (!r.ok) return {};
    return testsupport::decode(testsupport::cropToInk(r.bitmap, 80), format).text;
}

// What the reader shows: the 13 digits with zeros in front and the check digit;
// with a composite the link flag shows as a leading 1 (the value 10^13 higher).
std::string reads(const std::string& data) {
    const size_t bar = data.find('|');
    const std::string primary = data.substr(0, bar);
    std::string digits = std::string(13 - primary.size(), '0') + primary;
    if (bar != std::string::npos) digits = "1" + digits;
    int sum = 0;
    for (size_t i = 0; i < digits.size(); ++i)
        sum += (digits[digits.size() - 1 - i] - '0') * (i % 2 == 0 ? 3 : 1);
    return digits + static_cast<char>('0' + (10 - sum % 10) % 10);
}

// Every member in every format with the first two; the other items rotate over
// the members.
TEST(DataBarCommandLine, EveryMemberReadsBackInEveryFormat) {
    for (const Dialect& d : kDialects) {
        std::vector<std::string> data;
        for (const auto& c : testsupport::readCases("databar/gtins.txt", 1)) data.push_back(c[0]);
        data.insert(data.begin() + 1, "501234567890|(10)ABC123");
        int turn = 0;
        for (const std::string& g : data) {
            for (int m = 0; m < 4; ++m) {
                if (turn >= 2 && m != turn % 4) continue;
                const char* type = kTypes[m];
                SCOPED_TRACE(std::string(type) + " " + d.flag + " " + g);
                const std::string path = testsupport::tempPath(std::string("db") + d.ext);
                const CliRun r = run({d.flag, record(type, g, path)});
                ASSERT_EQ(r.status, 0) << r.err;
                EXPECT_EQ(readBack(path, std::string(d.ext) == ".eps"), reads(g));
            }
            ++turn;
        }
    }
}

// Expanded Stacked in rows of two and of four segments in a TIFF: the rows and
// separator rows each keep their own height, and the symbol reads back.
TEST(DataBarCommandLine, ExpandedStackedTiffReadsBack) {
    const char* const cases[][2] = {
        {"(01)95326345033465(30)40777869(3305)622978", "2"},
        {"(01)99749644711579(240)hef606612MZZHJTJx(3202)680212", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c[0]) + " in rows of " + (*c[1] ? c[1] : "4"));
        const std::string path = testsupport::tempPath("stacked.tif");
        std::string rec = std::string("{type:\"Databar\", data:\"") + c[0] + "\", ";
        if (*c[1]) rec += std::string("options:\"") + c[1] + "\", ";
        const CliRun r = run({rec + "saveto:\"" + path + "\"}"});
        ASSERT_EQ(r.status, 0) << r.err;
        std::string error;
        const testsupport::Bitmap image = testsupport::greyOfImage(path, &error);
        ASSERT_TRUE(error.empty()) << error;
        const testsupport::Decoded d =
            testsupport::decode(testsupport::cropToInk(image, 80), "DataBarExpanded");
        EXPECT_TRUE(d.ok) << d.error;
        EXPECT_EQ(d.text, c[0]);
    }
}

TEST(DataBarCommandLine, RefusalsExitWithOne) {
    const std::string tooLong = "1|(240)" + std::string(150, '!');
    for (const char* data : {"20012345678901", "2001234567A", "1|", "1|(21)A~B", tooLong.c_str()}) {
        SCOPED_TRACE(data);
        const std::string path = testsupport::tempPath("bad.eps");
        std::remove(path.c_str());
        const CliRun r = run({record("Databar 14", data, path)});
        EXPECT_EQ(r.status, 1);
        EXPECT_FALSE(r.err.empty());
        EXPECT_TRUE(testsupport::slurp(path).empty());
    }
    // Expanded Stacked options that are no even number of segments from 2 to 20.
    for (const char* options : {"3", "22", "6abc", "99999999999"}) {
        SCOPED_TRACE(options);
        const std::string path = testsupport::tempPath("bad.eps");
        std::remove(path.c_str());
        const CliRun r =
            run({std::string("{type:\"Databar\", data:\"(01)98898765432106\", options:\"") +
                 options + "\", saveto:\"" + path + "\"}"});
        EXPECT_EQ(r.status, 1);
        EXPECT_NE(r.err.find("from 2 to 20"), std::string::npos) << r.err;
        EXPECT_TRUE(testsupport::slurp(path).empty());
    }
}

// zbar's reading: the raw data with FNC1 as the group separator, which zxing's
// own AI table would hide.
std::string zbarReads(const std::string& path) {
    const testsupport::Rendered r = testsupport::renderWithGhostscript(path, 400, true);
    EXPECT_TRUE(r.ok) << r.err;
    const std::string pgm = testsupport::tempPath("gs1.pgm");
    if (!r.ok || !testsupport::writePGM(testsupport::cropToInk(r.bitmap, 80), pgm)) return {};
    std::string out = testsupport::zbarimg(pgm).out;
    while (!out.empty() && out.back() == '\n') out.pop_back();
    return out;
}

// GS1 data as typed reaches the reader: an element of fixed length that GS1 gives
// no predefined length (8005, 422) is ended by a separator, '-' is data, blanks
// typed between elements are not, and an item number typed in groups is the number.
TEST(DataBarCommandLine, GS1DataReadsBackAsTyped) {
    struct Typed {
        const char* type;
        const char* data;
        std::string reads;
        const char* raw = nullptr;  // zbar's raw reading, where zxing's AI table hides a fault
    };
    const Typed typed[] = {
        {"Databar Expanded", "(8005)123456(10)AB", "(8005)123456(10)AB",
         "8005123456\x1d"
         "10AB"},
        {"Databar Expanded", "(422)250(21)1-2(410)9501101020917",
         "(422)250(21)1-2(410)9501101020917"},
        {"Databar", "(10)A-B", "(10)A-B"},
        {"Databar Expanded", "(01) 09501234567891 (10)A B", "(01)09501234567891(10)AB"},
        {"Databar 14", "200-1234-567890", reads("2001234567890")},
    };
    for (const Typed& t : typed) {
        SCOPED_TRACE(std::string(t.type) + " " + t.data);
        const std::string path = testsupport::tempPath("gs1.eps");
        const CliRun r = run({record(t.type, t.data, path)});
        ASSERT_EQ(r.status, 0) << r.err;
        const bool expanded = std::string(t.type) != "Databar 14";
        EXPECT_EQ(readBack(path, true, expanded ? "DataBarExpanded" : "DataBar"), t.reads);
        if (t.raw) {
            EXPECT_EQ(zbarReads(path), t.raw);
        }
    }
}

// A value of the wrong length would run into the next element: refused with the
// message GS1-128 gives, in the linear data and in a composite part alike.
TEST(DataBarCommandLine, ValuesOfTheWrongLengthAreRefused) {
    const std::string tooLong = "AI (420) takes at most 9 characters; the data gives 10.";
    const std::string refused[][3] = {
        {"Databar Expanded", "(420)1234567890(30)1", tooLong},
        {"Databar", "(01)09501234567891|(420)1234567890(30)1", tooLong},
        {"Databar 14", "2001234567890|(420)1234567890(30)1", tooLong},
        {"Databar Expanded", "(8005)12345(10)AB", "AI (8005) takes 6 digits; the data gives 5."},
        {"Databar Expanded", "(01)095012345678911", "AI (01) takes 14 digits; the data gives 15."},
    };
    for (const auto& [type, data, message] : refused) {
        SCOPED_TRACE(type + " " + data);
        const std::string path = testsupport::tempPath("overlong.eps");
        std::remove(path.c_str());
        const CliRun r = run({record(type, data, path)});
        EXPECT_EQ(r.status, 1);
        EXPECT_NE(r.err.find(message), std::string::npos) << r.err;
        EXPECT_TRUE(testsupport::slurp(path).empty());
    }
}

// The Expanded types print their whole line of element strings, not the first 18
// characters that fit "(01)" and a GTIN.
TEST(DataBarCommandLine, ExpandedPrintsItsWholeLine) {
    for (const char* type : {"Databar Expanded", "Databar"}) {
        SCOPED_TRACE(type);
        const std::string path = testsupport::tempPath("line.eps");
        const CliRun r = run({record(type, "(10)AB(21)CD(240)EFGH", path)});
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_NE(testsupport::slurp(path).find("(\\(10\\)AB\\(21\\)CD\\(240\\)EFGH)Tx"),
                  std::string::npos);
    }
}

// A symbol too low for its rows under its text is refused, not painted with
// rows turned over (out of its bounding box, or over each other), nor with rows
// of bars thinner than half the separator rows between them; the lowest that fits
// still reads.
TEST(DataBarCommandLine, RowsWithoutRoomAreRefused) {
    struct Low {
        const char* type;
        const char* data;
        const char* height;
        const char* options = "";
    };
    const char* const stacked = "(01)12345678901231(10)ABC123(21)XYZ";  // six rows of two
    const std::string long91 = "(91)" + std::string(68, '7');
    const auto save = [](const Low& l, const std::string& path) {
        std::string rec = "{type:\"" + std::string(l.type) + "\", data:\"" + l.data +
                          "\", height:\"" + l.height + "\", ";
        if (*l.options) rec += std::string("options:\"") + l.options + "\", ";
        return run({rec + "saveto:\"" + path + "\"}"});
    };
    const Low low[] = {
        {"Databar 14", "0", "2"},
        {"Databar 14 Stacked", "0", "4"},
        {"Databar 14 Stacked Omnidirectional", "0", "4"},
        {"Databar Limited", "0", "3"},
        {"Databar Expanded", "(01)98898765432106", "3"},
        {"Databar Coupon", "(8110)106141416543213500110000310123196000", "8"},
        // Rows of bars from about nothing to just under half a module high.
        {"Databar", stacked, "8.82", "2"},
        {"Databar", stacked, "9.87", "2"},
        {"Databar", long91.c_str(), "15", "2"},  // at the type's own height
        {"Databar 14 Stacked", "0", "4.5"},
        {"Databar 14 Stacked Omnidirectional", "0", "4.9"},
    };
    for (const Low& l : low) {
        for (const char* ext : {".eps", ".tif"}) {
            SCOPED_TRACE(std::string(l.type) + " " + l.height + ext);
            const std::string path = testsupport::tempPath(std::string("low") + ext);
            std::remove(path.c_str());
            const CliRun r = save(l, path);
            EXPECT_EQ(r.status, 1);
            EXPECT_NE(r.err.find("The bars have no room"), std::string::npos) << r.err;
            EXPECT_TRUE(testsupport::slurp(path).empty());
        }
    }
    const std::string path = testsupport::tempPath("lowest.eps");
    const CliRun r =
        run({"{type:\"Databar 14\", data:\"0\", height:\"4\", saveto:\"" + path + "\"}"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(readBack(path, true), reads("0"));
    // Rows of bars a little over half a module high are made and read.
    const Low fit[] = {
        {"Databar", stacked, "9.9", "2"},
        {"Databar 14 Stacked", "0", "4.6"},
        {"Databar 14 Stacked Omnidirectional", "0", "5.0"},
    };
    for (const Low& l : fit) {
        SCOPED_TRACE(std::string(l.type) + " " + l.height);
        const std::string eps = testsupport::tempPath("thin.eps");
        const CliRun made = save(l, eps);
        ASSERT_EQ(made.status, 0) << made.err;
        const bool expanded = std::string(l.type) == "Databar";
        EXPECT_EQ(readBack(eps, true, expanded ? "DataBarExpanded" : "DataBar"),
                  expanded ? std::string(l.data) : reads(l.data));
    }
}

TEST(DataBarCommandLine, HelpListsTheMembersThatCanBeMade) {
    const CliRun r = run({"--help"});
    ASSERT_EQ(r.status, 0);
    const std::string& help = r.out;
    const size_t made = help.find("Code types that can be made");
    ASSERT_NE(made, std::string::npos);
    // Every code type is made: the help has no list of the others.
    EXPECT_EQ(help.find("Code types that cannot be made yet"), std::string::npos);
    for (const char* name :
         {"\"Databar 14\"", "\"Databar 14 Stacked Omnidirectional\"", "\"Databar Limited\"",
          "\"Databar Expanded\"", "\"Databar\"", "\"Databar Coupon\""})
        EXPECT_NE(help.find(name, made), std::string::npos) << name;
}

}  // namespace
