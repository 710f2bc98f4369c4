#include "setup/start_up.h"

#include <windows.h>

#include <string>

#include "core/profile.h"
#include "payload/decoding.h"
#include "runtime/file.h"
#include "runtime/install_state.h"
#include "setup/backdrop.h"

namespace tidemark {

namespace {

const char kBackdropClass[] = "LFSetUp";

}  // namespace

bool ClaimTheRun() {
    // Named after the product, so another product's setup program never waits on this one. The
    // handle is kept: the system releases the claim when the process ends, killed or not.
    std::string name = std::string(ProductProfile.ProductName) + " setup program";
    HANDLE claim = CreateMutexA(nullptr, FALSE, name.c_str());
    // A claim that cannot be made at all does not stop the installation.
    if (claim == nullptr || GetLastError() != ERROR_ALREADY_EXISTS) return true;
    CloseHandle(claim);
    std::string text = std::string("The setup program of ") + ProductProfile.ProductName +
                       " is already running.\r\n\r\nPlease finish that installation first; "
                       "then start the setup program again if you need to.";
    MessageBoxA(nullptr, text.c_str(), ProductProfile.ProductName, MB_OK | MB_ICONINFORMATION);
    return false;
}

void StartUp() {
    WNDCLASSA backdropClass = {};
    backdropClass.style = CS_PARENTDC;
    backdropClass.lpfnWndProc = BackdropWindowProc;
    backdropClass.lpszClassName = kBackdropClass;

    std::string ownPath = ModuleFileName();
    InstallState.SourceFolder = ownPath.substr(0, ownPath.rfind('\\') + 1);

    // The decoder's input side and output side (the unpacking page binds its own routines).
    InstallState.WorkBuffer[0] = new uint8_t[kWorkBufferSize];
    InstallState.WorkBuffer[1] = new uint8_t[kWorkBufferSize];

    InstallState.ScreenWidth = GetSystemMetrics(SM_CXSCREEN);
    InstallState.ScreenHeight = GetSystemMetrics(SM_CYSCREEN);

    HINSTANCE instance = GetModuleHandleA(nullptr);
    backdropClass.hInstance = instance;
    RegisterClassA(&backdropClass);

    // Visible at once; neither raised, updated nor given the focus: the first modal loop paints it.
    InstallState.BackdropWindow = CreateWindowExA(
        0, kBackdropClass, "Installation", WS_POPUP | WS_VISIBLE, 0, 0, InstallState.ScreenWidth,
        InstallState.ScreenHeight, nullptr, nullptr, instance, nullptr);
    InstallState.LogoBitmap = LoadBitmapA(instance, "logo");

    char windowsFolder[256];
    UINT length = GetWindowsDirectoryA(windowsFolder, sizeof windowsFolder);
    bool fits = length > 0 && length < sizeof windowsFolder;
    InstallState.WindowsFolder = fits ? std::string(windowsFolder, length) : std::string();

    InstallState.GroupName = ProductProfile.DefaultGroupName;
}

void ReleaseWorkBuffers() {
    for (uint8_t*& buffer : InstallState.WorkBuffer) {
        delete[] buffer;
        buffer = nullptr;
    }
}

}  // namespace tidemark
