#include "payload/lzh/lzh_decode.h"

#include <cstring>
#include <memory>
#include <new>

#include "payload/lzh/lzh_model.h"
#include "payload/lzh/lzh_position_code.h"
#include "runtime/error.h"

namespace tidemark {

namespace {

using namespace lzh;

// Everything one run owns; nothing survives from one run to the next.
struct LzhDecodeState {
    LzhModel Model;
    uint8_t Ring[kRingSize];
};

// The bit reservoir. It fetches exactly when a 16-bit reservoir refilled "while 8 bits or fewer
// are left" would, one byte per ReadProc call, so the caller sees the same sequence of reads
// and writes; the bits sit left-aligned in 32 bits so that no masking is needed.
class BitInput {
public:
    explicit BitInput(ReadProc read) : read_(read) {}

    unsigned ReadBit() {
        if (count_ <= 8) Refill();
        unsigned bit = bits_ >> 31;
        bits_ <<= 1;
        --count_;
        return bit;
    }

    unsigned ReadBits8() {
        if (count_ <= 8) Refill();
        unsigned byte = bits_ >> 24;
        bits_ <<= 8;
        count_ -= 8;
        return byte;
    }

private:
    void Refill() {
        do {
            uint8_t byte = 0;
            uint16_t actual = 0;
            read_(&byte, 1, &actual);
            // Anything but exactly one byte delivered (end of input, a failed read, a stop)
            // counts as a zero byte.
            if (actual != 1) byte = 0;
            bits_ |= uint32_t(byte) << (24 - count_);
            count_ += 8;
        } while (count_ <= 8);
    }

    ReadProc read_;
    uint32_t bits_ = 0;
    unsigned count_ = 0;
};

}  // namespace

void LzhDecode(int32_t OutputSize, ReadProc Read, WriteProc Write,
               const volatile int32_t& ContinueFlag) {
    std::unique_ptr<LzhDecodeState> state(new (std::nothrow) LzhDecodeState);
    if (!state) throw LzhError("LZH : Cannot get memory for dictionary tables");

    LzhModel& model = state->Model;
    uint8_t* ring = state->Ring;
    model.InitTree();
    std::memset(ring, ' ', kFirstRingPos);
    // A well-formed stream never reads these before writing them; zeros keep the output of a
    // damaged one independent of leftover memory.
    std::memset(ring + kFirstRingPos, 0, kRingSize - kFirstRingPos);
    unsigned ringPos = kFirstRingPos;
    // 64 bits: the last match may carry the count past a 32-bit OutputSize.
    int64_t produced = 0;
    BitInput in(Read);
    uint16_t taken = 0;

    while (produced < OutputSize && ContinueFlag) {
        unsigned node = model.Child[kRootNode];
        while (node < kTreeSize) node = model.Child[node + in.ReadBit()];
        unsigned symbol = node - kTreeSize;
        model.UpdateModel(symbol);

        if (symbol < 256) {
            ring[ringPos] = static_cast<uint8_t>(symbol);
            Write(&ring[ringPos], 1, &taken);
            ringPos = (ringPos + 1) & (kRingSize - 1);
            ++produced;
            continue;
        }

        unsigned b = in.ReadBits8();
        unsigned upper = kPositionTables.Upper[b];
        for (unsigned n = kPositionTables.Length[b] - 2u; n > 0; --n) b = (b << 1) | in.ReadBit();
        unsigned position = (upper << 6) | (b & 0x3F);

        unsigned from = (ringPos - position - 1) & (kRingSize - 1);
        unsigned length = MatchLength(symbol);
        for (unsigned k = 0; k < length; ++k) {
            ring[ringPos] = ring[from];
            Write(&ring[ringPos], 1, &taken);
            ringPos = (ringPos + 1) & (kRingSize - 1);
            from = (from + 1) & (kRingSize - 1);
        }
        produced += length;
    }
}

}  // namespace tidemark
