// Temporary files beside the file they will replace: unique names made without
// following links, and removal when the program is interrupted while they exist.
#pragma once

#include <string>
#include <string_view>

namespace platform {

// Creates a new, empty file with a unique short name in `folder` ("" is the
// current folder), opened for writing with O_CREAT | O_EXCL | O_NOFOLLOW and the
// mode a plain create gives under the umask. Returns the descriptor and sets
// *path, or returns -1 with errno set. The file is removed if SIGINT, SIGTERM or
// SIGHUP ends the program (or the program exits) before forgetTemp(*path).
int createTemp(std::string_view folder, std::string* path);
// The temporary has been renamed or removed: an interruption no longer touches it.
void forgetTemp(const std::string& path);
// Removes a temporary and forgets it.
void removeTemp(const std::string& path);
// Writes all of bytes to fd; false when a write fails.
bool writeAllTo(int fd, const std::string& bytes);

// A run that writes many files (an import run, the press export) ends between two
// files when SIGINT, SIGTERM or SIGHUP comes: while a StoppableRun lives, those
// signals are noted instead of ending the program at once, and the run asks
// stopRequested() before each file. Outside a run they end the program as before,
// its temporaries removed.
class StoppableRun {
  public:
    StoppableRun();
    ~StoppableRun();
    StoppableRun(const StoppableRun&) = delete;
    StoppableRun& operator=(const StoppableRun&) = delete;
};
// A wait that may not end by itself (reading standard input): within it the
// signals end the program at once, even inside a run.
class WaitEndedBySignals {
  public:
    WaitEndedBySignals();
    ~WaitEndedBySignals();
    WaitEndedBySignals(const WaitEndedBySignals&) = delete;
    WaitEndedBySignals& operator=(const WaitEndedBySignals&) = delete;
};
bool stopRequested();

// A write past the file size limit (ulimit -f) would end the program at once by
// SIGXFSZ, leaving its temporary and saying nothing: ignored, the write fails
// with EFBIG and is reported as any other. Called at start-up; a signal the
// program's caller set to other than its default is left as it is.
void keepWritingPastFileSizeLimit();
// Ends the program as the noted signal would have, its temporaries removed first.
[[noreturn]] void endForNotedSignal();

}  // namespace platform
