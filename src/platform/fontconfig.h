// The font configuration that text measurement and the printer font names both
// read: loaded once, on first use (the test configuration when one was set).
#pragma once

#include <fontconfig/fontconfig.h>

namespace platform {

// Null when the configuration cannot be read (said once on stderr).
FcConfig* fontConfiguration();

}  // namespace platform
