#include "picture/output/SetUpFiles.h"

#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>
#include <string_view>
#include <utility>

#include "labels/labelDoc.h"
#include "labels/labelFile.h"
#include "labels/production.h"
#include "picture/outputstate.h"
#include "picture/output/pcEps.h"
#include "picture/output/rasterfiles.h"
#include "platform/desktop.h"
#include "platform/files.h"
#include "platform/macroman.h"
#include "platform/pstopdf.h"
#include "platform/quickdraw/pict.h"
#include "platform/resources.h"
#include "symbology/GS1AI.h"
#include "symbology/UPC.h"
#include "symbology/encoders.h"
#include "symbology/info.h"
#include "symbology/messages.h"
#include "symbology/state.h"
#include "vector/Epsout.h"

namespace {

constexpr size_t kMostNameBytes = 100;
constexpr size_t kLastNameBytes = 30;
constexpr size_t kPictFileHeaderBytes = 512;  // zeros before a picture file's PICT
constexpr int32_t kCodeDataBar = 37;
constexpr int32_t kCodeUpc = 11;
constexpr int32_t kUpcE = 1;
constexpr int32_t kDataBarDigits = 13;  // before the check digit
constexpr int32_t kUpcEDigits = 8;
constexpr int32_t kEanDigits = 13;
constexpr double kTiffDpi = 600.0;
constexpr double kPreviewDpi = 72.0;  // the PC EPS preview: one pixel a point
constexpr double kBmpLowDpi = 72.0;
constexpr double kBmpHighDpi = 300.0;
constexpr char kDefaultFileName[] = "DefaultStrixel";
constexpr char kNamedFolder[] = "Strixels";

const char* extensionOfKind(int32_t kind) {
    switch (kind) {
        case kOutPicture:
            return ".PIC";
        case kOutBarFontText:
            return ".TXT";
        case kOutVector:
        case kOutPdfFromEps:
            return gOut.ill == kIllPdf ? ".PDF" : ".EPS";
        case kOutPcEps:
            return ".EPS";
        case kOutTiff:
            return ".TIF";
        case kOutBmp72:
        case kOutBmp300:
            return ".BMP";
        default:
            return "";
    }
}

// The printed data of the name: escape pairs (a backslash or a control byte and
// the byte after it) vanish whole, a blank alone.
std::string printedData() {
    const char* p = gData.chMainCode2;
    const size_t n = strnlen(p, kMainCodeSize);
    const size_t len = gData.len11 >= 0 && static_cast<size_t>(gData.len11) < n ? gData.len11 : n;
    std::string printed;
    for (size_t i = 0; i < len; ++i) {
        const unsigned char c = static_cast<unsigned char>(p[i]);
        if (c == ' ') continue;
        if (c == '\\' || c < ' ') {
            ++i;
            continue;
        }
        printed += static_cast<char>(c);
    }
    return printed;
}

// The 13 digits of a DataBar symbol and their check digit.
std::string dataBarDigits() {
    std::string d(gData.chMainCode, strnlen(gData.chMainCode, kMainCodeSize));
    if (d.size() > static_cast<size_t>(kDataBarDigits)) d.resize(kDataBarDigits);
    d += calcheck2(d.c_str(), static_cast<int32_t>(d.size()) + 1);
    return d;
}

// UPC-E: the 8 digits, the check digit worked out on the expanded form when the
// data lacks it.
std::string upcEDigits() {
    const std::string e(gData.chMainCode4, strnlen(gData.chMainCode4, kAddCodeSize));
    if (e.size() == static_cast<size_t>(kUpcEDigits)) return e;
    std::string name = e.substr(0, kUpcEDigits - 1);
    const size_t dataLen = strnlen(gData.chMainCode, kMainCodeSize);
    if (dataLen == static_cast<size_t>(kEanDigits)) return name + gData.chMainCode[kEanDigits - 1];
    const SymbolData keep = gData;
    char check = 0;
    if (UPRecon() == 0) {
        AddLeadZero();
        calcheck();
        if (gData.len1 > 0) check = gData.chMainCode[gData.len1 - 1];
    }
    gData = keep;
    if (check) name += check;
    return name;
}

std::string withSlash(std::string folder) {
    if (!folder.empty() && folder.back() != '/') folder += '/';
    return folder;
}

std::string desktopFolder() {
    if (const char* d = std::getenv("XDG_DESKTOP_DIR"); d && *d) return d;
    const char* home = std::getenv("HOME");
    return std::string(home && *home ? home : ".") + "/Desktop";
}

// The image in pixels at dpi: the label's size, else the size the vector
// writer gives the symbol (the single item's box, whole points), else the
// picture's frame.
qd::Rect imageRect(double dpi) {
    double w = 0, h = 0;  // inches
    const LabelItem* item =
        labelBack.lastItem >= 0 && gLabel.labelParts[0] ? gLabel.labelParts[0].get() : nullptr;
    if (labelBack.labelWidth != 0) {
        w = labelBack.labelWidth / 10.0 / 72.0;
        h = labelBack.labelHeight / 10.0 / 72.0;
    } else if (item && item->i16(item::rectRight) > item->i16(item::rectLeft)) {
        w = (item->i16(item::rectRight) - item->i16(item::rectLeft)) / 72.0;
        h = (item->i16(item::rectBottom) - item->i16(item::rectTop)) / 72.0;
    } else if (gPictOut.Pict) {
        const double unitsPerInch = pictureUnitsPerInch();
        w = gPictOut.Pict->frame.width() / unitsPerInch;
        h = gPictOut.Pict->frame.height() / unitsPerInch;
    }
    return qd::Rect{0, 0, std::max<int32_t>(1, static_cast<int32_t>(h * dpi + 0.5)),
                    std::max<int32_t>(1, static_cast<int32_t>(w * dpi + 0.5))};
}

// The vector writer's document in memory; false when it refused (reported).
bool epsBytes(int32_t yPos, std::string* out) {
    const platform::FileRef ref = platform::FSOpenMemory();
    const bool ok = EPSout(ref, yPos) == 0;
    if (ok) *out = platform::FSMemoryContents(ref);
    platform::FSClose(ref);
    return ok;
}

bool writeVector(const std::string& path, int32_t yPos) {
    platform::FileRef ref = 0;
    if (platform::FSCreateReplacement(path, &ref) != platform::noErr) {
        reportFileFailure(kMsgCannotCreate);
        return false;
    }
    if (EPSout(ref, yPos) != 0) {
        platform::FSDiscard(ref);
        return false;
    }
    const platform::OSErr err = platform::FSCommit(ref);
    if (err != platform::noErr) {
        reportFileFailure(err == platform::dskFulErr ? kMsgVectorWriteFailed : kMsgCannotCreate);
        return false;
    }
    return true;
}

bool needPicture() {
    if (gPictOut.Pict) return true;
    Message(kMsgNoPicture);
    return false;
}

// The folder for the converter's work files: the target's own, or the system's
// temporary folder for a device.
std::string workFolderFor(const std::string& path) {
    if (platform::pathKind(path) == platform::PathKind::file) {
        struct stat st {};
        if (::stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) {
            const char* tmp = std::getenv("TMPDIR");
            return tmp && *tmp ? tmp : "/tmp";
        }
    }
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? "" : slash == 0 ? "/" : path.substr(0, slash);
}

std::string readFileAt(const std::string& path, bool shortened);

// The EPS kept under its own name when no PDF could be made from it, and why;
// false after a message. It never replaces a file the command reads (the EPS
// --open names lies beside its PDF).
bool keepEps(const PdfPaths& names, const std::string& eps, uint16_t why,
             const std::string& failure) {
    if (const std::string read = readFileAt(names.eps, true); !read.empty()) {
        reportFailureText(kMsgPdfNotConvertedEpsRead, failure + "; the EPS would replace " + read);
        return false;
    }
    if (writeWholeFile(names.eps, eps)) reportFailureText(why, failure + "; kept as " + names.eps);
    return false;
}

// The PDF made from the EPS, under the name with ".pdf". When the converter
// fails the EPS is kept under its own name and the failure reported.
bool writePdfFromEps(const std::string& path, int32_t yPos, std::string* written) {
    std::string eps;
    if (!epsBytes(yPos, &eps)) return false;
    const PdfPaths names = pdfPathsFor(path);
    // The path was checked as it was named; the PDF may take the other extension.
    if (names.pdf != path && !outputSparesReadFiles(names.pdf)) return false;
    std::string pdf, failure;
    const platform::PdfConversion result =
        platform::pstopdf(eps, workFolderFor(names.pdf), &pdf, &failure);
    switch (result) {
        case platform::PdfConversion::converted:
            *written = names.pdf;
            return writeWholeFile(names.pdf, pdf);
        case platform::PdfConversion::notCreated:
            reportFailureText(kMsgCannotCreate, failure);
            return false;
        case platform::PdfConversion::pdfNotWhole:
            return keepEps(names, eps, kMsgPdfNotWritten, failure);
        case platform::PdfConversion::converterFailed:
            break;
    }
    return keepEps(names, eps, kMsgPdfNotConverted, failure);
}

}  // namespace

