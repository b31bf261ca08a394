#include "app/outsideRequests.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "automation/cli.h"

namespace {

// "strixel-request 1 LENGTH\n", then the body of LENGTH bytes: requests, each
// "KIND LEN...\n" (one length a field), the fields' bytes, and "\n".
constexpr std::string_view kHeaderStart = "strixel-request 1 ";
constexpr size_t kMostLengthDigits = 7;  // kMostMessageBytes has 7

struct KindName {
    RequestKind kind;
    const char* name;
    size_t fields;
};
constexpr KindName kKinds[] = {
    {RequestKind::open, "open", 1},
    {RequestKind::print, "print", 1},
    {RequestKind::script, "script", 2},
    {RequestKind::quit, "quit", 0},
};

const KindName& kindName(RequestKind k) {
    for (const KindName& n : kKinds)
        if (n.kind == k) return n;
    return kKinds[0];
}

std::vector<std::string> fieldsOf(const OutsideRequest& r) {
    switch (r.kind) {
        case RequestKind::open:
        case RequestKind::print:
            return {r.path};
        case RequestKind::script:
            return {r.folder, r.text};
        case RequestKind::quit:
            return {};
    }
    return {};
}

// A length in decimal: digits only, no sign, no leading zero, bounded.
bool readLength(std::string_view text, size_t* n) {
    if (text.empty() || text.size() > kMostLengthDigits) return false;
    if (text.size() > 1 && text[0] == '0') return false;
    size_t v = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        v = v * 10 + size_t(c - '0');
    }
    *n = v;
    return true;
}

std::vector<std::string_view> splitBlanks(std::string_view line) {
    std::vector<std::string_view> words;
    size_t at = 0;
    while (at <= line.size()) {
        const size_t blank = line.find(' ', at);
        const size_t end = blank == std::string_view::npos ? line.size() : blank;
        words.push_back(line.substr(at, end - at));
        if (blank == std::string_view::npos) break;
        at = blank + 1;
    }
    return words;
}

std::string pathFault(const char* what, const std::string& path) {
    if (path.empty()) return std::string(what) + " is empty";
    if (path.size() > kMostPathBytes)
        return std::string(what) + " is longer than " + std::to_string(kMostPathBytes) + " bytes";
    if (path.find('\0') != std::string::npos) return std::string(what) + " holds a NUL byte";
    if (path[0] != '/') return std::string(what) + " is not an absolute path";
    return {};
}

// Every line of the script is blank or holds well-formed records, and one
// record at least is there.
std::string scriptFault(const std::string& text) {
    if (text.size() > kMostScriptBytes)
        return "the script is longer than " + std::to_string(kMostScriptBytes) + " bytes";
    if (text.find('\0') != std::string::npos) return "the script holds a NUL byte";
    size_t at = 0, number = 0, records = 0;
    while (at < text.size()) {
        size_t end = text.find('\n', at);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(at, end - at);
        at = end + 1;
        ++number;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.find_first_not_of(" \t") == std::string::npos) continue;
        if (std::string why = recordLineFault(line); !why.empty())
            return "line " + std::to_string(number) + " of the script: " + why;
        ++records;
    }
    return records == 0 ? "the script holds no record" : "";
}

std::string requestFault(const OutsideRequest& r) {
    switch (r.kind) {
        case RequestKind::open:
        case RequestKind::print:
            return pathFault("the document's path", r.path);
        case RequestKind::script:
            if (std::string why = pathFault("the script's folder", r.folder); !why.empty())
                return why;
            return scriptFault(r.text);
        case RequestKind::quit:
            return {};
    }
    return "unknown request";
}

std::string absolute(const std::string& name, const std::string& cwd) {
    namespace fs = std::filesystem;
    const fs::path p = name.front() == '/' ? fs::path(name) : fs::path(cwd) / name;
    return p.lexically_normal().string();
}

// A regular file that can be opened for reading; the reason when not.
std::string fileFault(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return "cannot open " + path + ": " + std::strerror(errno);
    if (!S_ISREG(st.st_mode)) return path + " is not a file";
    return {};
}

bool closedFolderOwnedBy(const std::string& folder, uid_t uid) {
    struct stat st {};
    if (::lstat(folder.c_str(), &st) != 0) return false;
    constexpr mode_t kOthersAndGroup = 077;
    return S_ISDIR(st.st_mode) && st.st_uid == uid && (st.st_mode & kOthersAndGroup) == 0;
}

