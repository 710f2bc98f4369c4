#include "core/space_rules.h"

#include <algorithm>

#include "core/destination_rules.h"
#include "core/path.h"
#include "core/split_rules.h"

namespace tidemark {

namespace {

// The room a file of this many bytes takes: whole clusters. Cluster sizes are powers of two; any
// other is taken as the next one up. Masks and shifts, not 64-bit division: that would bring the
// compiler's division helpers into the setup program.
int64_t Clusters(int64_t bytes, uint32_t clusterSize) {
    if (bytes <= 0) return 0;
    int64_t mask = 0;
    while (mask + 1 < int64_t(clusterSize)) mask = mask * 2 + 1;
    return (bytes + mask) & ~mask;
}

// value / 2^shift, rounded up or down.
uint32_t Scaled(uint64_t value, int shift, bool roundUp) {
    uint64_t whole = value >> shift;
    if (roundUp && (value & ((uint64_t(1) << shift) - 1)) != 0) ++whole;
    return uint32_t(whole);
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
    if (char drive = DriveLetterOf(path)) return DriveRootPath(drive);
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
    // Every number shown fits an int, whose conversion the program has already.
    if (bytes < 1024) return std::to_string(int(bytes)) + " bytes";
    if (bytes < 1024 * 1024) return std::to_string(int(Scaled(bytes, 10, roundUp))) + " KB";
    int shift = bytes < (uint64_t(1) << 30) ? 20 : 30;
    uint32_t tenths = Scaled(bytes * 10, shift, roundUp);
    std::string text = std::to_string(int(tenths / 10));
    text += '.';
    text += char('0' + tenths % 10);
    text += shift == 20 ? " MB" : " GB";
    return text;
}

// The texts are put together by appending, which keeps the setup program small.
std::string NotEnoughSpaceText(const std::string& productName, const std::string& volume,
                               uint64_t needed, uint64_t free) {
    std::string text = "There is not enough free space on drive ";
    text += volume;
    text += " to install ";
    text += productName;
    text += ".\r\n\r\nSpace needed: ";
    text += SizeText(needed, true);
    text += "\r\nSpace free: ";
    text += SizeText(free, false);
    text += "\r\n\r\nPlease make room on drive ";
    text += volume;
    text += " or choose a folder on another drive.";
    return text;
}

void ExplainDiskFull(IoError& error, const std::string& productName,
                     const std::string& destinationFolder) {
    std::string root = VolumeRootOf(error.Path());
    if (root.empty()) root = VolumeRootOf(destinationFolder);
    std::string volume = VolumeName(root);
    std::string text = ". Drive ";
    text += volume;
    text += " has no room left, so ";
    text += productName;
    text += " is not completely installed in ";
    text += destinationFolder;
    text += ", and an earlier installation there may be incomplete now. Make room on drive ";
    text += volume;
    text += " and run the setup program again: it completes the installation.";
    error.AddToMessage(text);
}

}  // namespace tidemark
