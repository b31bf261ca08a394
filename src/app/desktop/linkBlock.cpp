#include "app/desktop/linkBlock.h"

#include <string>

#include "app/desktop/helpWindow.h"
#include "platform/resources.h"

namespace {

constexpr int32_t kList = 142;
// The texts of the lines, and the addresses of the last three.
constexpr int32_t kLineTexts[kLinkLines] = {11, 1, 4, 6, 8};
constexpr int32_t kFirstLinkLine = 2;
constexpr int32_t kLinkAddresses[kLinkLines - kFirstLinkLine] = {5, 7, 9};
constexpr int32_t kBaselineAboveLineEnd = 4;

}  // namespace

void DrawLinkBlock(int32_t h, int32_t v) {
    unsigned char text[256];
    for (int32_t line = 0; line < kLinkLines; ++line) {
        platform::StringResourceGetString(text, kList, kLineTexts[line]);
        qd::MoveTo(h, v + (line + 1) * kLinkLineHeight - kBaselineAboveLineEnd);
        qd::DrawString(text);
    }
}

int32_t ClickLinkBlock(int32_t h, int32_t v, qd::Point point) {
    if (point.h < h || point.h >= h + kLinkBlockWidth || point.v < v ||
        point.v >= v + kLinkLines * kLinkLineHeight)
        return 0;
    const int32_t line = (point.v - v) / kLinkLineHeight;
    if (line < kFirstLinkLine) return 0;
    CPURLHandlerLaunchURL(
        platform::StringResourceText(kList, kLinkAddresses[line - kFirstLinkLine]));
    return 1;
}
