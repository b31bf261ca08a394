#include "app/desktop/couponDialog.h"

#include <cstring>
#include <memory>

#include "app/desktop/mainWindow.h"
#include "labels/coupon.h"
#include "platform/toolbox/boxes.h"
#include "platform/toolbox/events.h"
#include "platform/toolbox/windows.h"
#include "symbology/panels.h"

using namespace toolbox;

namespace {

constexpr const char* kApplicationIdentifier = "8110";
constexpr const char* kSegmentsPerRow = "8";
constexpr size_t kShortestCoupon = 15;  // shorter data is no coupon: nothing changes
constexpr const char* kDialogName = "DataBar coupon";
constexpr unsigned char kTitle[] =
    "\x0E"
    "DataBar coupon";

// The window: two columns of labelled fields over the buttons.
constexpr qd::Rect kWindow{120, 150, 370, 670};
constexpr size_t kRows = (kCouponFieldCount + 1) / 2;
constexpr int32_t kRowTop = 10, kRowStep = 18, kFieldHeight = 14;
constexpr int32_t kLabelLeft[] = {10, 265};
constexpr int32_t kFieldLeft[] = {170, 425}, kFieldWidth = 80;
constexpr qd::Rect kOKButton{218, 430, 238, 505};
constexpr qd::Rect kCancelButton{218, 340, 238, 415};
constexpr int16_t kLabelSize = 9;
constexpr unsigned char kGeneva[] = "\x06Geneva";

constexpr uint16_t kEvents = mDownMask | keyDownMask | autoKeyMask | updateMask;
constexpr uint32_t kSleep = 6;
constexpr unsigned char kEnter = 3, kBackspace = 8, kTab = 9, kReturn = 13, kEscape = 27;
constexpr unsigned char kLeft = 28, kRight = 29;
constexpr int32_t kFloating = 1;

qd::Rect fieldRect(size_t i) {
    const size_t column = i / kRows, row = i % kRows;
    const int32_t top = kRowTop + static_cast<int32_t>(row) * kRowStep;
    return {top, kFieldLeft[column], top + kFieldHeight, kFieldLeft[column] + kFieldWidth};
}

bool inRect(qd::Point p, const qd::Rect& r) {
    return p.h >= r.left && p.h < r.right && p.v >= r.top && p.v < r.bottom;
}

struct Dialog {
    WindowPtr w = nullptr;
    std::unique_ptr<platform::TERec> fields[kCouponFieldCount];
    size_t focus = 0;

    ~Dialog() {
        for (auto& f : fields) f.reset();
        if (w) DisposeWindow(w);
    }

    void open() {
        w = NewCWindow(nullptr, kWindow, kTitle, true, dBoxProc, nullptr, false, kFloating);
        SelectWindow(w);
        qd::SetPort(w->port);
        int16_t geneva = 0;
        qd::GetFNum(kGeneva, &geneva);
        qd::TextFont(geneva);
        qd::TextSize(kLabelSize);
        for (size_t i = 0; i < kCouponFieldCount; ++i) {
            const qd::Rect r = fieldRect(i);
            fields[i].reset(new platform::TERec);
            platform::TERec* te = fields[i].get();
            te->port = w->port;
            te->destRect = te->viewRect = r;
            te->font = geneva;
            te->size = kLabelSize;
            te->maxLength = static_cast<int32_t>(kCouponSlot);
            platform::TECalText(te);
        }
        platform::TEActivate(fields[0].get());
        draw();
    }

    void draw() {
        qd::SetPort(w->port);
        qd::EraseRect(w->portRect);
        for (size_t i = 0; i < kCouponFieldCount; ++i) {
            const qd::Rect r = fieldRect(i);
            qd::MoveTo(kLabelLeft[i / kRows], r.bottom - 3);
            const char* label = kCouponFields[i].label;
            qd::DrawText(label, 0, static_cast<int32_t>(std::strlen(label)));
            qd::FrameRect({r.top - 1, r.left - 1, r.bottom + 1, r.right + 1});
            fields[i]->shown.valid = false;
            platform::TEUpdate(r, fields[i].get());
        }
        platform::drawBoxButton(kCancelButton, "Cancel", false, false);
        platform::drawBoxButton(kOKButton, "OK", false, true);
        DrawWindowContent(w);
    }

    void moveFocus(size_t to) {
        platform::TEDeactivate(fields[focus].get());
        focus = to;
        platform::TERec* te = fields[focus].get();
        platform::TESetSelect(0, static_cast<int32_t>(te->text.size()), te);
        platform::TEActivate(te);
    }

