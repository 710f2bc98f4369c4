// How much room a run needs on the destination drive, and what the user is told about space.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/error.h"
#include "core/trailer.h"

namespace tidemark {

// What the destination already holds that the run replaces or removes, as found before it
// starts.
struct DestinationContents {
    // Per file-table entry: the size of the file of its name in the destination, -1 when there
    // is none. A replaced file keeps its room until the complete new one is renamed onto it.
    std::vector<int64_t> EntrySizes;
    int64_t OldArchive = 0;    // an earlier run's combined archive, emptied as the copy starts
    int64_t OldTemporary = 0;  // an earlier run's temporary files, removed before decoding
};

// The most room, in bytes, the run takes on the destination drive beyond what it takes now, at
// whichever moment that is: the combined archive and the unpacked image while decoding; the
// image, the product files split so far and the one being written while splitting. Every file
// is counted in whole clusters. Help files are counted as if they went to the destination and
// replaced nothing there; existing .LIB and .DTP files, which the run keeps, take nothing.
uint64_t PeakSpaceNeeded(int64_t archiveSize, const PayloadTrailer& trailer,
                         const DestinationContents& before, uint32_t clusterSize);

// The root of the volume a full path lies on, with its trailing backslash: "C:\" for
// "C:\X\Y" or "C:X", "\\SERVER\SHARE\" for "\\SERVER\SHARE\X"; empty when the path names none.
std::string VolumeRootOf(const std::string& path);

// A volume as users name it: "C:" or "\\SERVER\SHARE".
std::string VolumeName(const std::string& root);

// A size as the system's own dialogs show it: "512 bytes", "850 KB", "12.4 MB", "3.2 GB" (1 KB
// = 1024 bytes). Rounded up or down to the digit shown, so that a need rounded up and a free
// space rounded down never read as enough when they are not.
std::string SizeText(uint64_t bytes, bool roundUp);

// The destination page's refusal of a folder on a volume without room for the run.
std::string NotEnoughSpaceText(const std::string& productName, const std::string& volume,
                               uint64_t needed, uint64_t free);

// Completes the message of a "Disk full" error of the copying or unpacking work: which volume
// filled up (the failing file's, else the destination's), and that a further run completes the
// installation in the folder. The error keeps its class, code and address.
void ExplainDiskFull(IoError& error, const std::string& productName,
                     const std::string& destinationFolder);

}  // namespace tidemark
