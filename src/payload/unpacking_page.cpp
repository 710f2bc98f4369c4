#include "payload/unpacking_page.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "core/crc32.h"
#include "core/error.h"
#include "core/lzh/lzh_decode.h"
#include "core/path.h"
#include "core/profile.h"
#include "core/split_rules.h"
#include "dialogs/message_pump.h"
#include "payload/meter.h"
#include "payload/progress_page.h"
#include "payload/splitting.h"
#include "payload/unpacking_page.h"
#include "runtime/install_state.h"

namespace tidemark {

UnpackingStageRecord UnpackingStage;

namespace {

// The image is decoded and split under a temporary name, and takes the main program's name only
// when it is complete: a stop, an error or a kill leaves an earlier installation's main program.
std::string ImagePath() {
    return JoinPath(InstallState.DestinationFolder,
                    TemporaryImageName(ProductProfile.MainProgramFile));
}

std::string ArchivePath() {
    return JoinPath(InstallState.DestinationFolder, ProductProfile.CombinedArchiveFile);
}

// Created (or emptied) for reading and writing, shared with nobody; failing that, an existing
// image opened unchanged for writing, shared for reading and writing.
bool OpenImageForDecoding() {
    std::string path = ImagePath();
    try {
        UnpackingStage.Image = File::Open(path, GENERIC_READ | GENERIC_WRITE, 0, CREATE_ALWAYS);
        return true;
    } catch (const IoError&) {
    }
    try {
        UnpackingStage.Image =
            File::Open(path, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING);
        return true;
    } catch (const IoError&) {
    }
    return false;
}

// Writes the staged bytes; a short or failed write raises, so a corrupt image never goes on to
// be split.
uint32_t WriteStaged() {
    uint32_t staged = UnpackingStage.OutputPos - 1u;
    UnpackingStage.Image.Write(InstallState.WorkBuffer[1], staged);
    UnpackingStage.ImageCrc = Crc32(UnpackingStage.ImageCrc, InstallState.WorkBuffer[1], staged);
    return staged;
}

void ReportDecodingProgress() {
    if (InstallState.UnpackedSize <= 0) return;
    MeterReading reading = MeterPosition(UnpackingStage.WrittenTotal, InstallState.UnpackedSize);
    if (reading.Percentage != ProgressMeter.LastDrawnPercent) {
        DrawMeter(reading.Percentage, reading.Edge);
    }
}

// Closes what the stage still holds when an error unwinds through it; on the normal road both
// are closed already.
struct StageFilesGuard {
    ~StageFilesGuard() {
        UnpackingStage.Archive = File();
        UnpackingStage.Image = File();
    }
};

HWND QuestionOwner = nullptr;  // the page, while it works

bool AskRetry(const std::string& question) {
    return MessageBoxA(QuestionOwner, question.c_str(), ProductProfile.ProductName,
                       MB_RETRYCANCEL | MB_ICONEXCLAMATION) == IDRETRY;
}

void UnpackingWork(HWND page) {
    const std::string& destination = InstallState.DestinationFolder;
    RemoveTemporaryFiles(destination, InstallState.WindowsFolder);  // an earlier run's
    QuestionOwner = page;
    try {
        // A stopped run's image is removed by the clean-up that follows.
        if (!DecodeArchive(ProductProfile.DiskSet)) return;
        InstallState.FilesNotInstalled = SplitImage(ImagePath(), InstallState.Table, destination,
                                                    InstallState.WindowsFolder, AskRetry);
    } catch (...) {
        // The error ends the program without the clean-up: no stray image is left behind.
        DeleteFileA(ImagePath().c_str());
        throw;
    }
}

}  // namespace

void ArchiveReadProc(uint8_t* Buffer, uint16_t Count, uint16_t* Actual) {
    UnpackingStageRecord& s = UnpackingStage;
    if (InstallState.ContinueFlag == 0 || Count == 0) {
        *Actual = 0;
        return;
    }
    bool refilled = false;
    if (s.InputPos > s.InputFill) {
        s.InputFill =
            static_cast<int32_t>(s.Archive.ReadSome(InstallState.WorkBuffer[0], kStagingBlockSize));
        if (s.InputFill == 0) {  // the end of the archive; the next call reads again
            // A short archive (an empty or cut volume) would otherwise decode into an image
            // padded with garbage, installed as if nothing were wrong.
            if (++s.ReadsPastEnd > kLzhReadsPastEnd) throw IoError(kReadBeyondEnd);
            *Actual = 0;
            return;
        }
        s.InputPos = 1;
        refilled = true;
    }
    Buffer[0] = InstallState.WorkBuffer[0][s.InputPos - 1];
    ++s.InputPos;
    *Actual = 1;
    // Once per block rather than per byte: a message poll costs far more than decoding a byte,
    // and the decoder still tests ContinueFlag before every symbol.
    if (refilled) DrainMessages();
}

void ImageWriteProc(const uint8_t* Buffer, uint16_t Count, uint16_t* Actual) {
    UnpackingStageRecord& s = UnpackingStage;
    if (InstallState.ContinueFlag == 0) {
        *Actual = 0;
        return;
    }
    if (Count == 0) {
        WriteStaged();
        return;
    }
    // The decoder hands over one byte at a time; larger counts are staged a block at most at a
    // time so that the output WorkBuffer cannot overflow.
    uint16_t taken = 0;
    while (taken < Count) {
        uint16_t piece = static_cast<uint16_t>(std::min<int32_t>(Count - taken, kStagingBlockSize));
        if (s.OutputPos > kStagingBlockSize || s.OutputPos + piece > kStagingBlockSize + 1) {
            s.WrittenTotal += static_cast<int32_t>(WriteStaged());
            s.OutputPos = 1;
            ReportDecodingProgress();
        }
        std::memcpy(InstallState.WorkBuffer[1] + (s.OutputPos - 1), Buffer + taken, piece);
        s.OutputPos = static_cast<uint16_t>(s.OutputPos + piece);
        taken = static_cast<uint16_t>(taken + piece);
    }
    *Actual = Count;
}

bool DecodeArchive(const DiskSetNumbers& diskSet) {
    if (!OpenImageForDecoding()) {
        InstallState.ContinueFlag = 0;
        return false;
    }
    InstallState.MainProgramWritten = true;
    StageFilesGuard guard;
    UnpackingStage.InputPos = 1;
    UnpackingStage.InputFill = 0;
    UnpackingStage.ReadsPastEnd = 0;
    UnpackingStage.OutputPos = 1;
    UnpackingStage.ImageCrc = 0;

    // Splitting an image that nothing was decoded into would install empty files.
    UnpackingStage.Archive = File::Open(ArchivePath(), GENERIC_READ, 0, OPEN_EXISTING);
    LzhDecode(InstallState.UnpackedSize, ArchiveReadProc, ImageWriteProc,
              InstallState.ContinueFlag);
    if (InstallState.ContinueFlag == 1) {
        uint16_t actual = 0;
        ImageWriteProc(InstallState.WorkBuffer[1], 0, &actual);
    }

    // Deleted whether decoding finished or was cancelled.
    UnpackingStage.Archive.Close();
    DeleteFileA(ArchivePath().c_str());
    UnpackingStage.Image.Close();
    if (InstallState.ContinueFlag == 0) return false;
    if (diskSet.Stamped() && UnpackingStage.ImageCrc != diskSet.ImageCrc) {
        // Not one file of a damaged image is installed, the main program included.
        DeleteFileA(ImagePath().c_str());
        throw ImageError(
            "The product's files did not unpack correctly from the disks, so none of them was "
            "installed. Please run the setup program again");
    }
    return true;
}

INT_PTR CALLBACK UnpackingPageProc(HWND page, UINT message, WPARAM wParam, LPARAM) {
    return ProgressPageProc(page, message, wParam, UnpackingWork);
}

}  // namespace tidemark
