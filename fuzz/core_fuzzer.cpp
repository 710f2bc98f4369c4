// The three inputs the platform-free core takes from outside, in one target; the first byte
// chooses which the rest is:
//  0. An archive stream: any input decodes without a fault (under the address and undefined-
//     behaviour sanitizers) to the bytes asked for, past them only by the rest of the last match.
//     A stop request ends the run after the symbol under way; a run asked for nothing reads
//     nothing. The output's bytes are checked against a plain model of the code by the unit tests.
//     Layout: two bytes of output size (times 4, negated, with a stop, as the mode byte says),
//     the mode byte, the stream.
//  1. Data to compress: one byte choosing the parse, then the data; each parse's stream decodes
//     back to exactly that data.
//  2. A file end: it either fails to hold a trailer or parses; a parsed table is either refused
//     with a FileTableError or lies wholly inside the image with names the install can create,
//     distinct from one another, the main program's and the combined archive's.
#include <algorithm>
#include <cstdlib>
#include <vector>

#include "payload/lzh/lzh_decode.h"
#include "payload/lzh/lzh_encode.h"
#include "payload/name_rules.h"
#include "payload/trailer.h"
#include "runtime/error.h"

using namespace tidemark;

namespace {

const uint8_t* source;
size_t sourceSize, readPos;
uint8_t mode;
int64_t stopAfter;
int32_t continueFlag;
std::vector<uint8_t> output;

void Check(bool condition) {
    if (!condition) std::abort();
}

void Decode(const uint8_t* stream, size_t size, int32_t want, int64_t stop) {
    source = stream, sourceSize = size, readPos = 0, stopAfter = stop, continueFlag = 1;
    output.clear();
    auto read = [](uint8_t* buffer, uint16_t count, uint16_t* actual) {
        // Past the end, each way a source can say it has nothing must read as zero bits.
        static const uint16_t kNothing[] = {0, 2, 0xFFFF, 0};
        Check(count == 1);
        *actual = readPos < sourceSize ? 1 : kNothing[mode & 3];
        *buffer = readPos < sourceSize ? source[readPos++] : 0xA5;
    };
    auto write = [](const uint8_t* buffer, uint16_t count, uint16_t* actual) {
        Check(count == 1);
        output.push_back(*buffer);
        *actual = count;
        if (int64_t(output.size()) == stopAfter) continueFlag = 0;
    };
    LzhDecode(want, read, write, continueFlag);
}

void Stream(const uint8_t* data, size_t size) {
    if (size < 3) return;
    mode = data[2];
    int32_t want = int32_t(data[0] | data[1] << 8) * (mode & 0x04 ? 4 : 1) * (mode & 0x08 ? -1 : 1);
    int64_t stop = (mode & 0x10) ? std::max(want / 2, 1) : -1;
    Decode(data + 3, size - 3, want, stop);
    int64_t written = int64_t(output.size()), until = stop > 0 && stop < want ? stop : want;
    Check(want <= 0 ? written == 0 && readPos == 0 : written >= until && written < until + 60);
}

void RoundTrip(const uint8_t* data, size_t size) {
    if (size < 1) return;
    std::vector<uint8_t> encoded =
        LzhEncode(data + 1, size - 1, {static_cast<LzhParse>(data[0] % 3), {}});
    mode = 0;
    Decode(encoded.data(), encoded.size(), int32_t(size - 1), -1);
    Check(output == std::vector<uint8_t>(data + 1, data + size));
}

void FileEnd(const uint8_t* data, size_t size) {
    PayloadTrailer t;
    std::vector<uint8_t> lengths;
    if (!ParseTrailer(data + size, size, t, &lengths)) {
        Check(size < kTrailerTailSize || size < TrailerSize(data[size - kTrailerTailSize]));
        return;
    }
    Check(t.Table.size() == data[size - kTrailerTailSize] && lengths.size() == t.Table.size());
    try {
        CheckFileTable(t, lengths, "Tidemark.Exe", "Tidemark._LF");
    } catch (const FileTableError&) {
        return;
    }
    InstallNames names("Tidemark.Exe", "Tidemark._LF");
    for (const FileTableEntry& e : t.Table) {
        Check(e.Offset >= 0 && e.Size >= 0 && int64_t(e.Offset) + e.Size <= t.UnpackedSize);
        Check(names.Add(e.Name) == nullptr);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    void (*const kinds[])(const uint8_t*, size_t) = {Stream, RoundTrip, FileEnd};
    if (size > 0) kinds[data[0] % 3](data + 1, size - 1);
    return 0;
}
