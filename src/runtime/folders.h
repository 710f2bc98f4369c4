// The program's tests of folders and drives, and the preparation of the destination folder.
#pragma once

#include <cstdint>
#include <string>

namespace tidemark {

// Whether the system knows the drive: any type but "unknown" counts, "no root directory"
// included.
bool DriveExists(char letter);

// Whether the drive's media are changed in it: a floppy or CD drive. 0 (no letter) is not.
bool DriveIsChangeable(char letter);

// The full path that a drive-relative entry ("C:NEWTIDE") names, from its drive's current
// folder; any other entry unchanged.
std::string ResolveDriveRelativeEntry(const std::string& entry);

// True when a probe finds the folder (see FolderProbe: a wildcard path by its folder part, a path
// of at most 3 characters by its drive alone, a longer one by a search for an entry with the
// directory bit), or else when its last level could be created and entered as the current
// directory.
bool CreateFolderIfAbsent(const std::string& path);

// The bytes free to this user on the volume that holds the folder (or would hold it: the folder
// need not exist yet), and that volume's cluster size, 0 when unknown. False when neither is
// known.
bool FreeSpaceOf(const std::string& folder, uint64_t* free, uint32_t* clusterSize);

// The size of the file at path, -1 when there is none (a folder does not count).
int64_t FileSizeOf(const std::string& path);

// Whether the path itself, as typed, has the directory attribute. Closes the gaps that the
// probe leaves open (wildcards, an empty drive letter).
bool HasDirectoryAttribute(const std::string& path);

}  // namespace tidemark
