// Records of an import file: delimiters, quotes, record ends, long records,
// long fields and the end of the file.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/world.h"
#include "labels/importfile.h"
#include "labels/labelDoc.h"
#include "labels/production.h"
#include "platform/files.h"
#include "symbology/messages.h"
#include "symbology/state.h"

namespace {

struct ImportFile : ::testing::Test {
    void SetUp() override {
        resetWorld();
        gMsg.quiet = true;
    }
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

    open("a,b\nc\n", 3);   // mode 3 ends records in LF
    gProd.gfini[1] = '5';  // a serial end value left behind is no record end
    GetImportItems();
    EXPECT_EQ(record(), (Fields{"a", "b"}));
}

TEST_F(ImportFile, ARecordReadsAtMost19FieldsAndForgetsTheLastRecordsFields) {
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
    EXPECT_EQ(GetImportItems(), 0);  // the rest of the line
    EXPECT_EQ(record(), (Fields{"20", "21", "22", "23", "24", "25"}));
    EXPECT_EQ(GetImportItems(), 0);
    EXPECT_EQ(record(), Fields{"last"});  // nothing of the longer record is left behind
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

}  // namespace
