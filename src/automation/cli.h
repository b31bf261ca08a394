// The command line: the stand-in for the high-level events that make a symbol
// file from a script record.
#pragma once

#include <iosfwd>
#include <string>

// Runs the records given as arguments, or one a line from `in` when there are
// none. Returns the exit status: 0 when every record made its file.
int runCommandLine(int argc, const char* const* argv, std::istream& in, std::ostream& out,
                   std::ostream& err);

// Why a line of records cannot be read (the first fault), or empty when every
// record on it is well formed. The records' values are not checked here.
std::string recordLineFault(const std::string& line);

// True when the file begins as a PostScript or a PC EPS file does: an EPS file
// whose options line gives back its settings, rather than a label document.
bool looksLikeEps(const std::string& path);
