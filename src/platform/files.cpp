// Buffered files over POSIX descriptors, memory files, and the colon paths.
#include "platform/files.h"

#include "platform/tempfiles.h"

#include <dirent.h>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/uio.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <map>
#include <memory>
#include <string_view>
#include <utility>
#include <vector>

namespace platform {

WriteCursor gWriteCursor;

namespace {

constexpr size_t kBufferSize = 64 * 1024;
constexpr int64_t kMaxPosition = std::numeric_limits<int32_t>::max();

// How a file reaches its name: written where it is, renamed over its target
// from a temporary, or kept in memory and written over its target at the commit.
enum class Route { direct, rename, inPlace };

// Bytes waiting for the descriptor. Every piece of page code is appended here
// by a plain copy; bytes that outlive the file (the program's own prologs) are
// not copied at all but written from where they lie, in their place.
class WriteBuffer {
  public:
    WriteBuffer() = default;
    WriteBuffer(WriteBuffer&& o) noexcept { *this = std::move(o); }
    WriteBuffer& operator=(WriteBuffer&& o) noexcept {
        owned_ = std::move(o.owned_);
        pieces_ = std::move(o.pieces_);
        ownedSize_ = std::exchange(o.ownedSize_, 0);
        room_ = std::exchange(o.room_, 0);
        size_ = std::exchange(o.size_, 0);
        return *this;
    }
    bool empty() const { return size_ == 0; }
    size_t size() const { return size_; }
    void clear() {
        ownedSize_ = size_ = 0;
        pieces_.clear();
    }
    void reserve(size_t n) {
        if (n <= room_) return;
        auto grown = std::make_unique_for_overwrite<char[]>(n);
        if (ownedSize_ > 0) std::memcpy(grown.get(), owned_.get(), ownedSize_);
        owned_ = std::move(grown);
        room_ = n;
    }
    void append(const char* p, size_t n) {
        if (n == 0) return;
        if (ownedSize_ + n > room_) reserve(std::max(room_ * 2, ownedSize_ + n));
        std::memcpy(owned_.get() + ownedSize_, p, n);
        appended(n);
    }
    // Where owned bytes go next, and how many fit there without growing.
    char* tail(size_t* fit) {
        *fit = room_ - ownedSize_;
        return owned_.get() + ownedSize_;
    }
    // Counts n bytes put at tail().
    void appended(size_t n) {
        if (n == 0) return;
        if (!pieces_.empty()) {
            Piece& last = pieces_.back();
            if (last.lasting == nullptr && last.from + last.n == ownedSize_)
                last.n += n;
            else
                pieces_.push_back({nullptr, ownedSize_, n});
        }
        ownedSize_ += n;
        size_ += n;
    }
    // p must stay as it is until the buffer is written or cleared.
    void appendLasting(const char* p, size_t n) {
        if (n == 0) return;
        if (pieces_.empty() && ownedSize_ > 0) pieces_.push_back({nullptr, 0, ownedSize_});
        pieces_.push_back({p, 0, n});
        size_ += n;
    }
    // Every pending byte in order, in as few calls as the pieces allow.
    OSErr writeTo(int fd) const;

