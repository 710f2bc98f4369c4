// The program's entry: the setup run, and the report of an error that nothing else caught.
#include <windows.h>

#include <cstdlib>

#include "core/error.h"
#include "runtime/error_report.h"
#include "setup/sequence.h"
#include "setup/start_up.h"

// Every error is caught below, so the language runtime's verbose terminate handler, which would
// pull the C++ name demangler (about 45 KB) into a program that must share its disk with the
// archive, is never needed.
namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    try {
        // A second copy ends as a run that never began: exit code 0, as after a stop; 1 stays
        // the sign of the error report.
        if (!tidemark::ClaimTheRun()) return 0;
        tidemark::RunSetupSequence();
        return 0;
    } catch (...) {
        tidemark::ShowCaughtError(tidemark::ShowErrorReport);
    }
    return 1;
}
