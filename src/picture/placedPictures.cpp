#include "picture/placedPictures.h"

#include <algorithm>
#include <cstdio>

#include "labels/itemFields.h"
#include "labels/labelFile.h"
#include "labels/printState.h"
#include "picture/fileservices.h"
#include "platform/desktop.h"
#include "platform/files.h"
#include "platform/numbers.h"
#include "platform/quickdraw/eps.h"
#include "platform/quickdraw/image.h"
#include "platform/quickdraw/pict.h"
#include "symbology/messages.h"
#include "symbology/state.h"

namespace {

constexpr int32_t kToolKindLimit = 99;
constexpr int32_t kOffbar = 20;  // the layout window's bar above the label
constexpr int32_t kLabelUnits = 10;
constexpr int32_t kDefaultSide = 100;  // a side of 0 is drawn this long
constexpr uint16_t kClippedPicture = 112;
constexpr int16_t kPostScriptBegin = 190, kPostScriptEnd = 191, kPostScriptHandle = 192;
constexpr size_t kPostScriptChunk = 8192;
constexpr double kRasterFineness = 2;  // raster pixels to a port unit
constexpr int16_t kPlaceholderTextSize = 9;
constexpr int32_t kPlaceholderInset = 3;
constexpr uint16_t kMsgPictureUnreadable = 1440;
constexpr uint16_t kMsgPicturePathTooLong = 1441;
constexpr uint16_t kMsgKeptPictureUnreadable = 1442;
constexpr int32_t kPrinterPass = 1, kThermalPass = -1;
constexpr char kPictureFileTypes[] = "grip";

// Only a regular file of bounded size: a device or a pipe named as a picture
// would be read without end.
bool readWhole(const std::string& path, std::string* bytes, std::string* why) {
    return platform::readRegularFile(path, kMostPictureBytes, bytes, why);
}

const unsigned char* bytesOf(const std::string& s) {
    return reinterpret_cast<const unsigned char*>(s.data());
}

int16_t word(int32_t v) { return static_cast<int16_t>(clampedInt(v, INT16_MIN, INT16_MAX)); }

qd::Rect guarded(qd::Rect r) {
    if (r.height() == 0) r.bottom = r.top + kDefaultSide;
    if (r.width() == 0) r.right = r.left + kDefaultSide;
    return r;
}

std::string fileName(const std::string& path) {
    const size_t slash = path.find_last_of("/:");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// An EPS file without a raster: a frame, its diagonals and the file's name.
void placeholder(const qd::Rect& r, const std::string& name, double angle) {
    const bool turned = angle != 0;
    if (turned) qd::BeginTurn(-angle, {(r.top + r.bottom) / 2, (r.left + r.right) / 2});
    qd::PenNormal();
    qd::ForeColor(qd::blackColor);
    qd::FrameRect(r);
    qd::MoveTo(r.left, r.top);
    qd::LineTo(r.right - 1, r.bottom - 1);
    qd::MoveTo(r.left, r.bottom - 1);
    qd::LineTo(r.right - 1, r.top);
    unsigned char helvetica[] = "\x09Helvetica";
    int16_t font = 0;
    qd::GetFNum(helvetica, &font);
    qd::TextFont(font);
    qd::TextFace(0);
    qd::TextSize(kPlaceholderTextSize);
    qd::TextMode(qd::srcOr);
    qd::MoveTo(r.left + kPlaceholderInset, r.top + kPlaceholderInset + kPlaceholderTextSize);
    qd::DrawText(name.data(), 0, static_cast<int32_t>(name.size()));
    if (turned) qd::EndTurn();
}

void report(uint16_t n, const std::string& why) { reportFailureText(n, why); }

// The placeholder stands in only where Ghostscript is missing; an EPS file it
// cannot run would otherwise print as the placeholder with no word. False
// after a message then, when printing.
bool drawEps(const qd::EpsFile& eps, const std::string& path, const qd::Rect& given, double angle,
             bool printing) {
    const qd::Rect r = guarded(given);
    if (qd::PassEpsThrough(eps, r, angle)) return true;
    const double ppp = std::max(1.0, std::max(r.width() / eps.width(), r.height() / eps.height())) *
                       kRasterFineness;
    // A sheet draws the same EPS on every label: Ghostscript runs once for it.
    static struct {
        std::string postscript;
        double ppp = 0;
        bool ok = false;
        qd::Image raster;
    } last;
    if (last.postscript != eps.postscript || last.ppp != ppp) {
        last.postscript = eps.postscript;
        last.ppp = ppp;
        last.raster = qd::Image{};
        last.ok = qd::RasterOfEps(eps, ppp, &last.raster);
    }
    if (last.ok) {
        qd::DrawImage(last.raster, r, angle);
        return true;
    }
    if (printing && qd::GhostscriptFound()) {
        report(kMsgPictureUnreadable,
               fileName(path) + ": Ghostscript could not run it (an error, or over a minute)");
        return false;
    }
    placeholder(r, fileName(path), angle);
    return true;
}

// The natural bounds of a picture file: pixels, or an EPS file's points.
bool naturalBounds(const std::string& path, qd::Rect* rect, std::string* why) {
    std::string bytes;
    if (!readWhole(path, &bytes, why)) return false;
    if (qd::LooksLikeEps(bytesOf(bytes), bytes.size())) {
        qd::EpsFile eps;
        if (!qd::ReadEps(bytesOf(bytes), bytes.size(), &eps, why)) return false;
        *rect = {0, 0, static_cast<int32_t>(std::lround(eps.height())),
                 static_cast<int32_t>(std::lround(eps.width()))};
        return true;
    }
    qd::Image img;
    if (!qd::ReadImage(bytesOf(bytes), bytes.size(), &img, why)) return false;
    *rect = {0, 0, img.height, img.width};
    return true;
}

// A field kept as a Pascal string: its length byte, then the text.
std::string pascalField(const LabelItem& it, size_t off) {
    const std::string s = it.text(off);
    if (s.empty()) return s;
    const size_t n = static_cast<unsigned char>(s[0]);
    return s.substr(1, std::min(n, s.size() - 1));
}

}  // namespace

bool GetGraphicLocation(std::string* path, qd::Rect* rect) {
    std::string chosen;
    if (!platform::GetFileDialog(kPictureFileTypes, &chosen)) return false;
    if (chosen.size() > kPicturePathMost) {
        report(kMsgPicturePathTooLong, chosen.substr(0, 64) + "...");
        return false;
    }
    std::string why;
    if (!naturalBounds(chosen, rect, &why)) {
        report(kMsgPictureUnreadable, fileName(chosen) + ": " + why);
        return false;
    }
    *path = chosen;
    return true;
}

void doPictTool(int32_t mode, int32_t kind, LabelItem* item, qd::Point mouse) {
    if (kind >= kToolKindLimit || !item) return;
    std::string path;
    qd::Rect natural;
    if (!GetGraphicLocation(&path, &natural)) return;  // the item stays as it was
    const int32_t naturalW = natural.width(), naturalH = natural.height();
    int32_t w = naturalW, h = naturalH;
    const auto labelW = static_cast<int32_t>(labelBack.labelWidth / kLabelUnits);
    if (labelW > 0 && w > labelW) {
        h = static_cast<int32_t>(int64_t{naturalH} * labelW / naturalW);
        w = labelW;
    }
    item->setText(item::dataText, path);
    item->setI16(item::hei, kLinkedImage);
    if (mode != 1) return;
    const int32_t zoom = labelDesc.zoom > 0 ? labelDesc.zoom : 100;
    const int32_t left = (mouse.h - static_cast<int32_t>(labelDesc.hOffset)) * 100 / zoom;
    const int32_t top = (mouse.v - static_cast<int32_t>(labelDesc.vOffset) - kOffbar) * 100 / zoom;
    item->setI16(item::aboveHu, word(naturalW));
    item->setI16(item::checkPacked, word(naturalH));
    item->setI16(item::rectTop, word(top));
    item->setI16(item::rectLeft, word(left));
    item->setI16(item::rectBottom, word(top + h));
    item->setI16(item::rectRight, word(left + w));
}

bool DrawImage(const std::string& path, const qd::Rect& rect, double angle, bool printing) {
    std::string bytes, why;
    if (!readWhole(path, &bytes, &why)) {
        report(kMsgPictureUnreadable, why);
        return false;
    }
    if (qd::LooksLikeEps(bytesOf(bytes), bytes.size())) {
        qd::EpsFile eps;
        if (!qd::ReadEps(bytesOf(bytes), bytes.size(), &eps, &why)) {
            report(kMsgPictureUnreadable, fileName(path) + ": " + why);
            return false;
        }
        return drawEps(eps, path, rect, angle, printing);
    }
    qd::Image img;
    if (!qd::ReadImage(bytesOf(bytes), bytes.size(), &img, &why)) {
        report(kMsgPictureUnreadable, fileName(path) + ": " + why);
        return false;
    }
    qd::DrawImage(img, guarded(rect), angle);
    return true;
}

namespace {

// The file a picture item reads when it is drawn; empty when it carries its picture.
std::string linkedFile(const LabelItem& it) {
    const uint16_t source = it.u16(item::hei);
    if (source == kPostScriptPicture)
        return documentPath(pascalField(it, item::addCode) + pascalField(it, item::dataText));
    if (source == kLinkedImage) return documentPath(it.text(item::dataText));
    return {};
}

// The picture an item keeps in the document; null when it keeps none.
const std::string* keptPicture(const LabelItem& it) {
    const uint16_t source = it.u16(item::hei);
    if (source == kLinkedImage || source == kPostScriptPicture || !it.hasDataHandle) return nullptr;
    return &it.dataHandle;
}

// Why a kept picture cannot be drawn; empty when it can. An empty one may yet
// be filled from a data field as the label is drawn.
std::string keptPictureFault(const std::string& bytes) {
    if (bytes.empty()) return {};
    std::string why;
    qd::Picture* pic = qd::ReadPict(bytesOf(bytes), bytes.size(), &why);
    if (pic) {
        qd::KillPicture(pic);
        return {};
    }
    return why.empty() ? std::string("the picture is damaged") : why;
}

std::string itemWord(int32_t i) { return "item " + std::to_string(i + 1); }

}  // namespace

bool PictureFilesReadable() {
    for (int32_t i = 0; i <= labelBack.lastItem; ++i) {
        const LabelItem* it = itemAt(i);
        if (!it || !isPictureKind(it->u16(item::kind))) continue;
        if (const std::string* kept = keptPicture(*it)) {
            if (const std::string why = keptPictureFault(*kept); !why.empty()) {
                report(kMsgKeptPictureUnreadable, itemWord(i) + ": " + why);
                return false;
            }
        }
        const std::string path = linkedFile(*it);
        if (path.empty()) continue;
        qd::Rect bounds;
        std::string why;
        if (!naturalBounds(path, &bounds, &why)) {
            report(kMsgPictureUnreadable, why == path ? path : fileName(path) + ": " + why);
            return false;
        }
    }
    return true;
}

void PostScriptLine(const std::string& line) {
    const std::string text = line + '\r';
    qd::PicComment(kPostScriptHandle, static_cast<int16_t>(text.size()), text.data());
}

int32_t PSFromFile(const std::string& path, int32_t, int32_t) {
    std::string bytes;
    if (!readWhole(path, &bytes, nullptr)) return platform::fnfErr;
    for (size_t at = 0;; at += kPostScriptChunk) {
        const size_t n = std::min(kPostScriptChunk, bytes.size() - at);
        qd::PicComment(kPostScriptHandle, static_cast<int16_t>(n), bytes.data() + at);
        if (n < kPostScriptChunk) break;
    }
    PostScriptLine("");
    return platform::noErr;
}

void ProcessEPSJob(const std::string& path, int32_t vRefNum, int32_t itemIndex, int32_t dirID) {
    const LabelItem* it = itemAt(itemIndex);
    if (!it) return;
    const Rect16& r = gLabel.itRect;
    const int32_t w = (r.right - r.left) / 2, h = (r.bottom - r.top) / 2;
    // The natural size; a size of 0 (an item never placed) draws at 1:1.
    const int32_t W = it->i16(item::aboveHu), H = it->i16(item::checkPacked);
    qd::PicComment(kPostScriptBegin, 0, nullptr);
    PostScriptLine("/originalState save def /showpage {} def");
    PostScriptLine(platform::formatC("%i %i translate", r.left + w, r.top + h));
    PostScriptLine("1 -1 scale");
    if (gSym.orient != 0) PostScriptLine(platform::formatC("%i rotate", gSym.orient));
    PostScriptLine(
        platform::formatC("%f %f scale", W != 0 ? 2.0 * w / W : 1.0, H != 0 ? 2.0 * h / H : 1.0));
    PostScriptLine(platform::formatC("%i %i translate", -(W / 2), -(H / 2)));
    PSFromFile(path, vRefNum, dirID);
    PostScriptLine("originalState restore");
    qd::PicComment(kPostScriptEnd, 0, nullptr);
}

std::string unreadablePicture() {
    for (int32_t i = 0; i <= labelBack.lastItem && i < kMaxLabelItems; ++i) {
        const LabelItem* it = itemAt(i);
        if (!it || !isPictureKind(it->u16(item::kind))) continue;
        if (const std::string* kept = keptPicture(*it)) {
            if (const std::string why = keptPictureFault(*kept); !why.empty())
                return "the picture the label document keeps for " + itemWord(i) +
                       " is damaged or cut short: " + why;
        }
        const std::string path = linkedFile(*it);
        platform::FileRef ref = 0;
        std::string why;
        if (path.empty()) continue;
        if (platform::FSOpenRegular(path, kMostPictureBytes, &ref, &why) != platform::noErr)
            return "the label's picture file cannot be read: " + why;
        platform::FSClose(ref);
    }
    return {};
}

void DrawPictureItem(int32_t i, const qd::Rect& r, int32_t printMode) {
    const LabelItem* it = itemAt(i);
    if (!it) return;
    if (gPrint.formsPrint != 0 && !(gPrint.formsPrint == 1 && gPrint.currPage == 1)) return;
    const uint16_t source = it->u16(item::hei);
    const bool eps = source == kPostScriptPicture;
    const std::string epsPath = eps ? linkedFile(*it) : std::string();
    qd::ForeColor(qd::blackColor);
    const qd::ClipState keep = qd::GetClipState();
    if (source == kClippedPicture) qd::ClipRect(r);
    if (eps) qd::PicComment(kPostScriptBegin, 0, nullptr);
    const bool printing = printMode == kPrinterPass || printMode == kThermalPass;
    if (source == kLinkedImage) {
        DrawImage(linkedFile(*it), r, gSym.orient, printing);
    } else if (eps) {
        DrawImage(epsPath, r, gSym.orient, printing);
    } else if (it->hasDataHandle) {
        // A label printed without its picture is not the label asked for.
        std::string why = "the label document keeps no picture for it";
        qd::Picture* pic = it->dataHandle.empty()
                               ? nullptr
                               : qd::ReadPict(bytesOf(it->dataHandle), it->dataHandle.size(), &why);
        if (pic)
            qd::DrawPicture(pic, r);
        else if (printing)
            report(kMsgKeptPictureUnreadable, itemWord(i) + ": " + why);
        qd::KillPicture(pic);
    }
    if (eps) qd::PicComment(kPostScriptEnd, 0, nullptr);
    qd::SetClipState(keep);
    qd::PenNormal();
    if (eps) ProcessEPSJob(epsPath, 0, i, 0);
}