  private:
    struct Piece {
        const char* lasting;  // null: owned_[from, from + n)
        size_t from;
        size_t n;
    };
    std::unique_ptr<char[]> owned_;
    std::vector<Piece> pieces_;  // empty while every byte is owned, in order
    size_t ownedSize_ = 0, room_ = 0, size_ = 0;
};

struct OpenFile {
    int fd = -1;
    Route route = Route::direct;
    std::string target;  // a replacement's final name
    std::string temp;    // its temporary (Route::rename)
    int sysErr = 0;      // the errno of the first failure
    bool memory = false;
    std::string contents;   // a memory file's bytes
    int64_t memPos = 0;     // a memory file's position
    WriteBuffer pending;    // bytes accepted but not yet handed to the descriptor
    int64_t pendingAt = 0;  // the file offset of pending[0] (the descriptor's offset)
    OSErr failed = noErr;   // the first write failure, reported until the close
};

std::map<FileRef, OpenFile>& table() {
    static std::map<FileRef, OpenFile> t;
    return t;
}

// The file last looked up: a document's every write names the same file.
struct LastLookUp {
    FileRef ref = 0;
    OpenFile* file = nullptr;
};
LastLookUp gLast;

// The file gWriteCursor lends room of, and where that room began.
OpenFile* gCursorFile = nullptr;
const char* gCursorFrom = nullptr;

// Counts what FSWriteQuick copied as written and takes the room back.
void takeInCursor() {
    if (gWriteCursor.ref == 0) return;
    gCursorFile->pending.appended(static_cast<size_t>(gWriteCursor.at - gCursorFrom));
    gWriteCursor = {};
    gCursorFile = nullptr;
    gCursorFrom = nullptr;
}

int64_t position(const OpenFile& f);

// Lends ref's free buffer room to FSWriteQuick: as much as fits before the
// buffer must be flushed and the position would pass what GetFPos can tell.
void lendCursor(FileRef ref, OpenFile& f) {
    if (f.memory || f.failed != noErr || f.pending.size() >= kBufferSize) return;
    size_t fit = 0;
    char* from = f.pending.tail(&fit);
    fit = std::min(fit, kBufferSize - f.pending.size());
    const int64_t beforeLimit = kMaxPosition - position(f);
    if (beforeLimit <= 0) return;
    fit = static_cast<size_t>(std::min<int64_t>(static_cast<int64_t>(fit), beforeLimit));
    if (fit == 0) return;
    gWriteCursor = {ref, from, from + fit};
    gCursorFile = &f;
    gCursorFrom = from;
}

OpenFile* lookUp(FileRef ref) {
    takeInCursor();
    if (gLast.file != nullptr && gLast.ref == ref) return gLast.file;
    auto it = table().find(ref);
    if (it == table().end()) return nullptr;
    gLast = {ref, &it->second};
    return gLast.file;
}

// Closed entries kept for the next files: a batch opens and closes a file or
// two for each record, and an entry's map node, names and write buffer can
// serve again.
constexpr size_t kSpareEntries = 4;
std::vector<std::map<FileRef, OpenFile>::node_type> gSpares;

// A fresh entry for the free reference r.
OpenFile& newEntry(FileRef r) {
    if (gSpares.empty()) return table()[r];
    auto node = std::move(gSpares.back());
    gSpares.pop_back();
    node.key() = r;
    auto placed = table().insert(std::move(node));
    return placed.position->second;
}

// Closes the entry of ref.
void forget(FileRef ref) {
    takeInCursor();
    if (gLast.ref == ref) gLast = {};
    auto node = table().extract(ref);
    if (node.empty()) return;
    // Everything back to a new entry's state but the buffers' capacity.
    OpenFile& f = node.mapped();
    WriteBuffer pending = std::move(f.pending);
    std::string target = std::move(f.target), temp = std::move(f.temp);
    pending.clear();
    target.clear();
    temp.clear();
    f = OpenFile{};
    f.pending = std::move(pending);
    f.target = std::move(target);
    f.temp = std::move(temp);
    if (gSpares.size() < kSpareEntries) {
        if (gSpares.capacity() < kSpareEntries) gSpares.reserve(kSpareEntries);
        gSpares.push_back(std::move(node));
    }
}

// The smallest free reference, so that references stay small however many files
// a long run opens and closes.
FileRef freeRef() {
    FileRef r = 1;
    for (const auto& [used, f] : table()) {
        if (used != r) break;
        if (r == std::numeric_limits<FileRef>::max()) return 0;
        ++r;
    }
    return r;
}

OSErr errnoToErr(int e) {
    switch (e) {
        case ENOSPC:
        case EDQUOT:
        case EFBIG:
            return dskFulErr;
        case ENOENT:
            return fnfErr;
        case ENOTDIR:
            return dirNFErr;
        case ENAMETOOLONG:
            return bdNamErr;
        case EACCES:
        case EPERM:
        case EROFS:
            return permErr;
        default:
            return ioErr;
    }
}

// Writes every byte of the pieces io[0, count) in order, or says why not; a
// short write on a full disk is a failure. io is used up.
OSErr writeAllPieces(int fd, iovec* io, size_t count) {
    for (iovec* next = io; count > 0;) {
        const ssize_t w = ::writev(fd, next, static_cast<int>(count));
        if (w < 0) {
            if (errno == EINTR) continue;
            return errnoToErr(errno);
        }
        if (w == 0) {
            errno = ENOSPC;
            return dskFulErr;
        }
        // Past what went out: whole pieces, then the rest of a part-written one.
        size_t done = static_cast<size_t>(w);
        while (count > 0 && done >= next->iov_len) {
            done -= next->iov_len;
            ++next;
            --count;
        }
        if (count > 0) {
            next->iov_base = static_cast<char*>(next->iov_base) + done;
            next->iov_len -= done;
        }
    }
    return noErr;
}

OSErr writeAll(int fd, const char* data, size_t n) {
    iovec one{const_cast<char*>(data), n};
    return writeAllPieces(fd, &one, n > 0 ? 1 : 0);
}

OSErr WriteBuffer::writeTo(int fd) const {
    if (pieces_.empty()) return writeAll(fd, owned_.get(), ownedSize_);
    constexpr size_t kMostAtOnce = 64;
    iovec io[kMostAtOnce];
    for (size_t at = 0; at < pieces_.size();) {
        size_t count = 0;
        for (; count < kMostAtOnce && at + count < pieces_.size(); ++count) {
            const Piece& piece = pieces_[at + count];
            io[count].iov_base =
                const_cast<char*>(piece.lasting ? piece.lasting : owned_.get() + piece.from);
            io[count].iov_len = piece.n;
        }
        at += count;
        if (const OSErr err = writeAllPieces(fd, io, count); err != noErr) return err;
    }
    return noErr;
}

OSErr flush(OpenFile& f) {
    if (f.memory || f.pending.empty()) return f.failed;
    OSErr err = f.pending.writeTo(f.fd);
    if (err != noErr) {
        if (f.failed == noErr) f.failed = err, f.sysErr = errno;
        f.pending.clear();
        return err;
    }
    f.pendingAt += static_cast<int64_t>(f.pending.size());
    f.pending.clear();
    return f.failed;
}

int64_t position(const OpenFile& f) {
    return f.memory ? f.memPos : f.pendingAt + static_cast<int64_t>(f.pending.size());
}

OSErr openWith(const std::string& posixPath, int flags, FileRef* ref) {
    if (!ref) return paramErr;
    *ref = 0;
    // A NUL inside the name would open the file named by the bytes before it.
    if (posixPath.empty() || posixPath.find('\0') != std::string::npos) return bdNamErr;
    FileRef r = freeRef();
    if (r == 0) return tmfoErr;
    int fd = ::open(posixPath.c_str(), flags | O_CLOEXEC, 0644);
    if (fd < 0) {
        OSErr err = errnoToErr(errno);
        return err == fnfErr ? dirNFErr : err;  // creating: only a folder can be missing
    }
    OpenFile& f = newEntry(r);
    f.fd = fd;
    f.pending.reserve(kBufferSize);
    *ref = r;
    return noErr;
}

std::string homeFolder() {
    const char* home = std::getenv("HOME");
    if (home && home[0] == '/') return home;
    const passwd* pw = ::getpwuid(::getuid());
    return pw && pw->pw_dir ? pw->pw_dir : "";
}

std::string withoutTrailingSlash(std::string p) {
    while (p.size() > 1 && p.back() == '/') p.pop_back();
    return p;
}

// $XDG_CONFIG_HOME/strixel: an unset, empty or relative value counts as unset.
std::string preferencesFolder() {
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg && xdg[0] == '/') return withoutTrailingSlash(xdg) + "/strixel";
    return homeFolder() + "/.config/strixel";
}

// $XDG_DATA_HOME: an unset, empty or relative value counts as unset.
std::string dataHome() {
    const char* xdg = std::getenv("XDG_DATA_HOME");
    if (xdg && xdg[0] == '/') return withoutTrailingSlash(xdg);
    return homeFolder() + "/.local/share";
}

std::string fontsFolder() { return dataHome() + "/fonts"; }

// Replaces the folder `from` at the start of path (a whole component) by `to`.
bool replacePrefix(std::string* path, const std::string& from, const std::string& to) {
    if (from.empty() || path->compare(0, from.size(), from) != 0) return false;
    if (path->size() > from.size() && (*path)[from.size()] != '/') return false;
    path->replace(0, from.size(), to);
    return true;
}

struct FolderMap {
    std::string mac;    // the folder below the home, as the program names it
    std::string linux;  // where it lives here
};

std::vector<FolderMap> folderMaps() {
    const std::string home = homeFolder();
    return {{home + "/Library/Preferences", preferencesFolder()},
            {home + "/Library/Fonts", fontsFolder()}};
}

std::vector<std::string> split(const std::string& s, char sep) {
    std::vector<std::string> parts;
    size_t start = 0;
    for (;;) {
        size_t end = s.find(sep, start);
        parts.push_back(
            s.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (end == std::string::npos) return parts;
        start = end + 1;
    }
}

// A name moves between the two path forms with ':' and '/' swapped.
std::string swapSeparators(std::string name) {
    for (char& c : name) {
        if (c == '/')
            c = ':';
        else if (c == ':')
            c = '/';
    }
    return name;
}

std::string& failureText() {
    static std::string text;
    return text;
}
// The system's error behind failureText, when it came from the system.
int& failureErrno() {
    static int e = 0;
    return e;
}

// Records "path: reason" for FSFailureText and passes err on.
OSErr fail(const std::string& path, int sysErr, OSErr err) {
    failureText() = path + ": " + std::strerror(sysErr);
    failureErrno() = sysErr;
    return err;
}

// The replacement of a file gets the file's permissions (a private file stays
// private while it is written), and its owner and group where the system lets
// us give them; otherwise the ones a new file gets.
void takeOwnership(int fd, const struct stat& old) {
    // What a new file of ours gets anyway is not asked for again: a batch that
    // replaces its own files makes no call here. The program never changes its
    // umask, so the first look at it holds.
    static const uid_t user = ::geteuid();
    static const gid_t group = ::getegid();
    static const mode_t created = [] {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        return static_cast<mode_t>(0666 & ~mask);
    }();
    if (old.st_uid != user || old.st_gid != group) {
        if (::fchown(fd, old.st_uid, old.st_gid) != 0)
            (void)!::fchown(fd, static_cast<uid_t>(-1), old.st_gid);
    }
    const mode_t mode = old.st_mode & (S_IRWXU | S_IRWXG | S_IRWXO);
    if (mode != created) (void)!::fchmod(fd, mode);
}

// Reads the whole of fd from the start; false when it cannot be read.
bool readAllFrom(int fd, std::string* bytes) {
    bytes->clear();
    std::vector<char> chunk(kBufferSize);
    for (off_t at = 0;;) {
        const ssize_t r = ::pread(fd, chunk.data(), chunk.size(), at);
        if (r < 0 && errno == EINTR) continue;
        if (r < 0) return false;
        if (r == 0) return true;
        bytes->append(chunk.data(), static_cast<size_t>(r));
        at += r;
    }
}

// Writes bytes at the start of fd; *done counts what reached the file.
OSErr writeFromStart(int fd, const std::string& bytes, size_t* done) {
    *done = 0;
    while (*done < bytes.size()) {
        const ssize_t w =
            ::pwrite(fd, bytes.data() + *done, bytes.size() - *done, static_cast<off_t>(*done));
        if (w < 0 && errno == EINTR) continue;
        if (w < 0) return errnoToErr(errno);
        if (w == 0) {
            errno = ENOSPC;
            return dskFulErr;
        }
        *done += static_cast<size_t>(w);
    }
    return noErr;
}

// Room for length bytes in fd before a byte of it is changed. Where the file
// system cannot reserve, its free space must hold what the file grows by.
OSErr reserve(int fd, size_t oldLength, size_t length) {
    const int e = ::posix_fallocate(fd, 0, static_cast<off_t>(length));
    if (e == 0) return noErr;
    if (e != EOPNOTSUPP && e != EINVAL) {
        errno = e;
        return errnoToErr(e);
    }
    struct statvfs vfs {};
    if (::fstatvfs(fd, &vfs) != 0) return errnoToErr(errno);
    const uint64_t free = static_cast<uint64_t>(vfs.f_bavail) * vfs.f_frsize;
    if (length > oldLength && length - oldLength > free) {
        errno = ENOSPC;
        return dskFulErr;
    }
    return noErr;
}

// The folder is locked but the file is not: the new bytes go over the old
// ones. The room is reserved first, the old bytes are kept until the new ones
// are in the file whole, and any failure puts them back, so the file holds
// either its old contents or its new ones.
OSErr rewriteInPlace(const std::string& target, const std::string& bytes, int* sysErr) {
    const int fd = ::open(target.c_str(), O_RDWR | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) return *sysErr = errno, errnoToErr(errno);
    std::string old;
    OSErr err = readAllFrom(fd, &old) ? noErr : errnoToErr(errno);
    if (err == noErr) err = reserve(fd, old.size(), bytes.size());
    size_t written = 0;
    if (err == noErr) err = writeFromStart(fd, bytes, &written);
    if (err == noErr && ::ftruncate(fd, static_cast<off_t>(bytes.size())) != 0)
        err = errnoToErr(errno);
    // A device may report a write it could not keep only when it is flushed.
    if (err == noErr && ::fsync(fd) != 0) written = bytes.size(), err = errnoToErr(errno);
    if (err != noErr) {
        *sysErr = errno;
        // Only what was overwritten goes back, so putting it back needs no room.
        size_t restored = 0;
        (void)writeFromStart(fd, old.substr(0, std::min(written, old.size())), &restored);
        (void)!::ftruncate(fd, static_cast<off_t>(old.size()));
    }
    if (::close(fd) != 0 && err == noErr) *sysErr = errno, err = errnoToErr(errno);
    return err;
}

// The folder part of a path: "" for a plain name, "/" for the root.
std::string_view folderOf(std::string_view path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string_view()
           : slash == 0               ? std::string_view("/")
                                      : path.substr(0, slash);
}

// A link another user placed in a shared folder (world-writable and sticky, as
// /tmp) that they do not own is not followed, as the system refuses to follow
// it on open: it could lead a writer to any file of ours.
bool linkFromAStranger(const std::string& link, const struct stat& linkStat) {
    const std::string folder(folderOf(link));
    struct stat dir {};
    if (::stat(folder.empty() ? "." : folder.c_str(), &dir) != 0) return true;
    const bool shared = (dir.st_mode & S_ISVTX) != 0 && (dir.st_mode & S_IWOTH) != 0;
    return shared && linkStat.st_uid != ::geteuid() && linkStat.st_uid != dir.st_uid;
}

// The file a replacement puts in place: a symbolic link at the name stays, and
// the file it leads to is replaced beside itself, as the user meant by naming
// the link. Any other name is its own. A plain file costs a batch no heap.
// `link` is what lstat found at the name.
const std::string& replacedFile(const std::string& posixPath, const struct stat& link) {
    if (!S_ISLNK(link.st_mode) || linkFromAStranger(posixPath, link)) return posixPath;
    char* real = ::realpath(posixPath.c_str(), nullptr);
    if (!real) return posixPath;
    static std::string resolved;
    resolved.assign(real);
    std::free(real);
    return resolved;
}

}  // namespace

OSErr FSCreateOpen(const std::string& posixPath, FileRef* ref) {
    return openWith(posixPath, O_WRONLY | O_CREAT | O_TRUNC, ref);
}

std::string userPreferencesFolder() { return preferencesFolder(); }

OSErr FSOpenRW(const std::string& posixPath, FileRef* ref) {
    return openWith(posixPath, O_RDWR | O_CREAT, ref);
}

namespace {

OSErr openExisting(const std::string& posixPath, int flags, FileRef* ref) {
    const OSErr err = openWith(posixPath, flags, ref);
    return err == dirNFErr && pathKind(posixPath) == PathKind::missing ? fnfErr : err;
}

}  // namespace

OSErr FSOpenRead(const std::string& posixPath, FileRef* ref) {
    return openExisting(posixPath, O_RDONLY, ref);
}

OSErr FSOpenExisting(const std::string& posixPath, FileRef* ref) {
    return openExisting(posixPath, O_RDWR, ref);
}

OSErr FSWrite(FileRef ref, int32_t* count, const void* buffer) {
    OpenFile* f = lookUp(ref);
    if (!f) return rfNumErr;
    if (!count || *count < 0 || (*count > 0 && !buffer)) return paramErr;
    const size_t n = static_cast<size_t>(*count);
    if (f->failed != noErr) {
        *count = 0;
        return f->failed;
    }
    if (position(*f) + static_cast<int64_t>(n) > kMaxPosition) {
        *count = 0;
        return posErr;  // past what GetFPos can tell
    }
    const char* bytes = static_cast<const char*>(buffer);
    if (f->memory) {
        const size_t at = static_cast<size_t>(f->memPos);
        if (f->contents.size() < at + n) f->contents.resize(at + n);
        std::memcpy(f->contents.data() + at, bytes, n);
        f->memPos += static_cast<int64_t>(n);
        return noErr;
    }
    if (f->pending.size() + n > kBufferSize) {
        OSErr err = flush(*f);
        if (err == noErr && n >= kBufferSize) {
            err = writeAll(f->fd, bytes, n);
            if (err == noErr) {
                f->pendingAt += static_cast<int64_t>(n);
                return noErr;
            }
            f->failed = err;
            f->sysErr = errno;
        }
        if (err != noErr) {
            *count = 0;
            return err;
        }
    }
    f->pending.append(bytes, n);
    lendCursor(ref, *f);
    return noErr;
}

OSErr FSWriteLasting(FileRef ref, int32_t* count, const void* buffer) {
    OpenFile* f = lookUp(ref);
    // Anything out of the ordinary is FSWrite's to judge and to copy.
    if (!f || f->memory || f->failed != noErr || !count || *count <= 0 || !buffer ||
        position(*f) + *count > kMaxPosition ||
        f->pending.size() + static_cast<size_t>(*count) > kBufferSize)
        return FSWrite(ref, count, buffer);
    f->pending.appendLasting(static_cast<const char*>(buffer), static_cast<size_t>(*count));
    return noErr;
}

OSErr FSRead(FileRef ref, int32_t* count, void* buffer) {
    OpenFile* f = lookUp(ref);
    if (!f) return rfNumErr;
    if (!count || *count < 0 || (*count > 0 && !buffer)) return paramErr;
    const size_t want = static_cast<size_t>(*count);
    size_t got = 0;
    if (f->memory) {
        const size_t at = static_cast<size_t>(f->memPos);
        if (at < f->contents.size()) {
            got = std::min(want, f->contents.size() - at);
            std::memcpy(buffer, f->contents.data() + at, got);
        }
        f->memPos += static_cast<int64_t>(got);
    } else {
        OSErr err = flush(*f);
        if (err != noErr) {
            *count = 0;
            return err;
        }
        char* out = static_cast<char*>(buffer);
        while (got < want) {
            ssize_t r = ::read(f->fd, out + got, want - got);
            if (r < 0 && errno == EINTR) continue;
            if (r < 0) {
                *count = static_cast<int32_t>(got);
                f->pendingAt += static_cast<int64_t>(got);
                return ioErr;
            }
            if (r == 0) break;
            got += static_cast<size_t>(r);
        }
        f->pendingAt += static_cast<int64_t>(got);
    }
    *count = static_cast<int32_t>(got);
    return got < want ? eofErr : noErr;
}

OSErr GetFPos(FileRef ref, int32_t* pos) {
    OpenFile* f = lookUp(ref);
    if (!f) return rfNumErr;
    if (!pos) return paramErr;
    *pos = static_cast<int32_t>(position(*f));
    return noErr;
}

OSErr FSFlush(FileRef ref) {
    OpenFile* f = lookUp(ref);
    return f ? flush(*f) : rfNumErr;
}

OSErr SetFPos(FileRef ref, int32_t pos) {
    OpenFile* f = lookUp(ref);
    if (!f) return rfNumErr;
    if (pos < 0) return posErr;
    if (f->memory) {
        f->memPos = pos;
        return noErr;
    }
    OSErr err = flush(*f);
    if (err != noErr) return err;
    if (::lseek(f->fd, pos, SEEK_SET) < 0) return errnoToErr(errno);
    f->pendingAt = pos;
    return noErr;
}

OSErr GetEOF(FileRef ref, int32_t* length) {
    OpenFile* f = lookUp(ref);
    if (!f) return rfNumErr;
    if (!length) return paramErr;
    if (f->memory) {
        *length = static_cast<int32_t>(f->contents.size());
        return noErr;
    }
    struct stat st;
    if (::fstat(f->fd, &st) != 0) return errnoToErr(errno);
    *length = static_cast<int32_t>(
        std::min<int64_t>(kMaxPosition, std::max<int64_t>(st.st_size, position(*f))));
    return noErr;
}

OSErr FSClose(FileRef ref) {
    OpenFile* f = lookUp(ref);
    if (!f) return rfNumErr;
    if (f->route != Route::direct) {
        const OSErr err = f->failed;
        FSDiscard(ref);
        return err;
    }
    OSErr err = f->failed;
    if (!f->memory) {
        OSErr flushed = flush(*f);
        if (err == noErr) err = flushed;
        // close can report a write that the device only now refused.
        if (::close(f->fd) != 0 && err == noErr) err = errnoToErr(errno);
    }
    forget(ref);
    return err;
}

OSErr FSCreateReplacement(const std::string& posixPath, FileRef* ref) {
    failureText().clear();
    if (!ref) return paramErr;
    *ref = 0;
    if (posixPath.empty() || posixPath.find('\0') != std::string::npos)
        return fail(posixPath, EINVAL, bdNamErr);
    // One look at the name; only a symbolic link costs a second, for what it leads to.
    struct stat named {};
    const bool found = ::lstat(posixPath.c_str(), &named) == 0;
    struct stat st = named;
    const bool exists = found && (!S_ISLNK(named.st_mode) || ::stat(posixPath.c_str(), &st) == 0);
    // A device or a pipe is written where it is, through any link to it (as
    // /dev/stdout is): it must never be replaced.
    if (exists && !S_ISREG(st.st_mode) && !S_ISDIR(st.st_mode)) {
        const OSErr err = openWith(posixPath, O_WRONLY | O_CREAT | O_TRUNC, ref);
        if (err != noErr) return fail(posixPath, errno, err);
        table()[*ref].target = posixPath;
        return noErr;
    }
    const FileRef r = freeRef();
    if (r == 0) return fail(posixPath, EMFILE, tmfoErr);
    const std::string& target = exists ? replacedFile(posixPath, named) : posixPath;
    static std::string temp;  // its storage serves every file of a batch
    const int fd = createTemp(folderOf(target), &temp);
    if (fd < 0) {
        const int e = errno;
        const bool folderLocked = e == EACCES || e == EPERM || e == EROFS;
        // In place the old bytes are read back first, to be put back on a failure.
        if (!(folderLocked && exists && S_ISREG(st.st_mode) &&
              ::access(target.c_str(), R_OK | W_OK) == 0)) {
            const OSErr err = errnoToErr(e);
            return fail(posixPath, e, err == fnfErr ? dirNFErr : err);
        }
        OpenFile& f = newEntry(r);
        f.memory = true;
        f.route = Route::inPlace;
        f.target = target;
        *ref = r;
        return noErr;
    }
    if (exists && S_ISREG(st.st_mode)) takeOwnership(fd, st);
    OpenFile& f = newEntry(r);
    f.fd = fd;
    f.route = Route::rename;
    f.target = target;
    f.temp.assign(temp);
    f.pending.reserve(kBufferSize);
    *ref = r;
    return noErr;
}

OSErr FSCommit(FileRef ref) {
    failureText().clear();
    OpenFile* f = lookUp(ref);
    if (!f) return rfNumErr;
    const std::string& target = f->target;  // the entry lives until forget
    OSErr err = f->failed;
    int sysErr = f->sysErr;
    if (f->fd >= 0) {
        if (err == noErr) err = flush(*f), sysErr = f->sysErr;
        if (::close(f->fd) != 0 && err == noErr) sysErr = errno, err = errnoToErr(errno);
        f->fd = -1;
    }
    if (f->route == Route::rename) {
        if (err == noErr && ::rename(f->temp.c_str(), target.c_str()) != 0)
            sysErr = errno, err = errnoToErr(errno);
        if (err != noErr) ::unlink(f->temp.c_str());
        forgetTemp(f->temp);
    } else if (f->route == Route::inPlace && err == noErr) {
        err = rewriteInPlace(target, f->contents, &sysErr);
    }
    if (err != noErr) err = fail(target, sysErr ? sysErr : EIO, err);
    forget(ref);
    return err;
}

bool FSWritesThrough(FileRef ref) {
    const OpenFile* f = lookUp(ref);
    return f && f->route == Route::direct;
}

void FSDiscard(FileRef ref) {
    OpenFile* f = lookUp(ref);
    if (!f) return;
    if (f->fd >= 0) ::close(f->fd);
    if (f->route == Route::rename) {
        ::unlink(f->temp.c_str());
        forgetTemp(f->temp);
    }
    forget(ref);
}

std::string FSReplacedFile(const std::string& posixPath) {
    struct stat named {};
    struct stat st {};
    if (::lstat(posixPath.c_str(), &named) != 0) return posixPath;
    // A link to a device or a pipe is no file to replace beside itself.
    if (S_ISLNK(named.st_mode) && (::stat(posixPath.c_str(), &st) != 0 || !S_ISREG(st.st_mode)))
        return posixPath;
    return replacedFile(posixPath, named);
}

void FSTakeOwnership(const std::string& newPath, const std::string& oldPath) {
    struct stat old {};
    if (::lstat(oldPath.c_str(), &old) != 0 || !S_ISREG(old.st_mode)) return;
    const int fd = ::open(newPath.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) return;
    takeOwnership(fd, old);
    ::close(fd);
}

const std::string& FSFailureText() { return failureText(); }

bool FSFailureIsFullDisk() {
    return !failureText().empty() && errnoToErr(failureErrno()) == dskFulErr;
}

OSErr FSAppendWhole(const std::string& posixPath, const std::string& bytes) {
    failureText().clear();
    if (posixPath.empty() || posixPath.find('\0') != std::string::npos)
        return fail(posixPath, EINVAL, bdNamErr);
    const int fd = ::open(posixPath.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC);
    if (fd < 0) return fail(posixPath, errno, errnoToErr(errno));
    struct stat st {};
    const bool regular = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
    OSErr err = writeAll(fd, bytes.data(), bytes.size());
    int sysErr = err == noErr ? 0 : errno;
    if (::close(fd) != 0 && err == noErr) sysErr = errno, err = errnoToErr(errno);
    if (err != noErr && regular) {
        // Nothing half-written stays behind: the file is as it was.
        if (::truncate(posixPath.c_str(), st.st_size) != 0) sysErr = errno;
    }
    return err == noErr ? noErr : fail(posixPath, sysErr ? sysErr : EIO, err);
}

FileRef FSOpenMemory() {
    FileRef r = freeRef();
    if (r != 0) newEntry(r).memory = true;
    return r;
}

const std::string& FSMemoryContents(FileRef ref) {
    static const std::string kEmpty;
    const OpenFile* f = lookUp(ref);
    return f && f->memory ? f->contents : kEmpty;
}

std::string userDataFolder() { return dataHome() + "/strixel"; }

std::string programFolder() {
    char buf[4096];
    const ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n <= 0) return {};
    const std::string exe(buf, size_t(n));
    const size_t slash = exe.rfind('/');
    return slash == std::string::npos ? std::string() : exe.substr(0, slash);
}

