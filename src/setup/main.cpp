// The program's entry: the setup run, and the report of an error that nothing else caught.
#include <windows.h>

#include <cstdlib>
#include <new>

#include "runtime/error.h"
#include "runtime/error_report.h"
#include "setup/sequence.h"

namespace {

// Memory exhaustion is reported like every other uncaught error.
class OutOfMemoryError : public tidemark::Error {
public:
    OutOfMemoryError() : Error("Out of memory") {}
    const char* ClassName() const override { return "OutOfMemoryError"; }
};

}  // namespace

// Every error is caught above, so the runtime's verbose terminate handler, which would pull the
// C++ name demangler (about 45 KB) into a program that must share its disk with the archive, is
// never needed.
namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    try {
        tidemark::RunSetupSequence();
        return 0;
    } catch (const tidemark::Error& error) {
        tidemark::ShowErrorReport(error);
    } catch (const std::bad_alloc&) {
        tidemark::ShowErrorReport(OutOfMemoryError());
    }
    return 1;
}
