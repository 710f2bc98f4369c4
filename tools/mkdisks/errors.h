// How mkdisks ends when it cannot or will not do what it was asked.
#pragma once

#include <stdexcept>
#include <string>

namespace tidemark::mkdisks {

// Exit codes, the same in every command: 0 done (verify: the set matches); 1 verify found a
// difference, or a file to read is damaged; 2 the command line or an input was refused, and
// nothing new was left behind.
constexpr int kExitOk = 0;
constexpr int kExitMismatch = 1;
constexpr int kExitRefused = 2;

class Refusal : public std::runtime_error {
public:
    explicit Refusal(const std::string& message) : std::runtime_error(message) {}
};

// A command line that does not say what to do: exit code 2 in every command, with a pointer to
// the command's help.
class UsageError : public Refusal {
public:
    explicit UsageError(const std::string& message) : Refusal(message) {}
};

// A file that could not be read or written; reported with its path.
class FileFailure : public std::runtime_error {
public:
    explicit FileFailure(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace tidemark::mkdisks
