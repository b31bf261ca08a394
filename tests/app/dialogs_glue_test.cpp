// The file dialogs as the commands use them (answered by the test), and the
// small shared operations: random numbers, the Luhn check, pictures in files.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <string>

#include "app/fileDialogs.h"
#include "app/shell.h"
#include "app/toolboxGlue.h"
#include "app/world.h"
#include "platform/desktop.h"
#include "platform/files.h"
#include "symbology/messages.h"

namespace {

struct DialogsGlue : ::testing::Test {
    void SetUp() override {
        resetWorld();
        gMsg.quiet = true;
        answer().clear();
        if (const char* h = std::getenv("HOME")) savedHome = h;
        setenv("HOME", "/home/tester", 1);
    }
    void TearDown() override {
        platform::SetDialogAnswers(nullptr, nullptr, nullptr);
        setenv("HOME", savedHome.c_str(), 1);
        resetWorld();
    }
    // What the next dialog answers; empty: it is cancelled.
    static std::string& answer() {
        static std::string a;
        return a;
    }
    static bool answered(std::string* out) {
        if (answer().empty()) return false;
        *out = answer();
        return true;
    }
    static void answerDialogs() {
        platform::SetDialogAnswers(
            [](const std::string& offered, std::string* path) {
                offeredName() = offered;
                return answered(path);
            },
            [](std::string* folder) { return answered(folder); },
            [](const char*, std::string* path) { return answered(path); });
    }
    static std::string& offeredName() {
        static std::string n;
        return n;
    }
    std::string savedHome;
};

TEST_F(DialogsGlue, TheSaveDialogOffersTheLast30CharactersWholeCharactersOnly) {
    answerDialogs();
    const std::string forty = "0123456789ABCDEFGHIJabcdefghijKLMNOPQRST";
    std::string path = "unchanged";
    EXPECT_EQ(DoSaveAsDocument(forty, &path), 1);  // cancelled
    EXPECT_EQ(path, "unchanged");
    EXPECT_EQ(offeredName(), forty.substr(10));
    EXPECT_EQ(saveDialogName("short.labl"), "short.labl");
    // 31 characters, the first ones two bytes each: never half a character.
    const std::string accented = "\xC3\xA9\xC3\xA9" + std::string(29, 'x');
    EXPECT_EQ(saveDialogName(accented), "\xC3\xA9" + std::string(29, 'x'));

    answer() = "/tmp/out.labl";
    EXPECT_EQ(DoSaveAsDocument(forty, &path), 0);
    EXPECT_EQ(path, "/tmp/out.labl");
}

TEST_F(DialogsGlue, TheFolderChooserFallsBackToDocumentsAndRefusesLongPaths) {
    answerDialogs();
    EXPECT_EQ(SelectExistingFolder(0), "");
    EXPECT_EQ(SelectExistingFolder(1), GetUserFolder("Documents:"));
    EXPECT_NE(SelectExistingFolder(1).find("Documents"), std::string::npos);

    answer() = "/srv/labels";
    EXPECT_EQ(SelectExistingFolder(0), "/srv/labels/");
    EXPECT_EQ(SelectExistingFolder(1), converttohfs("/srv/labels/"));
    EXPECT_EQ(converttohfs("/srv/labels/").back(), ':');

    answer() = "/" + std::string(300, 'd');
    gMsg.shown = 0;
    EXPECT_EQ(SelectExistingFolder(0), "");
    EXPECT_EQ(gMsg.shown, 1);
    EXPECT_EQ(SelectExistingFolder(1), GetUserFolder("Documents:"));
}

TEST_F(DialogsGlue, TheOpenDialogRefusesWhatCannotBeRead) {
    answerDialogs();
    std::string path = "unchanged";
    EXPECT_EQ(DoOpenDocument("labl", &path), -128);
    EXPECT_EQ(gMsg.shown, 0);

    answer() = "/nonexistent/folder/doc.labl";
    EXPECT_EQ(DoOpenDocument("labl", &path), -43);
    EXPECT_EQ(path, "unchanged");
    EXPECT_EQ(gMsg.last, translationErrorText(-43));
    answer() = "/tmp";  // a folder is no document
    EXPECT_NE(DoOpenDocument("labl", &path), 0);

    const auto file = std::filesystem::temp_directory_path() / "dialogs_glue_open.labl";
    {
        std::FILE* f = std::fopen(file.c_str(), "w");
        std::fclose(f);
    }
    answer() = file.string();
    EXPECT_EQ(DoOpenDocument("labl", &path), 0);
    EXPECT_EQ(path, file.string());
    std::filesystem::remove(file);

    // Locked and permission errors read differently from the rest.
    for (int32_t e : {-46, -5031, -44, -54})
        EXPECT_EQ(translationErrorText(e), translationErrorText(-54));
    EXPECT_NE(translationErrorText(-54), translationErrorText(-43));
    EXPECT_FALSE(translationErrorText(-1).empty());
}

TEST_F(DialogsGlue, RandomNumbersStayInRangeForAnyN) {
    std::srand(7);
    for (int32_t n : {-5, 0, 1, 2, 10, 32767, 100000}) {
        const int32_t top = std::clamp(n, 1, kRandRange);
        for (int i = 0; i < 2000; ++i) {
            const int32_t r = getRandNum(n);
            ASSERT_GE(r, 1) << n;
            ASSERT_LE(r, top + 1) << n;  // "about n": one past it at most
        }
    }
}

TEST_F(DialogsGlue, TheLuhnCheckAcceptsValidNumbersOnly) {
    struct Case {
        const char* digits;
        int32_t valid;
    };
    const Case cases[] = {
        {"4111111111111111", 1},
        {"79927398713", 1},
        {"0", 1},
        {"18", 1},
        {"4111111111111112", 0},
        {"79927398710", 0},
        {"", 0},
        {"4111 1111", 0},
        {"41111111111111a1", 0},
        {"-18", 0},
        {"5555555555554444", 1},
    };
    for (const Case& c : cases) EXPECT_EQ(CreditCardCheckDigit(c.digits), c.valid) << c.digits;
}

TEST_F(DialogsGlue, PicturesReadBackOnlyWhenTheirLengthFitsTheFile) {
    const auto file = std::filesystem::temp_directory_path() / "dialogs_glue_pictures.bin";
    const std::string picture("\x00\x11PICT bytes\xFF", 13);
    platform::FileRef ref = 0;
    ASSERT_EQ(platform::FSCreateOpen(file.string(), &ref), platform::noErr);
    ASSERT_EQ(SavePictures(ref, picture), platform::noErr);
    ASSERT_EQ(SavePictures(ref, ""), platform::noErr);
    // A record that claims more than the file holds.
    const int32_t tooLong = 1000;
    int32_t count = 4;
    ASSERT_EQ(platform::FSWrite(ref, &count, &tooLong), platform::noErr);
    count = 3;
    ASSERT_EQ(platform::FSWrite(ref, &count, "abc"), platform::noErr);
    platform::FSClose(ref);

    ASSERT_EQ(platform::FSOpenRead(file.string(), &ref), platform::noErr);
    EXPECT_EQ(LoadPictures(ref), picture);
    EXPECT_EQ(LoadPictures(ref), std::string());
    EXPECT_EQ(LoadPictures(ref), std::nullopt);
    platform::FSClose(ref);
    std::filesystem::remove(file);

    EXPECT_EQ(MacByteSwapper(0x11223344u), 0x44332211u);
}

}  // namespace
