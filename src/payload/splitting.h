// The splitting stage of the unpacking page: cuts the product's files out of the unpacked image
// and leaves the image holding the main program alone. Dispatches nothing; cannot be cancelled.
#pragma once

#include <string>

#include "payload/trailer.h"

namespace tidemark {

// Copies every entry of the table, in order, out of the image at imagePath into a file of its
// own (help files into windowsFolder\Help, falling back to the destination; existing .LIB and
// .DTP files kept; an entry whose file cannot be created skipped), then cuts the image at the
// first entry's Offset and empties the table. An image shorter than the table says raises
// IoError 100; an empty table leaves the image uncut.
void SplitImage(const std::string& imagePath, FileTable& table,
                const std::string& destinationFolder, const std::string& windowsFolder);

}  // namespace tidemark
