// Documents, print requests and script records handed to the running desktop
// program from outside: a second copy (on a thread of its own, as another
// process would) talks to the first through the socket in a temporary runtime
// folder, and the first does the requests from its event loop.
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <future>
#include <sstream>
#include <string>
#include <vector>

#include "app/desktop/eventLoop.h"
#include "app/desktop/outsideInterface.h"
#include "app/shell.h"
#include "app/world.h"
#include "desktop_fixture.h"
#include "labels/labelFile.h"
#include "labels/printState.h"
#include "platform/questions.h"
#include "platform/toolbox/questionwindows.h"
#include "support/label_document.h"
#include "support/reader.h"
#include "symbology/host.h"
#include "symbology/messages.h"
#include "symbology/panels.h"
#include "symbology/state.h"

using namespace toolbox;

namespace {

constexpr int kNoCopyStatus = 3;  // the second copy found nobody to hand to

class OutsideTest : public DesktopTest {
  protected:
    void SetUp() override {
        DesktopTest::SetUp();
        resetWorld();
        resetEventLoop();
        resetOutsideInterface();
        gMsg.quiet = true;
        dir = testsupport::freshFolder("outside");
        // A socket's name is short: the runtime folder is made where names are.
        char runtime[] = "/tmp/strixel-outside-XXXXXX";
        ASSERT_NE(::mkdtemp(runtime), nullptr);
        runtimeDir = runtime;
        ::setenv("XDG_RUNTIME_DIR", runtime, 1);
        std::string why;
        socket = outsideSocketPath(&why);
        ASSERT_FALSE(socket.empty()) << why;
        ASSERT_TRUE(listenForRequests(socket, &why)) << why;
        installOutsideInterface();
        setScriptProgram(STRIXEL_BINARY);
    }
    void TearDown() override {
        resetOutsideInterface();
        ::unsetenv("XDG_RUNTIME_DIR");
        std::filesystem::remove_all(runtimeDir);
        resetEventLoop();
        resetWorld();
        DesktopTest::TearDown();
    }

    // Runs the first copy's loop until `done` holds (bounded: a fault fails
    // the test instead of hanging it).
    template <class Done>
    static bool runLoopUntil(Done done) {
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (!done()) {
            if (std::chrono::steady_clock::now() > end) return false;
            PumpDesktop(5);
            for (int guard = 0; guard < 20 && MainEventPass(); ++guard) {
            }
        }
        return true;
    }
    template <class T>
    static bool ready(std::future<T>& f) {
        return f.wait_for(std::chrono::seconds(0)) == std::future_status::ready;
    }

    // The second copy: strixel-desktop with these arguments, on its own thread.
    std::future<std::optional<int>> secondCopy(std::vector<std::string> args) {
        return std::async(std::launch::async, [args] {
            std::vector<std::string> all = {"strixel-desktop"};
            all.insert(all.end(), args.begin(), args.end());
            std::vector<char*> argv;
            for (std::string& a : all) argv.push_back(a.data());
            return handOffToRunningCopy(int(argv.size()), argv.data());
        });
    }
    std::future<HandOffResult> send(const std::string& message, std::string* answer) {
        const std::string path = socket;
        return std::async(std::launch::async, [path, message, answer] {
            return sendToRunningCopy(path, message, answer);
        });
    }

    std::string labelDocument(const std::string& name) {
        testsupport::startLabelDocument(2000, 1000, 2, 3);
        testsupport::addItemOfKind(kKindRect, 10, 10, 50, 90);
        const std::string path = testsupport::saveLabelDocument(dir + "/" + name);
        resetWorld();
        gMsg.quiet = true;
        return path;
    }

