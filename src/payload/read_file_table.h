// Reads the file table from the trailer of the setup program's own file.
#pragma once

#include <string>

#include "payload/trailer.h"

namespace tidemark {

// Opens the file read-only (sharing reads), reads UnpackedSize, EntryCount and the entries from
// the end of the file, and closes it. Every failure raises an IoError at that operation (a short
// read: 100). A table that would make the install leave the destination or the image raises a
// FileTableError before anything is copied.
PayloadTrailer ReadFileTable(const std::string& path);

}  // namespace tidemark
