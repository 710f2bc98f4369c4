// The program's tests of folders and drives, and the preparation of the destination folder.
#pragma once

#include <cstdint>
#include <string>

namespace tidemark {

// Whether the path names an existing folder: a wildcard path by its folder part, a path of at
// most 3 characters by its drive alone, a longer one by a search for it (one trailing backslash
// ignored) that finds an entry with the directory bit.
bool FolderExists(const std::string& path);

// Whether the system knows the drive: any type but "unknown" counts, "no root directory"
// included.
bool DriveExists(char letter);

// Whether the drive's media are changed in it: a floppy or CD drive. 0 (no letter) is not.
bool DriveIsChangeable(char letter);

// The full path that a drive-relative entry ("C:NEWTIDE") names, from its drive's current
// folder; any other entry unchanged.
std::string FullPathOf(const std::string& entry);

// True when the folder exists, or when it could be created (its last level only) and entered as
// the current directory; then DestinationFolder holds the path.
bool PrepareFolder(const std::string& path);

// The bytes free to this user on the volume that holds the folder (or would hold it: the folder
// need not exist yet), and that volume's cluster size, 0 when unknown. False when neither is
// known.
bool FreeSpaceOf(const std::string& folder, uint64_t* free, uint32_t* clusterSize);

// The size of the file at path, -1 when there is none (a folder does not count).
int64_t FileSizeOf(const std::string& path);

// Whether the path itself, as typed, has the directory attribute. Closes the gaps that the
// tests above leave open (wildcards, an empty drive letter).
bool NamesExistingFolder(const std::string& path);

}  // namespace tidemark
