#include "platform/packbits.h"

namespace platform {

void appendPackBits(const uint8_t* d, size_t n, size_t shortestRepeat, std::string* out) {
    constexpr size_t kMaxRun = 128;
    const auto repeatAt = [&](size_t p) {
        if (p + shortestRepeat > n) return false;
        for (size_t k = 1; k < shortestRepeat; ++k)
            if (d[p + k] != d[p]) return false;
        return true;
    };
    size_t i = 0;
    while (i < n) {
        size_t run = 1;
        while (i + run < n && run < kMaxRun && d[i + run] == d[i]) ++run;
        if (run >= shortestRepeat) {
            out->push_back(static_cast<char>(1 - static_cast<int>(run)));
            out->push_back(static_cast<char>(d[i]));
            i += run;
            continue;
        }
        size_t end = i + 1;  // literals up to the next repeat
        while (end < n && end - i < kMaxRun && !repeatAt(end)) ++end;
        out->push_back(static_cast<char>(end - i - 1));
        out->append(reinterpret_cast<const char*>(d + i), end - i);
        i = end;
    }
}

}  // namespace platform
