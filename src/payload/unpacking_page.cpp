#include "payload/unpacking_page.h"

#include <string>

#include "core/profile.h"
#include "payload/decoding.h"
#include "payload/progress_page.h"
#include "payload/splitting.h"
#include "runtime/install_state.h"

namespace tidemark {

namespace {

// The question's owner is the page, handed through the question's context.
bool AskRetry(void* page, const std::string& question) {
    return MessageBoxA(static_cast<HWND>(page), question.c_str(), ProductProfile.ProductName,
                       MB_RETRYCANCEL | MB_ICONEXCLAMATION) == IDRETRY;
}

void UnpackingWork(HWND page) {
    const std::string& destination = InstallState.DestinationFolder;
    RemoveTemporaryFiles(destination, InstallState.WindowsFolder);  // an earlier run's
    try {
        // A stopped run's image is removed by the clean-up that follows.
        if (!DecodeArchive(ProductProfile.DiskSet)) return;
        InstallState.FilesNotInstalled =
            SplitImage(TemporaryImagePath(), InstallState.Table, destination,
                       InstallState.WindowsFolder, RetryQuestion{AskRetry, page});
    } catch (...) {
        // The error ends the program without the clean-up: no stray image is left behind.
        DeleteFileA(TemporaryImagePath().c_str());
        throw;
    }
}

}  // namespace

INT_PTR CALLBACK UnpackingPageProc(HWND page, UINT message, WPARAM wParam, LPARAM) {
    return ProgressPageProc(page, message, wParam, UnpackingWork);
}

}  // namespace tidemark
