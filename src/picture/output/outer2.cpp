#include "picture/output/outer2.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "picture/output/SetUpFiles.h"
#include "picture/outputstate.h"
#include "picture/output/textfiles.h"
#include "platform/desktop.h"
#include "platform/quickdraw/pict.h"
#include "symbology/messages.h"
#include "symbology/state.h"

namespace {

constexpr unsigned char kReturn = 13;
constexpr double kPointsPerPercent = 0.1;
// Code types whose bar-font text carries the header line above it.
constexpr int32_t kHeaderCodes[] = {1, 2, 14};

// Cuts the element list after its first row, keeping the carriage return.
void keepFirstRow() {
    for (int32_t i = 0; i < gEl.cu_len; ++i) {
        if (gEl.chNum[i] == 0) {
            gEl.cu_len = i;
            return;
        }
        if (gEl.chNum[i] == kReturn) {
            gEl.cu_len = i + 1;
            gEl.terminate();
            return;
        }
    }
}

std::string elementText() {
    return std::string(reinterpret_cast<const char*>(gEl.chNum),
                       static_cast<size_t>(std::max<int32_t>(0, gEl.cu_len)));
}

void barFontTextToClipboard() {
    std::string text;
    const bool header = std::find(std::begin(kHeaderCodes), std::end(kHeaderCodes), gSym.code) !=
                        std::end(kHeaderCodes);
    if (header || gSym.HaTex == 1) {
        const size_t n = static_cast<size_t>(std::clamp<int32_t>(gData.len3, 0, kHeadCodeSize - 1));
        text.assign(gData.chHeadCode, strnlen(gData.chHeadCode, n));
        text += static_cast<char>(kReturn);
    }
    text += gPictOut.textConverted ? gPictOut.convertedText : elementText();
    const std::string font(reinterpret_cast<const char*>(gSym.barFont + 1), gSym.barFont[0]);
    platform::ZeroScrap();
    platform::PutScrapText(text, font, barFontPoints(gSym.Siz));
    platform::UnloadScrap();
    if (gOut.showDia == 0) Message(kMsgTextOnClipboard);
}

}  // namespace

int32_t barFontPoints(double siz) {
    return std::max<int32_t>(1, static_cast<int32_t>(siz * kPointsPerPercent));
}

int32_t outer2() {
    int32_t result = 1;
    const int32_t tool = gOut.tool;
    // The 72 dpi bitmap for the clipboard makes no file.
    const bool bitmapOnClipboard = tool == kOutBmp72 && gOut.outToFile == kOutToClipboardBitmap;
    if (tool == kOutBarFontText) {
        if (gSym.human == kHumanOneLine) keepFirstRow();
        if (gOut.ill == kIllUtf16Text) {
            gPictOut.convertedText = MACtoMacRomanUnicode(gEl.chNum, elementText().size());
            gPictOut.textConverted = true;
        }
        if (gOut.outToFile == 0) barFontTextToClipboard();
    } else if (bitmapOnClipboard) {
        result = BitmapToClipboard() ? 1 : 0;
        if (result == 1 && gOut.showDia == 0) Message(kMsgPictureOnClipboard);
    } else if (gOut.outToFile == 0 && tool != kOutTextLine) {
        if (gPictOut.Pict && (tool == kOutPicture || tool == kOutVector || tool == kOutPcEps)) {
            platform::ZeroScrap();
            platform::PutScrapPict(
                qd::WritePict(*gPictOut.Pict, static_cast<int>(pictureUnitsPerInch())));
            if (gOut.showDia == 0) Message(kMsgPictureOnClipboard);
        }
    }
    // One file a request: kinds 4 to 6 make theirs whatever the target says, and
    // the text line goes to its own file only.
    if (tool == kOutTextLine)
        result = SaveTextToFile(0);
    else if (!bitmapOnClipboard &&
             (gOut.outToFile != 0 || tool == kOutTiff || tool == kOutBmp72 || tool == kOutBmp300))
        result = SetUpFiles(0);

    disposePict();
    gPictOut.textConverted = false;
    gPictOut.convertedText.clear();
    platform::UnloadScrap();
    gEl.cu_len = 0;
    if (gOut.gfullpathp[0] != 0) {
        platform::SwitchBack();
        if (gOut.features == 1) platform::selectfileinfinder(gOut.gfullpathp);
    }
    return result;
}
