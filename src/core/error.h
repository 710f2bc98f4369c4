// The errors of the setup program. Only the program's entry catches them: it shows the
// uncaught-error report and ends the process with exit code 1.
#pragma once

#include <cstdint>
#include <string>

namespace tidemark {

// Base of every error the program raises: a message and the address where it was raised.
class Error {
public:
    explicit Error(std::string message);
    virtual ~Error() = default;

    const std::string& Message() const { return message_; }
    // Address of the code that raised the error; shown in the report.
    const void* Address() const { return address_; }
    // Class name shown in the report.
    virtual const char* ClassName() const = 0;
    // What the code that knows the circumstances adds before the error goes on unwinding.
    void AddToMessage(const std::string& text) { message_ += text; }

protected:
    // Lets a derived constructor record its own caller, not itself.
    void SetAddress(const void* address) { address_ = address; }

private:
    std::string message_;
    const void* address_ = nullptr;
};

// A failure of file access, with its code (an IoCode below, else the system's error code) and,
// when known, the file's path.
class IoError : public Error {
public:
    explicit IoError(int code, std::string path = std::string());
    int Code() const { return code_; }
    const std::string& Path() const { return path_; }
    const char* ClassName() const override { return "IoError"; }

    // The message for a code: 2 "File not found" ... otherwise "I/O error %d".
    static std::string MessageFor(int code);

private:
    int code_;
    std::string path_;
};

enum IoCode : int {
    kFileNotFound = 2,
    kInvalidFilename = 3,
    kTooManyOpenFiles = 4,
    kFileAccessDenied = 5,
    kReadBeyondEnd = 100,
    kDiskFull = 101,
    kInvalidNumericInput = 106,
};

// Raised by the decoder when its tables cannot be had or released.
class LzhError : public Error {
public:
    explicit LzhError(std::string message) : Error(std::move(message)) {}
    const char* ClassName() const override { return "LzhError"; }
};

// Raised by the registry accessor.
class RegistryError : public Error {
public:
    explicit RegistryError(std::string message) : Error(std::move(message)) {}
    const char* ClassName() const override { return "RegistryError"; }
};

// Raised when a file table would make later steps write outside the destination or read
// outside the unpacked image.
class FileTableError : public Error {
public:
    explicit FileTableError(std::string message) : Error(std::move(message)) {}
    const char* ClassName() const override { return "FileTableError"; }
};

// Memory exhaustion, reported like every other uncaught error.
class OutOfMemoryError : public Error {
public:
    OutOfMemoryError() : Error("Out of memory") {}
    const char* ClassName() const override { return "OutOfMemoryError"; }
};

// An exception that is not one of the program's own (of the language's library, say), with its
// text. Such an exception records no address; the report gives the one where it was caught.
class InternalError : public Error {
public:
    explicit InternalError(std::string message) : Error(std::move(message)) {}
    const char* ClassName() const override { return "InternalError"; }
};

// Hands `show` the error to report for the exception being handled: the program's own error as
// it is, std::bad_alloc as an OutOfMemoryError, anything else as an InternalError. Call only
// inside a catch block, so that no exception of any kind ends the program without the report.
void ShowCaughtError(void (*show)(const Error&));

// Raised when the unpacked image is not the one the disks were made from.
class ImageError : public Error {
public:
    explicit ImageError(std::string message) : Error(std::move(message)) {}
    const char* ClassName() const override { return "ImageError"; }
};

// Text of the uncaught-error report:
// "Exception <class> in module <module> at <address>.\n<message>" plus "." unless the message
// already ends with one.
std::string FormatErrorReport(const Error& error, const std::string& moduleName);

}  // namespace tidemark
