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

std::string GetText(HKEY root, const char* key, const char* name) {
    char value[MAX_PATH] = {};
    DWORD size = sizeof value;
    RegGetValueA(root, key, name, RRF_RT_REG_SZ, nullptr, value, &size);
    return value;
}

// Pages run unowned on the real screen; the remembered folder and the current directory are put
// back afterwards. What the user sees of the pages (entries refused, the exit question, the
// licence box) is checked end to end; here, what a run cannot show.
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
