// The leak checker of a sanitizer build looks away while one of these lives:
// for system libraries (fontconfig) that keep allocations for the life of the
// process. Nothing in other builds.
#pragma once

#if defined(__SANITIZE_ADDRESS__)
#define STRIXEL_LSAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define STRIXEL_LSAN 1
#endif
#endif
#ifdef STRIXEL_LSAN
#include <sanitizer/lsan_interface.h>
#endif

namespace platform {

struct LeaksIgnored {
#ifdef STRIXEL_LSAN
    LeaksIgnored() { __lsan_disable(); }
    ~LeaksIgnored() { __lsan_enable(); }
    LeaksIgnored(const LeaksIgnored&) = delete;
    LeaksIgnored& operator=(const LeaksIgnored&) = delete;
#endif
};

}  // namespace platform
