#include "disk_set.h"

#include <system_error>

#include "core/volume_names.h"
#include "errors.h"
#include "file_io.h"
#include "volume_plan.h"

namespace tidemark::mkdisks {

namespace fs = std::filesystem;

namespace {

constexpr int kMostDiskFolders = 9;

std::string DiskName(int n) { return "disk" + std::to_string(n); }

bool SameNameIgnoringCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 'a' + 'A');
        if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 'a' + 'A');
        if (x != y) return false;
    }
    return true;
}

// The path of a file in folder whose name matches without regard to case, or empty.
fs::path FindFile(const fs::path& folder, const std::string& name) {
    std::error_code ec;
    if (fs::is_regular_file(folder / name, ec)) return folder / name;
    if (!fs::is_directory(folder, ec)) return {};
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, ec)) {
        if (entry.is_regular_file(ec) &&
            SameNameIgnoringCase(entry.path().filename().string(), name))
            return entry.path();
    }
    return {};
}

}  // namespace

std::vector<std::string> DiskSetEntries(size_t volumes, const std::string& firstVolumeFile,
                                        bool oneFolder, bool images) {
    std::vector<std::string> entries;
    for (size_t i = 0; i < volumes; ++i) {
        int n = static_cast<int>(i + 1);
        std::string folder = oneFolder ? "" : DiskName(n) + "/";
        if (!oneFolder) entries.push_back(folder);
        if (n == 1) entries.push_back(folder + kSetupFileName);
        entries.push_back(folder + VolumeFileName(firstVolumeFile, n));
        if (images) entries.push_back(DiskName(n) + ".img");
    }
    return entries;
}

std::vector<DiskContents> WriteDiskSet(const fs::path& outDir,
                                       const std::vector<uint8_t>& setupProgram,
                                       const std::vector<uint8_t>& archive,
                                       const std::vector<int64_t>& volumeSizes,
                                       const std::string& firstVolumeFile, bool oneFolder) {
    std::vector<DiskContents> disks;
    int64_t place = 0;
    for (size_t i = 0; i < volumeSizes.size(); ++i) {
        int n = static_cast<int>(i + 1);
        fs::path folder = oneFolder ? outDir : outDir / DiskName(n);
        std::error_code ec;
        fs::create_directories(folder, ec);
        if (ec) throw FileFailure("cannot create " + folder.string() + ": " + ec.message());
        DiskContents disk{folder, {}};
        if (n == 1) {
            disk.Files.push_back(folder / kSetupFileName);
            WriteWholeFile(disk.Files.back(), setupProgram);
        }
        disk.Files.push_back(folder / VolumeFileName(firstVolumeFile, n));
        WriteWholeFile(disk.Files.back(), archive.data() + place, size_t(volumeSizes[i]));
        place += volumeSizes[i];
        disks.push_back(disk);
    }
    return disks;
}

FoundDiskSet FindDiskSet(const fs::path& dir, const std::string& firstVolumeFile) {
    std::error_code ec;
    if (!fs::is_directory(dir, ec)) throw Refusal(dir.string() + " is not a folder");
    std::vector<fs::path> folders;
    if (fs::is_directory(dir / DiskName(1), ec)) {
        for (int n = 1; n <= kMostDiskFolders && fs::is_directory(dir / DiskName(n), ec); ++n)
            folders.push_back(dir / DiskName(n));
    } else {
        folders.push_back(dir);
    }
    FoundDiskSet set;
    set.Setup = FindFile(folders.front(), kSetupFileName);
    if (set.Setup.empty())
        throw Refusal("no " + std::string(kSetupFileName) + " in " + folders.front().string());
    for (int n = 1; n <= kMaxVolumes; ++n) {
        std::string name = VolumeFileName(firstVolumeFile, n);
        fs::path found;
        // Volume n belongs on disk n, but a set copied together may hold it anywhere.
        if (size_t(n) <= folders.size()) found = FindFile(folders[n - 1], name);
        for (size_t k = 0; found.empty() && k < folders.size(); ++k)
            found = FindFile(folders[k], name);
        if (found.empty()) break;
        set.Volumes.push_back(found);
    }
    if (set.Volumes.empty())
        throw Refusal("no " + firstVolumeFile + " in " + folders.front().string());
    return set;
}

std::vector<fs::path> FindDiskImages(const fs::path& dir) {
    std::vector<fs::path> images;
    std::error_code ec;
    for (int n = 1; n <= kMostDiskFolders; ++n) {
        fs::path image = dir / (DiskName(n) + ".img");
        if (!fs::is_regular_file(image, ec)) break;
        images.push_back(image);
    }
    return images;
}

}  // namespace tidemark::mkdisks
