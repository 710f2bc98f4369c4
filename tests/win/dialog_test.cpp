#include "pages/dialog.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "page_driver.h"
#include "pages/centring.h"
#include "runtime/error.h"
#include "runtime/file.h"
#include "setup/install_state.h"
#include "setup/path.h"
#include "setup/profile.h"
#include "setup/steps.h"

using namespace tidemark;
using namespace page_test;

namespace {

const char kProductKey[] = "Software\\Lanternfield\\FileTidemark";
const char kWindowsKey[] = "software\\microsoft\\windows\\CurrentVersion";

void SetText(HKEY root, const char* key, const char* name, const std::string& value) {
    HKEY opened;
    ASSERT_EQ(RegCreateKeyExA(root, key, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &opened, nullptr),
              ERROR_SUCCESS);
    RegSetValueExA(opened, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>(value.size() + 1));
    RegCloseKey(opened);
}

std::string GetText(HKEY root, const char* key, const char* name) {
    char value[MAX_PATH] = {};
    DWORD size = sizeof value;
    RegGetValueA(root, key, name, RRF_RT_REG_SZ, nullptr, value, &size);
    return value;
}

// Pages run unowned here, on the real screen; everything they leave behind is removed.
class PageTest : public ::testing::Test {
protected:
    void SetUp() override {
        HWND probe = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                     nullptr, nullptr);
        ASSERT_NE(probe, nullptr) << "the page tests need a display (run them under xvfb-run)";
        DestroyWindow(probe);
        InstallState.ScreenWidth = GetSystemMetrics(SM_CXSCREEN);
        InstallState.ScreenHeight = GetSystemMetrics(SM_CYSCREEN);
        InstallState.BackdropWindow = nullptr;
        GetCurrentDirectoryA(sizeof cwd_, cwd_);
        RemoveRemembered();
    }
    void TearDown() override {
        SetCurrentDirectoryA(cwd_);
        RemoveRemembered();
    }
    static void RemoveRemembered() {
        RegDeleteKeyA(HKEY_CURRENT_USER, kProductKey);
        RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Lanternfield");  // only when empty
    }
    static INT_PTR Run(const char* name, DLGPROC procedure, std::vector<Driver::Step> steps) {
        Driver driver(std::move(steps));
        INT_PTR result = -7;
        EXPECT_TRUE(RunPage(name, procedure, &result)) << name;
        EXPECT_TRUE(driver.Done()) << name;
        return result;
    }
    // Answers the cancel confirmation, checking its text.
    static Driver::Step Answer(int button) {
        return OnDialog(std::string("Exit ") + ProductProfile.ProductName, [button](HWND box) {
            EXPECT_EQ(ItemText(box, 0xFFFF), ProductProfile.ConfirmExitText);
            EXPECT_NE(GetDlgItem(box, IDYES), nullptr);
            EXPECT_NE(GetDlgItem(box, IDNO), nullptr);
            Press(box, button);
        });
    }

    char cwd_[MAX_PATH];
};

}  // namespace

TEST_F(PageTest, AMissingTemplateRunsNothing) {
    INT_PTR result = 42;
    EXPECT_FALSE(RunPage("NoSuchPage", GroupPageProc, &result));
    EXPECT_EQ(result, 42);
}

TEST_F(PageTest, DestinationPageProposesCentresAndFocuses) {
    // Stored screen sizes are used, not the real screen's.
    InstallState.ScreenWidth = 800;
    InstallState.ScreenHeight = 600;
    std::string programs = GetText(HKEY_LOCAL_MACHINE, kWindowsKey, "ProgramFilesDir");
    INT_PTR result =
        Run("main", DestinationPageProc, {OnDialog("Destination Directory", [&](HWND page) {
                // The field upper-cases what it is given.
                EXPECT_STRCASEEQ(ItemText(page, 104).c_str(),
                                 JoinPath(programs, "FileTidemark").c_str());
                EXPECT_EQ(GetFocus(), GetDlgItem(page, 104));
                EXPECT_EQ(InstallState.DestinationFolder, FolderPart(ModuleFileName()));
                RECT frame;
                GetWindowRect(page, &frame);
                DialogOrigin centred =
                    CentredOrigin(800, 600, frame.right - frame.left, frame.bottom - frame.top);
                EXPECT_EQ(frame.left, centred.x);
                EXPECT_EQ(frame.top, centred.y);
                DestroyWindow(page);  // a destroyed page ends with 0
            })});
    EXPECT_EQ(result, 0);
}