PdfPaths pdfPathsFor(const std::string& path) {
    const size_t slash = path.rfind('/');
    const size_t dot = path.rfind('.');
    if (dot != std::string::npos && (slash == std::string::npos || dot > slash)) {
        std::string ext = path.substr(dot);
        for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (ext == ".eps" || ext == ".pdf") {
            const std::string stem = path.substr(0, dot);
            return {stem + ".eps", stem + ".pdf"};
        }
    }
    // No extension of either kind (a device, say): the PDF takes the name itself.
    return {path + ".eps", path};
}

bool writeWholeFile(const std::string& path, const std::string& bytes) {
    platform::FileRef ref = 0;
    if (platform::FSCreateReplacement(path, &ref) != platform::noErr) {
        reportFileFailure(kMsgCannotCreate);
        return false;
    }
    int32_t count = static_cast<int32_t>(bytes.size());
    platform::FSWrite(ref, &count, bytes.data());
    const platform::OSErr err = platform::FSCommit(ref);
    if (err != platform::noErr) {
        reportFileFailure(err == platform::dskFulErr ? kMsgWriteIncomplete : kMsgCannotCreate);
        return false;
    }
    return true;
}

namespace {

constexpr char kUtf16Mark[] = "\xFE\xFF";

// The last `n` bytes of an existing file and its length; false when it cannot be
// read (the text is then added after a line end, as to a file that lacks one).
bool fileTail(const std::string& path, size_t n, std::string* tail, int32_t* length) {
    platform::FileRef ref = 0;
    if (platform::FSOpenRead(path, &ref) != platform::noErr) return false;
    bool ok = platform::GetEOF(ref, length) == platform::noErr;
    if (ok && *length > 0) {
        int32_t count = std::min(*length, static_cast<int32_t>(n));
        tail->assign(static_cast<size_t>(count), '\0');
        ok = platform::SetFPos(ref, *length - count) == platform::noErr &&
             platform::FSRead(ref, &count, tail->data()) == platform::noErr;
    }
    platform::FSClose(ref);
    return ok;
}

// The Append output: the symbol's bar-font text goes after what the chosen file
// holds, on a line of its own, with the file's byte-order mark only at its start.
// A failed write leaves the file as it was.
bool addTextToFile(const std::string& path, std::string text) {
    if (platform::pathKind(path) != platform::PathKind::file) return writeWholeFile(path, text);
    const bool utf16 = text.rfind(kUtf16Mark, 0) == 0;
    const std::string lineEnd = utf16 ? std::string("\0\r\0\n", 4) : std::string("\r");
    std::string tail;
    int32_t length = -1;
    const bool read = fileTail(path, lineEnd.size(), &tail, &length);
    if (!read || length != 0) {
        if (utf16) text.erase(0, std::strlen(kUtf16Mark));
        if (tail != lineEnd) text.insert(0, lineEnd);
    }
    const platform::OSErr err = platform::FSAppendWhole(path, text);
    if (err != platform::noErr) {
        reportFileFailure(err == platform::dskFulErr ? kMsgWriteIncomplete : kMsgCannotCreate);
        return false;
    }
    return true;
}

}  // namespace

