#include "runtime/error.h"

#include <cstdio>

namespace tidemark {

// noinline keeps the return address that of the code raising the error.
__attribute__((noinline)) Error::Error(std::string message)
    : message_(std::move(message)), address_(__builtin_return_address(0)) {}

__attribute__((noinline)) IoError::IoError(int code) : Error(MessageFor(code)), code_(code) {
    SetAddress(__builtin_return_address(0));
}

std::string IoError::MessageFor(int code) {
    switch (code) {
    case kFileNotFound: return "File not found";
    case kInvalidFilename: return "Invalid filename";
    case kTooManyOpenFiles: return "Too many open files";
    case kFileAccessDenied: return "File access denied";
    case kReadBeyondEnd: return "Read beyond end of file";
    case kDiskFull: return "Disk full";
    case kInvalidNumericInput: return "Invalid numeric input";
    default: {
        char text[32];
        std::snprintf(text, sizeof text, "I/O error %d", code);
        return text;
    }
    }
}

std::string FormatErrorReport(const Error& error, const std::string& moduleName) {
    const std::string& message = error.Message();
    const char* stop = (!message.empty() && message.back() == '.') ? "" : ".";
    // %p's width differs between the 32- and 64-bit builds; measure first.
    const char* format = "Exception %s in module %s at %p.\n%s%s";
    int length = std::snprintf(nullptr, 0, format, error.ClassName(), moduleName.c_str(),
                               error.Address(), message.c_str(), stop);
    std::string text(static_cast<size_t>(length) + 1, '\0');
    std::snprintf(&text[0], text.size(), format, error.ClassName(), moduleName.c_str(),
                  error.Address(), message.c_str(), stop);
    text.resize(static_cast<size_t>(length));
    return text;
}

}  // namespace tidemark