TEST_F(PageTest, DestinationPageProposesTheRememberedOrTheSystemFolder) {
    std::string original = GetText(HKEY_LOCAL_MACHINE, kWindowsKey, "ProgramFilesDir");
    auto proposal = [] {
        std::string shown;
        Run("Main", DestinationPageProc, {OnDialog("Destination Directory", [&](HWND page) {
                shown = ItemText(page, 104);
                DestroyWindow(page);
            })});
        return shown;
    };
    SetText(HKEY_LOCAL_MACHINE, kWindowsKey, "ProgramFilesDir", "D:\\PROGRAMS\\");
    EXPECT_EQ(proposal(), "D:\\PROGRAMS\\FILETIDEMARK");
    SetText(HKEY_CURRENT_USER, kProductKey, "RegDir", "");  // empty counts as absent
    EXPECT_EQ(proposal(), "D:\\PROGRAMS\\FILETIDEMARK");
    SetText(HKEY_CURRENT_USER, kProductKey, "RegDir", "E:\\GONE\\OLD PLACE");  // not tested
    EXPECT_EQ(proposal(), "E:\\GONE\\OLD PLACE");
    SetText(HKEY_LOCAL_MACHINE, kWindowsKey, "ProgramFilesDir", original);
}

TEST_F(PageTest, DestinationPageRefusesSilentlyAndCreatesOneLevel) {
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    CharUpperA(temp);  // the field upper-cases what it is given
    std::string scratch = std::string(temp) + "TM_DEST_" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(scratch.c_str(), nullptr);
    CreateDirectoryA((scratch + "\\TOOLS").c_str(), nullptr);
    char unmapped = 'Q';
    while (unmapped < 'Y' && GetDriveTypeA((std::string(1, unmapped) + ":\\").c_str()) != 1) {
        ++unmapped;
    }
    SetCurrentDirectoryA(scratch.c_str());
    std::vector<std::string> refused = {
        "", "C", "\\\\SERVER\\SHARE", " C:\\", "CX\\", scratch + "\\NEW\\SUB",
        // Accepted by the form and folder tests, but no folder: refused all the same.
        scratch + "\\TOOLS\\*.*", std::string(1, unmapped) + ":\\", scratch.substr(0, 2) + "X"};
    INT_PTR result =
        Run("Main", DestinationPageProc, {OnDialog("Destination Directory", [&](HWND page) {
                for (const std::string& entry : refused) {
                    SetDlgItemTextA(page, 104, entry.c_str());
                    SendMessageA(page, WM_COMMAND, IDOK, 0);
                    EXPECT_TRUE(IsWindowVisible(page)) << entry;
                    EXPECT_EQ(ItemText(page, 104), entry);  // left as typed
                    EXPECT_EQ(InstallState.DestinationFolder, entry);
                }
                SetDlgItemTextA(page, 104, (scratch + "\\NEW").c_str());
                SendMessageA(page, WM_COMMAND, IDOK, 0);
            })});
    EXPECT_EQ(result, 1);
    EXPECT_EQ(InstallState.DestinationFolder, scratch + "\\NEW");
    EXPECT_EQ(GetFileAttributesA((scratch + "\\NEW\\SUB").c_str()), INVALID_FILE_ATTRIBUTES);
    SetCurrentDirectoryA(cwd_);
    EXPECT_TRUE(RemoveDirectoryA((scratch + "\\NEW").c_str()));
    RemoveDirectoryA((scratch + "\\TOOLS").c_str());
    RemoveDirectoryA(scratch.c_str());
}

TEST_F(PageTest, CancellingTheDestinationPageAsksFirst) {
    HWND seen = nullptr;
    INT_PTR result =
        Run("Main", DestinationPageProc,
            {
                OnDialog("Destination Directory",
                         [&](HWND page) {
                             seen = page;
                             SetDlgItemTextA(page, 104, "X:\\EDITED");
                             Press(page, IDCANCEL);
                         }),
                Answer(IDNO),
                OnDialog("Destination Directory",
                         [&](HWND page) {
                             EXPECT_EQ(page, seen);
                             EXPECT_EQ(ItemText(page, 104), "X:\\EDITED");
                             PostMessageA(page, WM_SYSCOMMAND, SC_CLOSE, 0);  // the close box
                         }),
                Answer(IDYES),
            });
    EXPECT_EQ(result, 0);
}

