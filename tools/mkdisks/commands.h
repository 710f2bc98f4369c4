// The mkdisks command line: build, plan, list, verify, pack, unpack.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace tidemark::mkdisks {

// Runs one command (args without the program's name); returns the exit code. The report goes
// to out, refusals and failures to err.
int RunMkdisks(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace tidemark::mkdisks
