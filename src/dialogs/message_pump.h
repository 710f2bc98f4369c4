// The draining of the message queue that keeps a progress page alive while its work runs inside
// one message's handler.
#pragma once

#include <windows.h>

namespace tidemark {

// Removes and dispatches every queued message of the thread (translated, but without dialog
// keyboard handling); a WM_QUIT is removed and dropped.
void DrainMessages();

}  // namespace tidemark