std::string NewFileName() {
    std::string name;
    if (gOut.appID == 0) {
        if (gOut.title[0])
            name += gOut.title;
        else
            name += std::string(gSym.TeF) + " ";
    }
    if (gOut.title[0] == 0) {
        if (gSym.code == kCodeUpc && gSym.variation1 == kUpcE) {
            name += upcEDigits();
        } else if (gSym.code == kCodeDataBar) {
            name += dataBarDigits();
        } else {
            const std::string printed = printedData();
            name += printed;
            const size_t dataLen = strnlen(gData.chMainCode, kMainCodeSize);
            if (gSym.nCheck == 0 && dataLen > printed.size()) name += gData.chMainCode[dataLen - 1];
        }
    }
    name.append(gData.chAddCode2, strnlen(gData.chAddCode2, kAddCodeSize));
    if (name.size() > kMostNameBytes) name.resize(kMostNameBytes);
    for (char& c : name)
        if (c == 0) c = ' ';
    if (!name.empty() && name.back() == ' ') name.pop_back();
    for (char& c : name) {
        const unsigned char u = static_cast<unsigned char>(c);
        if (c == ' ' || c == '/' || c == '#' || c == ':' || c == '\\' || u < 32 || u > 126) c = '-';
    }
    if (gOut.fileTyp == 1) name += extensionOfKind(gOut.tool);
    if (name.size() > kLastNameBytes) name = name.substr(name.size() - kLastNameBytes);
    return name;
}

