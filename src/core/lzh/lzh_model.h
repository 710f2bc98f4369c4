// The adaptive Huffman model shared by the decoder and the encoder, and the constants of the
// stream format. Every rule here is part of the format: the encoder must update its copy of the
// model exactly as the decoder does, symbol by symbol, or the two drift apart.
#pragma once

#include <cstdint>
#include <cstring>

namespace tidemark {
namespace lzh {

constexpr unsigned kRingSize = 4096;
constexpr unsigned kMaxMatch = 60;
constexpr unsigned kMatchThreshold = 2;
constexpr unsigned kMinMatch = kMatchThreshold + 1;
constexpr unsigned kSymbolCount = 256 + kMaxMatch - kMatchThreshold;  // 314
constexpr unsigned kTreeSize = 2 * kSymbolCount - 1;                  // 627
constexpr unsigned kRootNode = kTreeSize - 1;                         // 626
constexpr unsigned kRebuildLimit = 0x8000;
// The ring starts as spaces up to here; the first byte produced goes to this position.
constexpr unsigned kFirstRingPos = kRingSize - kMaxMatch;  // 4036

constexpr unsigned MatchSymbol(unsigned length) { return length + 253; }
constexpr unsigned MatchLength(unsigned symbol) { return symbol - 253; }

struct LzhModel {
    // Spare nodes after the tree, for an update along a path padded to a fixed length (see
    // UpdateAlong). Each is followed by a sentinel, so it never counts the same as its right
    // neighbour; its own count is set back at every rebuild, between which it grows by at most
    // one per symbol, far from reaching the sentinel's.
    static constexpr unsigned kSpareNodes = 8;
    static constexpr unsigned SpareNode(unsigned i) { return kTreeSize + 4 + 2 * i; }

    // Node counts; Freq[kTreeSize] is a sentinel larger than any count, which ends the search
    // for a node's new place. Three more sentinels let that search read four counts at a time.
    // Then the spare nodes.
    uint16_t Freq[kTreeSize + 4 + 2 * kSpareNodes];
    // For an internal node its bit-0 child (the bit-1 child follows it); for a leaf, the
    // symbol + kTreeSize.
    uint16_t Child[kTreeSize];
    // Parent of each node, and, from kTreeSize on, the leaf of each symbol; one scratch entry
    // after them (see SecondChild).
    uint16_t Parent[kTreeSize + kSymbolCount + 1];

    void InitTree() {
        for (unsigned i = 0; i < kSymbolCount; ++i) {
            Freq[i] = 1;
            Child[i] = static_cast<uint16_t>(i + kTreeSize);
            Parent[i + kTreeSize] = static_cast<uint16_t>(i);
        }
        for (unsigned i = 0, j = kSymbolCount; j <= kRootNode; i += 2, ++j) {
            Freq[j] = static_cast<uint16_t>(Freq[i] + Freq[i + 1]);
            Child[j] = static_cast<uint16_t>(i);
            Parent[i] = Parent[i + 1] = static_cast<uint16_t>(j);
        }
        for (unsigned i = kTreeSize; i < kTreeSize + 4; ++i) Freq[i] = 0xFFFF;
        for (unsigned i = 0; i < kSpareNodes; ++i) Freq[SpareNode(i) + 1] = 0xFFFF;
        ResetSpares();
        Parent[kRootNode] = 0;
    }

    // Halves every leaf count, rounding up, and rebuilds the internal nodes: each new node joins
    // the two lowest unpaired nodes and goes after every node whose count does not exceed its
    // own. The new counts never decrease and always go above the pair they join, so the order
    // that insertion produces is a merge of the sorted leaves with the new nodes, a leaf going
    // first on equal counts; it is built here in one pass.
    void RebuildTree() {
        uint16_t leafFreq[kSymbolCount], leafChild[kSymbolCount];
        unsigned leaves = 0;
        for (unsigned i = 0; i < kTreeSize; ++i) {
            if (Child[i] >= kTreeSize) {
                leafFreq[leaves] = static_cast<uint16_t>((Freq[i] + 1u) / 2u);
                leafChild[leaves] = Child[i];
                ++leaves;
            }
        }
        // Internal nodes made so far, in order of making (their counts never decrease).
        uint16_t nodeFreq[kSymbolCount - 1], nodeChild[kSymbolCount - 1];
        unsigned made = 0, placedNodes = 0, placedLeaves = 0;
        for (unsigned t = 0; t < kTreeSize; ++t) {
            // Pair every two placed entries not yet paired.
            while (2 * made + 1 < t) {
                nodeFreq[made] = static_cast<uint16_t>(Freq[2 * made] + Freq[2 * made + 1]);
                nodeChild[made] = static_cast<uint16_t>(2 * made);
                ++made;
            }
            bool leafNext =
                placedLeaves < kSymbolCount &&
                (placedNodes == made || leafFreq[placedLeaves] <= nodeFreq[placedNodes]);
            if (leafNext) {
                Freq[t] = leafFreq[placedLeaves];
                Child[t] = leafChild[placedLeaves++];
            } else {
                Freq[t] = nodeFreq[placedNodes];
                Child[t] = nodeChild[placedNodes++];
            }
        }
        for (unsigned i = 0; i < kTreeSize; ++i) {
            unsigned k = Child[i];
            Parent[k] = static_cast<uint16_t>(i);
            if (k < kTreeSize) Parent[k + 1] = static_cast<uint16_t>(i);
        }
        ResetSpares();
    }

