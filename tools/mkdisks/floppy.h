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

// The time every image's files and label carry: SOURCE_DATE_EPOCH (seconds since 1970, UTC)
// when given and a time a FAT disk can hold, else 2000-01-01 00:00 UTC.
constexpr int64_t kFloppyDefaultTime = 946684800;
constexpr int64_t kFloppyFirstTime = 315532800;  // 1980-01-01, the first FAT time
constexpr int64_t kFloppyLastTime = 4354819199;  // 2107-12-31 23:59:59, the last
int64_t FloppyTime(const char* sourceDateEpoch);

// The volume serial number of a disk: fixed by its label and the time, so that the disks of one
// set differ (Windows tells floppies apart by it) and a rebuild makes the same one.
uint32_t FloppySerial(const std::string& label, int64_t time);

// Writes the files of `folder` into a fresh image labelled `label`. Refuses (Refusal) files that
// do not fit; reports a failing mtools as FileFailure.
void MakeFloppyImage(const std::filesystem::path& image, const std::string& label,
                     const std::filesystem::path& folder);

// Copies every file of an image into `folder`.
void ExtractFloppyImage(const std::filesystem::path& image, const std::filesystem::path& folder);

// A path quoted for the shell that runs the mtools commands.
std::string ShellQuote(const std::string& text);

}  // namespace tidemark::mkdisks
