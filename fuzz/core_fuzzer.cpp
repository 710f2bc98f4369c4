// The inputs the platform-free core takes from outside, one libFuzzer target each; the build
// compiles this file once per target, naming it in FUZZ_TARGET:
//  stream:     an archive stream. Any input decodes without a fault (under the address and
//              undefined-behaviour sanitizers) to the bytes asked for, past them only by the rest
//              of the last match. A stop request ends the run after the symbol under way; a run
//              asked for nothing reads nothing. The output's bytes are checked against a plain
//              model of the code by the unit tests.
//              Layout: two bytes of output size (times 4, negated, with a stop, as the mode byte
//              says), the mode byte, the stream.
//  round_trip: one byte choosing the parse, then data to compress; each parse's stream decodes
//              back to exactly that data.
//  file_end:   the end of a setup program's file. It either fails to hold a trailer or parses; a
//              parsed table is either refused with a FileTableError or lies wholly inside the image
//              with names the install can create, distinct from one another, the main program's and
//              the combined archive's.
// Every call's cost follows its input's length: nothing is kept or compared through a buffer the
// size of the output, and a stream that has run dry is stopped soon after (see kDryReads).
#include <algorithm>
#include <cstdlib>
#include <vector>

#include "core/error.h"
#include "core/lzh/lzh_decode.h"
#include "core/lzh/lzh_encode.h"
#include "core/name_rules.h"
#include "core/trailer.h"

using namespace tidemark;

namespace {

// The checks, the decoder's source and sink run for every byte; they are the harness, not code
// under test, so they carry no coverage instrumentation.
#define HARNESS __attribute__((no_sanitize("coverage")))

HARNESS void Check(bool condition) {
    if (!condition) std::abort();
}

// Reads past the end of the stream before the run is asked to stop: enough for the decoder to
// go on through many zero-bit symbols, and for a stream cut short to show itself, without a run
// asked for a quarter of a megabyte from a few bytes spending milliseconds on zeros.
constexpr size_t kDryReads = 32;

const uint8_t* source;
size_t sourceSize, readPos, dryReads;
uint8_t mode;
// The bytes the output must equal (expectedSize of them), or null when any bytes will do.
const uint8_t* expected;
int64_t expectedSize, written, stopAfter, stoppedAt;
int32_t continueFlag;

HARNESS void Read(uint8_t* buffer, uint16_t count, uint16_t* actual) {
    // Past the end, each way a source can say it has nothing must read as zero bits.
    static const uint16_t kNothing[] = {0, 2, 0xFFFF, 0};
    Check(count == 1);
    bool more = readPos < sourceSize;
    *actual = more ? 1 : kNothing[mode & 3];
    *buffer = more ? source[readPos++] : 0xA5;
    dryReads += !more;
}

HARNESS void Write(const uint8_t* buffer, uint16_t count, uint16_t* actual) {
    Check(count == 1);
    if (expected) Check(written < expectedSize && *buffer == expected[written]);
    ++written;
    *actual = count;
    if (stoppedAt < 0 && (written == stopAfter || dryReads > kDryReads)) {
        continueFlag = 0;
        stoppedAt = written;
    }
}

// Decodes up to `want` bytes; returns how many were written. A stop (asked for at `stop`
// bytes, or by the source running dry) is recorded in stoppedAt as the bytes written by then.
[[maybe_unused]] int64_t Decode(const uint8_t* stream, size_t size, int32_t want, int64_t stop,
                                const uint8_t* model = nullptr, size_t modelSize = 0) {
    source = stream, sourceSize = size, readPos = 0, dryReads = 0;
    expected = model, expectedSize = int64_t(modelSize);
    written = 0, stopAfter = stop, stoppedAt = -1, continueFlag = 1;
    LzhDecode(want, Read, Write, continueFlag);
    return written;
}

}  // namespace

#if FUZZ_TARGET_STREAM
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 3) return 0;
    mode = data[2];
    int32_t want = int32_t(data[0] | data[1] << 8) * (mode & 0x04 ? 4 : 1) * (mode & 0x08 ? -1 : 1);
    int64_t stop = (mode & 0x10) ? std::max(want / 2, 1) : -1;
    int64_t done = Decode(data + 3, size - 3, want, stop);
    // A stop comes from the sink, after a byte; the symbol under way still ends whole.
    int64_t until = stoppedAt >= 0 ? stoppedAt : want;
    Check(want <= 0 ? done == 0 && readPos + dryReads == 0 : done >= until && done < until + 60);
    return 0;
}
#endif

#if FUZZ_TARGET_ROUND_TRIP
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    std::vector<uint8_t> encoded =
        LzhEncode(data + 1, size - 1, {static_cast<LzhParse>(data[0] % 3), {}});
    mode = 0;
    // The encoder ends its stream where the decoder needs no byte it was not given.
    Check(Decode(encoded.data(), encoded.size(), int32_t(size - 1), -1, data + 1, size - 1) ==
          int64_t(size - 1));
    Check(dryReads <= size_t(kLzhReadsPastEnd));
    return 0;
}
#endif

#if FUZZ_TARGET_FILE_END
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // Kept from call to call: the parse clears them, and their room need not be had again.
    static PayloadTrailer t;
    static std::vector<uint8_t> lengths;
    if (!ParseTrailer(data + size, size, t, &lengths)) {
        Check(size < kTrailerTailSize || size < TrailerSize(data[size - kTrailerTailSize]));
        return 0;
    }
    Check(t.Table.size() == data[size - kTrailerTailSize] && lengths.size() == t.Table.size());
    try {
        CheckFileTable(t, lengths, "Tidemark.Exe", "Tidemark._LF");
    } catch (const FileTableError&) {
        return 0;
    }
    InstallNames names("Tidemark.Exe", "Tidemark._LF");
    for (const FileTableEntry& e : t.Table) {
        Check(e.Offset >= 0 && e.Size >= 0 && int64_t(e.Offset) + e.Size <= t.UnpackedSize);
        Check(names.Add(e.Name) == nullptr);
    }
    return 0;
}
#endif
