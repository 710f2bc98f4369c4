#include "setup_program.h"

#include <algorithm>
#include <cstdio>

#include "core/crc32.h"
#include "core/disk_set_block.h"
#include "core/little_endian.h"
#include "errors.h"
#include "file_io.h"
#include "product.h"

namespace tidemark::mkdisks {

namespace {

// Reads that say "no" instead of running past the end of the file.
struct Reader {
    const std::vector<uint8_t>& bytes;
    bool ok = true;
    uint32_t U16(uint64_t at) {
        if (at + 2 > bytes.size()) return Fail();
        return uint32_t(bytes[at]) | uint32_t(bytes[at + 1]) << 8;
    }
    uint32_t U32(uint64_t at) {
        if (at + 4 > bytes.size()) return Fail();
        return static_cast<uint32_t>(ReadLittleEndian32(&bytes[at]));
    }
    uint32_t Fail() {
        ok = false;
        return 0;
    }
};

constexpr uint32_t kPeSignature = 0x00004550;  // "PE\0\0"
constexpr uint32_t kPe32Magic = 0x10B;
constexpr uint32_t kPe32PlusMagic = 0x20B;
constexpr uint32_t kCertificateDirectory = 4;
constexpr uint64_t kSymbolSize = 18;
constexpr uint64_t kSectionHeaderSize = 40;

}  // namespace

int64_t ProgramImageEnd(const std::vector<uint8_t>& file) {
    Reader r{file};
    if (file.size() < 0x40 || file[0] != 'M' || file[1] != 'Z') return -1;
    uint64_t pe = r.U32(0x3C);
    if (!r.ok || r.U32(pe) != kPeSignature) return -1;
    uint64_t coff = pe + 4;
    uint32_t sectionCount = r.U16(coff + 2);
    uint64_t symbols = r.U32(coff + 8);
    uint64_t symbolCount = r.U32(coff + 12);
    uint32_t optionalSize = r.U16(coff + 16);
    uint64_t optional = coff + 20;
    uint32_t magic = r.U16(optional);
    if (!r.ok || (magic != kPe32Magic && magic != kPe32PlusMagic)) return -1;

    uint64_t sections = optional + optionalSize;
    uint64_t end = sections + sectionCount * kSectionHeaderSize;
    for (uint32_t i = 0; i < sectionCount; ++i) {
        uint64_t header = sections + i * kSectionHeaderSize;
        uint64_t rawSize = r.U32(header + 16);
        uint64_t rawPlace = r.U32(header + 20);
        if (rawSize > 0) end = std::max(end, rawPlace + rawSize);
    }
    if (symbols != 0) {
        uint64_t strings = symbols + symbolCount * kSymbolSize;
        uint64_t stringsSize = r.U32(strings);  // counts its own four bytes
        end = std::max(end, strings + std::max<uint64_t>(stringsSize, 4));
    }
    uint64_t directoryCountAt = optional + (magic == kPe32Magic ? 92 : 108);
    uint64_t directories = directoryCountAt + 4;
    if (r.U32(directoryCountAt) > kCertificateDirectory) {
        // The certificate table's address is a file position, not a virtual address.
        uint64_t place = r.U32(directories + kCertificateDirectory * 8);
        uint64_t size = r.U32(directories + kCertificateDirectory * 8 + 4);
        if (place != 0 && size != 0) end = std::max(end, place + size);
    }
    if (!r.ok || end > file.size()) return -1;
    return static_cast<int64_t>(end);
}

SetupInspection InspectSetupProgram(const std::vector<uint8_t>& file) {
    SetupInspection result;
    result.ImageEnd = ProgramImageEnd(file);
    if (result.ImageEnd < 0) return result;
    size_t extra = file.size() - static_cast<size_t>(result.ImageEnd);
    if (extra == 0) {
        result.Tail = SetupTail::Plain;
        return result;
    }
    result.Tail = SetupTail::UnknownData;
    PayloadTrailer trailer;
    std::vector<uint8_t> lengths;
    if (!ParseTrailer(file.data() + file.size(), extra, trailer, &lengths)) {
        result.UnknownDataFault = "too short for the table it would claim";
        return result;
    }
    std::string fault = FileTableFault(trailer, lengths);
    if (!fault.empty()) {
        result.UnknownDataFault = fault;
        return result;
    }
    result.Tail = SetupTail::FileTable;
    result.TrailerBytes = TrailerSize(trailer.Table.size());
    result.Trailer = std::move(trailer);
    return result;
}

int64_t FindDiskSetBlock(const std::vector<uint8_t>& file, int64_t imageEnd) {
    auto end = file.begin() + std::min<int64_t>(imageEnd, int64_t(file.size()));
    auto found =
        std::search(file.begin(), end, kDiskSetMarker, kDiskSetMarker + kDiskSetMarkerSize);
    if (found == end || end - found < int64_t(kDiskSetBlockSize)) return -1;
    if (std::search(found + 1, end, kDiskSetMarker, kDiskSetMarker + kDiskSetMarkerSize) != end)
        return -2;
    return found - file.begin();
}

}  // namespace tidemark::mkdisks

