#include <gtest/gtest.h>
#include <windows.h>

#include "setup/install_state.h"
#include "setup/start_up.h"
#include "setup/steps.h"

using namespace tidemark;

// The backdrop's pixels, the logo, and the folders and group name that start-up finds are
// checked end to end (the backdrop's class as the pages' owner); here, its styles, and the backdrop's quit messages.
TEST(StartUp, FillsTheInstallStateAndPutsUpTheBackdrop) {
    StartUp();
    HWND backdrop = InstallState.BackdropWindow;
    ASSERT_NE(backdrop, nullptr) << "start-up needs a display (run the tests under xvfb-run)";
    ASSERT_NE(InstallState.WorkBuffer[0], nullptr);
    InstallState.WorkBuffer[0][kWorkBufferSize - 1] = 1;  // the whole size is there
    InstallState.WorkBuffer[1][kWorkBufferSize - 1] = 2;

    EXPECT_EQ(GetClassLongA(backdrop, GCL_STYLE), static_cast<DWORD>(CS_PARENTDC));
    EXPECT_EQ(GetWindowLongA(backdrop, GWL_STYLE) & ~WS_CLIPSIBLINGS, WS_POPUP | WS_VISIBLE);

    // WM_DESTROY posts a quit; so does WM_CLOSE, whose default handling then destroys the window
    // (Wine drops what was posted to a window once it is gone, so at least one quit remains).
    MSG message;
    BackdropWindowProc(backdrop, WM_DESTROY, 0, 0);
    EXPECT_TRUE(PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    SendMessageA(backdrop, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(backdrop));
    int quits = 0;  // none may be left for the modal loops of later tests
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) quits += message.message == WM_QUIT;
    EXPECT_GE(quits, 1);

    ReleaseWorkBuffers();
    EXPECT_EQ(InstallState.WorkBuffer[1], nullptr);
}
