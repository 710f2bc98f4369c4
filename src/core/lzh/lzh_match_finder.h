// Hash-chain match finder over the encoder's view of the stream: the ring's initial spaces
// followed by the input, so that matches into the spaces the decoder starts with are found like
// any other. Part of the vendor's encoder only.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/lzh/lzh_model.h"

namespace tidemark {
namespace lzh {

struct Match {
    uint16_t Length;
    uint16_t Distance;  // 1 to 4096: the byte written last is at distance 1
};

class MatchFinder {
public:
    // How candidates are gathered. Chain3: one chain of every earlier position with the same
    // three-byte hash, at most maxChain of them looked at. Chain4: the nearest three-byte
    // occurrence from the three-byte chain, then maxChain positions of a four-byte chain, which
    // skips the many places that share only three bytes and so reaches much further back for
    // the same work.
    enum class Chains { Chain3, Chain4 };

    // data/size: the input. Positions passed to the finder are indices into History(), where
    // the input starts at InputStart().
    MatchFinder(const uint8_t* data, size_t size, unsigned maxChain,
                Chains chains = Chains::Chain3);

    static constexpr size_t InputStart() { return kFirstRingPos; }
    const uint8_t* History() const { return history_.data(); }
    size_t End() const { return end_; }

    // Matches at position pos, nearest first, each strictly longer than the one before, none
    // longer than maxLength; writes at most kMaxMatches and returns their number. Then records
    // pos so later positions can match it. Positions must be visited in order, each once, with
    // either this or Skip().
    unsigned FindAndInsert(size_t pos, unsigned maxLength, Match* out);
    // Records pos without searching.
    void Skip(size_t pos);

    static constexpr unsigned kMaxMatches = 64;

private:
    struct Chain {
        std::vector<uint32_t> Head;
        std::vector<uint32_t> Prev;
    };

    unsigned Hash3(size_t pos) const;
    unsigned Hash4(size_t pos) const;
    static void Insert(Chain& chain, size_t pos, unsigned hash);
    // Looks at up to `steps` positions of chain from its head for hash, reporting each that
    // matches longer than *best (which it raises).
    unsigned Walk(const Chain& chain, unsigned hash, size_t pos, unsigned steps, unsigned maxLength,
                  unsigned* best, Match* out) const;

    std::vector<uint8_t> history_;  // spaces, input, then zero padding for wide compares
    size_t end_;
    unsigned maxChain_;
    Chains chains_;
    Chain chain3_;
    Chain chain4_;  // used with Chains::Chain4 only
};

}  // namespace lzh
}  // namespace tidemark
