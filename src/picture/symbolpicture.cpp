#include "picture/symbolpicture.h"

#include "picture/PICbcode.h"
#include "picture/outputstate.h"
#include "symbology/appBits.h"
#include "symbology/info.h"
#include "symbology/rows.h"
#include "symbology/state.h"

bool needsPicture(int32_t tool) {
    return tool == kOutPicture || tool == kOutPcEps || tool == kOutTiff || tool == kOutBmp72 ||
           tool == kOutBmp300;
}

bool recordSymbolPicture() {
    // Generated on a copy of the data, as the vector writer will generate it again.
    const SymbolData keep = gData;
    if (STRixel() != 0) {
        gData = keep;
        return false;
    }
    qd::Rect frame, window;
    MeasureBarCodeBox(&frame, &window);
    qd::GWorldPtr scratch = nullptr;
    const bool ok = qd::NewGWorld(&scratch, 32, {0, 0, 1, 1}) == 0;
    if (ok) {
        qd::GWorldPtr before = qd::GetGWorld();
        qd::SetGWorld(scratch);
        qd::Picture* pic = qd::OpenPicture(frame);
        int32_t right = 0, bottom = 0;
        PICbcode(0, 0, &right, &bottom, -1);
        qd::ClosePicture();
        qd::SetGWorld(before);
        qd::DisposeGWorld(scratch);
        setPict(pic);
    }
    gData = keep;
    endSymbolDispatch();
    gRows = RowState{};
    return ok;
}
