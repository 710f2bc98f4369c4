// Platform-free rules of the last two steps: the uninstaller that the uninstall entry names and
// the file that the launch starts.
#pragma once

#include <string>

namespace tidemark {

constexpr const char* kUninstallKeyPath = "Software\\microsoft\\windows\\currentversion\\uninstall";
constexpr const char* kUninstallerFile = "UnInstal.Exe";

// The uninstaller in the destination folder, as written to "UnInstallString".
std::string UninstallerPath(const std::string& destinationFolder);

// The installed program's file name: the main program's extension (from the last dot after the
// last backslash or colon) replaced by ".Exe", or ".Exe" appended when it has none.
std::string LaunchFileName(const std::string& mainProgramFile);

// The full path that the launch hands to the shell.
std::string LaunchPath(const std::string& destinationFolder, const std::string& mainProgramFile);

}  // namespace tidemark
