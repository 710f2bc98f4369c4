// CRC-32 (the polynomial 0xEDB88320 of zip and PNG): the disk set's fingerprints, stamped by
// mkdisks and checked by the setup program as it copies and unpacks.
#pragma once

#include <cstddef>
#include <cstdint>

namespace tidemark {

// The CRC of crc's data followed by these bytes; a CRC starts from 0. One table look-up a byte.
uint32_t Crc32(uint32_t crc, const uint8_t* data, size_t size);

inline uint32_t Crc32(const uint8_t* data, size_t size) { return Crc32(0, data, size); }

}  // namespace tidemark
