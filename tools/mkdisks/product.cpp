#include "product.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <map>
#include <system_error>

#include "errors.h"
#include "file_io.h"
#include "runtime/error.h"

namespace tidemark::mkdisks {

namespace fs = std::filesystem;

const char* FileNameFault(const std::string& name) {
    if (name.empty()) return "is empty";
    if (name.size() > kMaxNameLength) return "is longer than 19 characters";
    if (name == "." || name == "..") return "does not name a file";
    for (unsigned char c : name) {
        if (c == '\\' || c == '/' || c == ':') return "holds a folder or drive character";
        if (c < 0x20 || c == 0x7F) return "holds a control character";
        if (c > 0x7F) return "holds a character outside ASCII";
        if (std::strchr("<>\"|?*", c)) return "holds a character Windows does not allow";
    }
    if (name.back() == '.' || name.back() == ' ') return "ends with a dot or space";
    return nullptr;
}

namespace {

std::string Upper(std::string s) {
    for (char& c : s)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return s;
}

[[noreturn]] void RefuseName(const std::string& name, const char* fault) {
    throw Refusal("the product file name \"" + name + "\" " + fault);
}

}  // namespace

Product ReadProduct(const fs::path& folder, const std::string& mainName) {
    std::error_code ec;
    if (!fs::is_directory(folder, ec))
        throw Refusal("the product folder " + folder.string() + " does not exist");
    std::vector<std::string> names;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, ec)) {
        std::string name = entry.path().filename().string();
        if (!entry.is_regular_file())
            throw Refusal("the product folder holds \"" + name +
                          "\", which is not a plain file; the install has no sub-folders");
        names.push_back(name);
    }
    if (ec) throw FileFailure("cannot list " + folder.string() + ": " + ec.message());
    if (names.empty()) throw Refusal("the product folder " + folder.string() + " is empty");
    if (std::find(names.begin(), names.end(), mainName) == names.end())
        throw Refusal("the main program " + mainName + " is not in " + folder.string());
    std::sort(names.begin(), names.end());

    std::map<std::string, std::string> byUpper;
    for (const std::string& name : names) {
        if (const char* fault = FileNameFault(name)) RefuseName(name, fault);
        auto [it, added] = byUpper.emplace(Upper(name), name);
        if (!added)
            throw Refusal("the product files \"" + it->second + "\" and \"" + name +
                          "\" would be one file on Windows");
    }
    if (names.size() - 1 > kMaxEntries)
        throw Refusal("the product has " + std::to_string(names.size() - 1) +
                      " files besides the main program; the file table holds at most 255");

    Product product;
    uint64_t total = 0;
    for (const std::string& name : names) {
        ProductFile file{name, ReadWholeFile(folder / name)};
        total += file.Bytes.size();
        if (total > uint64_t(std::numeric_limits<int32_t>::max()))
            throw Refusal("the product is larger than 2,147,483,647 bytes");
        if (name == mainName)
            product.Main = std::move(file);
        else
            product.Others.push_back(std::move(file));
    }
    if (product.Main.Bytes.empty()) throw Refusal("the main program " + mainName + " is empty");
    return product;
}

UnpackedImage BuildImage(const Product& product) {
    UnpackedImage image;
    image.Bytes = product.Main.Bytes;
    for (const ProductFile& file : product.Others) {
        image.Trailer.Table.push_back({file.Name, static_cast<int32_t>(image.Bytes.size()),
                                       static_cast<int32_t>(file.Bytes.size())});
        image.Bytes.insert(image.Bytes.end(), file.Bytes.begin(), file.Bytes.end());
    }
    image.Trailer.UnpackedSize = static_cast<int32_t>(image.Bytes.size());
    return image;
}

std::string FileTableFault(const PayloadTrailer& trailer, const std::vector<uint8_t>& nameLengths) {
    try {
        CheckFileTable(trailer, nameLengths);
    } catch (const FileTableError& e) {
        return e.Message();
    }
    if (trailer.UnpackedSize <= 0) return "the unpacked size is not positive";
    const FileTable& table = trailer.Table;
    if (table.empty()) return "";
    if (table.front().Offset <= 0) return "the first entry leaves no room for the main program";
    for (size_t i = 1; i < table.size(); ++i) {
        if (int64_t(table[i - 1].Offset) + table[i - 1].Size != table[i].Offset)
            return "entry " + std::to_string(i + 1) + " \"" + table[i].Name +
                   "\" does not follow the entry before it";
    }
    if (int64_t(table.back().Offset) + table.back().Size != trailer.UnpackedSize)
        return "the last entry does not end at the unpacked size";
    return "";
}

}  // namespace tidemark::mkdisks
