// How mkdisks shows numbers and tables, and what it reports about a setup program's table and
// stamp, the same in every command.
#pragma once

#include <chrono>
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "core/trailer.h"
#include "setup_program.h"

namespace tidemark::mkdisks {

std::string Grouped(int64_t n);  // 1234567 -> "1,234,567"
std::string Seconds(std::chrono::steady_clock::duration d);
std::string Hex32(uint32_t value);

struct Column {
    std::string Heading;
    size_t Width;  // a wider cell is printed whole
    bool Right;
};
using TableRow = std::vector<std::string>;

// A heading line, then one line a row, each line starting with indent.
void PrintTable(std::ostream& out, const std::string& indent, const std::vector<Column>& columns,
                const std::vector<TableRow>& rows);

// Every entry, numbered, then the count and the unpacked size.
void PrintFileTable(std::ostream& out, const PayloadTrailer& trailer);

void PrintStampedSet(std::ostream& out, const StampedSet& set);

// A warning when the table lists no uninstaller, which the uninstall entry the setup program
// registers would then name in vain; empty otherwise.
std::string UninstallerWarning(const PayloadTrailer& trailer);

}  // namespace tidemark::mkdisks
