#include "system/shortcut_rules.h"

#include "setup/path.h"

namespace tidemark {

std::string LinkFilePath(const std::string& programsFolder, const std::string& groupName) {
    return JoinPath(programsFolder, groupName + ".LNK");
}

}  // namespace tidemark
