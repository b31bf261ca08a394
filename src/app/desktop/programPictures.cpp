#include "app/desktop/programPictures.h"

#include <memory>

#include "app/desktop/threeD.h"
#include "platform/quickdraw/picture.h"
#include "platform/resources.h"

namespace {

constexpr qd::Rect kOkFrame{0, 0, 14, 36};
constexpr qd::RGBColor kTickGreen{0x1000, 0x9000, 0x2000};
constexpr int32_t kOkTitleList = 139, kOkTitle = 1;
constexpr int32_t kTitleLeft = 16, kTitleBaseline = 11;

struct PictureDeleter {
    void operator()(qd::Picture* p) const { qd::KillPicture(p); }
};
using OwnedPicture = std::unique_ptr<qd::Picture, PictureDeleter>;

void drawOkFace() {
    qd::RGBForeColor(kTickGreen);
    qd::PenSize(2, 2);
    qd::MoveTo(2, 6);
    qd::LineTo(5, 10);
    qd::LineTo(11, 1);
    qd::PenNormal();
    qd::ForeColor(qd::blackColor);
    setPaneFont(qd::bold);
    unsigned char title[256];
    platform::StringResourceGetString(title, kOkTitleList, kOkTitle);
    qd::MoveTo(kTitleLeft, kTitleBaseline);
    qd::DrawString(title);
    setPaneFont();
}

OwnedPicture record(const qd::Rect& frame, void (*draw)()) {
    qd::GWorldPtr scratch = nullptr;
    if (qd::NewGWorld(&scratch, 32, frame) != 0) return nullptr;
    qd::GWorldPtr before = qd::GetGWorld();
    qd::GrafPort* beforePort = qd::GetPort();
    qd::SetGWorld(scratch);
    OwnedPicture pic(qd::OpenPicture(frame));
    draw();
    qd::ClosePicture();
    qd::SetGWorld(before);
    if (beforePort) qd::SetPort(beforePort);
    qd::DisposeGWorld(scratch);
    return pic;
}

}  // namespace

const qd::Picture* GetProgramPicture(int16_t id) {
    if (id != kOkButtonPicture) return nullptr;
    static const OwnedPicture ok = record(kOkFrame, drawOkFace);
    return ok.get();
}
