// Cutting the archive into volumes when disk 1 also carries the setup program.
#include <gtest/gtest.h>

#include <numeric>

#include "errors.h"
#include "volume_plan.h"

using namespace tidemark::mkdisks;

namespace {

DiskRequest Disks(int n) { return DiskRequest{n, 0}; }
DiskRequest DiskSize(int64_t bytes) { return DiskRequest{0, bytes}; }

int64_t Sum(const std::vector<int64_t>& v) {
    return std::accumulate(v.begin(), v.end(), int64_t(0));
}

// What each disk holds in whole clusters: setup program and volume 1 on disk 1.
std::vector<int64_t> DiskUsage(const std::vector<int64_t>& volumes, int64_t setup,
                               int64_t cluster) {
    std::vector<int64_t> usage;
    for (size_t i = 0; i < volumes.size(); ++i)
        usage.push_back(RoundUpToCluster(volumes[i], cluster) +
                        (i == 0 ? RoundUpToCluster(setup, cluster) : 0));
    return usage;
}

}  // namespace

TEST(MkdisksVolumePlan, DiskCountSharesTheWholeSetEvenly) {
    // The shipped product's archive over 3 disks with a 200,000-byte setup program: each disk's
    // share is a third of 3,590,000 rounded up.
    std::vector<int64_t> v = CutVolumes(3390000, 200000, Disks(3));
    EXPECT_EQ(v, (std::vector<int64_t>{996667, 1196667, 1196666}));

    for (int64_t cluster : {1, 512}) {
        for (int n = 1; n <= 4; ++n) {
            for (int64_t archive : {50000, 123457, 3395841}) {
                int64_t setup = 1777;
                std::vector<int64_t> cut = CutVolumes(archive, setup, Disks(n), cluster);
                ASSERT_EQ(cut.size(), size_t(n));
                EXPECT_EQ(Sum(cut), archive);
                std::vector<int64_t> usage = DiskUsage(cut, setup, cluster);
                int64_t most = *std::max_element(usage.begin(), usage.end());
                int64_t least = *std::min_element(usage.begin(), usage.end());
                // No disk holds more than its share, and the shares differ by less than a
                // cluster per disk.
                EXPECT_LE(most - least, cluster * n) << n << " disks, cluster " << cluster;
                for (size_t i = 0; i + 1 < cut.size(); ++i)
                    EXPECT_EQ(cut[i] % cluster, 0) << "only the last volume ends mid-cluster";
            }
        }
    }
}

TEST(MkdisksVolumePlan, DiskCountRefusals) {
    EXPECT_THROW(CutVolumes(100000, 1000, Disks(5)), Refusal);
    EXPECT_THROW(CutVolumes(100000, 1000, Disks(0)), Refusal);
    // The setup program is bigger than a disk's share, so disk 1 would get no archive.
    EXPECT_THROW(CutVolumes(1000, 5000, Disks(2)), Refusal);
    // Too little archive to put some on every disk.
    EXPECT_THROW(CutVolumes(2, 0, Disks(3)), Refusal);
    EXPECT_THROW(CutVolumes(0, 100, Disks(1)), Refusal);
    EXPECT_EQ(CutVolumes(3, 0, Disks(3)), (std::vector<int64_t>{1, 1, 1}));
}

TEST(MkdisksVolumePlan, DiskSizeFillsEachDisk) {
    // Disk 1 holds the setup program, so it takes less of the archive.
    EXPECT_EQ(CutVolumes(2500, 200, DiskSize(1000)), (std::vector<int64_t>{800, 1000, 700}));
    EXPECT_EQ(CutVolumes(800, 200, DiskSize(1000)), (std::vector<int64_t>{800}));
    EXPECT_EQ(CutVolumes(801, 200, DiskSize(1000)), (std::vector<int64_t>{800, 1}));
    // Exactly four disks' worth, and one byte more.
    EXPECT_EQ(CutVolumes(3800, 200, DiskSize(1000)).size(), 4u);
    EXPECT_THROW(CutVolumes(3801, 200, DiskSize(1000)), Refusal);
    // A disk that holds the setup program and one byte of the archive, and one that does not.
    EXPECT_EQ(CutVolumes(3, 999, DiskSize(1000)), (std::vector<int64_t>{1, 2}));
    EXPECT_THROW(CutVolumes(3, 1000, DiskSize(1000)), Refusal);
}

TEST(MkdisksVolumePlan, DiskSizeOnFloppiesCountsWholeClusters) {
    const int64_t floppy = 1457664, setup = 344433;
    std::vector<int64_t> v = CutVolumes(3395841, setup, DiskSize(floppy), 512);
    // The setup program takes 673 clusters; volume 1 gets the other 2174.
    EXPECT_EQ(v, (std::vector<int64_t>{2174 * 512, floppy, 3395841 - 2174 * 512 - floppy}));
    for (int64_t used : DiskUsage(v, setup, 512)) EXPECT_LE(used, floppy);
    // Counting bytes instead would overfill disk 1 by the setup program's partial cluster.
    std::vector<int64_t> bytes = CutVolumes(3395841, setup, DiskSize(floppy), 1);
    EXPECT_GT(DiskUsage(bytes, setup, 512)[0], floppy);
}
