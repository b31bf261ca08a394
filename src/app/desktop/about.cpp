#include "app/desktop/about.h"

#include <string>

#include "app/desktop/eventLoop.h"
#include "platform/quickdraw/image.h"
#include "platform/resources.h"
#include "platform/toolbox/events.h"
#include "platform/toolbox/numbered.h"
#include "platform/toolbox/windows.h"

using namespace toolbox;

namespace {

AboutRecord gAbout;

constexpr int32_t kTitleList = 139;
constexpr int32_t kTitleIndex = 7;
constexpr const char* kPictureResource = "pictures/128.png";
constexpr uint32_t kSplashSleepTicks = 6;

WindowPtr gAboutWindow = nullptr;  // open while DoAbout runs

// The picture; a missing or unreadable one leaves the window empty.
void updateSplash(WindowPtr w) {
    ++gAbout.draws;
    qd::SetPort(w->port);
    qd::EraseRect(w->portRect);
    const std::string_view bytes = platform::embeddedResource(kPictureResource);
    qd::Image image;
    std::string error;
    if (!bytes.empty() && qd::ReadImage(reinterpret_cast<const unsigned char*>(bytes.data()),
                                        bytes.size(), &image, &error))
        qd::DrawImage(image, kAboutPicture, 0);
}

// The splash ends once it has been drawn; the About window at a click or key.
void doSplashEvent(WindowPtr w, int32_t kind) {
    for (;;) {
        EventRecord e;
        ModalNextEvent(w->title, everyEvent, &e, kSplashSleepTicks);
        if (e.what == mouseDown || e.what == keyDown || e.what == autoKey) return;
        if (e.what != updateEvt) continue;
        if (EventWindow(e) != w) {
            // The windows behind still draw, or their updates would come back
            // on every pass and the loop would never wait.
            routeEvent(e);
            continue;
        }
        BeginUpdate(w);
        updateSplash(w);
        EndUpdate(w);
        if (kind == kSplashKind) return;
    }
}

}  // namespace

const AboutRecord& aboutRecord() { return gAbout; }
void resetAbout() { gAbout = AboutRecord{}; }

void DoAbout(int32_t kind) {
    if (gAboutWindow) return;  // one at a time: a key in the About window cannot open another
    qd::GrafPort* saved = qd::GetPort();
    gAboutWindow = BuildWindowItem(kAboutWindow, kTitleList, kTitleIndex, true, noGrowDocProc,
                                   nullptr, false, 0);
    WindowNoMinimise(gAboutWindow);
    ++gAbout.shown;
    gAbout.kind = kind;
    gAbout.bounds = kAboutWindow;
    WindowPtr w = gAboutWindow;
    try {
        doSplashEvent(w, kind);
    } catch (...) {
        DisposeWindow(w);
        gAboutWindow = nullptr;
        qd::SetPort(saved);
        throw;
    }
    FlushEvents(everyEvent, 0);
    Delay(kAboutLingerTicks, nullptr);
    DisposeWindow(w);
    gAboutWindow = nullptr;
    qd::SetPort(saved);
}
