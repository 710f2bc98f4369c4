// The sample product's main program: a window saying the product is installed. It leaves a mark
// file, Tidemark.ran, in its own folder (or in TIDEMARK_MARK_DIR) so that a test can see it was
// started, and closes itself after a moment when started with /auto or with TIDEMARK_AUTOCLOSE
// set.
#include <windows.h>

#include <cstring>

namespace {

const char kClassName[] = "FileTidemarkSample";
const char kInstalledText[] = "FileTidemark is installed";
constexpr UINT_PTR kCloseTimer = 1;
constexpr UINT kAutoCloseMilliseconds = 1500;

// The folder for the mark: TIDEMARK_MARK_DIR, else the program's own folder; ends with '\'.
void MarkFolder(char* folder, DWORD size) {
    DWORD n = GetEnvironmentVariableA("TIDEMARK_MARK_DIR", folder, size);
    if (n == 0 || n >= size) {
        n = GetModuleFileNameA(nullptr, folder, size);
        if (n == 0 || n >= size) n = 0;
        while (n > 0 && folder[n - 1] != '\\') --n;
        folder[n] = 0;
    } else if (folder[n - 1] != '\\' && n + 1 < size) {
        folder[n] = '\\';
        folder[n + 1] = 0;
    }
}

void WriteMark(const char* commandLine) {
    char path[MAX_PATH + 32];
    MarkFolder(path, MAX_PATH);
    std::strcat(path, "Tidemark.ran");
    HANDLE file =
        CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    char text[1024] = "FileTidemark started; command line: ";
    std::strncat(text, commandLine, sizeof text - std::strlen(text) - 3);
    std::strcat(text, "\r\n");
    DWORD written = 0;
    WriteFile(file, text, static_cast<DWORD>(std::strlen(text)), &written, nullptr);
    CloseHandle(file);
}

// Whether the command line holds /auto (or -auto), in any case.
bool HasAutoSwitch(const char* commandLine) {
    static const char kSwitch[] = "auto";
    for (const char* p = commandLine; *p; ++p) {
        if (*p != '/' && *p != '-') continue;
        size_t i = 0;
        // Stops at the terminator too, since it matches no letter of the switch.
        while (kSwitch[i] && (p[1 + i] | 0x20) == kSwitch[i]) ++i;
        if (!kSwitch[i]) return true;
    }
    return false;
}

bool AutoClose(const char* commandLine) {
    char value[8];
    return GetEnvironmentVariableA("TIDEMARK_AUTOCLOSE", value, sizeof value) > 0 ||
           HasAutoSwitch(commandLine);
}

void OnPaint(HWND window) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    RECT client;
    GetClientRect(window, &client);
    SetBkMode(dc, TRANSPARENT);
    DrawTextA(dc, kInstalledText, -1, &client, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    EndPaint(window, &paint);
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT:
            OnPaint(window);
            return 0;
        case WM_TIMER:
            if (wParam == kCloseTimer) DestroyWindow(window);
            return 0;
        case WM_DESTROY:
            KillTimer(window, kCloseTimer);
            PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProcA(window, message, wParam, lParam);
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int show) {
    WriteMark(commandLine);
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.hIcon = LoadIcon(nullptr, IDI_APPLICATION);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = kClassName;
    if (!RegisterClassA(&windowClass)) return 1;
    HWND window = CreateWindowExA(0, kClassName, "FileTidemark", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                  CW_USEDEFAULT, 420, 200, nullptr, nullptr, instance, nullptr);
    if (!window) return 1;
    ShowWindow(window, show);
    UpdateWindow(window);
    if (AutoClose(commandLine)) SetTimer(window, kCloseTimer, kAutoCloseMilliseconds, nullptr);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}