namespace {

// In a run, a name that an earlier record of the run took becomes "NAME-2",
// "NAME-3" ... before its extension, still within the name's last bytes.
std::string unusedInRun(const std::string& name) {
    if (gProd.background == 0) return name;
    std::set<std::string>& taken = gPictOut.runNames;
    std::string unused = name;
    if (taken.count(unused) != 0) {
        const size_t dot = gOut.fileTyp == 1 ? name.rfind('.') : std::string::npos;
        const std::string stem = name.substr(0, dot);
        const std::string ext = dot == std::string::npos ? "" : name.substr(dot);
        for (int n = 2; taken.count(unused) != 0; ++n) {
            unused = stem + "-" + std::to_string(n) + ext;
            if (unused.size() > kLastNameBytes)
                unused = unused.substr(unused.size() - kLastNameBytes);
        }
    }
    taken.insert(unused);
    return unused;
}

}  // namespace

ReadFiles gReadFiles;

namespace {

std::string lastPart(const std::string& path, bool shortened) {
    return shortened ? path.substr(path.rfind('/') + 1) : path;
}

// The file a command reads that the output at path would replace ("the import
// file (items.csv)"), with its name alone when shortened; empty for none. Any
// name may be one: a hard link or a symbolic link leads to the file itself.
std::string readFileAt(const std::string& path, bool shortened) {
    const ReadFiles::Read* reads[] = {&gReadFiles.records, &gReadFiles.opened, &gReadFiles.import};
    const char* whats[] = {"the file the records are read from", "the file --open reads",
                           "the import file"};
    // No look at the file system for the desktop, which reads none of them.
    if (std::none_of(std::begin(reads), std::end(reads),
                     [](const ReadFiles::Read* r) { return r->id.known(); }))
        return {};
    const platform::FileId id = platform::regularFileId(path);
    if (!id.known()) return {};
    for (size_t i = 0; i < std::size(reads); ++i)
        if (reads[i]->id == id)
            return std::string(whats[i]) + " (" + lastPart(reads[i]->name, shortened) + ")";
    return {};
}

// The fault, with the files' names alone when the whole paths would not fit a message.
std::string replacedRead(const std::string& path, bool shortened, const char* key) {
    const std::string what = readFileAt(path, shortened);
    if (what.empty()) return {};
    // A run in a folder names its files after the records.
    if (gOut.fileDia == 3)
        return "the record's file " + lastPart(path, shortened) + " would replace " + what +
               ": choose another folder (saveto) or title field";
    return std::string(key) + " names " + what + ": choose another name";
}

constexpr size_t kMostMessageBytes = 255;

}  // namespace

