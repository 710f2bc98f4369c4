// The registry accessor, the shortcut and the pages' error road, on the system itself.
#include <gtest/gtest.h>
#include <shlobj.h>

#include "dialogs/dialog.h"
#include "runtime/install_state.h"
#include "system/registry.h"
#include "system/shortcut.h"
#include "win_fixtures.h"

using namespace tidemark;

namespace {

// The bytes stored for a value exactly as the registry keeps them, "<none>" without one.
std::string Stored(const std::string& path, const char* name, DWORD* type = nullptr) {
    char data[MAX_PATH];
    DWORD size = sizeof data;
    LONG status = RegGetValueA(HKEY_CURRENT_USER, path.c_str(), name, RRF_RT_ANY | RRF_NOEXPAND,
                               type, data, &size);
    return status == ERROR_SUCCESS ? std::string(data, size) : "<none>";
}

void Store(const std::string& path, const char* name, DWORD type, const std::string& bytes) {
    ASSERT_EQ(RegSetKeyValueA(HKEY_CURRENT_USER, path.c_str(), name, type, bytes.data(),
                              DWORD(bytes.size())),
              ERROR_SUCCESS);
}

INT_PTR CALLBACK FailingPageProc(HWND, UINT message, WPARAM, LPARAM) {
    if (message == WM_INITDIALOG) std::vector<int>().at(1);
    return FALSE;
}

}  // namespace

// Text goes in with its terminator over a value of any type, and comes back however it was
// stored (where a zero cuts it is tested natively); reading never creates a section. Each
// failure of the registry raises a RegistryError with its message, and the accessor stays usable.
// Paths from the current key or the root, and other roots, are used end to end (the uninstall
// entry, the proposed destination).
TEST(Registry, TextIsWrittenAndReadAsStoredAndFailuresRaise) {
    const std::string base = "Software\\TidemarkTests", section = base + "\\Section";
    RegDeleteTreeA(HKEY_CURRENT_USER, base.c_str());
    Store(section, "Name", REG_DWORD, std::string(4, '\1'));
    Store(section, "Number", REG_DWORD, std::string(4, '\1'));
    Store(section, "Unterminated", REG_SZ, "C:\\Tools");
    Store(section, "Expand", REG_EXPAND_SZ, std::string("%SystemRoot%\\Help\0", 19));
    Store(section, "NoBytes", REG_BINARY, "");
    HKEY key = nullptr;  // a lasting key cannot be created below a volatile one
    RegCreateKeyExA(HKEY_CURRENT_USER, (base + "\\Volatile").c_str(), 0, nullptr,
                    REG_OPTION_VOLATILE, KEY_ALL_ACCESS, nullptr, &key, nullptr);
    RegCloseKey(key);
    RegistryAccessor registry(base);
    registry.WriteText("Section", "Name", "C:\\Program Files\\FileTidemark");
    registry.WriteText("Deep\\Section", "Empty", "");
    DWORD type = 0;
    EXPECT_EQ(Stored(section, "Name", &type), std::string("C:\\Program Files\\FileTidemark", 30));
    EXPECT_EQ(type, DWORD(REG_SZ));
    EXPECT_EQ(Stored(base + "\\Deep\\Section", "Empty"), std::string(1, '\0'));
    EXPECT_EQ(registry.ReadText("Section", "Unterminated", ""), "C:\\Tools");
    EXPECT_EQ(registry.ReadText("Section", "Expand", ""), "%SystemRoot%\\Help");
    EXPECT_EQ(registry.ReadText("Section", "NoBytes", "default"), "");
    EXPECT_EQ(registry.ReadText("Section", "Missing", "default"), "default");
    EXPECT_EQ(registry.ReadText("Missing", "Name", "default"), "default");
    EXPECT_NE(RegOpenKeyExA(HKEY_CURRENT_USER, (base + "\\Missing").c_str(), 0, KEY_READ, &key),
              ERROR_SUCCESS);

    auto raised = [](const std::function<void()>& action) {
        try {
            action();
        } catch (const RegistryError& error) {
            return error.Message();
        }
        return std::string();
    };
    std::string longName(20000, 'v');  // longer than any value name the registry accepts
    EXPECT_EQ(raised([&] { registry.ReadText("Section", "Number", ""); }),
              "Invalid data type for 'Number'");
    EXPECT_EQ(raised([&] { registry.WriteText("Volatile\\Section", "Name", "x"); }),
              "Failed to create key Volatile\\Section");
    EXPECT_EQ(raised([&] { registry.WriteText("Section", longName, "x"); }),
              "Failed to set data for '" + longName + "'");
    registry.WriteText("Section", "Text", "after");
    EXPECT_EQ(registry.ReadText("Section", "Text", ""), "after");
    RegDeleteTreeA(HKEY_CURRENT_USER, base.c_str());
}

