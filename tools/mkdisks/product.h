// The product folder and the unpacked image made from it: the main program first, then every
// other file in name order, each listed in the file table by its place in the image.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "core/trailer.h"

namespace tidemark::mkdisks {

struct ProductFile {
    std::string Name;
    std::vector<uint8_t> Bytes;
};

struct Product {
    ProductFile Main;
    std::vector<ProductFile> Others;  // sorted by name, byte order
};

// Reads the product folder; the main program is found without regard to letter case. Refuses
// (Refusal) an empty folder, a missing or empty main program or one that does not begin with
// "MZ", a folder of the main program alone, a sub-folder or other non-file entry, a name the name
// rule refuses (InstallNames), more than 255 files besides the main program, and an image above 2
// GB - 1 bytes.
Product ReadProduct(const std::filesystem::path& folder, const std::string& mainName);

struct UnpackedImage {
    std::vector<uint8_t> Bytes;
    PayloadTrailer Trailer;
};

UnpackedImage BuildImage(const Product& product);

// Why the table breaks the one file table rule (CheckFileTable), or empty when it keeps it.
std::string FileTableFault(const PayloadTrailer& trailer, const std::vector<uint8_t>& nameLengths);

}  // namespace tidemark::mkdisks
