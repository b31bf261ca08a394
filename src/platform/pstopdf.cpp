#include "platform/pstopdf.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/tempfiles.h"

extern char** environ;

namespace platform {

namespace {

constexpr char kConverter[] = "ps2pdf";

std::string folderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? "" : slash == 0 ? "/" : path.substr(0, slash);
}

// A relative name that begins with '-' would be read as an option.
std::string asArgument(const std::string& path) { return path[0] == '/' ? path : "./" + path; }

bool writeAll(int fd, const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t w = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (w < 0 && errno == EINTR) continue;
        if (w <= 0) return false;
        done += static_cast<size_t>(w);
    }
    return true;
}

void drop(const std::string& temp) {
    ::unlink(temp.c_str());
    forgetTemp(temp);
}

// Runs the converter; its exit status, or -1 when it could not be started.
int runConverter(const std::string& in, const std::string& out) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    const std::string a = asArgument(in), b = asArgument(out);
    char crop[] = "-dEPSCrop";
    char* argv[] = {const_cast<char*>(kConverter), crop, const_cast<char*>(a.c_str()),
                    const_cast<char*>(b.c_str()), nullptr};
    pid_t pid = 0;
    const int err = posix_spawnp(&pid, kConverter, &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    if (err != 0) return -1;
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0)
        if (errno != EINTR) return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

bool looksLikePdf(const std::string& path) {
    char head[5] = {};
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    const bool ok = ::read(fd, head, 5) == 5 && std::memcmp(head, "%PDF-", 5) == 0;
    ::close(fd);
    return ok;
}

}  // namespace

PdfConversion pstopdf(const std::string& eps, const std::string& pdfPath, std::string* failure) {
    failure->clear();
    const std::string folder = folderOf(pdfPath);
    std::string epsTemp, pdfTemp;
    int fd = createTemp(folder, &epsTemp);
    if (fd < 0) {
        *failure = pdfPath + ": " + std::strerror(errno);
        return PdfConversion::notCreated;
    }
    const bool written = writeAll(fd, eps);
    const int writeErr = errno;
    ::close(fd);
    fd = written ? createTemp(folder, &pdfTemp) : -1;
    if (fd < 0) {
        *failure = pdfPath + ": " + std::strerror(written ? errno : writeErr);
        drop(epsTemp);
        return PdfConversion::notCreated;
    }
    ::close(fd);
    const int status = runConverter(epsTemp, pdfTemp);
    drop(epsTemp);
    if (status != 0 || !looksLikePdf(pdfTemp)) {
        *failure = status < 0 ? std::string(kConverter) + " could not be run"
                              : std::string(kConverter) + " failed (exit status " +
                                    std::to_string(status) + ")";
        drop(pdfTemp);
        return PdfConversion::converterFailed;
    }
    if (::rename(pdfTemp.c_str(), pdfPath.c_str()) != 0) {
        *failure = pdfPath + ": " + std::strerror(errno);
        drop(pdfTemp);
        return PdfConversion::notCreated;
    }
    forgetTemp(pdfTemp);
    return PdfConversion::converted;
}

}  // namespace platform
