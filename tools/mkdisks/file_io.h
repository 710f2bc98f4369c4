// Whole-file reads and writes with failures reported by path.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace tidemark::mkdisks {

std::vector<uint8_t> ReadWholeFile(const std::filesystem::path& path);
// Writes under a temporary name beside the target and renames it into place, so that a reader
// never sees half a file and a failure leaves nothing new behind.
void WriteWholeFile(const std::filesystem::path& path, const uint8_t* data, size_t size);
inline void WriteWholeFile(const std::filesystem::path& path, const std::vector<uint8_t>& data) {
    WriteWholeFile(path, data.data(), data.size());
}

}  // namespace tidemark::mkdisks
