// Throughput of the archive's decoder, fed and drained the way the unpacking page does it (one
// byte per callback, staged in 2048-byte blocks, progress after every block), and throughput and
// size of the encoder's three parses.
//
//   bench_lzh [IMAGE_FILE] [benchmark flags]     or TIDEMARK_BENCH_INPUT=IMAGE_FILE bench_lzh
//
// Without a file it measures two generated corpora: "mixed" (code, text and tables) and
// "binary" (code and tables).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "core/lzh/lzh_decode.h"
#include "core/lzh/lzh_encode.h"
#include "corpus.h"

namespace {

using Bytes = std::vector<uint8_t>;
using tidemark::LzhParse;

constexpr int32_t kBlock = 2048;

// ---- The unpacking page's staging, without the files and the window ---------------------------

struct Staging {
    const Bytes* Archive = nullptr;
    size_t ArchiveRead = 0;
    uint8_t InputBuffer[2064];
    uint8_t OutputBuffer[2064];
    uint16_t InputPos = 1;
    int32_t InputFill = 0;
    uint16_t OutputPos = 1;
    int32_t WrittenTotal = 0;
    Bytes* Image = nullptr;
    size_t ImageWritten = 0;
    int32_t UnpackedSize = 0;
    int32_t LastDrawnPercent = -1;
    int32_t Draws = 0;
};

Staging staging;
volatile int32_t ContinueFlag = 1;

// Stands in for a block read of the archive file.
int32_t ReadArchiveBlock(uint8_t* buffer) {
    size_t n = std::min<size_t>(kBlock, staging.Archive->size() - staging.ArchiveRead);
    std::memcpy(buffer, staging.Archive->data() + staging.ArchiveRead, n);
    staging.ArchiveRead += n;
    return static_cast<int32_t>(n);
}

// Stands in for a block write of the image file.
int32_t WriteImageBlock(const uint8_t* buffer, size_t count) {
    size_t room = staging.Image->size() - staging.ImageWritten;
    if (count > room) count = room;
    std::memcpy(staging.Image->data() + staging.ImageWritten, buffer, count);
    staging.ImageWritten += count;
    return static_cast<int32_t>(count);
}

void ReportProgress() {
    long double quotient = static_cast<long double>(staging.WrittenTotal) / staging.UnpackedSize;
    int32_t percent = static_cast<int32_t>(std::nearbyint(quotient * 100));
    if (percent != staging.LastDrawnPercent) {
        staging.LastDrawnPercent = percent;
        ++staging.Draws;
    }
}

void ArchiveReadProc(uint8_t* Buffer, uint16_t, uint16_t* Actual) {
    if (!ContinueFlag) {
        *Actual = 0;
        return;
    }
    if (staging.InputPos > staging.InputFill) {
        staging.InputFill = ReadArchiveBlock(staging.InputBuffer);
        if (staging.InputFill == 0) {
            *Actual = 0;
            return;
        }
        staging.InputPos = 1;
    }
    *Buffer = staging.InputBuffer[staging.InputPos - 1];
    ++staging.InputPos;
    *Actual = 1;
    // The page drains its window's messages here; there is no window to drain.
}

void ImageWriteProc(const uint8_t* Buffer, uint16_t Count, uint16_t* Actual) {
    if (!ContinueFlag) {
        *Actual = 0;
        return;
    }
    if (Count == 0) {
        WriteImageBlock(staging.OutputBuffer, staging.OutputPos - 1u);
        return;
    }
    if (staging.OutputPos > kBlock || staging.OutputPos + Count > kBlock + 1) {
        staging.WrittenTotal += WriteImageBlock(staging.OutputBuffer, staging.OutputPos - 1u);
        staging.OutputPos = 1;
        ReportProgress();
    }
    // Count is 1 from the decoder: a loop, not a memcpy call per byte.
    for (uint16_t i = 0; i < Count; ++i)
        staging.OutputBuffer[staging.OutputPos - 1 + i] = Buffer[i];
    staging.OutputPos = static_cast<uint16_t>(staging.OutputPos + Count);
    *Actual = Count;
}

// The decoder's own speed: single bytes straight from and into memory.
const Bytes* directInput;
size_t directRead;
uint8_t* directOutput;

void DirectReadProc(uint8_t* Buffer, uint16_t, uint16_t* Actual) {
    *Actual = 0;
    if (directRead < directInput->size()) {
        *Buffer = (*directInput)[directRead++];
        *Actual = 1;
    }
}

void DirectWriteProc(const uint8_t* Buffer, uint16_t, uint16_t* Actual) {
    *directOutput++ = *Buffer;
    *Actual = 1;
}

void DecodeStaged(const Bytes& archive, Bytes& image) {
    staging = Staging{};
    staging.Archive = &archive;
    staging.Image = &image;
    staging.UnpackedSize = static_cast<int32_t>(image.size());
    tidemark::LzhDecode(staging.UnpackedSize, ArchiveReadProc, ImageWriteProc, ContinueFlag);
    uint16_t actual = 0;
    ImageWriteProc(nullptr, 0, &actual);
}

// ---- Corpora and their archives ---------------------------------------------------------------

struct Corpus {
    std::string Name;
    Bytes Data;
    std::map<LzhParse, size_t> ArchiveSize;  // filled in by the encode runs
    Bytes Archive;                           // the optimal parse, made once for decoding
};

std::vector<std::unique_ptr<Corpus>> corpora;

const char* ParseName(LzhParse parse) {
    return parse == LzhParse::Greedy ? "Greedy" : parse == LzhParse::Lazy ? "Lazy" : "Optimal";
}

const Bytes& ArchiveOf(Corpus& corpus) {
    if (corpus.Archive.empty() && !corpus.Data.empty()) {
        corpus.Archive = tidemark::LzhEncode(corpus.Data.data(), corpus.Data.size());
        corpus.ArchiveSize[LzhParse::Optimal] = corpus.Archive.size();
    }
    return corpus.Archive;
}

void SetOutputRate(benchmark::State& state, size_t bytes) {
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(bytes));
    // Decimal megabytes per second of CPU time, beside the binary ones of bytes_per_second.
    state.counters["output"] =
        benchmark::Counter(double(bytes), benchmark::Counter::kIsIterationInvariantRate);
}

