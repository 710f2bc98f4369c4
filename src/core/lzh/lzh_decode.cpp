#include "core/lzh/lzh_decode.h"

#include <cstring>
#include <memory>
#include <new>

#include "core/error.h"
#include "core/lzh/lzh_model.h"
#include "core/lzh/lzh_position_code.h"

namespace tidemark {

namespace {

using namespace lzh;

// The first bits of a code are looked up rather than walked. The table maps the next
// kPrefixBits bits to the nodes they lead through, down to the node reached after those bits or
// the leaf reached sooner. It depends only on the nodes less than kPrefixBits deep: when one of
// those changes place, the entries below it are filled again; when the tree is rebuilt, the
// whole table is. The nodes passed through also spare the model's update most parent look-ups.
constexpr unsigned kPrefixBits = 8;
// At least 8 bits are in hand before every symbol (see LzhDecode).
static_assert(kPrefixBits <= 8, "a longer look ahead would need reads that the code may not");

struct PrefixEntry {
    uint16_t Depth;
    uint16_t Path[kPrefixBits];  // the nodes at depths 1 to Depth
};

// Where a node less than kPrefixBits deep sat when the table was last filled below it. An
// exchange of two nodes leaves both places where they were (only what hangs below them moves),
// so a place found here still holds when one of its nodes is exchanged, unless a move higher
// up has since carried the node deeper; the table itself tells (see AtPlace).
struct PrefixPlace {
    uint8_t Depth;   // 1 to kPrefixBits - 1; 0 for a node never placed
    uint16_t First;  // the first entry below it
};

// Everything one run owns; nothing survives from one run to the next.
struct LzhDecodeState {
    LzhModel Model;
    uint8_t Ring[kRingSize];
    PrefixEntry Prefix[1u << kPrefixBits];
    PrefixPlace Place[kTreeSize];
};

void SetPrefixEntry(PrefixEntry& entry, unsigned depth, const uint16_t* path) {
    entry.Depth = static_cast<uint16_t>(depth);
    std::memcpy(entry.Path, path, sizeof entry.Path);
}

// The path of a leaf less than kPrefixBits deep goes on with spare nodes, for the model's
// update (see LzhModel::UpdateAlong); path[level - 1] holds the node at depth level.
void PadPath(uint16_t* path, unsigned depth) {
    for (unsigned level = depth + 1; level <= kPrefixBits; ++level)
        path[level - 1] = static_cast<uint16_t>(LzhModel::SpareNode(level - 1));
}

// Fills the entries whose bits lead through `node`, which lies `depth` deep (1 to
// kPrefixBits - 1) above the entries from `first` on; path[0 .. depth - 1] holds the nodes from
// depth 1 down to node.
void FillPrefix(LzhDecodeState& state, unsigned node, unsigned depth, unsigned first,
                uint16_t* path) {
    state.Place[node] = {static_cast<uint8_t>(depth), static_cast<uint16_t>(first)};
    unsigned child = state.Model.Child[node];
    if (child >= kTreeSize) {
        PadPath(path, depth);
        for (unsigned i = 0; i < (1u << (kPrefixBits - depth)); ++i)
            SetPrefixEntry(state.Prefix[first + i], depth, path);
        return;
    }
    if (depth + 1 == kPrefixBits) {
        path[depth] = static_cast<uint16_t>(child);
        SetPrefixEntry(state.Prefix[first], kPrefixBits, path);
        path[depth] = static_cast<uint16_t>(child + 1);
        SetPrefixEntry(state.Prefix[first + 1], kPrefixBits, path);
        return;
    }
    unsigned half = 1u << (kPrefixBits - 1 - depth);
    path[depth] = static_cast<uint16_t>(child);
    FillPrefix(state, child, depth + 1, first, path);
    path[depth] = static_cast<uint16_t>(child + 1);
    FillPrefix(state, child + 1, depth + 1, first + half, path);
}

// Whether `node` still sits where its place says (a move higher up may have carried it
// deeper since: then another node, or a shorter code, is found there).
bool AtPlace(const LzhDecodeState& state, unsigned node, PrefixPlace place) {
    const PrefixEntry& entry = state.Prefix[place.First];
    return place.Depth != 0 && entry.Depth >= place.Depth && entry.Path[place.Depth - 1] == node;
}

// After `node` has taken another subtree: fills again the entries that lead through it, if it
// is still less than kPrefixBits deep.
void RefillPrefix(LzhDecodeState& state, unsigned node) {
    PrefixPlace place = state.Place[node];
    if (!AtPlace(state, node, place)) return;
    uint16_t path[kPrefixBits];
    std::memcpy(path, state.Prefix[place.First].Path, sizeof path);
    FillPrefix(state, node, place.Depth, place.First, path);
}

// Nodes a and b have exchanged what hangs below them. When both are one level above the
// table's depth (most exchanges that touch the table), the nodes below them are not placed and
// their entries differ only in their last node and depth: these trade places.
void Exchanged(LzhDecodeState& state, unsigned a, unsigned b) {
    PrefixPlace placeA = state.Place[a], placeB = state.Place[b];
    if ((placeA.Depth | placeB.Depth) == 0) return;
    if (placeA.Depth == kPrefixBits - 1 && placeB.Depth == kPrefixBits - 1 &&
        AtPlace(state, a, placeA) && AtPlace(state, b, placeB)) {
        for (unsigned i = 0; i < 2; ++i) {  // the two entries below each
            PrefixEntry& x = state.Prefix[placeA.First + i];
            PrefixEntry& y = state.Prefix[placeB.First + i];
            uint16_t depth = x.Depth, last = x.Path[kPrefixBits - 1];
            x.Depth = y.Depth;
            x.Path[kPrefixBits - 1] = y.Path[kPrefixBits - 1];
            y.Depth = depth;
            y.Path[kPrefixBits - 1] = last;
        }
        return;
    }
    RefillPrefix(state, a);
    RefillPrefix(state, b);
}

void BuildPrefix(LzhDecodeState& state) {
    std::memset(state.Place, 0, sizeof state.Place);
    uint16_t path[kPrefixBits] = {};
    unsigned child = state.Model.Child[kRootNode];
    for (unsigned bit = 0; bit < 2; ++bit) {
        path[0] = static_cast<uint16_t>(child + bit);
        FillPrefix(state, child + bit, 1, bit << (kPrefixBits - 1), path);
    }
}

// One byte from the source. Anything but exactly one byte delivered (end of input, a failed
// read, a stop) counts as a zero byte. Out of line: it keeps the decoding loop's registers
// for the loop.
__attribute__((noinline)) uint32_t ReadByte(ReadProc Read) {
    uint8_t byte = 0;
    uint16_t actual = 0;
    Read(&byte, 1, &actual);
    return actual == 1 ? byte : 0;
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
    // Counts down; the last match may carry it past zero, by less than a match.
    int32_t remaining = OutputSize;
    uint16_t taken = 0;
    if (remaining <= 0 || !ContinueFlag) return;

    // The bit reservoir, left-aligned, and how many of its bits are valid. Before each bit is
    // used it must hold at least 9, topped up one byte per ReadProc call: so the caller sees
    // the reads fall between the writes exactly where such a reservoir puts them. No writes
    // come between the bits of one symbol (code and position), so the reads for them may be
    // made in one go, as long as there are no more of them than the last bit needs: to take n
    // bits, top up to n + 8. After that at least 8 bits are left, enough to look ahead into
    // the next code or position without a read.
    uint32_t bits = 0;
    unsigned count = 0;
    auto fetch = [&] {
        bits |= ReadByte(Read) << (24 - count);
        count += 8;
    };
    // The first of the two bytes that the first bit needs.
    fetch();

    // The nodes from the root down to the current symbol's leaf; no code is longer than the
    // tree has nodes.
    uint16_t path[kTreeSize + kPrefixBits];
    path[0] = kRootNode;
    BuildPrefix(*state);
    auto watchSwap = [&state](unsigned a, unsigned b) { Exchanged(*state, a, b); };

    do {
        const PrefixEntry& entry = state->Prefix[bits >> (32 - kPrefixBits)];
        unsigned depth = entry.Depth;
        if (count < depth + 8) fetch();
        bits <<= depth;
        count -= depth;
        std::memcpy(path + 1, entry.Path, sizeof entry.Path);
        // From the table, not from the copy just made: the load need not wait for the store.
        unsigned node = model.Child[entry.Path[depth - 1]];
        while (node < kTreeSize) {
            if (count <= 8) fetch();
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
            // The spare nodes below a short code come with the entry, which no exchange has
            // changed yet.
            model.UpdateAlong<kPrefixBits>(path, depth, entry.Path, watchSwap);
        }

        if (symbol < 256) {
            ring[ringPos] = static_cast<uint8_t>(symbol);
            Write(&ring[ringPos], 1, &taken);
            ringPos = (ringPos + 1) & (kRingSize - 1);
            --remaining;
            continue;
        }

        // The first eight bits of the position tell how many more follow.
        unsigned first = bits >> 24;
        unsigned width = kPositionTables.Length[first] + 6u;
        while (count < width + 8) fetch();
        unsigned low = (bits >> (32 - width)) & 0x3F;
        bits <<= width;
        count -= width;
        unsigned position = (unsigned(kPositionTables.Upper[first]) << 6) | low;

        unsigned from = (ringPos - position - 1) & (kRingSize - 1);
        unsigned length = MatchLength(symbol);
        remaining -= static_cast<int32_t>(length);
        if (ringPos + length <= kRingSize && from + length <= kRingSize) {
            // Neither end wraps: plain pointers. Byte by byte, so that a match may repeat the
            // bytes it is producing.
            uint8_t* out = ring + ringPos;
            const uint8_t* in = ring + from;
            uint8_t* end = out + length;
            do {
                *out = *in++;
                Write(out, 1, &taken);
            } while (++out != end);
            ringPos = (ringPos + length) & (kRingSize - 1);
            continue;
        }
        do {
            ring[ringPos] = ring[from];
            Write(&ring[ringPos], 1, &taken);
            ringPos = (ringPos + 1) & (kRingSize - 1);
            from = (from + 1) & (kRingSize - 1);
        } while (--length != 0);
    } while (remaining > 0 && ContinueFlag);
}

}  // namespace tidemark
