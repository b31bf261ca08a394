// Running a helper program of the system (Ghostscript and its scripts).
#pragma once

#include <chrono>
#include <string>
#include <vector>

namespace platform {

// Runs program (found on PATH) with args, its input and output tied to
// /dev/null, and waits for it, `limit` at most: a program still running then
// (a PostScript file that loops for ever) is killed. Its exit status, or -1
// when it could not be started, did not exit normally or was killed. An
// argument that is a relative path beginning with '-' must be given as
// "./-..." by the caller (asArgument).
int runQuietly(const char* program, const std::vector<std::string>& args,
               std::chrono::seconds limit);
// A path as an argument that no program reads as an option.
std::string asArgument(const std::string& path);

}  // namespace platform
