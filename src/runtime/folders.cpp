#include "runtime/folders.h"

#include <windows.h>

#include "core/destination_rules.h"
#include "core/path.h"
#include "core/space_rules.h"

namespace tidemark {

namespace {

bool ProbeFindsFolder(const std::string& path) {
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

}  // namespace

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

std::string ResolveDriveRelativeEntry(const std::string& entry) {
    if (!IsDriveRelative(entry)) return entry;
    // The system keeps a current folder for each drive; "X:" alone names it.
    char drive[3] = {entry[0], ':', '\0'};
    char folder[MAX_PATH];
    DWORD length = GetFullPathNameA(drive, sizeof folder, folder, nullptr);
    if (length == 0 || length >= sizeof folder) return DriveRootPath(entry[0]);
    return ResolveDriveRelative(entry, std::string(folder, length));
}

bool CreateFolderIfAbsent(const std::string& path) {
    if (!ProbeFindsFolder(path)) {
        // Only the last level is created; a failure shows when the folder cannot be entered.
        CreateDirectoryA(path.c_str(), nullptr);
        if (!SetCurrentDirectoryA(path.c_str())) return false;
    }
    return true;
}

bool HasDirectoryAttribute(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

namespace {

using DiskFreeSpaceExProc = BOOL(WINAPI*)(LPCSTR, PULARGE_INTEGER, PULARGE_INTEGER,
                                          PULARGE_INTEGER);

bool FreeSpaceEx(DiskFreeSpaceExProc query, std::string folder, uint64_t* free) {
    if (query == nullptr || folder.empty()) return false;
    if (folder.back() != '\\') folder += '\\';
    ULARGE_INTEGER available, total, totalFree;
    if (!query(folder.c_str(), &available, &total, &totalFree)) return false;
    *free = available.QuadPart;
    return true;
}

}  // namespace

bool FreeSpaceOf(const std::string& folder, uint64_t* free, uint32_t* clusterSize) {
    std::string root = VolumeRootOf(folder);
    if (root.empty()) return false;
    DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, clusters = 0;
    bool classic = GetDiskFreeSpaceA(root.c_str(), &sectorsPerCluster, &bytesPerSector,
                                     &freeClusters, &clusters) != FALSE;
    *clusterSize = classic ? sectorsPerCluster * bytesPerSector : 0;
    // Only the extended call sees past 2 GB and the user's quota, but the first Windows 95 lacks
    // it. It is asked about the folder itself, which may lie on a volume mounted below the root.
    auto query = reinterpret_cast<DiskFreeSpaceExProc>(reinterpret_cast<void (*)()>(
        GetProcAddress(GetModuleHandleA("kernel32.dll"), "GetDiskFreeSpaceExA")));
    std::string measured = HasDirectoryAttribute(folder) ? folder : FolderPart(folder);
    if (FreeSpaceEx(query, measured, free) || FreeSpaceEx(query, root, free)) return true;
    if (!classic) return false;
    *free = uint64_t(freeClusters) * sectorsPerCluster * bytesPerSector;
    return true;
}

int64_t FileSizeOf(const std::string& path) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(path.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return -1;
    FindClose(search);
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return -1;
    return int64_t(uint64_t(found.nFileSizeHigh) << 32 | found.nFileSizeLow);
}

}  // namespace tidemark
