// The unpacking page (PROGRESS): runs the decoding stage (payload/decoding.h), then splits the
// image into the product's files (payload/splitting.h).
#pragma once

#include <windows.h>

namespace tidemark {

// The page's dialog procedure ("Progress"), run by the sequence.
INT_PTR CALLBACK UnpackingPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace tidemark
