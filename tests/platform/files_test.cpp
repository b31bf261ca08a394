#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/files.h"
#include "support/cases.h"
#include "support/reader.h"

namespace {

using namespace platform;

OSErr write(FileRef ref, const std::string& s) {
    int32_t n = static_cast<int32_t>(s.size());
    OSErr err = FSWrite(ref, &n, s.data());
    if (err == noErr) {
        EXPECT_EQ(n, static_cast<int32_t>(s.size()));
    }
    return err;
}

TEST(Files, FullDiskIsReportedNeverSuccess) {
    // A small write waits in the buffer; the close must then say the disk is full.
    FileRef ref = 0;
    ASSERT_EQ(FSCreateOpen("/dev/full", &ref), noErr);
    EXPECT_EQ(write(ref, "%!PS-Adobe-3.0\r"), noErr);
    EXPECT_EQ(FSClose(ref), dskFulErr);

    // A write larger than the buffer fails at once, and so does everything after it.
    ASSERT_EQ(FSCreateOpen("/dev/full", &ref), noErr);
    const std::string big(200000, 'x');
    int32_t n = static_cast<int32_t>(big.size());
    EXPECT_EQ(FSWrite(ref, &n, big.data()), dskFulErr);
    EXPECT_EQ(n, 0);
    EXPECT_EQ(write(ref, "more"), dskFulErr);
    EXPECT_EQ(FSClose(ref), dskFulErr);
}

TEST(Files, PositionsAreExactAcrossBufferFlushes) {
    // The same writes into a disk file and a memory file, the position checked after each.
    const std::string path = testsupport::tempPath("positions.bin");
    FileRef disk = 0;
    ASSERT_EQ(FSCreateOpen(path, &disk), noErr);
    FileRef mem = FSOpenMemory();
    ASSERT_NE(mem, 0);
    std::string expected;
    const size_t sizes[] = {1, 7, 65536 + 3, 0, 65535, 100000, 5, 1};
    char fill = 'a';
    for (size_t size : sizes) {
        const std::string chunk(size, fill++);
        expected += chunk;
        for (FileRef ref : {disk, mem}) {
            ASSERT_EQ(write(ref, chunk), noErr);
            int32_t pos = -1;
            ASSERT_EQ(GetFPos(ref, &pos), noErr);
            EXPECT_EQ(pos, static_cast<int32_t>(expected.size())) << "after " << size;
        }
    }
    // Back-patching, as a PDF writer patches a length: go back, overwrite, return.
    for (FileRef ref : {disk, mem}) {
        ASSERT_EQ(SetFPos(ref, 10), noErr);
        ASSERT_EQ(write(ref, "PATCH"), noErr);
        int32_t pos = -1;
        GetFPos(ref, &pos);
        EXPECT_EQ(pos, 15);
        ASSERT_EQ(SetFPos(ref, static_cast<int32_t>(expected.size())), noErr);
        ASSERT_EQ(write(ref, "end"), noErr);
    }
    expected.replace(10, 5, "PATCH");
    expected += "end";
    EXPECT_EQ(FSMemoryContents(mem), expected);
    EXPECT_EQ(FSClose(disk), noErr);
    EXPECT_EQ(FSClose(mem), noErr);
    EXPECT_EQ(testsupport::slurp(path), expected);
}

TEST(Files, LastingBytesGoOutInPlaceThroughShortWritesAndPatches) {
    // Copied and lasting pieces interleaved, into a disk file, a memory file and
    // a pipe whose reader takes little at a time (the writes come back short);
    // every byte in order, positions exact, and a back-patch lands where it should.
    const std::string lasting(30000, 'L');  // outlives the files, as a prolog does
    std::string expected;
    auto writeAll = [&](FileRef ref) {
        for (int round = 0; round < 3; ++round) {
            ASSERT_EQ(write(ref, "head" + std::to_string(round)), noErr);
            int32_t n = static_cast<int32_t>(lasting.size());
            ASSERT_EQ(FSWriteLasting(ref, &n, lasting.data()), noErr);
            ASSERT_EQ(n, static_cast<int32_t>(lasting.size()));
            ASSERT_EQ(write(ref, std::string(20000, 'a' + round)), noErr);
        }
    };
    for (int round = 0; round < 3; ++round)
        expected += "head" + std::to_string(round) + lasting + std::string(20000, 'a' + round);

    const std::string path = testsupport::tempPath("lasting.bin");
    FileRef disk = 0;
    ASSERT_EQ(FSCreateOpen(path, &disk), noErr);
    FileRef mem = FSOpenMemory();
    for (FileRef ref : {disk, mem}) {
        writeAll(ref);
        int32_t pos = -1;
        ASSERT_EQ(GetFPos(ref, &pos), noErr);
        EXPECT_EQ(pos, static_cast<int32_t>(expected.size()));
        ASSERT_EQ(SetFPos(ref, 4), noErr);
        ASSERT_EQ(write(ref, "#"), noErr);
    }
    std::string patched = expected;
    patched[4] = '#';
    EXPECT_EQ(FSMemoryContents(mem), patched);
    EXPECT_EQ(FSClose(mem), noErr);
    EXPECT_EQ(FSClose(disk), noErr);
    EXPECT_EQ(testsupport::slurp(path), patched);

    const std::string fifo = testsupport::tempPath("lasting.fifo");
    std::remove(fifo.c_str());
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    std::string got;
    std::thread reader([&] {
        sigset_t alarm;  // the alarm is for the writer
        sigemptyset(&alarm);
        sigaddset(&alarm, SIGALRM);
        ::pthread_sigmask(SIG_BLOCK, &alarm, nullptr);
        const int fd = ::open(fifo.c_str(), O_RDONLY);
        if (fd >= 0) ::fcntl(fd, F_SETPIPE_SZ, 4096);  // a write of more waits for the reader
        char chunk[4096];
        for (ssize_t r; fd >= 0 && (r = ::read(fd, chunk, sizeof chunk)) > 0;) {
            got.append(chunk, static_cast<size_t>(r));
            ::usleep(100);  // slower than the writer, which waits on a full pipe
        }
        if (fd >= 0) ::close(fd);
    });
    // A signal that finds the writer waiting on the full pipe cuts its write short.
    struct sigaction quiet {
    }, old{};
    quiet.sa_handler = [](int) {};
    quiet.sa_flags = SA_RESTART;
    sigemptyset(&quiet.sa_mask);
    ::sigaction(SIGALRM, &quiet, &old);
    const itimerval often{{0, 300}, {0, 300}}, off{};
    ::setitimer(ITIMER_REAL, &often, nullptr);
    FileRef pipe = 0;
    ASSERT_EQ(FSCreateReplacement(fifo, &pipe), noErr);  // a pipe is written where it is
    writeAll(pipe);
    EXPECT_EQ(FSCommit(pipe), noErr);
    ::setitimer(ITIMER_REAL, &off, nullptr);
    ::sigaction(SIGALRM, &old, nullptr);
    reader.join();
    EXPECT_TRUE(got == expected) << got.size() << " bytes of " << expected.size();
}

TEST(Files, QuickWritesLandInOrderWhateverCallComesBetween) {
    // Small pieces through the quick road, mixed with every other kind of call on
    // the same file and on a second one: each byte where a plain FSWrite puts it.
    auto quick = [](FileRef ref, const std::string& s) {
        if (!FSWriteQuick(ref, s.data(), static_cast<int32_t>(s.size()))) write(ref, s);
    };
    const std::string lasting(5000, 'L');
    const std::string pathA = testsupport::tempPath("quick-a.bin");
    const std::string pathB = testsupport::tempPath("quick-b.bin");
    FileRef a = 0, b = 0;
    ASSERT_EQ(FSCreateReplacement(pathA, &a), noErr);
    ASSERT_EQ(FSCreateOpen(pathB, &b), noErr);
    FileRef mem = FSOpenMemory();
    EXPECT_FALSE(FSWriteQuick(a, "x", 1));  // nothing lent before a first write
    std::string wantA, wantB, wantMem;
    for (int i = 0; i < 4000; ++i) {
        const std::string piece = std::to_string(i) + (i % 7 == 0 ? std::string(300, 'p') : " ");
        quick(a, piece);
        wantA += piece;
        switch (i % 50) {
            case 3: {  // the position counts what went the quick way
                int32_t pos = -1;
                ASSERT_EQ(GetFPos(a, &pos), noErr);
                ASSERT_EQ(pos, static_cast<int32_t>(wantA.size()));
                break;
            }
            case 11:  // another file between two pieces
                quick(b, piece);
                wantB += piece;
                break;
            case 19: {
                int32_t n = static_cast<int32_t>(lasting.size());
                ASSERT_EQ(FSWriteLasting(a, &n, lasting.data()), noErr);
                wantA += lasting;
                break;
            }
            case 27:
                quick(mem, piece);  // a memory file takes the ordinary road
                wantMem += piece;
                break;
            case 35:
                ASSERT_EQ(FSFlush(a), noErr);
                break;
        }
    }
    // A patch behind the quick pieces, then on at the end.
    ASSERT_EQ(SetFPos(a, 2), noErr);
    quick(a, "##");
    ASSERT_EQ(SetFPos(a, static_cast<int32_t>(wantA.size())), noErr);
    quick(a, "end");
    wantA.replace(2, 2, "##");
    wantA += "end";
    int32_t eof = -1;
    ASSERT_EQ(GetEOF(a, &eof), noErr);
    EXPECT_EQ(eof, static_cast<int32_t>(wantA.size()));
    EXPECT_EQ(FSMemoryContents(mem), wantMem);
    ASSERT_EQ(FSCommit(a), noErr);
    ASSERT_EQ(FSClose(b), noErr);
    ASSERT_EQ(FSClose(mem), noErr);
    EXPECT_TRUE(testsupport::slurp(pathA) == wantA);
    EXPECT_TRUE(testsupport::slurp(pathB) == wantB);

    // A closed file's reference lends nothing: the next file that gets it
    // starts empty, and a write to the closed one fails.
    FileRef c = 0;
    ASSERT_EQ(FSCreateOpen(pathB, &c), noErr);
    quick(c, "first");
    ASSERT_EQ(FSClose(c), noErr);
    EXPECT_FALSE(FSWriteQuick(c, "lost", 4));
    FileRef d = 0;
    ASSERT_EQ(FSCreateOpen(pathA, &d), noErr);
    quick(d, "second");
    ASSERT_EQ(FSClose(d), noErr);
    EXPECT_EQ(testsupport::slurp(pathB), "first");
    EXPECT_EQ(testsupport::slurp(pathA), "second");
}

TEST(Files, ReadsBackAndReportsTheEnd) {
    const std::string path = testsupport::tempPath("read.bin");
    FileRef ref = 0;
    ASSERT_EQ(FSOpenRW(path, &ref), noErr);
    ASSERT_EQ(write(ref, "0123456789"), noErr);
    ASSERT_EQ(SetFPos(ref, 4), noErr);
    char buf[16] = {};
    int32_t n = 4;
    EXPECT_EQ(FSRead(ref, &n, buf), noErr);
    EXPECT_EQ(std::string(buf, 4), "4567");
    n = 16;
    EXPECT_EQ(FSRead(ref, &n, buf), eofErr);
    EXPECT_EQ(n, 2);
    EXPECT_EQ(FSClose(ref), noErr);

    // Opening again keeps the contents.
    ASSERT_EQ(FSOpenRW(path, &ref), noErr);
    n = 3;
    EXPECT_EQ(FSRead(ref, &n, buf), noErr);
    EXPECT_EQ(std::string(buf, 3), "012");
    EXPECT_EQ(FSClose(ref), noErr);
}

TEST(Files, BadReferencesAndPaths) {
    FileRef ref = FSOpenMemory();
    EXPECT_EQ(FSClose(ref), noErr);
    EXPECT_EQ(FSClose(ref), rfNumErr);  // closed twice
    int32_t n = 1;
    EXPECT_EQ(FSWrite(ref, &n, "x"), rfNumErr);
    EXPECT_EQ(FSMemoryContents(ref), "");
    EXPECT_EQ(FSCreateOpen(testsupport::tempPath("no/such/folder/file"), &ref), dirNFErr);
    EXPECT_EQ(ref, 0);
    // A NUL inside a path must not open the file its first bytes name.
    const std::string named = testsupport::tempPath("out.eps");
    std::remove(named.c_str());
    EXPECT_EQ(FSCreateOpen(named + std::string(1, '\0') + "x", &ref), bdNamErr);
    EXPECT_EQ(pathKind(named), PathKind::missing);
    // A name longer than the file system takes is a bad name, never a success.
    EXPECT_EQ(FSCreateOpen(testsupport::tempPath(std::string(300, 'n')), &ref), bdNamErr);
    EXPECT_EQ(ref, 0);
}

TEST(Files, ColonPathsAndPosixPaths) {
    for (const auto& c : testsupport::readCases("platform/colon_paths.txt", 2)) {
        EXPECT_EQ(colonToPosix(c[0]), c[1]) << c.where;
        EXPECT_EQ(posixToColon(c[1]), c[0]) << c.where;
    }
    const std::string longName(5000, 'a');
    EXPECT_EQ(colonToPosix("Vol:" + longName), "/Vol/" + longName);
    EXPECT_EQ(posixToColon("/Vol/" + longName), "Vol:" + longName);
    EXPECT_EQ(colonToPosix(""), "");
    EXPECT_EQ(posixToColon(""), "");
    EXPECT_EQ(colonToPosix(":"), ".");
    EXPECT_EQ(posixToColon("./File"), ":File");
}

// Sets environment variables for one test and puts them back afterwards.
struct Environment {
    std::vector<std::pair<std::string, std::optional<std::string>>> saved;
    void set(const char* name, const char* value) {
        const char* old = std::getenv(name);
        saved.emplace_back(name, old ? std::optional<std::string>(old) : std::nullopt);
        if (value)
            setenv(name, value, 1);
        else
            unsetenv(name);
    }
    ~Environment() {
        for (auto it = saved.rbegin(); it != saved.rend(); ++it) {
            if (it->second)
                setenv(it->first.c_str(), it->second->c_str(), 1);
            else
                unsetenv(it->first.c_str());
        }
    }
};

TEST(Files, UserFoldersMapOntoTheirLinuxHomes) {
    Environment env;
    env.set("HOME", "/home/tester");
    env.set("XDG_CONFIG_HOME", nullptr);
    env.set("XDG_DATA_HOME", nullptr);
    char dest[256];
    EXPECT_STREQ(GetUserFolder(dest, sizeof dest, "Library:Preferences:Custom"),
                 "home:tester:Library:Preferences:Custom");
    EXPECT_EQ(colonToPosix(dest), "/home/tester/.config/strixel/Custom");
    EXPECT_EQ(posixToColon("/home/tester/.config/strixel/Custom"), dest);
    GetUserFolder(dest, sizeof dest, "Library:Fonts:Strixel.TTF");
    EXPECT_EQ(colonToPosix(dest), "/home/tester/.local/share/fonts/Strixel.TTF");
    GetUserFolder(dest, sizeof dest, "Documents:out.eps");
    EXPECT_EQ(colonToPosix(dest), "/home/tester/Documents/out.eps");
    // A folder only starting with the same letters is not the preferences folder.
    EXPECT_EQ(colonToPosix("home:tester:Library:PreferencesOld"),
              "/home/tester/Library/PreferencesOld");

    env.set("XDG_CONFIG_HOME", "/tmp/config/");
    GetUserFolder(dest, sizeof dest, "Library:Preferences:");
    EXPECT_EQ(colonToPosix(dest), "/tmp/config/strixel/");
    env.set("XDG_CONFIG_HOME", "relative/ignored");
    EXPECT_EQ(colonToPosix(dest), "/home/tester/.config/strixel/");

    // A path that does not fit is refused, not cut.
    char small[20];
    EXPECT_STREQ(GetUserFolder(small, sizeof small, "Library:Preferences:Custom"), "");
}

TEST(Files, FoldersAreMadeAndListed) {
    const std::string base = testsupport::tempPath("folders");
    const std::string deep = base + "/Library/Preferences/Custom";
    EXPECT_EQ(createFolder(deep), noErr);
    EXPECT_EQ(createFolder(deep), noErr);  // already there
    EXPECT_EQ(pathKind(deep), PathKind::folder);
    for (const char* name : {"EAN small", "ITF-14", ".hidden"})
        std::ofstream(deep + "/" + name) << "x";
    EXPECT_EQ(createFolder(deep + "/Sub"), noErr);
    std::vector<std::string> names;
    ASSERT_TRUE(listFolder(deep, &names));
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{".hidden", "EAN small", "ITF-14"}));
    EXPECT_EQ(createFolder(deep + "/ITF-14/x"), dupFNErr);
    EXPECT_EQ(pathKind(deep + "/ITF-14"), PathKind::file);
    EXPECT_EQ(pathKind(deep + "/none"), PathKind::missing);
    EXPECT_FALSE(listFolder(deep + "/none", &names));
}

}  // namespace
