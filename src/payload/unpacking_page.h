// The unpacking page (PROGRESS): decodes the combined archive into the unpacked image, deletes
// the archive, and splits the image into the product's files; the stages and the decoder's
// callbacks are here too.
#pragma once

#include <windows.h>

#include <cstdint>

#include "core/disk_set_block.h"
#include "runtime/file.h"

namespace tidemark {

constexpr int32_t kStagingBlockSize = 2048;

// The page's dialog procedure ("Progress"), run by the sequence.
INT_PTR CALLBACK UnpackingPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);

// Shared by the decoding stage and the decoder's two callbacks; one instance per process.
struct UnpackingStageRecord {
    File Archive;              // the combined archive, read only, during decoding
    File Image;                // the unpacked image, for writing, during decoding
    uint16_t InputPos = 1;     // 1-based, next byte of the input WorkBuffer to hand out
    int32_t InputFill = 0;     // bytes the last archive read put into the input WorkBuffer
    int32_t ReadsPastEnd = 0;  // bytes asked for after the archive's end
    uint16_t OutputPos = 1;    // 1-based, where the next byte goes in the output WorkBuffer
    int32_t WrittenTotal = 0;  // image bytes written in full blocks; 0 at program start
    uint32_t ImageCrc = 0;     // CRC-32 of every image byte written
};

extern UnpackingStageRecord UnpackingStage;

// The decoder's byte source: hands out the archive one byte per call through the input
// WorkBuffer, refilled 2048 bytes at a time; the message queue is drained at each refill, so
// that Cancel is answered while decoding. Nothing is handed out once ContinueFlag is 0 or the
// archive has ended. A failed read raises IoError, and so does an archive that ends before the
// decoder is done with it (100): more bytes asked for past its end than a sound stream needs.
void ArchiveReadProc(uint8_t* Buffer, uint16_t Count, uint16_t* Actual);

// The decoder's byte sink: stages bytes in the output WorkBuffer and writes full 2048-byte
// blocks to the image, drawing the meter after each; Count 0 writes out what is staged. Drops
// everything once ContinueFlag is 0. A failed or short write raises IoError (101 when short).
void ImageWriteProc(const uint8_t* Buffer, uint16_t Count, uint16_t* Actual);

// The decoding stage: opens the image (created, or else an existing one opened for writing),
// decodes the archive into it, deletes the archive and closes the image. Returns false, with
// ContinueFlag 0, when the image cannot be opened or the user cancelled. An archive that
// cannot be opened raises IoError. For a stamped disk set, an image whose CRC-32 is not the
// stamped one is deleted and raises ImageError, so that nothing is split out of it.
bool DecodeArchive(const DiskSetNumbers& diskSet);

}  // namespace tidemark
