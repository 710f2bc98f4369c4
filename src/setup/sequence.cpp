#include "setup/sequence.h"

#include <windows.h>

#include <string>
#include <vector>

#include "core/page_table.h"
#include "core/path.h"
#include "core/placement_texts.h"
#include "core/profile.h"
#include "dialogs/dialog.h"
#include "pages/pages.h"
#include "payload/copying_page.h"
#include "payload/splitting.h"
#include "payload/unpacking_page.h"
#include "runtime/file.h"
#include "runtime/install_state.h"
#include "setup/backdrop.h"
#include "setup/start_up.h"
#include "system/launch.h"
#include "system/shortcut.h"
#include "system/uninstall.h"

namespace tidemark {

namespace {

DLGPROC ProcedureOf(PageStep step) {
    switch (step) {
        case PageStep::kDestination:
            return DestinationPageProc;
        case PageStep::kLicence:
            return LicencePageProc;
        case PageStep::kCopying:
            return CopyingPageProc;
        case PageStep::kUnpacking:
            return UnpackingPageProc;
        case PageStep::kGroup:
            return GroupPageProc;
    }
    return nullptr;
}

bool RunTablePage(const PageEntry& page, intptr_t* result) {
    INT_PTR value = 0;
    if (!RunPage(page.templateName, ProcedureOf(page.step), &value)) return false;
    *result = value;
    return true;
}

// Yes starts the installed program; the prompt has no owner. It claims success only when every
// product file is in its place and the shortcut asked for was made, and otherwise says what is
// missing.
void ClosingPrompt() {
    const std::vector<std::string>& missed = InstallState.FilesNotInstalled;
    const std::string& noShortcut = InstallState.ShortcutNotMade;
    std::string text = ClosingPromptText(ProductProfile.SuccessText, ProductProfile.ProductName,
                                         missed, noShortcut);
    UINT style = MB_YESNO | (missed.empty() && noShortcut.empty() ? 0 : MB_ICONEXCLAMATION);
    if (MessageBoxA(nullptr, text.c_str(), ProductProfile.ProductName, style) == IDYES) {
        LaunchProduct();
    }
}

void DeleteIfPresent(const std::string& name) {
    std::string path = JoinPath(InstallState.DestinationFolder, name);
    if (FileExists(path)) DeleteFileA(path.c_str());  // a failure is not reported
}

// Removes only what this run created or replaced: an earlier installation's files, or files
// beside the setup program before the destination was chosen, stay. The main program is
// replaced only as the unpacking page's last step, so a stopped run has only its temporary
// image to remove.
void CleanUpStoppedRun() {
    if (InstallState.CombinedArchiveWritten) DeleteIfPresent(ProductProfile.CombinedArchiveFile);
    if (InstallState.TemporaryImageOpened) {
        RemoveTemporaryFiles(InstallState.DestinationFolder, InstallState.WindowsFolder);
    }
    MessageBoxA(InstallState.BackdropWindow, ProductProfile.TerminatedText,
                ProductProfile.ProductName, MB_OK);
}

}  // namespace

void RunSetupSequence() {
    StartUp();
    PageTableOutcome outcome = RunPageTable(RunTablePage);
    bool stopped = false;
    switch (outcome.end) {
        case RunEnd::kNeverBegan:
            break;
        case RunEnd::kStopped:
            stopped = true;
            break;
        case RunEnd::kCompleted:
            if (outcome.createShortcut) CreateShortcut();
            RegisterUninstall();
            ClosingPrompt();
            break;
    }
    if (stopped) CleanUpStoppedRun();
    // The backdrop is left to go with the process.
    ReleaseWorkBuffers();
}

}  // namespace tidemark