    std::string dir;
    std::string runtimeDir;
    std::string socket;
};

// As the layout editor's preview: a window opens only where none is, titled by
// the document's name.
int32_t previewTitledByDocument(WindowPtr, int32_t) {
    if (gWindows.disp2) return 0;
    const std::string name = std::filesystem::path(gDocFile.globFilS).filename().string();
    const std::string title = std::string(1, char(name.size())) + name;
    gWindows.disp2 = NewCWindow(nullptr, {100, 100, 300, 400},
                                reinterpret_cast<const unsigned char*>(title.c_str()), true,
                                documentProc, nullptr, true, 0);
    return 0;
}

TEST_F(OutsideTest, ASecondCopyHandsItsDocumentToTheFirst) {
    const std::string doc = labelDocument("doc.labl");
    // The preview window that opens for the document carries its name.
    setLoopHandler("NewPreviewWindow", previewTitledByDocument);
    auto second = secondCopy({doc});
    ASSERT_TRUE(runLoopUntil([&] { return ready(second) && gWindows.disp2; }));
    EXPECT_EQ(second.get(), std::optional<int>(0));
    EXPECT_EQ(gDocFile.globFilS, doc);
    EXPECT_TRUE(labelLayoutOpen());
    EXPECT_EQ(labelBack.across, 2u);
    EXPECT_EQ(gWindows.disp2->title, "doc.labl");
    EXPECT_EQ(outsideCounts().taken, 1);
}

TEST_F(OutsideTest, AHandedDocumentReplacesTheLayoutAsOpenDoesAndOneThatFailsLeavesIt) {
    const std::string doc = labelDocument("doc.labl");
    static std::vector<std::string> calls;
    calls.clear();
    for (std::string name : {"ShowToolWin", "ShowTabWin"})
        setLoopHandler(name, [name](WindowPtr, int32_t) {
            calls.push_back(name);
            return 0;
        });
    setLoopHandler("NewPreviewWindow", previewTitledByDocument);
    platform::QuestionWindows windows;
    windows.message = [](const std::string& text) { calls.push_back("box " + text); };
    platform::SetQuestionWindows(windows);
    struct Restore {
        ~Restore() { platform::SetQuestionWindows({}); }
    } restore;
    // A changed layout in its window.
    testsupport::startLabelDocument(2000, 1000, 1, 1);
    testsupport::addItemOfKind(kKindRect, 10, 10, 50, 90);
    const std::string mine = dir + "/mine.labl";
    gDocFile.globFilS = mine;
    gShell.changed = 1;
    callLoopHandler("NewPreviewWindow", nullptr, 0);

    // Notes that are no document, "Don't Save": said in the box; the layout
    // keeps its name, so Save cannot write it over the notes, and its changes.
    const std::string notes = dir + "/notes.txt";
    std::ofstream(notes) << "my precious notes\n";
    platform::questionScript().askerAnswers = {1};
    auto second = secondCopy({notes});
    ASSERT_TRUE(runLoopUntil([&] { return ready(second) && !calls.empty(); }));
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].rfind("box ", 0), 0u) << calls[0];
    EXPECT_EQ(gDocFile.globFilS, mine);
    EXPECT_EQ(gShell.changed, 1);
    EXPECT_EQ(labelBack.lastItem, 0);

    // A document that loads: the palettes, and a window of its own name.
    calls.clear();
    gShell.changed = 0;
    auto third = secondCopy({doc});
    ASSERT_TRUE(runLoopUntil([&] { return ready(third) && gDocFile.globFilS == doc; }));
    ASSERT_NE(gWindows.disp2, nullptr);
    EXPECT_EQ(gWindows.disp2->title, "doc.labl");
    EXPECT_EQ(calls, (std::vector<std::string>{"ShowToolWin", "ShowTabWin"}));
}

// The second copy as a process of its own: this test program started again
// with the arguments in STRIXEL_SECOND_COPY (one a line) runs only this case,
// which does what strixel-desktop does before its windows and ends with its
// status. Run alone, the case has nothing to do.
TEST(OutsideSecondCopy, HandsOverAndEnds) {
    const char* args = std::getenv("STRIXEL_SECOND_COPY");
    if (!args) GTEST_SKIP() << "started by ASecondProcessHandsItsDocumentToTheFirst";
    std::vector<std::string> all = {"strixel-desktop"};
    std::istringstream lines(args);
    for (std::string line; std::getline(lines, line);) all.push_back(line);
    std::vector<char*> argv;
    for (std::string& a : all) argv.push_back(a.data());
    const std::optional<int> status = handOffToRunningCopy(int(argv.size()), argv.data());
    std::fflush(nullptr);
    std::_Exit(status.value_or(kNoCopyStatus));
}

