#include "numbers_header.h"

namespace tidemark::mkdisks {

std::string NumbersHeaderText(int diskCount, int64_t expectedArchiveSize) {
    return "// The disk set's numbers, written by mkdisks. Do not edit: run mkdisks again.\n"
           "#pragma once\n"
           "#define TIDEMARK_DISK_COUNT " +
           std::to_string(diskCount) +
           "\n"
           "#define TIDEMARK_EXPECTED_ARCHIVE_SIZE " +
           std::to_string(expectedArchiveSize) + "\n";
}

}  // namespace tidemark::mkdisks
