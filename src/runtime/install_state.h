// The one process-wide record of a setup run, read and written directly by the steps.
//
// Where the run's state lives: what outlasts a page is here, and only here. ContinueFlag is the
// one way to stop: cleared by Cancel, by a page's destruction or by an error, tested by the work
// loops and the decoder; a progress page ends with it as its result, and the sequence keeps
// whether the run stopped in a local of its own. The rest is owned where it is used, and global
// only where a callback brings no context: the progress meter's drawing objects (meter.cpp),
// the decoder's staging (decoding.cpp, bound to a local of the decoding stage) and the page
// running with the error it raised (dialog.cpp).
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "core/trailer.h"

namespace tidemark {

struct InstallStateRecord {
    std::string SourceFolder;           // own folder, with its trailing backslash
    std::string DestinationFolder;      // set by the destination page
    std::string WindowsFolder;          // at most 255 characters
    std::string GroupName;              // DefaultGroupName until the group page
    volatile int32_t ContinueFlag = 0;  // 1 = go on, 0 = stop; cleared re-entrantly by Cancel
    FileTable Table;  // the FileTable: built by the copying page, released by unpacking
    int32_t UnpackedSize = 0;
    int32_t ScreenWidth = 0;
    int32_t ScreenHeight = 0;
    HWND BackdropWindow = nullptr;
    HBITMAP LogoBitmap = nullptr;
    uint8_t* WorkBuffer[2] = {nullptr, nullptr};  // input side, output side (kWorkBufferSize)

    // What this run created or replaced, so that the clean-up of a stopped run never deletes
    // an earlier installation's files: set by the copying page when it creates the combined
    // archive and by the decoding stage when it creates or opens the unpacked image under its
    // temporary name (the main program's own name is given only once the image is complete).
    bool CombinedArchiveWritten = false;
    bool TemporaryImageOpened = false;

    // The product files that are not in their place, one line each for the closing prompt.
    std::vector<std::string> FilesNotInstalled;
    // The closing prompt's line for a Start-menu shortcut that the shortcut step could not make.
    std::string ShortcutNotMade;
};

extern InstallStateRecord InstallState;

}  // namespace tidemark
