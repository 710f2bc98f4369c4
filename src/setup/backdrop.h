// The full-screen backdrop: gradient, title with its shadow, logo and the maker's notice.
#pragma once

#include <windows.h>

namespace tidemark {

// The backdrop's window procedure, registered at start-up.
LRESULT CALLBACK BackdropWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Paints the whole backdrop straight to its window, whatever part needs repainting.
void PaintBackdrop();

}  // namespace tidemark
