// The fixed prefix code for the upper six bits of a match position. A position is sent as that
// code (3 to 8 bits) followed by its lower six bits verbatim.
#pragma once

#include <array>
#include <cstdint>

namespace tidemark {
namespace lzh {

struct PositionTables {
    // Indexed by the first eight bits of a coded position.
    std::array<uint8_t, 256> Upper{};
    std::array<uint8_t, 256> Length{};
};

// Each row: code length, and how many values of the first eight bits share one upper value.
constexpr PositionTables MakePositionTables() {
    struct Row {
        unsigned length, step, uppers;
    };
    constexpr Row rows[] = {{3, 32, 1}, {4, 16, 3}, {5, 8, 8}, {6, 4, 12}, {7, 2, 24}, {8, 1, 16}};
    PositionTables t;
    unsigned b = 0, upper = 0;
    for (const Row& row : rows) {
        for (unsigned u = 0; u < row.uppers; ++u, ++upper) {
            for (unsigned s = 0; s < row.step; ++s, ++b) {
                t.Upper[b] = static_cast<uint8_t>(upper);
                t.Length[b] = static_cast<uint8_t>(row.length);
            }
        }
    }
    return t;
}

inline constexpr PositionTables kPositionTables = MakePositionTables();

struct PositionCode {
    uint8_t Bits;    // the prefix, right-aligned
    uint8_t Length;  // 3 to 8
};

// The prefix code of each upper value: the leading bits of the first eight-bit value that
// decodes to it.
constexpr std::array<PositionCode, 64> MakePositionCodes() {
    std::array<PositionCode, 64> codes{};
    for (unsigned b = 256; b-- > 0;) {
        unsigned length = kPositionTables.Length[b];
        codes[kPositionTables.Upper[b]] = {static_cast<uint8_t>(b >> (8 - length)),
                                           static_cast<uint8_t>(length)};
    }
    return codes;
}

inline constexpr std::array<PositionCode, 64> kPositionCodes = MakePositionCodes();

// Bits that coding position p (0 to 4095) takes.
constexpr unsigned PositionCost(unsigned p) { return kPositionCodes[p >> 6].Length + 6u; }

}  // namespace lzh
}  // namespace tidemark
