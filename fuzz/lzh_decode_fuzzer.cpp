// Any input decodes without a fault (under the address and undefined-behaviour sanitizers) to
// the bytes asked for, past them only by the rest of the last match. A stop request ends the run
// after the symbol under way; a run asked for nothing reads nothing. The output's bytes are
// checked against a plain model of the code by the unit tests.
//
// Input: two bytes of output size (times 4 when the mode says so), one mode byte, the stream.
#include <cstdlib>
#include <vector>

#include "payload/lzh/lzh_decode.h"

namespace {

const uint8_t* stream;
size_t streamSize, readPos;
uint8_t mode;
int64_t stopAfter;
int32_t continueFlag;
std::vector<uint8_t> output;

void Check(bool condition) {
    if (!condition) std::abort();
}

void Read(uint8_t* buffer, uint16_t count, uint16_t* actual) {
    Check(count == 1);
    // Past the end, each way a source can say it has nothing must read as zero bits.
    static const uint16_t kNothing[] = {0, 2, 0xFFFF, 0};
    *actual = readPos < streamSize ? 1 : kNothing[mode & 3];
    *buffer = readPos < streamSize ? stream[readPos++] : 0xA5;
}

void Write(const uint8_t* buffer, uint16_t count, uint16_t* actual) {
    Check(count == 1);
    output.push_back(*buffer);
    *actual = count;
    if (int64_t(output.size()) == stopAfter) continueFlag = 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 3) return 0;
    mode = data[2];
    int32_t want = int32_t(data[0] | data[1] << 8) * (mode & 0x04 ? 4 : 1) * (mode & 0x08 ? -1 : 1);
    stream = data + 3, streamSize = size - 3, readPos = 0;
    continueFlag = 1;
    output.clear();
    stopAfter = (mode & 0x10) ? (want / 2 > 0 ? want / 2 : 1) : -1;
    tidemark::LzhDecode(want, Read, Write, continueFlag);
    int64_t written = int64_t(output.size());
    if (want <= 0) {
        Check(written == 0 && readPos == 0);
    } else if (stopAfter > 0 && stopAfter < want) {
        Check(written >= stopAfter && written < stopAfter + 60);
    } else {
        Check(written >= want && written < int64_t(want) + 60);
    }
    return 0;
}
