#include "runtime/error_report.h"

#include <windows.h>

#include "runtime/file.h"

namespace tidemark {

void ShowErrorReport(const Error& error) {
    std::string path = ModuleFileName();
    std::string module = path.substr(path.find_last_of("\\:/") + 1);
    std::string text = FormatErrorReport(error, module);
    MessageBoxA(nullptr, text.c_str(), "Application Error", MB_TASKMODAL | MB_ICONSTOP | MB_OK);
}

}  // namespace tidemark