constexpr const char* kSocketName = "/strixel-desktop.socket";

constexpr int kAnswerMs = 10000;  // per wait for the other copy
constexpr size_t kMostAnswerBytes = 4096;

// Waits for fd to be ready for `events`; false after kAnswerMs or an error.
bool waitFor(int fd, short events) {
    pollfd p{fd, events, 0};
    int n = 0;
    do n = ::poll(&p, 1, kAnswerMs);
    while (n < 0 && errno == EINTR);
    return n == 1 && (p.revents & events) != 0;
}

// Closes the descriptor however the function ends.
struct Descriptor {
    int fd = -1;
    ~Descriptor() {
        if (fd >= 0) ::close(fd);
    }
};
constexpr mode_t kOwnerOnly = 0700;

}  // namespace

std::string encodeRequests(const std::vector<OutsideRequest>& requests) {
    std::string body;
    for (const OutsideRequest& r : requests) {
        const std::vector<std::string> fields = fieldsOf(r);
        body += kindName(r.kind).name;
        for (const std::string& f : fields) {
            body += ' ';
            body += std::to_string(f.size());
        }
        body += "\n";
        for (const std::string& f : fields) body += f;
        body += "\n";
    }
    return std::string(kHeaderStart) + std::to_string(body.size()) + "\n" + body;
}

RequestArrival requestArrival(std::string_view buffer, size_t* size, std::string* why) {
    const size_t known = std::min(buffer.size(), kHeaderStart.size());
    if (buffer.substr(0, known) != kHeaderStart.substr(0, known)) {
        *why = "not a request of this program";
        return RequestArrival::malformed;
    }
    const size_t newline = buffer.find('\n');
    if (newline == std::string_view::npos || newline >= kMostHeaderBytes) {
        if (buffer.size() < kMostHeaderBytes) return RequestArrival::incomplete;
        *why = "the message's first line is too long";
        return RequestArrival::malformed;
    }
    size_t length = 0;
    if (newline < kHeaderStart.size() ||
        !readLength(buffer.substr(kHeaderStart.size(), newline - kHeaderStart.size()), &length)) {
        *why = "the message's length is not a number";
        return RequestArrival::malformed;
    }
    if (length > kMostMessageBytes) {
        *why = "the message is longer than " + std::to_string(kMostMessageBytes) + " bytes";
        return RequestArrival::malformed;
    }
    const size_t total = newline + 1 + length;
    if (buffer.size() < total) return RequestArrival::incomplete;
    if (buffer.size() > total) {
        *why = "bytes follow the message's end";
        return RequestArrival::malformed;
    }
    *size = total;
    return RequestArrival::complete;
}

bool decodeRequests(std::string_view message, std::vector<OutsideRequest>* out, std::string* why) {
    out->clear();
    size_t size = 0;
    switch (requestArrival(message, &size, why)) {
        case RequestArrival::incomplete:
            *why = "the message ends early";
            return false;
        case RequestArrival::malformed:
            return false;
        case RequestArrival::complete:
            break;
    }
    std::vector<OutsideRequest> requests;
    size_t at = message.find('\n') + 1;
    auto fail = [&](std::string reason) {
        *why = "request " + std::to_string(requests.size() + 1) + ": " + std::move(reason);
        return false;
    };
    while (at < message.size()) {
        if (requests.size() >= kMostRequests)
            return fail("more than " + std::to_string(kMostRequests) + " requests");
        const size_t newline = message.find('\n', at);
        if (newline == std::string_view::npos) return fail("its first line does not end");
        const std::vector<std::string_view> words = splitBlanks(message.substr(at, newline - at));
        const KindName* kind = nullptr;
        for (const KindName& k : kKinds)
            if (words[0] == k.name) kind = &k;
        if (!kind) return fail("unknown kind of request");
        if (words.size() != kind->fields + 1) return fail("wrong number of fields");
        at = newline + 1;
        std::vector<std::string> fields;
        for (size_t i = 1; i < words.size(); ++i) {
            size_t n = 0;
            if (!readLength(words[i], &n)) return fail("a field's length is not a number");
            if (n > message.size() - at) return fail("a field runs past the message's end");
            fields.emplace_back(message.substr(at, n));
            at += n;
        }
        if (at >= message.size() || message[at] != '\n')
            return fail("the request does not end where its lengths say");
        ++at;
        OutsideRequest r;
        r.kind = kind->kind;
        if (kind->fields == 1) r.path = fields[0];
        if (kind->fields == 2) r.folder = fields[0], r.text = fields[1];
        if (std::string reason = requestFault(r); !reason.empty()) return fail(reason);
        requests.push_back(std::move(r));
    }
    if (requests.empty()) {
        *why = "the message holds no request";
        return false;
    }
    *out = std::move(requests);
    return true;
}

