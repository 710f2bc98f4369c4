// Platform-free rules of the Start-menu shortcut: where the link file goes and how its path is
// bounded once converted to UTF-16 for the shell.
#pragma once

#include <cstddef>
#include <string>

namespace tidemark {

// The shell receives the link path in a buffer of this many UTF-16 units, terminator included.
constexpr size_t kLinkPathUnits = 255;

// The group name with ".LNK" appended, joined to the Programs folder.
std::string LinkFilePath(const std::string& programsFolder, const std::string& groupName);

// The converted path as handed to the shell: unchanged when it fits the buffer with its
// terminator, empty when it does not (a cut path could name some other file).
std::u16string FitLinkPath(const std::u16string& converted);

}  // namespace tidemark
