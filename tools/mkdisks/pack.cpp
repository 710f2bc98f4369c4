// pack and unpack: the raw compressed stream, for trying the encoder and the decoder alone.
#include <chrono>

#include "arguments.h"
#include "errors.h"
#include "file_io.h"
#include "report.h"
#include "stream.h"
#include "subcommands.h"

namespace tidemark::mkdisks {

int Pack(const Args& args, std::ostream& out, std::ostream&) {
    Arguments a = ParseArguments(args, 2, {"--parse"}, {});
    std::string parseName = a.Value("--parse", "optimal");
    LzhParse parse = LzhParse::Optimal;
    if (parseName == "greedy")
        parse = LzhParse::Greedy;
    else if (parseName == "lazy")
        parse = LzhParse::Lazy;
    else if (parseName != "optimal")
        throw UsageError("--parse is greedy, lazy or optimal, not \"" + parseName + "\"");
    std::vector<uint8_t> data = ReadWholeFile(a.Positional[0]);
    if (data.size() > size_t(INT32_MAX)) throw Refusal("the input is larger than 2 GB - 1");
    auto start = std::chrono::steady_clock::now();
    std::vector<uint8_t> stream = Compress(data, parse);
    auto elapsed = std::chrono::steady_clock::now() - start;
    WriteWholeFile(a.Positional[1], stream);
    out << Grouped(int64_t(data.size())) << " -> " << Grouped(int64_t(stream.size()))
        << " bytes in " << Seconds(elapsed) << "; unpack with size " << data.size() << "\n";
    return kExitOk;
}

int Unpack(const Args& args, std::ostream& out, std::ostream& err) {
    Arguments a = ParseArguments(args, 3, {}, {});
    int32_t size = int32_t(ParseCount("SIZE", a.Positional[2], 0, INT32_MAX));
    std::vector<uint8_t> stream = ReadWholeFile(a.Positional[0]);
    DecodeOutcome decoded = Decompress(stream, size);
    // A damaged stream decodes to something all the same; it is not written.
    std::string lengthFault = ArchiveLengthFault(stream.size(), decoded.BytesRequested);
    if (!lengthFault.empty()) {
        err << "mkdisks: " << lengthFault << "; " << a.Positional[1] << " is not written\n";
        return kExitMismatch;
    }
    decoded.Output.resize(size_t(size));
    WriteWholeFile(a.Positional[1], decoded.Output);
    out << Grouped(int64_t(stream.size())) << " -> " << Grouped(size) << " bytes\n";
    return kExitOk;
}

}  // namespace tidemark::mkdisks
