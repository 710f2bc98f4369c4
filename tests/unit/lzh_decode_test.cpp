// The decoder against a deliberately plain second model of the adaptive code (vectors, linear
// scans, element-by-element shifts), written apart from the production one: streams coded with
// it must decode to what a plain ring produces, so a fault in the decoder's lookup table, its
// update or its rebuild shows up as a difference.
#include "payload/lzh/lzh_decode.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace tidemark {
namespace {

struct ReferenceModel {
    std::vector<int> freq = std::vector<int>(628), parent = std::vector<int>(941),
                     child = std::vector<int>(627);

    ReferenceModel() {
        for (int i = 0; i < 314; ++i) freq[i] = 1, child[i] = i + 627, parent[i + 627] = i;
        for (int j = 314, i = 0; j <= 626; ++j, i += 2)
            freq[j] = freq[i] + freq[i + 1], child[j] = i, parent[i] = parent[i + 1] = j;
        freq[627] = 0xFFFF;
        parent[626] = 0;
    }
    // A node's children are child[n] and child[n] + 1, unless child[n] is a leaf (>= 627).
    void Link(int c, int p) {
        parent[c] = p;
        if (c < 627) parent[c + 1] = p;
    }
    std::vector<int> Code(int symbol) const {  // first bit first
        std::vector<int> bits;
        for (int node = parent[symbol + 627]; node != 626; node = parent[node])
            bits.insert(bits.begin(), node - child[parent[node]]);
        return bits;
    }
    void Update(int symbol) {
        if (freq[626] == 0x8000) Rebuild();
        int node = parent[symbol + 627];
        do {
            int k = ++freq[node];
            if (k > freq[node + 1]) {  // move it past the nodes it now outweighs
                int l = node + 1;
                while (k > freq[l + 1]) ++l;
                std::swap(freq[node], freq[l]);
                int i = child[node], j = child[l];
                Link(i, l), Link(j, node);
                child[l] = i, child[node] = j;
                node = l;
            }
            node = parent[node];
        } while (node != 0);
    }
    void Rebuild() {  // halve the leaves, then insert each pair's sum in order
        int j = 0;
        for (int i = 0; i < 627; ++i)
            if (child[i] >= 627) freq[j] = (freq[i] + 1) / 2, child[j++] = child[i];
        for (int i = 0, j = 314; j < 627; ++j, i += 2) {
            int f = (freq[i] + freq[i + 1]) & 0xFFFF, k = j;
            while (f < freq[k - 1]) --k;
            for (int m = j; m > k; --m) freq[m] = freq[m - 1], child[m] = child[m - 1];
            freq[k] = f, child[k] = i;
        }
        for (int i = 0; i < 627; ++i) Link(child[i], i);
    }
};

struct Op {
    int symbol, position = 0;  // a literal byte, or 253 + match length and the match's position
};

// The position code row by row: code length, first eight-bit value, step, then 6 bits.
void PutPosition(int position, std::vector<int>& bits) {
    const int rows[][5] = {{0, 1, 3, 0x00, 32},  {1, 3, 4, 0x20, 16},  {4, 8, 5, 0x50, 8},
                           {12, 12, 6, 0x90, 4}, {24, 24, 7, 0xC0, 2}, {48, 16, 8, 0xF0, 1}};
    for (const int* r : rows) {
        int upper = position / 64 - r[0];
        if (upper < 0 || upper >= r[1]) continue;
        for (int n = 0; n < r[2]; ++n) bits.push_back(((r[3] + upper * r[4]) >> (7 - n)) & 1);
        for (int n = 5; n >= 0; --n) bits.push_back((position >> n) & 1);
    }
}

std::vector<uint8_t> ReferenceEncode(const std::vector<Op>& ops) {
    ReferenceModel model;
    std::vector<int> bits;
    for (const Op& op : ops) {
        std::vector<int> code = model.Code(op.symbol);
        bits.insert(bits.end(), code.begin(), code.end());
        model.Update(op.symbol);
        if (op.symbol >= 256) PutPosition(op.position, bits);
    }
    std::vector<uint8_t> bytes((bits.size() + 7) / 8, 0);
    for (size_t i = 0; i < bits.size(); ++i) bytes[i / 8] |= uint8_t(bits[i] << (7 - i % 8));
    return bytes;
}

// What the ops produce on a plain ring that starts with 4036 spaces before the first byte.
std::string Expected(const std::vector<Op>& ops) {
    // Laid out by distance back from the first byte written: the 60 unwritten bytes are farthest.
    std::string ring = std::string(60, '\0') + std::string(4036, ' ');
    for (const Op& op : ops) {
        size_t from = ring.size() - op.position - 1;
        for (int k = 0; k < (op.symbol < 256 ? 1 : op.symbol - 253); ++k)
            ring += op.symbol < 256 ? char(op.symbol) : ring[from + k];
    }
    return ring.substr(4096);
}

struct Run {
    std::vector<uint8_t> input;
    size_t next = 0;
    std::string output;
    int32_t continueFlag = 1;
    size_t stopAt = 0;  // clears the flag when this many bytes are written
} run;

std::string Decode(std::vector<uint8_t> input, int32_t size, size_t stopAt = 0) {
    run = Run{std::move(input), 0, "", 1, stopAt};
    auto read = [](uint8_t* buffer, uint16_t, uint16_t* actual) {
        *actual = run.next < run.input.size();  // nothing left reads as zero bits
        if (*actual) *buffer = run.input[run.next++];
    };
    auto write = [](const uint8_t* buffer, uint16_t count, uint16_t* actual) {
        run.output.append(reinterpret_cast<const char*>(buffer), count);
        *actual = count;
        if (run.output.size() == run.stopAt) run.continueFlag = 0;
    };
    LzhDecode(size, read, write, run.continueFlag);
    return run.output;
}

// Hand-made streams, independent of both models: the initial tree's codes for 'A', 'B', 'a'.
TEST(LzhDecode, ShortStreamsAndStops) {
    EXPECT_EQ(Decode({0xE6, 0xF3, 0x80}, 2), "AB");
    EXPECT_EQ(Decode({0xF6, 0xFB, 0xBD, 0xF2, 0x40, 0x20}, 12), "abcabcabcabc");
    EXPECT_EQ(Decode({0xC5, 0x00}, 60), std::string(60, ' '));  // a match into the start spaces
    EXPECT_EQ(Decode({0xE6, 0x80}, -1), "");
    EXPECT_EQ(run.next, 0u) << "a run asked for nothing reads nothing";
    // A match asked to stop part-way is still written whole and nothing follows it; a run asked
    // for less than the match ends with it too.
    std::vector<Op> ops = {{'x'}, {253 + 60, 0}, {'y'}, {253 + 3, 1}};
    std::string expected = Expected(ops);  // 61 x, then "yxyx"
    EXPECT_EQ(Decode(ReferenceEncode(ops), 65), expected);
    EXPECT_EQ(Decode(ReferenceEncode(ops), 2), expected.substr(0, 61));
    EXPECT_EQ(Decode(ReferenceEncode(ops), 65, 3), expected.substr(0, 61));
}

// Long runs of mixed symbols, so the tree is rebuilt many times: any difference from the plain
// model in the update, the halving, the insertion order or the timing of a rebuild changes the
// codes from then on. Every position code is used at least once.
TEST(LzhDecode, LongStreamsMatchThePlainModel) {
    for (unsigned seed : {1u, 2u}) {
        std::mt19937 random(seed);
        std::geometric_distribution<int> skewed(seed == 1 ? 0.02 : 0.3);
        std::vector<Op> ops;
        for (int i = 0; i < 150000; ++i) {
            if (random() % 4 == 0)
                ops.push_back({253 + 3 + skewed(random) % 58, int(random() % 4036)});
            else
                ops.push_back({skewed(random) % 256});
        }
        for (int p = 0; p < 4096; ++p) ops.push_back({253 + 3 + p % 58, p});
        std::string expected = Expected(ops);
        std::string got = Decode(ReferenceEncode(ops), int32_t(expected.size()));
        EXPECT_TRUE(got == expected) << "seed " << seed;
    }
}

}  // namespace
}  // namespace tidemark
