// The commands behind RunMkdisks, each taking its arguments with the command's name first and
// returning its exit code; and the decisions of build that are worth testing on their own.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

namespace tidemark::mkdisks {

using Args = std::vector<std::string>;

int Build(const Args& args, std::ostream& out, std::ostream& err);
int Plan(const Args& args, std::ostream& out, std::ostream& err);
int List(const Args& args, std::ostream& out, std::ostream& err);
int Verify(const Args& args, std::ostream& out, std::ostream& err);
int Pack(const Args& args, std::ostream& out, std::ostream& err);
int Unpack(const Args& args, std::ostream& out, std::ostream& err);

// The first disk (from 1) whose files take more than a 1.44 MB floppy holds, disk 1 holding
// the setup program of setupSize bytes besides its volume; 0 when every disk fits.
int FirstOverfullFloppy(const std::vector<int64_t>& volumes, int64_t setupSize);

}  // namespace tidemark::mkdisks
