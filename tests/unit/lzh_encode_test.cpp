// The encoder: every parse gives back its input through the decoder, the cost-based parse pays
// off, and the match finder reports what an exhaustive search of the window finds.
#include "payload/lzh/lzh_encode.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "payload/lzh/lzh_match_finder.h"
#include "stream.h"

namespace tidemark {
namespace {

using Bytes = std::vector<uint8_t>;

// Bytes from `letters` letters, a third of the time a stretch copied from up to 5000 bytes back
// (so some copies lie beyond the window).
Bytes Sample(size_t n, unsigned letters, unsigned seed) {
    std::mt19937 random(seed);
    Bytes out;
    while (out.size() < n) {
        if (out.size() > 100 && random() % 3 == 0) {
            size_t from = out.size() - 1 - random() % std::min<size_t>(out.size() - 1, 5000);
            for (size_t k = 0, len = 3 + random() % 70; k < len; ++k) out.push_back(out[from + k]);
        } else {
            out.push_back(uint8_t('a' + random() % letters));
        }
    }
    out.resize(n);
    return out;
}

Bytes Encode(const Bytes& data, LzhParse parse) {
    return LzhEncode(data.data(), data.size(), {parse, {}});
}

TEST(LzhEncode, EveryParseRoundTrips) {
    Bytes mixed = Sample(300000, 12, 1), noise = Sample(150000, 256, 2);  // many rebuilds
    mixed.insert(mixed.end(), noise.begin(), noise.end());
    mixed.insert(mixed.end(), 200000, ' ');
    for (const Bytes& data : {Bytes{}, Bytes{'A'}, Bytes(61, 0), mixed}) {
        for (LzhParse parse : {LzhParse::Greedy, LzhParse::Lazy, LzhParse::Optimal}) {
            Bytes back = mkdisks::Decompress(Encode(data, parse), int32_t(data.size())).Output;
            EXPECT_TRUE(back == data) << "parse " << int(parse) << ", " << data.size() << " bytes";
        }
    }
}

// The cost-based parse, the default, must pay off against the simpler ones.
TEST(LzhEncode, CostBasedParseBeatsTheOthers) {
    Bytes data = Sample(400000, 12, 3);
    size_t optimal = Encode(data, LzhParse::Optimal).size();
    EXPECT_LT(optimal, Encode(data, LzhParse::Lazy).size());
    EXPECT_LT(optimal, Encode(data, LzhParse::Greedy).size());
}

// Compares every position with an exhaustive search of the window: nearest first, each strictly
// longer than the one before. Returns the positions with a match.
size_t ExpectExhaustive(const Bytes& data, lzh::MatchFinder::Chains chains) {
    using namespace lzh;
    MatchFinder finder(data.data(), data.size(), 1u << 20, chains);
    const uint8_t* history = finder.History();
    Match out[MatchFinder::kMaxMatches];
    size_t withMatches = 0, mismatches = 0;
    for (size_t pos = MatchFinder::InputStart(); pos < finder.End(); ++pos) {
        unsigned maxLength = unsigned(std::min<size_t>(kMaxMatch, finder.End() - pos));
        unsigned count = finder.FindAndInsert(pos, maxLength, out);
        std::string found, expected;
        for (unsigned i = 0; i < count; ++i)
            found += std::to_string(out[i].Length) + "@" + std::to_string(out[i].Distance) + " ";
        unsigned best = maxLength >= kMinMatch ? kMinMatch - 1 : maxLength;
        for (size_t distance = 1; distance <= kRingSize && distance <= pos; ++distance) {
            unsigned length = 0;
            while (length < maxLength && history[pos - distance + length] == history[pos + length])
                ++length;
            if (length > best) {
                best = length;
                expected += std::to_string(length) + "@" + std::to_string(distance) + " ";
            }
        }
        if (found != expected && ++mismatches <= 5)
            ADD_FAILURE() << "input byte " << pos - MatchFinder::InputStart() << ": found " << found
                          << "expected " << expected;
        withMatches += count > 0;
    }
    return withMatches;
}

TEST(LzhMatchFinder, ReportsTheNearestOccurrenceOfEveryLength) {
    for (auto chains : {lzh::MatchFinder::Chains::Chain3, lzh::MatchFinder::Chains::Chain4}) {
        // Few letters: every position has many candidates and lengths climb step by step.
        EXPECT_GT(ExpectExhaustive(Sample(12000, 3, 1), chains), 1000u);
        EXPECT_GT(ExpectExhaustive(Sample(20000, 256, 3), chains), 1000u);
        // A repeat exactly one window back is in reach; one byte further is not.
        Bytes block = Sample(lzh::kRingSize, 200, 4), inReach = block, outOfReach = block;
        inReach.insert(inReach.end(), block.begin(), block.begin() + 500);
        outOfReach.push_back('!');
        outOfReach.insert(outOfReach.end(), block.begin(), block.begin() + 500);
        EXPECT_GT(ExpectExhaustive(inReach, chains), 490u);
        ExpectExhaustive(outOfReach, chains);
        // Spaces at the very start match the ring's start-up spaces, as long as the input lasts.
        ExpectExhaustive(Bytes(70, ' '), chains);
        ExpectExhaustive(Bytes(4, ' '), chains);
    }
}

}  // namespace
}  // namespace tidemark
