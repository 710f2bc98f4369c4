#include "dialogs/dialog.h"

#include <exception>
#include <string>

#include "core/centring.h"
#include "core/profile.h"
#include "runtime/install_state.h"

namespace tidemark {

namespace {

// The page RunPage runs, and the error it raised. File-wide because the guard below is called by
// the system with nothing of RunPage's (messages before WM_INITDIALOG carry no parameter), and
// the error has to cross DialogBoxParamA to be raised again by RunPage.
struct RunningPage {
    DLGPROC procedure = nullptr;
    std::exception_ptr pendingError;
} running;

// An error raised inside a page, of whatever kind, must not unwind through the system's dialog
// code, which the 32-bit build's unwinder cannot cross (it would end the program without the
// error report). The page is ended instead, and RunPage raises the error again once the dialog
// has returned. An error raised in a message dispatched from inside a progress page's work also
// stops that work, which would otherwise run on to its end before the dialog could return.
INT_PTR CALLBACK GuardedPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    try {
        return running.procedure(page, message, wParam, lParam);
    } catch (...) {
        if (!running.pendingError) running.pendingError = std::current_exception();
        InstallState.ContinueFlag = 0;
        EndDialog(page, 0);
        return FALSE;
    }
}

}  // namespace

void CentreOnScreen(HWND dialog) {
    RECT frame;
    GetWindowRect(dialog, &frame);
    DialogOrigin origin = CentredOrigin(InstallState.ScreenWidth, InstallState.ScreenHeight,
                                        frame.right - frame.left, frame.bottom - frame.top);
    SetWindowPos(dialog, HWND_TOP, origin.x, origin.y, 0, 0, SWP_NOSIZE);
}

bool ConfirmExit() {
    std::string caption = std::string("Exit ") + ProductProfile.ProductName;
    return MessageBoxA(nullptr, ProductProfile.ConfirmExitText, caption.c_str(), MB_YESNO) == IDYES;
}

bool RunPage(const char* name, DLGPROC procedure, INT_PTR* result) {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    HRSRC found = FindResourceA(instance, name, MAKEINTRESOURCEA(5));  // RT_DIALOG
    if (found == nullptr) return false;
    HGLOBAL loaded = LoadResource(instance, found);
    if (loaded == nullptr) return false;

    DLGPROC outerProcedure = running.procedure;
    running.procedure = procedure;
    *result = DialogBoxParamA(instance, name, InstallState.BackdropWindow, GuardedPageProc, 0);
    running.procedure = outerProcedure;
    FreeResource(loaded);

    if (running.pendingError) {
        std::exception_ptr error = running.pendingError;
        running.pendingError = nullptr;
        std::rethrow_exception(error);
    }
    return true;
}

}  // namespace tidemark
