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

// The first bits of a code are looked up rather than walked. The table maps the next
// kPrefixBits bits to the node they lead to (or the leaf reached sooner, with its depth). It
// depends only on the nodes less than kPrefixBits deep, so it is remade only when one of those
// changes place (a few times in a thousand symbols) or the tree is rebuilt.
constexpr unsigned kPrefixBits = 7;

struct PrefixEntry {
    uint16_t Node;
    uint16_t Depth;
};

// Everything one run owns; nothing survives from one run to the next.
struct LzhDecodeState {
    LzhModel Model;
    uint8_t Ring[kRingSize];
    PrefixEntry Prefix[1u << kPrefixBits];
    bool InPrefix[kTreeSize];  // the node is less than kPrefixBits deep
    bool PrefixStale;
};

void FillPrefix(LzhDecodeState& state, unsigned node, unsigned depth, unsigned code) {
    unsigned child = state.Model.Child[node];
    if (depth == kPrefixBits || child >= kTreeSize) {
        unsigned spread = 1u << (kPrefixBits - depth);
        for (unsigned i = 0; i < spread; ++i) {
            state.Prefix[(code << (kPrefixBits - depth)) | i] = {static_cast<uint16_t>(node),
                                                                 static_cast<uint16_t>(depth)};
        }
        if (depth < kPrefixBits) state.InPrefix[node] = true;
        return;
    }
    state.InPrefix[node] = true;
    FillPrefix(state, child, depth + 1, code << 1);
    FillPrefix(state, child + 1, depth + 1, (code << 1) | 1);
}

void BuildPrefix(LzhDecodeState& state) {
    std::memset(state.InPrefix, 0, sizeof state.InPrefix);
    FillPrefix(state, kRootNode, 0, 0);
    state.PrefixStale = false;
}

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
    uint16_t taken = 0;

    // The bit reservoir, left-aligned. Before each bit is used it is topped up, one byte per
    // ReadProc call, whenever 8 bits or fewer are left; so the first bit costs two reads and
    // the caller sees the reads fall between the writes exactly where such a reservoir puts
    // them. Taking n bits at once after topping up to n + 8 makes the same reads.
    uint32_t bits = 0;
    unsigned count = 0;
    auto topUp = [&](unsigned needed) {
        while (count < needed + 8) {
            uint8_t byte = 0;
            uint16_t actual = 0;
            Read(&byte, 1, &actual);
            // Anything but exactly one byte delivered (end of input, a failed read, a stop)
            // counts as a zero byte.
            if (actual != 1) byte = 0;
            bits |= uint32_t(byte) << (24 - count);
            count += 8;
        }
    };

    state->PrefixStale = true;
    auto watchSwap = [&state](unsigned a, unsigned b) {
        if (state->InPrefix[a] | state->InPrefix[b]) state->PrefixStale = true;
    };

    while (produced < OutputSize && ContinueFlag) {
        if (state->PrefixStale) BuildPrefix(*state);
        // At least 9 bits are in hand after a top-up, so the prefix can be peeked.
        if (count <= 8) topUp(1);
        PrefixEntry entry = state->Prefix[bits >> (32 - kPrefixBits)];
        topUp(entry.Depth);
        bits <<= entry.Depth;
        count -= entry.Depth;
        unsigned leaf = entry.Node;
        unsigned node = model.Child[leaf];
        while (node < kTreeSize) {
            if (count <= 8) topUp(1);
            leaf = node + (bits >> 31);
            node = model.Child[leaf];
            bits <<= 1;
            --count;
        }
        unsigned symbol = node - kTreeSize;
        if (model.Freq[kRootNode] == kRebuildLimit) state->PrefixStale = true;
        model.UpdateModel(symbol, watchSwap, leaf);

        if (symbol < 256) {
            ring[ringPos] = static_cast<uint8_t>(symbol);
            Write(&ring[ringPos], 1, &taken);
            ringPos = (ringPos + 1) & (kRingSize - 1);
            ++produced;
            continue;
        }

        topUp(8);
        unsigned b = bits >> 24;
        bits <<= 8;
        count -= 8;
        unsigned upper = kPositionTables.Upper[b];
        unsigned more = kPositionTables.Length[b] - 2u;
        topUp(more);
        unsigned low = ((b << more) | (bits >> (32 - more))) & 0x3F;
        bits <<= more;
        count -= more;
        unsigned position = (upper << 6) | low;

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
