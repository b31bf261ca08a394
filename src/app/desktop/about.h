// The start-up splash and the About window: one window with the program's
// picture. The splash goes as soon as it has been drawn; the About window waits
// for a click or a key.
#pragma once

#include <cstdint>

#include "platform/quickdraw/quickdraw.h"

inline constexpr int32_t kSplashKind = 0;
inline constexpr int32_t kAboutKind = 2;
// The window's content (460 by 310) and the picture inside it.
inline constexpr qd::Rect kAboutWindow{400, 200, 710, 660};
inline constexpr qd::Rect kAboutPicture{20, 20, 282, 439};
// How long the window stays after its loop ends.
inline constexpr uint32_t kAboutLingerTicks = 75;

// What the window showed last (tests).
struct AboutRecord {
    int32_t shown = 0;  // windows shown since the reset
    int32_t kind = -1;  // the last kind
    int32_t draws = 0;  // updateSplash calls
    qd::Rect bounds;    // the last window's content, global
};
const AboutRecord& aboutRecord();
void resetAbout();

void DoAbout(int32_t kind);
