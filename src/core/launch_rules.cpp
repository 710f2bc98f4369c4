#include "core/launch_rules.h"

#include "core/path.h"

namespace tidemark {

std::string UninstallerPath(const std::string& destinationFolder) {
    return JoinPath(destinationFolder, kUninstallerFile);
}

std::string LaunchFileName(const std::string& mainProgramFile) {
    return ReplaceExtension(mainProgramFile, ".Exe");
}

std::string LaunchPath(const std::string& destinationFolder, const std::string& mainProgramFile) {
    return JoinPath(destinationFolder, LaunchFileName(mainProgramFile));
}

}  // namespace tidemark
