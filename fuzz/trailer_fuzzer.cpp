// Any file end either fails to hold a trailer, or parses; a parsed table either is refused with
// a FileTableError or lies wholly inside the image with names the install can create, distinct
// from one another and from the main program's, and then writes back to the same table.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "payload/name_rules.h"
#include "payload/trailer.h"
#include "runtime/error.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace tidemark;
    PayloadTrailer trailer;
    std::vector<uint8_t> nameLengths;
    if (!ParseTrailer(data + size, size, trailer, &nameLengths)) {
        Check(size < kTrailerTailSize || size < TrailerSize(data[size - kTrailerTailSize]));
        return 0;
    }
    Check(trailer.Table.size() == data[size - kTrailerTailSize]);
    Check(nameLengths.size() == trailer.Table.size());
    try {
        CheckFileTable(trailer, nameLengths, "Tidemark.Exe", "Tidemark._LF");
    } catch (const FileTableError&) {
        return 0;
    }
    Check(trailer.UnpackedSize >= 0);
    InstallNames names("Tidemark.Exe", "Tidemark._LF");
    for (const FileTableEntry& e : trailer.Table) {
        Check(e.Offset >= 0 && e.Size >= 0);
        Check(int64_t(e.Offset) + e.Size <= trailer.UnpackedSize);
        Check(names.Add(e.Name) == nullptr);
    }
    std::vector<uint8_t> bytes = EncodeTrailer(trailer);
    PayloadTrailer again;
    Check(ParseTrailer(bytes.data() + bytes.size(), bytes.size(), again));
    Check(again.UnpackedSize == trailer.UnpackedSize && again.Table.size() == trailer.Table.size());
    for (size_t i = 0; i < again.Table.size(); ++i) {
        Check(again.Table[i].Name == trailer.Table[i].Name);
        Check(again.Table[i].Offset == trailer.Table[i].Offset);
        Check(again.Table[i].Size == trailer.Table[i].Size);
    }
    return 0;
}