bool outputSparesReadFiles(const std::string& path, const char* key) {
    std::string why = replacedRead(path, false, key);
    if (why.empty()) return true;
    std::string roman;
    if (why.size() > kMostMessageBytes) why = replacedRead(path, true, key);
    if (!platform::utf8ToMacRoman(why, &roman)) roman = why;
    MessageText(roman.c_str());
    return false;
}

namespace {

// The path of the file by the naming mode; false when the user cancelled.
bool pathByNamingMode(std::string* path) {
    const bool inFolder =
        gOut.fileDia == 1 || gOut.fileDia == 3 || (gOut.fileDia == 0 && gOut.showDia != 0);
    // A path given whole (4) needs no name: a batch makes none.
    const std::string name = gOut.fileDia == 4 ? std::string()
                             : inFolder        ? unusedInRun(NewFileName())
                                               : NewFileName();
    switch (gOut.fileDia) {
        case 0:
            if (gOut.showDia == 0) {
                // Text added to a file replaces nothing: no question about it.
                platform::SetSaveAddsToFile(gOut.tool == kOutBarFontText &&
                                            gOut.outToFile == kOutToFileAppend);
                const bool chosen = platform::PutFileDialog(name, path);
                platform::SetSaveAddsToFile(false);
                return chosen;
            }
            if (gPictOut.gfoldername.empty()) {
                std::string folder;
                if (platform::SelectExistingFolder(&folder)) gPictOut.gfoldername = folder;
            }
            *path = gPictOut.gfoldername.empty() ? name : withSlash(gPictOut.gfoldername) + name;
            return true;
        case 1:
            *path = std::string(kNamedFolder) + "/" + name;
            return true;
        case 2:
            *path = withSlash(desktopFolder()) + kDefaultFileName;
            return true;
        case 3:
            *path = withSlash(gOut.globFolS) + name;
            return true;
        case 4:
            *path = gOut.globFolS;
            return true;
        default:
            *path = name;
            return true;
    }
}

}  // namespace

bool NewFile(std::string* path) {
    if (!pathByNamingMode(path)) return false;
    return outputSparesReadFiles(*path);
}

namespace {

// A picture's coordinates are 16-bit: a frame beyond them would be cut off by
// every program that reads the file.
bool pictureFitsItsUnits(const qd::Picture& pict) {
    constexpr int32_t kMostPictUnits = 32767;
    const qd::Rect& r = pict.frame;
    return r.left >= -kMostPictUnits && r.top >= -kMostPictUnits && r.right <= kMostPictUnits &&
           r.bottom <= kMostPictUnits;
}

// The output path's storage serves every file of a batch. A request made while
// another waits in a file dialog's event loop gets a string of its own.
struct ReusedPath {
    ReusedPath() : borrowed(!busy), text(borrowed ? kept : own) {
        if (!borrowed) return;
        busy = true;
        kept.clear();
    }
    ~ReusedPath() {
        if (borrowed) busy = false;
    }
    ReusedPath(const ReusedPath&) = delete;
    ReusedPath& operator=(const ReusedPath&) = delete;

    const bool borrowed;
    std::string own;
    std::string& text;

  private:
    static inline std::string kept;
    static inline bool busy = false;
};

}  // namespace

