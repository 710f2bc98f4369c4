#include "stream.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <system_error>

#include "core/lzh/lzh_decode.h"
#include "errors.h"
#include "file_io.h"
#include "progress.h"

namespace tidemark::mkdisks {

std::vector<uint8_t> Compress(const std::vector<uint8_t>& data, LzhParse parse) {
    ProgressBar bar("compressing");
    LzhEncodeOptions options;
    options.Parse = parse;
    options.Progress = [&bar](size_t done, size_t total) { bar.Update(done, total); };
    std::vector<uint8_t> stream = LzhEncode(data.data(), data.size(), options);
    bar.Update(data.size(), data.size());
    return stream;
}

namespace {

// The decoder's callbacks carry no context of their own; one decoding runs at a time.
struct DecodeRun {
    const std::vector<uint8_t>* input;
    uint64_t position;
    std::vector<uint8_t>* output;
    ProgressBar* bar;
    size_t expected;
};
DecodeRun* currentRun = nullptr;

void ReadFromArchive(uint8_t* buffer, uint16_t count, uint16_t* actual) {
    DecodeRun& run = *currentRun;
    uint64_t available = run.position < run.input->size() ? run.input->size() - run.position : 0;
    uint16_t n = static_cast<uint16_t>(std::min<uint64_t>(count, available));
    if (n) std::memcpy(buffer, run.input->data() + run.position, n);
    run.position += count;  // counts what was asked for, also past the end
    *actual = n;
}

void WriteToImage(const uint8_t* buffer, uint16_t count, uint16_t* actual) {
    DecodeRun& run = *currentRun;
    run.output->insert(run.output->end(), buffer, buffer + count);
    if ((run.output->size() & 0xFFFF) == 0) run.bar->Update(run.output->size(), run.expected);
    *actual = count;
}

}  // namespace

DecodeOutcome Decompress(const std::vector<uint8_t>& archive, int32_t outputSize) {
    DecodeOutcome outcome;
    ProgressBar bar("decoding");
    size_t expected = outputSize > 0 ? size_t(outputSize) : 0;
    outcome.Output.reserve(expected + 64);
    DecodeRun run{&archive, 0, &outcome.Output, &bar, expected};
    currentRun = &run;
    volatile int32_t go = 1;
    try {
        LzhDecode(outputSize, ReadFromArchive, WriteToImage, go);
    } catch (...) {
        currentRun = nullptr;
        throw;
    }
    currentRun = nullptr;
    bar.Update(expected, expected);
    outcome.BytesRequested = run.position;
    return outcome;
}

std::string ArchiveLengthFault(uint64_t archiveSize, uint64_t bytesRequested) {
    if (bytesRequested > archiveSize + kLzhReadsPastEnd)
        return "the archive ends " +
               std::to_string(bytesRequested - archiveSize - kLzhReadsPastEnd) + " bytes early";
    if (bytesRequested < archiveSize)
        return "the archive holds " + std::to_string(archiveSize - bytesRequested) +
               " bytes after the end of the stream";
    return "";
}

std::vector<uint8_t> CompressOrReuse(const std::vector<uint8_t>& image,
                                     const std::filesystem::path& keepAt, bool* reused) {
    if (reused) *reused = false;
    std::error_code ec;
    if (!keepAt.empty() && std::filesystem::exists(keepAt, ec)) {
        if (!std::filesystem::is_regular_file(keepAt, ec))
            throw Refusal("--stream " + keepAt.string() + " is not a file");
        std::vector<uint8_t> kept = ReadWholeFile(keepAt);
        DecodeOutcome check = Decompress(kept, static_cast<int32_t>(image.size()));
        if (check.Output == image &&
            ArchiveLengthFault(kept.size(), check.BytesRequested).empty()) {
            if (reused) *reused = true;
            return kept;
        }
        // Every product begins with its main program, so a stream kept for an earlier version
        // decodes to "MZ" first; anything else is not mkdisks' to replace.
        if (!kept.empty() &&
            !(check.Output.size() >= 2 && check.Output[0] == 'M' && check.Output[1] == 'Z'))
            throw Refusal("--stream " + keepAt.string() +
                          " holds something other than a compressed product, and mkdisks "
                          "replaces only a stream it kept; give another file, or delete that one");
    }
    std::vector<uint8_t> stream = Compress(image, LzhParse::Optimal);
    // Nothing goes on a disk that the setup program's own decoder would not turn back into the
    // product.
    DecodeOutcome check = Decompress(stream, static_cast<int32_t>(image.size()));
    if (check.Output != image || !ArchiveLengthFault(stream.size(), check.BytesRequested).empty())
        throw Refusal(
            "the encoder made a stream that does not decode to the product; nothing "
            "was written");
    if (!keepAt.empty()) WriteWholeFile(keepAt, stream);
    return stream;
}

}  // namespace tidemark::mkdisks
