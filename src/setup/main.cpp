// The program's entry (placeholder until the setup sequence lands).
#include <windows.h>

#include "runtime/error_report.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return 0; }