TEST_F(OutsideTest, ASecondProcessHandsItsDocumentToTheFirst) {
    const std::string doc = labelDocument("process.labl");
    std::vector<std::string> env = {"STRIXEL_SECOND_COPY=" + doc, "XDG_RUNTIME_DIR=" + runtimeDir};
    for (char** e = environ; *e; ++e)
        if (std::strncmp(*e, "XDG_RUNTIME_DIR=", 16) != 0) env.emplace_back(*e);
    std::vector<char*> envp;
    for (std::string& e : env) envp.push_back(e.data());
    envp.push_back(nullptr);
    std::string self = std::filesystem::read_symlink("/proc/self/exe").string();
    std::string filter = "--gtest_filter=OutsideSecondCopy.HandsOverAndEnds";
    char* argv[] = {self.data(), filter.data(), nullptr};
    pid_t pid = 0;
    ASSERT_EQ(::posix_spawn(&pid, self.c_str(), nullptr, nullptr, argv, envp.data()), 0);
    int status = -1;
    bool ended = false;
    const bool done = runLoopUntil([&] {
        if (!ended) ended = ::waitpid(pid, &status, WNOHANG) == pid;
        return ended && gDocFile.globFilS == doc;
    });
    if (!ended) {
        ::kill(pid, SIGKILL);
        ::waitpid(pid, &status, 0);
    }
    ASSERT_TRUE(done);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_TRUE(labelLayoutOpen());
    EXPECT_EQ(outsideCounts().taken, 1);
}

// The usage lost on a full disk ends the copy with a failure, not a success.
TEST_F(OutsideTest, AUsageThatCannotBeWrittenEndsWithAFailure) {
    for (const auto& [device, status] : {std::pair{"/dev/null", 0}, std::pair{"/dev/full", 1}}) {
        std::fflush(stdout);
        const int kept = ::dup(STDOUT_FILENO);
        const int to = ::open(device, O_WRONLY);
        ASSERT_GE(to, 0);
        ::dup2(to, STDOUT_FILENO);
        ::close(to);
        std::string arg0 = "strixel-desktop", arg1 = "--help";
        char* argv[] = {arg0.data(), arg1.data()};
        const std::optional<int> ended = handOffToRunningCopy(2, argv);
        std::fflush(stdout);
        std::clearerr(stdout);
        ::dup2(kept, STDOUT_FILENO);
        ::close(kept);
        EXPECT_EQ(ended, std::optional<int>(status)) << device;
    }
}

TEST_F(OutsideTest, AWrongCommandLineEndsWithoutSendingAndASecondCopyWithNothingStarts) {
    auto missing = secondCopy({dir + "/missing.labl"});
    ASSERT_TRUE(runLoopUntil([&] { return ready(missing); }));
    EXPECT_EQ(missing.get(), std::optional<int>(2));
    auto plain = secondCopy({});
    ASSERT_TRUE(runLoopUntil([&] { return ready(plain); }));
    EXPECT_EQ(plain.get(), std::nullopt);
    EXPECT_EQ(outsideCounts().refused, 0);
}

TEST_F(OutsideTest, PrintOpensTheDocumentAndItsPrintWindow) {
    const std::string doc = labelDocument("print.labl");
    auto second = secondCopy({"--print", doc});
    ASSERT_TRUE(runLoopUntil([&] { return ready(second) && gPrint.printScreen == 1; }));
    EXPECT_EQ(second.get(), std::optional<int>(0));
    EXPECT_EQ(gDocFile.globFilS, doc);
    EXPECT_EQ(gPrint.printLoop, 1);
    bool printWindow = false;
    for (const LoopCall& c : unhandledCalls())
        printWindow = printWindow || c.name == "ShowPrintWin";
    EXPECT_TRUE(printWindow);
}

