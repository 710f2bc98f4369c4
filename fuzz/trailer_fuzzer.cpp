// Any file end either fails to hold a trailer or parses; a parsed table is either refused with
// a FileTableError or lies wholly inside the image with names the install can create, distinct
// from one another, the main program's and the combined archive's.
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
    PayloadTrailer t;
    std::vector<uint8_t> lengths;
    if (!ParseTrailer(data + size, size, t, &lengths)) {
        Check(size < kTrailerTailSize || size < TrailerSize(data[size - kTrailerTailSize]));
        return 0;
    }
    Check(t.Table.size() == data[size - kTrailerTailSize] && lengths.size() == t.Table.size());
    try {
        CheckFileTable(t, lengths, "Tidemark.Exe", "Tidemark._LF");
    } catch (const FileTableError&) {
        return 0;
    }
    InstallNames names("Tidemark.Exe", "Tidemark._LF");
    for (const FileTableEntry& e : t.Table) {
        Check(e.Offset >= 0 && e.Size >= 0 && int64_t(e.Offset) + e.Size <= t.UnpackedSize);
        Check(names.Add(e.Name) == nullptr);
    }
    return 0;
}
