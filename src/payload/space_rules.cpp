#include "payload/space_rules.h"

#include <algorithm>

#include "payload/split_rules.h"
#include "setup/path.h"

namespace tidemark {

namespace {

// The room a file of this many bytes takes: whole clusters.
int64_t Clusters(int64_t bytes, uint32_t clusterSize) {
    if (bytes <= 0) return 0;
    int64_t cluster = clusterSize > 0 ? clusterSize : 1;
    return (bytes + cluster - 1) / cluster * cluster;
}

uint64_t Divide(uint64_t value, uint64_t by, bool roundUp) {
    return value / by + (roundUp && value % by != 0 ? 1 : 0);
}

}  // namespace

uint64_t PeakSpaceNeeded(int64_t archiveSize, const PayloadTrailer& trailer,
                         const DestinationContents& before, uint32_t clusterSize) {
    auto room = [clusterSize](int64_t bytes) { return Clusters(bytes, clusterSize); };
    int64_t oldArchive = room(before.OldArchive);
    int64_t leftovers = oldArchive + room(before.OldTemporary);
    int64_t archive = room(archiveSize);
    int64_t image = room(trailer.UnpackedSize);

    // Copying, then decoding: the archive and the image side by side.
    int64_t peak = std::max(archive - oldArchive, archive + image - leftovers);
    // Splitting: the archive is gone; each file is complete under its temporary name before it
    // replaces an earlier one, whose room comes free only then.
    int64_t taken = image - leftovers;
    for (size_t i = 0; i < trailer.Table.size(); ++i) {
        const FileTableEntry& entry = trailer.Table[i];
        int64_t existing = i < before.EntrySizes.size() ? before.EntrySizes[i] : -1;
        if (existing >= 0 && KeepsExistingFile(entry.Name)) continue;
        int64_t written = room(entry.Size);
        peak = std::max(peak, taken + written);
        taken += written - (existing < 0 || IsHelpFile(entry.Name) ? 0 : room(existing));
    }
    return peak > 0 ? uint64_t(peak) : 0;
}

std::string VolumeRootOf(const std::string& path) {
    if (char drive = DriveLetterOf(path)) return std::string(1, drive) + ":\\";
    if (path.compare(0, 2, "\\\\") != 0) return std::string();
    size_t server = path.find('\\', 2);
    if (server == std::string::npos || server == 2) return std::string();
    size_t share = path.find('\\', server + 1);
    if (share == server + 1) return std::string();
    return path.substr(0, share) + "\\";
}

std::string VolumeName(const std::string& root) {
    return !root.empty() && root.back() == '\\' ? root.substr(0, root.size() - 1) : root;
}

std::string SizeText(uint64_t bytes, bool roundUp) {
    const uint64_t kb = 1024, mb = kb * 1024, gb = mb * 1024;
    if (bytes < kb) return std::to_string(bytes) + " bytes";
    if (bytes < mb) return std::to_string(Divide(bytes, kb, roundUp)) + " KB";
    uint64_t unit = bytes < gb ? mb : gb;
    // Tenths of the unit as a whole number: no floating point, so nothing rounds twice.
    uint64_t tenths = Divide(bytes * 10, unit, roundUp);
    return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10) +
           (unit == mb ? " MB" : " GB");
}

std::string NotEnoughSpaceText(const std::string& productName, const std::string& volume,
                               uint64_t needed, uint64_t free) {
    return "There is not enough free space on drive " + volume + " to install " + productName +
           ".\r\n\r\nSpace needed: " + SizeText(needed, true) +
           "\r\nSpace free: " + SizeText(free, false) + "\r\n\r\nPlease make room on drive " +
           volume + " or choose a folder on another drive.";
}

void ExplainDiskFull(IoError& error, const std::string& productName,
                     const std::string& destinationFolder) {
    std::string root = VolumeRootOf(error.Path());
    if (root.empty()) root = VolumeRootOf(destinationFolder);
    std::string volume = VolumeName(root);
    error.AddToMessage(". Drive " + volume + " has no room left, so " + productName +
                       " is not completely installed in " + destinationFolder +
                       ", and an earlier installation there may be incomplete now. Make room on "
                       "drive " +
                       volume +
                       " and run the setup program again: it completes the "
                       "installation.");
}

}  // namespace tidemark
