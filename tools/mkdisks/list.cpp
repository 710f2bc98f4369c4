// list: the file table a setup program carries and the numbers stamped into it.
#include <filesystem>
#include <system_error>

#include "arguments.h"
#include "errors.h"
#include "file_io.h"
#include "report.h"
#include "setup_program.h"
#include "subcommands.h"

namespace tidemark::mkdisks {

namespace fs = std::filesystem;

namespace {

// Says why the program carries no table it would accept, with what it would read if anything.
int ListWithoutTable(const fs::path& path, const std::vector<uint8_t>& bytes,
                     const SetupInspection& inspection, std::ostream& out, std::ostream& err) {
    if (inspection.Tail == SetupTail::NotAProgram) {
        err << "mkdisks: " << path.string() << " is not a Windows program\n";
    } else if (inspection.Tail == SetupTail::Plain) {
        err << "mkdisks: " << path.string() << " carries no file table\n";
    } else {
        err << "mkdisks: the " << bytes.size() - size_t(inspection.ImageEnd)
            << " bytes after the program image of " << path.string()
            << " are not a well-formed file table: " << inspection.UnknownDataFault << "\n";
        PayloadTrailer raw;
        if (ParseTrailer(bytes.data() + bytes.size(), bytes.size(), raw)) {
            out << "What the setup program would read:\n";
            PrintFileTable(out, raw);
        }
    }
    return kExitMismatch;
}

}  // namespace

int List(const Args& args, std::ostream& out, std::ostream& err) {
    Arguments a = ParseArguments(args, 1, {}, {});
    fs::path path = a.Positional[0];
    std::error_code ec;
    if (!fs::is_regular_file(path, ec)) throw UsageError("there is no file " + path.string());
    std::vector<uint8_t> bytes = ReadWholeFile(path);
    SetupInspection inspection = InspectSetupProgram(bytes);
    if (inspection.Tail != SetupTail::FileTable)
        return ListWithoutTable(path, bytes, inspection, out, err);
    out << path.string() << ": program image " << Grouped(inspection.ImageEnd)
        << " bytes, file table " << inspection.TrailerBytes << " bytes\n";
    PrintFileTable(out, inspection.Trailer);
    StampedSet stamped = ReadStampedSet(bytes, inspection.ImageEnd);
    PrintStampedSet(out, stamped);
    std::string warning = UninstallerWarning(inspection.Trailer);
    if (!warning.empty()) err << "mkdisks: " << warning << "\n";
    std::string crcFault = TableCrcFault(bytes, inspection, stamped);
    if (!crcFault.empty()) {
        err << "mkdisks: " << crcFault << ": the setup program would refuse it\n";
        return kExitMismatch;
    }
    return kExitOk;
}

}  // namespace tidemark::mkdisks
