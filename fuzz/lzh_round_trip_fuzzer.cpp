// Whatever the encoder is given, each parse's stream decodes back to exactly that input.
// Input: one byte choosing the parse, then the data.
#include <cstdlib>
#include <vector>

#include "payload/lzh/lzh_decode.h"
#include "payload/lzh/lzh_encode.h"

namespace {
std::vector<uint8_t> encoded, decoded;
size_t readPos;
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    tidemark::LzhEncodeOptions options;
    options.Parse = static_cast<tidemark::LzhParse>(data[0] % 3);
    encoded = tidemark::LzhEncode(data + 1, size - 1, options);
    decoded.clear();
    readPos = 0;
    int32_t flag = 1;
    tidemark::LzhDecode(
        int32_t(size - 1),
        [](uint8_t* buffer, uint16_t, uint16_t* actual) {
            *actual = readPos < encoded.size();
            if (*actual) *buffer = encoded[readPos++];
        },
        [](const uint8_t* buffer, uint16_t count, uint16_t* actual) {
            decoded.insert(decoded.end(), buffer, buffer + (*actual = count));
        },
        flag);
    if (decoded != std::vector<uint8_t>(data + 1, data + size)) std::abort();
    return 0;
}
