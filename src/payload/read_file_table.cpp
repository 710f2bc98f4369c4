#include "payload/read_file_table.h"

#include <cstdint>

#include "runtime/error.h"
#include "runtime/file.h"
#include "setup/profile.h"

namespace tidemark {

PayloadTrailer ReadFileTable(const std::string& path) {
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

    // A file shorter than its trailer claims would position before its start: the runtime's
    // "Read beyond end of file" rather than a wrapped-around position.
    uint32_t trailerSize = static_cast<uint32_t>(TrailerSize(count));
    if (trailerSize > length) throw IoError(kReadBeyondEnd);
    file.Seek(length - trailerSize);

    std::vector<uint8_t> nameLengths;
    for (unsigned i = 0; i < count; ++i) {
        uint8_t entry[kEntrySize];
        file.Read(entry, kEntrySize);
        trailer.Table.push_back(ParseFileTableEntry(entry));
        nameLengths.push_back(EntryNameLength(entry));
    }
    file.Close();

    CheckFileTable(trailer, nameLengths, ProductProfile.MainProgramFile);
    return trailer;
}

}  // namespace tidemark
