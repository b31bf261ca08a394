#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "app/world.h"
#include "labels/production.h"
#include "labels/datafields.h"
#include "picture/driverdata.h"
#include "picture/placedPictures.h"
#include "platform/files.h"
#include "support/cases.h"
#include "support/reader.h"
#include "symbology/messages.h"
#include "symbology/state.h"

namespace {

// Each test gets its own data folder (XDG_DATA_HOME).
struct DataFields : ::testing::Test {
    std::string home;
    std::string saved;
    bool hadHome = false;
    void SetUp() override {
        resetWorld();
        gMsg.quiet = true;
        if (const char* h = std::getenv("XDG_DATA_HOME")) hadHome = true, saved = h;
        home = testsupport::tempPath("data");
        ::setenv("XDG_DATA_HOME", home.c_str(), 1);
        std::remove(dataFieldsPath().c_str());
    }
    void TearDown() override {
        if (hadHome)
            ::setenv("XDG_DATA_HOME", saved.c_str(), 1);
        else
            ::unsetenv("XDG_DATA_HOME");
    }
    static std::string get(const std::string& name, std::string* handle = nullptr) {
        unsigned char n[256], text[kFieldTextSize];
        pstrSet(n, name.c_str());
        GetFieldData(n, text, handle);
        EXPECT_EQ(text[1 + text[0]], 0) << "the value ends with a NUL";
        return std::string(reinterpret_cast<char*>(text + 1), text[0]);
    }
    static platform::OSErr save(const std::string& name, const std::string& value,
                                const std::string* handle = nullptr) {
        unsigned char n[256], v[256];
        pstrSet(n, name.c_str());
        pstrSet(v, value.c_str());
        return SaveFieldData(n, v, handle);
    }
    void writeFile(const std::string& bytes) {
        platform::createFolder(platform::userDataFolder());
        std::ofstream(dataFieldsPath(), std::ios::binary) << bytes;
    }
    // Item 0 of kind, holding "own" as its data, named name; then the named
    // field is filled in as a print does.
    static LabelItem& filled(uint16_t kind, const std::string& name) {
        initLabelItems();
        EXPECT_EQ(addLabelItem(), 0);
        LabelItem& it = *gLabel.labelParts[0];
        it.setI16(item::kind, kind);
        it.setText(item::dataText, "own");
        it.dataHandle = "own";
        it.hasDataHandle = true;
        gLabel.gItName = name;
        fillPersonalField(0, kind);
        return it;
    }
    static void expectUnchanged(const LabelItem& it, const std::string& why) {
        EXPECT_EQ(it.dataHandle, "own") << why;
        EXPECT_EQ(it.text(item::dataText), "own") << why;
    }
};

TEST_F(DataFields, AMissingFileGivesTheNameItself) {
    EXPECT_EQ(get("Company Name"), "Company Name");
    std::string handle = "kept";
    EXPECT_EQ(get("Logo", &handle), "Logo");
    EXPECT_EQ(handle, "kept");
    EXPECT_EQ(dataFieldsPath(), home + "/strixel/data.dfb");
}

TEST_F(DataFields, FieldsLiveAtTheirOffsets) {
    ASSERT_EQ(save("Web", "www.example.com"), platform::noErr);
    ASSERT_EQ(save("Name", "Ann"), platform::noErr);
    ASSERT_EQ(save("Zebra", "never"), platform::noErr);  // 'Z' writes nothing
    ASSERT_EQ(save("?", "none"), platform::noErr);
    const std::string bytes = testsupport::slurp(dataFieldsPath());
    ASSERT_EQ(bytes.size(), 1025u + 16);
    EXPECT_EQ(bytes[0], 0) << "offset 0 stays as it was";
    EXPECT_EQ(bytes.substr(1, 4), "Ann\n");
    EXPECT_EQ(bytes.substr(1025), "www.example.com\n");
    // "Zebra" is never read, "Phone" a gap, "More" past the end of the file.
    for (const auto& [name, value] : {std::pair{"Web", "www.example.com"},
                                      {"Name", "Ann"},
                                      {"Zebra", ""},
                                      {"Phone", ""},
                                      {"More", ""},
                                      {"", ""}})
        EXPECT_EQ(get(name), value) << name;
    // Rewriting one field in place leaves the others.
    ASSERT_EQ(save("Name", "Bo"), platform::noErr);
    EXPECT_EQ(get("Name"), "Bo");
    EXPECT_EQ(get("Web"), "www.example.com");
}

TEST_F(DataFields, ALongValueStaysInItsSlot) {
    ASSERT_EQ(save("Company", std::string(255, 'c')), platform::noErr);
    ASSERT_EQ(save("Address", "street"), platform::noErr);
    ASSERT_EQ(save("Company", std::string(255, 'c')), platform::noErr);
    EXPECT_EQ(get("Company"), std::string(255, 'c'));
    EXPECT_EQ(get("Address"), "street");
}

TEST_F(DataFields, TheLogo) {
    const std::string logo("\x00\x10PICT\r\ndata\x00", 13);
    ASSERT_EQ(save("Logo", "Vek.eps", &logo), platform::noErr);
    const std::string bytes = testsupport::slurp(dataFieldsPath());
    EXPECT_EQ(bytes.substr(1794), "13" + logo);
    std::string handle;
    EXPECT_EQ(get("Logo", &handle), "Vek.eps");
    EXPECT_EQ(handle, logo);
    // An empty logo stores "0" and one zero byte; reading it leaves the handle.
    const std::string none;
    ASSERT_EQ(save("Logo", "x.eps", &none), platform::noErr);
    EXPECT_EQ(testsupport::slurp(dataFieldsPath()).substr(1794, 2), std::string("0\0", 2));
    handle = "old";
    EXPECT_EQ(get("Logo", &handle), "x.eps");
    EXPECT_EQ(handle, "old");
}

// Damaged files of every length up to past the logo, and a logo count larger than
// the file, are read without reading past anything.
TEST_F(DataFields, DamagedFilesOfEveryLength) {
    std::string full(1900, 'q');
    full.replace(1794, 9, "999999999");
    for (size_t n = 0; n <= full.size(); n += (n < 1800 ? 37 : 1)) {
        writeFile(full.substr(0, n));
        std::string handle;
        for (const char* name : {"Name", "Logo", "Web", "Z", "M"}) {
            const std::string v = get(name, &handle);
            EXPECT_LE(v.size(), 255u);
        }
        EXPECT_LE(handle.size(), n > 1803 ? n - 1803 : 0u) << n;
    }
    writeFile(std::string(1794, '\r') + "-5xyz");
    std::string handle = "same";
    EXPECT_EQ(get("Logo", &handle), "");
    EXPECT_EQ(handle, "same");
    // A count larger than any picture, up to past what a long holds, is no logo.
    for (const std::string& count :
         {std::to_string(kMostPictureBytes + 1), std::string("9999999999999999999"),
          std::string("-9999999999999999999")}) {
        writeFile(std::string(1794, '\r') + count + "tail");
        handle = "same";
        get("Logo", &handle);
        EXPECT_EQ(handle, "same") << count;
    }
}

// A field the file does not hold (an empty file, one ending before the field, an
// empty line) leaves a printed item's own data rather than blank it.
TEST_F(DataFields, AnEmptyFieldLeavesTheItem) {
    for (const std::string& bytes : {std::string(), std::string(100, 'x'), std::string(600, '\n')})
        for (const uint16_t kind : {kKindText, kKindBarcode, kKindPicture}) {
            writeFile(bytes);
            expectUnchanged(filled(kind, "Company"), std::to_string(bytes.size()));
            expectUnchanged(filled(kind, "Logo"), std::to_string(bytes.size()));
        }
    writeFile(std::string(1, '\0') + "Ann\n");
    EXPECT_EQ(filled(kKindText, "Name").dataHandle, "Ann");
}

// Only a picture item takes the logo, and only one no larger than a picture.
TEST_F(DataFields, TheLogoGoesToPictureItemsWithinThePictureLimit) {
    const std::string logo = "\x89PNG-bytes";
    ASSERT_EQ(save("Logo", "Vek.eps", &logo), platform::noErr);
    EXPECT_EQ(filled(kKindPicture, "Logo").dataHandle, logo);
    EXPECT_EQ(filled(kKindText, "Lot number").dataHandle, "Vek.eps");
    writeFile(std::string(1, '\0') + std::string(1793, '\n') +
              std::to_string(kMostPictureBytes + 1) + logo);
    expectUnchanged(filled(kKindPicture, "Logo"), "count past the limit");
}

// Only a regular file of a sensible size is read: a pipe must not hold the print
// run, nor a huge file cost its size.
TEST_F(DataFields, OnlyAPlainFileIsRead) {
    constexpr unsigned kGuardSeconds = 10;  // a hang ends the test rather than the suite
    platform::createFolder(platform::userDataFolder());
    ASSERT_EQ(::mkfifo(dataFieldsPath().c_str(), 0600), 0);
    ::alarm(kGuardSeconds);
    EXPECT_EQ(get("Name"), "Name") << "as a missing file";
    expectUnchanged(filled(kKindText, "Name"), "pipe");
    ::alarm(0);
    std::remove(dataFieldsPath().c_str());

    writeFile(std::string(1, '\0') + "Ann\n");
    constexpr off_t kHuge = kMostPictureBytes * 2;
    ASSERT_EQ(::truncate(dataFieldsPath().c_str(), kHuge), 0);  // sparse
    expectUnchanged(filled(kKindText, "Name"), "huge file");
}

TEST_F(DataFields, SampleData) {
    SavePersonalData();
    EXPECT_EQ(get("Logo"), "Vek.eps");
    EXPECT_FALSE(get("Name").empty());
    EXPECT_FALSE(get("Web").empty());
    EXPECT_EQ(testsupport::slurp(dataFieldsPath()).substr(1794, 2), std::string("0\0", 2));
}

TEST_F(DataFields, LineHelpers) {
    platform::FileRef f = platform::FSOpenMemory();
    const std::string text = "one\rtwo\nthree" + std::string(300, 'x');
    int32_t n = static_cast<int32_t>(text.size());
    platform::FSWrite(f, &n, text.data());
    platform::SetFPos(f, 0);
    unsigned char line[kFieldTextSize];
    fgetline(line, f);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(line + 1), line[0]), "one");
    fgetline(line, f);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(line + 1)), "two");
    fgetline(line, f);
    EXPECT_EQ(line[0], 255);  // a line longer than the text holds is cut
    EXPECT_EQ(line[256], 0);
    EXPECT_EQ(flen(f), n);
    int32_t pos = 0;
    platform::GetFPos(f, &pos);
    EXPECT_EQ(pos, 8 + 255);  // flen keeps the position
    std::string h;
    int32_t count = 1000;
    EXPECT_EQ(freadh(f, &h, &count), platform::eofErr);
    EXPECT_EQ(count, n - pos);
    EXPECT_EQ(h, std::string(count, 'x'));
    EXPECT_EQ(fprinth(f, nullptr, 5), platform::noErr);  // one zero byte
    EXPECT_EQ(flen(f), n + 1);
    platform::FSClose(f);
}

