// The one process-wide record of a setup run, read and written directly by the steps.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "core/trailer.h"

namespace tidemark {

constexpr size_t kWorkBufferSize = 2064;

struct InstallStateRecord {
    std::string SourceFolder;           // own folder, with its trailing backslash
    std::string DestinationFolder;      // set by the destination page
    std::string WindowsFolder;          // at most 255 characters
    std::string GroupName;              // DefaultGroupName until the group page
    volatile int32_t ContinueFlag = 0;  // 1 = go on, 0 = stop; cleared re-entrantly by Cancel
    bool Cancelled = false;
    FileTable Table;  // the FileTable: built by the copying page, released by unpacking
    int32_t UnpackedSize = 0;
    int32_t ScreenWidth = 0;
    int32_t ScreenHeight = 0;
    HWND BackdropWindow = nullptr;
    HBITMAP LogoBitmap = nullptr;
    uint8_t* WorkBuffer[2] = {nullptr, nullptr};  // input side, output side

    // What this run created or replaced, so that the clean-up of a stopped run never deletes
    // an earlier installation's files: set by the copying page when it creates the combined
    // archive and by the unpacking page when it creates or opens the unpacked image (under its
    // temporary name).
    bool CombinedArchiveWritten = false;
    bool MainProgramWritten = false;

    // The product files that are not in their place, one line each for the closing prompt.
    std::vector<std::string> FilesNotInstalled;
    // The closing prompt's line for a Start-menu shortcut that the shortcut step could not make.
    std::string ShortcutNotMade;
};

extern InstallStateRecord InstallState;

}  // namespace tidemark
