// Minimal PE files for the tests of mkdisks: headers, sections of raw data (the first holding
// an unstamped disk set block, as the setup program's data does), and optionally a COFF symbol
// table with its string table and a certificate table, laid out as a linker does.
#pragma once

#include <cstdint>
#include <cstring>
#include <vector>

#include "payload/disk_set_block.h"

namespace mkdisks_test {

struct ProgramShape {
    bool Pe32Plus = false;
    int Sections = 2;
    uint32_t SectionRawSize = 0x400;
    uint8_t SectionFill = 0;  // the raw data's bytes; 0 as in zero padding
    uint32_t Symbols = 0;     // COFF symbols after the sections, then a string table
    uint32_t StringTableSize = 4;
    uint32_t CertificateSize = 0;  // a certificate table at the very end
    bool DiskSetBlock = true;
};

inline void Put16(std::vector<uint8_t>& b, size_t at, uint32_t v) {
    b[at] = uint8_t(v);
    b[at + 1] = uint8_t(v >> 8);
}
inline void Put32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
    Put16(b, at, v);
    Put16(b, at + 2, v >> 16);
}

inline std::vector<uint8_t> FakeProgram(const ProgramShape& shape = {}) {
    const size_t pe = 0x40, coff = pe + 4, optional = coff + 20;
    const uint32_t optionalSize = shape.Pe32Plus ? 240 : 224;
    const size_t sectionTable = optional + optionalSize;
    const size_t firstRaw = 0x400;
    size_t end = firstRaw + size_t(shape.Sections) * shape.SectionRawSize;
    size_t symbols = end;
    if (shape.Symbols) end += shape.Symbols * 18 + shape.StringTableSize;
    size_t certificate = end;
    end += shape.CertificateSize;

    std::vector<uint8_t> b(end, 0);
    b[0] = 'M';
    b[1] = 'Z';
    Put32(b, 0x3C, uint32_t(pe));
    std::memcpy(&b[pe], "PE\0\0", 4);
    Put16(b, coff, shape.Pe32Plus ? 0x8664 : 0x14C);
    Put16(b, coff + 2, uint32_t(shape.Sections));
    Put32(b, coff + 8, shape.Symbols ? uint32_t(symbols) : 0);
    Put32(b, coff + 12, shape.Symbols);
    Put16(b, coff + 16, optionalSize);
    Put16(b, optional, shape.Pe32Plus ? 0x20B : 0x10B);
    size_t directories = optional + (shape.Pe32Plus ? 112 : 96);
    Put32(b, directories - 4, 16);
    if (shape.CertificateSize) {
        Put32(b, directories + 4 * 8, uint32_t(certificate));
        Put32(b, directories + 4 * 8 + 4, shape.CertificateSize);
    }
    for (int i = 0; i < shape.Sections; ++i) {
        size_t header = sectionTable + size_t(i) * 40;
        std::memcpy(&b[header], ".data\0\0\0", 8);
        Put32(b, header + 16, shape.SectionRawSize);
        Put32(b, header + 20, uint32_t(firstRaw + size_t(i) * shape.SectionRawSize));
    }
    std::memset(&b[firstRaw], shape.SectionFill, size_t(shape.Sections) * shape.SectionRawSize);
    if (shape.DiskSetBlock) {
        tidemark::DiskSetNumbers shipped;
        shipped.DiskCount = 3;
        shipped.ExpectedArchiveSize = 3390000;
        tidemark::DiskSetBlockBytes block = tidemark::EncodeDiskSetBlock(shipped);
        std::memcpy(&b[firstRaw + 16], block.Bytes, sizeof block.Bytes);
    }
    if (shape.Symbols) Put32(b, symbols + shape.Symbols * 18, shape.StringTableSize);
    return b;
}

}  // namespace mkdisks_test
