// Files: a buffered output file whose positions are exact to the byte, and the
// colon paths of the program mapped onto POSIX paths.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace platform {

using OSErr = int16_t;
constexpr OSErr noErr = 0;
constexpr OSErr dskFulErr = -34;  // the disk is full
constexpr OSErr ioErr = -36;      // any other failure of the device
constexpr OSErr bdNamErr = -37;   // an empty or unusable path
constexpr OSErr eofErr = -39;     // a read reached the end of the file
constexpr OSErr posErr = -40;     // a position before the start or past 2 GB
constexpr OSErr tmfoErr = -42;    // too many files open
constexpr OSErr fnfErr = -43;     // no such file
constexpr OSErr dupFNErr = -48;   // a file stands where a folder is to be made
constexpr OSErr paramErr = -50;   // a bad argument
constexpr OSErr rfNumErr = -51;   // no open file of that reference
constexpr OSErr permErr = -54;    // no permission
constexpr OSErr dirNFErr = -120;  // a folder of the path is missing

using FileRef = int16_t;  // 0 is no file

// Creates (or truncates) and opens a file for writing.
OSErr FSCreateOpen(const std::string& posixPath, FileRef* ref);
// Opens an existing file for reading and writing without shortening it; creates it when missing.
OSErr FSOpenRW(const std::string& posixPath, FileRef* ref);
// Opens an existing file for reading only, or for reading and writing; fnfErr
// when it is missing.
OSErr FSOpenRead(const std::string& posixPath, FileRef* ref);
OSErr FSOpenExisting(const std::string& posixPath, FileRef* ref);
// Writes *count bytes; on return *count holds what was accepted. A failed write (a
// full disk) gives an error, never noErr, and once a write has failed every later
// FSWrite and the FSClose of that file report the error again.
OSErr FSWrite(FileRef ref, int32_t* count, const void* buffer);
// The free room of the write buffer of the file written last. Page code comes
// in many small pieces: FSWriteQuick copies them straight in, and every other
// call on the files first takes in what was copied.
struct WriteCursor {
    FileRef ref = 0;
    char* at = nullptr;
    char* end = nullptr;
};
extern WriteCursor gWriteCursor;
// FSWrite's quick road: true when the bytes went into ref's buffer; false
// when FSWrite must take them (another file, no room, or an error to report).
inline bool FSWriteQuick(FileRef ref, const void* buffer, int32_t count) {
    WriteCursor& c = gWriteCursor;
    if (ref == 0 || ref != c.ref || count <= 0 || count > c.end - c.at) return false;
    std::memcpy(c.at, buffer, static_cast<size_t>(count));
    c.at += count;
    return true;
}
// FSWrite for bytes that stay where they are until the file is closed (the
// program's own resources): they are written from there instead of copied.
OSErr FSWriteLasting(FileRef ref, int32_t* count, const void* buffer);
// Reads up to *count bytes from the current position; eofErr when fewer were there.
OSErr FSRead(FileRef ref, int32_t* count, void* buffer);
// Hands the buffered bytes to the file now, so that a failure shows at this write.
OSErr FSFlush(FileRef ref);
// The position of the next byte written, counting buffered bytes.
OSErr GetFPos(FileRef ref, int32_t* position);
OSErr SetFPos(FileRef ref, int32_t position);
// The file's length in bytes, counting buffered bytes.
OSErr GetEOF(FileRef ref, int32_t* length);
// Flushes and closes; a failed flush is reported here. An uncommitted
// replacement is discarded.
OSErr FSClose(FileRef ref);

// Writing a whole file safely. FSCreateReplacement opens a new version of the
// file at posixPath; FSCommit puts it in place, FSDiscard (or an FSClose before
// the commit) drops it. Until the commit the old file, if any, is untouched.
//  - The bytes go to a temporary file with a unique short name in the target's
//    folder (created without following links, mode from the umask), which the
//    commit renames over the target: readers see the old file or the new one.
//    The temporary is removed on every failure and when SIGINT, SIGTERM or
//    SIGHUP ends the program.
//  - When the folder is not writable but the target file is, the bytes are kept
//    in memory and the commit rewrites the target in place (not atomic, but
//    nothing is cut short before the whole new contents exist).
//  - A target that is not a regular file (a device, a pipe) is written directly.
//  - A target that is a symbolic link stays one: the file it leads to is
//    replaced, its temporary beside that file (a link another user left in a
//    shared folder such as /tmp is not followed, but replaced).
// A failure returns an error and leaves its description in FSFailureText().
OSErr FSCreateReplacement(const std::string& posixPath, FileRef* ref);
// Flushes and closes the new version and puts it in place; the reference is
// closed whatever the result. On failure the target is as it was.
OSErr FSCommit(FileRef ref);
// Closes the new version without putting it in place.
void FSDiscard(FileRef ref);
// For files made elsewhere and renamed into place together (a press job):
// the name a new version of posixPath goes to, which is the regular file a
// symbolic link at posixPath leads to, as FSCreateReplacement takes it, else
// posixPath itself.
std::string FSReplacedFile(const std::string& posixPath);
// Gives the file newPath the permissions of the regular file oldPath it is to
// replace, and its owner and group where the system allows, as
// FSCreateReplacement gives them to a new version; nothing when oldPath is no
// regular file.
void FSTakeOwnership(const std::string& newPath, const std::string& oldPath);
// True when a replacement's bytes reach the target as they are written (a
// device or a pipe), so that only a flush shows whether they arrived.
bool FSWritesThrough(FileRef ref);
// The program's own settings files are regular files: anything else in their
// place (a pipe, a device, a folder) is refused before writing, since a pipe
// nobody reads would block the writer for good. paramErr with FSFailureText()
// saying why; noErr when the path is a regular file or missing.
OSErr FSSettingsTargetUsable(const std::string& posixPath);
// The last failure of FSCreateReplacement or FSCommit: the target's path and the
// system's reason ("/out/x.eps: Permission denied"); empty after a success.
const std::string& FSFailureText();
// True when that failure was the device out of space (or over a quota): the next
// file would fail as well.
bool FSFailureIsFullDisk();

