// Scratch folders, files and a stand-in progress page for the tests of the progress pages.
#pragma once

#include <windows.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "payload/meter.h"
#include "runtime/error.h"
#include "setup/install_state.h"

namespace progress_test {

// A fresh folder under the temporary folder, removed with everything in it afterwards.
class ScratchFolder {
public:
    explicit ScratchFolder(const std::string& name) {
        char temp[MAX_PATH];
        GetTempPathA(sizeof temp, temp);
        path_ = std::string(temp) + "tm_" + name + "_" + std::to_string(GetCurrentProcessId());
        Remove(path_);
        CreateDirectoryA(path_.c_str(), nullptr);
    }
    ~ScratchFolder() { Remove(path_); }
    const std::string& Path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + "\\" + name; }
    std::string MakeFolder(const std::string& name) const {
        std::string folder = *this / name;
        CreateDirectoryA(folder.c_str(), nullptr);
        return folder;
    }

private:
    static void Remove(const std::string& path) {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
    std::string path_;
};

// Bytes that differ from block to block and from file to file, so a misplaced block shows.
inline std::vector<uint8_t> Pattern(size_t size, uint32_t seed) {
    std::vector<uint8_t> bytes(size);
    uint32_t x = seed * 2654435761u + 12345u;
    for (auto& b : bytes) {
        x = x * 1103515245u + 12345u;
        b = static_cast<uint8_t>(x >> 16);
    }
    return bytes;
}

inline void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

inline std::vector<uint8_t> ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

inline bool Exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// The I/O error code an action raises, 0 when it raises none.
inline int IoCodeOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const tidemark::IoError& e) {
        return e.Code();
    }
    return 0;
}

// A window with a frame control 101, set up as a progress page's meter. Message-only: it needs
// no display, which the test runs do not always have.
class StandInPage {
public:
    StandInPage() {
        window_ = CreateWindowExA(0, "STATIC", "Please Stand By...", 0, 0, 0, 341, 150,
                                  HWND_MESSAGE, nullptr, GetModuleHandleA(nullptr), nullptr);
        CreateWindowExA(0, "STATIC", "frame", WS_CHILD | WS_VISIBLE | SS_BLACKFRAME, 22, 40, 246,
                        19, window_, reinterpret_cast<HMENU>(101), GetModuleHandleA(nullptr),
                        nullptr);
        tidemark::SetUpMeter(window_);
    }
    ~StandInPage() {
        tidemark::TearDownMeter(window_);
        DestroyWindow(window_);
    }
    HWND Window() const { return window_; }

private:
    HWND window_ = nullptr;
};

}  // namespace progress_test
