// The archive code both ways. The decoder against a deliberately plain second model of the
// adaptive code (vectors, linear scans, element-by-element shifts), written apart from the
// production one: streams coded with it must decode to what a plain ring produces, so a fault in
// the decoder's lookup table, its update or its rebuild shows up as a difference. The encoder:
// every parse gives back its input through the decoder, and the cost-based parse pays off.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "core/lzh/lzh_decode.h"
#include "core/lzh/lzh_encode.h"
#include "stream.h"

namespace tidemark {
namespace {

struct ReferenceModel {
    int freq[628] = {}, parent[941] = {}, child[627] = {};

    ReferenceModel() {  // the initial tree is what rebuilding 314 leaves of weight 1 gives
        for (int i = 0; i < 314; ++i) freq[i] = 1, child[i] = i + 627;
        freq[627] = 0xFFFF;
        Rebuild();
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
        do {  // move the node past the nodes it now outweighs (if any), then on to its parent
            int k = ++freq[node], l = node;
            while (k > freq[l + 1]) ++l;
            std::swap(freq[node], freq[l]), std::swap(child[node], child[l]);
            Link(child[node], node), Link(child[l], l);
            node = parent[l];
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

std::vector<uint8_t> input;
size_t next, stopAt;  // stopAt: clears the flag when this many bytes are written
std::string output;
int32_t continueFlag;

std::string Decode(std::vector<uint8_t> bytes, int32_t size, size_t stop = 0) {
    input = std::move(bytes), next = 0, stopAt = stop, output.clear(), continueFlag = 1;
    auto read = [](uint8_t* buffer, uint16_t, uint16_t* actual) {
        *actual = next < input.size();  // nothing left reads as zero bits
        if (*actual) *buffer = input[next++];
    };
    auto write = [](const uint8_t* buffer, uint16_t count, uint16_t* actual) {
        output.append(reinterpret_cast<const char*>(buffer), *actual = count);
        if (output.size() == stopAt) continueFlag = 0;
    };
    LzhDecode(size, read, write, continueFlag);
    return output;
}

// Hand-made streams, independent of both models: the initial tree's codes for 'A', 'B', 'a'.
TEST(LzhDecode, ShortStreamsAndStops) {
    EXPECT_EQ(Decode({0xE6, 0xF3, 0x80}, 2), "AB");
    EXPECT_EQ(Decode({0xF6, 0xFB, 0xBD, 0xF2, 0x40, 0x20}, 12), "abcabcabcabc");
    EXPECT_EQ(Decode({0xC5, 0x00}, 60), std::string(60, ' '));  // a match into the start spaces
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

// Every parse gives its input back; on the mixed data, the cost-based parse (the default) must
// pay off against the simpler ones.
TEST(LzhEncode, EveryParseRoundTripsAndTheCostBasedOnePaysOff) {
    Bytes mixed = Sample(300000, 12, 1), noise = Sample(150000, 256, 2);  // many rebuilds
    mixed.insert(mixed.end(), noise.begin(), noise.end());
    mixed.insert(mixed.end(), 200000, ' ');
    size_t sizes[3];
    for (const Bytes& data : {Bytes{}, Bytes{'A'}, Bytes(61, 0), mixed}) {
        for (LzhParse parse : {LzhParse::Greedy, LzhParse::Lazy, LzhParse::Optimal}) {
            Bytes encoded = LzhEncode(data.data(), data.size(), {parse, {}});
            sizes[int(parse)] = encoded.size();
            Bytes back = mkdisks::Decompress(encoded, int32_t(data.size())).Output;
            EXPECT_TRUE(back == data) << "parse " << int(parse) << ", " << data.size() << " bytes";
        }
    }
    EXPECT_TRUE(sizes[2] < sizes[1] && sizes[2] < sizes[0]) << sizes[0] << " " << sizes[2];
}

}  // namespace
}  // namespace tidemark
