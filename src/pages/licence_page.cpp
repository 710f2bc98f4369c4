// The licence page (template LICENSE): the agreement in a read-only box, I Agree or Exit.
#include "core/profile.h"
#include "dialogs/dialog.h"
#include "dialogs/page_commands.h"
#include "pages/pages.h"

namespace tidemark {

namespace {

// WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_READONLY
constexpr DWORD kLicenceBoxStyle = 0x50200804;

void StartPage(HWND page) {
    RECT client;
    GetClientRect(page, &client);
    int width = client.right - client.left;
    int height = client.bottom - client.top;
    // The box has no id; it covers the template's heading and is destroyed with the page.
    CreateWindowExA(WS_EX_CLIENTEDGE, "Edit", ProductProfile.LicenceText, kLicenceBoxStyle, 10, 10,
                    width - 20, height - 90, page, nullptr, GetModuleHandleA(nullptr), nullptr);
    CentreOnScreen(page);
    SetFocus(GetDlgItem(page, IDOK));
}

}  // namespace

INT_PTR CALLBACK LicencePageProc(HWND page, UINT message, WPARAM wParam, LPARAM) {
    static const PageHandlers kHandlers = {StartPage, AcceptPage, ExitPageIfConfirmed};
    return DispatchPage(page, message, wParam, kHandlers);
}

}  // namespace tidemark
