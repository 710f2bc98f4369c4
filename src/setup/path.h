// Path rules shared by every step.
#pragma once

#include <string>

namespace tidemark {

// Joins a folder and a file name with exactly one backslash; an empty folder yields the name.
std::string JoinPath(const std::string& folder, const std::string& name);

// The folder part of a path: everything up to and including the last backslash or colon, or
// empty when it has neither.
std::string FolderPart(const std::string& path);

}  // namespace tidemark
