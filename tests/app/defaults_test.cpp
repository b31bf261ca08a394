#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>

#include "app/defaultsFile.h"
#include "app/preferences.h"
#include "app_world.h"
#include "labels/labelDoc.h"
#include "labels/printDefaults.h"
#include "picture/PICout2.h"
#include "symbology/appBits.h"
#include "symbology/panels.h"
#include "symbology/state.h"
#include "support/reader.h"
#include "vector/Epsout.h"

namespace {

using Defaults = SettingsWorld;

// Every setting the record keeps, away from its start value.
void changeEverything() {
    SymbolSettings& s = gSym;
    s.code = 5, s.variation1 = 3;
    gEps.non_drawn = 1;
    gOut.purePost = 2, gOut.tool = 8;
    gDriver.showSpecs = 1, s.human = 2;
    s.flushBars = 0, s.Hgauge = 3, s.chSpace = 4, s.ratio = 3;
    gOut.outToFile = 2;
    s.Siz = 102.75, s.Hei = 26.29, s.BW = 100;
    s.black2 = 11, s.yellow2 = 12, s.cyan2 = 13, s.magenta2 = 14, s.BWidthRed = 40;
    gOut.showDia = 1, s.textAsFont = 1, s.cutMarks = 1, s.transpar_ent = 1, s.non_light = 0;
    s.insetAmount = 7, s.grip = 9;
    platform::TESetText("ABC-123", 7, &gPanels.TEH);
    s.nCheck = 1, s.customTeSize = 14;
    gOut.appID = 1, gOut.ill = 95, gOut.fileTyp = 0;
    s.line = 13.606302, s.AboveHu = 1;
    platform::TESetText("12", 2, &gPanels.TEX);
    pstrSet(s.fontBelow, "OCR-B");
    s.smallFirstChar = 1, s.lMode = 1, s.cuHei = 12.34, s.cLength = 55, s.drawExtraText = 1;
    s.strip_extra = 2, s.gBaseAdjust = -6.25, s.extraMargin = 20, s.para = 1, s.end_bars = 1;
    s.gTrackAdjust = -3, s.hMode = -1, s.spec = 2;
    gOut.features = 1;
    gPrefs.iLock = 1, gPrefs.iBrow = 1;
    s.attTop = 1, s.variation = 2;
    pstrSet(s.fontAbove, "OCR-A");
    pstrSet(s.customCol, "PANTONE 185 C");
    s.customColour = 1;
}

TEST_F(Defaults, EverySettingComesBack) {
    changeEverything();
    const std::string path = defaultsFilePath();
    ASSERT_EQ(SetAsDefault(path.c_str(), kDefaultEntryName, 0), 0);
    resetWorld();
    char name[256] = {};
    ASSERT_EQ(GetTheDefault(path.c_str(), name, sizeof name, 0), 1);
    EXPECT_STREQ(name, "Default");
    const SymbolSettings& s = gSym;
    EXPECT_EQ(s.code, 5);
    EXPECT_EQ(s.variation1, 3);
    EXPECT_EQ(gEps.non_drawn, 1);
    EXPECT_EQ(gOut.purePost, 2);
    EXPECT_EQ(gOut.tool, 8);
    EXPECT_EQ(gDriver.showSpecs, 1);
    EXPECT_EQ(s.human, 2);
    EXPECT_EQ(s.flushBars, 0);
    EXPECT_EQ(s.Hgauge, 3);
    EXPECT_EQ(s.chSpace, 4);
    EXPECT_EQ(s.ratio, 3);
    EXPECT_EQ(gOut.outToFile, 2);
    EXPECT_DOUBLE_EQ(s.Siz, 102.75);
    EXPECT_DOUBLE_EQ(s.Hei, 26.29);  // not 26.28 through the binary fraction
    EXPECT_EQ(s.BW, 1);              // 100 stored, over half the whole size (51), for tool 8
    EXPECT_EQ(s.black2, 11);
    EXPECT_EQ(s.yellow2, 12);
    EXPECT_EQ(s.cyan2, 13);
    EXPECT_EQ(s.magenta2, 14);
    EXPECT_EQ(gPanels.TEMage.text, "14");
    EXPECT_EQ(s.BWidthRed, 40);
    EXPECT_EQ(gPanels.TEBWR.text, "40");
    EXPECT_EQ(gOut.showDia, 1);
    EXPECT_EQ(s.textAsFont, 1);
    EXPECT_EQ(s.cutMarks, 1);
    EXPECT_EQ(s.transpar_ent, 1);
    EXPECT_EQ(s.non_light, 0);
    EXPECT_EQ(s.insetAmount, 7);
    EXPECT_EQ(s.grip, 9);
    EXPECT_EQ(gPanels.TEH.text, "ABC-123");
    EXPECT_EQ(s.nCheck, 1);
    EXPECT_EQ(s.customTeSize, 14);
    EXPECT_EQ(gOut.appID, 1);
    EXPECT_EQ(gOut.ill, 95);
    EXPECT_EQ(gOut.fileTyp, 0);
    EXPECT_DOUBLE_EQ(s.line, 13);  // bearers keep whole points
    EXPECT_DOUBLE_EQ(s.gline, 13);
    EXPECT_EQ(s.AboveHu, 1);
    EXPECT_EQ(gPanels.TEX.text, "12");
    EXPECT_TRUE(pstrEquals(s.fontBelow, "OCR-B"));
    EXPECT_EQ(s.smallFirstChar, 1);
    EXPECT_EQ(s.lMode, 1);
    EXPECT_DOUBLE_EQ(s.cuHei, 12.34);
    EXPECT_EQ(s.cLength, 55);
    EXPECT_EQ(s.drawExtraText, 1);
    EXPECT_EQ(s.strip_extra, 2);
    EXPECT_DOUBLE_EQ(s.gBaseAdjust, -6.25);
    EXPECT_EQ(s.extraMargin, 20);
    EXPECT_EQ(s.para, 1);
    EXPECT_EQ(s.end_bars, 1);
    EXPECT_EQ(s.gTrackAdjust, -3);
    EXPECT_EQ(s.hMode, -1);
    EXPECT_EQ(s.spec, 2);
    EXPECT_EQ(gOut.features, 1);
    EXPECT_EQ(gPrefs.iLock, 1);
    EXPECT_EQ(gPrefs.iBrow, 1);
    EXPECT_EQ(s.attTop, 1);
    EXPECT_EQ(s.variation, 2);
    EXPECT_TRUE(pstrEquals(s.fontAbove, "OCR-A"));
    EXPECT_TRUE(pstrEquals(s.customCol, "PANTONE 185 C"));
    EXPECT_EQ(s.customColour, 1);
    EXPECT_EQ(gPanels.TESize.text, "4.05");  // bit 2 of spec: the size in inches
    EXPECT_EQ(gMsg.shown, 0);
}

// A custom type of an older version holds no spot colour: choosing it goes back
// to process colours rather than keeping the colour chosen before.
TEST_F(Defaults, AnOlderCustomTypeLeavesNoSpotColourBehind) {
    const std::string path = platform::userPreferencesFolder() + "/older custom";
    const std::vector<DefaultsField> full = currentDefaultsRecord("Older");
    put(path, encodeDefaultsRecord({full.begin(), full.begin() + 55}));
    pstrSet(gSym.customCol, "PANTONE 185 C");
    gSym.customColour = 1;
    ASSERT_EQ(GetTheDefault(path.c_str(), nullptr, 0, 1), 1);
    EXPECT_EQ(gSym.customColour, 0);
    EXPECT_EQ(gSym.customCol[0], 0);
    EXPECT_EQ(gMsg.shown, 0);
}

// Values no window or command line sets (a size of -100 %, an inset of a
// million points) end the record as damage: the fields before them apply, the
// message shows and the file is kept aside.
TEST_F(Defaults, ValuesOutsideTheirRangeEndTheRecordAsDamaged) {
    struct Bad {
        int field;
        int32_t word;
    };
    const std::string path = defaultsFilePath();
    for (const Bad& bad : {Bad{12, -100}, Bad{12, 0}, Bad{13, -5}, Bad{15, 150}, Bad{19, 5000},
                           Bad{25, -1000000}, Bad{44, 250}, Bad{47, 900}}) {
        SCOPED_TRACE(bad.field);
        resetWorld();
        gMsg.quiet = true;
        gSym.grip = 9;
        std::vector<DefaultsField> record = currentDefaultsRecord(kDefaultEntryName);
        record[size_t(bad.field) - 1].word = bad.word;
        record[25].word = 4;  // grip, applied only when the damage lies after it
        put(path, encodeDefaultsRecord(record));
        const double size = gSym.Siz;
        ASSERT_EQ(GetTheDefault(path.c_str(), nullptr, 0, 0), 1);
        EXPECT_NE(gMsg.last.find("damaged"), std::string::npos) << gMsg.last;
        EXPECT_TRUE(std::filesystem::exists(path + ".damaged"));
        EXPECT_EQ(gSym.grip, bad.field > 26 ? 4 : 9);
        EXPECT_LE(gSym.Siz, size + 1);
        EXPECT_GE(gSym.insetAmount, 0);
        std::filesystem::remove(path + ".damaged");
    }
}

TEST_F(Defaults, WriterRulesAndTheBarWidthRule) {
    // A label laid out at a size below 10 is saved at 100; inches are saved as 0.
    labelBack.labelHeight = 500;
    gSym.Siz = 5;
    gSym.hMode = 2;
    gSym.BW = 100;
    gOut.tool = 3;
    const std::string path = defaultsFilePath();
    ASSERT_EQ(SetAsDefault(path.c_str(), kDefaultEntryName, 0), 0);
    EXPECT_DOUBLE_EQ(gSym.Siz, 100);
    EXPECT_EQ(gSym.hMode, 2);  // the live unit is left alone
    resetWorld();
    ASSERT_EQ(GetTheDefault(path.c_str(), nullptr, 0, 0), 1);
    EXPECT_EQ(gSym.hMode, 0);
    EXPECT_EQ(gSym.BW, 0);  // vector output with text not drawn as outlines
}

TEST_F(Defaults, MissingFileChangesNothing) {
    gSym.Siz = 77;
    EXPECT_EQ(GetTheDefault(defaultsFilePath().c_str(), nullptr, 0, 0), 0);
    EXPECT_DOUBLE_EQ(gSym.Siz, 77);
    EXPECT_EQ(gMsg.shown, 0);
}

// A file cut anywhere, or with a length word that does not add up, applies the
// fields before the damage and says so; an older, shorter record is no damage.
TEST_F(Defaults, CutAndDamagedFilesGiveTheirValidPrefix) {
    changeEverything();
    const std::string full = encodeDefaultsRecord(currentDefaultsRecord("Default"));
    const std::string path = defaultsFilePath();
    for (size_t n = 0; n < full.size(); ++n) {
        SCOPED_TRACE(n);
        put(path, full.substr(0, n));
        resetWorld();
        gMsg.quiet = true;
        GetTheDefault(path.c_str(), nullptr, 0, 0);
        const DefaultsParse parsed = parseDefaultsRecord(full.substr(0, n));
        // A cut at a field boundary past code and variant is an older record.
        EXPECT_EQ(gMsg.shown != 0, parsed.damaged);
        if (parsed.fields.size() >= 3) {
            EXPECT_EQ(gSym.code, 5);
        }
    }
    // A record that ends after the colours: the rest keeps its values.
    const DefaultsParse whole = parseDefaultsRecord(full);
    ASSERT_EQ(whole.fields.size(), size_t(kDefaultsRecordFields));
    EXPECT_FALSE(whole.damaged);
    std::vector<DefaultsField> older(whole.fields.begin(), whole.fields.begin() + 18);
    put(path, encodeDefaultsRecord(older));
    resetWorld();
    gMsg.quiet = true;
    gSym.extraMargin = 33;
    ASSERT_EQ(GetTheDefault(path.c_str(), nullptr, 0, 0), 1);
    EXPECT_EQ(gSym.magenta2, 14);
    EXPECT_EQ(gSym.extraMargin, 33);
    EXPECT_EQ(gMsg.shown, 0);

    // Length words: negative, too long for the field, past the end.
    const size_t dataWord = 4 + 8 + 4 * 25;  // name "Default" (4 + 8), then 25 words
    for (uint32_t bad : {0xFFFFFFFFu, 2049u, 0x7FFFFFFFu}) {
        SCOPED_TRACE(bad);
        std::string damaged = full;
        for (int b = 0; b < 4; ++b) damaged[dataWord + b] = char(bad >> (24 - 8 * b));
        put(path, damaged);
        resetWorld();
        gMsg.quiet = true;
        gSym.nCheck = 9;
        ASSERT_EQ(GetTheDefault(path.c_str(), nullptr, 0, 0), 1);
        EXPECT_EQ(gSym.grip, 9);    // field 26, before the damage
        EXPECT_EQ(gSym.nCheck, 9);  // field 28, after it
        EXPECT_NE(gMsg.last.find("damaged"), std::string::npos);
    }
    // A code type that does not exist ends the record before anything is applied.
    std::string alien = full;
    alien[12 + 3] = char(99);
    put(path, alien);
    resetWorld();
    gMsg.quiet = true;
    EXPECT_EQ(GetTheDefault(path.c_str(), nullptr, 0, 0), 0);
    EXPECT_EQ(gSym.code, 0);
    EXPECT_NE(gMsg.shown, 0);
    // The settings written at quit go over the file: what it held is kept beside it.
    EXPECT_NE(gMsg.last.find("kept as"), std::string::npos) << gMsg.last;
    EXPECT_EQ(SetAsDefault(path.c_str(), kDefaultEntryName, 0), 0);
    EXPECT_EQ(testsupport::slurp(path + ".damaged"), alien);
}

TEST_F(Defaults, ARewriteLeavesNoStaleTail) {
    const std::string path = defaultsFilePath();
    platform::TESetText(std::string(1500, '7').c_str(), 1500, &gPanels.TEH);
    ASSERT_EQ(SetAsDefault(path.c_str(), kDefaultEntryName, 0), 0);
    platform::TESetText("1", 1, &gPanels.TEH);
    ASSERT_EQ(SetAsDefault(path.c_str(), kDefaultEntryName, 0), 0);
    EXPECT_EQ(testsupport::slurp(path), encodeDefaultsRecord(currentDefaultsRecord("Default")));
}

// A record of an older version ends before the fields that show the size again:
// the main window still shows the size and type the outputs will use.
TEST_F(Defaults, AShorterRecordShowsItsSizeAndType) {
    const std::string path = defaultsFilePath();
    for (const int32_t spec : {0, 2}) {
        SCOPED_TRACE(spec);
        resetWorld();
        gSym.code = 5, gSym.variation1 = 0, gSym.Siz = 80, gSym.spec = spec;
        const std::vector<DefaultsField> full = currentDefaultsRecord("Default");
        put(path, encodeDefaultsRecord({full.begin(), full.begin() + 22}));
        resetWorld();
        gSym.spec = spec;  // field 52, after the cut
        ASSERT_EQ(GetTheDefault(path.c_str(), nullptr, 0, 0), 1);
        EXPECT_DOUBLE_EQ(gSym.Siz, 80);
        EXPECT_EQ(gPanels.TESize.text, spec ? "3.15" : "80.00");
        EXPECT_EQ(gPanels.TEType.text, codeTypeName(5, 0));
    }
}

// The program's own settings files are never written into a pipe left in their
// place: with no reader the write would wait for good, at every quit.
TEST_F(Defaults, SettingsFilesThatArePipesAreRefusedAtOnce) {
    constexpr unsigned kGuardSeconds = 5;  // a blocked write ends the test here
    const std::string folder = platform::userPreferencesFolder() + "/";
    for (const char* name : {kDefaultsFileName, kPrefDefName, kThermDefName, kPrintDefName})
        ASSERT_EQ(::mkfifo((folder + name).c_str(), 0600), 0) << name;
    ::alarm(kGuardSeconds);
    gMsg.shown = 0;
    EXPECT_NE(SetAsDefault(defaultsFilePath().c_str(), kDefaultEntryName, 0), 0);
    EXPECT_NE(gMsg.last.find("could not be saved"), std::string::npos) << gMsg.last;
    EXPECT_NE(gMsg.last.find("not a regular file"), std::string::npos) << gMsg.last;
    gMsg.shown = 0;
    EXPECT_NE(SetPreferences(), 0);
    EXPECT_NE(gMsg.last.find("preferences could not be saved"), std::string::npos) << gMsg.last;
    ::unlink((folder + kPrefDefName).c_str());
    EXPECT_NE(SetPreferences(), 0);  // the thermal settings beside it
    EXPECT_NE(PrintSetDefault(), 0);
    ::alarm(0);
    struct stat st {};
    ASSERT_EQ(::stat(defaultsFilePath().c_str(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
}

}  // namespace
