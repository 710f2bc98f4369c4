// How mkdisks ends when it cannot or will not do what it was asked.
#pragma once

#include <stdexcept>
#include <string>

namespace tidemark::mkdisks {

// Exit codes: 0 done, 1 a disk set that does not check out, 2 a request refused before anything
// was written (bad arguments, an unsuitable product or setup program, disks that cannot hold it).
constexpr int kExitOk = 0;
constexpr int kExitMismatch = 1;
constexpr int kExitRefused = 2;

class Refusal : public std::runtime_error {
public:
    explicit Refusal(const std::string& message) : std::runtime_error(message) {}
};

// A file that could not be read or written; reported with its path and exit code 2.
class FileFailure : public std::runtime_error {
public:
    explicit FileFailure(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace tidemark::mkdisks
