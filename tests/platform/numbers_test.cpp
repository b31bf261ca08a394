#include <gtest/gtest.h>

#include <random>
#include <locale.h>

#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>

#include "platform/datetime.h"
#include "platform/numbers.h"
#include "support/cases.h"
#include "support/locale.h"

namespace {

using namespace platform;

std::string pascal(const unsigned char* p) {
    return std::string(reinterpret_cast<const char*>(p + 1), p[0]);
}

std::string fixed(double v, int decimals = 6) {
    char buf[512];
    EXPECT_GE(formatFixed(buf, sizeof buf, v, decimals), 0);
    return buf;
}

// printf in the C locale, the reference every number must match byte for byte.
std::string cPrintf(double v, int decimals) {
    char buf[512];
    locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    locale_t old = uselocale(c);
    std::snprintf(buf, sizeof buf, "%.*f", decimals, v);
    uselocale(old);
    freelocale(c);
    return buf;
}

TEST(Numbers, FixedPointMatchesTheCLocale) {
    // Past the quick road, and no number at all: still the bytes of "%f".
    for (double v :
         {double(NAN), -double(NAN), double(INFINITY), -double(INFINITY), 1e308, -DBL_MAX, DBL_MIN})
        for (int decimals : {0, 6, 40})
            EXPECT_EQ(fixed(v, decimals), cPrintf(v, decimals)) << v << " " << decimals;
    char huge[317];  // the 316 bytes of 1e308 with six decimals, and the NUL
    EXPECT_EQ(formatFixed(huge, sizeof huge - 1, 1e308), -1);
    EXPECT_STREQ(huge, "");
    EXPECT_EQ(formatFixed(huge, sizeof huge, 1e308), 316);
    EXPECT_EQ(formatFixed(nullptr, 0, 1.0), -1);
    char small[5];
    EXPECT_EQ(formatFixed(small, sizeof small, 12.5), -1);  // "12.500000" does not fit
    EXPECT_STREQ(small, "");
    EXPECT_EQ(formatInt(small, sizeof small, 1234), 4);
    EXPECT_STREQ(small, "1234");
    EXPECT_EQ(formatInt(small, sizeof small, -1234), -1);
}

TEST(Numbers, SameBytesUnderACommaLocale) {
    ASSERT_TRUE(testsupport::enterCommaLocale());
    char probe[32];
    std::snprintf(probe, sizeof probe, "%.1f", 1.5);
    EXPECT_STREQ(probe, "1,5") << "the locale is not in force";

    char buf[64];
    EXPECT_EQ(formatFixed(buf, sizeof buf, 2.8346456), 8);
    EXPECT_STREQ(buf, "2.834646");
    formatInt(buf, sizeof buf, -1234567);
    EXPECT_STREQ(buf, "-1234567");
    EXPECT_EQ(formatC("%%%%BoundingBox: %d %d %f %f\r", 0, 0, 595.5, 841.25),
              "%%BoundingBox: 0 0 595.500000 841.250000\r");
    EXPECT_EQ(formatC("%.4f %s %5.1f|%-4d|", 0.5, "x", 12.25, 7), "0.5000 x  12.2|7   |");
    const std::string longText(1000, 'a');  // past the first attempt's buffer
    EXPECT_EQ(formatC("(%s)", longText.c_str()), "(" + longText + ")");
    unsigned char p[256];
    NumToString(-20000, p);
    EXPECT_EQ(pascal(p), "-20000");
    DateString(0, p);
    EXPECT_EQ(pascal(p), "Friday, January 1, 1904");
    testsupport::leaveCommaLocale();
}

TEST(Numbers, NumToStringAndBack) {
    unsigned char p[256];
    for (int32_t v : {0, 7, -1, 2147483647, INT32_MIN}) {
        NumToString(v, p);
        EXPECT_EQ(pascal(p), std::to_string(v));
        int32_t back = 1;
        StringToNum(p, &back);
        EXPECT_EQ(back, v);
    }
    // Leading sign and digits count; past the range the value is held at its end.
    for (const auto& c : testsupport::readCases("platform/string_to_num.txt", 2)) {
        const std::string s = std::string(1, static_cast<char>(c[0].size())) + c[0];
        int32_t v = 1;
        StringToNum(reinterpret_cast<const unsigned char*>(s.data()), &v);
        EXPECT_EQ(std::to_string(v), c[1]) << c.where;
    }
}

TEST(Dates, LongEnglishForm) {
    unsigned char p[256];
    for (const auto& c : testsupport::readCases("platform/dates.txt", 2)) {
        DateString(static_cast<uint32_t>(std::stoul(c[0])), p);
        EXPECT_EQ(pascal(p), c[1]) << c.where;
    }
}

TEST(Dates, ClockCountsLocalTimeSince1904) {
    uint32_t secs = 0;
    GetDateTime(&secs);
    const time_t now = time(nullptr);
    tm local{};
    localtime_r(&now, &local);
    const int64_t expected = static_cast<int64_t>(now) + local.tm_gmtoff + 2082844800;
    EXPECT_LE(std::llabs(static_cast<int64_t>(secs) - expected), 2);
}

// The quick road for values near a decimal number must give the very bytes of
// "%f", for every count of decimals, halfway cases and negative zero included.
TEST(NumbersFixed, SameBytesAsPrintfOnManyValues) {
    std::mt19937_64 rng(20261206);
    std::uniform_int_distribution<long long> units(-5000000000LL, 5000000000LL);
    std::uniform_real_distribution<double> any(-1e6, 1e6);
    char mine[400], theirs[400];
    auto same = [&](double v, int decimals) {
        formatFixed(mine, sizeof mine, v, decimals);
        std::snprintf(theirs, sizeof theirs, "%.*f", decimals, v);  // the tests run in "C"
        return std::string(mine) == theirs;
    };
    for (int decimals = 0; decimals <= 9; ++decimals) {
        const double unit = std::pow(10.0, -decimals);
        for (int i = 0; i < (decimals == 6 ? 150000 : 10000); ++i) {
            const long long n = units(rng);
            for (double v :
                 {n * unit / 10, n * unit, n * unit / 2, any(rng), std::round(any(rng)) / 8})
                ASSERT_TRUE(same(v, decimals)) << v << " " << decimals;
        }
        for (double v : {0.0, -0.0, -1e-9, 1e-9, 0.0000005, -0.0000005, 2.5e-7, 2.5e-6, 1e9, -1e9,
                         1.5, -1.5, 0.1 + 0.2, 123456789.1234565, 1e15 + 0.25, -987654321.123456789,
                         72.0 / 25400 * 330, 841.8897637795276, 1e-300})
            EXPECT_EQ(fixed(v, decimals), cPrintf(v, decimals)) << v;
    }
}

}  // namespace
