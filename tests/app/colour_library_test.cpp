#include <filesystem>

#include "app/colourLibraries.h"
#include "app_world.h"
#include "platform/questions.h"
#include "symbology/state.h"

namespace {

namespace fs = std::filesystem;
using ColourLibraries = SettingsWorld;

// A library of made-up colours: LF and CR LF line ends, a line that names a
// colour without numbers, a colour whose name holds another's.
constexpr const char* kLibrary =
    "0.5 0 1 0.25 Strixel Sun\n"
    "see Strixel Moss for the moss\r\n"
    "0.29 1.5 -0.2 0.07 Strixel Moss Deep\r\n"
    "0 0 0 1 Strixel Moss\n"
    "0.1 0.2 0.3 0.4 TRUMATCH 118\n"
    "0.5 0.6 0.7 0.8 TRUMATCH 18\n"
    "0.9 0.9 0.9 0.9 Strixel Fern Light\n";

std::string library(const std::string& data, int32_t number) {
    const std::string folder = data + "/strixel/Colours";
    fs::create_directories(folder);
    return folder + "/" + libraryFileName(number);
}

TEST_F(ColourLibraries, FoundByNameWithItsProcessColours) {
    put(library(data, 8), kLibrary);
    int32_t c = -1, m = -1, y = -1, k = -1;
    ASSERT_EQ(SearchLibrary(8, &c, &m, &y, &k, "Strixel Sun"), 1);
    EXPECT_EQ(c, 50);
    EXPECT_EQ(m, 0);
    EXPECT_EQ(y, 100);
    EXPECT_EQ(k, 25);
    EXPECT_TRUE(pstrEquals(gSym.customCol, "TRUMATCH Strixel Sun"));
    EXPECT_EQ(gSym.customColour, 1);
    EXPECT_EQ(platform::gaugeRecord().title, "Searching Database");
    EXPECT_FALSE(platform::gaugeRecord().open);

    // The line without numbers is passed over; the colour of that very name wins
    // over an earlier one whose name holds it, with or without the library's own
    // words before it, and a name is never found in another's numbers.
    ASSERT_EQ(SearchLibrary(8, &c, &m, &y, &k, "Strixel Moss"), 1);
    EXPECT_EQ(c, 0);
    EXPECT_EQ(k, 100);
    ASSERT_EQ(SearchLibrary(8, &c, &m, &y, &k, "18"), 1);
    EXPECT_EQ(c, 50);
    EXPECT_TRUE(pstrEquals(gSym.customCol, "TRUMATCH 18"));
    ASSERT_EQ(SearchLibrary(8, &c, &m, &y, &k, "0.9"), 0);
    gMsg.shown = 0;
    // Else the first whose name holds the text; values are held to 0..100 and
    // 0.29 is 29.
    ASSERT_EQ(SearchLibrary(8, &c, &m, &y, &k, "Moss De"), 1);
    EXPECT_EQ(c, 29);
    EXPECT_EQ(m, 100);
    EXPECT_EQ(y, 0);
    EXPECT_EQ(k, 7);
    ASSERT_EQ(SearchLibrary(8, &c, &m, &y, &k, "Fern"), 1);
    EXPECT_EQ(c, 90);
    EXPECT_EQ(gMsg.shown, 0);
}

TEST_F(ColourLibraries, TheLibrarysWordsStandOnceInTheSpotName) {
    put(library(data, 8), kLibrary);
    put(library(data, 1), "1 0.5 0 0 PANTONE 300 C\n0 1 0 0 185\n");
    int32_t c = -1, m = -1, y = -1, k = -1;
    // Typed as its line names it, in part or whole, and with the words around a part.
    const std::pair<int32_t, const char*> typed[] = {
        {8, "TRUMATCH 18"}, {1, "300"}, {1, "300 C"}, {1, "PANTONE 300 C"}, {1, "PANTONE 300"}};
    for (const auto& [lib, name] : typed) {
        ASSERT_EQ(SearchLibrary(lib, &c, &m, &y, &k, name), 1) << name;
        const std::string want = lib == 8 ? "TRUMATCH 18" : "PANTONE 300 C";
        EXPECT_TRUE(pstrEquals(gSym.customCol, want.c_str())) << name;
    }
    // A line naming the colour alone takes the library's words.
    ASSERT_EQ(SearchLibrary(1, &c, &m, &y, &k, "185"), 1);
    EXPECT_TRUE(pstrEquals(gSym.customCol, "PANTONE 185 C"));
}

TEST_F(ColourLibraries, MissingNameOrFileLeavesTheColours) {
    put(library(data, 5), kLibrary);
    int32_t c = -1, m = -1, y = -1, k = -1;
    EXPECT_EQ(SearchLibrary(5, &c, &m, &y, &k, "Strixel Sky"), 0);
    EXPECT_NE(gMsg.last.find("not in the chosen colour library"), std::string::npos);
    EXPECT_EQ(SearchLibrary(3, &c, &m, &y, &k, "Strixel Sun"), 0);
    EXPECT_NE(gMsg.last.find("could not be found"), std::string::npos);
    for (int32_t bad : {0, 11, -1}) {
        gMsg.last.clear();
        EXPECT_EQ(SearchLibrary(bad, &c, &m, &y, &k, "Strixel Sun"), 0);
        EXPECT_NE(gMsg.last.find("could not be found"), std::string::npos);
    }
    EXPECT_EQ(c, -1);
    EXPECT_EQ(gSym.customColour, 0);
    // A tiny file is searched, not divided by.
    put(library(data, 6), "0 0");
    EXPECT_EQ(SearchLibrary(6, &c, &m, &y, &k, "0"), 0);
    // The library's name is given whole; a long name is held to 255 bytes.
    ASSERT_EQ(SearchLibrary(5, &c, &m, &y, &k, "Strixel Sun"), 1);
    EXPECT_TRUE(pstrEquals(gSym.customCol, "Strixel Sun"));
}

TEST_F(ColourLibraries, GetToCharStopsWhereTold) {
    unsigned char out[256];
    EXPECT_EQ(GetToChar(out, "abc,def>ghi", 0, ','), 3);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(out + 1), out[0]), "abc");
    EXPECT_EQ(GetToChar(out, "abc,def>ghi", 3, ','), 7);  // the first is taken whatever it is
    EXPECT_EQ(std::string(reinterpret_cast<char*>(out + 1), out[0]), ",def");
    EXPECT_EQ(GetToChar(out, "abc", 3, ','), 3);
    EXPECT_EQ(out[0], 0);
    const std::string longText(600, 'x');
    EXPECT_EQ(GetToChar(out, longText.c_str(), 0, ','), 254);
    EXPECT_EQ(out[255], 0);
}

}  // namespace
