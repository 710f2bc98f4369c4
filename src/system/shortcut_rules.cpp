#include "system/shortcut_rules.h"

#include "setup/path.h"

namespace tidemark {

std::string LinkFilePath(const std::string& programsFolder, const std::string& groupName) {
    return JoinPath(programsFolder, groupName + ".LNK");
}

std::u16string FitLinkPath(const std::u16string& converted) {
    if (converted.size() + 1 > kLinkPathUnits) return std::u16string();
    return converted;
}

}  // namespace tidemark
