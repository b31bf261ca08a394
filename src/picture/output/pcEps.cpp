#include "picture/output/pcEps.h"

#include <cstring>

#include "platform/byteorder.h"

namespace {

constexpr unsigned char kMagic[4] = {0xC5, 0xD0, 0xD3, 0xC6};
constexpr uint16_t kNoChecksum = 0xFFFF;

}  // namespace

bool pcEpsPreviewFits(const qd::Rect& points) {
    return points.right <= kPcEpsMostPreviewPoints && points.bottom <= kPcEpsMostPreviewPoints;
}

std::string pcEpsFile(const std::string& eps, const std::string& tiffPreview) {
    using platform::ByteOrder;
    uint8_t header[kPcEpsHeaderBytes] = {};
    std::memcpy(header, kMagic, sizeof kMagic);
    const uint32_t epsLength = static_cast<uint32_t>(eps.size());
    platform::put32(header + 4, kPcEpsHeaderBytes, ByteOrder::little);
    platform::put32(header + 8, epsLength, ByteOrder::little);
    // 12 and 16: no metafile.
    platform::put32(header + 20, kPcEpsHeaderBytes + epsLength, ByteOrder::little);
    platform::put32(header + 24, static_cast<uint32_t>(tiffPreview.size()), ByteOrder::little);
    platform::put16(header + 28, kNoChecksum, ByteOrder::little);
    std::string out;
    out.reserve(sizeof header + eps.size() + tiffPreview.size());
    out.append(reinterpret_cast<const char*>(header), sizeof header);
    out += eps;
    out += tiffPreview;
    return out;
}