std::string colonToPosix(const std::string& colonPath) {
    if (colonPath.find(':') == std::string::npos) return swapSeparators(colonPath);
    const bool relative = colonPath[0] == ':';
    if (colonPath == ":") return ".";
    std::vector<std::string> parts = split(relative ? colonPath.substr(1) : colonPath, ':');
    const bool folder = parts.size() > 1 && parts.back().empty();
    if (folder) parts.pop_back();
    std::string out = relative ? "" : "/";
    bool first = true;
    for (const std::string& part : parts) {
        if (!first) out += '/';
        first = false;
        out += part.empty() ? ".." : swapSeparators(part);  // "::" goes up one folder
    }
    if (folder) out += '/';
    if (!relative)
        for (const FolderMap& m : folderMaps())
            if (replacePrefix(&out, m.mac, m.linux)) break;
    return out;
}

std::string posixToColon(const std::string& posixPath) {
    if (posixPath.empty()) return "";
    std::string path = posixPath;
    const bool absolute = path[0] == '/';
    if (absolute)
        for (const FolderMap& m : folderMaps())
            if (replacePrefix(&path, m.linux, m.mac)) break;
    std::vector<std::string> parts = split(absolute ? path.substr(1) : path, '/');
    const bool folder = parts.size() > 1 && parts.back().empty();
    if (folder) parts.pop_back();
    std::string out;
    if (!absolute && (parts.size() > 1 || folder || parts[0] == ".." || parts[0] == ".")) out = ":";
    bool needSep = false;
    for (const std::string& part : parts) {
        if (part.empty() || part == ".") continue;
        if (part == "..") {
            out += ':';
            needSep = false;
            continue;
        }
        if (needSep) out += ':';
        out += swapSeparators(part);
        needSep = true;
    }
    if (folder && needSep) out += ':';
    // A path of one folder below the root is a volume, which ends with a colon.
    if (absolute && !out.empty() && out.find(':') == std::string::npos) out += ':';
    return out;
}

