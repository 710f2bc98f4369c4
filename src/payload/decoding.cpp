#include "payload/decoding.h"

#include <windows.h>

#include <algorithm>
#include <cstring>

#include "core/crc32.h"
#include "core/error.h"
#include "core/lzh/lzh_decode.h"
#include "core/path.h"
#include "core/profile.h"
#include "core/split_rules.h"
#include "dialogs/message_pump.h"
#include "payload/meter.h"
#include "runtime/install_state.h"

namespace tidemark {

namespace {

// The stage the decoder's callbacks work for: they are called with no context of their own.
DecodingStage* aliveStage = nullptr;

std::string ArchivePath() {
    return JoinPath(InstallState.DestinationFolder, ProductProfile.CombinedArchiveFile);
}

// Created (or emptied) for reading and writing, shared with nobody; failing that, an existing
// image opened unchanged for writing, shared for reading and writing.
bool OpenImageForDecoding(File& image) {
    std::string path = TemporaryImagePath();
    try {
        image = File::Open(path, GENERIC_READ | GENERIC_WRITE, 0, CREATE_ALWAYS);
        return true;
    } catch (const IoError&) {
    }
    try {
        image = File::Open(path, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING);
        return true;
    } catch (const IoError&) {
    }
    return false;
}

}  // namespace

std::string TemporaryImagePath() {
    return JoinPath(InstallState.DestinationFolder,
                    TemporaryImageName(ProductProfile.MainProgramFile));
}

DecodingStage::DecodingStage(File& archive, File& image)
    : archive_(archive), image_(image), outer_(aliveStage) {
    aliveStage = this;
}

DecodingStage::~DecodingStage() { aliveStage = outer_; }

// Writes the staged bytes; a short or failed write raises, so a corrupt image never goes on to
// be split.
uint32_t DecodingStage::WriteStaged() {
    uint32_t staged = outputPos_ - 1u;
    image_.Write(InstallState.WorkBuffer[1], staged);
    imageCrc_ = Crc32(imageCrc_, InstallState.WorkBuffer[1], staged);
    return staged;
}

void DecodingStage::ReportProgress() const {
    if (InstallState.UnpackedSize <= 0) return;
    MeterReading reading = ReadingOnBar(writtenTotal_, InstallState.UnpackedSize);
    if (reading.Percentage != LastDrawnPercent()) DrawMeter(reading.Percentage, reading.Edge);
}

void DecodingStage::Read(uint8_t* buffer, uint16_t count, uint16_t* actual) {
    if (InstallState.ContinueFlag == 0 || count == 0) {
        *actual = 0;
        return;
    }
    bool refilled = false;
    if (inputPos_ > inputFill_) {
        inputFill_ =
            static_cast<int32_t>(archive_.ReadSome(InstallState.WorkBuffer[0], kStagingBlockSize));
        if (inputFill_ == 0) {  // the end of the archive; the next call reads again
            // A short archive (an empty or cut volume) would otherwise decode into an image
            // padded with garbage, installed as if nothing were wrong.
            if (++readsPastEnd_ > kLzhReadsPastEnd) throw IoError(kReadBeyondEnd);
            *actual = 0;
            return;
        }
        inputPos_ = 1;
        refilled = true;
    }
    buffer[0] = InstallState.WorkBuffer[0][inputPos_ - 1];
    ++inputPos_;
    *actual = 1;
    // Once per block rather than per byte: a message poll costs far more than decoding a byte,
    // and the decoder still tests ContinueFlag before every symbol.
    if (refilled) DrainMessages();
}

void DecodingStage::Write(const uint8_t* buffer, uint16_t count, uint16_t* actual) {
    if (InstallState.ContinueFlag == 0) {
        *actual = 0;
        return;
    }
    if (count == 0) {
        WriteStaged();
        return;
    }
    // The decoder hands over one byte at a time; larger counts are staged a block at most at a
    // time so that the output WorkBuffer cannot overflow.
    uint16_t taken = 0;
    while (taken < count) {
        uint16_t piece = static_cast<uint16_t>(std::min<int32_t>(count - taken, kStagingBlockSize));
        if (outputPos_ > kStagingBlockSize || outputPos_ + piece > kStagingBlockSize + 1) {
            writtenTotal_ += static_cast<int32_t>(WriteStaged());
            outputPos_ = 1;
            ReportProgress();
        }
        std::memcpy(InstallState.WorkBuffer[1] + (outputPos_ - 1), buffer + taken, piece);
        outputPos_ = static_cast<uint16_t>(outputPos_ + piece);
        taken = static_cast<uint16_t>(taken + piece);
    }
    *actual = count;
}

void ArchiveReadProc(uint8_t* Buffer, uint16_t Count, uint16_t* Actual) {
    aliveStage->Read(Buffer, Count, Actual);
}

void ImageWriteProc(const uint8_t* Buffer, uint16_t Count, uint16_t* Actual) {
    aliveStage->Write(Buffer, Count, Actual);
}

bool DecodeArchive(const DiskSetNumbers& diskSet) {
    // Declared in this order so that an error unwinding through here closes the archive, then
    // the image; on the normal road both are closed already.
    File image;
    if (!OpenImageForDecoding(image)) {
        InstallState.ContinueFlag = 0;
        return false;
    }
    InstallState.TemporaryImageOpened = true;

    // Splitting an image that nothing was decoded into would install empty files.
    File archive = File::Open(ArchivePath(), GENERIC_READ, 0, OPEN_EXISTING);
    DecodingStage stage(archive, image);
    LzhDecode(InstallState.UnpackedSize, ArchiveReadProc, ImageWriteProc,
              InstallState.ContinueFlag);
    if (InstallState.ContinueFlag == 1) {
        uint16_t actual = 0;
        ImageWriteProc(InstallState.WorkBuffer[1], 0, &actual);
    }

    // Deleted whether decoding finished or was cancelled.
    archive.Close();
    DeleteFileA(ArchivePath().c_str());
    image.Close();
    if (InstallState.ContinueFlag == 0) return false;
    if (diskSet.Stamped() && stage.ImageCrc() != diskSet.ImageCrc) {
        // Not one file of a damaged image is installed, the main program included.
        DeleteFileA(TemporaryImagePath().c_str());
        throw ImageError(
            "The product's files did not unpack correctly from the disks, so none of them was "
            "installed. Please run the setup program again");
    }
    return true;
}

}  // namespace tidemark
