#include "platform/pstopdf.h"

#include <fcntl.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string_view>

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

// The shell's status for a program it could not find: ps2pdf is a script that
// runs gs, so this is Ghostscript missing.
constexpr int kNotFoundStatus = 127;
// Where a whole PDF's last cross-reference offset may stand: its end mark and
// the number after "startxref" take a few bytes, trailing blanks a few more.
constexpr size_t kEndSearchBytes = 1024;

// A PDF as a writer finishes it: its header, and at its end (after blanks)
// the end mark, after "startxref" and the offset of a cross-reference that lies
// within the file. A file cut short at any byte lacks them.
bool wholePdf(const std::string& pdf) {
    constexpr std::string_view kBlanks = " \t\r\n\f";
    constexpr std::string_view kEnd = "%%EOF";
    constexpr std::string_view kStartXref = "startxref";
    if (pdf.rfind("%PDF-", 0) != 0) return false;
    const size_t last = pdf.find_last_not_of(kBlanks);
    if (last == std::string::npos || last + 1 < kEnd.size() ||
        pdf.compare(last + 1 - kEnd.size(), kEnd.size(), kEnd) != 0)
        return false;
    const size_t from = pdf.size() > kEndSearchBytes ? pdf.size() - kEndSearchBytes : 0;
    const size_t at = pdf.rfind(kStartXref, last);
    if (at == std::string::npos || at < from) return false;
    const size_t digits = pdf.find_first_not_of(kBlanks, at + kStartXref.size());
    if (digits == std::string::npos || !std::isdigit(static_cast<unsigned char>(pdf[digits])))
        return false;
    const unsigned long long offset = std::strtoull(pdf.c_str() + digits, nullptr, 10);
    return offset > 0 && offset < at;
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
    if (read && wholePdf(*pdf)) return PdfConversion::converted;
    pdf->clear();
    if (status < 0 || status == kNotFoundStatus) {
        *failure = std::string(kConverter) + " could not be run or did not finish";
        return PdfConversion::converterFailed;
    }
    *failure = status != 0 ? std::string(kConverter) + " failed (exit status " +
                                 std::to_string(status) + ")"
                           : std::string(kConverter) + " left its PDF cut short";
    return PdfConversion::pdfNotWhole;
}

}  // namespace platform
