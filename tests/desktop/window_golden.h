// A window's pixels against a golden PNG under tests/data/desktop/, with the
// tolerance of the toolbox's test card.
//
// To draw a golden again on purpose (after a change to how the window looks):
//   STRIXEL_WRITE_GOLDEN=1 QT_QPA_PLATFORM=offscreen build-test/tests/test_desktop
//       --gtest_filter='*Golden*'
// then look at the picture before committing it.
#pragma once

#include <string>

#include "golden_image.h"
#include "platform/toolbox/windows.h"

namespace windowgolden {

constexpr int kOddPixelsMost = 200;

inline void expectMatches(toolbox::WindowPtr w, const std::string& name) {
    const goldenimage::Surface drawn =
        goldenimage::makeImage(w->portRect.width(), w->portRect.height());
    goldenimage::copyWindow(drawn.get(), w);
    goldenimage::expectMatchesGolden(
        drawn.get(), std::string(STRIXEL_TEST_DATA) + "/desktop/" + name, kOddPixelsMost);
}

}  // namespace windowgolden
