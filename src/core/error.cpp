#include "core/error.h"

#include <cstdint>
#include <exception>
#include <new>

namespace tidemark {

// noinline keeps the return address that of the code raising the error.
__attribute__((noinline)) Error::Error(std::string message)
    : message_(std::move(message)), address_(__builtin_return_address(0)) {}

__attribute__((noinline)) IoError::IoError(int code, std::string path)
    : Error(MessageFor(code)), code_(code), path_(std::move(path)) {
    SetAddress(__builtin_return_address(0));
}

std::string IoError::MessageFor(int code) {
    switch (code) {
        case kFileNotFound:
            return "File not found";
        case kInvalidFilename:
            return "Invalid filename";
        case kTooManyOpenFiles:
            return "Too many open files";
        case kFileAccessDenied:
            return "File access denied";
        case kReadBeyondEnd:
            return "Read beyond end of file";
        case kDiskFull:
            return "Disk full";
        case kInvalidNumericInput:
            return "Invalid numeric input";
        default:
            return "I/O error " + std::to_string(code);
    }
}

void ShowCaughtError(void (*show)(const Error&)) {
    try {
        throw;
    } catch (const Error& error) {
        show(error);
    } catch (const std::bad_alloc&) {
        show(OutOfMemoryError());
    } catch (const std::exception& error) {
        show(InternalError(error.what()));
    } catch (...) {
        show(InternalError("An exception of unknown kind"));
    }
}

namespace {

// An address as the system's %p writes it: every hex digit of the pointer, upper case, no prefix.
// Formatted by hand so the setup program needs no printf family.
std::string AddressText(const void* address) {
    static const char digits[] = "0123456789ABCDEF";
    uintptr_t value = reinterpret_cast<uintptr_t>(address);
    std::string text(sizeof value * 2, '0');
    for (size_t i = text.size(); i-- > 0; value >>= 4) text[i] = digits[value & 0xF];
    return text;
}

}  // namespace

std::string FormatErrorReport(const Error& error, const std::string& moduleName) {
    const std::string& message = error.Message();
    const char* stop = (!message.empty() && message.back() == '.') ? "" : ".";
    return std::string("Exception ") + error.ClassName() + " in module " + moduleName + " at " +
           AddressText(error.Address()) + ".\n" + message + stop;
}

}  // namespace tidemark
