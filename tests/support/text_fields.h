// Text fields filled for a test.
#pragma once

#include <string>

#include "platform/textedit.h"

namespace testsupport {

// Puts text into a field; "[" and "]" in `marked` mark the selection.
void fillMarked(platform::TERec* field, const std::string& marked);

}  // namespace testsupport
