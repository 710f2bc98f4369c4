#include "payload/splitting.h"

#include <cstdint>
#include <optional>

#include "payload/split_rules.h"
#include "runtime/error.h"
#include "runtime/file.h"
#include "setup/path.h"

namespace tidemark {

namespace {

// A product file, replacing any of the name; nothing when it cannot be created, which is not an
// error here: the caller tries the destination next, or skips the entry.
std::optional<File> TryCreate(const std::string& path) {
    try {
        return File::Create(path);
    } catch (const IoError&) {
        return std::nullopt;
    }
}

// Size bytes from the image's current position. Every read must deliver all it asks for: an
// image shorter than the table says raises IoError 100 instead of looping without progress.
void CopyEntry(File& image, File& target, int32_t size) {
    uint8_t block[kSplitBlockSize];
    int64_t copied = 0;
    while (copied + kSplitBlockSize < size) {
        image.Read(block, kSplitBlockSize);
        target.Write(block, kSplitBlockSize);
        copied += kSplitBlockSize;
    }
    uint32_t rest = static_cast<uint32_t>(size - copied);
    image.Read(block, rest);
    target.Write(block, rest);
}

}  // namespace

void SplitImage(const std::string& imagePath, FileTable& table,
                const std::string& destinationFolder, const std::string& windowsFolder) {
    // Write access for the final cut; others may read the image meanwhile.
    File image =
        File::Open(imagePath, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, OPEN_EXISTING);

    for (const FileTableEntry& entry : table) {
        image.Seek(static_cast<uint32_t>(entry.Offset));
        std::string inDestination = JoinPath(destinationFolder, entry.Name);
        if (KeepsExistingFile(entry.Name) && FileExists(inDestination)) continue;

        std::optional<File> target =
            TryCreate(SplitTarget(entry.Name, destinationFolder, windowsFolder));
        if (!target) target = TryCreate(inDestination);
        if (!target) continue;

        CopyEntry(image, *target, entry.Size);
        target->Close();
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
}

}  // namespace tidemark
