#include "setup/sequence.h"

#include <windows.h>

#include <string>

#include "pages/dialog.h"
#include "runtime/file.h"
#include "setup/install_state.h"
#include "setup/page_table.h"
#include "setup/path.h"
#include "setup/profile.h"
#include "setup/start_up.h"
#include "setup/steps.h"

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

// Yes starts the installed program; the prompt has no owner.
void ClosingPrompt() {
    std::string text = std::string(ProductProfile.SuccessText) + ProductProfile.ProductName + "?";
    if (MessageBoxA(nullptr, text.c_str(), ProductProfile.ProductName, MB_YESNO) == IDYES) {
        LaunchProduct();
    }
}

void DeleteIfPresent(const std::string& name) {
    std::string path = JoinPath(InstallState.DestinationFolder, name);
    if (FileExists(path)) DeleteFileA(path.c_str());  // a failure is not reported
}

// Removes only what this run created or replaced: an earlier installation's files, or files
// beside the setup program before the destination was chosen, stay.
void CleanUpStoppedRun() {
    if (InstallState.CombinedArchiveWritten) DeleteIfPresent(ProductProfile.CombinedArchiveFile);
    if (InstallState.MainProgramWritten) DeleteIfPresent(ProductProfile.MainProgramFile);
    MessageBoxA(InstallState.BackdropWindow, ProductProfile.TerminatedText,
                ProductProfile.ProductName, MB_OK);
}

}  // namespace

void RunSetupSequence() {
    StartUp();
    PageTableOutcome outcome = RunPageTable(RunTablePage);
    switch (outcome.end) {
        case RunEnd::kNeverBegan:
            break;
        case RunEnd::kStopped:
            InstallState.Cancelled = true;
            break;
        case RunEnd::kCompleted:
            if (outcome.createShortcut) CreateShortcut();
            RegisterUninstall();
            ClosingPrompt();
            break;
    }
    if (InstallState.Cancelled) CleanUpStoppedRun();
    // The backdrop is left to go with the process.
    ReleaseWorkBuffers();
}

}  // namespace tidemark
