// Files: a buffered output file whose positions are exact to the byte, and the
// colon paths of the program mapped onto POSIX paths.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace platform {

using OSErr = int16_t;
constexpr OSErr noErr = 0;
constexpr OSErr ioErr = -36;
constexpr OSErr dskFulErr = -34;
constexpr OSErr fnfErr = -43;
constexpr OSErr rfNumErr = -51;

using FileRef = int16_t;  // 0 is no file

// Creates (or truncates) and opens a file for writing.
OSErr FSCreateOpen(const std::string& posixPath, FileRef* ref);
// Opens an existing file for reading and writing without shortening it; creates it when missing.
OSErr FSOpenRW(const std::string& posixPath, FileRef* ref);
// Writes *count bytes; on return *count holds what was written. A short or failed
// write (a full disk) gives an error, never noErr.
OSErr FSWrite(FileRef ref, int32_t* count, const void* buffer);
// Reads up to *count bytes from the current position.
OSErr FSRead(FileRef ref, int32_t* count, void* buffer);
// The position of the next byte written, counting buffered bytes.
OSErr GetFPos(FileRef ref, int32_t* position);
OSErr SetFPos(FileRef ref, int32_t position);
// Flushes and closes; a failed flush is reported here.
OSErr FSClose(FileRef ref);

// An in-memory file: what is written to it stays in memory (tests, benches, fuzzing).
FileRef FSOpenMemory();
const std::string& FSMemoryContents(FileRef ref);

// "Volume:Folder:File" to "/Volume/Folder/File" style paths and back. A colon path
// whose first part is the user's home maps onto $HOME.
std::string colonToPosix(const std::string& colonPath);
std::string posixToColon(const std::string& posixPath);
bool listFolder(const std::string& posixPath, std::vector<std::string>* names);
OSErr createFolder(const std::string& posixPath);  // with its parents

// Writes into dest the colon path of the user's home folder followed by rel;
// "Library:Preferences:" and "Library:Fonts:" map to their Linux homes when the
// path is turned into a POSIX one. Returns dest.
char* GetUserFolder(char* dest, size_t destSize, const char* rel);

}  // namespace platform
