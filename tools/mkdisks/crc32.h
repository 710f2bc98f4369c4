// CRC-32 (the polynomial 0xEDB88320 of zip and PNG), for the file list that verify prints.
#pragma once

#include <cstddef>
#include <cstdint>

namespace tidemark::mkdisks {

uint32_t Crc32(const uint8_t* data, size_t size);

}  // namespace tidemark::mkdisks
