// The destination page (template MAIN): proposes a folder, checks the entry, prepares the folder.
#include <algorithm>
#include <cstring>
#include <string>

#include "core/destination_rules.h"
#include "core/error.h"
#include "core/path.h"
#include "core/profile.h"
#include "core/space_rules.h"
#include "core/split_rules.h"
#include "dialogs/dialog.h"
#include "dialogs/page_commands.h"
#include "pages/pages.h"
#include "payload/read_file_table.h"
#include "runtime/file.h"
#include "runtime/folders.h"
#include "runtime/install_state.h"
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

// The table on the setup program's own file. One that cannot be read here is reported by the
// copying page; until then the checks that need it assume the worst or let the entry pass.
bool ReadOwnTable(PayloadTrailer* trailer) {
    try {
        *trailer = ReadFileTable(ModuleFileName());
        return true;
    } catch (const Error&) {
        return false;
    }
}

// The longest name the run writes into the destination: the product's files, the archive, the
// main program and its temporary names. Without a table, the longest name a table can hold.
size_t LongestProductName(const PayloadTrailer* trailer) {
    const char* main = ProductProfile.MainProgramFile;
    size_t longest = trailer ? 0 : kMaxNameLength;
    if (trailer) {
        for (const FileTableEntry& entry : trailer->Table)
            longest = std::max(longest, entry.Name.size());
    }
    return std::max({longest, std::strlen(main), std::strlen(ProductProfile.CombinedArchiveFile),
                     TemporaryImageName(main).size(), TemporarySplitName(main).size()});
}

// What the run finds in the folder and replaces or removes: an earlier installation's files and
// an earlier run's archive and temporary files.
DestinationContents ContentsOf(const std::string& folder, const FileTable& table) {
    DestinationContents contents;
    contents.EntrySizes = std::vector<int64_t>(table.size());
    for (size_t i = 0; i < table.size(); ++i)
        contents.EntrySizes[i] = FileSizeOf(JoinPath(folder, table[i].Name));
    auto sizeOf = [&folder](const std::string& name) {
        return std::max<int64_t>(0, FileSizeOf(JoinPath(folder, name)));
    };
    const char* main = ProductProfile.MainProgramFile;
    contents.OldArchive = sizeOf(ProductProfile.CombinedArchiveFile);
    contents.OldTemporary = sizeOf(TemporaryImageName(main)) + sizeOf(TemporarySplitName(main));
    return contents;
}

// A folder on a drive without room for the run at its fullest is refused with a message that
// names the drive and both sizes. A drive whose free space cannot be learnt is let through: a
// full disk is still reported, and explained, if the run comes to it.
bool HasRoomFor(HWND page, const std::string& folder, const PayloadTrailer& trailer) {
    uint64_t free = 0;
    uint32_t clusterSize = 0;
    if (!FreeSpaceOf(folder, &free, &clusterSize)) return true;
    uint64_t needed = PeakSpaceNeeded(ProductProfile.DiskSet.ExpectedArchiveSize, trailer,
                                      ContentsOf(folder, trailer.Table), clusterSize);
    if (needed <= free) return true;
    const char* product = ProductProfile.ProductName;
    std::string text = NotEnoughSpaceText(product, VolumeName(VolumeRootOf(folder)), needed, free);
    MessageBoxA(page, text.c_str(), product, MB_OK | MB_ICONEXCLAMATION);
    return false;
}

// A refused entry changes nothing visible (no message, no sound) unless its drive lacks room,
// which a message explains; the entry stays as typed, and nothing is created for it.
void AcceptEntry(HWND page) {
    std::string entry = FieldText(page, kFolderField);
    InstallState.DestinationFolder = entry;
    if (!PassesFormCheck(entry)) return;
    // Stored as the full path it names, since the current folder changes as the run goes on.
    std::string folder = ResolveDriveRelativeEntry(entry);
    PayloadTrailer trailer;
    bool haveTable = ReadOwnTable(&trailer);
    if (!FolderHoldsNames(folder, LongestProductName(haveTable ? &trailer : nullptr))) return;
    char source = DriveLetterOf(InstallState.SourceFolder);
    if (OnChangeableSourceDrive(folder, InstallState.SourceFolder, DriveIsChangeable(source)))
        return;
    if (haveTable && !HasRoomFor(page, folder, trailer)) return;
    if (!CreateFolderIfAbsent(folder)) return;
    InstallState.DestinationFolder = folder;
    // Every later step writes into the folder: an entry the tests above let through without it
    // being a folder (wildcards, a drive letter with no volume) would only fail later with an
    // uncaught error.
    if (!HasDirectoryAttribute(folder)) return;
    EndDialog(page, 1);
}

}  // namespace

INT_PTR CALLBACK DestinationPageProc(HWND page, UINT message, WPARAM wParam, LPARAM) {
    static const PageHandlers kHandlers = {StartPage, AcceptEntry, ExitPageIfConfirmed};
    return DispatchPage(page, message, wParam, kHandlers);
}

}  // namespace tidemark
