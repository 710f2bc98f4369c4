// The language library's own error paths (a string or vector grown past its limit, an index out
// of range), defined here for the Windows programs. The library's definitions share one archive
// member, which pulls in its whole exception hierarchy, a second string implementation and the
// random-number device: about 55 KB of a program that shares its disk with the archive. Each
// reports through the usual path: ShowCaughtError shows the library's text as an InternalError,
// and an allocation failure as an OutOfMemoryError.
//
// Every function of that member is defined here, so the linker never needs it; were one missing,
// the program would fail to link on a duplicate definition instead of growing unnoticed.
#include <bits/functexcept.h>

#include <cstdarg>
#include <cstddef>
#include <exception>
#include <new>
#include <string>
#include <typeinfo>

#include "core/error.h"

namespace {

// The library's formats use %s, %zu, %lu, %u, %d and %%; nothing else is expanded.
std::string FormatLibraryMessage(const char* format, va_list args) {
    std::string text;
    for (const char* p = format; *p != '\0'; ++p) {
        if (*p != '%') {
            text += *p;
            continue;
        }
        ++p;
        while (*p == 'z' || *p == 'l') ++p;
        if (*p == 's') {
            const char* s = va_arg(args, const char*);
            text += s != nullptr ? s : "(null)";
        } else if (*p == 'u' || *p == 'd') {
            // The length modifier names the argument's type: size_t is wider than unsigned long
            // on x86_64 Windows.
            unsigned long long value = (p[-1] == 'z')   ? va_arg(args, size_t)
                                       : (p[-1] == 'l') ? va_arg(args, unsigned long)
                                                        : va_arg(args, unsigned);
            text += std::to_string(value);
        } else if (*p == '%') {
            text += '%';
        } else {
            if (*p == '\0') break;
            text += '%';
            text += *p;
        }
    }
    return text;
}

[[noreturn]] void Raise(const char* message) {
    throw tidemark::InternalError(message != nullptr ? message : "");
}

}  // namespace

namespace std {

void __throw_bad_exception() { throw bad_exception(); }
void __throw_bad_alloc() { throw bad_alloc(); }
void __throw_bad_array_new_length() { throw bad_array_new_length(); }
void __throw_bad_cast() { throw bad_cast(); }
void __throw_bad_typeid() { throw bad_typeid(); }
void __throw_logic_error(const char* message) { Raise(message); }
void __throw_domain_error(const char* message) { Raise(message); }
void __throw_invalid_argument(const char* message) { Raise(message); }
void __throw_length_error(const char* message) { Raise(message); }
void __throw_out_of_range(const char* message) { Raise(message); }
void __throw_runtime_error(const char* message) { Raise(message); }
void __throw_range_error(const char* message) { Raise(message); }
void __throw_overflow_error(const char* message) { Raise(message); }
void __throw_underflow_error(const char* message) { Raise(message); }

void __throw_out_of_range_fmt(const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::string message = FormatLibraryMessage(format, args);
    va_end(args);
    throw tidemark::InternalError(message);
}

}  // namespace std
