// What the user is told about a product file that could not be put in place: the reason, the
// question while it can still be retried, and the closing prompt's account of the files missed
// and of a shortcut not made.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tidemark {

// What went wrong when a product file was created or renamed onto its name (the system's code,
// or kDiskFull, 101, for a full disk), and what was found at that name afterwards.
struct PlacementFailure {
    uint32_t SystemCode = 0;
    bool PathTooLong = false;
    bool FolderInTheWay = false;
    bool ReadOnly = false;
};

// A short reason in words, e.g. "the file there is read-only".
std::string PlacementReason(const PlacementFailure& failure);

// The Retry/Cancel question for a file that could not be written as target; Cancel goes on
// without it, or puts it into fallbackFolder when one is given.
std::string RetryQuestionText(const std::string& target, const std::string& reason,
                              const std::string& fallbackFolder);

// One line of the closing prompt's list: a file left out, or one put into another folder
// because its own place (target) could not be written.
std::string NotInstalledLine(const std::string& name, const std::string& reason);
std::string PlacedElsewhereLine(const std::string& name, const std::string& folder,
                                const std::string& target, const std::string& reason);

// The closing prompt's line for a Start-menu shortcut that was not made.
std::string ShortcutNotMadeLine(const std::string& linkPath, const std::string& reason);

// The closing prompt: successText and the product's name when every file is in place and the
// shortcut made (shortcutNotMade empty); otherwise the list of files that are not, the line for
// the shortcut, and the same offer to start the product.
std::string ClosingPromptText(const std::string& successText, const std::string& productName,
                              const std::vector<std::string>& notInstalled,
                              const std::string& shortcutNotMade = std::string());

}  // namespace tidemark
