#include "picture/symbolpicture.h"

#include "picture/outputstate.h"
#include "symbology/messages.h"

bool needsPicture(int32_t tool) {
    return tool == kOutPicture || tool == kOutPcEps || tool == kOutTiff || tool == kOutBmp72 ||
           tool == kOutBmp300;
}

bool recordSymbolPicture() {
    MessageText("Pictures of symbols are not made yet, so this output kind cannot be written.");
    return false;
}