TEST_F(OutsideTest, MalformedMessagesAreRefusedAndNothingIsDone) {
    const std::string doc = labelDocument("never.labl");
    const std::string good = encodeRequests({{RequestKind::open, doc, {}, {}}});
    std::vector<std::string> bad;
    for (int i = 0; i < 20; ++i) {
        const std::string n = std::to_string(i);
        bad.push_back("GET /" + n + " HTTP/1.0\r\n\r\n");
        const std::string relative = "open " + std::to_string(n.size() + 3) + "\nrel" + n + "\n";
        bad.push_back("strixel-request 1 " + std::to_string(relative.size()) + "\n" + relative);
        const std::string goodBody = good.substr(good.find('\n') + 1);
        bad.push_back("strixel-request 1 " + std::to_string(goodBody.size() - size_t(i + 1)) +
                      "\n" + goodBody);
        bad.push_back(good + std::string(size_t(i + 1), 'x'));
        // The good request, then one that is not: none of it is taken.
        const std::string body =
            "open " + std::to_string(doc.size()) + "\n" + doc + "\nerase" + n + " 1\n/\n";
        bad.push_back("strixel-request 1 " + std::to_string(body.size()) + "\n" + body);
    }
    ASSERT_EQ(bad.size(), 100u);
    auto sender = std::async(std::launch::async, [this, bad] {
        int refusedAnswers = 0;
        for (const std::string& m : bad) {
            std::string answer;
            if (sendToRunningCopy(socket, m, &answer) == HandOffResult::refused && !answer.empty())
                ++refusedAnswers;
        }
        return refusedAnswers;
    });
    ASSERT_TRUE(runLoopUntil([&] { return ready(sender); }));
    EXPECT_EQ(sender.get(), 100);
    // A few more passes: nothing waits to be done.
    runLoopUntil([] { return true; });
    for (int i = 0; i < 5; ++i) MainEventPass();
    EXPECT_EQ(outsideCounts().refused, 100);
    EXPECT_EQ(outsideCounts().taken, 0);
    EXPECT_TRUE(gDocFile.globFilS.empty());
    EXPECT_FALSE(labelLayoutOpen());
    EXPECT_TRUE(unhandledCalls().empty());
}

// A sender that writes its bytes and goes away without waiting for the answer.
bool sendAndGo(const std::string& socket, const std::string& bytes) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un to{};
    to.sun_family = AF_UNIX;
    socket.copy(to.sun_path, sizeof to.sun_path - 1);
    bool sent = ::connect(fd, reinterpret_cast<sockaddr*>(&to), sizeof to) == 0;
    sent = sent && ::write(fd, bytes.data(), bytes.size()) == ssize_t(bytes.size());
    ::close(fd);
    return sent;
}

TEST_F(OutsideTest, ASenderThatGoesAwayIsTakenOnlyWithItsWholeMessage) {
    auto half = std::async(std::launch::async, [this] {
        return sendAndGo(socket, "strixel-request 1 50\nopen 20\n/tmp");
    });
    ASSERT_TRUE(runLoopUntil([&] { return ready(half) && outsideCounts().refused == 1; }));
    EXPECT_TRUE(half.get());
    EXPECT_NE(outsideCounts().lastRefusal.find("went away"), std::string::npos);
    EXPECT_EQ(outsideCounts().taken, 0);

    const std::string doc = labelDocument("whole.labl");
    auto whole = std::async(std::launch::async, [this, doc] {
        return sendAndGo(socket, encodeRequests({{RequestKind::open, doc, {}, {}}}));
    });
    ASSERT_TRUE(runLoopUntil([&] { return ready(whole) && gDocFile.globFilS == doc; }));
    EXPECT_EQ(outsideCounts().taken, 1);
}

TEST_F(OutsideTest, ARefusalQuotesWhatWasSentShortAndPrintable) {
    const std::string junk = "{type:\"x\"} \x1b[2J" + std::string(5000, 'j');
    std::string answer;
    auto sent = send(encodeRequests({{RequestKind::script, {}, "/", junk}}), &answer);
    ASSERT_TRUE(runLoopUntil([&] { return ready(sent); }));
    EXPECT_EQ(sent.get(), HandOffResult::refused);
    EXPECT_NE(answer.find("after the record's closing brace"), std::string::npos) << answer;
    EXPECT_LE(answer.size(), 300u);
    for (char c : outsideCounts().lastRefusal) EXPECT_GE(static_cast<unsigned char>(c), ' ');
}

