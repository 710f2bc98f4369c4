// The copying page (IPROGRESS): joins the payload volumes from the distribution disks into the
// combined archive in the destination folder. CopyingPageProc itself is declared with the other
// steps; the pieces of its work are here so that they can be run without the dialog.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "payload/disk_set_block.h"
#include "runtime/file.h"

namespace tidemark {

constexpr uint32_t kCopyBlockSize = 2048;

// Copies one open volume to the archive in 2048-byte blocks while ContinueFlag is set, adding to
// bytesCopied, drawing the meter by the rule for this volume (1 to 4) against expectedSize, and
// draining the message queue after every block.
void CopyVolume(File& volume, File& archive, int32_t& bytesCopied, int volumeNumber,
                int32_t expectedSize);

// Asks for the disk that holds `path` until the file exists or the user cancels (ContinueFlag
// then 0). No prompt when the file is already there. The prompts are owned by the page.
void WaitForDisk(HWND page, int volumeNumber, const std::string& path);

// Volume 1 from the source folder, then volumes 2 to min(DiskCount, 4) as their disks come,
// into a newly created combined archive in the destination folder, the meter running against
// ExpectedArchiveSize; the archive is closed whether complete or not.
void GatherVolumes(HWND page, const DiskSetNumbers& diskSet);

}  // namespace tidemark
