#include "platform/standardFiles.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace platform {

namespace {

struct StandIn {
    int fd;
    const char* device;
    int flags;
};

// Open in the direction the descriptor is never used in: its reads or writes
// fail with EBADF, as on a closed descriptor.
constexpr StandIn kStandIns[] = {
    {STDIN_FILENO, "/dev/null", O_WRONLY},
    {STDOUT_FILENO, "/dev/full", O_RDONLY},
    {STDERR_FILENO, "/dev/full", O_RDONLY},
};

bool isClosed(int fd) { return ::fcntl(fd, F_GETFD) == -1 && errno == EBADF; }

}  // namespace

void takeClosedStandardDescriptors() {
    for (const StandIn& s : kStandIns) {
        if (!isClosed(s.fd)) continue;
        int got = ::open(s.device, s.flags | O_NOCTTY);
        if (got < 0) got = ::open("/dev/null", s.flags | O_NOCTTY);
        if (got < 0 || got == s.fd) continue;
        // The lowest free descriptor lies below this one only when an earlier
        // one could not be taken.
        ::dup2(got, s.fd);
        ::close(got);
    }
}

}  // namespace platform