// What Ghostscript and zxing-cpp read in an EPS file.
std::string readEps(const std::string& path, const std::string& format) {
    const testsupport::Rendered r = testsupport::renderWithGhostscript(path, 400);
    EXPECT_TRUE(r.ok) << r.err;
    return r.ok ? testsupport::decode(testsupport::cropToInk(r.bitmap, 80), format).text : "";
}

TEST_F(OutsideTest, AScriptRunsAsOnTheCommandLine) {
    auto second = secondCopy(
        {"--script", "{type:\"EAN 13\", data:\"400638133393\", saveto:\"" + dir + "/ean.eps\"}"});
    ASSERT_TRUE(runLoopUntil([&] { return ready(second); }));
    EXPECT_EQ(second.get(), std::optional<int>(0));
    ASSERT_TRUE(runLoopUntil([] { return scriptsPending() == 0; }));
    EXPECT_EQ(readEps(dir + "/ean.eps", "EAN-13"), "4006381333931");
    // The running program's own settings and label are not touched.
    EXPECT_EQ(gData.len1, 0);
    EXPECT_FALSE(labelLayoutOpen());
}

TEST_F(OutsideTest, AScriptsRelativeNamesAreTakenFromTheSendersFolder) {
    std::filesystem::create_directory(dir + "/sub");
    const std::string records =
        "{type:\"Code 128\", data:\"OUTSIDE-1\", saveto:\"sub/one.eps\"}\n\n"
        "{type:\"Code 128\", data:\"OUTSIDE-2\", saveto:\"two.eps\"}\n";
    std::string answer;
    auto sent = send(encodeRequests({{RequestKind::script, {}, dir, records}}), &answer);
    ASSERT_TRUE(runLoopUntil([&] { return ready(sent); }));
    EXPECT_EQ(sent.get(), HandOffResult::taken) << answer;
    ASSERT_TRUE(runLoopUntil([] { return scriptsPending() == 0; }));
    EXPECT_EQ(readEps(dir + "/sub/one.eps", "Code128"), "OUTSIDE-1");
    EXPECT_EQ(readEps(dir + "/two.eps", "Code128"), "OUTSIDE-2");

    // A folder name is bytes, UTF-8 or not: Latin-1, and the EUC-JP of a
    // Japanese user's own locale.
    for (const std::string name : {"B\xfcro", "\xc6\xfc\xcb\xdc"}) {
        const std::string folder = dir + "/" + name;
        std::filesystem::create_directory(folder);
        sent = send(encodeRequests({{RequestKind::script,
                                     {},
                                     folder,
                                     "{type:\"Code 128\", data:\"BYTES\", saveto:\"b.eps\"}"}}),
                    &answer);
        ASSERT_TRUE(runLoopUntil([&] { return ready(sent); }));
        EXPECT_EQ(sent.get(), HandOffResult::taken) << answer;
        ASSERT_TRUE(runLoopUntil([] { return scriptsPending() == 0; }));
        // Read under a plain name: Ghostscript opens UTF-8 names only.
        std::error_code ec;
        std::filesystem::copy_file(folder + "/b.eps", dir + "/b.eps",
                                   std::filesystem::copy_options::overwrite_existing, ec);
        EXPECT_FALSE(ec) << gMsg.last;
        EXPECT_EQ(readEps(dir + "/b.eps", "Code128"), "BYTES");
    }
}

TEST_F(OutsideTest, AFailingScriptIsShownWhenItsRunEnds) {
    std::string answer;
    auto sent = send(encodeRequests({{RequestKind::script,
                                      {},
                                      dir,
                                      "{type:\"No Such Type\", data:\"1\", saveto:\"x.eps\"}"}}),
                     &answer);
    ASSERT_TRUE(runLoopUntil([&] { return ready(sent); }));
    EXPECT_EQ(sent.get(), HandOffResult::taken);
    ASSERT_TRUE(runLoopUntil([] { return scriptsPending() == 0; }));
    EXPECT_NE(gMsg.last.find("did not run whole"), std::string::npos) << gMsg.last;
    EXPECT_NE(gMsg.last.find("No Such Type"), std::string::npos) << gMsg.last;
    EXPECT_FALSE(std::filesystem::exists(dir + "/x.eps"));

    // The sender's folder went away before the script ran: it says so.
    runScriptRecords("{type:\"EAN 13\", data:\"400638133393\", saveto:\"y.eps\"}", dir + "/gone",
                     "gone.txt");
    ASSERT_TRUE(runLoopUntil([] { return scriptsPending() == 0; }));
    EXPECT_NE(gMsg.last.find("/gone is not there"), std::string::npos) << gMsg.last;
}

