#include "payload/progress_page.h"

#include "core/error.h"
#include "core/profile.h"
#include "core/space_rules.h"
#include "dialogs/dialog.h"
#include "payload/meter.h"
#include "runtime/install_state.h"

namespace tidemark {

namespace {

constexpr int kCancelButtonId = 2;
const char kWorkingCaption[] = "Please Stand By...";

void OnInitDialog(HWND page) {
    SetWindowTextA(page, kWorkingCaption);
    SetUpMeter(page);
    SetFocus(GetDlgItem(page, kCancelButtonId));
    PostMessageA(page, StartWorkMessage, 0, 0);
}

void OnCommand(WPARAM wParam) {
    if (CommandOf(wParam) == kCancelButtonId && ConfirmExit()) InstallState.ContinueFlag = 0;
}

void RunWork(HWND page, ProgressWork work) {
    try {
        work(page);
    } catch (IoError& error) {
        // The destination page measured the drive, but another program may have filled it
        // since: the report says which drive is full and what state the folder is left in.
        if (error.Code() == kDiskFull) {
            ExplainDiskFull(error, ProductProfile.ProductName, InstallState.DestinationFolder);
        }
        throw;
    }
    TearDownMeter(page);
    EndDialog(page, InstallState.ContinueFlag);
}

}  // namespace

INT_PTR ProgressPageProc(HWND page, UINT message, WPARAM wParam, ProgressWork work) {
    switch (message) {
        case WM_INITDIALOG:
            OnInitDialog(page);
            return 0;
        case WM_COMMAND:
        case WM_SYSCOMMAND:
            OnCommand(wParam);
            return 0;
        case WM_DESTROY:
            InstallState.ContinueFlag = 0;
            return 0;
        case StartWorkMessage:
            RunWork(page, work);
            return 1;
        default:
            return 0;
    }
}

}  // namespace tidemark
