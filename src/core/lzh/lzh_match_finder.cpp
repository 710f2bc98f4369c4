#include "core/lzh/lzh_match_finder.h"

#include <cstring>

namespace tidemark {
namespace lzh {

namespace {

constexpr unsigned kHash3Bits = 15;
constexpr unsigned kHash4Bits = 16;
constexpr uint32_t kNone = 0xFFFFFFFFu;
// Twice the window, so a link is never overwritten while its position can still be matched.
constexpr size_t kPrevMask = 2 * kRingSize - 1;
constexpr size_t kPadding = 64;
// With a four-byte chain the three-byte chain is only asked for its nearest true occurrence;
// hash collisions are all that can stand before it.
constexpr unsigned kNearestSteps = 16;

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

MatchFinder::MatchFinder(const uint8_t* data, size_t size, unsigned maxChain, Chains chains)
    : history_(InputStart() + size + kPadding, 0),
      end_(InputStart() + size),
      maxChain_(maxChain),
      chains_(chains) {
    chain3_.Head.assign(size_t(1) << kHash3Bits, kNone);
    chain3_.Prev.assign(kPrevMask + 1, kNone);
    if (chains_ == Chains::Chain4) {
        chain4_.Head.assign(size_t(1) << kHash4Bits, kNone);
        chain4_.Prev.assign(kPrevMask + 1, kNone);
    }
    std::memset(history_.data(), ' ', InputStart());
    if (size) std::memcpy(history_.data() + InputStart(), data, size);
    for (size_t pos = 0; pos < InputStart(); ++pos) Skip(pos);
}

unsigned MatchFinder::Hash3(size_t pos) const {
    const uint8_t* p = &history_[pos];
    uint32_t v = uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16;
    return (v * 2654435761u) >> (32 - kHash3Bits);
}

unsigned MatchFinder::Hash4(size_t pos) const {
    uint32_t v;
    std::memcpy(&v, &history_[pos], sizeof v);
    return (v * 2654435761u) >> (32 - kHash4Bits);
}

void MatchFinder::Insert(Chain& chain, size_t pos, unsigned hash) {
    chain.Prev[pos & kPrevMask] = chain.Head[hash];
    chain.Head[hash] = static_cast<uint32_t>(pos);
}

void MatchFinder::Skip(size_t pos) {
    if (pos + kMinMatch <= end_) Insert(chain3_, pos, Hash3(pos));
    if (chains_ == Chains::Chain4 && pos + 4 <= end_) Insert(chain4_, pos, Hash4(pos));
}

unsigned MatchFinder::Walk(const Chain& chain, unsigned hash, size_t pos, unsigned steps,
                           unsigned maxLength, unsigned* best, Match* out) const {
    const uint8_t* cur = &history_[pos];
    unsigned count = 0;
    uint32_t cand = chain.Head[hash];
    for (; cand != kNone && pos - cand <= kRingSize && steps > 0; --steps) {
        const uint8_t* c = &history_[cand];
        if (c[*best] == cur[*best] && c[0] == cur[0] && c[1] == cur[1]) {
            unsigned length = CommonLength(c, cur, maxLength);
            if (length > *best) {
                *best = length;
                out[count++] = {static_cast<uint16_t>(length), static_cast<uint16_t>(pos - cand)};
                if (length >= maxLength) break;
            }
        }
        cand = chain.Prev[cand & kPrevMask];
    }
    return count;
}

unsigned MatchFinder::FindAndInsert(size_t pos, unsigned maxLength, Match* out) {
    if (pos + kMinMatch > end_) return 0;
    unsigned hash3 = Hash3(pos);
    unsigned count = 0;
    if (maxLength >= kMinMatch) {
        unsigned best = kMinMatch - 1;
        if (chains_ == Chains::Chain3) {
            count = Walk(chain3_, hash3, pos, maxChain_, maxLength, &best, out);
        } else {
            // A short walk finds the nearest three-byte occurrence; the deeper one goes on from
            // the length that found.
            count = Walk(chain3_, hash3, pos, kNearestSteps, maxLength, &best, out);
            if (best < maxLength && pos + 4 <= end_)
                count += Walk(chain4_, Hash4(pos), pos, maxChain_, maxLength, &best, out + count);
        }
    }
    Insert(chain3_, pos, hash3);
    if (chains_ == Chains::Chain4 && pos + 4 <= end_) Insert(chain4_, pos, Hash4(pos));
    return count;
}

}  // namespace lzh
}  // namespace tidemark
