// The decoder against hand-made streams and against a deliberately plain second model of the
// adaptive code, written separately from the production one, so that a fault in the update or
// rebuild rules shows up as a difference.
#include "payload/lzh/lzh_decode.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <random>
#include <string>
#include <vector>


namespace tidemark {
namespace {

// ---- A plain model of the code: vectors, linear scans, element-by-element shifts. ----------

class ReferenceModel {
public:
    ReferenceModel() : freq(628), parent(941), child(627) {
        for (int i = 0; i < 314; ++i) {
            freq[i] = 1;
            child[i] = i + 627;
            parent[i + 627] = i;
        }
        int i = 0;
        for (int j = 314; j <= 626; ++j) {
            freq[j] = freq[i] + freq[i + 1];
            child[j] = i;
            parent[i] = j;
            parent[i + 1] = j;
            i += 2;
        }
        freq[627] = 0xFFFF;
        parent[626] = 0;
    }

    // The code of a symbol, first bit first.
    std::vector<int> Code(int symbol) const {
        std::vector<int> bits;
        for (int node = parent[symbol + 627]; node != 626; node = parent[node])
            bits.insert(bits.begin(), node - child[parent[node]]);
        return bits;
    }

    void Update(int symbol) {
        if (freq[626] == 0x8000) Rebuild();
        int node = parent[symbol + 627];
        do {
            freq[node] += 1;
            int k = freq[node];
            if (k > freq[node + 1]) {
                int l = node + 1;
                while (k > freq[l + 1]) l += 1;
                freq[node] = freq[l];
                freq[l] = k;
                int i = child[node];
                parent[i] = l;
                if (i < 627) parent[i + 1] = l;
                int j = child[l];
                child[l] = i;
                parent[j] = node;
                if (j < 627) parent[j + 1] = node;
                child[node] = j;
                node = l;
            }
            node = parent[node];
        } while (node != 0);
    }

