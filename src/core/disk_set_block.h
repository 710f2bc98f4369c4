// The disk set's numbers and fingerprints, in a reserved block of the setup program's own file
// that mkdisks stamps when it makes the disks, so that one built setup program serves any
// product. The setup program only reads the block; an unstamped one keeps the shipped numbers
// and checks nothing.
//
// The block, 64 bytes, numbers little-endian:
//   0   the marker (16 bytes)
//   16  DiskCount
//   20  ExpectedArchiveSize
//   24  the byte counts of volumes 1 to 4, 4 bytes each
//   40  the CRC-32 of volumes 1 to 4
//   56  the CRC-32 of the whole unpacked image
//   60  the CRC-32 of the file table, as appended to the program
#pragma once

#include <cstddef>
#include <cstdint>

namespace tidemark {

constexpr int kMaxVolumes = 4;  // the setup program never reads more
constexpr size_t kDiskSetBlockSize = 64;
constexpr size_t kDiskSetMarkerSize = 16;
// Found by mkdisks in the setup program's bytes; it occurs there once, as the block's start.
constexpr char kDiskSetMarker[kDiskSetMarkerSize + 1] =
    "FTM\x1A"
    "DiskSetBlock";

struct DiskSetNumbers {
    int32_t DiskCount = 0;
    int32_t ExpectedArchiveSize = 0;
    int32_t VolumeSize[kMaxVolumes] = {};
    uint32_t VolumeCrc[kMaxVolumes] = {};
    uint32_t ImageCrc = 0;
    uint32_t TableCrc = 0;

    // Stamped by mkdisks: its first volume always holds at least one byte.
    bool Stamped() const { return VolumeSize[0] != 0; }
};

struct DiskSetBlockBytes {
    uint8_t Bytes[kDiskSetBlockSize];
};

constexpr DiskSetBlockBytes EncodeDiskSetBlock(const DiskSetNumbers& numbers) {
    DiskSetBlockBytes block{};
    for (size_t i = 0; i < kDiskSetMarkerSize; ++i)
        block.Bytes[i] = static_cast<uint8_t>(kDiskSetMarker[i]);
    uint32_t fields[] = {uint32_t(numbers.DiskCount),
                         uint32_t(numbers.ExpectedArchiveSize),
                         uint32_t(numbers.VolumeSize[0]),
                         uint32_t(numbers.VolumeSize[1]),
                         uint32_t(numbers.VolumeSize[2]),
                         uint32_t(numbers.VolumeSize[3]),
                         numbers.VolumeCrc[0],
                         numbers.VolumeCrc[1],
                         numbers.VolumeCrc[2],
                         numbers.VolumeCrc[3],
                         numbers.ImageCrc,
                         numbers.TableCrc};
    size_t at = kDiskSetMarkerSize;
    for (uint32_t field : fields)
        for (int k = 0; k < 4; ++k) block.Bytes[at++] = static_cast<uint8_t>(field >> (8 * k));
    return block;
}

// The numbers of a block (the marker is not looked at).
DiskSetNumbers DecodeDiskSetBlock(const uint8_t* block);

}  // namespace tidemark
