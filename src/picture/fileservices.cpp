#include "picture/fileservices.h"

#include <utility>

#include "labels/labelDoc.h"
#include "platform/files.h"
#include "platform/macroman.h"
#include "platform/quickdraw/pict.h"
#include "platform/resources.h"
#include "symbology/messages.h"

double pictureUnitsPerInch() {
    return labelBack.labelWidth != 0 ? qd::kPictPointsPerInch : qd::kPictHundredthsMmPerInch;
}

void reportFileFailure(uint16_t n) { reportFailureText(n, platform::FSFailureText()); }

void reportFailureText(uint16_t n, std::string why) { MessageWith(n, std::move(why)); }