struct Template : ::testing::Test {
    char built[kImportBuiltSize];
    void SetUp() override { resetWorld(); }
    static void field(int n, const std::string& text) {
        std::snprintf(gProd.importItems[n - 1], kImportFieldSize, "%s", text.c_str());
    }
    std::string build(const std::string& templ) {
        GetImportBuilt(built, templ.c_str());
        return built;
    }
};

TEST_F(Template, MarkersTakeTheirFields) {
    field(1, "A1");
    field(2, "B7");
    field(4, "   ");
    field(5, "\t");
    field(8, "H");
    field(10, "J");
    field(19, "S");
    field(20, "T");
    for (const auto& c : testsupport::readCases("picture/import_templates.txt", 2))
        EXPECT_EQ(build(c[0]), c[1]) << c.where;
}

// A template is checked before a run: each marker must name a field a record
// read fills, in decimal.
TEST_F(Template, MarkersNamingNoReadFieldAreRefused) {
    for (const char* good : {"<<1>>-<<19>>", "<<0>><<010>>", "no markers", "open <<2", ""})
        EXPECT_EQ(importTemplateFault(good), "") << good;
    const struct {
        const char* templ;
        const char* says;
    } refused[] = {
        {"<<1>><<20>>", "marker <<20>> names a field no record fills: a record gives at most 19"},
        {"<<99999999999999999999>>", "<<99999999999999999999>> names a field no record fills"},
        {"x<<0x3>>", "marker <<0x3>> is no field number: write the number in decimal"},
        {"<<-1>>", "<<-1>> is no field number"},
        {"<<>>", "<<>> is no field number"},
    };
    for (const auto& r : refused) {
        const std::string fault = importTemplateFault(r.templ);
        EXPECT_NE(fault.find(r.says), std::string::npos) << r.templ << ": " << fault;
        EXPECT_NE(fault.find("(<<1>> to <<19>>)"), std::string::npos) << fault;
    }
}

TEST_F(Template, ALongResultIsCutToTheItemsField) {
    field(1, std::string(200, 'a'));
    field(2, std::string(54, 'b'));
    field(3, std::string(255, 'c'));
    EXPECT_EQ(build("<<1>><<2>>"), std::string(200, 'a') + std::string(54, 'b'));
    EXPECT_EQ(gMsg.shown, 0);  // exactly full: nothing was cut
    // What is cut is said, once for each build.
    EXPECT_EQ(build("<<1>><<3>><<3>>"), std::string(200, 'a') + std::string(54, 'c'));
    EXPECT_EQ(build(std::string(400, 'L')), std::string(254, 'L'));
    EXPECT_EQ(gMsg.shown, 2);
}

}  // namespace
