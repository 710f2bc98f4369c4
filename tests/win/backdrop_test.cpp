#include "setup/backdrop.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "runtime/file.h"
#include "setup/backdrop_layout.h"
#include "setup/install_state.h"
#include "setup/start_up.h"
#include "setup/steps.h"

using namespace tidemark;

namespace {

// Start-up puts up the real backdrop; closing it must leave no quit message behind for the
// modal loops of later tests.
class BackdropTest : public ::testing::Test {
protected:
    void SetUp() override {
        HWND probe = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                     nullptr, nullptr);
        ASSERT_NE(probe, nullptr) << "the backdrop tests need a display (run them under xvfb-run)";
        DestroyWindow(probe);
        StartUp();
    }
    void TearDown() override {
        if (IsWindow(InstallState.BackdropWindow)) CloseBackdrop();
        ReleaseWorkBuffers();
        EXPECT_EQ(InstallState.WorkBuffer[0], nullptr);
    }
    // Closes the backdrop and counts the quit messages it posted.
    static int CloseBackdrop() {
        SendMessageA(InstallState.BackdropWindow, WM_CLOSE, 0, 0);
        int quits = 0;
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
            quits += message.message == WM_QUIT;
        return quits;
    }
};

}  // namespace

TEST_F(BackdropTest, StartUpFillsTheInstallState) {
    std::string own = ModuleFileName();
    EXPECT_EQ(InstallState.SourceFolder, own.substr(0, own.rfind('\\') + 1));
    ASSERT_NE(InstallState.WorkBuffer[0], nullptr);
    ASSERT_NE(InstallState.WorkBuffer[1], nullptr);
    InstallState.WorkBuffer[0][kWorkBufferSize - 1] = 1;  // the whole size is there
    InstallState.WorkBuffer[1][kWorkBufferSize - 1] = 2;
    EXPECT_EQ(InstallState.ScreenWidth, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(InstallState.ScreenHeight, GetSystemMetrics(SM_CYSCREEN));
    char windows[MAX_PATH];
    GetWindowsDirectoryA(windows, sizeof windows);
    EXPECT_EQ(InstallState.WindowsFolder, windows);
    EXPECT_FALSE(InstallState.Cancelled);
    EXPECT_EQ(InstallState.GroupName, "FileTidemark");

    HWND backdrop = InstallState.BackdropWindow;
    ASSERT_NE(backdrop, nullptr);
    char name[32] = {}, title[32] = {};
    GetClassNameA(backdrop, name, sizeof name);
    GetWindowTextA(backdrop, title, sizeof title);
    EXPECT_STREQ(name, "LFSetUp");
    EXPECT_STREQ(title, "Installation");
    EXPECT_EQ(GetClassLongA(backdrop, GCL_STYLE), static_cast<DWORD>(CS_PARENTDC));
    EXPECT_EQ(GetWindowLongA(backdrop, GWL_STYLE) & ~WS_CLIPSIBLINGS, WS_POPUP | WS_VISIBLE);
    RECT frame;
    GetWindowRect(backdrop, &frame);
    EXPECT_EQ(frame.left, 0);
    EXPECT_EQ(frame.top, 0);
    EXPECT_EQ(frame.right, InstallState.ScreenWidth);
    EXPECT_EQ(frame.bottom, InstallState.ScreenHeight);

    BITMAP logo = {};
    ASSERT_NE(InstallState.LogoBitmap, nullptr);
    GetObjectA(InstallState.LogoBitmap, sizeof logo, &logo);
    EXPECT_EQ(logo.bmWidth, kLogoWidth);
    EXPECT_EQ(logo.bmHeight, kLogoHeight);

    // WM_DESTROY posts a quit; so does WM_CLOSE, whose default handling then destroys the window
    // (Wine drops what was posted to a window once it is destroyed, so at least one remains).
    BackdropWindowProc(backdrop, WM_DESTROY, 0, 0);
    MSG quit;
    EXPECT_TRUE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_TRUE(IsWindow(backdrop));
    EXPECT_GE(CloseBackdrop(), 1);
    EXPECT_FALSE(IsWindow(backdrop));
}

TEST_F(BackdropTest, PaintsGradientTitleAndLogo) {
    const int32_t width = InstallState.ScreenWidth, height = InstallState.ScreenHeight;
    ASSERT_EQ(height, 768) << "the expected rows are those of a 768-row screen";
    PaintBackdrop();
    HDC screen = GetDC(InstallState.BackdropWindow);
    auto blue = [](int level) { return static_cast<COLORREF>(level) << 16; };
    for (int y : {0, 2}) EXPECT_EQ(GetPixel(screen, width - 10, y), blue(255)) << y;
    for (int y : {3, 5}) EXPECT_EQ(GetPixel(screen, width - 10, y), blue(254)) << y;
    EXPECT_EQ(GetPixel(screen, width - 10, 764), blue(1));
    EXPECT_EQ(GetPixel(screen, width - 10, 765), 0u);

    // Yellow title and its black shadow, only where the title stands.
    int yellow = 0, black = 0;
    for (int y = 25; y < 75; ++y) {
        for (int x = 22; x < 300; ++x) {
            COLORREF pixel = GetPixel(screen, x, y);
            yellow += pixel == 0x00FFFF;
            black += pixel == 0;
        }
    }
    EXPECT_GT(yellow, 200);
    EXPECT_GT(black, 50);

    HDC memory = CreateCompatibleDC(screen);
    HGDIOBJ previous = SelectObject(memory, InstallState.LogoBitmap);
    PixelPoint at = LogoOrigin(width, height);
    int differing = 0;
    for (int y = 0; y < kLogoHeight; y += 5) {
        for (int x = 0; x < kLogoWidth; x += 3) {
            differing += GetPixel(memory, x, y) != GetPixel(screen, at.x + x, at.y + y);
        }
    }
    EXPECT_EQ(differing, 0);
    SelectObject(memory, previous);
    DeleteDC(memory);
    ReleaseDC(InstallState.BackdropWindow, screen);
}
