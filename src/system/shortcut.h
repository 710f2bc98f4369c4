// The Start-menu shortcut step.
#pragma once

#include <windows.h>

#include <string>

#include "core/shortcut_rules.h"

namespace tidemark {

constexpr const char* kExplorerKeyPath = "Software\\microsoft\\windows\\currentversion\\explorer";

// The Programs folder as the shell records it, empty when it is missing; a value of another type
// than text counts as missing too, and sets *refused (when given).
// Makes the link in the group's folder of the Start menu, run only when the group page ended
// with 1; a link that cannot be made is recorded for the closing prompt.
void CreateShortcut();

std::string ReadProgramsFolder(bool* refused = nullptr);

// The link path converted with the ANSI code page into what the shell's file interface
// receives: at most kLinkPathUnits - 1 characters, empty when the path is longer.
void ShellLinkPath(const std::string& path, WCHAR (&converted)[kLinkPathUnits]);

}  // namespace tidemark
