#include "payload/drain.h"

#include "runtime/error.h"
#include "runtime/error_report.h"

namespace tidemark {

void DrainMessages() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

void RunPageWork(HWND page, void (*work)(HWND page)) {
    try {
        work(page);
    } catch (const Error& error) {
        ShowErrorReport(error);
        ExitProcess(1);
    }
}

}  // namespace tidemark
