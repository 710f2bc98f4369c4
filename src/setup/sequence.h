// The setup run from start-up to its end: the program's whole body below its entry.
#pragma once

namespace tidemark {

// Start-up, the five pages, the steps after the group page or the clean-up of a stopped run.
// Errors raised by a step are not caught here.
void RunSetupSequence();

}  // namespace tidemark
