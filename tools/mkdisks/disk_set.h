// Where a disk set's files go, and where verify finds them again: DIR/disk1/setup.exe,
// DIR/disk1/<volume 1>, DIR/disk2/<volume 2>, ..., or everything in DIR itself.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace tidemark::mkdisks {

constexpr const char* kSetupFileName = "setup.exe";

struct DiskContents {
    std::filesystem::path Folder;
    std::vector<std::filesystem::path> Files;
};

// What WriteDiskSet, and MakeFloppyImage for each disk when `images`, write into the output
// folder, as OutputFolder lists them: disk1/, disk1/setup.exe, disk1/<volume 1>, disk1.img, ...
std::vector<std::string> DiskSetEntries(size_t volumes, const std::string& firstVolumeFile,
                                        bool oneFolder, bool images);

// Writes setup.exe and the volumes cut from the archive; returns each disk's files.
std::vector<DiskContents> WriteDiskSet(const std::filesystem::path& outDir,
                                       const std::vector<uint8_t>& setupProgram,
                                       const std::vector<uint8_t>& archive,
                                       const std::vector<int64_t>& volumeSizes,
                                       const std::string& firstVolumeFile, bool oneFolder);

struct FoundDiskSet {
    std::filesystem::path Setup;
    std::vector<std::filesystem::path> Volumes;  // volume 1, 2, ... as far as they go
};

// Finds setup.exe and the volumes in disk<n> folders under dir, or all in dir. Names match
// without regard to case, as on the disks the setup program reads. Volumes are taken in order
// until one is missing. Throws Refusal when there is no setup.exe or no volume 1.
FoundDiskSet FindDiskSet(const std::filesystem::path& dir, const std::string& firstVolumeFile);

// The disk<n>.img files in dir, in disk order; empty when there are none.
std::vector<std::filesystem::path> FindDiskImages(const std::filesystem::path& dir);

}  // namespace tidemark::mkdisks
