// How much smaller any parse of an image can make the archive than a greedy longest-match parse,
// with the adaptive coder taken out of the question: both parses are priced by the ideal static
// code of their own symbol counts over the whole image (plus the position codes' exact bits),
// and the cost-based parse is repeated with the counts of its previous round until it settles.
// The matches are found by a search of the whole window.
//
//   parse_headroom IMAGE_FILE
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <vector>

#include "core/lzh/lzh_match_finder.h"
#include "core/lzh/lzh_position_code.h"
#include "corpus.h"

namespace {

using namespace tidemark::lzh;

struct Tally {
    std::vector<double> Symbols = std::vector<double>(kSymbolCount, 0.0);
    double PositionBits = 0;

    void Literal(uint8_t byte) { Symbols[byte] += 1; }
    void Match(unsigned length, unsigned distance) {
        Symbols[MatchSymbol(length)] += 1;
        PositionBits += PositionCost(distance - 1);
    }
    double Bytes() const {
        double total = 0, bits = PositionBits;
        for (double n : Symbols) total += n;
        for (double n : Symbols)
            if (n > 0) bits += n * -std::log2(n / total);
        return bits / 8;
    }
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: parse_headroom IMAGE_FILE\n");
        return 2;
    }
    std::vector<uint8_t> image;
    if (!tidemark::bench::ReadFile(argv[1], image)) {
        std::fprintf(stderr, "parse_headroom: cannot read %s\n", argv[1]);
        return 1;
    }

    // Every position's matches, nearest first, each longer than the one before.
    MatchFinder finder(image.data(), image.size(), kRingSize);
    const size_t start = MatchFinder::InputStart(), n = image.size();
    const uint8_t* bytes = finder.History() + start;
    std::vector<uint32_t> first(n + 1);
    std::vector<Match> matches;
    Match found[MatchFinder::kMaxMatches];
    for (size_t i = 0; i < n; ++i) {
        first[i] = static_cast<uint32_t>(matches.size());
        unsigned room = static_cast<unsigned>(std::min<size_t>(kMaxMatch, n - i));
        unsigned count = finder.FindAndInsert(start + i, room, found);
        matches.insert(matches.end(), found, found + count);
    }
    first[n] = static_cast<uint32_t>(matches.size());

    Tally greedy;
    for (size_t i = 0; i < n;) {
        if (first[i] == first[i + 1]) {
            greedy.Literal(bytes[i++]);
        } else {
            const Match& longest = matches[first[i + 1] - 1];
            greedy.Match(longest.Length, longest.Distance);
            i += longest.Length;
        }
    }
    std::printf("image %zu bytes\ngreedy, ideal static code: %.0f bytes\n", n, greedy.Bytes());

    Tally counts = greedy;
    std::vector<double> cost(n + 1), price(kSymbolCount);
    std::vector<Match> step(n + 1);  // how the cheapest way reaches each position
    for (int round = 1; round <= 8; ++round) {
        double total = 0;
        for (double c : counts.Symbols) total += c;
        // Half a count for unused symbols, so that the parse may still try them.
        for (unsigned s = 0; s < kSymbolCount; ++s)
            price[s] = -std::log2((counts.Symbols[s] + 0.5) / (total + 0.5 * kSymbolCount));
        std::fill(cost.begin(), cost.end(), std::numeric_limits<double>::max());
        cost[0] = 0;
        for (size_t i = 0; i < n; ++i) {
            double literal = cost[i] + price[bytes[i]];
            if (literal < cost[i + 1]) {
                cost[i + 1] = literal;
                step[i + 1] = {1, 0};
            }
            unsigned shorter = kMinMatch - 1;
            for (uint32_t m = first[i]; m < first[i + 1]; ++m) {
                const Match& match = matches[m];
                double position = cost[i] + PositionCost(match.Distance - 1u);
                for (unsigned length = shorter + 1; length <= match.Length; ++length) {
                    double through = position + price[MatchSymbol(length)];
                    if (through < cost[i + length]) {
                        cost[i + length] = through;
                        step[i + length] = {static_cast<uint16_t>(length), match.Distance};
                    }
                }
                shorter = match.Length;
            }
        }
        counts = Tally();
        for (size_t i = n; i > 0; i -= step[i].Length) {
            if (step[i].Length == 1) {
                counts.Literal(bytes[i - 1]);
            } else {
                counts.Match(step[i].Length, step[i].Distance);
            }
        }
        std::printf("cost-based parse, round %d: %.0f bytes, %.2f%% smaller than greedy\n", round,
                    counts.Bytes(), 100 * (1 - counts.Bytes() / greedy.Bytes()));
    }
    return 0;
}
