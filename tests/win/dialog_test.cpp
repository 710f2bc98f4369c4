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
const char kMain[] = "Destination Directory";
const char kExit[] = "Exit FileTidemark";

std::string GetText(HKEY root, const char* key, const char* name) {
    char value[MAX_PATH] = {};
    DWORD size = sizeof value;
    RegGetValueA(root, key, name, RRF_RT_REG_SZ, nullptr, value, &size);
    return value;
}

// Pages run unowned on the real screen; the remembered folder and the current directory are put
// back afterwards.
class PageTest : public ::testing::Test {
protected:
    void SetUp() override {
        InstallState.ScreenWidth = GetSystemMetrics(SM_CXSCREEN);
        InstallState.ScreenHeight = GetSystemMetrics(SM_CYSCREEN);
        GetCurrentDirectoryA(sizeof cwd_, cwd_);
        RegDeleteKeyA(HKEY_CURRENT_USER, kProductKey);
    }
    void TearDown() override {
        SetCurrentDirectoryA(cwd_);
        RegDeleteKeyA(HKEY_CURRENT_USER, kProductKey);
    }
    static INT_PTR Run(const char* name, DLGPROC procedure, std::vector<Step> steps) {
        Driver driver(std::move(steps));
        INT_PTR result = -7;
        EXPECT_TRUE(RunPage(name, procedure, &result)) << name;
        EXPECT_TRUE(driver.Done()) << name << " (the tests need a display: run under xvfb-run)";
        return result;
    }
    static Step Answer(int button) {
        return {kExit, [button](HWND box) {
                    EXPECT_EQ(ItemText(box, 0xFFFF), ProductProfile.ConfirmExitText);
                    Press(box, button);
                }};
    }
    char cwd_[MAX_PATH];
};

}  // namespace

TEST_F(PageTest, AMissingTemplateRunsNothing) {
    INT_PTR result = 42;
    EXPECT_FALSE(RunPage("NoSuchPage", GroupPageProc, &result));
    EXPECT_EQ(result, 42);
}

TEST_F(PageTest, DestinationPageStartsCentredWithItsProposal) {
    InstallState.ScreenWidth = 800;  // the stored size is used, not the real screen's
    InstallState.ScreenHeight = 600;
    std::string programs = GetText(HKEY_LOCAL_MACHINE, kWindowsKey, "ProgramFilesDir");
    INT_PTR result =
        Run("Main", DestinationPageProc,
            {{kMain, [&](HWND page) {
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
                  DestroyWindow(page);
              }}});
    EXPECT_EQ(result, 0);
}

TEST_F(PageTest, DestinationPageRefusesSilentlyAndCreatesOneLevel) {
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    CharUpperA(temp);
    std::string scratch = std::string(temp) + "TM_DEST_" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(scratch.c_str(), nullptr);
    CreateDirectoryA((scratch + "\\TOOLS").c_str(), nullptr);
    std::string unmapped = "Q:\\";
    while (unmapped[0] < 'Y' && GetDriveTypeA(unmapped.c_str()) != DRIVE_NO_ROOT_DIR) ++unmapped[0];
    SetCurrentDirectoryA(scratch.c_str());
    std::vector<std::string> refused = {
        "", "C", "\\\\SERVER\\SHARE", " C:\\", "CX\\", scratch + "\\NEW\\SUB",
        // Past the form and folder tests, but no folder.
        scratch + "\\TOOLS\\*.*", unmapped, scratch.substr(0, 2) + "X"};
    INT_PTR result = Run("Main", DestinationPageProc,
                         {{kMain, [&](HWND page) {
                               for (const std::string& entry : refused) {
                                   SetDlgItemTextA(page, 104, entry.c_str());
                                   SendMessageA(page, WM_COMMAND, IDOK, 0);
                                   EXPECT_TRUE(IsWindowVisible(page)) << entry;
                                   EXPECT_EQ(ItemText(page, 104), entry);
                                   EXPECT_EQ(InstallState.DestinationFolder, entry);
                               }
                               SetDlgItemTextA(page, 104, (scratch + "\\NEW").c_str());
                               SendMessageA(page, WM_COMMAND, IDOK, 0);
                           }}});
    EXPECT_EQ(result, 1);
    EXPECT_EQ(InstallState.DestinationFolder, scratch + "\\NEW");
    EXPECT_EQ(GetFileAttributesA((scratch + "\\NEW\\SUB").c_str()), INVALID_FILE_ATTRIBUTES);
    SetCurrentDirectoryA(cwd_);
    EXPECT_TRUE(RemoveDirectoryA((scratch + "\\NEW").c_str()));
    RemoveDirectoryA((scratch + "\\TOOLS").c_str());
    RemoveDirectoryA(scratch.c_str());
}

TEST_F(PageTest, LeavingTheFirstTwoPagesAsksFirstAndNoKeepsThePage) {
    auto edit = [](HWND page) {
        SetDlgItemTextA(page, 104, "X:\\EDITED");
        Press(page, IDCANCEL);
    };
    auto closeBox = [](HWND page) {
        EXPECT_EQ(ItemText(page, 104), "X:\\EDITED");
        PostMessageA(page, WM_SYSCOMMAND, SC_CLOSE, 0);
    };
    EXPECT_EQ(Run("Main", DestinationPageProc,
                  {{kMain, edit}, Answer(IDNO), {kMain, closeBox}, Answer(IDYES)}),
              0);

    auto escape = [](HWND) { PostMessageA(GetFocus(), WM_KEYDOWN, VK_ESCAPE, 0); };
    auto enter = [](HWND page) {
        EXPECT_EQ(GetFocus(), GetDlgItem(page, IDOK));
        PostMessageA(GetFocus(), WM_KEYDOWN, VK_RETURN, 0);
    };
    EXPECT_EQ(Run("License", LicencePageProc,
                  {{"License Agreement", escape}, Answer(IDNO), {"License Agreement", enter}}),
              1);
}

TEST_F(PageTest, LicenceBoxIsCreatedReadOnlyOverTheHeading) {
    Run("License", LicencePageProc,
        {{"License Agreement", [](HWND page) {
              HWND box = FindWindowExA(page, nullptr, "Edit", nullptr);
              while (box != nullptr && GetDlgCtrlID(box) != 0)
                  box = FindWindowExA(page, box, "Edit", nullptr);
              ASSERT_NE(box, nullptr);
              EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(box, GWL_STYLE)), 0x50200804u);
              EXPECT_TRUE(GetWindowLongA(box, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
              RECT client, placed;
              GetClientRect(page, &client);
              GetWindowRect(box, &placed);
              MapWindowPoints(nullptr, page, reinterpret_cast<POINT*>(&placed), 2);
              EXPECT_EQ(placed.left, 10);
              EXPECT_EQ(placed.top, 10);
              EXPECT_EQ(placed.right, client.right - 10);
              EXPECT_EQ(placed.bottom, client.bottom - 80);
              SendMessageA(box, WM_CHAR, 'x', 0);
              EXPECT_EQ(WindowText(box), ProductProfile.LicenceText);
              DestroyWindow(page);
          }}});
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
        Driver driver({{"Program Group", [](HWND page) { Press(page, IDOK); }}});
        EXPECT_THROW(RunPage("Group", FailingOnOkProc, &result), RegistryError);
    }
    // Nothing is left pending: the next page runs normally.
    EXPECT_EQ(
        Run("Group", GroupPageProc, {{"Program Group", [](HWND page) { Press(page, IDCANCEL); }}}),
        0);
}
