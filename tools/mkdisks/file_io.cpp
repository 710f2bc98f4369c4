#include "file_io.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <random>
#include <system_error>

#include "errors.h"

namespace tidemark::mkdisks {

namespace fs = std::filesystem;

namespace {

std::string Reason() { return std::strerror(errno); }

struct FileCloser {
    void operator()(std::FILE* f) const {
        if (f) std::fclose(f);
    }
};

}  // namespace

std::vector<uint8_t> ReadWholeFile(const fs::path& path) {
    std::FILE* f = std::fopen(path.string().c_str(), "rb");
    if (!f) throw FileFailure("cannot open " + path.string() + ": " + Reason());
    std::unique_ptr<std::FILE, FileCloser> guard(f);
    std::vector<uint8_t> data;
    uint8_t block[65536];
    size_t n;
    while ((n = std::fread(block, 1, sizeof block, f)) > 0)
        data.insert(data.end(), block, block + n);
    if (std::ferror(f)) throw FileFailure("cannot read " + path.string() + ": " + Reason());
    return data;
}

namespace {

void WriteInPlace(const fs::path& path, const uint8_t* data, size_t size) {
    std::FILE* f = std::fopen(path.string().c_str(), "wb");
    if (!f) throw FileFailure("cannot create " + path.string() + ": " + Reason());
    bool ok = size == 0 || std::fwrite(data, 1, size, f) == size;
    // fclose flushes: a full disk may only show here.
    ok = (std::fclose(f) == 0) && ok;
    if (!ok) throw FileFailure("cannot write " + path.string() + ": " + Reason());
}

}  // namespace

void WriteWholeFile(const fs::path& path, const uint8_t* data, size_t size) {
    fs::path temporary = path;
    // A name of its own, so that two runs sharing the target do not write into one file.
    temporary += ".partial" + std::to_string(std::random_device{}());
    std::error_code ec;
    try {
        WriteInPlace(temporary, data, size);
        fs::rename(temporary, path, ec);
        if (ec) throw FileFailure("cannot rename " + temporary.string() + ": " + ec.message());
    } catch (...) {
        fs::remove(temporary, ec);
        throw;
    }
}

}  // namespace tidemark::mkdisks
