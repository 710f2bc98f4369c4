// The encoder through the decoder: every parse must give back the input exactly, must never
// lean on ring bytes the decoder has not written yet, and the cost-based parse must pay off.
#include "payload/lzh/lzh_encode.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "payload/lzh/lzh_decode.h"
#include "payload/lzh/lzh_model.h"
#include "payload/lzh/lzh_position_code.h"

namespace tidemark {
namespace {

// ---- Corpora ----------------------------------------------------------------------------------

using Bytes = std::vector<uint8_t>;

Bytes RandomBytes(size_t n, unsigned seed) {
    std::mt19937 random(seed);
    Bytes out(n);
    for (auto& b : out) b = static_cast<uint8_t>(random());
    return out;
}

Bytes Text(size_t n, unsigned seed) {
    static const char* const words[] = {
        "the",    "file",   "tidemark", "window", "of",       "and",   "disk",   "setup",
        "folder", "user",   "program",  "is",     "a",        "to",    "copy",   "install",
        "help",   "cancel", "licence",  "press",  "button",   "in",    "with",   "select",
        "data",   "table",  "error",    "for",    "shortcut", "group", "system", "drive"};
    std::mt19937 random(seed);
    std::string text;
    while (text.size() < n) {
        // Earlier words are more frequent.
        unsigned w = random() % 32;
        w = w * (random() % 32) / 32;
        text += words[w];
        text += (random() % 12 == 0) ? ".\r\n" : " ";
    }
    return Bytes(text.begin(), text.begin() + n);
}

// Machine-code-like bytes: a small set of opcodes, little-endian addresses close to each other,
// and repeated instruction sequences.
Bytes CodeLike(size_t n, unsigned seed) {
    std::mt19937 random(seed);
    const uint8_t opcodes[] = {0x8B, 0x89, 0xE8, 0x55, 0x5D, 0xC3, 0x83, 0xFF, 0x74, 0x75, 0x50};
    Bytes out;
    uint32_t address = 0x401000;
    while (out.size() < n) {
        if (random() % 5 == 0 && out.size() > 64) {
            size_t from = out.size() - 1 - random() % std::min<size_t>(out.size() - 1, 3000);
            size_t len = 4 + random() % 24;
            for (size_t k = 0; k < len; ++k) out.push_back(out[from + k]);
            continue;
        }
        out.push_back(opcodes[random() % sizeof opcodes]);
        if (random() % 3 == 0) {
            address += random() % 64;
            for (int k = 0; k < 4; ++k) out.push_back(static_cast<uint8_t>(address >> (8 * k)));
        } else {
            out.push_back(static_cast<uint8_t>(random() % 8 * 8 + 5));
        }
    }
    out.resize(n);
    return out;
}

Bytes Repetitive(size_t n) {
    Bytes out;
    for (size_t i = 0; out.size() < n; ++i) {
        out.insert(out.end(), 100 + i % 7, static_cast<uint8_t>(i));
        for (int k = 0; k < 50; ++k) out.push_back(static_cast<uint8_t>("0123456789"[k % 10]));
    }
    out.resize(n);
    return out;
}

// ---- Decoding back ----------------------------------------------------------------------------

const Bytes* input = nullptr;
size_t inputPos = 0;
Bytes* output = nullptr;

void ReadBack(uint8_t* buffer, uint16_t, uint16_t* actual) {
    *actual = 0;
    if (inputPos < input->size()) {
        *buffer = (*input)[inputPos++];
        *actual = 1;
    }
}

void WriteBack(const uint8_t* buffer, uint16_t count, uint16_t* actual) {
    output->insert(output->end(), buffer, buffer + count);
    *actual = count;
}

Bytes DecodeBack(const Bytes& stream, size_t size) {
    Bytes out;
    input = &stream;
    inputPos = 0;
    output = &out;
    int32_t flag = 1;
    LzhDecode(static_cast<int32_t>(size), ReadBack, WriteBack, flag);
    return out;
}

// Walks a stream symbol by symbol and reports the first match that reaches a ring position the
// decoder has not yet written (its start-up spaces count as written).
std::string FirstUnwrittenRead(const Bytes& stream, size_t size) {
    using namespace lzh;
    LzhModel model;
    model.InitTree();
    size_t bit = 0;
    auto next = [&]() -> unsigned {
        unsigned b = bit / 8 < stream.size() ? (stream[bit / 8] >> (7 - bit % 8)) & 1 : 0;
        ++bit;
        return b;
    };
    std::vector<bool> written(kRingSize, false);
    for (unsigned i = 0; i < kFirstRingPos; ++i) written[i] = true;
    unsigned pos = kFirstRingPos;
    for (size_t produced = 0; produced < size;) {
        unsigned node = model.Child[kRootNode];
        while (node < kTreeSize) node = model.Child[node + next()];
        unsigned symbol = node - kTreeSize;
        model.UpdateModel(symbol);
        unsigned length = 1;
        if (symbol >= 256) {
            unsigned b = 0;
            for (int k = 0; k < 8; ++k) b = b * 2 + next();
            unsigned upper = kPositionTables.Upper[b];
            for (unsigned k = kPositionTables.Length[b] - 2u; k > 0; --k) b = b * 2 + next();
            unsigned position = upper * 64 + (b & 0x3F);
            length = MatchLength(symbol);
            unsigned from = (pos - position - 1) & (kRingSize - 1);
            for (unsigned k = 0; k < length; ++k) {
                unsigned at = (from + k) & (kRingSize - 1);
                if (!written[at]) {
                    return "byte " + std::to_string(produced) + " reads ring position " +
                           std::to_string(at);
                }
                written[(pos + k) & (kRingSize - 1)] = true;
            }
        }
        for (unsigned k = 0; k < length; ++k) written[(pos + k) & (kRingSize - 1)] = true;
        pos = (pos + length) & (kRingSize - 1);
        produced += length;
    }
    return "";
}

const LzhParse kParses[] = {LzhParse::Greedy, LzhParse::Lazy, LzhParse::Optimal};

const char* Name(LzhParse parse) {
    return parse == LzhParse::Greedy ? "greedy" : parse == LzhParse::Lazy ? "lazy" : "optimal";
}

size_t EncodedSize(const Bytes& data, LzhParse parse) {
    LzhEncodeOptions options;
    options.Parse = parse;
    return LzhEncode(data.data(), data.size(), options).size();
}

void ExpectRoundTrip(const Bytes& data, const std::string& what) {
    for (LzhParse parse : kParses) {
        LzhEncodeOptions options;
        options.Parse = parse;
        Bytes stream = LzhEncode(data.data(), data.size(), options);
        Bytes back = DecodeBack(stream, data.size());
        ASSERT_EQ(back.size(), data.size()) << what << ", " << Name(parse);
        EXPECT_TRUE(back == data) << what << ", " << Name(parse) << ": differs from byte "
                                  << std::mismatch(back.begin(), back.end(), data.begin()).first -
                                         back.begin();
        EXPECT_EQ(FirstUnwrittenRead(stream, data.size()), "") << what << ", " << Name(parse);
    }
}

// ---- Tests ------------------------------------------------------------------------------------

TEST(LzhEncodeRoundTrip, SmallInputs) {
    ExpectRoundTrip({}, "empty");
    ExpectRoundTrip({0x41}, "one byte");
    ExpectRoundTrip({'a', 'b', 'c', 'a', 'b', 'c', 'a', 'b', 'c'}, "abc x3");
    ExpectRoundTrip(Bytes(61, 0), "61 zeros");
    ExpectRoundTrip(Bytes(5000, ' '), "5000 spaces");
    Bytes spacesThenText(70, ' ');
    Bytes text = Text(300, 1);
    spacesThenText.insert(spacesThenText.end(), text.begin(), text.end());
    ExpectRoundTrip(spacesThenText, "spaces then text");
}

TEST(LzhEncodeRoundTrip, LargeInputsOfEveryKind) {
    ExpectRoundTrip(RandomBytes(150000, 1), "random (150,000 literals, many rebuilds)");
    Bytes mixed = Text(300000, 4);
    for (const Bytes& part : {CodeLike(300000, 5), RandomBytes(30000, 6), Repetitive(200000)})
        mixed.insert(mixed.end(), part.begin(), part.end());
    ExpectRoundTrip(mixed, "mixed");
}

// Zeros match the decoder's filler of the unwritten ring end, so a stream that used those
// positions would still decode here; the checker above is what catches it.
TEST(LzhEncodeRoundTrip, ZerosAfterTheSpaces) {
    Bytes data(240, 0);
    std::fill(data.begin(), data.begin() + 40, ' ');
    ExpectRoundTrip(data, "spaces then zeros");
}

TEST(LzhEncodeSize, StartUpSpacesServeAsHistory) {
    for (LzhParse parse : kParses) {
        // 4000 spaces are 67 matches against the ring's initial spaces and their own copies.
        EXPECT_LT(EncodedSize(Bytes(4000, ' '), parse), 150u) << Name(parse);
    }
}

TEST(LzhEncodeSize, CostBasedParseBeatsTheOthers) {
    for (const Bytes& data : {Text(400000, 7), CodeLike(400000, 8)}) {
        size_t greedy = EncodedSize(data, LzhParse::Greedy);
        size_t lazy = EncodedSize(data, LzhParse::Lazy);
        size_t optimal = EncodedSize(data, LzhParse::Optimal);
        EXPECT_LT(greedy, data.size() * 6 / 10);
        EXPECT_LT(optimal, lazy);
        EXPECT_LT(optimal, greedy);
    }
    // Incompressible input costs little more than its size.
    size_t random = EncodedSize(RandomBytes(100000, 9), LzhParse::Optimal);
    EXPECT_LT(random, 100000u * 102 / 100);
}

}  // namespace
}  // namespace tidemark