    // Counts one occurrence of symbol s, keeping the counts in non-decreasing order by moving
    // each incremented node past the run of nodes that now count less than it. `swapped` is
    // told of every exchange of two nodes' places.
    template <typename SwapWatcher>
    void UpdateModel(unsigned s, SwapWatcher&& swapped) {
        if (Freq[kRootNode] == kRebuildLimit) RebuildTree();
        CountFrom(Parent[s + kTreeSize], swapped);
    }

    void UpdateModel(unsigned s) {
        UpdateModel(s, [](unsigned, unsigned) {});
    }

    // The same as UpdateModel for the symbol at the end of `path` (the nodes from the root,
    // path[0], down to the leaf, path[depth]), which spares looking up each parent until a
    // node changes place. The tree must not be due for a rebuild.
    //
    // The nodes of depths 1 to kFixed are taken from `levels` (levels[i] at depth i + 1) and
    // counted in straight code, the same steps for every symbol: each test has a branch of its
    // own, and the length of the code, which differs from symbol to symbol, is no loop end to
    // mispredict. Below a leaf less than kFixed deep, `levels` must go on with spare nodes, a
    // different one on each level. It is read only up to the first exchange.
    template <unsigned kFixed, typename SwapWatcher>
    void UpdateAlong(const uint16_t* path, unsigned depth, const uint16_t* levels,
                     SwapWatcher&& swapped) {
        unsigned level = CountUntilTied<kFixed>(path, depth, levels);
        if (level == 0) {
            ++Freq[kRootNode];
            return;
        }
        const uint16_t* at = path + level;
        do {
            if (Tied(*at)) {
                // The path above still holds when the new place has the same parent.
                unsigned parent = Parent[Exchange(*at, Freq[*at], swapped)];
                if (parent != at[-1]) return CountFrom(parent, swapped);
            }
        } while (--at != path);
        ++Freq[kRootNode];
    }

private:
    static constexpr unsigned kScratchParent = kTreeSize + kSymbolCount;

    // Where the parent of the bit-1 child of a node whose Child entry is c is kept: a leaf has
    // no second child, and its parent goes to the scratch entry instead of a test.
    static unsigned SecondChild(unsigned c) { return c < kTreeSize ? c + 1 : kScratchParent; }

    // Counts the nodes of `path` from the leaf up (see UpdateAlong) until one must move first;
    // returns its depth, or 0 when all up to depth 1 have been counted.
    template <unsigned kFixed>
    unsigned CountUntilTied(const uint16_t* path, unsigned depth, const uint16_t* levels) {
        static_assert(kFixed >= 1 && kFixed <= kSpareNodes, "one spare node per level");
        for (unsigned level = depth; level > kFixed; --level)
            if (Tied(path[level])) return level;
#pragma GCC unroll 16
        for (unsigned level = kFixed; level != 0; --level)
            if (Tied(levels[level - 1])) return level;
        return 0;
    }

    void ResetSpares() {
        for (unsigned i = 0; i < kSpareNodes; ++i) Freq[SpareNode(i)] = 0;
    }

    // Counts one more for node, unless it counts the same as its right neighbour and must first
    // move: then it is left as it is and the result is true.
    bool Tied(unsigned node) {
        uint16_t* freq = Freq + node;
        unsigned count = freq[0];
        if (__builtin_expect(count == freq[1], false)) return true;
        freq[0] = static_cast<uint16_t>(count + 1);
        return false;
    }

    // Counts one more for node and each of its ancestors. Counts are sorted, so one more leaves
    // a node above its right neighbour exactly when the two counted the same.
    template <typename SwapWatcher>
    void CountFrom(unsigned node, SwapWatcher&& swapped) {
        // The root is counted on its own: the sentinel above it counts more, so it never moves.
        while (node != kRootNode) {
            if (Tied(node)) node = Exchange(node, Freq[node], swapped);
            node = Parent[node];
        }
        ++Freq[kRootNode];
    }

    // Node, counting `count` like its right neighbour, is about to count one more: it trades
    // places with the last node of the run that counts the same, which then counts one more.
    // Returns its new place.
    template <typename SwapWatcher>
    unsigned Exchange(unsigned node, unsigned count, SwapWatcher&& swapped) {
        unsigned l = EndOfRun(node + 1, count);
        // Freq[node] keeps its value: the node that comes to it counted the same.
        Freq[l] = static_cast<uint16_t>(count + 1);
        unsigned i = Child[node];
        unsigned j = Child[l];
        Parent[i] = static_cast<uint16_t>(l);
        Parent[SecondChild(i)] = static_cast<uint16_t>(l);
        Parent[j] = static_cast<uint16_t>(node);
        Parent[SecondChild(j)] = static_cast<uint16_t>(node);
        Child[l] = static_cast<uint16_t>(i);
        Child[node] = static_cast<uint16_t>(j);
        swapped(node, l);
        return l;
    }

    // The last index of the run of counts equal to `count` that starts at `first`. Counts are
    // sorted, so the run ends at the first count that differs; runs can be hundreds of nodes
    // long (every leaf starts at 1), so four counts are compared at a time.
    unsigned EndOfRun(unsigned first, unsigned count) const {
        static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "counts are read in groups");
        const uint64_t pattern = count * 0x0001000100010001ull;
        for (unsigned i = first;; i += 4) {
            uint64_t group;
            std::memcpy(&group, &Freq[i], sizeof group);
            if (uint64_t differ = group ^ pattern)
                return i + static_cast<unsigned>(__builtin_ctzll(differ)) / 16 - 1;
        }
    }
};

}  // namespace lzh
}  // namespace tidemark
