// Hash-chain match finder over the encoder's view of the stream: the ring's initial spaces
// followed by the input, so that matches into the spaces the decoder starts with are found like
// any other. Part of the vendor's encoder only.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "payload/lzh/lzh_model.h"

namespace tidemark {
namespace lzh {

struct Match {
    uint16_t Length;
    uint16_t Distance;  // 1 to 4096: the byte written last is at distance 1
};

class MatchFinder {
public:
    // data/size: the input. Positions passed to the finder are indices into History(), where
    // the input starts at InputStart().
    MatchFinder(const uint8_t* data, size_t size, unsigned maxChain);

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
    unsigned Hash(size_t pos) const;
    void Insert(size_t pos, unsigned hash);

    std::vector<uint8_t> history_;  // spaces, input, then zero padding for wide compares
    size_t end_;
    unsigned maxChain_;
    std::vector<uint32_t> head_;
    std::vector<uint32_t> prev_;
};

}  // namespace lzh
}  // namespace tidemark
