// Platform-free rules of the Start-menu shortcut: where the link file goes and how many UTF-16
// units its path may take.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace tidemark {

// The shell receives the link path in a buffer of this many UTF-16 units, terminator included.
constexpr size_t kLinkPathUnits = 255;

// The group name with ".LNK" appended, joined to the Programs folder.
std::string LinkFilePath(const std::string& programsFolder, const std::string& groupName);

// Why the program group page refuses a group name, or nullptr when it takes it: a name that
// Windows would not create as the link's own file in the Programs folder (OwnFileNameFault:
// empty or only spaces, a separator or ':', a device name, a trailing dot or space), or one whose
// link path would not fit the shell's buffer. Each byte counts as one unit, which a double-byte
// character (isLeadByte, as in OwnFileNameFault) converts into at most.
const char* GroupNameFault(const std::string& programsFolder, const std::string& groupName,
                           bool (*isLeadByte)(uint8_t) = nullptr);

}  // namespace tidemark