namespace tidemark::mkdisks {

StampedSet ReadStampedSet(const std::vector<uint8_t>& file, int64_t imageEnd) {
    int64_t at = FindDiskSetBlock(file, imageEnd);
    if (at < 0) return {};
    return {true, DecodeDiskSetBlock(&file[size_t(at)])};
}

std::string TableCrcFault(const std::vector<uint8_t>& file, const SetupInspection& inspection,
                          const StampedSet& stamped) {
    if (!stamped.Checks() || inspection.Tail != SetupTail::FileTable) return "";
    size_t size = inspection.TrailerBytes;
    uint32_t crc = Crc32(&file[file.size() - size], size);
    if (crc == stamped.Numbers.TableCrc) return "";
    char text[96];
    std::snprintf(text, sizeof text,
                  "the file table's CRC-32 is %08X, setup.exe was stamped with %08X", crc,
                  stamped.Numbers.TableCrc);
    return text;
}

namespace {

// Why the bytes after a program image keep mkdisks from building on it; empty when they do not.
std::string TailRefusal(const std::string& name, const std::vector<uint8_t>& bytes,
                        const SetupInspection& inspection, bool replaceTrailer) {
    switch (inspection.Tail) {
        case SetupTail::NotAProgram:
            return name + " is not a Windows program";
        case SetupTail::UnknownData:
            return name + " has " + std::to_string(bytes.size() - size_t(inspection.ImageEnd)) +
                   " bytes after its program image that are not a file table (" +
                   inspection.UnknownDataFault + "); give the program as the linker made it";
        case SetupTail::FileTable:
            if (replaceTrailer) return "";
            return name + " already carries a file table (" +
                   std::to_string(inspection.Trailer.Table.size()) +
                   " entries); give the plain program or --replace-trailer";
        case SetupTail::Plain:
            break;
    }
    return "";
}

}  // namespace

PlainProgram PlainSetupProgram(const std::filesystem::path& path, bool replaceTrailer) {
    PlainProgram program{ReadWholeFile(path)};
    std::vector<uint8_t>& bytes = program.Bytes;
    const std::string name = path.string();
    SetupInspection inspection = InspectSetupProgram(bytes);
    std::string refusal = TailRefusal(name, bytes, inspection, replaceTrailer);
    if (!refusal.empty()) throw Refusal(refusal);
    if (inspection.Tail == SetupTail::FileTable)
        bytes.resize(bytes.size() - inspection.TrailerBytes);
    int64_t block = FindDiskSetBlock(bytes, inspection.ImageEnd);
    if (block == -2) throw Refusal(name + " holds the disk set block's marker more than once");
    if (block < 0)
        throw Refusal(name +
                      " has no disk set block to stamp; give the setup.exe built from this "
                      "source");
    program.Block = size_t(block);
    if (DecodeDiskSetBlock(&bytes[program.Block]).Stamped() && !replaceTrailer)
        throw Refusal(name +
                      " is stamped for a disk set already; give the plain program or "
                      "--replace-trailer");
    return program;
}

}  // namespace tidemark::mkdisks
