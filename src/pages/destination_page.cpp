// The destination page (template MAIN): proposes a folder, checks the entry, prepares the folder.
#include <string>

#include "pages/destination_rules.h"
#include "pages/dialog.h"
#include "pages/folders.h"
#include "pages/page_commands.h"
#include "runtime/file.h"
#include "setup/install_state.h"
#include "setup/path.h"
#include "setup/profile.h"
#include "setup/steps.h"
#include "system/registry.h"

namespace tidemark {

namespace {

constexpr int kFolderField = 104;
const char kVendorKey[] = "Software\\Lanternfield";

// The folder remembered by an earlier installation, or else the system's folder for programs
// joined with the product's name.
std::string ProposeDestination() {
    std::string remembered;
    {
        RegistryAccessor registry(kVendorKey);
        remembered = registry.ReadText(ProductProfile.ProductName, "RegDir", "");
    }
    if (!remembered.empty()) return remembered;

    std::string programs;
    {
        RegistryAccessor registry(kVendorKey);
        registry.SelectRoot(HKEY_LOCAL_MACHINE);
        registry.EnterKey("software\\microsoft\\windows", false);
        programs = registry.ReadText("CurrentVersion", "ProgramFilesDir", "C:\\Program Files");
    }
    return JoinPath(programs, ProductProfile.ProductName);
}

void StartPage(HWND page) {
    InstallState.DestinationFolder = FolderPart(ModuleFileName());
    SetWindowTextA(page, "Destination Directory");
    std::string proposal = ProposeDestination();
    SendDlgItemMessageA(page, kFolderField, WM_SETTEXT, 0,
                        reinterpret_cast<LPARAM>(proposal.c_str()));
    CentreOnScreen(page);
    SetFocus(GetDlgItem(page, kFolderField));
}

// A refused entry changes nothing visible: no message, no sound, the entry stays as typed.
void AcceptEntry(HWND page) {
    std::string entry = FieldText(page, kFolderField);
    InstallState.DestinationFolder = entry;
    if (!PassesFormCheck(entry) || !PrepareFolder(entry)) return;
    // Every later step writes into the folder: an entry the tests above let through without it
    // being a folder (wildcards, a drive letter with no volume, a drive-relative name) would
    // only fail later with an uncaught error.
    if (!NamesExistingFolder(entry)) return;
    EndDialog(page, 1);
}

}  // namespace

INT_PTR CALLBACK DestinationPageProc(HWND page, UINT message, WPARAM wParam, LPARAM) {
    static const PageHandlers kHandlers = {StartPage, AcceptEntry, ExitPageIfConfirmed};
    return DispatchPage(page, message, wParam, kHandlers);
}

}  // namespace tidemark
