#include "out_folder.h"

#include <algorithm>
#include <system_error>

#include "errors.h"
#include "file_io.h"

namespace tidemark::mkdisks {

namespace fs = std::filesystem;

namespace {

const char kRecordHeading[] =
    "# Written by mkdisks: the files of the disk set it built in this folder. The next build\n"
    "# here removes them, and refuses to build while the folder holds anything else.\n";

std::set<std::string> ReadRecord(const fs::path& record) {
    std::set<std::string> entries;
    std::vector<uint8_t> bytes = ReadWholeFile(record);
    std::string line;
    for (uint8_t b : bytes) {
        if (b != '\n') {
            line += char(b);
            continue;
        }
        if (!line.empty() && line[0] != '#') entries.insert(line);
        line.clear();
    }
    return entries;
}

}  // namespace

// Whether `path` is `folder` or lies in it, also through links or another letter case.
bool LiesIn(const fs::path& path, const fs::path& folder) {
    std::error_code ec;
    fs::path inner = fs::weakly_canonical(fs::absolute(path, ec), ec);
    fs::path outer = fs::weakly_canonical(fs::absolute(folder, ec), ec);
    for (fs::path p = inner;; p = p.parent_path()) {
        if (p == outer ||
            (fs::exists(p, ec) && fs::exists(outer, ec) && fs::equivalent(p, outer, ec)))
            return true;
        if (p == p.parent_path()) return false;
    }
}

OutputFolder::OutputFolder(const fs::path& folder, const fs::path& productFolder,
                           const std::vector<fs::path>& inputFiles)
    : folder_(folder) {
    const std::string out = "--out " + folder.string();
    if (LiesIn(productFolder, folder) || LiesIn(folder, productFolder))
        throw Refusal(out + " and the product folder " + productFolder.string() +
                      " lie one in the other; give an output folder of its own");
    for (const fs::path& input : inputFiles)
        if (!input.empty() && LiesIn(input, folder))
            throw Refusal(input.string() + " lies in " + out +
                          ", which mkdisks clears; keep it outside, or give another --out");

    std::error_code ec;
    if (!fs::exists(folder, ec)) return;
    existed_ = true;
    if (!fs::is_directory(folder, ec))
        throw Refusal(out + " is not a folder; give a new or empty folder");
    fs::path record = folder / kOutputRecordName;
    std::set<std::string> written;
    if (fs::is_regular_file(fs::symlink_status(record, ec))) written = ReadRecord(record);
    // Only what is both found here and on the list is removed: a list edited by hand cannot
    // reach outside the folder.
    for (fs::recursive_directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        std::string entry = it->path().lexically_relative(folder).generic_string();
        if (entry == kOutputRecordName) continue;
        if (!it->is_symlink(ec) && it->is_directory(ec)) entry += "/";
        if (!it->is_symlink(ec) && written.count(entry)) {
            written_.insert(entry);
            continue;
        }
        throw Refusal(out + " holds " + entry +
                      ", which no earlier mkdisks build wrote there; give a new or empty folder, "
                      "or move it away");
    }
    if (ec) throw FileFailure("cannot list " + folder.string() + ": " + ec.message());
}

void OutputFolder::Replace(const std::vector<std::string>& entries) {
    // A folder's contents before the folder: reverse name order.
    std::error_code ec;
    for (auto it = written_.rbegin(); it != written_.rend(); ++it) {
        fs::remove(folder_ / *it, ec);
        if (ec)
            throw FileFailure("cannot remove " + (folder_ / *it).string() + ": " + ec.message());
    }
    fs::create_directories(folder_, ec);
    if (ec) throw FileFailure("cannot create " + folder_.string() + ": " + ec.message());
    std::string text = kRecordHeading;
    for (const std::string& entry : entries) text += entry + "\n";
    WriteWholeFile(folder_ / kOutputRecordName, std::vector<uint8_t>(text.begin(), text.end()));
    written_ = std::set<std::string>(entries.begin(), entries.end());
}

void OutputFolder::Discard() noexcept {
    std::error_code ec;
    for (auto it = written_.rbegin(); it != written_.rend(); ++it) fs::remove(folder_ / *it, ec);
    fs::remove(folder_ / kOutputRecordName, ec);
    if (!existed_) fs::remove(folder_, ec);
}

}  // namespace tidemark::mkdisks
