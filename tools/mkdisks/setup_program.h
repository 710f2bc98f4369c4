// What follows the program image in a setup program's file: nothing, a file table that mkdisks
// wrote before, or something else.
//
// The rule, chosen so that a plain program is never taken for one that carries a table: the end
// of the program image is found from the file's own PE headers (the furthest of its sections'
// raw data, its COFF symbol and string tables, and its certificate table). A file ending there
// carries nothing. Bytes after that end are recognised as a file table only when they end with
// one that is well-formed as mkdisks writes it (see FileTableFault): valid names, entries
// contiguous from a non-empty main program to exactly UnpackedSize. Anything else after the
// image is unknown data, which mkdisks will not build on. The last bytes of a plain program
// (zero padding, resources) are never read as a table, however they happen to parse.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "core/disk_set_block.h"
#include "core/trailer.h"

namespace tidemark::mkdisks {

// Where the program image of a PE file ends, or -1 when the bytes are not a PE file.
int64_t ProgramImageEnd(const std::vector<uint8_t>& file);

enum class SetupTail { NotAProgram, Plain, FileTable, UnknownData };

struct SetupInspection {
    SetupTail Tail = SetupTail::NotAProgram;
    int64_t ImageEnd = -1;
    PayloadTrailer Trailer;        // when Tail is FileTable
    size_t TrailerBytes = 0;       // when Tail is FileTable
    std::string UnknownDataFault;  // when Tail is UnknownData: why the bytes are not a table
};

SetupInspection InspectSetupProgram(const std::vector<uint8_t>& file);

// Where the disk set block starts in the program image (the first `imageEnd` bytes): -1 when
// the marker is not there, -2 when it is there more than once (which block would the program
// read?).
int64_t FindDiskSetBlock(const std::vector<uint8_t>& file, int64_t imageEnd);

// The numbers a setup program carries in its disk set block; Found is false for a program made
// before disks were stamped.
struct StampedSet {
    bool Found = false;
    DiskSetNumbers Numbers;
    bool Checks() const { return Found && Numbers.Stamped(); }
};

StampedSet ReadStampedSet(const std::vector<uint8_t>& file, int64_t imageEnd);

// Why the setup program would refuse its own file table: a CRC-32 other than the stamped one.
// Empty when the table matches, or when the program checks nothing.
std::string TableCrcFault(const std::vector<uint8_t>& file, const SetupInspection& inspection,
                          const StampedSet& stamped);

struct PlainProgram {
    std::vector<uint8_t> Bytes;  // without a table mkdisks wrote earlier
    size_t Block = 0;            // where its disk set block starts
};

// The setup program's bytes ready for a disk set. Refuses (Refusal) anything that would not
// take a trailer cleanly and a program without its disk set block; one that carries a table or
// a stamp already only without replaceTrailer.
PlainProgram PlainSetupProgram(const std::filesystem::path& path, bool replaceTrailer);

}  // namespace tidemark::mkdisks
