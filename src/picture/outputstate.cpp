#include "picture/outputstate.h"

#include "picture/fileservices.h"

PictureOutput gPictOut;

void setPict(qd::Picture* pic) {
    if (gPictOut.Pict && gPictOut.Pict != pic) qd::KillPicture(gPictOut.Pict);
    gPictOut.Pict = pic;
}

void disposePict() { setPict(nullptr); }

void resetPictureOutput() {
    disposePict();
    abandonTextRun();
    gPictOut = PictureOutput{};
}

bool endTextRun() {
    const platform::FileRef ref = gPictOut.textRunRef;
    gPictOut.textRunRef = 0;
    gPictOut.sameFile = 0;
    gPictOut.theFileName2.clear();
    if (ref == 0 || platform::FSCommit(ref) == platform::noErr) return true;
    gPictOut.textFileFailed = true;
    reportFileFailure(kMsgWriteIncomplete);
    return false;
}

void abandonTextRun() {
    if (gPictOut.textRunRef != 0) platform::FSDiscard(gPictOut.textRunRef);
    gPictOut.textRunRef = 0;
    gPictOut.sameFile = 0;
    gPictOut.theFileName2.clear();
}
