#include <gtest/gtest.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/files.h"
#include "support/reader.h"

namespace {

using namespace platform;
namespace fs = std::filesystem;

OSErr write(FileRef ref, const std::string& s) {
    int32_t n = static_cast<int32_t>(s.size());
    return FSWrite(ref, &n, s.data());
}

void put(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

// The names in a folder, so that a test sees any temporary left behind.
std::vector<std::string> namesIn(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(folder)) names.push_back(e.path().filename());
    std::sort(names.begin(), names.end());
    return names;
}

using testsupport::freshFolder;

TEST(Replacement, TheOldFileStaysUntilTheCommitAndNothingIsLeftBeside) {
    const fs::path dir = freshFolder("commit");
    const std::string target = dir / "out.eps";
    put(target, "old contents");
    FileRef ref = 0;
    ASSERT_EQ(FSCreateReplacement(target, &ref), noErr);
    ASSERT_EQ(write(ref, std::string(100000, 'n')), noErr);
    EXPECT_EQ(testsupport::slurp(target), "old contents");
    EXPECT_EQ(FSCommit(ref), noErr);
    EXPECT_EQ(testsupport::slurp(target), std::string(100000, 'n'));
    EXPECT_EQ(namesIn(dir), std::vector<std::string>{"out.eps"});
    EXPECT_EQ(FSCommit(ref), rfNumErr);  // the reference is closed

    // Discarded, or closed without a commit: the old file as it was, no temporary.
    ASSERT_EQ(FSCreateReplacement(target, &ref), noErr);
    ASSERT_EQ(write(ref, "dropped"), noErr);
    FSDiscard(ref);
    ASSERT_EQ(FSCreateReplacement(target, &ref), noErr);
    ASSERT_EQ(write(ref, "dropped"), noErr);
    EXPECT_EQ(FSClose(ref), noErr);
    EXPECT_EQ(testsupport::slurp(target), std::string(100000, 'n'));
    EXPECT_EQ(namesIn(dir), std::vector<std::string>{"out.eps"});

    // The mode is what a plain create gives under the umask.
    const mode_t mask = ::umask(027);
    fs::remove(target);
    ASSERT_EQ(FSCreateReplacement(target, &ref), noErr);
    EXPECT_EQ(FSCommit(ref), noErr);
    ::umask(mask);
    struct stat st {};
    ASSERT_EQ(::stat(target.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
}

TEST(Replacement, FilesOpenTogetherKeepTheirOwnNamesAndBytesRoundAfterRound) {
    // Closed entries serve the next files with their names and buffers: files
    // open at once, closed in another order, must never take each other's.
    const fs::path dir = freshFolder("together");
    constexpr int kFiles = 7;  // more than the entries kept for reuse
    for (int round = 0; round < 3; ++round) {
        std::vector<FileRef> refs(kFiles);
        for (int i = 0; i < kFiles; ++i) {
            const std::string name = (dir / (std::string(i + 1, 'f') + ".eps")).string();
            ASSERT_EQ(FSCreateReplacement(name, &refs[i]), noErr) << name;
            ASSERT_EQ(write(refs[i], std::to_string(round) + ":" + std::string(i * 5000, 'a' + i)),
                      noErr);
        }
        for (int i = kFiles - 1; i >= 0; i -= 2) ASSERT_EQ(FSCommit(refs[i]), noErr);
        for (int i = kFiles - 2; i >= 0; i -= 2) ASSERT_EQ(FSCommit(refs[i]), noErr);
        for (int i = 0; i < kFiles; ++i)
            EXPECT_EQ(testsupport::slurp((dir / (std::string(i + 1, 'f') + ".eps")).string()),
                      std::to_string(round) + ":" + std::string(i * 5000, 'a' + i))
                << "round " << round << ", file " << i;
        EXPECT_EQ(namesIn(dir).size(), static_cast<size_t>(kFiles));  // no temporary beside
    }
}

TEST(Replacement, LinksAreNeverWrittenThrough) {
    const fs::path dir = freshFolder("links");
    const std::string victim = dir / "victim.txt";
    const std::string target = dir / "out.eps";
    put(victim, "DATA\n");
    // Links at the names a careless writer would use.
    for (const char* name : {"out.eps.partial", "out.eps.tmp", ".out.eps"})
        fs::create_symlink(victim, dir / name);
    FileRef ref = 0;
    ASSERT_EQ(FSCreateReplacement(target, &ref), noErr);
    ASSERT_EQ(write(ref, "symbol"), noErr);
    ASSERT_EQ(FSCommit(ref), noErr);
    EXPECT_EQ(testsupport::slurp(victim), "DATA\n");
    EXPECT_EQ(testsupport::slurp(target), "symbol");
    for (const char* name : {"out.eps.partial", "out.eps.tmp", ".out.eps"})
        EXPECT_EQ(fs::read_symlink(dir / name), victim) << name;
    EXPECT_EQ(namesIn(dir).size(), 5u);
}

// A target that is a symbolic link stays one: the file it leads to, in another
// folder, is replaced beside itself. A link to a device writes the device.
TEST(Replacement, ALinkNamedAsTheTargetReplacesTheFileItLeadsTo) {
    const fs::path dir = freshFolder("target-link");
    fs::create_directories(dir / "shared");
    const std::string real = dir / "shared" / "real.eps", link = dir / "out.eps";
    put(real, "old");
    fs::create_symlink(real, link);
    fs::create_symlink("/dev/null", dir / "null.eps");
    for (const std::string& target : {link, (dir / "null.eps").string()}) {
        FileRef ref = 0;
        ASSERT_EQ(FSCreateReplacement(target, &ref), noErr);
        ASSERT_EQ(write(ref, "symbol"), noErr);
        ASSERT_EQ(FSCommit(ref), noErr);
        EXPECT_TRUE(fs::is_symlink(target)) << target;
    }
    EXPECT_EQ(testsupport::slurp(real), "symbol");
    EXPECT_EQ(fs::read_symlink(dir / "null.eps"), "/dev/null");
    EXPECT_EQ(namesIn(dir / "shared"), std::vector<std::string>{"real.eps"});
    EXPECT_EQ(namesIn(dir), (std::vector<std::string>{"null.eps", "out.eps", "shared"}));
}

// A link another user left in a shared folder (as /tmp) is replaced, not followed.
TEST(Replacement, AStrangersLinkInASharedFolderIsNotFollowed) {
    if (::geteuid() != 0) GTEST_SKIP() << "only root can leave a link as another user";
    const fs::path dir = freshFolder("shared-folder");
    const std::string victim = dir / "victim.txt", link = dir / "shared" / "out.eps";
    fs::create_directories(dir / "shared");
    ::chmod((dir / "shared").c_str(), 01777);
    put(victim, "DATA\n");
    fs::create_symlink(victim, link);
    ASSERT_EQ(::lchown(link.c_str(), 65534, 65534), 0);
    FileRef ref = 0;
    ASSERT_EQ(FSCreateReplacement(link, &ref), noErr);
    ASSERT_EQ(write(ref, "symbol"), noErr);
    ASSERT_EQ(FSCommit(ref), noErr);
    EXPECT_EQ(testsupport::slurp(victim), "DATA\n");
    EXPECT_FALSE(fs::is_symlink(link));
    EXPECT_EQ(testsupport::slurp(link), "symbol");
}

TEST(Replacement, NamesUpToTheFileSystemsLimit) {
    const fs::path dir = freshFolder("long");
    const std::string longest = dir / std::string(255, 'n');
    FileRef ref = 0;
    ASSERT_EQ(FSCreateReplacement(longest, &ref), noErr);
    ASSERT_EQ(write(ref, "x"), noErr);
    EXPECT_EQ(FSCommit(ref), noErr);
    EXPECT_EQ(testsupport::slurp(longest), "x");

    const std::string tooLong = dir / std::string(256, 'n');
    ASSERT_EQ(FSCreateReplacement(tooLong, &ref), noErr);
    EXPECT_EQ(FSCommit(ref), bdNamErr);
    EXPECT_EQ(FSFailureText(), tooLong + ": File name too long");
    EXPECT_EQ(namesIn(dir), std::vector<std::string>{std::string(255, 'n')});
}

TEST(Replacement, FailuresNameThePathAndTheReason) {
    const fs::path dir = freshFolder("failures");
    FileRef ref = 0;
    const std::string missing = dir / "no/such/out.eps";
    EXPECT_EQ(FSCreateReplacement(missing, &ref), dirNFErr);
    EXPECT_EQ(ref, 0);
    EXPECT_EQ(FSFailureText(), missing + ": No such file or directory");
    const std::string folder = dir / "sub";
    fs::create_directories(folder);
    ASSERT_EQ(FSCreateReplacement(folder, &ref), noErr);
    EXPECT_NE(FSCommit(ref), noErr);
    EXPECT_EQ(FSFailureText(), folder + ": Is a directory");
    EXPECT_EQ(namesIn(dir), std::vector<std::string>{"sub"});
    // A device is written where it is, and its failure reported.
    ASSERT_EQ(FSCreateReplacement("/dev/full", &ref), noErr);
    ASSERT_EQ(write(ref, "x"), noErr);
    EXPECT_EQ(FSCommit(ref), dskFulErr);
    EXPECT_EQ(FSFailureText(), "/dev/full: No space left on device");
    EXPECT_TRUE(fs::is_character_file("/dev/full"));
}

// Runs body in a child process without root's right to write anywhere; its exit status.
template <typename Body>
int asPlainUser(Body body) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) ::_exit(90);
        ::_exit(body());
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 99;
}

TEST(Replacement, ALockedFolderWithAWritableFileIsRewrittenInPlace) {
    // /tmp lets every user through to the folder; the folder itself is locked.
    char tmpl[] = "/tmp/strixel-locked-XXXXXX";
    ASSERT_NE(::mkdtemp(tmpl), nullptr);
    const fs::path dir = tmpl;
    const std::string target = dir / "out.eps";
    const std::string locked = dir / "locked.eps";
    put(target, std::string(5000, 'o'));
    put(locked, "kept");
    ::chmod(target.c_str(), 0666);
    ::chmod(locked.c_str(), 0444);
    ::chmod(dir.c_str(), 0555);
    const int status = asPlainUser([&] {
        FileRef ref = 0;
        if (FSCreateReplacement(target, &ref) != noErr || write(ref, "new") != noErr) return 1;
        if (testsupport::slurp(target) != std::string(5000, 'o')) return 2;  // not cut before
        if (FSCommit(ref) != noErr) return 3;
        // Neither the folder nor the file: refused, and the path and reason said.
        if (FSCreateReplacement(locked, &ref) != permErr) return 4;
        return FSFailureText() == locked + ": Permission denied" ? 0 : 5;
    });
    EXPECT_EQ(status, 0);
    EXPECT_EQ(testsupport::slurp(target), "new");
    EXPECT_EQ(testsupport::slurp(locked), "kept");
    EXPECT_EQ(namesIn(dir), (std::vector<std::string>{"locked.eps", "out.eps"}));
    ::chmod(dir.c_str(), 0755);
    fs::remove_all(dir);
}

TEST(Replacement, TheReplacementKeepsTheFilesModeOwnerAndGroup) {
    const fs::path dir = freshFolder("modes");
    for (const mode_t mode : {mode_t{0600}, mode_t{0640}, mode_t{0604}}) {
        const std::string target = dir / "out.eps";
        put(target, "old");
        ::chmod(target.c_str(), mode);
        const bool root = ::geteuid() == 0;
        // Root may give the file back to its owner and group.
        if (root) {
            ASSERT_EQ(::chown(target.c_str(), 65534, 65534), 0);
        }
        FileRef ref = 0;
        ASSERT_EQ(FSCreateReplacement(target, &ref), noErr);
        ASSERT_EQ(write(ref, "new"), noErr);
        ASSERT_EQ(FSCommit(ref), noErr);
        struct stat st {};
        ASSERT_EQ(::stat(target.c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 07777, mode);
        if (root) {
            EXPECT_EQ(st.st_uid, 65534u);
            EXPECT_EQ(st.st_gid, 65534u);
        }
        EXPECT_EQ(testsupport::slurp(target), "new");
    }
}

// In a locked folder the file is rewritten where it is. A disk that fills at
// any byte of the new contents (the file-size limit makes every write from
// that offset on fail as a full disk would) leaves the old contents whole.
TEST(Replacement, AFullDiskInALockedFolderKeepsTheOldBytes) {
    char tmpl[] = "/tmp/strixel-full-XXXXXX";
    ASSERT_NE(::mkdtemp(tmpl), nullptr);
    const fs::path dir = tmpl;
    const std::string target = dir / "out.eps";
    std::string old;
    for (int i = 0; i < 300; ++i) old += char('a' + i % 26);
    put(target, old);
    ::chmod(target.c_str(), 0666);
    ::chmod(dir.c_str(), 0555);
    const int status = asPlainUser([&] {
        ::signal(SIGXFSZ, SIG_IGN);
        // Shorter and longer than the old contents.
        for (const std::string& fresh : {std::string(200, 'S'), std::string(500, 'L')}) {
            for (rlim_t limit = 0; limit < fresh.size(); ++limit) {
                FileRef ref = 0;
                if (FSCreateReplacement(target, &ref) != noErr || write(ref, fresh) != noErr)
                    return 1;
                const rlimit full{limit, RLIM_INFINITY}, none{RLIM_INFINITY, RLIM_INFINITY};
                ::setrlimit(RLIMIT_FSIZE, &full);
                const OSErr err = FSCommit(ref);
                ::setrlimit(RLIMIT_FSIZE, &none);
                if (err != dskFulErr) return 2;
                if (testsupport::slurp(target) != old) return 3;
            }
        }
        FileRef ref = 0;
        if (FSCreateReplacement(target, &ref) != noErr || write(ref, "whole") != noErr) return 4;
        return FSCommit(ref) == noErr && testsupport::slurp(target) == "whole" ? 0 : 5;
    });
    EXPECT_EQ(status, 0);
    EXPECT_EQ(namesIn(dir), std::vector<std::string>{"out.eps"});
    ::chmod(dir.c_str(), 0755);
    fs::remove_all(dir);
}

// The same on a real full disk: a small file system of its own, where root may
// make one.
TEST(Replacement, ARealFullDiskInALockedFolderKeepsTheOldBytes) {
    char tmpl[] = "/tmp/strixel-tmpfs-XXXXXX";
    ASSERT_NE(::mkdtemp(tmpl), nullptr);
    const fs::path dir = tmpl;
    if (::geteuid() != 0 || ::mount("tmpfs", tmpl, "tmpfs", 0, "size=64k,mode=0755") != 0) {
        fs::remove_all(dir);
        GTEST_SKIP() << "no small file system can be mounted here";
    }
    const std::string target = dir / "out.eps", filler = dir / "filler";
    const std::string old(20000, 'o');
    put(target, old);
    ::chmod(target.c_str(), 0666);
    {
        std::ofstream fill(filler, std::ios::binary);
        for (int i = 0; i < 64 && fill; ++i) fill << std::string(1024, 'f');
    }
    ::chmod(dir.c_str(), 0555);
    const int status = asPlainUser([&] {
        FileRef ref = 0;
        if (FSCreateReplacement(target, &ref) != noErr) return 1;
        if (write(ref, std::string(60000, 'n')) != noErr) return 2;
        if (FSCommit(ref) != dskFulErr) return 3;
        return testsupport::slurp(target) == old ? 0 : 4;
    });
    EXPECT_EQ(status, 0);
    EXPECT_EQ(namesIn(dir), (std::vector<std::string>{"filler", "out.eps"}));
    ::umount(tmpl);
    fs::remove_all(dir);
}

TEST(Replacement, AnInterruptedWriterLeavesNoTemporary) {
    for (int sig : {SIGINT, SIGTERM, SIGHUP}) {
        SCOPED_TRACE(sig);
        const fs::path dir = freshFolder("interrupted");
        const std::string target = dir / "out.eps";
        put(target, "old");
        int ready[2];
        ASSERT_EQ(::pipe(ready), 0);
        const pid_t pid = ::fork();
        if (pid == 0) {
            FileRef ref = 0;
            if (FSCreateReplacement(target, &ref) != noErr) ::_exit(1);
            write(ref, std::string(200000, 'x'));  // on disk in the temporary
            (void)!::write(ready[1], "r", 1);
            for (;;) ::pause();
        }
        ::close(ready[1]);
        char c = 0;
        ASSERT_EQ(::read(ready[0], &c, 1), 1);
        ::close(ready[0]);
        EXPECT_EQ(namesIn(dir).size(), 2u);  // the target and the temporary
        ::kill(pid, sig);
        int status = 0;
        ::waitpid(pid, &status, 0);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == sig);  // still ends by the signal
        EXPECT_EQ(namesIn(dir), std::vector<std::string>{"out.eps"});
        EXPECT_EQ(testsupport::slurp(target), "old");
    }
}

}  // namespace
