// The destination page (template MAIN): proposes a folder, checks the entry, prepares the folder.
#include <algorithm>
#include <cstring>
#include <string>

#include "pages/destination_rules.h"
#include "pages/dialog.h"
#include "pages/folders.h"
#include "pages/page_commands.h"
#include "payload/read_file_table.h"
#include "payload/split_rules.h"
#include "runtime/error.h"
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
// joined with the product's name. A value of another type than text counts as absent: one bad
// value left by the product would otherwise stop every later installation.
std::string ProposeDestination() {
    std::string remembered;
    {
        RegistryAccessor registry(kVendorKey);
        remembered = registry.ReadTextOrDefault(ProductProfile.ProductName, "RegDir", "");
    }
    if (!remembered.empty()) return remembered;

    std::string programs;
    {
        RegistryAccessor registry(kVendorKey);
        registry.SelectRoot(HKEY_LOCAL_MACHINE);
        registry.EnterKey("software\\microsoft\\windows", false);
        programs =
            registry.ReadTextOrDefault("CurrentVersion", "ProgramFilesDir", "C:\\Program Files");
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

// The longest name the run writes into the destination: the product's files (from the table on
// the setup program's own file), the archive, the main program and its temporary names. A table
// that cannot be read here is reported by the copying page; until then the longest name a table
// can hold stands for it.
size_t LongestProductName() {
    const char* main = ProductProfile.MainProgramFile;
    size_t longest = kMaxNameLength;
    try {
        FileTable table = ReadFileTable(ModuleFileName()).Table;
        longest = 0;
        for (const FileTableEntry& entry : table) longest = std::max(longest, entry.Name.size());
    } catch (const Error&) {
    }
    return std::max({longest, std::strlen(main), std::strlen(ProductProfile.CombinedArchiveFile),
                     TemporaryImageName(main).size(), TemporarySplitName(main).size()});
}

// A refused entry changes nothing visible: no message, no sound, the entry stays as typed, and
// nothing is created for it.
void AcceptEntry(HWND page) {
    std::string entry = FieldText(page, kFolderField);
    InstallState.DestinationFolder = entry;
    if (!PassesFormCheck(entry)) return;
    // Stored as the full path it names, since the current folder changes as the run goes on.
    std::string folder = FullPathOf(entry);
    if (!FolderHoldsNames(folder, LongestProductName())) return;
    char source = DriveLetterOf(InstallState.SourceFolder);
    if (OnChangeableSourceDrive(folder, InstallState.SourceFolder, DriveIsChangeable(source)))
        return;
    if (!PrepareFolder(folder)) return;
    // Every later step writes into the folder: an entry the tests above let through without it
    // being a folder (wildcards, a drive letter with no volume) would only fail later with an
    // uncaught error.
    if (!NamesExistingFolder(folder)) return;
    EndDialog(page, 1);
}

}  // namespace

INT_PTR CALLBACK DestinationPageProc(HWND page, UINT message, WPARAM wParam, LPARAM) {
    static const PageHandlers kHandlers = {StartPage, AcceptEntry, ExitPageIfConfirmed};
    return DispatchPage(page, message, wParam, kHandlers);
}

}  // namespace tidemark
