// Deterministic stand-ins for a product's files, for measuring the archive's codec when no real
// image is at hand: prose, machine-code-like binaries and data tables.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace tidemark {
namespace bench {

// Help-file and read-me-like prose with line breaks.
std::vector<uint8_t> MakeText(size_t size, unsigned seed);
// Executable-like bytes: instruction idioms, nearby call targets, a string table, padding.
std::vector<uint8_t> MakeCode(size_t size, unsigned seed);
// Records of little-endian numbers, offsets that grow, sparse flags and zero padding.
std::vector<uint8_t> MakeTables(size_t size, unsigned seed);

// About 6 MB in the proportions of a desktop product: mostly code, then tables and text.
std::vector<uint8_t> MakeMixedCorpus();
// About 2 MB of code and tables only.
std::vector<uint8_t> MakeBinaryCorpus();

// A real image to measure instead, read whole; false if it cannot be read.
bool ReadFile(const std::string& path, std::vector<uint8_t>& data);

}  // namespace bench
}  // namespace tidemark
