// Requests that reach the running desktop program from outside: a second copy
// started with documents, a print request or script records hands them to the
// first copy through a local socket, and the first copy does them between two
// events. This is the part without a window system: the message's form, its
// checks, the command line that makes the requests and the socket's folder.
//
// A message is checked whole before any of it is done: one fault anywhere
// refuses all of it.
#pragma once

#include <sys/types.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

enum class RequestKind {
    open,    // a label document or an EPS file made by the program
    print,   // a label document, printed
    script,  // script records, one a line, as the command line reads them
    quit,
};

struct OutsideRequest {
    RequestKind kind = RequestKind::open;
    std::string path;    // open, print: the file's absolute path
    std::string folder;  // script: the sender's folder, for relative names in the records
    std::string text;    // script: the records
    bool operator==(const OutsideRequest&) const = default;
};

// Bounds on what comes in: a longer message, more requests, a longer path or
// script is refused whole.
constexpr size_t kMostMessageBytes = 1 << 20;
constexpr size_t kMostRequests = 64;
constexpr size_t kMostPathBytes = 4095;
constexpr size_t kMostScriptBytes = 512 * 1024;
// The first line of a message: the protocol's name, its version and the
// length of what follows. No longer than this.
constexpr size_t kMostHeaderBytes = 64;

// The message for the requests (header and body).
std::string encodeRequests(const std::vector<OutsideRequest>& requests);

// How much of a message has arrived in `buffer`, which may hold the start of
// one: incomplete (wait for more), complete (its whole length in *size), or
// malformed (the reason in *why).
enum class RequestArrival { incomplete, complete, malformed };
RequestArrival requestArrival(std::string_view buffer, size_t* size, std::string* why);

// Reads a whole message. false, with the reason and no request in *out, when
// any part of it is malformed or out of bounds.
bool decodeRequests(std::string_view message, std::vector<OutsideRequest>* out, std::string* why);

// The requests of strixel-desktop's command line: documents to open, --print
// FILE, --script RECORDS or --script FILE, --quit. Relative names are taken
// from `cwd`. false with the reason when the command line is wrong; files that
// are missing or are not regular files are refused here, before anything is
// sent.
bool parseDesktopArguments(const std::vector<std::string>& args, const std::string& cwd,
                           std::vector<OutsideRequest>* out, std::string* why);

// True when the command line asks for the usage (--help or -h before "--").
bool asksForUsage(const std::vector<std::string>& args);
// What strixel-desktop's command line takes.
const char* desktopUsage();

// The second copy's side: sends a message to the copy listening at socketPath
// and reads its one-line answer (without its line end) into *answer. Bounded
// waits: a copy that does not answer in time counts as refusing. Needs no
// window system, so that a script can be handed over from where there is none.
enum class HandOffResult { noCopy, taken, refused };
HandOffResult sendToRunningCopy(const std::string& socketPath, const std::string& message,
                                std::string* answer);
// The answers of the listening copy.
constexpr const char* kTakenAnswer = "taken";
constexpr const char* kRefusedAnswer = "refused: ";

// Reads a file of script records (a regular file, at most kMostScriptBytes).
bool readScriptFile(const std::string& path, std::string* text, std::string* why);

// The folder for the program's socket, reachable by the user only: the user's
// runtime folder when it is set, absolute, owned by the user and closed to
// others; otherwise `fallbackParent`/strixel-UID, made with mode 0700 when
// missing and refused when it is not the user's own closed folder. Empty with
// the reason when no such folder can be had.
std::string socketFolder(const char* runtimeDir, const std::string& fallbackParent, uid_t uid,
                         std::string* why);
// The socket's path from the environment ($XDG_RUNTIME_DIR, else $TMPDIR or
// /tmp, also when the runtime folder is too deep for a socket's name); empty
// with the reason when there is none.
std::string outsideSocketPath(std::string* why);
