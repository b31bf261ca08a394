// Documents, import files and names from anyone: every file stays in the folder
// named, only regular files of bounded size are read, sheets that cannot be laid
// out are refused before any work, and a stopped run leaves whole files only.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "app/world.h"
#include "cli_run.h"
#include "labels/labelDoc.h"
#include "labels/labelFile.h"
#include "support/label_document.h"
#include "symbology/messages.h"

namespace {

namespace fs = std::filesystem;
constexpr uint16_t kLinkedImageMarker = 116;

struct Untrusted : ::testing::Test {
    fs::path root;  // the sandbox: nothing may appear outside it
    void SetUp() override {
        char tmpl[] = "/tmp/strixel-untrusted-XXXXXX";
        ASSERT_NE(::mkdtemp(tmpl), nullptr);
        root = tmpl;
    }
    void TearDown() override { fs::remove_all(root); }

    // A document of one text item, or of a picture item linking `picture`, and
    // `varying` text items whose text is asked for at printing.
    std::string document(const std::string& name, const LabelSheet& sheet,
                         const std::string& picture = "", int varying = 0) {
        resetWorld();
        gMsg.quiet = true;
        initLabelItems();
        labelBack = sheet;
        labelBack.lastItem = -1;
        LabelItem& t =
            testsupport::addItemOfKind(picture.empty() ? kKindText : kKindPicture, 5, 5, 40, 80);
        if (picture.empty()) {
            testsupport::setItemText(t, "Label");
        } else {
            t.setI16(item::hei, kLinkedImageMarker);
            t.setText(item::dataText, picture);
        }
        for (int i = 0; i < varying; ++i) {
            EXPECT_EQ(addLabelItem(), 0);
            LabelItem& v = *gLabel.labelParts[size_t(labelBack.lastItem)];
            v = t;
            v.setI16(item::kind, kKindText);
            v.setI16(item::humanPacked, 2 * 3);
        }
        const std::string doc = (root / name).string();
        fs::create_directories(fs::path(doc).parent_path());
        return testsupport::saveLabelDocument(doc);
    }
    static LabelSheet sheetOf(uint32_t across, uint32_t down) {
        LabelSheet s;
        s.labelWidth = 1700;
        s.labelHeight = 850;
        s.across = across;
        s.down = down;
        return s;
    }
    std::vector<fs::path> filesUnderRoot() const {
        std::vector<fs::path> all;
        for (const auto& e : fs::recursive_directory_iterator(root))
            if (!e.is_directory()) all.push_back(e.path());
        return all;
    }
};

// The program itself, run with a time limit: a fault must not hang the tests.
testsupport::RunResult program(const std::string& cwd, const std::string& args,
                               const std::string& input = "") {
    return testsupport::runCommand("cd '" + cwd + "' && " + input + "timeout 30 " + STRIXEL_BINARY +
                                   " " + args);
}

struct InFolder {
    fs::path kept = fs::current_path();
    explicit InFolder(const fs::path& p) { fs::current_path(p); }
    ~InFolder() { fs::current_path(kept); }
};

TEST_F(Untrusted, PressFilesStayBesideSavetoWhateverItsName) {
    const std::string doc = document("doc/sheet.labl", sheetOf(2, 1));
    const fs::path work = root / "a" / "b";
    fs::create_directories(work / "press");
    // Press job names are short (the press files' name fields hold 8 characters here).
    const std::string escaped = "/tmp/e" + std::to_string(::getpid() % 1000);
    ASSERT_FALSE(fs::exists(escaped + ".jb")) << "left over from elsewhere";
    {
        InFolder here(work);
        for (const std::string& saveto : std::vector<std::string>{
                 ":::up.eps", "tmp:" + escaped.substr(5) + ".eps", "press/job.eps"}) {
            const CliRun r =
                run({"--open", doc, "--dialect", "press", "{saveto:\"" + saveto + "\"}"});
            EXPECT_EQ(r.status, 0) << saveto << ": " << r.err;
        }
    }
    EXPECT_FALSE(fs::exists(escaped + ".jb"));
    std::vector<std::string> made;
    for (const fs::path& p : filesUnderRoot()) {
        if (p == doc) continue;
        const std::string rel = fs::relative(p, work).string();
        EXPECT_NE(rel.rfind("..", 0), 0u) << p << " was written outside the folder";
        made.push_back(rel);
    }
    std::sort(made.begin(), made.end());
    EXPECT_EQ(made, (std::vector<std::string>{
                        ":::up.jb", ":::up.ps", ":::up_F1_1.pg", ":::up_F1_2.pg", "press/job.jb",
                        "press/job.ps", "press/job_F1_1.pg", "press/job_F1_2.pg",
                        "tmp:" + escaped.substr(5) + ".jb", "tmp:" + escaped.substr(5) + ".ps",
                        "tmp:" + escaped.substr(5) + "_F1_1.pg",
                        "tmp:" + escaped.substr(5) + "_F1_2.pg"}));
}

TEST_F(Untrusted, SheetsThatCannotBeLaidOutAreRefusedBeforeAnyFile) {
    LabelSheet huge = sheetOf(1279, 1279);
    huge.labelWidth = huge.labelHeight = 10;
    huge.sheetWidth = 5953;  // A4 in tenths of a point
    huge.sheetHeight = 8419;
    const std::string tooSmall = document("huge.labl", huge);
    huge.sheetWidth = huge.sheetHeight = 0;  // no paper named: the label count decides
    const std::string tooMany = document("many.labl", huge);
    const std::string out = (root / "out").string();
    fs::create_directories(out);
    testsupport::RunResult r =
        program(out, "--open '" + tooSmall + "' --dialect press '{saveto:\"job.eps\"}'");
    EXPECT_EQ(r.status, 1) << r.err;
    EXPECT_NE(r.err.find("do not fit on its sheet"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("the sheet is 210.0 x 297.0 mm"), std::string::npos) << r.err;
    r = program(out, "--open '" + tooMany + "' '{printer:\"sheet.pdf\"}'");
    EXPECT_EQ(r.status, 1) << r.err;
    EXPECT_NE(r.err.find("more label positions"), std::string::npos) << r.err;

    // No label across or down: nothing to print or export.
    const std::string empty = document("empty.labl", sheetOf(3, 0));
    for (const std::string& args : std::vector<std::string>{
             "--dialect press '{saveto:\"job.eps\"}'", std::string("'{printer:\"sheet.pdf\"}'")}) {
        r = program(out, "--open '" + empty + "' " + args);
        EXPECT_EQ(r.status, 1) << args;
        EXPECT_NE(r.err.find("no labels across or no labels down"), std::string::npos) << r.err;
    }
    EXPECT_TRUE(fs::is_empty(out));
}

// A sheet that fits but would need a file for each of 10,000 positions and each of
// its ten varying items: the export is refused before its first file.
TEST_F(Untrusted, APressExportNeedingTooManyFilesWritesNothing) {
    LabelSheet s = sheetOf(100, 100);
    s.labelWidth = s.labelHeight = 10;
    const std::string doc = document("dense.labl", s, "", 10);
    const std::string out = (root / "out").string();
    fs::create_directories(out);
    const testsupport::RunResult r =
        program(out, "--open '" + doc + "' --dialect press '{saveto:\"job.eps\"}'");
    EXPECT_EQ(r.status, 1) << r.err;
    EXPECT_NE(r.err.find("more files than one run may make"), std::string::npos) << r.err;
    EXPECT_TRUE(fs::is_empty(out));
}

TEST_F(Untrusted, DevicesPipesAndFoldersAreNotRead) {
    const std::string fifo = (root / "fifo").string();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    fs::create_directories(root / "folder");
    fs::create_directories(root / "out");
    for (const std::string& bad : {std::string("/dev/zero"), fifo, (root / "folder").string()}) {
        // A folder is named as one; anything else that is no regular file is refused as such.
        const bool folder = fs::is_directory(bad);
        const std::string said =
            "\"" + bad + (folder ? "\" is a folder" : "\" is not a regular file");
        testsupport::RunResult r =
            program(root.string(), "'{type:\"Code 128\", data:\"<<1>>\", import:\"" + bad +
                                       "\", saveto:\"out/\"}'");
        EXPECT_EQ(r.status, 1);
        EXPECT_NE(r.err.find(said), std::string::npos) << r.err;
        r = program(root.string(), "--open '" + bad + "' '{saveto:\"x.pdf\"}'");
        EXPECT_EQ(r.status, 2);
        EXPECT_NE(r.err.find(said), std::string::npos) << r.err;
        const std::string doc = document("linked.labl", sheetOf(1, 1), bad);
        r = program(root.string(), "--open '" + doc + "' '{printer:\"out/linked.pdf\"}'");
        EXPECT_NE(r.err.find("\"" + bad + "\" is not a regular file"), std::string::npos) << r.err;
    }
}

// A picture named relative to its document is found from any working folder.
TEST_F(Untrusted, ARelativePictureIsTakenFromTheDocumentsFolder) {
    fs::create_directories(root / "docs");
    std::ofstream(root / "docs" / "mark.eps")
        << "%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 0 0 40 20\n%%EndComments\n"
           "0 0 0 setrgbcolor 0 0 40 20 rectfill\n%%EOF\n";
    const std::string doc = document("docs/linked.labl", sheetOf(1, 1), "mark.eps");
    fs::create_directories(root / "elsewhere");
    const testsupport::RunResult r =
        program((root / "elsewhere").string(), "--open '" + doc + "' '{printer:\"linked.pdf\"}'");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err.find("could not be read"), std::string::npos) << r.err;
}

TEST_F(Untrusted, AnImportReadsItsRecordsFromAPipe) {
    fs::create_directories(root / "out");
    const testsupport::RunResult r = program(
        root.string(), "'{type:\"Code 128\", data:\"<<1>>\", import:\"-\", saveto:\"out/\"}'",
        "printf 'P1,a\\nP2,b\\nP3,c\\n' | ");
    EXPECT_EQ(r.status, 0) << r.err;
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(root / "out")) names.push_back(e.path().filename());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"P1.EPS", "P2.EPS", "P3.EPS"}));
    // Standard input cannot carry both the script records and an import's records.
    const CliRun both = run({}, "{type:\"Code 128\", data:\"<<1>>\", import:\"-\", saveto:\"" +
                                    (root / "out").string() + "/\"}\n");
    EXPECT_EQ(both.status, 1);
    EXPECT_NE(both.err.find("standard input, which holds the records"), std::string::npos)
        << both.err;
}

