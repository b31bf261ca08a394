// Minimal first cut; the buffered layer replaces it.
#include "platform/files.h"

#include <fcntl.h>
#include <unistd.h>

#include <map>

namespace platform {
namespace {
struct OpenFile {
    int fd = -1;
    bool memory = false;
    std::string contents;
    int32_t pos = 0;
};
std::map<FileRef, OpenFile>& table() {
    static std::map<FileRef, OpenFile> t;
    return t;
}
FileRef nextRef() {
    static FileRef next = 1;
    return next++;
}
}  // namespace

OSErr FSCreateOpen(const std::string& posixPath, FileRef* ref) {
    int fd = ::open(posixPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0) return ioErr;
    *ref = nextRef();
    table()[*ref].fd = fd;
    return noErr;
}
OSErr FSOpenRW(const std::string& posixPath, FileRef* ref) {
    int fd = ::open(posixPath.c_str(), O_RDWR | O_CREAT, 0644);
    if (fd < 0) return ioErr;
    *ref = nextRef();
    table()[*ref].fd = fd;
    return noErr;
}
OSErr FSWrite(FileRef ref, int32_t* count, const void* buffer) {
    auto it = table().find(ref);
    if (it == table().end()) return rfNumErr;
    OpenFile& f = it->second;
    if (f.memory) {
        f.contents.append(static_cast<const char*>(buffer), static_cast<size_t>(*count));
        f.pos += *count;
        return noErr;
    }
    ssize_t n = ::write(f.fd, buffer, static_cast<size_t>(*count));
    if (n != *count) {
        *count = n < 0 ? 0 : static_cast<int32_t>(n);
        return dskFulErr;
    }
    f.pos += *count;
    return noErr;
}
OSErr FSRead(FileRef ref, int32_t* count, void* buffer) {
    auto it = table().find(ref);
    if (it == table().end() || it->second.memory) return rfNumErr;
    ssize_t n = ::read(it->second.fd, buffer, static_cast<size_t>(*count));
    if (n < 0) return ioErr;
    *count = static_cast<int32_t>(n);
    return noErr;
}
OSErr GetFPos(FileRef ref, int32_t* position) {
    auto it = table().find(ref);
    if (it == table().end()) return rfNumErr;
    *position = it->second.pos;
    return noErr;
}
OSErr SetFPos(FileRef ref, int32_t position) {
    auto it = table().find(ref);
    if (it == table().end()) return rfNumErr;
    if (!it->second.memory && ::lseek(it->second.fd, position, SEEK_SET) < 0) return ioErr;
    it->second.pos = position;
    return noErr;
}
OSErr FSClose(FileRef ref) {
    auto it = table().find(ref);
    if (it == table().end()) return rfNumErr;
    int rc = it->second.memory ? 0 : ::close(it->second.fd);
    table().erase(it);
    return rc == 0 ? noErr : ioErr;
}
FileRef FSOpenMemory() {
    FileRef r = nextRef();
    table()[r].memory = true;
    return r;
}
const std::string& FSMemoryContents(FileRef ref) { return table()[ref].contents; }
}  // namespace platform
