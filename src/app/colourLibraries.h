// Spot colour libraries: text files of named colours with their process
// equivalents, one colour a line: four fractions (cyan, magenta, yellow, black,
// 0 to 1) separated by blanks, then the colour's name. The user puts them in
// the Colours folder of the user's data folder ($XDG_DATA_HOME/strixel/Colours);
// one beside the program (its folder's Colours) is looked in next.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/files.h"

// "None" and "All" name no ink of their own: PostScript and PDF paint nothing
// with the first and every plate with the second, so such a spot colour name is
// refused. Why, in the command line's words ("the spot colour name ..."), or
// nullptr for any other name.
const char* reservedSpotName(std::string_view name);

constexpr int32_t kFirstLibrary = 1;
constexpr int32_t kLastLibrary = 10;

// The file name of library 1 to 10; nullptr for any other number.
const char* libraryFileName(int32_t library);
// Where library's file is found, or empty when it is in neither folder.
std::string findLibraryFile(int32_t library);

// Looks name up (a case-sensitive part of a line) in library 1 to 10. Found: the
// line's four fractions as whole percentages through the pointers, the colour's
// full printed name in customCol, customColour 1, and 1. A line holding the name
// but not four numbers is passed over. Not found: message 50; no library file
// (or a number outside 1 to 10): message 51; both leave everything as it was
// and give 0.
int32_t SearchLibrary(int32_t library, int32_t* cyan, int32_t* magenta, int32_t* yellow,
                      int32_t* black, const char* name);

// Copies text from start up to (not including) the first stop character,
// carriage return, '>' or the text's end into out as a Pascal string with a zero
// byte after it (out holds 256 bytes; at most 254 characters are taken). At
// least one character is copied unless the text ends at start. Returns the
// index where copying stopped.
int32_t GetToChar(unsigned char* out, const char* text, int32_t start, char stop);

// Reads one line of an open file into buffer (256 bytes): up to a carriage
// return, a line feed (a CR LF pair is one end), the file's end or 254
// characters, then a zero byte. With fourthBlank, the index of the line's fourth
// blank is stored there (-1 when it has fewer) and the end of line is dropped;
// without it a closing carriage return is kept. eofErr when the file ended
// before anything was read.
platform::OSErr LineInput2(platform::FileRef ref, char* buffer, int32_t* fourthBlank);