// Standard input's lines are read whole: a line across the reader's chunks is
// one record, and one far longer than any line of records ends the reading
// instead of taking all memory (a binary file, /dev/zero).
TEST_F(Untrusted, RecordLinesAreReadWholeUpToABound) {
    const std::string out = (root / "out").string();
    auto line = [&out](const std::string& name, size_t padTo) {
        std::string r = record("QRCode", name, out + "/" + name + ".eps");
        r.resize(std::max(padTo, r.size()), ' ');
        return r + "\n";
    };
    fs::create_directories(out);
    std::string input;
    for (size_t length : {4095, 4096, 4097, 8191}) input += line(std::to_string(length), length);
    input += std::string(17 * 1024 * 1024, 'x') + "\n" + line("after", 0);
    const CliRun r = run({"-"}, input);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("record 5: the line is longer than 16 MB"), std::string::npos) << r.err;
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(out)) names.push_back(e.path().filename());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"4095.eps", "4096.eps", "4097.eps", "8191.eps"}));
}

// Titles that the file naming maps onto one name still give a file each.
TEST_F(Untrusted, CollidingTitlesGiveAFileEach) {
    const fs::path records = root / "titles.csv";
    std::ofstream(records) << "T1,a/b\nT2,a:b\nT3,a-b\nT4,a b\nT5,the very long start of "
                              "a title a-b\n";
    fs::create_directories(root / "out");
    const CliRun r = run({"{type:\"Code 128\", data:\"<<1>>\", import:\"" + records.string() +
                          "|1|2\", saveto:\"" + (root / "out").string() + "/\"}"});
    ASSERT_EQ(r.status, 0) << r.err;
    std::vector<std::string> data;
    for (const auto& e : fs::directory_iterator(root / "out")) {
        const std::string eps = testsupport::slurp(e.path());
        for (const char* d : {"T1", "T2", "T3", "T4", "T5"})
            if (eps.find(std::string("data:\"") + d + "\"") != std::string::npos) data.push_back(d);
    }
    std::sort(data.begin(), data.end());
    EXPECT_EQ(data, (std::vector<std::string>{"T1", "T2", "T3", "T4", "T5"}));
}

