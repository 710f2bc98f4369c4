#include "core/lzh/lzh_encode.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "core/lzh/lzh_match_finder.h"
#include "core/lzh/lzh_symbol_coder.h"

namespace tidemark {

namespace {

using namespace lzh;

// How many earlier positions with the same hash each search looks at.
constexpr unsigned kGreedyChain = 256;
constexpr unsigned kLazyChain = 256;
// The optimal parse walks a four-byte chain, which holds far fewer positions than the
// three-byte one, so this reaches most of the window.
constexpr unsigned kOptimalChain = 512;

// The optimal parse prices a block at a time with the model's counts as they stand at the
// block's start; it looks a little past the block so that matches may cross its end.
constexpr size_t kBlockSize = 2048;
constexpr size_t kLookAhead = 512;
// Prices are in 1/64 bits.
constexpr unsigned kPriceScale = 64;

class ProgressReporter {
public:
    ProgressReporter(const LzhEncodeOptions& options, size_t total)
        : progress_(options.Progress), total_(total) {}

    void Report(size_t done) {
        if (!progress_ || done - last_ < kInterval) return;
        last_ = done;
        progress_(done, total_);
    }

    // The final call, made once whatever the size.
    void Finish() {
        if (progress_) progress_(total_, total_);
    }

private:
    static constexpr size_t kInterval = 256 * 1024;
    const std::function<void(size_t, size_t)>& progress_;
    size_t total_;
    size_t last_ = 0;
};

unsigned MaxLengthAt(const MatchFinder& finder, size_t pos) {
    return static_cast<unsigned>(std::min<size_t>(kMaxMatch, finder.End() - pos));
}

void ParseGreedy(MatchFinder& finder, SymbolCoder& coder, ProgressReporter& progress) {
    const uint8_t* history = finder.History();
    Match matches[MatchFinder::kMaxMatches];
    size_t pos = MatchFinder::InputStart();
    while (pos < finder.End()) {
        unsigned count = finder.FindAndInsert(pos, MaxLengthAt(finder, pos), matches);
        if (count == 0) {
            coder.Literal(history[pos++]);
        } else {
            const Match& best = matches[count - 1];
            coder.Match(best.Length, best.Distance);
            for (unsigned k = 1; k < best.Length; ++k) finder.Skip(pos + k);
            pos += best.Length;
        }
        progress.Report(pos - MatchFinder::InputStart());
    }
}

// Sends a literal instead of a match whenever the next position holds a longer match.
void ParseLazy(MatchFinder& finder, SymbolCoder& coder, ProgressReporter& progress) {
    const uint8_t* history = finder.History();
    Match matches[MatchFinder::kMaxMatches];
    size_t pos = MatchFinder::InputStart();
    Match current{0, 0};
    bool searched = false;  // whether `current` already holds the search at pos
    while (pos < finder.End()) {
        if (!searched) {
            unsigned count = finder.FindAndInsert(pos, MaxLengthAt(finder, pos), matches);
            current = count ? matches[count - 1] : Match{0, 0};
        }
        searched = false;
        if (current.Length < kMinMatch) {
            coder.Literal(history[pos++]);
        } else {
            Match next{0, 0};
            bool nextSearched = false;
            if (current.Length < kMaxMatch && pos + 1 < finder.End()) {
                unsigned count =
                    finder.FindAndInsert(pos + 1, MaxLengthAt(finder, pos + 1), matches);
                next = count ? matches[count - 1] : Match{0, 0};
                nextSearched = true;
            }
            if (next.Length > current.Length) {
                coder.Literal(history[pos++]);
                current = next;
                searched = true;
            } else {
                coder.Match(current.Length, current.Distance);
                for (unsigned k = nextSearched ? 2 : 1; k < current.Length; ++k)
                    finder.Skip(pos + k);
                pos += current.Length;
            }
        }
        progress.Report(pos - MatchFinder::InputStart());
    }
}

// Finds the cheapest way through each block, pricing symbols by the adaptive model's counts at
// the block's start and positions by their fixed code.
class OptimalParser {
public:
    OptimalParser(MatchFinder& finder, SymbolCoder& coder, ProgressReporter& progress)
        : finder_(finder),
          coder_(coder),
          progress_(progress),
          cost_(kBlockSize + kLookAhead + 1),
          step_(kBlockSize + kLookAhead + 1) {}

    void Run() {
        size_t pos = MatchFinder::InputStart();
        listBase_ = pos;
        listStart_.assign(1, 0);
        while (pos < finder_.End()) {
            size_t end = std::min(pos + kBlockSize + kLookAhead, finder_.End());
            FindMatchesUpTo(end);
            size_t next = ChooseAndSend(pos, end);
            DropMatchesBefore(next);
            pos = next;
            progress_.Report(pos - MatchFinder::InputStart());
        }
    }

private:
    struct Step {
        uint16_t Length;    // 1 for a literal
        uint16_t Distance;  // of a match
    };

