#include "core/split_rules.h"

#include "core/path.h"
#include "core/trailer.h"

namespace tidemark {

std::string FileExtension(const std::string& name) {
    size_t dot = name.find_last_of(".\\:");
    if (dot == std::string::npos || name[dot] != '.') return std::string();
    return name.substr(dot);
}

std::string UpperExtension(const std::string& name) {
    std::string extension = FileExtension(name);
    for (char& c : extension) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return extension;
}

bool KeepsExistingFile(const std::string& name) {
    std::string extension = UpperExtension(name);
    return extension == ".LIB" || extension == ".DTP";
}

bool IsHelpFile(const std::string& name) { return UpperExtension(name) == ".HLP"; }

std::string SplitFolder(const std::string& name, const std::string& destinationFolder,
                        const std::string& windowsFolder) {
    return IsHelpFile(name) ? JoinPath(windowsFolder, "Help") : destinationFolder;
}

std::string TemporaryImageName(const std::string& mainProgramFile) {
    return ReplaceExtension(mainProgramFile, ".~IM");
}

std::string TemporarySplitName(const std::string& mainProgramFile) {
    return ReplaceExtension(mainProgramFile, ".~SP");
}

std::string TemporaryAsideName(const std::string& mainProgramFile) {
    return ReplaceExtension(mainProgramFile, ".~OL");
}

}  // namespace tidemark
