// The sample product's uninstaller: it only tells the user how to remove the product. With /auto
// or TIDEMARK_AUTOCLOSE set it shows nothing and ends at once.
#include <windows.h>

#include <cstring>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
    char value[8];
    if (GetEnvironmentVariableA("TIDEMARK_AUTOCLOSE", value, sizeof value) > 0 ||
        std::strstr(commandLine, "/auto"))
        return 0;
    MessageBoxA(nullptr,
                "To remove FileTidemark, delete its folder and its entry in the Start menu.",
                "FileTidemark Uninstall", MB_OK | MB_ICONINFORMATION);
    return 0;
}
