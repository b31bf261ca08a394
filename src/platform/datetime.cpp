#include "platform/datetime.h"

#include <cstdio>
#include <cstdint>
#include <cstring>
#include <ctime>

namespace platform {
namespace {

// Seconds from 1904-01-01 to 1970-01-01.
constexpr int64_t kUnixFrom1904 = 2082844800;

constexpr const char* kDays[] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                 "Thursday", "Friday", "Saturday"};
constexpr const char* kMonths[] = {"January",   "February", "March",    "April",
                                   "May",       "June",     "July",     "August",
                                   "September", "October",  "November", "December"};

}  // namespace

void GetDateTime(uint32_t* secs) {
    const time_t now = std::time(nullptr);
    // A batch dates thousands of files a second, and the zone's offset only
    // changes on a second's edge: it is looked up once a second.
    thread_local time_t lastNow = -1;
    thread_local long lastOffset = 0;
    if (now != lastNow) {
        tm local{};
        ::localtime_r(&now, &local);
        lastOffset = local.tm_gmtoff;
        lastNow = now;
    }
    // The classic clock counts local time; it runs out in February 2040.
    *secs = static_cast<uint32_t>(static_cast<int64_t>(now) + lastOffset + kUnixFrom1904);
}

void DateString(uint32_t secs, unsigned char* result) {
    // secs already counts local time, so it is broken down without a time zone.
    const time_t t = static_cast<time_t>(static_cast<int64_t>(secs) - kUnixFrom1904);
    // Every file of a batch is dated: the text is made once a day.
    constexpr int64_t kSecondsADay = 86400;
    thread_local int64_t lastDay = INT64_MIN;
    thread_local unsigned char lastText[64];
    const int64_t day = (t >= 0 ? t : t - (kSecondsADay - 1)) / kSecondsADay;
    if (day == lastDay) {
        std::memcpy(result, lastText, lastText[0] + 1u);
        return;
    }
    tm d{};
    ::gmtime_r(&t, &d);
    char text[64];
    int n = std::snprintf(text, sizeof text, "%s, %s %d, %d", kDays[d.tm_wday], kMonths[d.tm_mon],
                          d.tm_mday, d.tm_year + 1900);
    result[0] = static_cast<unsigned char>(n);
    std::memcpy(result + 1, text, static_cast<size_t>(n));
    std::memcpy(lastText, result, static_cast<size_t>(n) + 1);
    lastDay = day;
}

}  // namespace platform
