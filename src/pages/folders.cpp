#include "pages/folders.h"

#include <windows.h>

#include "pages/destination_rules.h"
#include "setup/install_state.h"
#include "setup/path.h"

namespace tidemark {

bool FolderExists(const std::string& path) {
    FolderProbe probe = PlanFolderProbe(path);
    switch (probe.kind) {
        case FolderProbe::Kind::kAbsent:
            return false;
        case FolderProbe::Kind::kDrive:
            return DriveExists(probe.driveLetter);
        case FolderProbe::Kind::kSearch:
            break;
    }
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(probe.searchPath.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return false;
    // Every attribute may match (the mask 63 of read-only, hidden, system, volume label,
    // directory and archive); only the directory bit decides.
    bool folder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    FindClose(search);
    return folder;
}

bool DriveExists(char letter) {
    char upper[2] = {letter, '\0'};
    CharUpperBuffA(upper, 1);  // the system's ANSI code page
    if (upper[0] < 'A' || upper[0] > 'Z') return false;
    return GetDriveTypeA(DriveRootPath(upper[0]).c_str()) > DRIVE_UNKNOWN;
}

bool DriveIsChangeable(char letter) {
    if (letter == 0) return false;
    UINT type = GetDriveTypeA(DriveRootPath(letter).c_str());
    return type == DRIVE_REMOVABLE || type == DRIVE_CDROM;
}

std::string FullPathOf(const std::string& entry) {
    if (!IsDriveRelative(entry)) return entry;
    // The system keeps a current folder for each drive; "X:" alone names it.
    char drive[3] = {entry[0], ':', '\0'};
    char folder[MAX_PATH];
    DWORD length = GetFullPathNameA(drive, sizeof folder, folder, nullptr);
    if (length == 0 || length >= sizeof folder) return DriveRootPath(entry[0]);
    return ResolveDriveRelative(entry, std::string(folder, length));
}

bool PrepareFolder(const std::string& path) {
    if (!FolderExists(path)) {
        // Only the last level is created; a failure shows when the folder cannot be entered.
        CreateDirectoryA(path.c_str(), nullptr);
        if (!SetCurrentDirectoryA(path.c_str())) return false;
    }
    InstallState.DestinationFolder = path;
    return true;
}

bool NamesExistingFolder(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

}  // namespace tidemark
