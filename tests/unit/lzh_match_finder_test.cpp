// The match finder against an exhaustive search of the window: with chains long enough to reach
// every earlier position, both ways of gathering candidates must report exactly the nearest
// occurrence of every length that occurs, and nothing from outside the window or past the input.
#include "payload/lzh/lzh_match_finder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace tidemark {
namespace lzh {
namespace {

using Bytes = std::vector<uint8_t>;
using Chains = MatchFinder::Chains;

// Nearest first, each strictly longer than the one before: what the finder promises.
std::vector<Match> Exhaustive(const uint8_t* history, size_t pos, unsigned maxLength) {
    std::vector<Match> found;
    unsigned best = kMinMatch - 1;
    for (size_t distance = 1; distance <= kRingSize && distance <= pos; ++distance) {
        unsigned length = 0;
        while (length < maxLength && history[pos - distance + length] == history[pos + length])
            ++length;
        if (length > best) {
            best = length;
            found.push_back({static_cast<uint16_t>(length), static_cast<uint16_t>(distance)});
        }
    }
    return found;
}

std::string Describe(const Match* matches, size_t count) {
    std::string text;
    for (size_t i = 0; i < count; ++i)
        text += std::to_string(matches[i].Length) + "@" + std::to_string(matches[i].Distance) + " ";
    return text.empty() ? "none" : text;
}

// Searches every `stride`-th position (and records the rest), comparing with the exhaustive
// search; returns how many positions had a match, so a corpus without any fails loudly.
size_t ExpectExhaustive(const Bytes& data, Chains chains, size_t stride, const std::string& what) {
    MatchFinder finder(data.data(), data.size(), 1u << 20, chains);
    const uint8_t* history = finder.History();
    Match out[MatchFinder::kMaxMatches];
    size_t withMatches = 0, mismatches = 0;
    for (size_t pos = MatchFinder::InputStart(); pos < finder.End(); ++pos) {
        if ((pos - MatchFinder::InputStart()) % stride != 0) {
            finder.Skip(pos);
            continue;
        }
        unsigned maxLength = static_cast<unsigned>(std::min<size_t>(kMaxMatch, finder.End() - pos));
        unsigned count = finder.FindAndInsert(pos, maxLength, out);
        std::vector<Match> expected =
            maxLength >= kMinMatch ? Exhaustive(history, pos, maxLength) : std::vector<Match>{};
        bool same = count == expected.size() &&
                    std::equal(out, out + count, expected.begin(), [](Match a, Match b) {
                        return a.Length == b.Length && a.Distance == b.Distance;
                    });
        if (!same && ++mismatches <= 5) {
            ADD_FAILURE() << what << ", input byte " << pos - MatchFinder::InputStart()
                          << ": found " << Describe(out, count) << ", expected "
                          << Describe(expected.data(), expected.size());
        }
        withMatches += count > 0;
    }
    EXPECT_EQ(mismatches, 0u) << what;
    return withMatches;
}

Bytes SmallAlphabet(size_t n, unsigned letters, unsigned seed) {
    std::mt19937 random(seed);
    Bytes out(n);
    for (auto& b : out) b = static_cast<uint8_t>('a' + random() % letters);
    return out;
}

// Random stretches copied from up to 5000 bytes back, so some copies lie beyond the window.
Bytes Copies(size_t n, unsigned seed) {
    std::mt19937 random(seed);
    Bytes out;
    while (out.size() < n) {
        if (out.size() > 100 && random() % 3 == 0) {
            size_t from = out.size() - 1 - random() % std::min<size_t>(out.size() - 1, 5000);
            for (size_t k = 0, len = 3 + random() % 70; k < len; ++k) out.push_back(out[from + k]);
        } else {
            out.push_back(static_cast<uint8_t>(random()));
        }
    }
    out.resize(n);
    return out;
}

const Chains kBoth[] = {Chains::Chain3, Chains::Chain4};

const char* Name(Chains chains) { return chains == Chains::Chain3 ? "three-byte" : "four-byte"; }

TEST(LzhMatchFinder, ReportsTheNearestOccurrenceOfEveryLength) {
    for (Chains chains : kBoth) {
        // Few letters: every position has many candidates and lengths climb step by step.
        EXPECT_GT(ExpectExhaustive(SmallAlphabet(12000, 3, 1), chains, 7, "three letters"), 1000u)
            << Name(chains);
        EXPECT_GT(ExpectExhaustive(SmallAlphabet(12000, 12, 2), chains, 5, "twelve letters"), 500u)
            << Name(chains);
        EXPECT_GT(ExpectExhaustive(Copies(20000, 3), chains, 3, "copies"), 1000u) << Name(chains);
    }
}

TEST(LzhMatchFinder, WindowEdgesAndTheStartUpSpaces) {
    std::mt19937 random(4);
    Bytes block(kRingSize);
    for (auto& b : block) b = static_cast<uint8_t>(random() % 200 + 40);  // no spaces
    for (Chains chains : kBoth) {
        // A repeat exactly one window back is in reach; one byte further is not.
        Bytes inReach = block, outOfReach = block;
        inReach.insert(inReach.end(), block.begin(), block.begin() + 500);
        outOfReach.push_back('!');
        outOfReach.insert(outOfReach.end(), block.begin(), block.begin() + 500);
        EXPECT_GT(ExpectExhaustive(inReach, chains, 1, "repeat at 4096"), 490u) << Name(chains);
        ExpectExhaustive(outOfReach, chains, 1, "repeat at 4097");
        // Spaces at the very start match the ring's initial spaces, at the longest length the
        // input leaves room for.
        ExpectExhaustive(Bytes(70, ' '), chains, 1, "spaces");
        ExpectExhaustive(Bytes{' ', ' ', ' ', ' '}, chains, 1, "four spaces");
    }
}

}  // namespace
}  // namespace lzh
}  // namespace tidemark
