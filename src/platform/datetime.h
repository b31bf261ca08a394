#pragma once

#include <cstdint>

namespace platform {

// Seconds since 1904-01-01 00:00 local time, as the classic clock counts.
void GetDateTime(uint32_t* secs);
// The long English form ("Sunday, December 6, 2026") whatever the locale; a
// Pascal string of at most 31 characters into result.
void DateString(uint32_t secs, unsigned char* result);

}  // namespace platform
