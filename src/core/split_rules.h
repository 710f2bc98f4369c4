// Decisions of the splitting stage that do not touch the file system.
#pragma once

#include <cstdint>
#include <string>

namespace tidemark {

// Block size of every copy out of the unpacked image.
constexpr int32_t kSplitBlockSize = 2048;

// The part of a name from its last dot to its end, dot included, when no backslash or colon
// follows that dot; empty when there is no such dot.
std::string FileExtension(const std::string& name);

// The extension with a to z turned into A to Z and nothing else changed.
std::string UpperExtension(const std::string& name);

// An existing product file of this name in the destination is left untouched (".LIB", ".DTP":
// the user's own libraries and documents).
bool KeepsExistingFile(const std::string& name);

// Help files go to the Help folder under the Windows folder.
bool IsHelpFile(const std::string& name);

// The folder an entry is written into first: WindowsFolder\Help for a help file, else the
// destination. The Help folder is never created.
std::string SplitFolder(const std::string& name, const std::string& destinationFolder,
                        const std::string& windowsFolder);

// The names a file is written under until it is complete, so that a stop, an error or a kill
// never leaves a product file half written: the unpacked image in the destination, and each
// split file in its target folder (one at a time): the main program's name with another
// extension.
std::string TemporaryImageName(const std::string& mainProgramFile);
std::string TemporarySplitName(const std::string& mainProgramFile);
// Where an older file waits while the complete one takes its name, on a Windows without a
// replacing rename.
std::string TemporaryAsideName(const std::string& mainProgramFile);

}  // namespace tidemark
