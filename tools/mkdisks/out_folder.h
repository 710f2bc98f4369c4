// The folder a build writes its disk set into. mkdisks keeps a list there of what it wrote, so
// that the next build into the same folder removes exactly that, and it refuses a folder that
// holds anything else: whatever the vendor keeps there is never touched.
#pragma once

#include <filesystem>
#include <set>
#include <string>
#include <vector>

namespace tidemark::mkdisks {

// The list, one path a line relative to the folder, with '/' between folders and after a folder.
constexpr const char* kOutputRecordName = ".mkdisks-written";

// Whether `path` is `folder` or lies in it, also through links or another letter case.
bool LiesIn(const std::filesystem::path& path, const std::filesystem::path& folder);

class OutputFolder {
public:
    // Looks at the folder without changing anything. Refuses (Refusal) a path that is not a
    // folder; a folder holding anything that is not on the list of an earlier build (without a
    // list: anything at all), among them every symbolic link; and inputs that lie in the folder,
    // or a product folder that holds it.
    OutputFolder(const std::filesystem::path& folder, const std::filesystem::path& productFolder,
                 const std::vector<std::filesystem::path>& inputFiles);

    // Removes what the earlier build wrote, then lists `entries` (paths as in the list) as this
    // build's before anything of it is written, so that an interrupted build is cleared too.
    void Replace(const std::vector<std::string>& entries);

    // After a failed build: removes what Replace listed and the list, and the folder itself
    // when the build made it, so that the failure leaves nothing new behind. Never throws.
    void Discard() noexcept;

private:
    std::filesystem::path folder_;
    bool existed_ = false;
    std::set<std::string> written_;  // what the earlier build wrote and the folder still holds
};

}  // namespace tidemark::mkdisks
