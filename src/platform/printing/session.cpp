#include "platform/cairoLibrary.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/files.h"
#include "platform/printing/printing.h"

namespace print {

struct PrintSession::Impl {
    PrintSettings settings;
    PageFormat format;
    int32_t status = kPrintNoErr;
    double thermScale = 1;
    cairo_surface_t* surface = nullptr;
    // The pages outside the range chosen are drawn as the others are (so that
    // serial numbers and import records move on as over the whole job) into a
    // document of their own that goes nowhere.
    cairo_surface_t* skipped = nullptr;
    int32_t pageNumber = 0;  // of the page begun last, from 1
    int32_t pagesKept = 0;
    qd::GrafPort* port = nullptr;
    std::string document;  // the job's bytes, written or sent whole at the end
    std::string detail;
    bool inDocument = false;

    void dropSurface() {
        if (port) qd::DisposePort(port);
        port = nullptr;
        for (cairo_surface_t** s : {&surface, &skipped}) {
            if (*s) {
                cairo_surface_finish(*s);
                cairo_surface_destroy(*s);
            }
            *s = nullptr;
        }
    }
    bool inRange() const {
        return pageNumber >= settings.firstPage && pageNumber <= settings.lastPage;
    }
    void abandon() {
        dropSurface();
        document.clear();
        inDocument = false;
    }
    // True when the surface failed: the job is abandoned and the detail says why.
    bool failed(cairo_surface_t* s);
};

namespace {

cairo_status_t appendTo(void* closure, const unsigned char* data, unsigned int length) {
    static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
    return CAIRO_STATUS_SUCCESS;
}

cairo_status_t dropBytes(void*, const unsigned char*, unsigned int) { return CAIRO_STATUS_SUCCESS; }

bool postScriptFile(const PrintSettings& settings) {
    return settings.destination == Destination::file &&
           settings.fileFormat == FileFormat::postscript;
}

// A page surface of the job's kind, its bytes given to `write`.
cairo_surface_t* newSurface(const PrintSettings& settings, const PageFormat& format,
                            cairo_write_func_t write, void* closure) {
    const double w = format.pageWidth(), h = format.pageHeight();
    if (postScriptFile(settings)) return cairo_ps_surface_create_for_stream(write, closure, w, h);
    return cairo_pdf_surface_create_for_stream(write, closure, w, h);
}

// Errors only a write or a file's making gives: one of them left in errno by a
// failed write of cairo's is the reason, where any other may be older than it.
bool writeErrno(int err) {
    return err == ENOSPC || err == EDQUOT || err == EFBIG || err == EIO || err == EROFS;
}

// What a surface's failure is, named as writeWhole names one: the job's target
// and the system's reason (a full disk, the file-size limit), else cairo's. The
// PostScript writer keeps the pages in a temporary file of its own until the
// end, so a failed write there is not the target's disk.
std::string surfaceFailure(const PrintSettings& settings, cairo_status_t status, int err) {
    const bool writeFailed =
        status == CAIRO_STATUS_WRITE_ERROR || status == CAIRO_STATUS_TEMP_FILE_ERROR;
    std::string why = settings.target + ": ";
    why += writeFailed && writeErrno(err) ? std::strerror(err) : cairo_status_to_string(status);
    if (writeFailed && postScriptFile(settings))
        why += std::string(", in the temporary file of its pages in ") + P_tmpdir;
    return why;
}

// Through a temporary file, so a failed job leaves the old file as it was.
int32_t writeWhole(const std::string& path, const std::string& bytes, std::string* why) {
    platform::FileRef ref = 0;
    if (platform::FSCreateReplacement(path, &ref) != platform::noErr) {
        *why = platform::FSFailureText();
        return kPrintIOError;
    }
    int32_t count = int32_t(bytes.size());
    if (platform::FSWrite(ref, &count, bytes.data()) != platform::noErr) {
        platform::FSDiscard(ref);
        *why = path;
        return kPrintIOError;
    }
    if (platform::FSCommit(ref) != platform::noErr) {
        *why = platform::FSFailureText();
        return kPrintIOError;
    }
    return kPrintNoErr;
}

}  // namespace

bool PrintSession::Impl::failed(cairo_surface_t* s) {
    const int err = errno;  // before cleaning up sets it anew
    const cairo_status_t status = cairo_surface_status(s);
    if (status == CAIRO_STATUS_SUCCESS) return false;
    detail = surfaceFailure(settings, status, err);
    abandon();
    return true;
}

PrintSession::PrintSession() : impl_(std::make_unique<Impl>()) {}
PrintSession::~PrintSession() { impl_->abandon(); }

int32_t PrintSession::status() const { return impl_->status; }
double PrintSession::thermScale() const { return impl_->thermScale; }
const std::string& PrintSession::detail() const { return impl_->detail; }

namespace {

// A DSC comment line holds at most 255 bytes.
constexpr size_t kMostDscLine = 255;
constexpr char kTitleComment[] = "%%Title: ";

// The job's name as a title comment: a line end in a file name would end the
// comment and run the rest as PostScript, and a line too long fails the job.
std::string titleComment(const std::string& jobName) {
    std::string line = kTitleComment;
    for (const char c : jobName) {
        const auto byte = static_cast<unsigned char>(c);
        line += byte < 0x20 || byte == 0x7f ? ' ' : c;
    }
    if (line.size() > kMostDscLine) {
        size_t cut = kMostDscLine;
        // Never half a UTF-8 character: continuation bytes go with their lead.
        while (cut > 0 && (static_cast<unsigned char>(line[cut]) & 0xc0) == 0x80) --cut;
        line.resize(cut);
    }
    return line;
}

}  // namespace

int32_t PrintSession::beginDocument(const PrintSettings& settings, const PageFormat& format) {
    Impl& m = *impl_;
    m.abandon();
    m.settings = settings;
    m.format = format;
    m.status = kPrintNoErr;
    m.detail.clear();
    m.pageNumber = m.pagesKept = 0;
    if (format.pageWidth() <= 0 || format.pageHeight() <= 0 || settings.copies < 1)
        return m.status = kPrintGeneralError;
    m.thermScale = dotsPerPoint(format.resolution);
    const bool toFile = settings.destination == Destination::file;
    if (toFile && settings.target.empty()) return m.status = kPrintGeneralError;
    errno = 0;  // a reason left by an earlier failure is not this job's
    m.surface = newSurface(settings, format, appendTo, &m.document);
    if (m.failed(m.surface)) return m.status = kPrintIOError;
    if (!settings.jobName.empty()) {
        if (settings.fileFormat == FileFormat::postscript && toFile)
            cairo_ps_surface_dsc_comment(m.surface, titleComment(settings.jobName).c_str());
        else
            cairo_pdf_surface_set_metadata(m.surface, CAIRO_PDF_METADATA_TITLE,
                                           settings.jobName.c_str());
    }
    m.inDocument = true;
    return kPrintNoErr;
}

qd::GrafPort* PrintSession::beginPage() {
    Impl& m = *impl_;
    if (!m.inDocument || m.port) {
        m.status = kPrintOutOfScope;
        return nullptr;
    }
    ++m.pageNumber;
    if (!m.inRange() && !m.skipped) {
        m.skipped = newSurface(m.settings, m.format, dropBytes, nullptr);
        if (m.failed(m.skipped)) {
            m.status = kPrintIOError;
            return nullptr;
        }
    }
    const qd::Rect bounds{0, 0, int32_t(std::lround(m.format.pageHeight() * m.thermScale)),
                          int32_t(std::lround(m.format.pageWidth() * m.thermScale))};
    m.port = qd::NewPort(m.inRange() ? m.surface : m.skipped, bounds, 1 / m.thermScale);
    qd::SetPort(m.port);
    return m.port;
}

int32_t PrintSession::endPage() {
    Impl& m = *impl_;
    if (!m.port) return m.status = kPrintOutOfScope;
    qd::FlushPort(m.port);
    if (qd::GetPort() == m.port) qd::SetPort(nullptr);
    qd::DisposePort(m.port);
    m.port = nullptr;
    cairo_surface_t* page = m.inRange() ? m.surface : m.skipped;
    cairo_surface_show_page(page);
    if (m.inRange()) ++m.pagesKept;
    if (m.failed(page)) return m.status = kPrintIOError;
    return kPrintNoErr;
}

int32_t PrintSession::endDocument() {
    Impl& m = *impl_;
    if (!m.inDocument || m.port) {
        m.abandon();
        return m.status = kPrintOutOfScope;
    }
    if (m.pagesKept == 0) {
        // An empty document would pass for a printed one.
        m.abandon();
        m.detail = "no page of the job lies in the page range chosen";
        return m.status = kPrintGeneralError;
    }
    cairo_surface_finish(m.surface);
    if (m.failed(m.surface)) return m.status = kPrintIOError;
    cairo_surface_destroy(m.surface);
    m.surface = nullptr;
    m.dropSurface();  // the skipped pages
    if (m.settings.destination == Destination::file) {
        m.status = writeWhole(m.settings.target, m.document, &m.detail);
    } else {
        m.status = sendToQueue(m.settings.target, m.settings.jobName, m.settings.copies, m.document,
                               &m.detail);
    }
    m.document.clear();
    m.inDocument = false;
    return m.status;
}

void PrintSession::cancel() {
    impl_->abandon();
    impl_->status = kPrintCancel;
}

}  // namespace print
