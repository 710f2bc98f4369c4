// What mkdisks says about itself: the usage of every command, one command's help, its version.
#pragma once

#include <ostream>
#include <string>

namespace tidemark::mkdisks {

// The version of the build, set in one place (the project's version in the build files).
const char* MkdisksVersion();

// Every command's synopsis and the exit codes.
void PrintUsage(std::ostream& out);

// One command's synopsis, what it does, its options and its exit codes; false for a name that
// is not a command.
bool PrintCommandHelp(std::ostream& out, const std::string& command);

}  // namespace tidemark::mkdisks