PathKind pathKind(const std::string& posixPath) {
    struct stat st;
    if (posixPath.empty() || ::stat(posixPath.c_str(), &st) != 0) return PathKind::missing;
    return S_ISDIR(st.st_mode) ? PathKind::folder : PathKind::file;
}

namespace {
FileId idOfRegular(const struct stat& st) {
    return S_ISREG(st.st_mode) ? FileId{uint64_t(st.st_dev), uint64_t(st.st_ino)} : FileId{};
}
}  // namespace

FileId regularFileId(const std::string& posixPath) {
    struct stat st;
    if (posixPath.empty() || ::stat(posixPath.c_str(), &st) != 0) return {};
    return idOfRegular(st);
}

FileId standardInputFileId() {
    struct stat st;
    if (::fstat(STDIN_FILENO, &st) != 0) return {};
    return idOfRegular(st);
}

bool listFolder(const std::string& posixPath, std::vector<std::string>* names) {
    names->clear();
    DIR* dir = ::opendir(posixPath.c_str());
    if (!dir) return false;
    const std::string base = withoutTrailingSlash(posixPath) + "/";
    while (const dirent* e = ::readdir(dir)) {
        const std::string name = e->d_name;
        if (name == "." || name == "..") continue;
        bool isFolder = e->d_type == DT_DIR;
        if (e->d_type == DT_UNKNOWN || e->d_type == DT_LNK)
            isFolder = pathKind(base + name) == PathKind::folder;
        if (!isFolder) names->push_back(name);
    }
    ::closedir(dir);
    return true;
}

