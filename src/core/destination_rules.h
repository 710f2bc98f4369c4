// The destination page's decisions that need no system: the form of an entry, how a path is
// tested for being a folder, and which folders the run could not install into.
#pragma once

#include <cstddef>
#include <string>

namespace tidemark {

// An entry worth testing further: at least 2 characters, an upper-case letter A..Z (no case
// conversion here: the field already upper-cases what is typed) and a colon.
bool PassesFormCheck(const std::string& entry);

// How the destination page's probe settles whether a path names a folder.
struct FolderProbe {
    enum class Kind {
        kAbsent,  // nothing left to test: not a folder
        kDrive,   // at most 3 characters: the drive of the first character decides
        kSearch,  // search for searchPath and look for the directory bit
    };
    Kind kind;
    char driveLetter;        // kDrive: the first character, as typed
    std::string searchPath;  // kSearch: the path with one trailing backslash removed
};

// A path with '*' or '?' is cut to its folder part (up to and including the last backslash or
// colon) before anything else.
FolderProbe PlanFolderProbe(const std::string& path);

// Whether every file of the product, the longest name being longestName characters, fits into
// the folder within the system's path limit.
bool FolderHoldsNames(const std::string& folder, size_t longestName);

// A folder on the drive the disks are read from, when that drive's media are changed (floppy,
// CD): the archive would be written onto the disk being read, and the next disk replace it.
bool OnChangeableSourceDrive(const std::string& folder, const std::string& sourceFolder,
                             bool sourceDriveChangeable);

// A drive's root path, "X:\".
std::string DriveRootPath(char letter);

}  // namespace tidemark