// A failing script's box shows each letter of the report it can (one that Mac OS
// Roman lacks as one '?'); a report longer than the box is cut between letters,
// and the cut is marked.
TEST_F(OutsideTest, AFailingScriptsBoxKeepsItsLettersWhole) {
    const auto failed = [&](const std::string& saveto) {
        runScriptRecords("{type:\"EAN 13\", data:\"400638133393\", saveto:\"" + saveto + "\"}", dir,
                         "s");
        EXPECT_TRUE(runLoopUntil([] { return scriptsPending() == 0; }));
        return gMsg.last;
    };
    const std::string shortOne = failed("nodir/\u00E9\u4E2D.eps");
    EXPECT_TRUE(shortOne.ends_with("(nodir/\x8E?.eps: No such file or directory)")) << shortOne;

    std::string accents;
    for (int i = 0; i < 100; ++i) accents += "\u00E9";
    const std::string longOne = failed("nodir/\u4E2D" + accents + ".eps");
    ASSERT_EQ(longOne.size(), 255u) << longOne;
    EXPECT_EQ(longOne.back(), '\xC9') << longOne;  // "…"
    EXPECT_NE(longOne.find("(nodir/?\x8E\x8E"), std::string::npos) << longOne;
    EXPECT_EQ(longOne.find("\x8E?"), std::string::npos) << longOne;
}

// The failure box waits for its answer in the program's own loop, never inside
// the signal of the run that ended (where nothing may wait): here nobody answers,
// and the loop is told so in the open.
TEST_F(OutsideTest, AFailingScriptsBoxWaitsInTheProgramsOwnLoop) {
    UseDesktopQuestions();
    struct Restore {
        ~Restore() { UseHeadlessQuestions(); }
    } restore;
    runScriptRecords("{type:\"No Such Type\", data:\"1\", saveto:\"x.eps\"}", dir, "boxed");
    EXPECT_THROW(runLoopUntil([] { return scriptsPending() == 0; }), ModalStall);
    EXPECT_EQ(scriptsPending(), 0u);
}

TEST_F(OutsideTest, QuitFromOutsideEndsTheLoop) {
    std::string answer;
    auto sent = send(encodeRequests({{RequestKind::quit, {}, {}, {}}}), &answer);
    ASSERT_TRUE(runLoopUntil([&] { return ready(sent) && gShell.gRunning != 0; }));
    EXPECT_EQ(sent.get(), HandOffResult::taken);
    EXPECT_EQ(gShell.gRunning, -1);
}

// `--script RECORDS --quit` makes its files before the program ends: the quit
// waits for the scripts handed in before it, in its own message or an earlier
// one, and a failing script is shown before the program ends.
TEST_F(OutsideTest, AQuitWaitsForTheScriptsBeforeIt) {
    auto second = secondCopy(
        {"--script", "{type:\"EAN 13\", data:\"400638133393\", saveto:\"" + dir + "/first.eps\"}",
         "--quit"});
    ASSERT_TRUE(runLoopUntil([&] { return ready(second) && gShell.gRunning != 0; }));
    EXPECT_EQ(second.get(), std::optional<int>(0));
    EXPECT_EQ(scriptsPending(), 0u);
    EXPECT_EQ(gShell.gRunning, -1);
    EXPECT_EQ(readEps(dir + "/first.eps", "EAN-13"), "4006381333931");

    // A quit of its own while earlier records still run.
    gShell.gRunning = 0;
    runScriptRecords(
        "{type:\"Code 128\", data:\"LATER\", saveto:\"later.eps\"}\n"
        "{type:\"No Such Type\", data:\"1\", saveto:\"x.eps\"}",
        dir, "earlier");
    ASSERT_EQ(scriptsPending(), 1u);
    std::string answer;
    auto quit = send(encodeRequests({{RequestKind::quit, {}, {}, {}}}), &answer);
    ASSERT_TRUE(runLoopUntil([&] { return ready(quit) && gShell.gRunning != 0; }));
    EXPECT_EQ(quit.get(), HandOffResult::taken) << answer;
    EXPECT_EQ(scriptsPending(), 0u);
    EXPECT_EQ(readEps(dir + "/later.eps", "Code128"), "LATER");
    EXPECT_NE(gMsg.last.find("No Such Type"), std::string::npos) << gMsg.last;
}

