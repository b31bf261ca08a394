#include "platform/toolbox/pstrings.h"

#include <algorithm>
#include <cstring>

#include "platform/files.h"

namespace platform {
namespace {

constexpr uint16_t kLightGrey = 0xEA00;
constexpr uint16_t kMediumGrey = 0xC5AE;
constexpr uint16_t kWhite = 0xFFFF;
constexpr uint16_t kMedGrey = 40000;
constexpr int kBadName = -37;
constexpr int kBufferTooSmall = -120;

}  // namespace

void pstrcpy(unsigned char* dst, const unsigned char* src) {
    if (!dst || !src) return;
    std::memmove(dst, src, static_cast<size_t>(src[0]) + 1);
}

void pstrcopy(unsigned char* dst, const unsigned char* src) { pstrcpy(dst, src); }

const unsigned char* toPascal(std::string_view text, unsigned char* buffer) {
    const size_t n = std::min<size_t>(text.size(), kPascalMost);
    buffer[0] = static_cast<unsigned char>(n);
    std::memcpy(buffer + 1, text.data(), n);
    return buffer;
}

void pstrinsert(unsigned char* dst, const unsigned char* src) {
    if (!dst || !src) return;
    const int front = src[0];
    const int kept = std::min<int>(dst[0], kPascalMost - front);
    std::memmove(dst + 1 + front, dst + 1, static_cast<size_t>(kept));
    std::memmove(dst + 1, src + 1, static_cast<size_t>(front));
    dst[0] = static_cast<unsigned char>(front + kept);
}

bool PathNameFromDirID(const std::string& posixFolder, unsigned char* path) {
    if (!path) return false;
    path[0] = 0;
    if (posixFolder.empty() || posixFolder[0] != '/') return false;
    std::string colon = posixToColon(posixFolder);
    if (colon.empty()) return false;
    if (colon.back() != ':') colon += ':';
    if (colon.size() > static_cast<size_t>(kPascalMost)) return false;
    path[0] = static_cast<unsigned char>(colon.size());
    std::memcpy(path + 1, colon.data(), colon.size());
    return true;
}

int FSMakePath(const std::string& posixFolder, const char* name, char* path, size_t size) {
    if (!path || size == 0) return kBufferTooSmall;
    path[0] = '\0';
    if (!name || !*name || std::strchr(name, '/')) return kBadName;
    std::string full = posixFolder;
    if (full.empty() || full.back() != '/') full += '/';
    full += name;
    if (full.size() + 1 > size) return kBufferTooSmall;
    std::memcpy(path, full.c_str(), full.size() + 1);
    return 0;
}

uint32_t GetBitmapBaseAddress(const uint32_t* bitmap, int32_t, int32_t) {
    return bitmap ? bitmap[0] : 0;
}

int32_t KillBitMapBaseAddress(int32_t, int32_t b) { return b; }

int32_t IsIn(int32_t value, int32_t bits) { return (value & bits) == bits ? 0 : 1; }

qd::RGBColor interfaceGrey(int32_t greyInterface) {
    const uint16_t g = greyInterface == 1 ? kMediumGrey : greyInterface == 2 ? kWhite : kLightGrey;
    return {g, g, g};
}

void setGrey(int32_t greyInterface) { qd::RGBBackColor(interfaceGrey(greyInterface)); }

void setMedGrey() { qd::RGBBackColor({kMedGrey, kMedGrey, kMedGrey}); }

}  // namespace platform
