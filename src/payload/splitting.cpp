#include "payload/splitting.h"

#include <windows.h>

#include <cstdint>

#include "core/error.h"
#include "core/path.h"
#include "core/placement_texts.h"
#include "core/profile.h"
#include "core/split_rules.h"
#include "runtime/file.h"
#include "runtime/folders.h"

namespace tidemark {

namespace {

// A file of this run under a temporary name: deleted unless it was renamed into place, also when
// an error unwinds through its owner.
class TemporaryFile {
public:
    explicit TemporaryFile(std::string path) : path_(std::move(path)) {}
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    ~TemporaryFile() {
        if (!placed_) DeleteFileA(path_.c_str());
    }
    const std::string& Path() const { return path_; }
    void Placed() { placed_ = true; }

private:
    std::string path_;
    bool placed_ = false;
};

// Size bytes from the entry's Offset. Every read must deliver all it asks for: an image shorter
// than the table says raises IoError 100 instead of looping without progress.
void CopyEntry(File& image, const FileTableEntry& entry, File& target) {
    uint8_t block[kSplitBlockSize];
    image.Seek(static_cast<uint32_t>(entry.Offset));
    int64_t copied = 0;
    while (copied + kSplitBlockSize < entry.Size) {
        image.Read(block, kSplitBlockSize);
        target.Write(block, kSplitBlockSize);
        copied += kSplitBlockSize;
    }
    uint32_t rest = static_cast<uint32_t>(entry.Size - copied);
    image.Read(block, rest);
    target.Write(block, rest);
}

// Writes the entry completely under the temporary path. Returns 0, or the code of a create that
// failed; a failure while copying raises.
uint32_t WriteTemporary(File& image, const FileTableEntry& entry, const std::string& path) {
    File file;
    try {
        file = File::Create(path);
    } catch (const IoError& e) {
        return static_cast<uint32_t>(e.Code());
    }
    CopyEntry(image, entry, file);
    file.Close();
    return 0;
}

// Renames the complete file onto target, replacing an older one. A read-only file or a folder of
// that name is refused here as Windows refuses it (Wine would replace a read-only file). Returns
// the system's code, 0 on success.
uint32_t RenameOnto(const std::string& from, const std::string& target) {
    if (!FitsWindowsPath(target)) return ERROR_FILENAME_EXCED_RANGE;
    DWORD attributes = GetFileAttributesA(target.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES &&
        (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) != 0)
        return ERROR_ACCESS_DENIED;
    std::string aside =
        JoinPath(FolderPart(target), TemporaryAsideName(ProductProfile.MainProgramFile));
    return RenameReplacing(from, target, aside);
}

std::string ReasonFor(const std::string& target, uint32_t code) {
    DWORD attributes = GetFileAttributesA(target.c_str());
    bool present = attributes != INVALID_FILE_ATTRIBUTES;
    PlacementFailure failure;
    failure.SystemCode = code;
    failure.PathTooLong = !FitsWindowsPath(target);
    failure.FolderInTheWay = present && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    failure.ReadOnly = present && (attributes & FILE_ATTRIBUTE_READONLY) != 0;
    return PlacementReason(failure);
}

// The bytes of a file still to be written under its temporary name.
struct Content {
    File& image;
    const FileTableEntry& entry;
};

// Puts a file in place under target from the temporary file, filled from content when given
// (else it is complete already). Asks while the user chooses Retry; returns the empty text when
// the file is in place, else the reason it is not.
std::string PutInPlace(TemporaryFile& temporary, const std::string& target, const Content* content,
                       RetryQuestion ask, const std::string& fallbackFolder) {
    bool written = content == nullptr;
    for (;;) {
        uint32_t code = 0;
        if (!FitsWindowsPath(target)) {
            code = ERROR_FILENAME_EXCED_RANGE;
        } else if (!written) {
            code = WriteTemporary(content->image, content->entry, temporary.Path());
            written = code == 0;
        }
        if (written) {
            code = RenameOnto(temporary.Path(), target);
            if (code == 0) {
                temporary.Placed();
                return std::string();
            }
        }
        std::string reason = ReasonFor(target, code);
        if (!ask(RetryQuestionText(target, reason, fallbackFolder))) return reason;
    }
}

// One entry into folder, through the temporary split file there.
std::string PlaceEntry(File& image, const FileTableEntry& entry, const std::string& folder,
                       RetryQuestion ask, const std::string& fallbackFolder) {
    TemporaryFile temporary(JoinPath(folder, TemporarySplitName(ProductProfile.MainProgramFile)));
    Content content{image, entry};
    return PutInPlace(temporary, JoinPath(folder, entry.Name), &content, ask, fallbackFolder);
}

}  // namespace

std::vector<std::string> SplitImage(const std::string& imagePath, FileTable& table,
                                    const std::string& destinationFolder,
                                    const std::string& windowsFolder, RetryQuestion ask) {
    // Write access for the final cut; others may read the image meanwhile.
    File image =
        File::Open(imagePath, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, OPEN_EXISTING);
    std::vector<std::string> missed;

    for (const FileTableEntry& entry : table) {
        if (KeepsExistingFile(entry.Name) && FileExists(JoinPath(destinationFolder, entry.Name)))
            continue;
        std::string folder = SplitFolder(entry.Name, destinationFolder, windowsFolder);
        // Without a Help folder, help files belong beside the product; nothing to report.
        if (folder != destinationFolder && !HasDirectoryAttribute(folder))
            folder = destinationFolder;
        bool inHelpFolder = folder != destinationFolder;

        std::string reason =
            PlaceEntry(image, entry, folder, ask, inHelpFolder ? destinationFolder : std::string());
        if (reason.empty()) continue;
        if (!inHelpFolder) {
            missed.push_back(NotInstalledLine(entry.Name, reason));
            continue;
        }
        std::string second = PlaceEntry(image, entry, destinationFolder, ask, std::string());
        missed.push_back(second.empty() ? PlacedElsewhereLine(entry.Name, destinationFolder,
                                                              JoinPath(folder, entry.Name), reason)
                                        : NotInstalledLine(entry.Name, second));
    }

    if (!table.empty()) {
        uint32_t mainProgramLength = static_cast<uint32_t>(table.front().Offset);
        // Cutting past the end would pad the main program instead of shortening it.
        if (mainProgramLength > image.Size()) throw IoError(kReadBeyondEnd);
        image.Seek(mainProgramLength);
        image.Truncate();
    }
    image.Close();
    table.clear();
    table.shrink_to_fit();

    // Only now, complete and cut, does the image replace the main program.
    const char* main = ProductProfile.MainProgramFile;
    TemporaryFile complete(imagePath);
    std::string reason =
        PutInPlace(complete, JoinPath(destinationFolder, main), nullptr, ask, std::string());
    if (!reason.empty()) missed.push_back(NotInstalledLine(main, reason));
    return missed;
}

void RemoveTemporaryFiles(const std::string& destinationFolder, const std::string& windowsFolder) {
    // A folder of one of these names is not this program's and stays: DeleteFileA leaves it.
    const char* main = ProductProfile.MainProgramFile;
    std::string split = TemporarySplitName(main);
    DeleteFileA(JoinPath(destinationFolder, TemporaryImageName(main)).c_str());
    DeleteFileA(JoinPath(destinationFolder, split).c_str());
    DeleteFileA(JoinPath(JoinPath(windowsFolder, "Help"), split).c_str());
}

}  // namespace tidemark
