#include "core/name_rules.h"

#include <cstring>

#include "core/split_rules.h"
#include "core/trailer.h"

namespace tidemark {

namespace {

// Windows looks for a device in the name up to its first dot, trailing spaces dropped.
bool IsDeviceName(const std::string& name) {
    std::string stem = FileNameKey(name.substr(0, name.find('.')));
    stem.erase(stem.find_last_not_of(' ') + 1);
    if (stem == "CON" || stem == "PRN" || stem == "AUX" || stem == "NUL" || stem == "CONIN$" ||
        stem == "CONOUT$")
        return true;
    return stem.size() == 4 && (stem.compare(0, 3, "COM") == 0 || stem.compare(0, 3, "LPT") == 0) &&
           stem[3] >= '0' && stem[3] <= '9';
}

// The checks after the length, in this order for both rules. The second byte of a double-byte
// character may be any byte from 0x40, a backslash too: it is not looked at.
const char* WindowsNameFault(const std::string& name, bool asciiOnly, bool (*isLeadByte)(uint8_t)) {
    if (name == "." || name == "..") return "does not name a file";
    for (size_t i = 0; i < name.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(name[i]);
        if (c > 0x7F && isLeadByte && isLeadByte(c)) {
            ++i;
            continue;
        }
        if (c == '\\' || c == '/' || c == ':') return "holds a folder or drive character";
        if (c < 0x20 || c == 0x7F) return "holds a control character";
        if (c > 0x7F && asciiOnly) return "holds a character outside ASCII";
        if (std::strchr("<>\"|?*", c)) return "holds a character Windows does not allow";
    }
    if (name.back() == '.' || name.back() == ' ') return "ends with a dot or space";
    if (IsDeviceName(name)) return "is a device name on Windows";
    return nullptr;
}

}  // namespace

std::string FileNameKey(const std::string& name) {
    std::string key = name;
    for (char& c : key)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return key;
}

const char* FileNameFault(const std::string& name) {
    if (name.empty()) return "is empty";
    if (name.size() > kMaxNameLength) return "is longer than 19 characters";
    return WindowsNameFault(name, true, nullptr);
}

const char* OwnFileNameFault(const std::string& name, bool (*isLeadByte)(uint8_t)) {
    if (name.empty()) return "is empty";
    return WindowsNameFault(name, false, isLeadByte);
}

InstallNames::InstallNames(const std::string& mainProgramFile,
                           const std::string& combinedArchiveFile)
    : main_(FileNameKey(mainProgramFile)),
      temporaryImage_(FileNameKey(TemporaryImageName(mainProgramFile))),
      temporarySplit_(FileNameKey(TemporarySplitName(mainProgramFile))),
      archive_(FileNameKey(combinedArchiveFile)) {}

const char* InstallNames::Add(const std::string& name) {
    if (const char* fault = FileNameFault(name)) return fault;
    std::string key = FileNameKey(name);
    if (key == main_) return "is the main program's name";
    if (key == temporaryImage_ || key == temporarySplit_)
        return "is a name the setup program writes unfinished files under";
    // The archive is written over it while copying and deleted when a run stops.
    if (key == archive_)
        return "is the name of the archive the setup program combines the disks into";
    if (!added_.insert(key).second) return "is, letter case aside, the name of an earlier file";
    return nullptr;
}

}  // namespace tidemark
