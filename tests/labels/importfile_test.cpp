// Records of an import file: delimiters, quotes, record ends, long records,
// long fields and the end of the file.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "label_world.h"
#include "symbology/panels.h"
#include "labels/importfile.h"
#include "labels/production.h"
#include "QRCode/QREncode.h"
#include "platform/files.h"

namespace {

struct ImportFile : LabelWorld {
    void TearDown() override {
        if (gProd.vimportRef != 0) platform::FSClose(gProd.vimportRef);
    }
    void open(const std::string& bytes, int32_t mode = 0) {
        gLabel.impoMode = mode;
        gProd.vimportRef = platform::FSOpenMemory();
        int32_t n = static_cast<int32_t>(bytes.size());
        platform::FSWrite(gProd.vimportRef, &n, bytes.data());
        platform::SetFPos(gProd.vimportRef, 0);
    }
    // The fields up to the last non-empty slot.
    std::vector<std::string> record() {
        std::vector<std::string> f(std::begin(gProd.importItems), std::end(gProd.importItems));
        while (!f.empty() && f.back().empty()) f.pop_back();
        return f;
    }
    using Fields = std::vector<std::string>;
};

TEST_F(ImportFile, QuotesAreDroppedAndProtectTheDelimiterOnlyInMode4) {
    open("a,\"b,c\",d\r");
    EXPECT_EQ(GetImportItems(), 0);
    EXPECT_EQ(record(), (Fields{"a", "b", "c", "d"}));
    open("a,\"b,c\",d\r", 4);
    EXPECT_EQ(GetImportItems(), 0);
    EXPECT_EQ(record(), (Fields{"a", "b,c", "d"}));
    open("x\ty;z\r1;2\r", 1);  // tab-separated
    GetImportItems();
    EXPECT_EQ(record(), (Fields{"x", "y;z"}));
    gLabel.impoMode = 2;  // semicolons
    GetImportItems();
    EXPECT_EQ(record(), (Fields{"1", "2"}));
}

TEST_F(ImportFile, RecordEnds) {
    open("a,b\r\nc,d\r\n");  // CR LF: the LF never starts a field
    EXPECT_EQ(GetImportItems(), 0);
    EXPECT_EQ(record(), (Fields{"a", "b"}));
    EXPECT_EQ(GetImportItems(), 0);
    EXPECT_EQ(record(), (Fields{"c", "d"}));
    EXPECT_EQ(GetImportItems(), 1);
    EXPECT_EQ(record(), Fields{});

    open("a,b\nc\n");  // the LF the run found in the file wins over CR
    gProd.gfini[1] = '\n';
    GetImportItems();
    EXPECT_EQ(record(), (Fields{"a", "b"}));

    // Line ends mixed, as in a file that several programs wrote: CR, LF and CR LF
    // each end one record, whichever came first; a CR on its own after an LF
    // ends an empty line.
    for (const char found : {'\n', '\r'}) {
        open("a\nb\r\nc\rd\n\re", found == '\n' ? 0 : 3);
        gProd.gfini[1] = found;
        std::vector<Fields> got;
        for (int ended = 0; !ended;) {
            ended = GetImportItems();
            got.push_back(record());
        }
        EXPECT_EQ(got, (std::vector<Fields>{{"a"}, {"b"}, {"c"}, {"d"}, {}, {"e"}}));
    }

    open("a,b\nc\n", 3);   // mode 3 ends records in LF
    gProd.gfini[1] = '5';  // a serial end value left behind is no record end
    GetImportItems();
    EXPECT_EQ(record(), (Fields{"a", "b"}));
}

TEST_F(ImportFile, ARecordKeeps19FieldsAndTheNextRecordStartsAfterIt) {
    std::string line;
    for (int i = 1; i <= 25; ++i) {
        if (i > 1) line += ',';
        line += std::to_string(i);
    }
    open(line + "\rlast\r");
    EXPECT_EQ(GetImportItems(), 0);
    Fields first;
    for (int i = 1; i <= 19; ++i) first.push_back(std::to_string(i));
    EXPECT_EQ(record(), first);
    EXPECT_EQ(gMsg.shown, 1);  // the dropped fields are reported
    EXPECT_NE(gMsg.last.find("more than 19 fields"), std::string::npos) << gMsg.last;
    EXPECT_EQ(GetImportItems(), 0);
    EXPECT_EQ(record(), Fields{"last"});  // nothing of the longer record is left behind
    EXPECT_EQ(GetImportItems(), 1);
}

TEST_F(ImportFile, TheLastRecordWithoutARecordEndIsRead) {
    open("one\r\rtwo");
    EXPECT_EQ(GetImportItems(), 0);
    EXPECT_EQ(GetImportItems(), 0);  // an empty line: a record with an empty field
    EXPECT_EQ(record(), Fields{});
    EXPECT_EQ(GetImportItems(), 1);
    EXPECT_EQ(record(), Fields{"two"});
}

TEST_F(ImportFile, AFieldLongerThanItsSlotIsCutWithAMessage) {
    open(std::string(300, 'x') + ",next\r");
    EXPECT_EQ(GetImportItems(), 0);
    EXPECT_EQ(record(), (Fields{std::string(255, 'x'), "next"}));
    EXPECT_EQ(gMsg.shown, 1);
}

TEST_F(ImportFile, NulBytesAreLeftOutWithAMessage) {
    open(
        std::string("1\0"
                    "2\0"
                    ",\0"
                    "x\0"
                    "\r\0"
                    "\n\0",
                    12));  // UTF-16 "12,x" CR LF
    EXPECT_EQ(GetImportItems(), 0);
    EXPECT_EQ(record(), (Fields{"12", "x"}));
    EXPECT_EQ(gMsg.shown, 1);
    EXPECT_NE(gMsg.last.find("NUL bytes"), std::string::npos) << gMsg.last;
}

// Files on disk: opened read-only, their record end found in each file itself,
// read ahead in blocks.
struct ImportDisk : ImportFile {
    void TearDown() override {
        closeImportFile(gProd.vimportRef);
        gProd.vimportRef = 0;
    }
    std::string write(const std::string& name, const std::string& bytes) {
        const std::string path = (dir / name).string();
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }
    // Opens the file as the run does; its record end goes where the run keeps it.
    char openDisk(const std::string& path, int32_t mode = 0) {
        gLabel.impoMode = mode;
        closeImportFile(gProd.vimportRef);
        char end = 0;
        EXPECT_EQ(openImportFile(path, &gProd.vimportRef, &end), platform::noErr);
        gProd.gfini[1] = end;
        return end;
    }
    std::vector<Fields> all() {
        std::vector<Fields> records;
        for (int ended = 0; !ended;) {
            ended = GetImportItems();
            records.push_back(record());
        }
        return records;
    }
};

TEST_F(ImportDisk, EachFileEndsItsRecordsAsItsOwnLinesDo) {
    const std::vector<Fields> want = {{"a", "b"}, {"c", "d"}, {"e"}};
    const struct {
        const char* name;
        const char* bytes;
        char end;
    } files[] = {{"crlf.csv", "a,b\r\nc,d\r\ne\r\n", '\r'},
                 {"lf.csv", "a,b\nc,d\ne\n", '\n'},
                 {"cr.csv", "a,b\rc,d\re\r", '\r'},
                 {"nofinal.csv", "a,b\nc,d\ne", '\n'}};
    for (const auto& f : files) {
        EXPECT_EQ(openDisk(write(f.name, f.bytes)), f.end) << f.name;
        std::vector<Fields> got = all();
        if (got.back().empty()) got.pop_back();  // the end of the file after a final record end
        EXPECT_EQ(got, want) << f.name;
    }
    // A file without any line end keeps the default, and leaves no earlier
    // file's record end behind.
    EXPECT_EQ(openDisk(write("one.csv", "x,y")), 0);
    EXPECT_EQ(all(), (std::vector<Fields>{{"x", "y"}}));
}

TEST_F(ImportDisk, ReadOnlyFilesAreReadAndMissingOnesReported) {
    const std::string path = write("ro.csv", "1,2\r");
    ::chmod(path.c_str(), 0444);
    openDisk(path);
    EXPECT_EQ(all().front(), (Fields{"1", "2"}));
    platform::FileRef ref = 0;
    char end = 0;
    EXPECT_NE(openImportFile((dir / "missing.csv").string(), &ref, &end), platform::noErr);
    EXPECT_EQ(ref, 0);
}

TEST_F(ImportDisk, LargeFilesReadAcrossBlocks) {
    std::string bytes;
    for (int i = 0; i < 20000; ++i)
        bytes += std::to_string(i) + ",field " + std::to_string(i) + "\r\n";
    openDisk(write("big.csv", bytes));
    const std::vector<Fields> got = all();
    ASSERT_EQ(got.size(), 20001u);
    for (int i : {0, 4095, 12345, 19999})
        EXPECT_EQ(got[i], (Fields{std::to_string(i), "field " + std::to_string(i)}));
}

TEST_F(ImportDisk, Utf8FieldsBecomeMacRomanAndOthersAreReported) {
    // A byte-order mark is passed over; é and € exist in Mac OS Roman, Ł does not.
    openDisk(write("utf8.csv",
                   "\xEF\xBB\xBF"
                   "caf\xC3\xA9,\xE2\x82\xAC"
                   "5\nna\xC5\x81,x\nok\n"));
    EXPECT_EQ(GetImportItems(), 0);
    EXPECT_EQ(record(), (Fields{"caf\x8E",
                                "\xDB"
                                "5"}));
    EXPECT_FALSE(gProd.importRecordBad);
    EXPECT_EQ(gMsg.shown, 0);
    EXPECT_EQ(GetImportItems(), 0);
    EXPECT_TRUE(gProd.importRecordBad);
    EXPECT_NE(gMsg.last.find("no Mac OS Roman form"), std::string::npos) << gMsg.last;
    EXPECT_EQ(GetImportItems(), 0);
    EXPECT_EQ(record(), Fields{"ok"});
    EXPECT_FALSE(gProd.importRecordBad);
    // Bytes that are no UTF-8 are Mac OS Roman already.
    openDisk(write("roman.csv", "caf\x8E\r"));
    GetImportItems();
    EXPECT_EQ(record(), Fields{"caf\x8E"});
}

// Only a record with a field that is no UTF-8 may hold another character set,
// which a QR Code then reads as Shift-JIS if it can; UTF-8 accented text is
// Mac OS Roman and never is.
TEST_F(ImportDisk, OnlyFieldsThatAreNoUtf8MayBeShiftJis) {
    openDisk(write("mixed.csv",
                   "l\xE2\x80\x99\xC3\xA9t\xC3\xA9_2024\n"
                   "\x93\xFA\x96\x7B\x8C\xEA,x\n"
                   "plain\n"
                   "\x93\xFA\x96\x7B\n"));
    GetImportItems();
    EXPECT_EQ(record(), Fields{"l\xD5\x8Et\x8E_2024"});
    EXPECT_FALSE(qrencode::gQROrigin.foreignBytes);
    GetImportItems();
    EXPECT_TRUE(qrencode::gQROrigin.foreignBytes);
    GetImportItems();
    EXPECT_FALSE(qrencode::gQROrigin.foreignBytes);
    GetImportItems();
    EXPECT_TRUE(qrencode::gQROrigin.foreignBytes);
    // What is made after the file is closed is no record of it.
    closeImportFile(gProd.vimportRef);
    gProd.vimportRef = 0;
    EXPECT_FALSE(qrencode::gQROrigin.foreignBytes);
}

TEST_F(ImportDisk, TheSeparateFileGivesOneLineARecord) {
    openDisk(write("main.csv", "a\rb\r"));
    char end = 0;
    ASSERT_EQ(openImportFile(write("sep.txt", "first\rsecond line\r"), &gProd.vimpoRef2, &end),
              platform::noErr);
    gProd.sepIm = 1;
    GetImportItems();
    EXPECT_STREQ(gProd.sepText, "first");
    GetImportItems();
    EXPECT_STREQ(gProd.sepText, "second line");
    EXPECT_EQ(record(), Fields{"b"});
    closeImportFile(gProd.vimpoRef2);
    gProd.vimpoRef2 = 0;
}

TEST(FgetsCR, ALineEndsAtCRKeepsLFAndStopsAtItsMaximum) {
    resetWorld();
    const platform::FileRef f = platform::FSOpenMemory();
    const std::string bytes = "one\rtwo\nthree\rabcdefghij";
    int32_t n = static_cast<int32_t>(bytes.size());
    platform::FSWrite(f, &n, bytes.data());
    platform::SetFPos(f, 0);
    char line[256];
    EXPECT_STREQ(fgetsCR(line, 256, f), "one");
    EXPECT_STREQ(fgetsCR(line, 256, f), "two\nthree");
    EXPECT_STREQ(fgetsCR(line, 5, f), "abcd");
    EXPECT_STREQ(fgetsCR(line, 256, f), "efghij");
    EXPECT_STREQ(fgetsCR(line, 256, f), "");
    closeImportFile(f);
}

// The import panel, and the script's request that replaces it.
TEST(GetImportText, EachMissingFieldHasItsMessageAndMakesNothing) {
    const struct {
        int field;
        uint16_t message;
    } fields[] = {{6, 16}, {1, 17}, {4, 17}, {5, 18}, {7, 19}, {8, 20}};
    for (const auto& f : fields) {
        resetWorld();
        gMsg.quiet = true;
        const char* typed[] = {"", "list.csv", "", "", "<<1>>", "1", "13", "2", "50"};
        for (int i = 1; i <= 8; ++i) gPanels.TEBack2[i].text = i == f.field ? "" : typed[i];
        ImportSettings s;
        GetImportText(&s);
        EXPECT_EQ(s.count, 0) << f.field;
        EXPECT_EQ(gMsg.shown, 1) << f.field;
        EXPECT_EQ(gMsg.last, messageText(f.message)) << f.field;
    }
    resetWorld();
    const char* typed[] = {"", "list.csv", "", "", "<<1>>", "3", "13", "2", "50"};
    for (int i = 1; i <= 8; ++i) gPanels.TEBack2[i].text = typed[i];
    gLabel.impoMode = 3;
    ImportSettings s;
    GetImportText(&s);
    EXPECT_EQ(s.file, "list.csv");
    EXPECT_EQ(s.templateText, "<<1>>");
    EXPECT_EQ(s.recordEnd, '\n');
    EXPECT_EQ(s.length, 13);
    EXPECT_EQ(s.start, 3);
    EXPECT_EQ(s.title, 2);
    EXPECT_EQ(s.count, 50);

    std::snprintf(gProd.externalImport.file, kRunTextSize, "%s", "/data/x.csv");
    gProd.externalImport.start = 2;
    gProd.externalImport.title = 1;
    gProd.externalImport.countPlus1 = 11;
    GetImportText(&s);
    EXPECT_EQ(s.file, "/data/x.csv");
    EXPECT_EQ(s.start, 2);
    EXPECT_EQ(s.title, 1);
    EXPECT_EQ(s.count, 10);
}

}  // namespace
