// The Start-menu shortcut step; CreateShortcut itself is declared with the other steps.
#pragma once

#include <windows.h>

#include <string>

#include "setup/steps.h"
#include "system/shortcut_rules.h"

namespace tidemark {

constexpr const char* kExplorerKeyPath = "Software\\microsoft\\windows\\currentversion\\explorer";

// The link path converted with the ANSI code page into what the shell's file interface
// receives: at most kLinkPathUnits - 1 characters, empty when the path is longer.
void ShellLinkPath(const std::string& path, WCHAR (&converted)[kLinkPathUnits]);

}  // namespace tidemark
