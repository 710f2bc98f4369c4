// The program group page (template GROUP): the name of the shortcut. Leaving it never stops the
// run; its result only decides whether the shortcut is made. Cancel leaves it without a question.
#include <cstdint>
#include <string>

#include "core/shortcut_rules.h"
#include "dialogs/dialog.h"
#include "dialogs/page_commands.h"
#include "pages/pages.h"
#include "runtime/install_state.h"
#include "system/shortcut.h"

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

bool IsLeadByte(uint8_t byte) { return IsDBCSLeadByte(byte) != FALSE; }

// A name that cannot be the shortcut's file in the Programs folder is refused as the destination
// page refuses an entry: nothing visible happens, the page stays open with the name as typed,
// and GroupName keeps its value. An accepted name is taken exactly as typed.
void AcceptName(HWND page) {
    std::string name = FieldText(page, kNameField);
    if (GroupNameFault(ReadProgramsFolder(), name, IsLeadByte) != nullptr) return;
    InstallState.GroupName = name;
    EndDialog(page, 1);
}

}  // namespace

INT_PTR CALLBACK GroupPageProc(HWND page, UINT message, WPARAM wParam, LPARAM) {
    static const PageHandlers kHandlers = {StartPage, AcceptName, LeavePage};
    return DispatchPage(page, message, wParam, kHandlers);
}

}  // namespace tidemark
