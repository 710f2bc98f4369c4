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
// kPrefixBits bits to the nodes they lead through, down to the node reached after those bits or
// the leaf reached sooner. It depends only on the nodes less than kPrefixBits deep: when one of
// those changes place, the entries below it are filled again; when the tree is rebuilt, the
// whole table is. The nodes passed through also spare the model's update most parent look-ups.
constexpr unsigned kPrefixBits = 8;

struct PrefixEntry {
    uint16_t Depth;
    uint16_t Path[kPrefixBits];  // the nodes at depths 1 to Depth
};

// Everything one run owns; nothing survives from one run to the next.
struct LzhDecodeState {
    LzhModel Model;
    uint8_t Ring[kRingSize];
    PrefixEntry Prefix[1u << kPrefixBits];
    // Set for every node less than kPrefixBits deep (and possibly for some that moved deeper
    // since, which only costs a needless look).
    bool InPrefix[kTreeSize];
};

void SetPrefixEntry(PrefixEntry& entry, unsigned depth, const uint16_t* path) {
    entry.Depth = static_cast<uint16_t>(depth);
    // The whole array: a fixed-size copy is cheaper than an exact one, and the decoder reads no
    // further than Depth.
    std::memcpy(entry.Path, path, sizeof entry.Path);
}

// Fills the entries whose bits lead through `node`, which lies `depth` deep (less than
// kPrefixBits) at the end of the bits `code`; path[0 .. depth - 1] holds the nodes from depth 1
// down to node.
void FillPrefix(LzhDecodeState& state, unsigned node, unsigned depth, unsigned code,
                uint16_t* path) {
    state.InPrefix[node] = true;
    unsigned child = state.Model.Child[node];
    if (child >= kTreeSize) {
        unsigned shift = kPrefixBits - depth;
        for (unsigned i = 0; i < (1u << shift); ++i)
            SetPrefixEntry(state.Prefix[(code << shift) | i], depth, path);
        return;
    }
    for (unsigned bit = 0; bit < 2; ++bit) {
        path[depth] = static_cast<uint16_t>(child + bit);
        if (depth + 1 == kPrefixBits) {
            SetPrefixEntry(state.Prefix[(code << 1) | bit], kPrefixBits, path);
        } else {
            FillPrefix(state, child + bit, depth + 1, (code << 1) | bit, path);
        }
    }
}

// After `node` has taken another subtree: fills again the entries that lead through it.
void RefillPrefix(LzhDecodeState& state, unsigned node) {
    const LzhModel& model = state.Model;
    // The nodes from `node` up, until the root or until it is too deep to matter.
    uint16_t upward[kPrefixBits];
    unsigned depth = 0;
    for (unsigned n = node; n != kRootNode; n = model.Parent[n]) {
        if (depth == kPrefixBits - 1) return;
        upward[depth++] = static_cast<uint16_t>(n);
    }
    uint16_t path[kPrefixBits] = {};
    unsigned code = 0;
    for (unsigned level = 0; level < depth; ++level) {
        unsigned n = upward[depth - 1 - level];
        path[level] = static_cast<uint16_t>(n);
        code = (code << 1) | (n - model.Child[model.Parent[n]]);
    }
    FillPrefix(state, node, depth, code, path);
}

void BuildPrefix(LzhDecodeState& state) {
    std::memset(state.InPrefix, 0, sizeof state.InPrefix);
    uint16_t path[kPrefixBits] = {};
    FillPrefix(state, kRootNode, 0, 0, path);
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

    // The nodes from the root down to the current symbol's leaf; no code is longer than the
    // tree has nodes.
    uint16_t path[kTreeSize + kPrefixBits];
    path[0] = kRootNode;
    BuildPrefix(*state);
    auto watchSwap = [&state](unsigned a, unsigned b) {
        if (state->InPrefix[a]) RefillPrefix(*state, a);
        if (state->InPrefix[b]) RefillPrefix(*state, b);
    };

    while (produced < OutputSize && ContinueFlag) {
        // At least 9 bits are in hand after a top-up, so the prefix can be peeked.
        if (count <= 8) topUp(1);
        const PrefixEntry& entry = state->Prefix[bits >> (32 - kPrefixBits)];
        unsigned depth = entry.Depth;
        topUp(depth);
        bits <<= depth;
        count -= depth;
        std::memcpy(path + 1, entry.Path, sizeof entry.Path);
        // From the table, not from the copy just made: the load need not wait for the store.
        unsigned node = model.Child[entry.Path[depth - 1]];
        while (node < kTreeSize) {
            if (count <= 8) topUp(1);
            unsigned next = node + (bits >> 31);
            path[++depth] = static_cast<uint16_t>(next);
            node = model.Child[next];
            bits <<= 1;
            --count;
        }
        unsigned symbol = node - kTreeSize;
        if (__builtin_expect(model.Freq[kRootNode] == kRebuildLimit, false)) {
            model.UpdateModel(symbol, watchSwap);
            BuildPrefix(*state);
        } else {
            model.UpdateAlong(path, depth, watchSwap);
        }

        if (symbol < 256) {
            ring[ringPos] = static_cast<uint8_t>(symbol);
            Write(&ring[ringPos], 1, &taken);
            ringPos = (ringPos + 1) & (kRingSize - 1);
            ++produced;
            continue;
        }

        // The first eight bits of the position tell how many more follow.
        topUp(8);
        unsigned first = bits >> 24;
        unsigned width = 8 + kPositionTables.Length[first] - 2u;
        topUp(width);
        unsigned low = (bits >> (32 - width)) & 0x3F;
        bits <<= width;
        count -= width;
        unsigned position = (unsigned(kPositionTables.Upper[first]) << 6) | low;

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
