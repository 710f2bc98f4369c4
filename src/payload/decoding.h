// The decoding stage of the unpacking page: the combined archive decoded into the unpacked image
// (under its temporary name) through the decoder's two byte callbacks, then the archive deleted.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "core/disk_set_block.h"
#include "runtime/file.h"

namespace tidemark {

// Every archive read and every image write is one block of this size.
constexpr int32_t kStagingBlockSize = 2048;

// The size of each of InstallState's two WorkBuffers. Neither side ever holds more than one
// block: the input side a block read, the output side a block staged before it is written (the
// decoder hands over one byte per call). The 16 bytes beyond it are a margin nothing relies on.
constexpr size_t kWorkBufferSize = kStagingBlockSize + 16;

// The image's temporary name in the destination folder: it takes the main program's name only
// when it is complete, so a stop, an error or a kill leaves an earlier installation's main
// program.
std::string TemporaryImagePath();

// The staging of one decoding: where the callbacks stand in the two WorkBuffers, and what has
// been written. The decoder's callbacks carry no context pointer, so they reach the one stage
// alive (a local of DecodeArchive, or of a test) through a pointer in decoding.cpp; the stage
// binds itself there for its lifetime. The files stay their owner's.
class DecodingStage {
public:
    DecodingStage(File& archive, File& image);
    ~DecodingStage();
    DecodingStage(const DecodingStage&) = delete;
    DecodingStage& operator=(const DecodingStage&) = delete;

    int32_t WrittenTotal() const { return writtenTotal_; }
    uint32_t ImageCrc() const { return imageCrc_; }

    // The bodies of ArchiveReadProc and ImageWriteProc.
    void Read(uint8_t* buffer, uint16_t count, uint16_t* actual);
    void Write(const uint8_t* buffer, uint16_t count, uint16_t* actual);

private:
    uint32_t WriteStaged();
    void ReportProgress() const;

    File& archive_;
    File& image_;
    DecodingStage* outer_;
    uint16_t inputPos_ = 1;     // 1-based, next byte of the input WorkBuffer to hand out
    int32_t inputFill_ = 0;     // bytes the last archive read put into the input WorkBuffer
    int32_t readsPastEnd_ = 0;  // bytes asked for after the archive's end
    uint16_t outputPos_ = 1;    // 1-based, where the next byte goes in the output WorkBuffer
    int32_t writtenTotal_ = 0;  // image bytes written in full blocks
    uint32_t imageCrc_ = 0;     // CRC-32 of every image byte written
};

// The decoder's byte source, for the stage alive: hands out the archive one byte per call
// through the input WorkBuffer, refilled a block at a time; the message queue is drained at each
// refill, so that Cancel is answered while decoding. Nothing is handed out once ContinueFlag is
// 0 or the archive has ended. A failed read raises IoError, and so does an archive that ends
// before the decoder is done with it (100): more bytes asked for past its end than a sound
// stream needs.
void ArchiveReadProc(uint8_t* Buffer, uint16_t Count, uint16_t* Actual);

// The decoder's byte sink, for the stage alive: stages bytes in the output WorkBuffer and writes
// full blocks to the image, drawing the meter after each; Count 0 writes out what is staged.
// Drops everything once ContinueFlag is 0. A failed or short write raises IoError (101 when
// short).
void ImageWriteProc(const uint8_t* Buffer, uint16_t Count, uint16_t* Actual);

// Opens the image (created, or else an existing one opened for writing), decodes the archive
// into it, deletes the archive and closes the image. Returns false, with ContinueFlag 0, when
// the image cannot be opened or the user cancelled. An archive that cannot be opened raises
// IoError. For a stamped disk set, an image whose CRC-32 is not the stamped one is deleted and
// raises ImageError, so that nothing is split out of it.
bool DecodeArchive(const DiskSetNumbers& diskSet);

}  // namespace tidemark
