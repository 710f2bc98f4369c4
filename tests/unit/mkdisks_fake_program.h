// Minimal PE files for the tests of mkdisks, laid out as a linker does: headers, sections of
// 0x400 raw bytes (the first holding an unstamped disk set block, as the setup program's data
// does), and optionally COFF symbols with their string table.
#pragma once

#include <cstdint>
#include <cstring>
#include <vector>

#include "payload/disk_set_block.h"

namespace mkdisks_test {

struct ProgramShape {
    bool Pe32Plus = false, DiskSetBlock = true;
    uint32_t Sections = 2, Symbols = 0, StringTableSize = 4;
};

inline std::vector<uint8_t> FakeProgram(const ProgramShape& s = {}) {
    const size_t coff = 0x44, optional = coff + 20, symbols = 0x400 + s.Sections * 0x400;
    const uint32_t optionalSize = s.Pe32Plus ? 240 : 224;
    std::vector<uint8_t> b(symbols + (s.Symbols ? s.Symbols * 18 + s.StringTableSize : 0), 0);
    auto put = [&b](size_t at, uint32_t v) {  // little-endian
        for (int k = 0; k < 4; ++k) b[at + k] = uint8_t(v >> 8 * k);
    };
    put(0, 'M' | 'Z' << 8);
    put(0x3C, 0x40);
    put(0x40, 'P' | 'E' << 8);
    put(coff, (s.Pe32Plus ? 0x8664 : 0x14C) | s.Sections << 16);
    put(coff + 8, s.Symbols ? uint32_t(symbols) : 0);
    put(coff + 12, s.Symbols);
    put(coff + 16, optionalSize);
    put(optional, s.Pe32Plus ? 0x20B : 0x10B);
    put(optional + (s.Pe32Plus ? 108 : 92), 16);  // data directories
    for (uint32_t i = 0; i < s.Sections; ++i) {
        put(optional + optionalSize + i * 40 + 16, 0x400);
        put(optional + optionalSize + i * 40 + 20, 0x400 + i * 0x400);
    }
    if (s.DiskSetBlock) {
        tidemark::DiskSetNumbers shipped;
        shipped.DiskCount = 3;
        shipped.ExpectedArchiveSize = 3390000;
        std::memcpy(&b[0x410], tidemark::EncodeDiskSetBlock(shipped).Bytes,
                    tidemark::kDiskSetBlockSize);
    }
    if (s.Symbols) put(symbols + s.Symbols * 18, s.StringTableSize);
    return b;
}

}  // namespace mkdisks_test
