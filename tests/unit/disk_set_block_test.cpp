// The disk set block as mkdisks stamps it and the setup program reads it, and the CRC-32 that
// fingerprints the disks.
#include "payload/disk_set_block.h"

#include <gtest/gtest.h>

#include <cstring>

#include "payload/crc32.h"
#include "setup/profile.h"

using namespace tidemark;

TEST(Crc32, KnownValueAndPiecewise) {
    const uint8_t text[] = "123456789";
    EXPECT_EQ(Crc32(text, 9), 0xCBF43926u);
    EXPECT_EQ(Crc32(Crc32(text, 4), text + 4, 5), 0xCBF43926u);
    EXPECT_EQ(Crc32(text, 0), 0u);
}

TEST(DiskSetBlock, StampedNumbersReadBackAtTheirPlaces) {
    DiskSetNumbers n;
    n.DiskCount = 2;
    n.ExpectedArchiveSize = 1500001;
    n.VolumeSize[0] = 1000000;
    n.VolumeSize[1] = 500001;
    n.VolumeCrc[0] = 0x89ABCDEF;
    n.VolumeCrc[1] = 0x01234567;
    n.ImageCrc = 0xFEDCBA98;
    n.TableCrc = 0x76543210;
    DiskSetBlockBytes block = EncodeDiskSetBlock(n);
    EXPECT_EQ(std::memcmp(block.Bytes, kDiskSetMarker, kDiskSetMarkerSize), 0);
    // Little-endian, in the order the block's description gives.
    const uint8_t expectedSize[] = {0x61, 0xE3, 0x16, 0x00};
    EXPECT_EQ(std::memcmp(block.Bytes + 20, expectedSize, 4), 0);
    EXPECT_EQ(block.Bytes[60], 0x10);
    DiskSetNumbers back = DecodeDiskSetBlock(block.Bytes);
    EXPECT_TRUE(back.Stamped());
    EXPECT_EQ(std::memcmp(&back, &n, sizeof n), 0);
}

// The program's own block, unstamped: the shipped numbers and nothing to check.
TEST(DiskSetBlock, UnstampedProfileKeepsTheShippedNumbers) {
    EXPECT_EQ(std::memcmp(const_cast<const uint8_t*>(DiskSetBlock.Bytes), kDiskSetMarker,
                          kDiskSetMarkerSize),
              0);
    EXPECT_EQ(ProductProfile.DiskSet.DiskCount, 3);
    EXPECT_EQ(ProductProfile.DiskSet.ExpectedArchiveSize, 3390000);
    EXPECT_FALSE(ProductProfile.DiskSet.Stamped());
}
