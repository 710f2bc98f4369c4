// The disk set's numbers as the header that the setup program is compiled with.
#pragma once

#include <cstdint>
#include <string>

namespace tidemark::mkdisks {

// Depends on nothing but the two numbers, so that `plan` and `build` write the same text for
// the same disk set and a changed header always means changed numbers.
std::string NumbersHeaderText(int diskCount, int64_t expectedArchiveSize);

}  // namespace tidemark::mkdisks
