#include "payload/read_file_table.h"

#include <cstdint>

#include "core/crc32.h"
#include "core/error.h"
#include "core/little_endian.h"
#include "core/profile.h"
#include "runtime/file.h"

namespace tidemark {

PayloadTrailer ReadFileTable(const std::string& path, const DiskSetNumbers& diskSet) {
    File file = File::OpenForReading(path);
    uint32_t length = file.Size();
    PayloadTrailer trailer;

    uint8_t field[4];
    file.Seek(length - 4);
    file.Read(field, 4);
    trailer.UnpackedSize = ReadLittleEndian32(field);

    uint8_t count = 0;
    file.Seek(length - 5);
    file.Read(&count, 1);

    // A file shorter than its trailer claims would position before its start: kReadBeyondEnd
    // ("Read beyond end of file") rather than a wrapped-around position.
    uint32_t trailerSize = static_cast<uint32_t>(TrailerSize(count));
    if (trailerSize > length) throw IoError(kReadBeyondEnd);
    file.Seek(length - trailerSize);

    std::vector<uint8_t> nameLengths;
    uint32_t crc = 0;  // of the table's bytes in file order: entries, count, UnpackedSize
    for (unsigned i = 0; i < count; ++i) {
        uint8_t entry[kEntrySize];
        file.Read(entry, kEntrySize);
        crc = Crc32(crc, entry, kEntrySize);
        trailer.Table.push_back(ParseFileTableEntry(entry));
        nameLengths.push_back(EntryNameLength(entry));
    }
    file.Close();
    crc = Crc32(Crc32(crc, &count, 1), field, 4);

    // Bytes appended to the program, or a table changed since the disks were made, read as
    // another table: installing by it would write wrong files and report success.
    if (diskSet.Stamped() && crc != diskSet.TableCrc)
        throw FileTableError(
            "The file table of the setup program is not the one its disks were made with: the "
            "setup program is damaged or has been changed. Please use the original disk 1");

    CheckFileTable(trailer, nameLengths, ProductProfile.MainProgramFile,
                   ProductProfile.CombinedArchiveFile);
    return trailer;
}

}  // namespace tidemark
