#include "platform/pstopdf.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/tempfiles.h"

extern char** environ;

namespace platform {

namespace {

constexpr char kConverter[] = "ps2pdf";

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

bool readAll(const std::string& path, std::string* bytes) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    char buf[65536];
    ssize_t n = 0;
    bytes->clear();
    while ((n = ::read(fd, buf, sizeof buf)) > 0 || (n < 0 && errno == EINTR))
        if (n > 0) bytes->append(buf, static_cast<size_t>(n));
    ::close(fd);
    return n == 0;
}

}  // namespace

PdfConversion pstopdf(const std::string& eps, const std::string& workFolder, std::string* pdf,
                      std::string* failure) {
    failure->clear();
    const std::string where = workFolder.empty() ? "." : workFolder;
    std::string epsTemp, pdfTemp;
    int fd = createTemp(workFolder, &epsTemp);
    if (fd < 0) {
        *failure = where + ": " + std::strerror(errno);
        return PdfConversion::notCreated;
    }
    const bool written = writeAll(fd, eps);
    const int writeErr = errno;
    ::close(fd);
    fd = written ? createTemp(workFolder, &pdfTemp) : -1;
    if (fd < 0) {
        *failure = where + ": " + std::strerror(written ? errno : writeErr);
        drop(epsTemp);
        return PdfConversion::notCreated;
    }
    ::close(fd);
    const int status = runConverter(epsTemp, pdfTemp);
    drop(epsTemp);
    const bool read = status == 0 && readAll(pdfTemp, pdf);
    drop(pdfTemp);
    if (read && pdf->rfind("%PDF-", 0) == 0) return PdfConversion::converted;
    *failure = status < 0 ? std::string(kConverter) + " could not be run"
                          : std::string(kConverter) + " failed (exit status " +
                                std::to_string(status) + ")";
    pdf->clear();
    return PdfConversion::converterFailed;
}

}  // namespace platform
