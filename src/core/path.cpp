#include "core/path.h"

namespace tidemark {

std::string JoinPath(const std::string& folder, const std::string& name) {
    if (folder.empty()) return name;
    if (folder.back() == '\\') return folder + name;
    return folder + '\\' + name;
}

std::string FolderPart(const std::string& path) {
    size_t cut = path.find_last_of("\\:");
    return cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
}

std::string ReplaceExtension(const std::string& name, const std::string& extension) {
    size_t last = name.find_last_of(".\\:");
    if (last != std::string::npos && name[last] == '.') return name.substr(0, last) + extension;
    return name + extension;
}

char DriveLetterOf(const std::string& path) {
    if (path.size() < 2 || path[1] != ':') return 0;
    char letter = path[0];
    if (letter >= 'a' && letter <= 'z') letter = static_cast<char>(letter - 'a' + 'A');
    return letter >= 'A' && letter <= 'Z' ? letter : 0;
}

bool IsDriveRelative(const std::string& path) {
    return DriveLetterOf(path) != 0 && (path.size() == 2 || (path[2] != '\\' && path[2] != '/'));
}

std::string ResolveDriveRelative(const std::string& path, const std::string& driveFolder) {
    if (!IsDriveRelative(path)) return path;
    if (path.size() == 2) return driveFolder;
    return JoinPath(driveFolder, path.substr(2));
}

}  // namespace tidemark
