#include "product.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <system_error>

#include "core/error.h"
#include "core/name_rules.h"
#include "core/profile.h"
#include "errors.h"
#include "file_io.h"

namespace tidemark::mkdisks {

namespace fs = std::filesystem;

namespace {

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
    std::sort(names.begin(), names.end());

    // The main program's name is compared without case: on the vendor's side "TIDEMARK.EXE" may
    // stand for it, and any other file of that name would overwrite it on Windows.
    std::string mainKey = FileNameKey(mainName);
    auto mainFile = std::find_if(names.begin(), names.end(), [&](const std::string& name) {
        return FileNameKey(name) == mainKey;
    });
    if (mainFile == names.end())
        throw Refusal("the main program " + mainName + " is not in " + folder.string());
    std::string mainFound = *mainFile;
    names.erase(mainFile);
    InstallNames installed(mainName, ProductProfile.CombinedArchiveFile);
    for (const std::string& name : names)
        if (const char* fault = installed.Add(name)) RefuseName(name, fault);
    // The setup program refuses a table without entries: it is what a program without one reads.
    if (names.empty())
        throw Refusal("the product folder " + folder.string() +
                      " holds only the main program; the file table must list at least one file");
    if (names.size() > kMaxEntries)
        throw Refusal("the product has " + std::to_string(names.size()) +
                      " files besides the main program; the file table holds at most 255");

    Product product;
    product.Main = {mainFound, ReadWholeFile(folder / mainFound)};
    if (product.Main.Bytes.empty()) throw Refusal("the main program " + mainFound + " is empty");
    // The setup program starts what it installs under this name; and a stream kept with --stream
    // is known as one by the program it decodes to.
    const std::vector<uint8_t>& main = product.Main.Bytes;
    if (main.size() < 2 || main[0] != 'M' || main[1] != 'Z')
        throw Refusal("the main program " + mainFound + " is not a Windows program");
    uint64_t total = product.Main.Bytes.size();
    for (const std::string& name : names) {
        ProductFile file{name, ReadWholeFile(folder / name)};
        total += file.Bytes.size();
        if (total > uint64_t(std::numeric_limits<int32_t>::max()))
            throw Refusal("the product is larger than 2,147,483,647 bytes");
        product.Others.push_back(std::move(file));
    }
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
        CheckFileTable(trailer, nameLengths, ProductProfile.MainProgramFile,
                       ProductProfile.CombinedArchiveFile);
    } catch (const FileTableError& e) {
        return e.Message();
    }
    return "";
}

}  // namespace tidemark::mkdisks
