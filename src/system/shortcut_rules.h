// Platform-free rules of the Start-menu shortcut: where the link file goes and how many UTF-16
// units its path may take.
#pragma once

#include <cstddef>
#include <string>

namespace tidemark {

// The shell receives the link path in a buffer of this many UTF-16 units, terminator included.
constexpr size_t kLinkPathUnits = 255;

// The group name with ".LNK" appended, joined to the Programs folder.
std::string LinkFilePath(const std::string& programsFolder, const std::string& groupName);

}  // namespace tidemark
