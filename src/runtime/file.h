// Win32 file access that raises IoError at the failing operation.
//
// src/runtime is the program's own runtime, the layer every other Win32 folder builds on: this
// file access, the folder and drive tests, the install state and the uncaught-error report. Its
// failures are IoErrors with the codes of core/error.h. Comments call this layer "the runtime";
// the libraries the compiler links into the program (msvcrt and the C++ support library) are
// "the language runtime".
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

namespace tidemark {

class File {
public:
    File() = default;
    File(const File&) = delete;
    File& operator=(const File&) = delete;
    File(File&& other) noexcept : handle_(other.handle_), path_(std::move(other.path_)) {
        other.handle_ = INVALID_HANDLE_VALUE;
    }
    File& operator=(File&& other) noexcept;
    // A file still open here is closed quietly: we are unwinding from an error already raised.
    ~File();

    // CreateFileA with the given access, sharing and disposition; IoError with the system's code.
    static File Open(const std::string& path, DWORD access, DWORD share, DWORD disposition);
    // An existing file, read only, others may read it too.
    static File OpenForReading(const std::string& path);
    // A new file replacing any of the name, read and write, others may read it.
    static File Create(const std::string& path);

    bool IsOpen() const { return handle_ != INVALID_HANDLE_VALUE; }
    HANDLE Handle() const { return handle_; }

    // Reads up to count bytes and returns how many were read (0 at the end).
    uint32_t ReadSome(void* buffer, uint32_t count);
    // Reads exactly count bytes; fewer raise 100 "Read beyond end of file".
    void Read(void* buffer, uint32_t count);
    // Writes exactly count bytes; fewer raise 101 "Disk full".
    void Write(const void* buffer, uint32_t count);
    // Absolute position from the file's start.
    void Seek(uint32_t position);
    uint32_t Position();
    uint32_t Size();
    bool AtEnd();
    // Cuts the file at the current position.
    void Truncate();
    void Close();

private:
    File(HANDLE handle, std::string path) : handle_(handle), path_(std::move(path)) {}
    HANDLE handle_ = INVALID_HANDLE_VALUE;
    std::string path_;  // named in its errors: a full disk is told by its drive
};

// Raises IoError for the calling thread's last system error, about the file at path.
[[noreturn]] void RaiseLastIoError(const std::string& path = std::string());

// The system's rename calls as the file layer makes them. The Windows-side tests replace them to
// act as Windows 9x does; the program never changes them.
struct RenameCalls {
    BOOL(WINAPI* Replacing)(LPCSTR from, LPCSTR to, DWORD flags);  // MoveFileExA
    BOOL(WINAPI* Plain)(LPCSTR from, LPCSTR to);                   // MoveFileA
};
extern RenameCalls SystemRenames;

// Renames `from` onto `to`, replacing a file of that name. Windows 9x has no replacing rename
// (it fails with ERROR_CALL_NOT_IMPLEMENTED): there the older file is renamed to `aside` (a
// name of this program's in the same folder) first, deleted once the new file has its name and
// renamed back when it cannot, so that the older file is never lost. Returns 0 or the system's
// code.
uint32_t RenameReplacing(const std::string& from, const std::string& to, const std::string& aside);

// True when a file (not a folder) of that path exists.
bool FileExists(const std::string& path);

// The running program's full file name as the system reports it.
std::string ModuleFileName();

}  // namespace tidemark
