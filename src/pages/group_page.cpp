// The program group page (template GROUP): the name of the shortcut. Leaving it never stops the
// run; its result only decides whether the shortcut is made. Cancel leaves it without a question.
#include "pages/dialog.h"
#include "pages/page_commands.h"
#include "setup/install_state.h"
#include "setup/steps.h"

namespace tidemark {

namespace {

constexpr int kNameField = 102;

void StartPage(HWND page) {
    SetWindowTextA(page, "Program Group");
    CentreOnScreen(page);
    SendDlgItemMessageA(page, kNameField, WM_SETTEXT, 0,
                        reinterpret_cast<LPARAM>(InstallState.GroupName.c_str()));
    SetFocus(GetDlgItem(page, IDOK));
}

// Taken exactly as typed: not trimmed, tested or refused, and it may be empty.
void AcceptName(HWND page) {
    InstallState.GroupName = FieldText(page, kNameField);
    EndDialog(page, 1);
}

}  // namespace

INT_PTR CALLBACK GroupPageProc(HWND page, UINT message, WPARAM wParam, LPARAM) {
    static const PageHandlers kHandlers = {StartPage, AcceptName, LeavePage};
    return DispatchPage(page, message, wParam, kHandlers);
}

}  // namespace tidemark