void BM_Decode(benchmark::State& state, Corpus* corpus) {
    const Bytes& archive = ArchiveOf(*corpus);
    Bytes image(corpus->Data.size());
    for (auto _ : state) {
        DecodeStaged(archive, image);
        benchmark::DoNotOptimize(image.data());
    }
    if (image != corpus->Data) state.SkipWithError("the decoded image differs from the input");
    SetOutputRate(state, image.size());
    state.counters["archive_bytes"] = double(archive.size());
    state.counters["meter_draws"] = staging.Draws;
}

void BM_DecodeDirect(benchmark::State& state, Corpus* corpus) {
    const Bytes& archive = ArchiveOf(*corpus);
    // Room for a final match past the end of a damaged stream.
    Bytes image(corpus->Data.size() + 64);
    for (auto _ : state) {
        directInput = &archive;
        directRead = 0;
        directOutput = image.data();
        tidemark::LzhDecode(static_cast<int32_t>(corpus->Data.size()), DirectReadProc,
                            DirectWriteProc, ContinueFlag);
        benchmark::DoNotOptimize(image.data());
    }
    if (!std::equal(corpus->Data.begin(), corpus->Data.end(), image.begin()))
        state.SkipWithError("the decoded image differs from the input");
    SetOutputRate(state, corpus->Data.size());
}

void BM_Encode(benchmark::State& state, Corpus* corpus, LzhParse parse) {
    tidemark::LzhEncodeOptions options;
    options.Parse = parse;
    size_t size = 0;
    for (auto _ : state) {
        Bytes archive = tidemark::LzhEncode(corpus->Data.data(), corpus->Data.size(), options);
        size = archive.size();
        benchmark::DoNotOptimize(archive.data());
    }
    corpus->ArchiveSize[parse] = size;
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(corpus->Data.size()));
    state.counters["input"] = benchmark::Counter(double(corpus->Data.size()),
                                                 benchmark::Counter::kIsIterationInvariantRate);
    state.counters["archive_bytes"] = double(size);
    state.counters["ratio"] = corpus->Data.empty() ? 0.0 : double(size) / corpus->Data.size();
}

void PrintSizes() {
    std::printf("\n%-10s %12s %12s %12s %12s %16s\n", "corpus", "input", "greedy", "lazy",
                "optimal", "optimal/greedy");
    for (const auto& c : corpora) {
        auto size = [&](LzhParse p) {
            auto it = c->ArchiveSize.find(p);
            return it == c->ArchiveSize.end() ? 0.0 : double(it->second);
        };
        double greedy = size(LzhParse::Greedy), optimal = size(LzhParse::Optimal);
        std::printf("%-10s %12zu %12.0f %12.0f %12.0f %15.2f%%\n", c->Name.c_str(), c->Data.size(),
                    greedy, size(LzhParse::Lazy), optimal,
                    greedy > 0 ? 100.0 * optimal / greedy : 0.0);
    }
}

}  // namespace

int main(int argc, char** argv) {
    std::string path;
    if (const char* env = std::getenv("TIDEMARK_BENCH_INPUT")) path = env;
    if (argc > 1 && argv[1][0] != '-') {
        path = argv[1];
        for (int i = 1; i + 1 < argc; ++i) argv[i] = argv[i + 1];
        --argc;
    }
    if (!path.empty()) {
        auto corpus = std::make_unique<Corpus>();
        corpus->Name = "file";
        if (!tidemark::bench::ReadFile(path, corpus->Data)) {
            std::fprintf(stderr, "bench_lzh: cannot read %s\n", path.c_str());
            return 2;
        }
        corpora.push_back(std::move(corpus));
    } else {
        corpora.push_back(
            std::make_unique<Corpus>(Corpus{"mixed", tidemark::bench::MakeMixedCorpus(), {}, {}}));
    }
    corpora.push_back(
        std::make_unique<Corpus>(Corpus{"binary", tidemark::bench::MakeBinaryCorpus(), {}, {}}));

    for (const auto& c : corpora) {
        benchmark::RegisterBenchmark(("Decode/" + c->Name).c_str(), BM_Decode, c.get())
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("DecodeDirect/" + c->Name).c_str(), BM_DecodeDirect, c.get())
            ->Unit(benchmark::kMillisecond);
        for (LzhParse parse : {LzhParse::Greedy, LzhParse::Lazy, LzhParse::Optimal}) {
            benchmark::RegisterBenchmark(
                (std::string("Encode") + ParseName(parse) + "/" + c->Name).c_str(), BM_Encode,
                c.get(), parse)
                ->Unit(benchmark::kMillisecond);
        }
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    PrintSizes();
    return 0;
}
