// Reading and writing 16- and 32-bit words at byte positions in either byte
// order. Records of the program's files are encoded field by field with these,
// never by copying a struct, so that their layout does not depend on the
// compiler or the machine.
#pragma once

#include <cstdint>

namespace platform {

enum class ByteOrder { little, big };

// The order of the machine the program's files were first written on; records
// in memory keep it.
constexpr ByteOrder kNativeOrder = ByteOrder::little;

inline void put16(uint8_t* p, uint16_t v, ByteOrder o) {
    if (o == ByteOrder::big) {
        p[0] = static_cast<uint8_t>(v >> 8);
        p[1] = static_cast<uint8_t>(v);
    } else {
        p[0] = static_cast<uint8_t>(v);
        p[1] = static_cast<uint8_t>(v >> 8);
    }
}

inline void put32(uint8_t* p, uint32_t v, ByteOrder o) {
    if (o == ByteOrder::big) {
        put16(p, static_cast<uint16_t>(v >> 16), o);
        put16(p + 2, static_cast<uint16_t>(v), o);
    } else {
        put16(p, static_cast<uint16_t>(v), o);
        put16(p + 2, static_cast<uint16_t>(v >> 16), o);
    }
}

inline uint16_t get16(const uint8_t* p, ByteOrder o) {
    return o == ByteOrder::big ? static_cast<uint16_t>(p[0] << 8 | p[1])
                               : static_cast<uint16_t>(p[1] << 8 | p[0]);
}

inline uint32_t get32(const uint8_t* p, ByteOrder o) {
    const uint32_t a = get16(p, o), b = get16(p + 2, o);
    return o == ByteOrder::big ? (a << 16 | b) : (b << 16 | a);
}

}  // namespace platform