OSErr createFolder(const std::string& posixPath) {
    if (posixPath.empty()) return bdNamErr;
    std::string prefix;
    for (const std::string& part : split(posixPath, '/')) {
        prefix += part;
        if (!part.empty() && part != "." && part != "..") {
            if (::mkdir(prefix.c_str(), 0755) != 0) {
                if (errno != EEXIST) return errnoToErr(errno);
                if (pathKind(prefix) != PathKind::folder) return dupFNErr;
            }
        }
        prefix += '/';
    }
    return noErr;
}

char* GetUserFolder(char* dest, size_t destSize, const char* rel) {
    if (!dest || destSize == 0) return dest;
    dest[0] = 0;
    const std::string home = posixToColon(homeFolder());
    if (home.empty()) return dest;  // no home, or the root: no absolute colon path
    std::string path = home + ":";
    if (rel) path += rel[0] == ':' ? rel + 1 : rel;
    if (path.size() < destSize) std::memcpy(dest, path.c_str(), path.size() + 1);
    return dest;
}

}  // namespace platform

namespace platform {
namespace {

constexpr int64_t kMegabyte = 1024 * 1024;

std::string quoted(const std::string& path) { return "\"" + path + "\""; }

std::string sizeText(int64_t bytes) {
    return bytes % kMegabyte == 0 ? std::to_string(bytes / kMegabyte) + " MB"
                                  : std::to_string(bytes) + " bytes";
}

std::string tooLargeText(const std::string& path, int64_t maxBytes) {
    return quoted(path) + " is larger than " + sizeText(maxBytes) +
           ", the most this program reads of such a file";
}

FileRef adopt(int fd) {
    const FileRef r = freeRef();
    if (r == 0) return 0;
    OpenFile& f = newEntry(r);
    f.fd = fd;
    return r;
}

}  // namespace

OSErr FSSettingsTargetUsable(const std::string& posixPath) {
    failureText().clear();
    struct stat st {};
    if (::stat(posixPath.c_str(), &st) != 0 || S_ISREG(st.st_mode)) return noErr;
    failureText() = quoted(posixPath) + " is not a regular file (a folder, a device or a pipe)";
    failureErrno() = 0;
    return paramErr;
}

OSErr FSOpenRegular(const std::string& posixPath, int64_t maxBytes, FileRef* ref,
                    std::string* why) {
    std::string reason;
    OSErr err = noErr;
    *ref = 0;
    // O_NONBLOCK: opening a pipe that nobody writes to must not wait.
    const int fd = posixPath.empty() || posixPath.find('\0') != std::string::npos
                       ? (errno = EINVAL, -1)
                       : ::open(posixPath.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    struct stat st {};
    if (fd < 0) {
        const int e = errno;
        err = e == EINVAL ? bdNamErr : errnoToErr(e);
        reason = e == ENOENT ? quoted(posixPath) + ": no such file"
                             : quoted(posixPath) + ": " + std::strerror(e);
    } else if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        err = paramErr;
        reason = quoted(posixPath) + " is not a regular file (a folder, a device or a pipe)";
    } else if (st.st_size > maxBytes) {
        err = paramErr;
        reason = tooLargeText(posixPath, maxBytes);
    } else {
        const int flags = ::fcntl(fd, F_GETFL);
        if (flags >= 0) ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
        *ref = adopt(fd);
        if (*ref != 0) return noErr;
        err = tmfoErr;
        reason = quoted(posixPath) + ": too many files open";
    }
    if (fd >= 0) ::close(fd);
    if (why) *why = reason;
    return err;
}

bool readRegularFile(const std::string& posixPath, int64_t maxBytes, std::string* bytes,
                     std::string* why) {
    FileRef ref = 0;
    if (FSOpenRegular(posixPath, maxBytes, &ref, why) != noErr) return false;
    int32_t length = 0;
    OSErr err = GetEOF(ref, &length);
    bytes->assign(static_cast<size_t>(std::max<int32_t>(length, 0)), '\0');
    int32_t n = length;
    if (err == noErr && n > 0) err = FSRead(ref, &n, bytes->data());
    FSClose(ref);
    if (err != noErr) {
        if (why) *why = quoted(posixPath) + " could not be read";
        return false;
    }
    return true;
}

FileRef FSOpenStandardInput(int64_t maxBytes, std::string* why) {
    const int fd = STDIN_FILENO;
    const WaitEndedBySignals wait;  // a terminal may never send the end
    std::string all;
    char block[64 * 1024];
    for (;;) {
        const ssize_t n = ::read(fd, block, sizeof block);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            if (why)
                *why = std::string("standard input could not be read: ") + std::strerror(errno);
            return 0;
        }
        if (n == 0) break;
        if (static_cast<int64_t>(all.size()) + n > maxBytes) {
            if (why) *why = tooLargeText("standard input", maxBytes);
            return 0;
        }
        all.append(block, static_cast<size_t>(n));
    }
    const FileRef ref = FSOpenMemory();
    if (ref == 0) {
        if (why) *why = "too many files open";
        return 0;
    }
    int32_t count = static_cast<int32_t>(all.size());
    FSWrite(ref, &count, all.data());
    SetFPos(ref, 0);
    return ref;
}

std::string besideDocument(const std::string& documentPath, const std::string& path) {
    if (path.empty() || path[0] == '/') return path;
    // "./" keeps a name such as "-" a file's name in the working folder.
    const size_t slash = documentPath.rfind('/');
    if (slash == std::string::npos) return "./" + path;
    return documentPath.substr(0, slash + 1) + path;
}

}  // namespace platform