// The link goes straight into the Programs folder that the shell records and starts the main
// program in the destination. A link path over 254 characters is not saved at all, neither whole
// nor cut to a name that would belong to another file, and it is named for the closing prompt.
TEST(Shortcut, LinkIsWrittenIntoTheProgramsFolderUnlessItsPathIsTooLong) {
    win_test::ScratchFolder root("link");
    const std::string key = std::string(kExplorerKeyPath) + "\\Shell Folders";
    DWORD type = REG_SZ;
    std::string saved = Stored(key, "programs", &type);
    // Room for exactly 254 characters with "\FileTidemark.LNK"; one more is too many.
    std::string programs = root.MakeFolder(std::string(254 - root.Path.size() - 18, 'p'));
    Store(key, "programs", REG_SZ, programs + '\0');
    InstallState.DestinationFolder = root.MakeFolder("Product");
    SetCurrentDirectoryA(root.Path.c_str());  // where a relative, cut name would land
    for (const char* group : {"FileTidemark", "FileTidemark2"}) {
        InstallState.GroupName = group;
        CreateShortcut();
    }
    SetCurrentDirectoryA("C:\\");
    if (saved != "<none>") Store(key, "programs", type, saved);
    if (saved == "<none>") RegDeleteKeyValueA(HKEY_CURRENT_USER, key.c_str(), "programs");

    IShellLinkA* link = nullptr;
    IPersistFile* file = nullptr;
    ASSERT_EQ(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                               reinterpret_cast<void**>(&link)),
              S_OK);
    link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file));
    std::string path = programs + "\\FileTidemark.LNK";
    ASSERT_EQ(file->Load(std::wstring(path.begin(), path.end()).c_str(), STGM_READ), S_OK);
    char target[MAX_PATH] = {}, folder[MAX_PATH] = {};
    link->GetPath(target, MAX_PATH, nullptr, SLGP_RAWPATH);
    link->GetWorkingDirectory(folder, MAX_PATH);
    file->Release();
    link->Release();
    EXPECT_STRCASEEQ(target, (root / "Product\\Tidemark.Exe").c_str());
    EXPECT_STRCASEEQ(folder, (root / "Product").c_str());
    EXPECT_EQ(InstallState.ShortcutNotMade,
              "The Start-menu shortcut " + programs +
                  "\\FileTidemark2.LNK: not made, the path is longer than Windows allows.");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(programs), {}), 1);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(root.Path), {}), 2);
}

// Any exception raised in a page, not only the program's own errors, comes back out of RunPage
// (rather than through the system's dialog code) and stops work running beneath the page. A run
// cannot raise one on purpose.
TEST(RunPage, AnExceptionInAPageEndsItAndIsRaisedAgain) {
    InstallState.ContinueFlag = 1;
    INT_PTR result = 42;
    EXPECT_THROW(RunPage("Group", FailingPageProc, &result), InternalError);
    EXPECT_EQ(InstallState.ContinueFlag, 0);
}

// The language library's own failures are reported as InternalError with the library's text,
// numbers filled in.
TEST(LibraryErrors, AreReportedWithTheLibrarysText) {
    const std::pair<void (*)(), const char*> cases[] = {
        {[] { std::string("abc").substr(4); },
         "InternalError basic_string::substr: __pos (which is 4) > this->size() (which is 3)"},
        {[] { std::vector<int>(2).at(2); },
         "InternalError vector::_M_range_check: __n (which is 2) >= this->size() (which is 2)"},
        {[] { std::vector<int>().reserve(std::vector<int>().max_size() + 1); },
         "InternalError vector::reserve"},
    };
    static std::string shown;  // each case expects another text: one that raises nothing fails
    for (const auto& [action, expected] : cases) {
        try {
            action();
        } catch (...) {
            ShowCaughtError([](const Error& e) { shown = e.ClassName() + (" " + e.Message()); });
        }
        EXPECT_EQ(shown, expected);
    }
}
