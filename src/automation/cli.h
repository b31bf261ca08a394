// The command line: the stand-in for the high-level events that make a symbol
// file from a script record.
#pragma once

#include <iosfwd>

// Runs the records given as arguments, or one a line from `in` when there are
// none. Returns the exit status: 0 when every record made its file.
int runCommandLine(int argc, const char* const* argv, std::istream& in, std::ostream& out,
                   std::ostream& err);
