// What both progress pages share: the private message that starts their work, the draining of
// the message queue that keeps them alive while the work runs inside that message's handler.
#pragma once

#include <windows.h>

namespace tidemark {

// Posted by a progress page to itself when it opens; its handler does all the page's work.
constexpr UINT StartWorkMessage = 32000;

// Removes and dispatches every queued message of the thread (translated, but without dialog
// keyboard handling); a WM_QUIT is removed and dropped.
void DrainMessages();

}  // namespace tidemark