// The program started in `cwd` with its pid; its standard input is `input` when
// given, else the test's own.
pid_t start(const fs::path& cwd, const std::vector<std::string>& args, int input = -1) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        if (::chdir(cwd.c_str()) != 0) _exit(127);
        if (input >= 0 && ::dup2(input, STDIN_FILENO) < 0) _exit(127);
        std::vector<char*> argv{const_cast<char*>(STRIXEL_BINARY)};
        for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        ::execv(STRIXEL_BINARY, argv.data());
        _exit(127);
    }
    return pid;
}

// Waits for the child at most `seconds`, then kills it; its wait status.
int finish(pid_t pid, int seconds) {
    int status = 0;
    for (int i = 0; i < seconds * 100; ++i) {
        if (::waitpid(pid, &status, WNOHANG) == pid) return status;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ::kill(pid, SIGKILL);
    ::waitpid(pid, &status, 0);
    return status;
}

bool holdsTemporary(const fs::path& folder) {
    for (const auto& e : fs::directory_iterator(folder))
        if (e.path().filename().string().rfind(".strixel-", 0) == 0) return true;
    return false;
}

TEST_F(Untrusted, SigtermMidRunLeavesWholeFilesOnly) {
    const fs::path records = root / "many.csv";
    {
        std::ofstream f(records);
        for (int i = 0; i < 60000; ++i) f << "R" << i << "\n";
    }
    const fs::path out = root / "out";
    fs::create_directories(out);
    const std::string importKey = "\", import:\"" + records.string() + "\", saveto:\"";
    // A file a record: stopped after some files, each of them whole.
    pid_t pid = start(out, {"{type:\"Code 128\", data:\"<<1>>" + importKey + "./\"}"});
    for (int i = 0; i < 3000 && std::distance(fs::directory_iterator(out), {}) < 20; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    ::kill(pid, SIGTERM);
    int status = finish(pid, 60);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM) << status;
    EXPECT_FALSE(holdsTemporary(out));
    size_t files = 0;
    for (const auto& e : fs::directory_iterator(out)) {
        const std::string eps = testsupport::slurp(e.path());
        EXPECT_EQ(eps.substr(eps.size() - 6), "%%EOF\r") << e.path();
        ++files;
    }
    EXPECT_GT(files, 0u);
    EXPECT_LT(files, 60000u);

    // Text lines: the earlier file stays as it was until the run's lines are whole.
    const fs::path lines = root / "lines.txt";
    std::ofstream(lines) << "earlier\r";
    pid = start(root, {"--kind=text-line",
                       "{type:\"Code 128\", data:\"<<1>>" + importKey + lines.string() + "\"}"});
    for (int i = 0; i < 3000 && !holdsTemporary(root); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    ::kill(pid, SIGTERM);
    status = finish(pid, 60);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM) << status;
    EXPECT_FALSE(holdsTemporary(root));
    EXPECT_EQ(testsupport::slurp(lines.string()), "earlier\r");

    // An import waiting on a pipe that never ends still ends at the signal.
    int pipeEnds[2];
    ASSERT_EQ(::pipe(pipeEnds), 0);
    pid = start(out, {"{type:\"Code 128\", data:\"<<1>>\", import:\"-\", saveto:\"./\"}"},
                pipeEnds[0]);
    ::close(pipeEnds[0]);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    ::kill(pid, SIGTERM);
    status = finish(pid, 20);
    ::close(pipeEnds[1]);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM) << status;
}

}  // namespace
