#include "app/toolboxGlue.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {

constexpr int32_t kLuhnModulus = 10;
constexpr int32_t kLengthBytes = 4;

}  // namespace

int32_t getRandNum(int32_t n) {
    n = std::clamp(n, int32_t{1}, kRandRange);
    // rand() may reach beyond 32767; kept within it the result stays within n + 1.
    const int32_t r = std::rand() % (kRandRange + 1);
    return r / (kRandRange / n) + 1;
}

int32_t CreditCardCheckDigit(const std::string& digits) {
    if (digits.empty()) return 0;
    int32_t total = 0;
    bool doubled = false;
    for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
        if (*it < '0' || *it > '9') return 0;
        int32_t d = *it - '0';
        if (doubled) {
            d *= 2;
            d = d / kLuhnModulus + d % kLuhnModulus;
        }
        total += d;
        doubled = !doubled;
    }
    return total % kLuhnModulus == 0 ? 1 : 0;
}

platform::OSErr SavePictures(platform::FileRef ref, const std::string& picture) {
    const auto length = static_cast<int32_t>(picture.size());
    char head[kLengthBytes];
    std::memcpy(head, &length, sizeof head);
    int32_t count = kLengthBytes;
    if (const platform::OSErr err = platform::FSWrite(ref, &count, head); err != platform::noErr)
        return err;
    count = length;
    return platform::FSWrite(ref, &count, picture.data());
}

std::optional<std::string> LoadPictures(platform::FileRef ref) {
    char head[kLengthBytes];
    int32_t count = kLengthBytes;
    if (platform::FSRead(ref, &count, head) != platform::noErr || count != kLengthBytes) return {};
    int32_t length = 0;
    std::memcpy(&length, head, sizeof length);
    int32_t position = 0, eof = 0;
    if (platform::GetFPos(ref, &position) != platform::noErr ||
        platform::GetEOF(ref, &eof) != platform::noErr)
        return {};
    if (length < 0 || length > eof - position) return {};
    std::string picture(static_cast<size_t>(length), '\0');
    count = length;
    if (length > 0 &&
        (platform::FSRead(ref, &count, picture.data()) != platform::noErr || count != length))
        return {};
    return picture;
}

uint32_t MacByteSwapper(uint32_t value) {
    return (value >> 24) | ((value >> 8) & 0xFF00u) | ((value << 8) & 0xFF0000u) | (value << 24);
}
