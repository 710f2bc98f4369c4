// The file table appended to the setup program's own file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace tidemark {

struct FileTableEntry {
    std::string Name;
    int32_t Offset = 0;
    int32_t Size = 0;
};

using FileTable = std::vector<FileTableEntry>;

struct PayloadTrailer {
    int32_t UnpackedSize = 0;
    FileTable Table;
};

constexpr size_t kEntrySize = 28;
constexpr size_t kNameFieldSize = 20;  // length byte and 19 characters, no terminator
constexpr size_t kMaxNameLength = 19;
constexpr size_t kMaxEntries = 255;
// UnpackedSize (4 bytes) and EntryCount (1 byte) at the very end of the file.
constexpr size_t kTrailerTailSize = 5;

inline size_t TrailerSize(size_t entryCount) { return entryCount * kEntrySize + kTrailerTailSize; }

// One 28-byte entry as it stands in the trailer. Characters after the name length are ignored;
// a length byte above 19 keeps all 19 characters and is refused by CheckFileTable.
FileTableEntry ParseFileTableEntry(const uint8_t* entry);
// The raw length byte of an entry, which the parsed name cannot show when it is above 19.
inline uint8_t EntryNameLength(const uint8_t* entry) { return entry[0]; }

// The whole trailer from the last bytes of a file. Returns false when `size` bytes cannot hold
// the trailer they claim. Every entry's name length byte goes into nameLengths when given.
bool ParseTrailer(const uint8_t* fileEnd, size_t size, PayloadTrailer& trailer,
                  std::vector<uint8_t>* nameLengths = nullptr);

// The one rule for a file table, kept by mkdisks before it writes one and by the setup program
// before it copies anything. Refuses, with a FileTableError, a table the install cannot carry out
// as written: none at all (no entries and an UnpackedSize of 0, as the last bytes of a program
// without a table read), no entries, an UnpackedSize that is not above 0, and, naming the entry,
// a length byte above 19, a name the name rule refuses (see InstallNames: among them a device, a
// trailing dot, the main program's or the combined archive's name, or an earlier entry's name in
// other letter case), a negative Offset or Size, a first entry at Offset 0 (a main program of no
// bytes), an entry that does not start where the one before it ends (a gap or an overlap), or a
// last entry that does not end at UnpackedSize. A table that passes lies wholly inside the image.
void CheckFileTable(const PayloadTrailer& trailer, const std::vector<uint8_t>& nameLengths,
                    const std::string& mainProgramFile, const std::string& combinedArchiveFile);

// The trailer's bytes for a table; names must already be valid. Unused name characters are 0.
std::vector<uint8_t> EncodeTrailer(const PayloadTrailer& trailer);

}  // namespace tidemark
