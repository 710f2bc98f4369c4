// The one rule for the names of product files. mkdisks keeps it before it writes a file table,
// and the setup program before it copies anything: a name passes only when Windows creates a
// file of exactly that name in the destination folder, distinct from every other file of the
// install.
#pragma once

#include <cstdint>
#include <set>
#include <string>

namespace tidemark {

// Why the name cannot be a product file's name, or nullptr when it can: empty, longer than 19
// characters, "." or "..", a folder or drive character (\ / :), a control character, a byte above
// 0x7F (its meaning, and its letter case, depend on the installing machine's code page),
// < > " | ? *, a trailing dot or space (which Windows drops, so "A." would be written as "A"), or
// a device name (CON, PRN, AUX, NUL, COM0-COM9, LPT0-LPT9, CONIN$, CONOUT$), which Windows
// takes as the device whatever the extension: "NUL.TXT" and "COM1 .LOG" are devices too.
const char* FileNameFault(const std::string& name);

// The same rule for a name the user types on the installing machine (the program group's): no
// length of its own, and characters above 0x7F are those of the machine's own code page, where
// isLeadByte (when given) tells which bytes start a double-byte character.
const char* OwnFileNameFault(const std::string& name, bool (*isLeadByte)(uint8_t) = nullptr);

// The names of one install: the main program's, the combined archive's (written into the
// destination while the disks are copied, and deleted when a run stops) and the entries' added
// one by one.
class InstallNames {
public:
    InstallNames(const std::string& mainProgramFile, const std::string& combinedArchiveFile);

    // Why `name` cannot be installed beside the names added so far: a fault of its own, the main
    // program's name or one of its temporary names, the combined archive's name, or an earlier
    // name but for letter case (Windows would write both into one file). nullptr when it can,
    // and then it is added.
    const char* Add(const std::string& name);

private:
    std::string main_;
    std::string temporaryImage_;
    std::string temporarySplit_;
    std::string archive_;
    std::set<std::string> added_;  // in upper case
};

// The name with ASCII letters in upper case: what Windows compares file names by.
std::string FileNameKey(const std::string& name);

}  // namespace tidemark
