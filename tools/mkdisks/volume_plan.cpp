#include "volume_plan.h"

#include <string>

#include "errors.h"

namespace tidemark::mkdisks {

namespace {

std::string Bytes(int64_t n) { return std::to_string(n) + " bytes"; }

// Fills volumes of at most `later` bytes after a first one of at most `first` bytes.
std::vector<int64_t> Fill(int64_t archiveSize, int64_t first, int64_t later) {
    std::vector<int64_t> sizes;
    int64_t left = archiveSize;
    int64_t room = first;
    while (left > 0) {
        int64_t size = left < room ? left : room;
        sizes.push_back(size);
        left -= size;
        room = later;
        if (sizes.size() > size_t(kMaxVolumes)) break;  // already too many; the caller refuses
    }
    return sizes;
}

}  // namespace

std::vector<int64_t> CutVolumes(int64_t archiveSize, int64_t setupSize, const DiskRequest& request,
                                int64_t cluster) {
    if (archiveSize <= 0) throw Refusal("the archive is empty");
    if (cluster < 1) cluster = 1;
    int64_t setupOnDisk = RoundUpToCluster(setupSize, cluster);

    if (request.DiskCount != 0) {
        int n = request.DiskCount;
        if (n < 1 || n > kMaxVolumes)
            throw Refusal("--disks must be 1 to 4; the setup program reads at most 4 volumes");
        int64_t total = setupOnDisk + RoundUpToCluster(archiveSize, cluster);
        int64_t share = RoundUpToCluster((total + n - 1) / n, cluster);
        if (share - setupOnDisk < 1)
            throw Refusal("the setup program (" + Bytes(setupSize) +
                          ") is larger than one disk's " + "share (" + Bytes(share) + ") of " +
                          std::to_string(n) + " disks; use fewer disks");
        std::vector<int64_t> sizes = Fill(archiveSize, share - setupOnDisk, share);
        if (sizes.size() != size_t(n))
            throw Refusal("the archive (" + Bytes(archiveSize) + ") is too small to fill " +
                          std::to_string(n) + " disks; use fewer disks");
        return sizes;
    }

    int64_t diskSize = request.DiskSize;
    int64_t later = diskSize / cluster * cluster;
    int64_t first = (diskSize - setupOnDisk) / cluster * cluster;
    if (diskSize <= 0 || first < 1)
        throw Refusal("a disk of " + Bytes(diskSize) + " cannot hold the setup program (" +
                      Bytes(setupSize) + ") and any of the archive");
    std::vector<int64_t> sizes = Fill(archiveSize, first, later);
    if (sizes.size() > size_t(kMaxVolumes)) {
        int64_t needed = 1 + (archiveSize - first + later - 1) / later;
        throw Refusal("the archive (" + Bytes(archiveSize) + ") needs " + std::to_string(needed) +
                      " disks of " + Bytes(diskSize) +
                      "; the setup program reads at most 4 volumes");
    }
    return sizes;
}

}  // namespace tidemark::mkdisks
