#include "payload/lzh/lzh_match_finder.h"

#include <cstring>

namespace tidemark {
namespace lzh {

namespace {

constexpr unsigned kHashBits = 15;
constexpr uint32_t kNone = 0xFFFFFFFFu;
// Twice the window, so a link is never overwritten while its position can still be matched.
constexpr size_t kPrevMask = 2 * kRingSize - 1;
constexpr size_t kPadding = 64;

unsigned CommonLength(const uint8_t* a, const uint8_t* b, unsigned limit) {
    unsigned n = 0;
    while (n < limit) {
        uint64_t x, y;
        std::memcpy(&x, a + n, 8);
        std::memcpy(&y, b + n, 8);
        uint64_t diff = x ^ y;
        if (diff) {
            n += static_cast<unsigned>(__builtin_ctzll(diff)) / 8;
            break;
        }
        n += 8;
    }
    return n < limit ? n : limit;
}

}  // namespace

MatchFinder::MatchFinder(const uint8_t* data, size_t size, unsigned maxChain)
    : history_(InputStart() + size + kPadding, 0),
      end_(InputStart() + size),
      maxChain_(maxChain),
      head_(size_t(1) << kHashBits, kNone),
      prev_(kPrevMask + 1, kNone) {
    std::memset(history_.data(), ' ', InputStart());
    if (size) std::memcpy(history_.data() + InputStart(), data, size);
    for (size_t pos = 0; pos < InputStart(); ++pos) Skip(pos);
}

unsigned MatchFinder::Hash(size_t pos) const {
    const uint8_t* p = &history_[pos];
    uint32_t v = uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16;
    return (v * 2654435761u) >> (32 - kHashBits);
}

void MatchFinder::Insert(size_t pos, unsigned hash) {
    prev_[pos & kPrevMask] = head_[hash];
    head_[hash] = static_cast<uint32_t>(pos);
}

void MatchFinder::Skip(size_t pos) {
    if (pos + kMinMatch <= end_) Insert(pos, Hash(pos));
}

unsigned MatchFinder::FindAndInsert(size_t pos, unsigned maxLength, Match* out) {
    if (pos + kMinMatch > end_) return 0;
    unsigned hash = Hash(pos);
    unsigned count = 0;
    if (maxLength >= kMinMatch) {
        const uint8_t* cur = &history_[pos];
        unsigned best = kMinMatch - 1;
        uint32_t cand = head_[hash];
        for (unsigned chain = maxChain_; cand != kNone && pos - cand <= kRingSize && chain > 0;
             --chain) {
            const uint8_t* c = &history_[cand];
            if (c[best] == cur[best] && c[0] == cur[0] && c[1] == cur[1]) {
                unsigned length = CommonLength(c, cur, maxLength);
                if (length > best) {
                    best = length;
                    out[count++] = {static_cast<uint16_t>(length),
                                    static_cast<uint16_t>(pos - cand)};
                    if (length >= maxLength) break;
                }
            }
            cand = prev_[cand & kPrevMask];
        }
    }
    Insert(pos, hash);
    return count;
}

}  // namespace lzh
}  // namespace tidemark
