#include "platform/printing/printing.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstddef>
#include <string>

#include "platform/byteorder.h"
#include "platform/files.h"

namespace print {

namespace {

struct Paper {
    const char* name;
    double width, height;  // points, portrait
};
constexpr Paper kPapers[] = {
    {"A4", 595.276, 841.89},  {"Letter", 612, 792},     {"Legal", 612, 1008},
    {"A5", 419.528, 595.276}, {"A3", 841.89, 1190.551},
};

constexpr double kMinResolutionAcross = 300;  // below it, the default resolution

// In any case: "a.PDF" names a PDF file as "a.pdf" does.
bool endsWith(const std::string& s, const std::string& tail) {
    if (s.size() < tail.size()) return false;
    return std::equal(tail.begin(), tail.end(), s.end() - std::ptrdiff_t(tail.size()),
                      [](char a, char b) {
                          return std::tolower(static_cast<unsigned char>(a)) ==
                                 std::tolower(static_cast<unsigned char>(b));
                      });
}

}  // namespace

double PageFormat::pageWidth() const {
    return orientation == Orientation::landscape ? paperHeight : paperWidth;
}
double PageFormat::pageHeight() const {
    return orientation == Orientation::landscape ? paperWidth : paperHeight;
}

bool paperFormat(const std::string& name, PageFormat* format) {
    for (const Paper& p : kPapers) {
        if (name != p.name) continue;
        format->paperName = p.name;
        format->paperWidth = p.width;
        format->paperHeight = p.height;
        format->orientation = Orientation::portrait;
        format->imageTop = format->imageLeft = 0;
        format->imageBottom = p.height;
        format->imageRight = p.width;
        return true;
    }
    return false;
}

PrintSettings settingsFor(const std::string& printerOrFile) {
    PrintSettings s;
    s.target = printerOrFile;
    const bool ps = endsWith(printerOrFile, ".ps");
    if (ps || endsWith(printerOrFile, ".pdf")) {
        s.destination = Destination::file;
        s.fileFormat = ps ? FileFormat::postscript : FileFormat::pdf;
    } else {
        s.destination = Destination::printer;
    }
    return s;
}

double dotsPerPoint(const Resolution& r) { return r.h / kPointsPerInch; }

std::vector<Resolution> GetSupportedResolutions(const PrintSettings& settings) {
    std::vector<Resolution> out;
    std::string paper;
    if (settings.destination == Destination::printer || settings.destination == Destination::fax)
        queueCapabilities(settings.target, &out, &paper);
    std::stable_sort(out.begin(), out.end(), [](const Resolution& a, const Resolution& b) {
        return a.h * a.v < b.h * b.v;
    });
    return out;
}

Resolution chooseResolution(Destination destination, const std::vector<Resolution>& supported) {
    Resolution r;
    if ((destination == Destination::printer || destination == Destination::fax) &&
        !supported.empty())
        r = supported.back();
    if (r.h < kMinResolutionAcross) r = Resolution{};
    return r;
}

// ---- The page format file -------------------------------------------------------

namespace {

constexpr char kMagic[4] = {'S', 'X', 'P', 'F'};
constexpr uint32_t kFormatVersion = 1;
constexpr double kFixed = 1000;  // lengths, scale and resolution in thousandths
constexpr size_t kMaxPaperName = 64;

void putWord(std::string* out, int64_t v) {
    uint8_t b[4];
    platform::put32(b, uint32_t(int32_t(v)), platform::ByteOrder::big);
    out->append(reinterpret_cast<const char*>(b), 4);
}

struct Reader {
    const std::string& bytes;
    size_t at = 0;
    bool word(int32_t* v) {
        if (bytes.size() - at < 4) return false;
        *v = int32_t(platform::get32(reinterpret_cast<const uint8_t*>(bytes.data() + at),
                                     platform::ByteOrder::big));
        at += 4;
        return true;
    }
    bool fixed(double* v) {
        int32_t w = 0;
        if (!word(&w)) return false;
        *v = w / kFixed;
        return true;
    }
};

}  // namespace

std::string flattenPageFormat(const PageFormat& f) {
    std::string out(kMagic, 4);
    putWord(&out, kFormatVersion);
    const std::string name = f.paperName.substr(0, kMaxPaperName);
    putWord(&out, int64_t(name.size()));
    out += name;
    putWord(&out, int16_t(f.orientation));
    for (double v : {f.paperWidth, f.paperHeight, f.imageTop, f.imageLeft, f.imageBottom,
                     f.imageRight, f.scale, f.resolution.h, f.resolution.v})
        putWord(&out, std::llround(v * kFixed));
    return out;
}

bool unflattenPageFormat(const std::string& bytes, PageFormat* format) {
    if (bytes.size() < 8 || bytes.compare(0, 4, kMagic, 4) != 0) return false;
    Reader r{bytes, 4};
    int32_t version = 0, nameLength = 0, orientation = 0;
    if (!r.word(&version) || version != int32_t(kFormatVersion)) return false;
    if (!r.word(&nameLength) || nameLength < 0 || size_t(nameLength) > kMaxPaperName ||
        bytes.size() - r.at < size_t(nameLength))
        return false;
    PageFormat f;
    f.paperName = bytes.substr(r.at, size_t(nameLength));
    r.at += size_t(nameLength);
    if (!r.word(&orientation) || (orientation != 1 && orientation != 2)) return false;
    f.orientation = Orientation(orientation);
    double* fields[] = {&f.paperWidth, &f.paperHeight,  &f.imageTop,
                        &f.imageLeft,  &f.imageBottom,  &f.imageRight,
                        &f.scale,      &f.resolution.h, &f.resolution.v};
    for (double* v : fields)
        if (!r.fixed(v)) return false;
    if (r.at != bytes.size()) return false;
    // A format that cannot describe a page is as good as none.
    const bool sane = f.paperWidth > 0 && f.paperHeight > 0 && f.scale > 0 && f.resolution.h > 0 &&
                      f.resolution.v > 0 && f.imageLeft >= 0 && f.imageTop >= 0 &&
                      f.imageRight > f.imageLeft && f.imageBottom > f.imageTop &&
                      f.imageRight <= f.pageWidth() && f.imageBottom <= f.pageHeight();
    if (!sane) return false;
    *format = f;
    return true;
}

std::string pageFormatPath() { return platform::userPreferencesFolder() + "/print.prt"; }

int32_t savePageFormat(const PageFormat& format) {
    const std::string path = pageFormatPath();
    if (platform::createFolder(path.substr(0, path.rfind('/'))) != platform::noErr)
        return kPrintIOError;
    // A pipe in its place would be written in place, blocking the run for good.
    if (platform::FSSettingsTargetUsable(path) != platform::noErr) return kPrintIOError;
    const std::string bytes = flattenPageFormat(format);
    platform::FileRef ref = 0;
    if (platform::FSCreateReplacement(path, &ref) != platform::noErr) return kPrintIOError;
    int32_t count = int32_t(bytes.size());
    if (platform::FSWrite(ref, &count, bytes.data()) != platform::noErr) {
        platform::FSDiscard(ref);
        return kPrintIOError;
    }
    return platform::FSCommit(ref) == platform::noErr ? kPrintNoErr : kPrintIOError;
}

PageFormat loadPageFormat() {
    // No saved format comes near this; a larger file is no format.
    constexpr int64_t kMostFormatBytes = 4096;
    PageFormat f;
    platform::FileRef ref = 0;
    // Only a regular file: a pipe in its place would block the run for good.
    if (platform::FSOpenRegular(pageFormatPath(), kMostFormatBytes, &ref) != platform::noErr)
        return f;
    std::string bytes;
    char buf[512];
    for (;;) {
        int32_t count = sizeof buf;
        const platform::OSErr err = platform::FSRead(ref, &count, buf);
        bytes.append(buf, size_t(count));
        if (err != platform::noErr || bytes.size() > kMostFormatBytes) break;
    }
    platform::FSClose(ref);
    unflattenPageFormat(bytes, &f);
    return f;
}

// ---- Dialogs and alerts ---------------------------------------------------------

namespace {
PrintDialogs gHeadless;
PrintDialogs* gDialogs = &gHeadless;
}  // namespace

PrintDialogs& dialogs() { return *gDialogs; }
void setDialogs(PrintDialogs* d) { gDialogs = d ? d : &gHeadless; }

}  // namespace print
