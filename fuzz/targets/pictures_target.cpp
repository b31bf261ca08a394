// Pictures from outside: the PICT bytes a label document or the clipboard
// carries, and the files a user places on a label (EPS, PNG, JPEG, TIFF). Any
// bytes are read whole or refused with a reason; what is read draws into a
// one-bit and a colour world and onto a PDF page (an EPS file into PostScript),
// none of which may be left in an error, and is recorded, written and read
// again as a label's picture is.
//
// Input: a selector byte (bit 0: a placed file rather than PICT bytes; bits 1-3:
// the turn a placed image is drawn at), then the bytes.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_common.h"
#include "platform/leakcheck.h"
#include "platform/quickdraw/eps.h"
#include "platform/quickdraw/image.h"
#include "platform/quickdraw/pict.h"
#include "platform/quickdraw/picture.h"
#include "platform/quickdraw/port.h"
#include "platform/quickdraw/quickdraw.h"

namespace {

using fuzzing::fail;

constexpr size_t kMostBytes = 256 * 1024;
// Drawing scales every pixel of the image; beyond this the input only measures
// the machine.
constexpr uint64_t kMostDrawnPixels = uint64_t{1} << 20;
constexpr double kTurns[] = {0, 90, 180, 270, 30, 45, 135, 300};
constexpr qd::Rect kWorld = {0, 0, 48, 64};
constexpr qd::Rect kPlacement = {6, 8, 40, 56};

// cairo ends all drawing on a context that met an error: nothing drawn may
// leave the port so.
void portStillDraws(const char* port) {
    cairo_t* cr = qd::current().cr;
    if (cr != nullptr && cairo_status(cr) != CAIRO_STATUS_SUCCESS)
        fail(std::string("drawing left the ") + port +
             " in an error: " + cairo_status_to_string(cairo_status(cr)));
}

// Draws into a world of `depth` that lives for the call.
template <class Draw>
void drawInto(int depth, Draw draw) {
    qd::GWorldPtr keep = qd::GetGWorld();
    qd::GWorldPtr world = nullptr;
    if (qd::NewGWorld(&world, depth, kWorld) != 0)
        fail("no world of depth " + std::to_string(depth));
    qd::SetGWorld(world);
    draw();
    portStillDraws("world");
    qd::SetGWorld(keep);
    qd::DisposeGWorld(world);
}

cairo_status_t discard(void*, const unsigned char*, unsigned int) { return CAIRO_STATUS_SUCCESS; }

// Draws onto a PDF page, as the print window's pages and print runs do, or a
// PostScript one, which takes placed EPS files as they are.
template <class Draw>
void drawOnPage(Draw draw, bool postscript = false) {
    cairo_surface_t* page =
        postscript
            ? cairo_ps_surface_create_for_stream(discard, nullptr, kWorld.right, kWorld.bottom)
            : cairo_pdf_surface_create_for_stream(discard, nullptr, kWorld.right, kWorld.bottom);
    qd::GrafPort* keep = qd::GetPort();
    qd::GrafPort* port = qd::NewPort(page, kWorld);
    qd::SetPort(port);
    draw();
    portStillDraws("page");
    qd::SetPort(keep);
    qd::DisposePort(port);
    {
        // cairo's PostScript surface keeps a few bytes of each EPS file it
        // embedded beyond the page's end.
        [[maybe_unused]] platform::LeaksIgnored cairoKeeps;
        cairo_surface_finish(page);
    }
    const cairo_status_t status = cairo_surface_status(page);
    cairo_surface_destroy(page);
    if (status != CAIRO_STATUS_SUCCESS)
        fail(std::string("a PDF page ended in an error: ") + cairo_status_to_string(status));
}

// Written as PICT and read again.
std::string writtenAndRead(const std::string& bytes, qd::Picture** again) {
    std::string why;
    *again = qd::ReadPict(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), &why);
    if (*again == nullptr) fail("a written picture does not read back: " + why);
    return qd::WritePict(**again);
}

// A font number given without a name is this process's font of that number,
// which a name read later in the same picture may take: only once written does
// every number carry its name.
bool anonymousFonts(const qd::Picture& pic) {
    for (const qd::PicOp& op : pic.ops)
        if (op.op == qd::Op::TextFont && op.bytes.empty()) return true;
    return false;
}

// What a label's picture does with a picture: written as PICT, read again and
// written again to the same bytes.
void roundTrip(const qd::Picture& pic) {
    const std::string first = qd::WritePict(pic);
    qd::Picture* again = nullptr;
    const std::string second = writtenAndRead(first, &again);
    if (anonymousFonts(pic)) {
        qd::Picture* third = nullptr;
        const std::string settled = writtenAndRead(second, &third);
        qd::KillPicture(third);
        if (settled != second) fail("a picture read back twice writes other bytes");
    } else if (second != first) {
        fail("a picture read back writes other bytes");
    }
    qd::KillPicture(again);
}

void pictBytes(const uint8_t* in, size_t n) {
    std::string why;
    qd::Picture* pic = qd::ReadPict(in, n, &why);
    if (pic == nullptr) {
        if (why.empty()) fail("PICT bytes refused without a reason");
        return;
    }
    for (int depth : {1, 32}) drawInto(depth, [&] { qd::DrawPicture(pic, kPlacement); });
    drawOnPage([&] { qd::DrawPicture(pic, kPlacement); });
    roundTrip(*pic);
    qd::KillPicture(pic);
}

void placedFile(const uint8_t* in, size_t n, double turn) {
    std::string why;
    if (qd::LooksLikeEps(in, n)) {
        qd::EpsFile eps;
        if (!qd::ReadEps(in, n, &eps, &why)) {
            if (why.empty()) fail("an EPS file refused without a reason");
            return;
        }
        if (!std::isfinite(eps.width()) || !std::isfinite(eps.height()))
            fail("an EPS bounding box that is no number");
        if (eps.postscript.size() > n) fail("more PostScript than the file holds");
        // Passed as it is, or left to the caller's raster when cairo cannot take it.
        drawOnPage([&] { qd::PassEpsThrough(eps, kPlacement, turn); }, true);
        return;
    }
    qd::Image img;
    if (!qd::ReadImage(in, n, &img, &why)) {
        if (why.empty()) fail("an image refused without a reason");
        if (!img.pixels.empty()) fail("a refused image keeps pixels");
        return;
    }
    if (img.width <= 0 || img.height <= 0) fail("an image read with no size");
    const uint64_t area = static_cast<uint64_t>(img.width) * static_cast<uint64_t>(img.height);
    if (img.pixels.size() != area) fail("an image's pixels are not its width times its height");
    if (area > kMostDrawnPixels) return;
    for (int depth : {1, 32}) drawInto(depth, [&] { qd::DrawImage(img, kPlacement, turn); });
    drawOnPage([&] { qd::DrawImage(img, kPlacement, turn); });
    // A label with the image on it, as its picture is kept.
    drawInto(32, [&] {
        qd::Picture* pic = qd::OpenPicture(kWorld);
        qd::DrawImage(img, kPlacement, turn);
        qd::ClosePicture();
        roundTrip(*pic);
        qd::KillPicture(pic);
    });
}

}  // namespace

extern "C" int STRIXEL_FUZZ_ENTRY(const uint8_t* in, size_t n) {
    if (n < 1 || n > kMostBytes) return 0;
    const double turn = kTurns[(in[0] >> 1) & 7];
    if (in[0] & 1)
        placedFile(in + 1, n - 1, turn);
    else
        pictBytes(in + 1, n - 1);
    return 0;
}
