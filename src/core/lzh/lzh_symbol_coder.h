// Writes literals and matches in the stream's codes, keeping the adaptive model in step with
// the decoder's. Part of the vendor's encoder only.
#pragma once

#include <cstdint>
#include <vector>

#include "core/lzh/lzh_model.h"
#include "core/lzh/lzh_position_code.h"

namespace tidemark {
namespace lzh {

// Bits most significant first, bytes in stream order; the last byte is padded with zero bits,
// which the decoder also supplies for input that has ended.
class BitWriter {
public:
    explicit BitWriter(std::vector<uint8_t>& out) : out_(out) {}

    // The low `count` bits of `bits`, the highest first; count at most 32.
    void Put(uint32_t bits, unsigned count) {
        acc_ = (acc_ << count) | (bits & ((uint64_t(1) << count) - 1));
        pending_ += count;
        while (pending_ >= 8) {
            pending_ -= 8;
            out_.push_back(static_cast<uint8_t>(acc_ >> pending_));
        }
    }

    void Flush() {
        if (pending_) out_.push_back(static_cast<uint8_t>(acc_ << (8 - pending_)));
        pending_ = 0;
    }

private:
    std::vector<uint8_t>& out_;
    uint64_t acc_ = 0;
    unsigned pending_ = 0;
};

class SymbolCoder {
public:
    explicit SymbolCoder(std::vector<uint8_t>& out) : bits_(out) { model_.InitTree(); }

    void Literal(uint8_t byte) { Symbol(byte); }

    // distance 1 to 4096, length 3 to 60.
    void Match(unsigned length, unsigned distance) {
        Symbol(MatchSymbol(length));
        unsigned position = distance - 1;
        const PositionCode& code = kPositionCodes[position >> 6];
        bits_.Put(code.Bits, code.Length);
        bits_.Put(position & 0x3F, 6);
    }

    void Finish() { bits_.Flush(); }

    // The model as the decoder will hold it before the next symbol, for pricing choices.
    const LzhModel& Model() const { return model_; }

private:
    void Symbol(unsigned symbol) {
        // The code read from the root down, gathered from the leaf up.
        uint64_t code = 0;
        unsigned length = 0;
        for (unsigned node = model_.Parent[symbol + kTreeSize]; node != kRootNode;) {
            unsigned parent = model_.Parent[node];
            code |= uint64_t(node - model_.Child[parent]) << length;
            ++length;
            node = parent;
        }
        if (length > 32) {
            bits_.Put(static_cast<uint32_t>(code >> 32), length - 32);
            length = 32;
        }
        bits_.Put(static_cast<uint32_t>(code), length);
        model_.UpdateModel(symbol);
    }

    LzhModel model_;
    BitWriter bits_;
};

}  // namespace lzh
}  // namespace tidemark
