#include "platform/toolbox/scrap.h"

#include <algorithm>
#include <cmath>

#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QMimeData>

#include "platform/desktop.h"
#include "platform/macroman.h"
#include "platform/quickdraw/pict.h"
#include "platform/toolbox/events.h"
#include "platform/toolbox/qt_glue.h"

namespace toolbox {

namespace {

// A symbol's picture counts in hundredths of a millimetre, so a pixel a unit
// would make a large QR Code's image some 20,000 pixels a side (gigabytes, for
// a copy). Larger pictures are drawn scaled down to this, which still leaves
// the modules of a symbol of ordinary proportions several pixels wide.
constexpr double kMostImagePixels = 16.0 * 1024 * 1024;

// A picture drawn for other programs; a damaged one is offered without it.
QImage pictImage(const std::string& bytes) {
    std::string error;
    qd::Picture* pic =
        qd::ReadPict(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), &error);
    if (!pic) return {};
    QImage img;
    const double w = pic->frame.width(), h = pic->frame.height();
    const double scale = w * h > kMostImagePixels ? std::sqrt(kMostImagePixels / (w * h)) : 1;
    const qd::Rect frame{0, 0, std::max(1, static_cast<int32_t>(h * scale)),
                         std::max(1, static_cast<int32_t>(w * scale))};
    qd::GWorldPtr world = nullptr;
    if (!pic->frame.empty() && qd::NewGWorld(&world, 32, frame) == 0) {
        qd::GWorldPtr was = qd::GetGWorld();
        qd::SetGWorld(world);
        qd::DrawPicture(pic, frame);
        qd::SetGWorld(was);
        qd::FlushPort(world);
        int stride = 0;
        const uint32_t* px = qd::GWorldPixels(world, &stride);
        img = QImage(reinterpret_cast<const uchar*>(px), frame.width(), frame.height(), stride,
                     QImage::Format_RGB32)
                  .copy();
        qd::DisposeGWorld(world);
    }
    qd::KillPicture(pic);
    return img;
}

bool gForeign = false;  // the last text came as from another program

QByteArray bytesOf(const std::string& s) { return QByteArray(s.data(), qsizetype(s.size())); }

void scrapChanged(const platform::Scrap& scrap) {
    gForeign = false;
    auto* mime = new QMimeData;
    for (const auto& [type, bytes] : scrap.flavours) {
        if (type == "TEXT")
            mime->setText(QString::fromStdString(platform::macRomanToUtf8(bytes)));
        else if (type == "PICT") {
            mime->setData(kPictMime, bytesOf(bytes));
            const QImage img = pictImage(bytes);
            if (!img.isNull()) mime->setImageData(img);
        } else if (type == "BMP ") {
            // A bitmap made for other programs: they take it as an image.
            const QImage img = QImage::fromData(bytesOf(bytes), "BMP");
            if (!img.isNull()) mime->setImageData(img);
        } else if (type == "LABL")
            mime->setData(kLablMime, bytesOf(bytes));
        else if (type == "EXTR")
            mime->setData(kExtrMime, bytesOf(bytes));
    }
    QGuiApplication::clipboard()->setMimeData(mime);
}

// Text from another program: characters Mac OS Roman lacks are left out, with a beep.
std::string romanOf(const QString& text) {
    std::string out;
    bool lost = false;
    for (const char32_t c : text.toUcs4()) {
        const int b = platform::unicodeToMacRoman(c == U'\n' ? U'\r' : c);
        if (b < 0)
            lost = true;
        else
            out += static_cast<char>(b);
    }
    if (lost) SysBeep(1);
    return out;
}

bool readScrap(platform::Scrap* scrap) {
    QClipboard* cb = QGuiApplication::clipboard();
    if (cb->ownsClipboard() && !gForeign) return false;  // what we put there is what we hold
    const QMimeData* mime = cb->mimeData();
    if (!mime) return false;
    auto take = [&](const char* type, const char* flavour) {
        if (mime->hasFormat(type)) {
            const QByteArray b = mime->data(type);
            scrap->flavours[flavour] = std::string(b.constData(), size_t(b.size()));
        }
    };
    take(kPictMime, "PICT");
    take(kLablMime, "LABL");
    take(kExtrMime, "EXTR");
    if (mime->hasText()) {
        scrap->text = romanOf(mime->text());
        scrap->flavours["TEXT"] = scrap->text;
    }
    if (scrap->flavours.count("PICT")) scrap->pict = scrap->flavours["PICT"];
    return true;
}

}  // namespace

void UseSystemClipboard() {
    StartDesktop(nullptr, nullptr);
    platform::DesktopHooks hooks;
    hooks.scrapChanged = scrapChanged;
    hooks.readScrap = readScrap;
    hooks.reveal = nullptr;
    hooks.switchBack = nullptr;
    InstallServiceHooks(&hooks);
    platform::SetDesktopHooks(hooks);
}

std::string SystemClipboardText() {
    StartDesktop(nullptr, nullptr);
    return QGuiApplication::clipboard()->text().toStdString();
}

void SetSystemClipboardText(const std::string& utf8) {
    StartDesktop(nullptr, nullptr);
    // Another program's clipboard: ours no longer.
    auto* mime = new QMimeData;
    mime->setText(QString::fromStdString(utf8));
    QGuiApplication::clipboard()->setMimeData(mime);
    gForeign = true;
}

bool SystemClipboardHasImage() {
    StartDesktop(nullptr, nullptr);
    const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
    return mime && mime->hasImage();
}

ClipboardImage SystemClipboardImage() {
    StartDesktop(nullptr, nullptr);
    const QImage image =
        QGuiApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32);
    ClipboardImage out;
    if (image.isNull()) return out;
    out.width = image.width();
    out.height = image.height();
    out.pixels.reserve(size_t(out.width) * size_t(out.height));
    for (int y = 0; y < out.height; ++y) {
        const auto* row = reinterpret_cast<const uint32_t*>(image.constScanLine(y));
        for (int x = 0; x < out.width; ++x) out.pixels.push_back(row[x] & 0xFFFFFFu);
    }
    return out;
}

}  // namespace toolbox