// With no copy running, the program does `--script RECORDS --quit` itself:
// the script's file is made before its loop ends.
TEST_F(OutsideTest, TheFirstCopyRunsItsScriptBeforeItsOwnQuit) {
    closeOutsideInterface();
    std::string arg0 = "strixel-desktop", arg1 = "--script",
                arg2 = "{type:\"EAN 13\", data:\"400638133393\", saveto:\"" + dir + "/own.eps\"}",
                arg3 = "--quit";
    char* argv[] = {arg0.data(), arg1.data(), arg2.data(), arg3.data()};
    InstallHandlers(4, argv);
    ASSERT_TRUE(runLoopUntil([] { return gShell.gRunning != 0; }));
    EXPECT_EQ(scriptsPending(), 0u);
    EXPECT_EQ(readEps(dir + "/own.eps", "EAN-13"), "4006381333931");
}

TEST_F(OutsideTest, ARequestOutlivesAModalWindowThatDropsEvents) {
    queueRequests({{RequestKind::quit, {}, {}, {}}});
    FlushEvents(everyEvent, 0);  // as a message box does when it closes
    ASSERT_TRUE(runLoopUntil([] { return gShell.gRunning != 0; }));
    EXPECT_EQ(gShell.gRunning, -1);
}

TEST_F(OutsideTest, TheSocketIsTheUsersAlone) {
    struct stat st {};
    ASSERT_EQ(::stat(socket.c_str(), &st), 0);
    EXPECT_TRUE(S_ISSOCK(st.st_mode));
    EXPECT_EQ(st.st_mode & 077, 0u);
    EXPECT_EQ(st.st_uid, ::getuid());
}

TEST_F(OutsideTest, TheFirstCopyDoesItsOwnCommandLineOnceItsLoopRuns) {
    closeOutsideInterface();
    const std::string doc = labelDocument("own.labl");
    std::string arg0 = "strixel-desktop", arg1 = doc;
    char* argv[] = {arg0.data(), arg1.data()};
    InstallHandlers(2, argv);
    EXPECT_TRUE(listening());
    EXPECT_TRUE(gDocFile.globFilS.empty());  // not before the loop runs
    ASSERT_TRUE(runLoopUntil([&] { return gDocFile.globFilS == doc; }));
    EXPECT_TRUE(labelLayoutOpen());
    // A second copy that finds it listening hands over and ends.
    auto second = secondCopy({doc});
    ASSERT_TRUE(runLoopUntil([&] { return ready(second); }));
    EXPECT_EQ(second.get(), std::optional<int>(0));
}

TEST_F(OutsideTest, AnEpsFileGivesBackItsSettings) {
    const std::string eps = dir + "/made.eps";
    const std::string record = "{type:\"Code 128\", data:\"FROM-EPS\", saveto:\"" + eps + "\"}";
    ASSERT_EQ(std::system(("\"" STRIXEL_BINARY "\" '" + record + "' 2>/dev/null").c_str()), 0);
    gDocFile.globFilS = dir + "/layout.labl";
    auto second = secondCopy({eps});
    ASSERT_TRUE(runLoopUntil([&] { return ready(second) && gData.len1 > 0; }));
    EXPECT_EQ(second.get(), std::optional<int>(0));
    EXPECT_STREQ(gData.chMainCode, "FROM-EPS");
    EXPECT_EQ(gPanels.TEH.text, "FROM-EPS");
    EXPECT_EQ(gSym.code, 5);
    EXPECT_FALSE(labelLayoutOpen());
    // A save goes where it went before, never over the EPS file.
    EXPECT_EQ(gDocFile.globFilS, dir + "/layout.labl");
}

}  // namespace
