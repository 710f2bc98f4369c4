// Any input decodes without a fault to exactly the bytes asked for, or past them only by the
// rest of the last match; a stop request ends the run after the symbol under way; a run asked
// for nothing calls nothing.
//
// The bytes are compared with a plain bit-by-bit decoding that walks the tree and updates the
// model through parent links only, so the fast decoder's lookup table and path shortcuts are
// checked against the plain rules on every input.
//
// Input: two bytes of output size (little-endian, times 4 when the mode says so), one mode byte,
// then the stream.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "payload/lzh/lzh_decode.h"
#include "payload/lzh/lzh_model.h"
#include "payload/lzh/lzh_position_code.h"

namespace {

const uint8_t* stream;
size_t streamSize;
size_t readPos;
uint8_t mode;
int64_t written;
int64_t stopAfter;
int32_t continueFlag;
std::vector<uint8_t> output;

void Check(bool condition) {
    if (!condition) std::abort();
}

void Read(uint8_t* buffer, uint16_t count, uint16_t* actual) {
    Check(count == 1);
    if (readPos < streamSize) {
        *buffer = stream[readPos++];
        *actual = 1;
        return;
    }
    // The ways a source can say it has nothing: the decoder must read them all as a zero.
    *buffer = 0xA5;
    static const uint16_t kNothing[] = {0, 2, 0xFFFF, 0};
    *actual = kNothing[mode & 3];
}

void Write(const uint8_t* buffer, uint16_t count, uint16_t* actual) {
    Check(count == 1 && buffer != nullptr);
    *actual = count;
    output.push_back(*buffer);
    ++written;
    if (written == stopAfter) continueFlag = 0;
}

std::vector<uint8_t> PlainDecode(const uint8_t* in, size_t inSize, int64_t want) {
    using namespace tidemark::lzh;
    LzhModel model;
    model.InitTree();
    size_t bit = 0;
    auto next = [&]() -> unsigned {
        unsigned b = bit / 8 < inSize ? (in[bit / 8] >> (7 - bit % 8)) & 1 : 0;
        ++bit;
        return b;
    };
    uint8_t ring[kRingSize];
    std::memset(ring, ' ', kFirstRingPos);
    std::memset(ring + kFirstRingPos, 0, kRingSize - kFirstRingPos);
    unsigned pos = kFirstRingPos;
    std::vector<uint8_t> out;
    auto emit = [&](uint8_t c) {
        out.push_back(c);
        ring[pos] = c;
        pos = (pos + 1) % kRingSize;
    };
    while (int64_t(out.size()) < want) {
        unsigned node = model.Child[kRootNode];
        while (node < kTreeSize) node = model.Child[node + next()];
        unsigned symbol = node - kTreeSize;
        model.UpdateModel(symbol);
        if (symbol < 256) {
            emit(static_cast<uint8_t>(symbol));
            continue;
        }
        unsigned b = 0;
        for (int k = 0; k < 8; ++k) b = b * 2 + next();
        unsigned upper = kPositionTables.Upper[b];
        for (unsigned k = kPositionTables.Length[b] - 2u; k > 0; --k) b = b * 2 + next();
        unsigned from = (pos - (upper * 64 + (b & 0x3F)) - 1) % kRingSize;
        for (unsigned k = 0; k < MatchLength(symbol); ++k) emit(ring[(from + k) % kRingSize]);
    }
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 3) return 0;
    mode = data[2];
    int32_t want = int32_t(data[0] | data[1] << 8);
    if (mode & 0x04) want *= 4;
    if (mode & 0x08) want = -want;
    stream = data + 3;
    streamSize = size - 3;
    readPos = 0;
    written = 0;
    continueFlag = 1;
    output.clear();
    stopAfter = (mode & 0x10) ? (want / 2 > 0 ? want / 2 : 1) : -1;

    tidemark::LzhDecode(want, Read, Write, continueFlag);

    if (want <= 0) {
        Check(written == 0 && readPos == 0);
    } else if (stopAfter > 0 && stopAfter < want) {
        Check(written >= stopAfter && written < stopAfter + 60);
    } else {
        Check(written >= want && written < int64_t(want) + 60);
        Check(output == PlainDecode(stream, streamSize, want));
    }
    return 0;
}
