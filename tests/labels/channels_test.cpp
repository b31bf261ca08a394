#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "labels/channels.h"
#include "support/reader.h"

namespace {

using namespace platform;

struct Channels : ::testing::Test {
    void SetUp() override { resetChannels(); }
    void TearDown() override { resetChannels(); }
};

TEST_F(Channels, WordsAreBigEndian) {
    const std::string path = testsupport::tempPath("words.def");
    ASSERT_EQ(OPEN("O", kSettingsChannel, path.c_str()), noErr);
    EXPECT_EQ(bswrite(kSettingsChannel, 1), noErr);
    EXPECT_EQ(bswrite(kSettingsChannel, -2), noErr);
    EXPECT_EQ(bswrite(kSettingsChannel, 0x7F3A0102), noErr);
    EXPECT_EQ(REC(kSettingsChannel), 12);
    EXPECT_EQ(LOF(kSettingsChannel), 12);
    EXPECT_EQ(CLOSE(kSettingsChannel), noErr);
    EXPECT_EQ(testsupport::slurp(path),
              std::string("\0\0\0\1\xFF\xFF\xFF\xFE\x7F\x3A\x01\x02", 12));

    ASSERT_EQ(OPEN("I", kSettingsChannel, path.c_str()), noErr);
    int32_t v = 0;
    EXPECT_EQ(bsread(kSettingsChannel, &v), noErr);
    EXPECT_EQ(v, 1);
    EXPECT_EQ(bsread(kSettingsChannel, &v), noErr);
    EXPECT_EQ(v, -2);
    EXPECT_EQ(RECORD(kSettingsChannel, 8), noErr);
    EXPECT_EQ(bsread(kSettingsChannel, &v), noErr);
    EXPECT_EQ(v, 0x7F3A0102);
    // At the end, and two bytes short of a word: the target is left alone.
    v = 55;
    EXPECT_EQ(bsread(kSettingsChannel, &v), eofErr);
    EXPECT_EQ(RECORD(kSettingsChannel, 10), noErr);
    EXPECT_EQ(bsread(kSettingsChannel, &v), eofErr);
    EXPECT_EQ(v, 55);
    EXPECT_EQ(CLOSE(kSettingsChannel), noErr);
}

// Settings files are rewritten in place: a shorter rewrite leaves the old tail.
TEST_F(Channels, AShorterRewriteKeepsTheOldTail) {
    const std::string path = testsupport::tempPath("Print.def");
    std::remove(path.c_str());
    ASSERT_EQ(OPEN("O", kSettingsChannel, path.c_str()), noErr);
    for (int32_t k = 1; k <= 10; ++k) ASSERT_EQ(bswrite(kSettingsChannel, k), noErr);
    ASSERT_EQ(CLOSE(kSettingsChannel), noErr);
    ASSERT_EQ(OPEN("O", kSettingsChannel, path.c_str()), noErr);
    for (int32_t k = 1; k <= 5; ++k) ASSERT_EQ(bswrite(kSettingsChannel, 100 + k), noErr);
    EXPECT_EQ(LOF(kSettingsChannel), 40);
    ASSERT_EQ(RECORD(kSettingsChannel, 0), noErr);
    for (int32_t k = 1; k <= 10; ++k) {
        int32_t v = 0;
        ASSERT_EQ(bsread(kSettingsChannel, &v), noErr);
        EXPECT_EQ(v, k <= 5 ? 100 + k : k);
    }
    EXPECT_EQ(CLOSE(kSettingsChannel), noErr);
}

TEST_F(Channels, ExistsAndCreation) {
    const std::string path = testsupport::tempPath("made.def");
    std::remove(path.c_str());  // left by an earlier run
    EXPECT_EQ(Exists(path.c_str()), 0);
    DEF_OPEN(fourCC("SXLD"), fourCC("pdef"));
    EXPECT_EQ(gChannels.filTyp, fourCC("pdef"));
    ASSERT_EQ(OPEN("O", 7, path.c_str()), noErr);
    EXPECT_NE(channelRef(7), 0);
    EXPECT_EQ(LOF(7), 0);
    EXPECT_EQ(CLOSE(7), noErr);
    EXPECT_EQ(Exists(path.c_str()), 1);
    EXPECT_EQ(Exists(testsupport::tempPath("").c_str()), 0);  // a folder
    EXPECT_EQ(Exists(""), 0);
}

TEST_F(Channels, EveryFailureGivesItsStatus) {
    int32_t v = 9;
    OSErr status = noErr;
    for (int32_t channel : {-1, kChannelCount, 5}) {  // out of range, and not open
        EXPECT_EQ(bswrite(channel, 1), rfNumErr) << channel;
        EXPECT_EQ(bsread(channel, &v), rfNumErr) << channel;
        EXPECT_EQ(RECORD(channel, 0), rfNumErr) << channel;
        EXPECT_EQ(CLOSE(channel), rfNumErr) << channel;
        EXPECT_EQ(REC(channel, &status), -1) << channel;
        EXPECT_EQ(status, rfNumErr);
        EXPECT_EQ(LOF(channel), -1) << channel;
    }
    EXPECT_EQ(v, 9);
    EXPECT_EQ(OPEN("O", kChannelCount, testsupport::tempPath("x").c_str()), rfNumErr);
    EXPECT_EQ(OPEN("O", 3, ""), bdNamErr);
    EXPECT_EQ(OPEN("O", 3, "/no/such/folder/file.def"), dirNFErr);
    EXPECT_EQ(channelRef(3), 0);
    EXPECT_EQ(bswrite(3, 1), rfNumErr);

    const std::string path = testsupport::tempPath("neg.def");
    ASSERT_EQ(OPEN("O", 3, path.c_str()), noErr);
    EXPECT_EQ(RECORD(3, -4), posErr);
    EXPECT_EQ(bsread(3, nullptr), paramErr);
    EXPECT_EQ(CLOSE(3), noErr);
}

// Opening a channel that is still open closes its first file, keeping what was
// written to it.
TEST_F(Channels, ReopeningAChannelClosesItsFile) {
    const std::string a = testsupport::tempPath("a.def"), b = testsupport::tempPath("b.def");
    ASSERT_EQ(OPEN("O", 1, a.c_str()), noErr);
    ASSERT_EQ(bswrite(1, 42), noErr);
    ASSERT_EQ(OPEN("O", 1, b.c_str()), noErr);
    EXPECT_EQ(testsupport::slurp(a), std::string("\0\0\0\x2A", 4));
    EXPECT_EQ(CLOSE(1), noErr);
}

// Documents are written whole: the old file stays until the new one is complete.
TEST_F(Channels, DocumentsReplaceTheOldFileOnlyWhenWhole) {
    const std::string path = testsupport::tempPath("label.lbl");
    ASSERT_EQ(OPEN("O", kDocumentChannel, path.c_str()), noErr);
    for (int32_t k = 0; k < 10; ++k) ASSERT_EQ(bswrite(kDocumentChannel, k), noErr);
    ASSERT_EQ(CLOSE(kDocumentChannel), noErr);

    ASSERT_EQ(OPENReplace(kDocumentChannel, path.c_str()), noErr);
    ASSERT_EQ(bswrite(kDocumentChannel, 77), noErr);
    CLOSEDiscard(kDocumentChannel);
    EXPECT_EQ(testsupport::slurp(path).size(), 40u);  // given up: the old file

    ASSERT_EQ(OPENReplace(kDocumentChannel, path.c_str()), noErr);
    ASSERT_EQ(bswrite(kDocumentChannel, 77), noErr);
    EXPECT_EQ(testsupport::slurp(path).size(), 40u);  // not yet in place
    ASSERT_EQ(CLOSE(kDocumentChannel), noErr);
    EXPECT_EQ(testsupport::slurp(path), std::string("\0\0\0\x4D", 4));  // whole, no old tail
    EXPECT_EQ(OPENReplace(kDocumentChannel, "/no/such/folder/x.lbl"), dirNFErr);
    EXPECT_EQ(channelRef(kDocumentChannel), 0);
}

}  // namespace
