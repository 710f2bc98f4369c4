#include "core/trailer.h"

#include <cstring>

#include "core/error.h"
#include "core/little_endian.h"
#include "core/name_rules.h"

namespace tidemark {

FileTableEntry ParseFileTableEntry(const uint8_t* entry) {
    FileTableEntry result;
    size_t length = entry[0] > kMaxNameLength ? kMaxNameLength : entry[0];
    result.Name.assign(reinterpret_cast<const char*>(entry + 1), length);
    result.Offset = ReadLittleEndian32(entry + kNameFieldSize);
    result.Size = ReadLittleEndian32(entry + kNameFieldSize + 4);
    return result;
}

bool ParseTrailer(const uint8_t* fileEnd, size_t size, PayloadTrailer& trailer,
                  std::vector<uint8_t>* nameLengths) {
    if (size < kTrailerTailSize) return false;
    const uint8_t* tail = fileEnd - kTrailerTailSize;
    size_t count = tail[0];
    if (size < TrailerSize(count)) return false;
    trailer.UnpackedSize = ReadLittleEndian32(tail + 1);
    trailer.Table.clear();
    if (nameLengths) nameLengths->clear();
    const uint8_t* entry = fileEnd - TrailerSize(count);
    for (size_t i = 0; i < count; ++i, entry += kEntrySize) {
        trailer.Table.push_back(ParseFileTableEntry(entry));
        if (nameLengths) nameLengths->push_back(EntryNameLength(entry));
    }
    return true;
}

namespace {

[[noreturn]] void Refuse(const char* what) {
    throw FileTableError(std::string("The file table ") + what);
}

[[noreturn]] void Refuse(size_t index, const std::string& name, const char* fault) {
    throw FileTableError("The file table is damaged: entry " + std::to_string(index + 1) + " \"" +
                         name + "\" " + fault);
}

}  // namespace

void CheckFileTable(const PayloadTrailer& trailer, const std::vector<uint8_t>& nameLengths,
                    const std::string& mainProgramFile, const std::string& combinedArchiveFile) {
    const FileTable& table = trailer.Table;
    // No entries and a size of 0 is what the zero padding at the end of a program without a table
    // reads as.
    if (table.empty())
        Refuse(trailer.UnpackedSize == 0 ? "is missing" : "is damaged: it lists no files");
    if (trailer.UnpackedSize <= 0) Refuse("is damaged: its unpacked size is below 1");
    InstallNames names(mainProgramFile, combinedArchiveFile);
    // 64-bit: Offset + Size may not fit in 32 bits. The main program ends where entry 1 starts;
    // each entry starts where the one before it ends, so the last one ends furthest.
    int64_t end = 0;
    for (size_t i = 0; i < table.size(); ++i) {
        const FileTableEntry& entry = table[i];
        if (i < nameLengths.size() && nameLengths[i] > kMaxNameLength)
            Refuse(i, entry.Name, "is longer than 19 characters");
        if (const char* fault = names.Add(entry.Name)) Refuse(i, entry.Name, fault);
        if (entry.Offset < 0 || entry.Size < 0) Refuse(i, entry.Name, "has a negative place");
        if (i == 0 ? entry.Offset == 0 : entry.Offset != end)
            Refuse(i, entry.Name,
                   i == 0 ? "leaves no room for the main program"
                          : "does not start where the entry before it ends");
        end = int64_t(entry.Offset) + int64_t(entry.Size);
    }
    if (end != trailer.UnpackedSize)
        Refuse(table.size() - 1, table.back().Name, "does not end where the unpacked image does");
}

std::vector<uint8_t> EncodeTrailer(const PayloadTrailer& trailer) {
    size_t count = trailer.Table.size();
    std::vector<uint8_t> bytes(TrailerSize(count), 0);
    uint8_t* entry = bytes.data();
    for (const FileTableEntry& e : trailer.Table) {
        size_t length = e.Name.size() > kMaxNameLength ? kMaxNameLength : e.Name.size();
        entry[0] = static_cast<uint8_t>(length);
        std::memcpy(entry + 1, e.Name.data(), length);
        WriteLittleEndian32(entry + kNameFieldSize, e.Offset);
        WriteLittleEndian32(entry + kNameFieldSize + 4, e.Size);
        entry += kEntrySize;
    }
    entry[0] = static_cast<uint8_t>(count);
    WriteLittleEndian32(entry + 1, trailer.UnpackedSize);
    return bytes;
}

}  // namespace tidemark
