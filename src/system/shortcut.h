// The Start-menu shortcut step; CreateShortcut itself is declared with the other steps.
#pragma once

#include <windows.h>

#include <string>

#include "setup/steps.h"
#include "system/shortcut_rules.h"

namespace tidemark {

constexpr const char* kExplorerKeyPath = "Software\\microsoft\\windows\\currentversion\\explorer";

// The Programs folder as the shell records it, empty when it is missing; a value of another type
// than text counts as missing too, and sets *refused (when given).
std::string ReadProgramsFolder(bool* refused = nullptr);

// The link path converted with the ANSI code page into what the shell's file interface
// receives: at most kLinkPathUnits - 1 characters, empty when the path is longer.
void ShellLinkPath(const std::string& path, WCHAR (&converted)[kLinkPathUnits]);

}  // namespace tidemark
