// What every page shares: centring, the cancel confirmation, command routing.
#pragma once

#include <windows.h>

namespace tidemark {

// Moves the dialog, unresized and to the top, to the middle of the screen (ScreenWidth and
// ScreenHeight of the install state; halves rounded toward zero).
void CentreOnScreen(HWND dialog);

// "Exit FileTidemark" Yes/No question with no owner; true only for Yes.
bool ConfirmExit();

// The command of a WM_COMMAND or WM_SYSCOMMAND: the low 16 bits of wParam.
inline int CommandOf(WPARAM wParam) { return static_cast<int>(LOWORD(wParam)); }

// Runs one page: FindResourceA/LoadResource to test the template, DialogBoxParamA owned by the
// backdrop, FreeResource. Returns false when the template is missing; *result gets the page's
// value otherwise.
bool RunPage(const char* name, DLGPROC procedure, INT_PTR* result);

}  // namespace tidemark
