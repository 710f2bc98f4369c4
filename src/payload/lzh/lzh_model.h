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
    // Node counts; Freq[kTreeSize] is a sentinel larger than any count, which ends the search
    // for a node's new place.
    uint16_t Freq[kTreeSize + 1];
    // For an internal node its bit-0 child (the bit-1 child follows it); for a leaf, the
    // symbol + kTreeSize.
    uint16_t Child[kTreeSize];
    // Parent of each node, and, from kTreeSize on, the leaf of each symbol.
    uint16_t Parent[kTreeSize + kSymbolCount];

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
        Freq[kTreeSize] = 0xFFFF;
        Parent[kRootNode] = 0;
    }

    // Halves every leaf count, rounding up, and rebuilds the internal nodes so that each new
    // node goes after every node whose count does not exceed its own.
    void RebuildTree() {
        unsigned j = 0;
        for (unsigned i = 0; i < kTreeSize; ++i) {
            if (Child[i] >= kTreeSize) {
                Freq[j] = static_cast<uint16_t>((Freq[i] + 1u) / 2u);
                Child[j] = Child[i];
                ++j;
            }
        }
        for (unsigned i = 0, j2 = kSymbolCount; j2 < kTreeSize; i += 2, ++j2) {
            uint16_t f = static_cast<uint16_t>(Freq[i] + Freq[i + 1]);
            unsigned k = j2 - 1;
            while (f < Freq[k]) --k;
            ++k;
            std::memmove(&Freq[k + 1], &Freq[k], (j2 - k) * sizeof Freq[0]);
            std::memmove(&Child[k + 1], &Child[k], (j2 - k) * sizeof Child[0]);
            Freq[k] = f;
            Child[k] = static_cast<uint16_t>(i);
        }
        for (unsigned i = 0; i < kTreeSize; ++i) {
            unsigned k = Child[i];
            Parent[k] = static_cast<uint16_t>(i);
            if (k < kTreeSize) Parent[k + 1] = static_cast<uint16_t>(i);
        }
    }

    // Counts one occurrence of symbol s, keeping the counts in non-decreasing order by moving
    // each incremented node past the run of nodes that now count less than it.
    void UpdateModel(unsigned s) {
        if (Freq[kRootNode] == kRebuildLimit) RebuildTree();
        unsigned node = Parent[s + kTreeSize];
        do {
            unsigned k = ++Freq[node];
            if (k > Freq[node + 1]) {
                unsigned l = node + 1;
                // Runs of equal counts can be hundreds of nodes long (every leaf starts at
                // 1); stride through them before the final step-by-step approach.
                while (l + 8 <= kTreeSize && k > Freq[l + 8]) l += 8;
                while (k > Freq[l + 1]) ++l;
                Freq[node] = Freq[l];
                Freq[l] = static_cast<uint16_t>(k);
                unsigned i = Child[node];
                Parent[i] = static_cast<uint16_t>(l);
                if (i < kTreeSize) Parent[i + 1] = static_cast<uint16_t>(l);
                unsigned j = Child[l];
                Child[l] = static_cast<uint16_t>(i);
                Parent[j] = static_cast<uint16_t>(node);
                if (j < kTreeSize) Parent[j + 1] = static_cast<uint16_t>(node);
                Child[node] = static_cast<uint16_t>(j);
                node = l;
            }
            node = Parent[node];
        } while (node != 0);
    }
};

}  // namespace lzh
}  // namespace tidemark
