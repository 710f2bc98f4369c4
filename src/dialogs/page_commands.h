// Command handling shared by the destination, licence and program group pages.
#pragma once

#include <windows.h>

#include <string>

namespace tidemark {

// Cancel or Exit (also Esc and the close box): ends the page with 0 after a Yes to ConfirmExit;
// on No the page stays exactly as it was.
void ExitPageIfConfirmed(HWND page);

// The text of an entry field as the page reads it: at most 254 characters.
std::string FieldText(HWND page, int field);

// Ends the page with 1 (accepted) or 0 (left).
void AcceptPage(HWND page);
void LeavePage(HWND page);

// What a page does on each of the messages it answers.
struct PageHandlers {
    void (*Start)(HWND page);   // WM_INITDIALOG
    void (*Ok)(HWND page);      // IDOK by button, Enter or WM_SYSCOMMAND
    void (*Cancel)(HWND page);  // IDCANCEL by button, Esc or the close box
};

// The dialog procedure of a page: dispatches to the handlers; destruction ends the page with 0.
// Always FALSE, so the dialog manager's own handling goes on.
INT_PTR DispatchPage(HWND page, UINT message, WPARAM wParam, const PageHandlers& handlers);

}  // namespace tidemark
