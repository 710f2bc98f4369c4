#include "runtime/file.h"

#include "core/error.h"

namespace tidemark {

[[noreturn]] void RaiseLastIoError(const std::string& path) {
    DWORD code = GetLastError();
    // A full disk reported by the system is kDiskFull, as a short write is.
    if (code == ERROR_DISK_FULL || code == ERROR_HANDLE_DISK_FULL) throw IoError(kDiskFull, path);
    throw IoError(code == 0 ? 1 : static_cast<int>(code), path);
}

File& File::operator=(File&& other) noexcept {
    if (this != &other) {
        if (IsOpen()) CloseHandle(handle_);
        handle_ = other.handle_;
        path_ = std::move(other.path_);
        other.handle_ = INVALID_HANDLE_VALUE;
    }
    return *this;
}

File::~File() {
    if (IsOpen()) CloseHandle(handle_);
}

File File::Open(const std::string& path, DWORD access, DWORD share, DWORD disposition) {
    HANDLE handle = CreateFileA(path.c_str(), access, share, nullptr, disposition,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) RaiseLastIoError(path);
    return File(handle, path);
}

File File::OpenForReading(const std::string& path) {
    return Open(path, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING);
}

File File::Create(const std::string& path) {
    return Open(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, CREATE_ALWAYS);
}

uint32_t File::ReadSome(void* buffer, uint32_t count) {
    DWORD read = 0;
    if (!ReadFile(handle_, buffer, count, &read, nullptr)) RaiseLastIoError(path_);
    return read;
}

void File::Read(void* buffer, uint32_t count) {
    if (ReadSome(buffer, count) != count) throw IoError(kReadBeyondEnd);
}

void File::Write(const void* buffer, uint32_t count) {
    DWORD written = 0;
    if (!WriteFile(handle_, buffer, count, &written, nullptr)) RaiseLastIoError(path_);
    if (written != count) throw IoError(kDiskFull, path_);
}

void File::Seek(uint32_t position) {
    LONG high = 0;
    SetLastError(NO_ERROR);
    DWORD result = SetFilePointer(handle_, static_cast<LONG>(position), &high, FILE_BEGIN);
    if (result == INVALID_SET_FILE_POINTER && GetLastError() != NO_ERROR) RaiseLastIoError(path_);
}

uint32_t File::Position() {
    SetLastError(NO_ERROR);
    DWORD result = SetFilePointer(handle_, 0, nullptr, FILE_CURRENT);
    if (result == INVALID_SET_FILE_POINTER && GetLastError() != NO_ERROR) RaiseLastIoError(path_);
    return result;
}

uint32_t File::Size() {
    SetLastError(NO_ERROR);
    DWORD size = GetFileSize(handle_, nullptr);
    if (size == INVALID_FILE_SIZE && GetLastError() != NO_ERROR) RaiseLastIoError(path_);
    return size;
}

bool File::AtEnd() { return Position() >= Size(); }

void File::Truncate() {
    if (!SetEndOfFile(handle_)) RaiseLastIoError(path_);
}

void File::Close() {
    HANDLE handle = handle_;
    handle_ = INVALID_HANDLE_VALUE;
    if (!CloseHandle(handle)) RaiseLastIoError(path_);
}

RenameCalls SystemRenames = {MoveFileExA, MoveFileA};

uint32_t RenameReplacing(const std::string& from, const std::string& to, const std::string& aside) {
    if (SystemRenames.Replacing(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING)) return 0;
    DWORD code = GetLastError();
    if (code != ERROR_CALL_NOT_IMPLEMENTED) return code;
    bool older = GetFileAttributesA(to.c_str()) != INVALID_FILE_ATTRIBUTES;
    if (older) {
        DeleteFileA(aside.c_str());  // left by a run that was killed here
        if (!SystemRenames.Plain(to.c_str(), aside.c_str())) return GetLastError();
    }
    if (SystemRenames.Plain(from.c_str(), to.c_str())) {
        if (older) DeleteFileA(aside.c_str());
        return 0;
    }
    code = GetLastError();
    if (older) SystemRenames.Plain(aside.c_str(), to.c_str());
    return code;
}

bool FileExists(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string ModuleFileName() {
    char path[MAX_PATH + 1];
    DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    return std::string(path, length);
}

}  // namespace tidemark
