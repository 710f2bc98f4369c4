// What the copying and unpacking pages share: their start-up, Cancel and destruction, and the
// posted message that starts their work once the page is on screen.
#pragma once

#include <windows.h>

namespace tidemark {

// Posted by a progress page to itself when it opens; its handler does all the page's work.
constexpr UINT StartWorkMessage = 32000;

// The page's work: runs while the page is up, draining its messages as it goes.
using ProgressWork = void (*)(HWND page);

// The dialog procedure of a progress page: the working caption, the meter and the focus on
// Cancel at start; Cancel (or the close box) confirmed clears ContinueFlag; destruction clears
// it too. The work runs on the posted start message, then the meter is torn down and the page
// ends with ContinueFlag. An I/O error of the work ends the page in the page runner, which
// raises it again for the program's entry to report.
INT_PTR ProgressPageProc(HWND page, UINT message, WPARAM wParam, ProgressWork work);

}  // namespace tidemark
