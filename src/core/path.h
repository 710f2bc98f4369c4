// Path rules shared by every step.
#pragma once

#include <cstddef>
#include <string>

namespace tidemark {

// The longest path, in characters, that the system's ANSI file calls take: MAX_PATH less its
// terminating zero.
constexpr size_t kMaxPathLength = 259;

// Joins a folder and a file name with exactly one backslash; an empty folder yields the name.
std::string JoinPath(const std::string& folder, const std::string& name);

// The folder part of a path: everything up to and including the last backslash or colon, or
// empty when it has neither.
std::string FolderPart(const std::string& path);

// Whether the system's file calls can take the path at all.
inline bool FitsWindowsPath(const std::string& path) { return path.size() <= kMaxPathLength; }

// A drive letter and a colon not followed by a separator ("C:", "C:NEWTIDE"): the system reads
// it from that drive's current folder, which changes as the program runs.
bool IsDriveRelative(const std::string& path);

// The full path that a drive-relative path names, given the current folder of its drive; any
// other path unchanged.
std::string ResolveDriveRelative(const std::string& path, const std::string& driveFolder);

// The name up to its last dot, followed by the new extension (which carries its own dot); a dot
// before the last backslash or colon does not count, and a name without a dot gets the extension
// appended.
std::string ReplaceExtension(const std::string& name, const std::string& extension);

// The path's drive letter in upper case, or 0 when it does not start with a letter and a colon.
char DriveLetterOf(const std::string& path);

}  // namespace tidemark
