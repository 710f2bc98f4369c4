// Command handling shared by the destination and licence pages.
#pragma once

#include <windows.h>

namespace tidemark {

// Cancel or Exit (also Esc and the close box): ends the page with 0 after a Yes to ConfirmExit;
// on No the page stays exactly as it was.
void ExitPageIfConfirmed(HWND page);

}  // namespace tidemark
