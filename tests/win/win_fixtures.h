// Scratch folders and files for the Windows-side tests.
#pragma once

#include <windows.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "core/error.h"

namespace win_test {

// A fresh folder under the temporary folder (whose name ends in a backslash), removed with
// everything in it afterwards. The process id keeps apart the tests ctest runs side by side.
struct ScratchFolder {
    std::string Path;
    explicit ScratchFolder(const std::string& name)
        : Path(std::filesystem::temp_directory_path().string() + "tm_" + name +
               std::to_string(GetCurrentProcessId())) {
        std::filesystem::remove_all(Path);
        std::filesystem::create_directories(Path);
    }
    ~ScratchFolder() {
        std::error_code ignored;  // a file still held open stays behind
        std::filesystem::remove_all(Path, ignored);
    }
    std::string operator/(const std::string& name) const { return Path + "\\" + name; }
    std::string MakeFolder(const std::string& name) const {
        std::filesystem::create_directories(*this / name);
        return *this / name;
    }
};

// Bytes that differ from block to block and from seed to seed, so a misplaced block shows.
inline std::vector<uint8_t> Pattern(size_t size, uint32_t seed) {
    std::vector<uint8_t> bytes(size);
    for (auto& b : bytes) b = uint8_t((seed = seed * 1103515245u + 12345u) >> 16);
    return bytes;
}

inline void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

inline std::vector<uint8_t> ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

inline bool Exists(const std::string& path) { return std::filesystem::exists(path); }

// The I/O error code an action raises, 0 when it raises none.
inline int IoCodeOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const tidemark::IoError& e) {
        return e.Code();
    }
    return 0;
}

}  // namespace win_test