    void FindMatchesUpTo(size_t end) {
        Match found[MatchFinder::kMaxMatches];
        for (size_t pos = listBase_ + listStart_.size() - 1; pos < end; ++pos) {
            unsigned count = finder_.FindAndInsert(pos, MaxLengthAt(finder_, pos), found);
            pool_.insert(pool_.end(), found, found + count);
            listStart_.push_back(static_cast<uint32_t>(pool_.size()));
        }
    }

    void DropMatchesBefore(size_t pos) {
        size_t drop = pos - listBase_;
        uint32_t offset = listStart_[drop];
        pool_.erase(pool_.begin(), pool_.begin() + offset);
        listStart_.erase(listStart_.begin(), listStart_.begin() + drop);
        for (uint32_t& start : listStart_) start -= offset;
        listBase_ = pos;
    }

    // Returns the position where the next block starts.
    size_t ChooseAndSend(size_t start, size_t end) {
        const uint8_t* history = finder_.History();
        uint32_t price[kSymbolCount];
        SymbolPrices(coder_.Model(), price);

        size_t span = end - start;
        std::fill(cost_.begin(), cost_.begin() + span + 1, std::numeric_limits<uint32_t>::max());
        cost_[0] = 0;
        for (size_t i = 0; i < span; ++i) {
            uint32_t here = cost_[i];
            uint32_t literal = here + price[history[start + i]];
            if (literal < cost_[i + 1]) {
                cost_[i + 1] = literal;
                step_[i + 1] = {1, 0};
            }
            size_t listIndex = start + i - listBase_;
            unsigned room = static_cast<unsigned>(std::min<size_t>(kMaxMatch, span - i));
            unsigned shorter = kMinMatch - 1;
            for (uint32_t m = listStart_[listIndex]; m < listStart_[listIndex + 1]; ++m) {
                const Match& match = pool_[m];
                unsigned longest = std::min<unsigned>(match.Length, room);
                uint32_t position = here + PositionCost(match.Distance - 1u) * kPriceScale;
                for (unsigned length = shorter + 1; length <= longest; ++length) {
                    uint32_t total = position + price[MatchSymbol(length)];
                    if (total < cost_[i + length]) {
                        cost_[i + length] = total;
                        step_[i + length] = {static_cast<uint16_t>(length), match.Distance};
                    }
                }
                if (longest > shorter) shorter = longest;
                if (longest == room) break;
            }
        }

        path_.clear();
        for (size_t i = span; i > 0; i -= step_[i].Length) path_.push_back(step_[i]);
        size_t pos = start;
        size_t stop = end == finder_.End() ? end : start + kBlockSize;
        for (auto it = path_.rbegin(); it != path_.rend() && pos < stop; ++it) {
            if (it->Length == 1) {
                coder_.Literal(history[pos]);
            } else {
                coder_.Match(it->Length, it->Distance);
            }
            pos += it->Length;
        }
        return pos;
    }

    // A symbol's code length moves by whole bits as counts pass one another, some of them
    // within a block; the share of the root's count that its leaf holds, to a fraction of a
    // bit, follows what it will cost over the block a little more closely than the length it
    // has at the block's start.
    static void SymbolPrices(const LzhModel& model, uint32_t* price) {
        double root = std::log2(double(model.Freq[kRootNode]));
        for (unsigned s = 0; s < kSymbolCount; ++s) {
            double share = root - std::log2(double(model.Freq[model.Parent[s + kTreeSize]]));
            price[s] = static_cast<uint32_t>(std::lround(share * kPriceScale));
        }
    }

    MatchFinder& finder_;
    SymbolCoder& coder_;
    ProgressReporter& progress_;
    // Matches of the positions from listBase_ on: those of listBase_ + i are
    // pool_[listStart_[i] .. listStart_[i + 1]).
    size_t listBase_ = 0;
    std::vector<uint32_t> listStart_;
    std::vector<Match> pool_;
    std::vector<uint32_t> cost_;
    std::vector<Step> step_;
    std::vector<Step> path_;
};

}  // namespace

std::vector<uint8_t> LzhEncode(const uint8_t* data, size_t size, const LzhEncodeOptions& options) {
    std::vector<uint8_t> out;
    out.reserve(size / 2 + 16);
    SymbolCoder coder(out);
    ProgressReporter progress(options, size);
    switch (options.Parse) {
        case LzhParse::Greedy: {
            MatchFinder finder(data, size, kGreedyChain);
            ParseGreedy(finder, coder, progress);
            break;
        }
        case LzhParse::Lazy: {
            MatchFinder finder(data, size, kLazyChain);
            ParseLazy(finder, coder, progress);
            break;
        }
        case LzhParse::Optimal: {
            MatchFinder finder(data, size, kOptimalChain, MatchFinder::Chains::Chain4);
            OptimalParser(finder, coder, progress).Run();
            break;
        }
    }
    coder.Finish();
    progress.Finish();
    return out;
}

}  // namespace tidemark
