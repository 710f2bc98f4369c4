// The compressed stream in memory: encoding with a progress bar, and decoding with a count of
// the input the decoder asked for, which tells a truncated or overlong archive from a sound one.
#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

#include "core/lzh/lzh_encode.h"

namespace tidemark::mkdisks {

std::vector<uint8_t> Compress(const std::vector<uint8_t>& data, LzhParse parse);

struct DecodeOutcome {
    std::vector<uint8_t> Output;  // may be longer than asked for when a last match overruns
    uint64_t BytesRequested = 0;  // input bytes the decoder asked for, also past the end
};

DecodeOutcome Decompress(const std::vector<uint8_t>& archive, int32_t outputSize);

// Whether the decoder read the archive exactly: at most kLzhReadsPastEnd bytes past its end.
// Asking for more means missing input (read as zero bits); for fewer than its length, bytes at
// the end that nothing needs. Empty when sound, otherwise what is wrong.
std::string ArchiveLengthFault(uint64_t archiveSize, uint64_t bytesRequested);

// The encoded image, from a kept copy when that still decodes to exactly these bytes, otherwise
// freshly encoded (and kept, when keepAt is not empty). Decoding a kept stream is much cheaper
// than encoding, and a stream that decodes to the image is right whatever made it. A file at
// keepAt is replaced only when it is empty or decodes to a program ("MZ"), as a stream kept for
// an earlier version of the product does; anything else there is refused (Refusal) unchanged.
std::vector<uint8_t> CompressOrReuse(const std::vector<uint8_t>& image,
                                     const std::filesystem::path& keepAt, bool* reused = nullptr);

}  // namespace tidemark::mkdisks