// Appends bytes to the end of an existing file in one go. When the write fails
// (a full disk) the file is cut back to its old length, so it keeps exactly what it
// held before; fnfErr when the file is missing. Failures leave FSFailureText().
OSErr FSAppendWhole(const std::string& posixPath, const std::string& bytes);

// Files named from outside the program (a document, an import request, a linked
// picture) are read only when they are regular files of at most maxBytes: a
// device, a pipe or a folder could feed a reader without end, or block it. On
// failure *why (when given) is a sentence naming the path: "\"/dev/zero\" is not
// a regular file (a folder, a device or a pipe)".
OSErr FSOpenRegular(const std::string& posixPath, int64_t maxBytes, FileRef* ref,
                    std::string* why = nullptr);
// The whole of such a file; false with *why as above.
bool readRegularFile(const std::string& posixPath, int64_t maxBytes, std::string* bytes,
                     std::string* why = nullptr);
// Everything left on standard input (a pipe, a terminal, a file) as an in-memory
// file, read from its start; more than maxBytes is refused with *why. 0 on failure.
FileRef FSOpenStandardInput(int64_t maxBytes, std::string* why = nullptr);
// A path read from a document: a relative one is taken from the document's folder.
std::string besideDocument(const std::string& documentPath, const std::string& path);

// An in-memory file: what is written to it stays in memory (tests, benches,
// fuzzing) until FSClose.
FileRef FSOpenMemory();
// The bytes of a memory file; empty for any other reference.
const std::string& FSMemoryContents(FileRef ref);

// "Volume:Folder:File" to "/Volume/Folder/File" and back; ":Folder:File" is
// relative, each further colon goes up one folder, and a name without a colon is
// a plain name. A '/' inside a colon name is a ':' in the POSIX name. The user's
// Library:Preferences folder maps onto $XDG_CONFIG_HOME/strixel (default
// ~/.config/strixel) and Library:Fonts onto ~/.local/share/fonts.
std::string colonToPosix(const std::string& colonPath);
// The folder of the user's own data files: $XDG_DATA_HOME/strixel (default
// ~/.local/share/strixel). It may not exist yet.
std::string userDataFolder();
// The folder of the running program (where the data it ships lies beside it);
// empty when the system does not say.
std::string programFolder();
// The folder of the user's settings files: $XDG_CONFIG_HOME/strixel (default
// ~/.config/strixel). It may not exist yet.
std::string userPreferencesFolder();
std::string posixToColon(const std::string& posixPath);

enum class PathKind { missing, file, folder };
PathKind pathKind(const std::string& posixPath);
// A file's identity: two names (or a name and an open descriptor) of one file
// share it. Zero for no file.
struct FileId {
    uint64_t device = 0, inode = 0;
    bool known() const { return inode != 0 || device != 0; }
    bool operator==(const FileId&) const = default;
};
// The identity of the regular file at the path; none when there is no such file.
FileId regularFileId(const std::string& posixPath);
// The identity of standard input when it is a regular file; none for a pipe,
// a terminal or a device.
FileId standardInputFileId();
// The names of the files (not the folders) of a folder, in the order the file
// system gives them; false when the folder cannot be read.
bool listFolder(const std::string& posixPath, std::vector<std::string>* names);
// Creates a folder with its parents; noErr when it exists already, dupFNErr when a
// file stands in the way.
OSErr createFolder(const std::string& posixPath);

// Writes into dest the colon path of the user's home folder followed by rel;
// "Library:Preferences:" and "Library:Fonts:" map to their Linux homes when the
// path is turned into a POSIX one. Returns dest; dest is empty when the path does
// not fit in destSize.
char* GetUserFolder(char* dest, size_t destSize, const char* rel);

}  // namespace platform
