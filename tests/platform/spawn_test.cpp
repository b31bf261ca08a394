#include "platform/spawn.h"

#include <gtest/gtest.h>

namespace {

using namespace std::chrono_literals;

// A helper that never ends (Ghostscript over a PostScript loop) is killed at
// its limit and counts as failed; one that ends gives its exit status.
TEST(RunQuietly, EndsAtItsLimitOrWithTheProgramsStatus) {
    EXPECT_EQ(platform::runQuietly("sleep", {"60"}, 1s), -1);
    EXPECT_EQ(platform::runQuietly("sh", {"-c", "exit 3"}, 10s), 3);
    EXPECT_EQ(platform::runQuietly("true", {}, 10s), 0);
    EXPECT_EQ(platform::runQuietly("strixel-no-such-program", {}, 10s), -1);
}

}  // namespace
