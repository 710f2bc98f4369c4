#include "payload/read_file_table.h"

#include <gtest/gtest.h>
#include <windows.h>

#include "progress_fixtures.h"
#include "runtime/error.h"
#include "runtime/file.h"

using namespace tidemark;
using progress_test::IoCodeOf;
using progress_test::WriteBytes;

namespace {

std::string TempPath(const char* name) {
    char folder[MAX_PATH];
    GetTempPathA(sizeof folder, folder);
    return std::string(folder) + name;
}

}  // namespace

// Reading the running program's own table, and refusing an unsafe one, are checked end to end.
TEST(ReadFileTable, ShortOrMissingFilesRaiseTheRuntimesErrors) {
    std::string shortPath = TempPath("rft_short.exe");
    WriteBytes(shortPath, {0x01, 0x02, 0x03, 0x05, 0x00, 0x00, 0x00});  // claims 3 entries
    EXPECT_EQ(IoCodeOf([&] { ReadFileTable(shortPath); }), kReadBeyondEnd);
    WriteBytes(shortPath, {0x01, 0x02});
    EXPECT_NE(IoCodeOf([&] { ReadFileTable(shortPath); }), 0);
    DeleteFileA(shortPath.c_str());

    EXPECT_EQ(IoCodeOf([&] { ReadFileTable(TempPath("rft_no_such_file.exe")); }), kFileNotFound);
}

TEST(FileWrapper, ShortWritesAndReadsAreFailures) {
    std::string path = TempPath("fw.bin");
    File out = File::Create(path);
    out.Write("abcdef", 6);
    out.Seek(2);
    out.Truncate();
    EXPECT_EQ(out.Size(), 2u);
    out.Close();
    File in = File::OpenForReading(path);
    char buffer[8];
    EXPECT_EQ(IoCodeOf([&] { in.Read(buffer, 3); }), kReadBeyondEnd);
    EXPECT_TRUE(in.AtEnd());
    // A read-only handle cannot be written to: the system's code, not a silent success.
    EXPECT_EQ(IoCodeOf([&] { in.Write("x", 1); }), kFileAccessDenied);
    in.Close();
    DeleteFileA(path.c_str());
}
