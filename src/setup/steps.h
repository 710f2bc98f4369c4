// The procedures that the setup sequence runs, in its order.
#pragma once

#include <windows.h>

namespace tidemark {

// Pages: dialog procedures run with DialogBoxParamA, owned by the backdrop.
INT_PTR CALLBACK DestinationPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);  // "Main"
INT_PTR CALLBACK LicencePageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);      // "License"
INT_PTR CALLBACK CopyingPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);      // "IProgress"
INT_PTR CALLBACK UnpackingPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);    // "Progress"
INT_PTR CALLBACK GroupPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);        // "Group"

// System steps after the group page.
void CreateShortcut();       // only when the group page ended with 1
void RegisterUninstall();
void LaunchProduct();        // on Yes to the closing prompt

// The backdrop's window procedure.
LRESULT CALLBACK BackdropWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace tidemark
