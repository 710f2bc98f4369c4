#include "dialogs/page_commands.h"

#include "dialogs/dialog.h"

namespace tidemark {

void ExitPageIfConfirmed(HWND page) {
    if (ConfirmExit()) EndDialog(page, 0);
}

std::string FieldText(HWND page, int field) {
    constexpr int kFieldCapacity = 255;  // including the terminating zero
    char text[kFieldCapacity] = {};
    SendDlgItemMessageA(page, field, WM_GETTEXT, kFieldCapacity, reinterpret_cast<LPARAM>(text));
    return text;
}

void AcceptPage(HWND page) { EndDialog(page, 1); }

void LeavePage(HWND page) { EndDialog(page, 0); }

INT_PTR DispatchPage(HWND page, UINT message, WPARAM wParam, const PageHandlers& handlers) {
    switch (message) {
        case WM_INITDIALOG:
            handlers.Start(page);
            break;
        case WM_COMMAND:
        case WM_SYSCOMMAND:
            switch (CommandOf(wParam)) {
                case IDOK:
                    handlers.Ok(page);
                    break;
                case IDCANCEL:
                    handlers.Cancel(page);
                    break;
            }
            break;
        case WM_DESTROY:
            EndDialog(page, 0);
            break;
    }
    return FALSE;
}

}  // namespace tidemark
