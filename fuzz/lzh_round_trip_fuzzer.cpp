// Whatever the encoder is given, each parse's stream decodes back to exactly that input.
//
// Input: one byte choosing the parse, then the data.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "payload/lzh/lzh_decode.h"
#include "payload/lzh/lzh_encode.h"

namespace {

const std::vector<uint8_t>* stream;
size_t readPos;
std::vector<uint8_t>* output;

void Read(uint8_t* buffer, uint16_t, uint16_t* actual) {
    *actual = 0;
    if (readPos < stream->size()) {
        *buffer = (*stream)[readPos++];
        *actual = 1;
    }
}

void Write(const uint8_t* buffer, uint16_t count, uint16_t* actual) {
    output->insert(output->end(), buffer, buffer + count);
    *actual = count;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    tidemark::LzhEncodeOptions options;
    options.Parse = static_cast<tidemark::LzhParse>(data[0] % 3);
    std::vector<uint8_t> encoded = tidemark::LzhEncode(data + 1, size - 1, options);
    std::vector<uint8_t> decoded;
    stream = &encoded;
    readPos = 0;
    output = &decoded;
    int32_t flag = 1;
    tidemark::LzhDecode(static_cast<int32_t>(size - 1), Read, Write, flag);
    if (decoded.size() != size - 1 || (size > 1 && std::memcmp(decoded.data(), data + 1, size - 1)))
        std::abort();
    return 0;
}
