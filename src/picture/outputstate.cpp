#include "picture/outputstate.h"

PictureOutput gPictOut;

void setPict(qd::Picture* pic) {
    if (gPictOut.Pict && gPictOut.Pict != pic) qd::KillPicture(gPictOut.Pict);
    gPictOut.Pict = pic;
}

void disposePict() { setPict(nullptr); }

void resetPictureOutput() {
    disposePict();
    gPictOut = PictureOutput{};
}

void endTextRun() {
    gPictOut.sameFile = 0;
    gPictOut.theFileName2.clear();
}
