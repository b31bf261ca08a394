#include "platform/pstopdf.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/spawn.h"
#include "platform/tempfiles.h"

namespace platform {

namespace {

constexpr char kConverter[] = "ps2pdf";
// The EPS is the program's own and ends; the limit keeps a converter that
// stalls for another reason from holding the run for ever.
constexpr std::chrono::seconds kMostConversionTime{120};

// Runs the converter; its exit status, or -1 when it could not be started or
// ran out of time.
int runConverter(const std::string& in, const std::string& out) {
    return runQuietly(kConverter, {"-dEPSCrop", asArgument(in), asArgument(out)},
                      kMostConversionTime);
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
    const bool written = writeAllTo(fd, eps);
    const int writeErr = errno;
    ::close(fd);
    fd = written ? createTemp(workFolder, &pdfTemp) : -1;
    if (fd < 0) {
        *failure = where + ": " + std::strerror(written ? errno : writeErr);
        removeTemp(epsTemp);
        return PdfConversion::notCreated;
    }
    ::close(fd);
    const int status = runConverter(epsTemp, pdfTemp);
    removeTemp(epsTemp);
    const bool read = status == 0 && readAll(pdfTemp, pdf);
    removeTemp(pdfTemp);
    if (read && pdf->rfind("%PDF-", 0) == 0) return PdfConversion::converted;
    *failure = status < 0 ? std::string(kConverter) + " could not be run or did not finish"
                          : std::string(kConverter) + " failed (exit status " +
                                std::to_string(status) + ")";
    pdf->clear();
    return PdfConversion::converterFailed;
}

}  // namespace platform