bool asksForUsage(const std::vector<std::string>& args) {
    for (const std::string& a : args) {
        if (a == "--") return false;
        if (a == "--help" || a == "-h") return true;
    }
    return false;
}

const char* desktopUsage() {
    return "usage: strixel-desktop [FILE...] [--print FILE] [--script RECORDS | --script FILE]\n"
           "                       [--quit] [--] [FILE...]\n"
           "\n"
           "Opens each FILE: a label document, or an EPS file made by the program, whose\n"
           "settings are taken. --print FILE opens a label document's print window.\n"
           "--script runs script records as the command line strixel does, with relative\n"
           "names taken from the current folder: a record such as\n"
           "  '{type:\"EAN 13\", data:\"400638133393\", saveto:\"ean.eps\"}'\n"
           "or a file of records, one a line. --quit ends the running program once the\n"
           "scripts given before it have run.\n"
           "\n"
           "When the program runs already, all of this is handed to it and this copy ends:\n"
           "0 when the running copy took it, 1 when it refused it or did not answer, 2 when\n"
           "the command line itself is wrong (nothing is handed over).\n";
}

bool readScriptFile(const std::string& path, std::string* text, std::string* why) {
    if (std::string fault = fileFault(path); !fault.empty()) {
        *why = fault;
        return false;
    }
    std::error_code ec;
    const auto size = std::filesystem::file_size(path, ec);
    if (ec || size > kMostScriptBytes) {
        *why = path + " is longer than " + std::to_string(kMostScriptBytes) + " bytes";
        return false;
    }
    std::ifstream in(path, std::ios::binary);
    std::string all((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (!in && !in.eof()) {
        *why = "cannot read " + path;
        return false;
    }
    *text = std::move(all);
    return true;
}

bool parseDesktopArguments(const std::vector<std::string>& args, const std::string& cwd,
                           std::vector<OutsideRequest>* out, std::string* why) {
    std::vector<OutsideRequest> requests;
    bool options = true;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        std::string name = a, value;
        bool hasValue = false;
        if (options && a.rfind("--", 0) == 0) {
            if (const size_t eq = a.find('='); eq != std::string::npos)
                name = a.substr(0, eq), value = a.substr(eq + 1), hasValue = true;
        }
        if (options && a == "--") {
            options = false;
            continue;
        }
        if (options && name == "--quit" && !hasValue) {
            requests.push_back({RequestKind::quit, {}, {}, {}});
            continue;
        }
        if (options && (name == "--print" || name == "--script")) {
            if (!hasValue) {
                if (i + 1 >= args.size()) {
                    *why = name + " needs a value";
                    return false;
                }
                value = args[++i];
            }
            if (value.empty()) {
                *why = name + " needs a value";
                return false;
            }
            OutsideRequest r;
            if (name == "--print") {
                r.kind = RequestKind::print;
                r.path = absolute(value, cwd);
                if (std::string fault = fileFault(r.path); !fault.empty()) {
                    *why = "--print: " + fault;
                    return false;
                }
            } else {
                r.kind = RequestKind::script;
                r.folder = cwd;
                const size_t first = value.find_first_not_of(" \t");
                if (first != std::string::npos && value[first] == '{')
                    r.text = value;
                else if (!readScriptFile(absolute(value, cwd), &r.text, why)) {
                    *why = "--script: " + *why;
                    return false;
                }
            }
            requests.push_back(std::move(r));
            continue;
        }
        if (options && a.size() > 1 && a[0] == '-') {
            *why = "unknown option " + a + " (see --help)";
            return false;
        }
        if (a.empty()) {
            *why = "an empty file name";
            return false;
        }
        OutsideRequest r;
        r.path = absolute(a, cwd);
        if (std::string fault = fileFault(r.path); !fault.empty()) {
            *why = fault;
            return false;
        }
        requests.push_back(std::move(r));
    }
    // The same checks as the receiving copy makes, so that a refusal is told here.
    std::vector<OutsideRequest> checked;
    if (!requests.empty() && !decodeRequests(encodeRequests(requests), &checked, why)) return false;
    *out = std::move(requests);
    return true;
}

std::string socketFolder(const char* runtimeDir, const std::string& fallbackParent, uid_t uid,
                         std::string* why) {
    if (runtimeDir && runtimeDir[0] == '/' && closedFolderOwnedBy(runtimeDir, uid))
        return runtimeDir;
    if (fallbackParent.empty() || fallbackParent[0] != '/') {
        *why = "no folder for the program's socket";
        return {};
    }
    const std::string folder = fallbackParent + "/strixel-" + std::to_string(uid);
    if (::mkdir(folder.c_str(), kOwnerOnly) != 0 && errno != EEXIST) {
        *why = "cannot make " + folder + ": " + std::strerror(errno);
        return {};
    }
    if (!closedFolderOwnedBy(folder, uid)) {
        *why = folder + " is not the user's own folder closed to others";
        return {};
    }
    return folder;
}

std::string outsideSocketPath(std::string* why) {
    const char* tmp = std::getenv("TMPDIR");
    const std::string parent = tmp && tmp[0] == '/' ? tmp : "/tmp";
    // A runtime folder too deep for a socket's name gives way to the fallback.
    for (const char* runtime : {static_cast<const char*>(std::getenv("XDG_RUNTIME_DIR")),
                                static_cast<const char*>(nullptr)}) {
        const std::string folder = socketFolder(runtime, parent, ::getuid(), why);
        if (folder.empty()) return {};
        const std::string path = folder + kSocketName;
        if (path.size() < sizeof(sockaddr_un::sun_path)) return path;
        *why = "the socket's path " + path + " is too long";
    }
    return {};
}

HandOffResult sendToRunningCopy(const std::string& socketPath, const std::string& message,
                                std::string* answer) {
    answer->clear();
    sockaddr_un to{};
    if (socketPath.size() >= sizeof to.sun_path) return HandOffResult::noCopy;
    to.sun_family = AF_UNIX;
    socketPath.copy(to.sun_path, socketPath.size());
    Descriptor s{::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0)};
    if (s.fd < 0) return HandOffResult::noCopy;
    // A socket file that nobody listens on is a copy's that ended.
    if (::connect(s.fd, reinterpret_cast<const sockaddr*>(&to), sizeof to) != 0) {
        if (errno != EINPROGRESS && errno != EAGAIN) return HandOffResult::noCopy;
        int error = 0;
        socklen_t size = sizeof error;
        if (!waitFor(s.fd, POLLOUT) ||
            ::getsockopt(s.fd, SOL_SOCKET, SO_ERROR, &error, &size) != 0 || error != 0)
            return HandOffResult::noCopy;
    }
    std::string got;
    size_t sent = 0;
    char buffer[512];
    while (got.find('\n') == std::string::npos && got.size() < kMostAnswerBytes) {
        // Reads what answers, also while the message is still going out: a copy
        // refuses a message from its first bytes.
        const short events = sent < message.size() ? short(POLLIN | POLLOUT) : short(POLLIN);
        pollfd p{s.fd, events, 0};
        int n = 0;
        do n = ::poll(&p, 1, kAnswerMs);
        while (n < 0 && errno == EINTR);
        if (n != 1) break;
        if (p.revents & POLLIN) {
            const ssize_t r = ::read(s.fd, buffer, sizeof buffer);
            if (r <= 0) break;
            got.append(buffer, size_t(r));
            continue;
        }
        if ((p.revents & POLLOUT) && sent < message.size()) {
            const ssize_t w =
                ::send(s.fd, message.data() + sent, message.size() - sent, MSG_NOSIGNAL);
            if (w < 0 && errno != EAGAIN && errno != EINTR) break;
            if (w > 0) sent += size_t(w);
            continue;
        }
        break;  // hung up
    }
    const size_t end = got.find('\n');
    *answer = got.substr(0, end);
    if (*answer == kTakenAnswer) return HandOffResult::taken;
    if (answer->rfind(kRefusedAnswer, 0) == 0) answer->erase(0, std::string(kRefusedAnswer).size());
    return HandOffResult::refused;
}