TEST_F(PageTest, LicencePageShowsTheAgreementAndAsksBeforeExit) {
    auto inspect = [](HWND page) {
        HWND box = nullptr;  // the only child without an id
        for (HWND child = GetWindow(page, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
            if (GetDlgCtrlID(child) == 0) box = child;
        }
        ASSERT_NE(box, nullptr);
        char name[16] = {};
        GetClassNameA(box, name, sizeof name);
        EXPECT_STRCASEEQ(name, "Edit");
        EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(box, GWL_STYLE)), 0x50200804u);
        EXPECT_TRUE(GetWindowLongA(box, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
        RECT client, placed;
        GetClientRect(page, &client);
        GetWindowRect(box, &placed);
        MapWindowPoints(nullptr, page, reinterpret_cast<POINT*>(&placed), 2);
        EXPECT_EQ(placed.left, 10);
        EXPECT_EQ(placed.top, 10);
        EXPECT_EQ(placed.right - placed.left, client.right - 20);
        EXPECT_EQ(placed.bottom - placed.top, client.bottom - 90);
        SendMessageA(box, WM_CHAR, 'x', 0);  // read only
        EXPECT_EQ(WindowText(box), ProductProfile.LicenceText);
        EXPECT_EQ(GetFocus(), GetDlgItem(page, IDOK));
        PressKey(GetFocus(), VK_ESCAPE);
    };
    auto agree = [](HWND page) { PressKey(GetDlgItem(page, IDOK), VK_RETURN); };
    INT_PTR result = Run("License", LicencePageProc,
                         {OnDialog("License Agreement", inspect), Answer(IDNO),
                          OnDialog("License Agreement", agree)});
    EXPECT_EQ(result, 1);
}

TEST_F(PageTest, GroupPageTakesAnyNameAndLeavesWithoutAsking) {
    InstallState.GroupName = ProductProfile.DefaultGroupName;
    INT_PTR result = Run("Group", GroupPageProc, {OnDialog("Program Group", [](HWND page) {
                             EXPECT_EQ(ItemText(page, 102), "FileTidemark");
                             EXPECT_EQ(GetFocus(), GetDlgItem(page, IDOK));
                             Press(page, IDCANCEL);
                         })});
    EXPECT_EQ(result, 0);
    EXPECT_EQ(InstallState.GroupName, "FileTidemark");
    result = Run("Group", GroupPageProc, {OnDialog("Program Group", [](HWND page) {
                     PostMessageA(page, WM_SYSCOMMAND, SC_CLOSE, 0);
                 })});
    EXPECT_EQ(result, 0);
    result = Run("Group", GroupPageProc, {OnDialog("Program Group", [](HWND page) {
                     SetDlgItemTextA(page, 102, "");
                     Press(page, IDOK);
                 })});
    EXPECT_EQ(result, 1);
    EXPECT_EQ(InstallState.GroupName, "");
}

namespace {

INT_PTR CALLBACK FailingAtStartProc(HWND, UINT message, WPARAM, LPARAM) {
    if (message == WM_INITDIALOG) throw IoError(kDiskFull);
    return FALSE;
}

INT_PTR CALLBACK FailingOnOkProc(HWND, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_COMMAND && LOWORD(wParam) == IDOK) throw RegistryError("broken value");
    return FALSE;
}

}  // namespace

TEST_F(PageTest, AnErrorInsideAPageReachesTheCallerOfRunPage) {
    INT_PTR result = 0;
    EXPECT_THROW(RunPage("Group", FailingAtStartProc, &result), IoError);
    {
        // Raised from the page's modal loop; the page is gone afterwards.
        Driver driver({OnDialog("Program Group", [](HWND page) { Press(page, IDOK); })});
        EXPECT_THROW(RunPage("Group", FailingOnOkProc, &result), RegistryError);
    }
    // Nothing is left pending: the next page runs normally.
    result = Run("Group", GroupPageProc,
                 {OnDialog("Program Group", [](HWND page) { Press(page, IDCANCEL); })});
    EXPECT_EQ(result, 0);
    EXPECT_TRUE(ThreadDialogs().empty());
}
