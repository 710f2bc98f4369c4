#include "core/shortcut_rules.h"

#include "core/name_rules.h"
#include "core/path.h"

namespace tidemark {

std::string LinkFilePath(const std::string& programsFolder, const std::string& groupName) {
    return JoinPath(programsFolder, groupName + ".LNK");
}

const char* GroupNameFault(const std::string& programsFolder, const std::string& groupName,
                           bool (*isLeadByte)(uint8_t)) {
    if (const char* fault = OwnFileNameFault(groupName, isLeadByte)) return fault;
    // As LinkFilePath joins them: a backslash between unless the folder is empty or ends with one.
    size_t separator = !programsFolder.empty() && programsFolder.back() != '\\';
    if (programsFolder.size() + separator + groupName.size() + 4 > kLinkPathUnits - 1)
        return "is too long";
    return nullptr;
}

}  // namespace tidemark
