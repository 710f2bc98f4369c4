// The three input pages: dialog procedures that the sequence runs with DialogBoxParamA, owned by
// the backdrop.
#pragma once

#include <windows.h>

namespace tidemark {

// Their templates, in this order: "Main", "License", "Group".
INT_PTR CALLBACK DestinationPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK LicencePageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK GroupPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace tidemark
