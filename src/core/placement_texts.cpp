#include "core/placement_texts.h"

#include "core/error.h"

namespace tidemark {

namespace {

// The system's codes that a create or rename of a product file reports most often.
enum : uint32_t {
    kPathNotFound = 3,
    kAccessDenied = 5,
    kWriteProtect = 19,
    kSharingViolation = 32,
    kLockViolation = 33,
    kSystemDiskFull = 112,  // as a rename reports it; a write's is kDiskFull
    kFilenameTooLong = 206,
};

}  // namespace

std::string PlacementReason(const PlacementFailure& failure) {
    if (failure.PathTooLong || failure.SystemCode == kFilenameTooLong)
        return "the path is longer than Windows allows";
    if (failure.FolderInTheWay) return "a folder of that name is in the way";
    if (failure.ReadOnly) return "the file there is read-only";
    switch (failure.SystemCode) {
        case kPathNotFound:
            return "its folder does not exist";
        case kAccessDenied:
            return "the file is in use, or access to it is denied";
        case kWriteProtect:
            return "the disk is write-protected";
        case kSharingViolation:
        case kLockViolation:
            return "the file is in use by another program";
        case kDiskFull:
        case kSystemDiskFull:
            return "the disk is full";
        default:
            return IoError::MessageFor(static_cast<int>(failure.SystemCode));
    }
}

// The texts are built by appending to one string: far smaller in the program than chains of +.
std::string RetryQuestionText(const std::string& target, const std::string& reason,
                              const std::string& fallbackFolder) {
    std::string text = "The file could not be written as\r\n";
    text.append(target).append(":\r\n").append(reason);
    text.append(".\r\n\r\nChoose Retry to try again, or Cancel to ");
    if (fallbackFolder.empty()) return text.append("go on without it.");
    return text.append("put it into ").append(fallbackFolder).append(" instead.");
}

std::string NotInstalledLine(const std::string& name, const std::string& reason) {
    std::string line = name;
    return line.append(": not installed, ").append(reason).append(".");
}

std::string PlacedElsewhereLine(const std::string& name, const std::string& folder,
                                const std::string& target, const std::string& reason) {
    std::string line = name;
    line.append(": put into ").append(folder).append(", since ").append(target);
    return line.append(" could not be written (").append(reason).append(").");
}

std::string ShortcutNotMadeLine(const std::string& linkPath, const std::string& reason) {
    std::string line = "The Start-menu shortcut ";
    return line.append(linkPath).append(": not made, ").append(reason).append(".");
}

std::string ClosingPromptText(const std::string& successText, const std::string& productName,
                              const std::vector<std::string>& notInstalled,
                              const std::string& shortcutNotMade) {
    bool complete = notInstalled.empty() && shortcutNotMade.empty();
    std::string text = complete ? successText : productName;
    if (complete) return text.append(productName).append("?");
    text.append(" has been installed, but not everything is in its place:");
    for (const std::string& line : notInstalled) text.append("\r\n\r\n").append(line);
    if (!shortcutNotMade.empty()) text.append("\r\n\r\n").append(shortcutNotMade);
    return text.append("\r\n\r\nDo you wish to run ").append(productName).append("?");
}

}  // namespace tidemark