    std::vector<int> freq, parent, child;

private:
    void Rebuild() {
        int j = 0;
        for (int i = 0; i < 627; ++i) {
            if (child[i] >= 627) {
                freq[j] = (freq[i] + 1) / 2;
                child[j] = child[i];
                j += 1;
            }
        }
        int i = 0;
        for (j = 314; j < 627; ++j) {
            int f = (freq[i] + freq[i + 1]) & 0xFFFF;
            int k = j - 1;
            while (f < freq[k]) k -= 1;
            k += 1;
            for (int m = j; m > k; --m) {
                freq[m] = freq[m - 1];
                child[m] = child[m - 1];
            }
            freq[k] = f;
            child[k] = i;
            i += 2;
        }
        for (i = 0; i < 627; ++i) {
            int k = child[i];
            parent[k] = i;
            if (k < 627) parent[k + 1] = i;
        }
    }
};

// The position code written out row by row: code length, first eight-bit value, step.
std::vector<int> PositionBits(int position) {
    struct Row {
        int firstUpper, uppers, length, firstByte, step;
    };
    const Row rows[] = {{0, 1, 3, 0x00, 32},  {1, 3, 4, 0x20, 16},  {4, 8, 5, 0x50, 8},
                        {12, 12, 6, 0x90, 4}, {24, 24, 7, 0xC0, 2}, {48, 16, 8, 0xF0, 1}};
    int upper = position / 64;
    for (const Row& r : rows) {
        if (upper < r.firstUpper || upper >= r.firstUpper + r.uppers) continue;
        int byte = r.firstByte + (upper - r.firstUpper) * r.step;
        std::vector<int> bits;
        for (int n = 0; n < r.length; ++n) bits.push_back((byte >> (7 - n)) & 1);
        for (int n = 5; n >= 0; --n) bits.push_back((position >> n) & 1);
        return bits;
    }
    ADD_FAILURE() << "no row for position " << position;
    return {};
}

struct Op {
    int symbol;        // literal byte, or 253 + match length
    int position = 0;  // of a match
};

// Stream bytes for a list of literals and matches, coded with the plain model.
std::vector<uint8_t> ReferenceEncode(const std::vector<Op>& ops) {
    ReferenceModel model;
    std::vector<int> bits;
    for (const Op& op : ops) {
        std::vector<int> code = model.Code(op.symbol);
        bits.insert(bits.end(), code.begin(), code.end());
        model.Update(op.symbol);
        if (op.symbol >= 256) {
            std::vector<int> p = PositionBits(op.position);
            bits.insert(bits.end(), p.begin(), p.end());
        }
    }
    std::vector<uint8_t> bytes((bits.size() + 7) / 8, 0);
    for (size_t i = 0; i < bits.size(); ++i)
        if (bits[i]) bytes[i / 8] |= static_cast<uint8_t>(0x80 >> (i % 8));
    return bytes;
}

// What the ops produce, computed with a plain ring.
std::string Expected(const std::vector<Op>& ops) {
    std::vector<uint8_t> ring(4096, 0);
    std::fill(ring.begin(), ring.begin() + 4036, ' ');
    int pos = 4036;
    std::string out;
    auto emit = [&](uint8_t c) {
        out.push_back(static_cast<char>(c));
        ring[pos] = c;
        pos = (pos + 1) % 4096;
    };
    for (const Op& op : ops) {
        if (op.symbol < 256) {
            emit(static_cast<uint8_t>(op.symbol));
        } else {
            int start = ((pos - op.position - 1) % 4096 + 4096) % 4096;
            for (int k = 0; k < op.symbol - 253; ++k) emit(ring[(start + k) % 4096]);
        }
    }
    return out;
}

Op Lit(char c) { return {static_cast<uint8_t>(c)}; }
Op Copy(int length, int position) { return {253 + length, position}; }

// ---- Callback harness: one run at a time, as in the setup program. --------------------------

struct Harness {
    std::vector<uint8_t> input;
    size_t next = 0;
    std::string output;
    std::string log;  // 'R' per read call, 'W' per write call
    int32_t continueFlag = 1;
    std::function<void(uint8_t*, uint16_t*)> read;  // replaces the plain read when set
    std::function<void()> afterWrite;
};

Harness* harness = nullptr;

void HarnessRead(uint8_t* buffer, uint16_t count, uint16_t* actual) {
    EXPECT_EQ(count, 1);
    harness->log += 'R';
    if (harness->read) return harness->read(buffer, actual);
    if (harness->next < harness->input.size()) {
        *buffer = harness->input[harness->next++];
        *actual = 1;
    } else {
        *actual = 0;
    }
}

void HarnessWrite(const uint8_t* buffer, uint16_t count, uint16_t* actual) {
    EXPECT_EQ(count, 1);
    harness->log += 'W';
    harness->output.append(reinterpret_cast<const char*>(buffer), count);
    *actual = count;
    if (harness->afterWrite) harness->afterWrite();
}

std::string RunDecoder(Harness& h, int32_t size) {
    harness = &h;
    LzhDecode(size, HarnessRead, HarnessWrite, h.continueFlag);
    harness = nullptr;
    return h.output;
}

std::string Decode(std::vector<uint8_t> input, int32_t size) {
    Harness h;
    h.input = std::move(input);
    return RunDecoder(h, size);
}

std::string Spaces(size_t n) { return std::string(n, ' '); }

// ---- Tests ------------------------------------------------------------------------------------

TEST(LzhDecodeVectors, ShortStreams) {
    EXPECT_EQ(Decode({0xE6, 0x80}, 1), "A");
    EXPECT_EQ(Decode({0xE6, 0xF3, 0x80}, 2), "AB");
    EXPECT_EQ(Decode({0xF6, 0xFB, 0xBD, 0xF2, 0x40, 0x20}, 12), "abcabcabcabc");
    // A match into the spaces the ring starts with.
    EXPECT_EQ(Decode({0x8E, 0xFF, 0x0C}, 5), Spaces(5));
}

TEST(LzhDecodeVectors, InitialTreeCodes) {
    // 0x00: 110001100; 0xFF: 10001011.
    EXPECT_EQ(Decode({0xC6, 0x00}, 1), std::string(1, '\0'));
    EXPECT_EQ(Decode({0x8B}, 1), "\xFF");
    // Symbols 256 and 313 (matches of 3 and 60) with position 0, the byte written last.
    EXPECT_EQ(Decode({0x8C, 0x00, 0x00}, 3), Spaces(3));
    EXPECT_EQ(Decode({0xC5, 0x00}, 60), Spaces(60));
}

TEST(LzhDecodeCalls, NothingHappensForNoOutput) {
    for (int32_t size : {0, -1, INT32_MIN}) {
        Harness h;
        h.input = {0xE6, 0x80};
        RunDecoder(h, size);
        EXPECT_EQ(h.log, "") << size;
    }
    Harness stopped;
    stopped.input = {0xE6, 0x80};
    stopped.continueFlag = 0;
    RunDecoder(stopped, 100);
    EXPECT_EQ(stopped.log, "");
}

TEST(LzhDecodeCalls, ReadsOneByteAheadOfTheBitsUsed) {
    Harness h;
    h.input = {0xE6, 0xF3, 0x80};
    RunDecoder(h, 2);
    // Two 9-bit literals: two bytes before the first bit, then one more whenever only 8 bits
    // are left before a bit is taken (before bits 9 and 17).
    EXPECT_EQ(h.log, "RRRWRW");
}

// The setup program's read callback delivers one byte or none; none is zero bits.
TEST(LzhDecodeOutput, MissingInputDecodesAsZeroBits) {
    EXPECT_EQ(Decode({0xE6}, 300), Decode({0xE6, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, 300));
    std::string fromNothing = Decode({}, 5000);
    EXPECT_GE(fromNothing.size(), 5000u);
    EXPECT_LT(fromNothing.size(), 5000u + 60);
    EXPECT_EQ(fromNothing, Decode(std::vector<uint8_t>(4000, 0), 5000));
}

TEST(LzhDecodeOutput, MatchesOverlapAndAreEmittedWhole) {
    std::vector<Op> ops = {Lit('x'), Copy(60, 0), Lit('y'), Copy(3, 1)};
    std::string expected = Expected(ops);
    ASSERT_EQ(expected, std::string(61, 'x') + "yxyx");
    EXPECT_EQ(Decode(ReferenceEncode(ops), static_cast<int32_t>(expected.size())), expected);
    // Asked for 2 bytes: the first match still comes out whole, and nothing follows it.
    EXPECT_EQ(Decode(ReferenceEncode(ops), 2), std::string(61, 'x'));
}

TEST(LzhDecodeOutput, EveryPositionCodeReachesItsByte) {
    std::mt19937 random(7);
    std::vector<Op> ops;
    for (int i = 0; i < 4096; ++i) ops.push_back({static_cast<int>(random() & 0xFF)});
    for (int p = 0; p < 4096; ++p) ops.push_back(Copy(3 + p % 58, p));
    std::string expected = Expected(ops);
    EXPECT_EQ(Decode(ReferenceEncode(ops), static_cast<int32_t>(expected.size())), expected);
}

TEST(LzhDecodeStop, ClearedDuringAMatchEndsAfterIt) {
    Harness h;
    h.input = ReferenceEncode({Lit('a'), Copy(10, 0), Lit('b'), Lit('c')});
    h.afterWrite = [&] {
        if (h.output.size() == 3) h.continueFlag = 0;
    };
    EXPECT_EQ(RunDecoder(h, 13), std::string(11, 'a'));
}

TEST(LzhDecodeStop, ClearedDuringAReadEndsAfterThatSymbol) {
    Harness h;
    h.input = ReferenceEncode({Lit('A'), Lit('B'), Lit('C'), Lit('D')});
    int reads = 0;
    h.read = [&](uint8_t* buffer, uint16_t* actual) {
        // The fourth read is made for the second symbol's last bits.
        if (++reads == 4) h.continueFlag = 0;
        *buffer = h.input[h.next++];
        *actual = 1;
    };
    EXPECT_EQ(RunDecoder(h, 4), "AB");
    EXPECT_EQ(reads, 4);
}

// Long runs of mixed symbols, so the tree is rebuilt many times: any difference from the plain
// model in the update, the halving, the insertion order or the timing of a rebuild changes the
// codes from then on, and so the output.
TEST(LzhDecodeModel, LongStreamsMatchThePlainModel) {
    for (unsigned seed : {1u, 2u, 3u}) {
        std::mt19937 random(seed);
        std::geometric_distribution<int> skewed(seed == 1 ? 0.02 : 0.3);
        std::vector<Op> ops;
        for (int i = 0; i < 150000; ++i) {
            if (random() % 4 == 0 && i > 100) {
                ops.push_back(Copy(3 + skewed(random) % 58, random() % 4036));
            } else {
                ops.push_back({skewed(random) % 256});
            }
        }
        std::string expected = Expected(ops);
        std::string got = Decode(ReferenceEncode(ops), static_cast<int32_t>(expected.size()));
        ASSERT_EQ(got.size(), expected.size()) << seed;
        EXPECT_TRUE(got == expected)
            << "seed " << seed << ": first difference at "
            << std::mismatch(got.begin(), got.end(), expected.begin()).first - got.begin();
    }
}

}  // namespace
}  // namespace tidemark
