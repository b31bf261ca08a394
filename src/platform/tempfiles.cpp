// Temporary files: the names live in a fixed table that a signal handler may read
// (no allocation, no locks), so that an interrupted run leaves nothing behind.
#include "platform/tempfiles.h"

#include <fcntl.h>
#include <limits.h>
#include <pthread.h>
#include <signal.h>
#include <sys/random.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>

namespace platform {
namespace {

// Files a writer holds open at once; a document and a few output files.
constexpr int kMostTemps = 16;
constexpr int kTriesForAName = 100;
constexpr int kInterruptions[] = {SIGINT, SIGTERM, SIGHUP};
constexpr char kNamePrefix[] = ".strixel-";
constexpr char kNameSuffix[] = ".tmp";
constexpr int kRandomLetters = 10;
constexpr size_t kLongestName = sizeof kNamePrefix - 1 + kRandomLetters + sizeof kNameSuffix - 1;

// The marks apart from the paths: a look over the table (every exit makes one)
// touches one page, not one for each slot.
volatile sig_atomic_t gUsed[kMostTemps];
char gPaths[kMostTemps][PATH_MAX];

void removeAll() {
    for (int i = 0; i < kMostTemps; ++i)
        if (gUsed[i]) ::unlink(gPaths[i]);  // async-signal-safe
}

// Runs that end between two files; the signal noted while one was going.
volatile sig_atomic_t gRunDepth = 0;
volatile sig_atomic_t gNotedSignal = 0;
volatile sig_atomic_t gWaiting = 0;  // inside a WaitEndedBySignals

void onInterruption(int sig) {
    if (gRunDepth > 0 && gWaiting == 0) {
        gNotedSignal = sig;
        return;
    }
    const int keepErrno = errno;
    removeAll();
    // End as the signal would have ended the program, so that callers see it.
    struct sigaction dfl {};
    dfl.sa_handler = SIG_DFL;
    sigemptyset(&dfl.sa_mask);
    ::sigaction(sig, &dfl, nullptr);
    ::raise(sig);
    errno = keepErrno;
}

// A signal the program has already taken over (or ignores) is left to its owner.
void installHandlersOnce() {
    static bool installed = false;
    if (installed) return;
    installed = true;
    for (int sig : kInterruptions) {
        struct sigaction old {};
        if (::sigaction(sig, nullptr, &old) != 0 || old.sa_handler != SIG_DFL) continue;
        struct sigaction sa {};
        sa.sa_handler = onInterruption;
        sa.sa_flags = SA_RESTART;  // a noted signal must not fail a read or write under way
        sigemptyset(&sa.sa_mask);
        for (int other : kInterruptions) sigaddset(&sa.sa_mask, other);
        ::sigaction(sig, &sa, nullptr);
    }
    std::atexit(removeAll);
}

uint64_t mix(uint64_t x) {  // splitmix64's finaliser
    x += 0x9E3779B97F4A7C15ull;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
    return x ^ (x >> 31);
}

// Unpredictable enough that another user cannot place a file at the next name;
// O_EXCL refuses it anyway when one does.
uint64_t nextRandom() {
    static uint64_t seed = [] {
        uint64_t s = 0;
        if (::getrandom(&s, sizeof s, GRND_NONBLOCK) != static_cast<ssize_t>(sizeof s))
            s = reinterpret_cast<uintptr_t>(&s);
        return s;
    }();
    static uint64_t counter = 0;
    // The process id keeps forked children off their parent's names; a child
    // learns its own at the fork.
    static pid_t pid = [] {
        ::pthread_atfork(nullptr, nullptr, [] { pid = ::getpid(); });
        return ::getpid();
    }();
    return mix(seed ^ mix(++counter) ^ (static_cast<uint64_t>(pid) << 32));
}

// A fresh name, prefix, random letters and suffix, written at out; its length.
size_t putRandomName(char* out) {
    static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    uint64_t r = nextRandom();
    size_t n = 0;
    for (const char c : std::string_view(kNamePrefix)) out[n++] = c;
    for (int i = 0; i < kRandomLetters; ++i) {
        out[n++] = kLetters[r % (sizeof kLetters - 1)];
        r /= sizeof kLetters - 1;
    }
    for (const char c : std::string_view(kNameSuffix)) out[n++] = c;
    return n;
}

}  // namespace

int createTemp(std::string_view folder, std::string* path) {
    installHandlersOnce();
    int slot = 0;
    while (slot < kMostTemps && gUsed[slot]) ++slot;
    if (slot == kMostTemps) {
        errno = EMFILE;
        return -1;
    }
    int fd = -1;
    int err = EEXIST;
    for (int attempt = 0; attempt < kTriesForAName && fd < 0 && err == EEXIST; ++attempt) {
        // Made in the slot itself, which the signal handler reads: no heap.
        const size_t lead = folder.empty() ? 0 : folder.size() + 1;
        char* const name = gPaths[slot];
        if (lead + kLongestName >= sizeof gPaths[slot]) {
            err = ENAMETOOLONG;
            break;
        }
        if (lead > 0) {
            std::memcpy(name, folder.data(), folder.size());
            name[folder.size()] = '/';
        }
        name[lead + putRandomName(name + lead)] = '\0';
        // The name is in the table before the file exists, so an interruption
        // at any point finds it there; this costs a batch no signal masking.
        std::atomic_signal_fence(std::memory_order_seq_cst);
        gUsed[slot] = 1;
        fd = ::open(name, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd < 0) {
            err = errno;
            gUsed[slot] = 0;
            continue;
        }
        path->assign(name);
    }
    if (fd < 0) errno = err;
    return fd;
}

StoppableRun::StoppableRun() {
    installHandlersOnce();
    gRunDepth = gRunDepth + 1;
}

StoppableRun::~StoppableRun() { gRunDepth = gRunDepth - 1; }

WaitEndedBySignals::WaitEndedBySignals() {
    gWaiting = gWaiting + 1;
    // A signal noted before the wait began ends the program now.
    if (gNotedSignal != 0) endForNotedSignal();
}

WaitEndedBySignals::~WaitEndedBySignals() { gWaiting = gWaiting - 1; }

bool stopRequested() { return gNotedSignal != 0; }

void keepWritingPastFileSizeLimit() {
    struct sigaction old {};
    if (::sigaction(SIGXFSZ, nullptr, &old) != 0 || old.sa_handler != SIG_DFL) return;
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    sigemptyset(&ignore.sa_mask);
    ::sigaction(SIGXFSZ, &ignore, nullptr);
}

void endForNotedSignal() {
    const int sig = gNotedSignal != 0 ? static_cast<int>(gNotedSignal) : SIGTERM;
    removeAll();
    struct sigaction dfl {};
    dfl.sa_handler = SIG_DFL;
    sigemptyset(&dfl.sa_mask);
    ::sigaction(sig, &dfl, nullptr);
    sigset_t only;
    sigemptyset(&only);
    sigaddset(&only, sig);
    ::sigprocmask(SIG_UNBLOCK, &only, nullptr);
    ::raise(sig);
    std::_Exit(128 + sig);
}

void forgetTemp(const std::string& path) {
    for (int i = 0; i < kMostTemps; ++i)
        if (gUsed[i] && path == gPaths[i]) {
            gUsed[i] = 0;
            return;
        }
}

void removeTemp(const std::string& path) {
    ::unlink(path.c_str());
    forgetTemp(path);
}

bool writeAllTo(int fd, const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t w = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (w < 0 && errno == EINTR) continue;
        if (w <= 0) return false;
        done += static_cast<size_t>(w);
    }
    return true;
}

}  // namespace platform
