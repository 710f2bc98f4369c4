// How the compressed archive is cut into volumes, one per disk, when disk 1 also carries the
// setup program.
#pragma once

#include <cstdint>
#include <vector>

#include "core/disk_set_block.h"

namespace tidemark::mkdisks {

// Exactly one of the two is set: a number of disks to share the set evenly, or the capacity of
// each disk in bytes.
struct DiskRequest {
    int DiskCount = 0;
    int64_t DiskSize = 0;
};

// Sizes of volume 1, 2, ... for an archive of archiveSize bytes, disk 1 also holding a setup
// program of setupSize bytes. Every file takes whole allocation units of `cluster` bytes on a
// disk (1 for a plain byte count, 512 on a floppy).
//  - DiskCount N: each disk gets the same share C of the whole set (rounded up to a cluster);
//    volume 1 is C less the setup program, the later ones C, the last one the rest.
//  - DiskSize D: volume 1 fills what the setup program leaves of D, the later ones fill D.
// Refuses (Refusal) more than 4 volumes, a disk that cannot hold the setup program and at least
// one byte of the archive, and disks that would carry an empty volume.
std::vector<int64_t> CutVolumes(int64_t archiveSize, int64_t setupSize, const DiskRequest& request,
                                int64_t cluster = 1);

inline int64_t RoundUpToCluster(int64_t bytes, int64_t cluster) {
    return (bytes + cluster - 1) / cluster * cluster;
}

}  // namespace tidemark::mkdisks
