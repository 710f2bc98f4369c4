// The destination page's decisions that need no system: the form of an entry and how a path is
// tested for being a folder.
#pragma once

#include <string>

namespace tidemark {

// An entry worth testing further: at least 2 characters, an upper-case letter A..Z (no case
// conversion here: the field already upper-cases what is typed) and a colon.
bool PassesFormCheck(const std::string& entry);

// How FolderExists settles a path.
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

// A drive's root path, "X:\".
std::string DriveRootPath(char letter);

}  // namespace tidemark
