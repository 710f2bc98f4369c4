// 1.44 MB floppy images of the disks, made and read with mtools.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace tidemark::mkdisks {

// A 1.44 MB FAT12 disk: 2880 sectors of 512 bytes, less the boot sector, two 9-sector FATs and
// a 14-sector root folder, leaves 2847 one-sector clusters for files.
constexpr int64_t kFloppyCluster = 512;
constexpr int64_t kFloppyDataBytes = 2847 * kFloppyCluster;  // 1,457,664

// Bytes the files take on such a disk, in whole clusters.
int64_t FloppyBytesUsed(const std::vector<int64_t>& fileSizes);

// Writes the files of `folder` into a fresh image labelled `label`. Refuses (Refusal) files that
// do not fit; reports a failing mtools as FileFailure.
void MakeFloppyImage(const std::filesystem::path& image, const std::string& label,
                     const std::filesystem::path& folder);

// Copies every file of an image into `folder`.
void ExtractFloppyImage(const std::filesystem::path& image, const std::filesystem::path& folder);

// A path quoted for the shell that runs the mtools commands.
std::string ShellQuote(const std::string& text);

}  // namespace tidemark::mkdisks
