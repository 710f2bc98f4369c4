#include "core/destination_rules.h"

#include "core/path.h"

namespace tidemark {

bool PassesFormCheck(const std::string& entry) {
    if (entry.size() < 2) return false;
    return entry[0] >= 'A' && entry[0] <= 'Z' && entry[1] == ':';
}

FolderProbe PlanFolderProbe(const std::string& path) {
    std::string probed = path.find_first_of("*?") == std::string::npos ? path : FolderPart(path);
    if (probed.empty()) return {FolderProbe::Kind::kAbsent, '\0', std::string()};
    if (probed.size() <= 3) return {FolderProbe::Kind::kDrive, probed[0], std::string()};
    if (probed.back() == '\\') probed.pop_back();
    return {FolderProbe::Kind::kSearch, '\0', probed};
}

bool FolderHoldsNames(const std::string& folder, size_t longestName) {
    return FitsWindowsPath(JoinPath(folder, std::string(longestName, 'X')));
}

bool OnChangeableSourceDrive(const std::string& folder, const std::string& sourceFolder,
                             bool sourceDriveChangeable) {
    char drive = DriveLetterOf(folder);
    return sourceDriveChangeable && drive != 0 && drive == DriveLetterOf(sourceFolder);
}

std::string DriveRootPath(char letter) { return std::string(1, letter) + ":\\"; }

}  // namespace tidemark
