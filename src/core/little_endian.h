// The byte order of every number in the file table and the disk set block.
#pragma once

#include <cstdint>

namespace tidemark {

inline int32_t ReadLittleEndian32(const uint8_t* bytes) {
    uint32_t value = uint32_t(bytes[0]) | uint32_t(bytes[1]) << 8 | uint32_t(bytes[2]) << 16 |
                     uint32_t(bytes[3]) << 24;
    return static_cast<int32_t>(value);
}

inline void WriteLittleEndian32(uint8_t* bytes, int32_t value) {
    uint32_t v = static_cast<uint32_t>(value);
    for (int i = 0; i < 4; ++i) bytes[i] = static_cast<uint8_t>(v >> (8 * i));
}

}  // namespace tidemark
