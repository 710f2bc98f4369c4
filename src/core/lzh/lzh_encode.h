// The vendor's encoder for the combined archive's stream. Never linked into the setup program.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

namespace tidemark {

enum class LzhParse { Greedy, Lazy, Optimal };

struct LzhEncodeOptions {
    LzhParse Parse = LzhParse::Optimal;
    // Called now and then with the bytes of input consumed so far; may be empty.
    std::function<void(size_t done, size_t total)> Progress;
};

// A stream that LzhDecode(size, ...) turns back into exactly these bytes.
std::vector<uint8_t> LzhEncode(const uint8_t* data, size_t size,
                               const LzhEncodeOptions& options = {});

}  // namespace tidemark
