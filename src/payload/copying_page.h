// The copying page (IPROGRESS): joins the payload volumes from the distribution disks into the
// combined archive in the destination folder. The pieces of its work are here too, so that they
// can be run without the dialog.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "core/disk_set_block.h"
#include "runtime/file.h"

namespace tidemark {

constexpr uint32_t kCopyBlockSize = 2048;

// The page's dialog procedure ("IProgress"), run by the sequence.
INT_PTR CALLBACK CopyingPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);

// Copies one open volume to the archive in 2048-byte blocks while ContinueFlag is set, adding to
// bytesCopied, drawing the meter by the rule for this volume (1 to 4) against expectedSize, and
// draining the message queue after every block. Returns the CRC-32 of the bytes copied.
uint32_t CopyVolume(File& volume, File& archive, int32_t& bytesCopied, int volumeNumber,
                    int32_t expectedSize);

// Asks for the disk that holds `path` until the file exists or the user cancels (ContinueFlag
// then 0). No prompt when the file is already there, unless askFirst (after a bad copy of that
// disk, whose file is still there): then the first prompt is always shown and its Cancel stops.
// The prompts are owned by the page.
void WaitForDisk(HWND page, int volumeNumber, const std::string& path, bool askFirst);

// Copies the open volume n onto the end of the archive and closes it; when the disk set is
// stamped, checks it: its length before the copy, its CRC-32 after. A bad volume is cut off the
// archive again, the meter put back, and the user told which disk could not be read; returns
// false then.
bool CopyCheckedVolume(HWND page, int n, const DiskSetNumbers& diskSet, File& volume, File& archive,
                       int32_t& bytesCopied);

// Volume 1 from the source folder, then volumes 2 to min(DiskCount, 4) as their disks come,
// into a newly created combined archive in the destination folder, the meter running against
// ExpectedArchiveSize. A bad volume is asked for again (volume 1 too) until a good copy comes or
// the user cancels. The archive is closed whether complete or not.
void GatherVolumes(HWND page, const DiskSetNumbers& diskSet);

}  // namespace tidemark