int32_t SetUpFiles(int32_t yPos) {
    // Kind 8 is named and written as kind 2 first; any change of the kind lasts
    // this request only.
    const OutputSettings keep = gOut;
    int32_t kind = gOut.tool;
    if (kind == kOutPdfFromEps) gOut.tool = kOutVector;
    ReusedPath reused;
    std::string& path = reused.text;
    const bool named = NewFile(&path);
    gOut.tool = keep.tool;
    if (!named) return 0;
    if (path.empty()) {
        Message(kMsgCannotCreate);
        return 0;
    }
    std::string written;  // where a PDF made from EPS ends up
    bool ok = false;
    switch (kind) {
        case kOutPicture:
            if (needPicture() && !pictureFitsItsUnits(*gPictOut.Pict)) {
                Message(kMsgPictureTooLarge);
            } else if (needPicture()) {
                std::string bytes(kPictFileHeaderBytes, '\0');
                bytes += qd::WritePict(*gPictOut.Pict, static_cast<int>(pictureUnitsPerInch()));
                ok = writeWholeFile(path, bytes);
            }
            break;
        case kOutBarFontText: {
            std::string text =
                gPictOut.textConverted
                    ? gPictOut.convertedText
                    : std::string(reinterpret_cast<const char*>(gEl.chNum),
                                  static_cast<size_t>(std::max<int32_t>(0, gEl.cu_len)));
            ok = gOut.outToFile == kOutToFileAppend ? addTextToFile(path, std::move(text))
                                                    : writeWholeFile(path, text);
            break;
        }
        case kOutPcEps: {
            // A sheet, or a symbol too large for the preview, is a plain EPS.
            std::string eps;
            if (labelBack3.labelWidth != 0 || !needPicture()) {
                ok = labelBack3.labelWidth != 0 && writeVector(path, yPos);
                break;
            }
            const qd::Rect preview = imageRect(kPreviewDpi);
            if (!pcEpsPreviewFits(preview)) {
                gOut.tool = kOutVector;
                ok = writeVector(path, yPos);
                gOut.tool = keep.tool;
                break;
            }
            std::string tiff;
            if (!TiffToFile(gPictOut.Pict, preview, "B/W", kPreviewDpi, &tiff)) break;
            if (!epsBytes(yPos, &eps)) break;
            ok = writeWholeFile(path, pcEpsFile(eps, tiff));
            break;
        }
        case kOutTiff:
            if (needPicture()) {
                std::string tiff;
                ok = TiffToFile(gPictOut.Pict, imageRect(kTiffDpi), "", kTiffDpi, &tiff) &&
                     writeWholeFile(path, tiff);
            }
            break;
        case kOutBmp72:
        case kOutBmp300:
            if (needPicture()) {
                const double dpi = kind == kOutBmp72 ? kBmpLowDpi : kBmpHighDpi;
                std::string bmp;
                ok = BMPToFile(gPictOut.Pict, imageRect(dpi), dpi, &bmp) &&
                     writeWholeFile(path, bmp);
            }
            break;
        case kOutPdfFromEps:
            ok = writePdfFromEps(path, yPos, &written);
            break;
        case kOutVector:
            ok = writeVector(path, yPos);
            break;
        default:
            Message(kMsgUnknownDialect);
            break;
    }
    if (!ok) return 0;
    copyBounded(gOut.gfullpathp, written.empty() ? path.c_str() : written.c_str());
    disposePict();
    return 1;
}

bool BitmapToClipboard() {
    if (!needPicture()) return false;
    std::string bmp;
    if (!BMPToFile(gPictOut.Pict, imageRect(kBmpLowDpi), kBmpLowDpi, &bmp)) return false;
    platform::ZeroScrap();
    platform::PutScrapFlavor(kBitmapFlavour, bmp);
    return true;
}

int32_t openFile() {
    gPictOut.pos = 0;
    std::string path;
    if (!platform::GetFileDialog("TEXT", &path)) return 1;
    platform::FileRef ref = 0;
    // Read-only: a file the user may only read is still an import file.
    if (platform::FSOpenRead(path, &ref) != platform::noErr) {
        Message(kMsgImportNotOpened);
        return 1;
    }
    platform::FSClose(ref);
    gPictOut.impoFile = path;
    // An open layout's labels read the document's import file when printed.
    if (labelLayoutOpen()) gDocFile.impoFile = path;
    return 1;
}
