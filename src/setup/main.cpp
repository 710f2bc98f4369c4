// The program's entry: the setup run, and the report of an error that nothing else caught.
#include <windows.h>

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