    CouponTexts texts() const {
        CouponTexts t;
        for (size_t i = 0; i < kCouponFieldCount; ++i) t[i] = fields[i]->text;
        return t;
    }
};

enum class Outcome { more, ok, cancel };

Outcome key(Dialog* d, const EventRecord& e) {
    const auto ch = static_cast<unsigned char>(e.message & charCodeMask);
    if ((e.modifiers & cmdKey) && ch == '.') return Outcome::cancel;
    switch (ch) {
        case kReturn:
        case kEnter:
            return Outcome::ok;
        case kEscape:
            return Outcome::cancel;
        case kTab: {
            const size_t n = kCouponFieldCount;
            d->moveFocus((e.modifiers & shiftKey) ? (d->focus + n - 1) % n : (d->focus + 1) % n);
            return Outcome::more;
        }
        default:
            break;
    }
    // Every coupon field is a number of at most one slot.
    platform::TERec* te = d->fields[d->focus].get();
    const bool digit = ch >= '0' && ch <= '9';
    const bool full = te->selStart == te->selEnd && te->text.size() >= kCouponSlot;
    if ((digit && !full) || ch == kBackspace || ch == kLeft || ch == kRight) {
        qd::SetPort(d->w->port);
        platform::TEKey(ch, te);
    } else {
        SysBeep(1);
    }
    return Outcome::more;
}

Outcome click(Dialog* d, const EventRecord& e) {
    WindowPtr hit = nullptr;
    if (FindWindow(e.where, &hit) != inContent || hit != d->w) {
        SysBeep(1);
        return Outcome::more;
    }
    const qd::Point p{e.where.v - d->w->contentOrigin.v, e.where.h - d->w->contentOrigin.h};
    if (inRect(p, kOKButton)) return Outcome::ok;
    if (inRect(p, kCancelButton)) return Outcome::cancel;
    for (size_t i = 0; i < kCouponFieldCount; ++i)
        if (inRect(p, fieldRect(i))) {
            platform::TEDeactivate(d->fields[d->focus].get());
            d->focus = i;
            qd::SetPort(d->w->port);
            platform::TEActivate(d->fields[i].get());
            platform::TEClick(p, (e.modifiers & shiftKey) != 0, d->fields[i].get());
            break;
        }
    return Outcome::more;
}

// The coupon's data once the dialog is closed with a coupon that passes; empty
// when cancelled.
std::string runDialog() {
    qd::GrafPort* saved = qd::GetPort();
    Dialog d;
    d.open();
    std::string data;
    for (;;) {
        EventRecord e;
        ModalNextEvent(kDialogName, kEvents, &e, kSleep);
        Outcome o = Outcome::more;
        if (e.what == updateEvt) {
            WindowPtr target = EventWindow(e);
            if (target) BeginUpdate(target);
            if (target == d.w) d.draw();
            if (target) EndUpdate(target);
        } else if (e.what == keyDown || e.what == autoKey) {
            o = key(&d, e);
        } else if (e.what == mouseDown) {
            o = click(&d, e);
        }
        if (o == Outcome::cancel) {
            data.clear();
            break;
        }
        // A coupon the check refuses keeps the dialog open after its message.
        if (o == Outcome::ok && assembleCoupon(d.texts(), &data) == 1) break;
        DrawWindowContent(d.w);
    }
    qd::SetPort(saved);
    return data;
}

}  // namespace

int32_t assembleCoupon(const CouponTexts& texts, std::string* data) {
    char block[kCouponFieldsBytes] = {};
    std::memcpy(block, kApplicationIdentifier, std::strlen(kApplicationIdentifier));
    for (size_t i = 0; i < kCouponFieldCount; ++i) {
        const std::string& t = texts[i];
        std::memcpy(block + kCouponFields[i].slot, t.data(), std::min(t.size(), kCouponSlot));
    }
    data->clear();
    const int32_t ok = verifycoupon(block, data);
    if (!ok) data->clear();
    return ok;
}

void DataBarCouponDialog() {
    const std::string data = runDialog();
    if (data.size() <= kShortestCoupon) return;
    platform::TESetText(data.data(), static_cast<int32_t>(data.size()), &gPanels.TEH);
    platform::TESetText(kSegmentsPerRow, 1, &gPanels.TEX);
    doUpdate();
    doOKButton();
}
