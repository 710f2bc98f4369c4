// Reads the file table from the trailer of the setup program's own file.
#pragma once

#include <string>

#include "core/disk_set_block.h"
#include "core/trailer.h"

namespace tidemark {

// Opens the file read-only (sharing reads), reads UnpackedSize, EntryCount and the entries from
// the end of the file, and closes it. Every failure raises an IoError at that operation (a short
// read: 100). A table whose CRC-32 is not the one stamped for a stamped disk set, and a table
// that breaks the file table rule (CheckFileTable: none at all, no entries, not laid out as the
// image is, or one that would make the install leave the destination or the image), raise a
// FileTableError before anything is copied.
PayloadTrailer ReadFileTable(const std::string& path, const DiskSetNumbers& diskSet = {});

}  // namespace tidemark
