// A print run or export that fails part-way leaves what was there before: the
// old output file byte for byte, and no job in the queue.
#include <gtest/gtest.h>
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cups/cups.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "app/world.h"
#include "automation/cli.h"
#include "labels/labelDoc.h"
#include "labels/labelFile.h"
#include "symbology/appBits.h"
#include "symbology/messages.h"
#include "symbology/state.h"
#include "support/cups.h"
#include "support/label_document.h"
#include "support/reader.h"

namespace {

namespace fs = std::filesystem;

constexpr char kOldBytes[] = "%PDF-1.4 the good old file\n";

struct FailedRun : ::testing::Test {
    fs::path dir;
    void SetUp() override {
        dir = testsupport::tempPath("failed-run");
        fs::remove_all(dir);
        fs::create_directories(dir);
        setenv("XDG_CONFIG_HOME", (dir / "config").c_str(), 1);
        resetWorld();
        initLabelItems();
        gMsg.quiet = true;
    }
    void TearDown() override {
        resetWorld();
        unsetenv("XDG_CONFIG_HOME");
    }

    // A label of a text item and a picture item whose file is missing.
    std::string documentWithMissingPicture() {
        labelBack.labelWidth = 1700;
        labelBack.labelHeight = 850;
        labelBack.across = 2;
        labelBack.down = 3;
        testsupport::setItemText(testsupport::addItemOfKind(kKindText, 10, 10, 30, 150),
                                 "Some text");
        LabelItem& p = testsupport::addItemOfKind(kKindPicture, 40, 10, 80, 80);
        p.setI16(item::hei, kLinkedImage);
        p.setText(item::dataText, (dir / "gone.png").string());
        return testsupport::saveLabelDocument((dir / "picture.labl").string());
    }

    // A label of one EAN-13 item whose data comes from the import file's
    // first field, the file named in the document.
    std::string documentImporting(const std::string& records) {
        labelBack.labelWidth = 1800;
        labelBack.labelHeight = 1000;
        labelBack.across = 2;
        labelBack.down = 2;
        EXPECT_EQ(addLabelItem(), 0);
        gLabel.labelParts[0]->setI16(item::kind, kKindBarcode);
        gLabel.itRect = {10, 20, 90, 160};
        gSym = SymbolSettings{};
        gSym.code = 0;  // EAN-13
        GetCodeText();
        copyBounded(gData.chMainCode, "400638133393");
        copyBounded(gData.chMainCode2, "400638133393");
        gData.len1 = gData.len11 = 12;
        gLabel.serPos = "<<1>>";
        gLabel.proMode = 2;
        gLabel.notDrawn = 0;
        setItemRect(0);
        setItemData(0, 2);
        const std::string file = (dir / "records.txt").string();
        std::ofstream(file, std::ios::binary) << records;
        gDocFile.impoFile = file;
        return testsupport::saveLabelDocument((dir / "import.labl").string());
    }

    std::string oldFile(const std::string& name) {
        const std::string path = (dir / name).string();
        std::ofstream(path, std::ios::binary) << kOldBytes;
        return path;
    }
};

int runCli(const std::string& doc, const std::string& record, std::string* err) {
    const char* argv[] = {"strixel", "--open", doc.c_str(), record.c_str()};
    std::istringstream in;
    std::ostringstream out, errs;
    const int status = runCommandLine(4, argv, in, out, errs);
    *err = errs.str();
    return status;
}

TEST_F(FailedRun, AnUnreadablePictureKeepsTheOldFile) {
    const std::string doc = documentWithMissingPicture();
    for (const char* name : {"good.pdf", "good.ps"}) {
        SCOPED_TRACE(name);
        const std::string target = oldFile(name);
        std::string err;
        EXPECT_EQ(runCli(doc, "{printer:\"" + target + "\"}", &err), 1);
        EXPECT_NE(err.find("gone.png"), std::string::npos) << err;
        EXPECT_EQ(testsupport::slurp(target), kOldBytes);
    }
    // Nothing else is left in the folder: no temporary, no stray output.
    for (const auto& entry : fs::directory_iterator(dir)) {
        const std::string name = entry.path().filename().string();
        EXPECT_TRUE(name.rfind("good.", 0) == 0 || name == "picture.labl" || name == "config")
            << name;
    }
}

// A record the import reader warns about stops the run before its label.
TEST_F(FailedRun, AnImportWarningKeepsTheOldFile) {
    const std::string doc =
        documentImporting(std::string("4006381\0"
                                      "33393\r400638133393\r",
                                      27));
    const std::string target = oldFile("good.pdf");
    std::string err;
    EXPECT_EQ(runCli(doc, "{printer:\"" + target + "\", number:\"2\"}", &err), 1);
    EXPECT_NE(err.find("NUL"), std::string::npos) << err;
    EXPECT_EQ(testsupport::slurp(target), kOldBytes);
    // The same file without the fault prints.
    const std::string fine = documentImporting("400638133393\r400638133393\r");
    EXPECT_EQ(runCli(fine, "{printer:\"" + target + "\", number:\"2\"}", &err), 0) << err;
    EXPECT_EQ(testsupport::slurp(target).rfind("%PDF-", 0), 0u);
}

// What the queue has been given, finished or not.
int jobsOf(const std::string& queue) {
    cups_job_t* jobs = nullptr;
    const int n = cupsGetJobs2(CUPS_HTTP_DEFAULT, &jobs, queue.c_str(), 0, CUPS_WHICHJOBS_ALL);
    cupsFreeJobs(n, jobs);
    return n;
}

// Lets a listener that was never sent a job stop waiting for one.
void release(const testsupport::Listener& printer) {
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    a.sin_port = htons(uint16_t(printer.port));
    (void)connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a);
    close(fd);
}

TEST_F(FailedRun, AnUnreadablePictureSendsNoJob) {
    if (!testsupport::haveCupsd())
        GTEST_SKIP() << "cupsd is not installed (Debian package cups-daemon)";
    const std::string doc = documentWithMissingPicture();
    testsupport::PrivateCups cups;
    testsupport::Listener printer;
    ASSERT_TRUE(testsupport::startQueue(cups, printer, "Failing"));
    // The printing system keeps the history of earlier test runs.
    const int before = jobsOf("Failing");
    std::string err;
    EXPECT_EQ(runCli(doc, "{printer:\"Failing\"}", &err), 1);
    EXPECT_NE(err.find("gone.png"), std::string::npos) << err;
    EXPECT_EQ(jobsOf("Failing"), before);
    release(printer);
    printer.join();
    EXPECT_EQ(printer.received, "");
}

}  // namespace
