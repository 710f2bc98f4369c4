// The splitting stage of the unpacking page: cuts the product's files out of the unpacked image
// and leaves the image holding the main program alone. Dispatches nothing but the questions it
// asks; cannot be cancelled.
#pragma once

#include <string>
#include <vector>

#include "core/trailer.h"

namespace tidemark {

// Asked with a Retry/Cancel question when a product file cannot be put in place; true to try
// again. A plain function and what it needs (the program: the page that owns the message box).
struct RetryQuestion {
    bool (*ask)(void* context, const std::string& question);
    void* context;
    bool operator()(const std::string& question) const { return ask(context, question); }
};

// Copies every entry of the table, in order, out of the image at imagePath (its temporary name)
// into a file of its own (help files into windowsFolder\Help, or the destination when there is
// no such folder; existing .LIB and .DTP files kept), then cuts the image at the first entry's
// Offset, empties the table and renames the image onto the main program's name in the
// destination. Each file is written under a temporary name in its folder and renamed onto its
// own name when complete, so an older file stays whole until then. A file that cannot be put in
// place is asked about: Retry tries again; Cancel leaves it out (a help file goes to the
// destination instead; an image left out is deleted). Returns the closing prompt's lines for the
// files left out or put elsewhere. An image shorter than the table says raises IoError 100; an
// empty table leaves the image uncut.
std::vector<std::string> SplitImage(const std::string& imagePath, FileTable& table,
                                    const std::string& destinationFolder,
                                    const std::string& windowsFolder, RetryQuestion ask);

// Deletes the temporary files that a run leaves when it is stopped, fails or is killed: the
// image and a split file in the destination, a split file in windowsFolder\Help.
void RemoveTemporaryFiles(const std::string& destinationFolder, const std::string& windowsFolder);

}  // namespace tidemark
