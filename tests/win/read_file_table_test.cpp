#include "payload/read_file_table.h"

#include <gtest/gtest.h>
#include <windows.h>

#include "progress_fixtures.h"
#include "runtime/error.h"
#include "runtime/error_report.h"
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

TEST(ReadFileTable, ReadsTheTrailerOfARealFile) {
    PayloadTrailer in;
    in.UnpackedSize = 300;
    in.Table = {{"UnInstal.Exe", 100, 50}, {"A.HLP", 150, 150}};
    std::vector<uint8_t> bytes(4096, 0xCC);  // stands for the program itself
    std::vector<uint8_t> trailer = EncodeTrailer(in);
    bytes.insert(bytes.end(), trailer.begin(), trailer.end());
    std::string path = TempPath("rft_good.exe");
    WriteBytes(path, bytes);

    // The running program holds its own file open for reading; the table must still be read.
    File held = File::OpenForReading(path);
    PayloadTrailer out = ReadFileTable(path);
    EXPECT_EQ(out.UnpackedSize, 300);
    ASSERT_EQ(out.Table.size(), 2u);
    EXPECT_EQ(out.Table[0].Name, "UnInstal.Exe");
    EXPECT_EQ(out.Table[1].Offset, 150);
    EXPECT_EQ(out.Table[1].Size, 150);
    held.Close();
    DeleteFileA(path.c_str());
}

TEST(ReadFileTable, ShortOrMissingFilesRaiseTheRuntimesErrors) {
    std::string shortPath = TempPath("rft_short.exe");
    WriteBytes(shortPath, {0x01, 0x02, 0x03, 0x05, 0x00, 0x00, 0x00});  // claims 3 entries
    EXPECT_EQ(IoCodeOf([&] { ReadFileTable(shortPath); }), kReadBeyondEnd);
    WriteBytes(shortPath, {0x01, 0x02});
    EXPECT_NE(IoCodeOf([&] { ReadFileTable(shortPath); }), 0);
    DeleteFileA(shortPath.c_str());

    EXPECT_EQ(IoCodeOf([&] { ReadFileTable(TempPath("rft_no_such_file.exe")); }), kFileNotFound);
}

TEST(ReadFileTable, RefusesAnUnsafeTableBeforeAnythingIsCopied) {
    PayloadTrailer in;
    in.UnpackedSize = 100;
    in.Table = {{"..", 10, 10}};
    std::vector<uint8_t> bytes = EncodeTrailer(in);
    std::string path = TempPath("rft_unsafe.exe");
    WriteBytes(path, bytes);
    EXPECT_THROW(ReadFileTable(path), FileTableError);
    DeleteFileA(path.c_str());
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

TEST(ErrorReport, NamesTheModuleAndTheMessage) {
    IoError error(kDiskFull);
    std::string text = FormatErrorReport(error, "win_tests.exe");
    EXPECT_EQ(text.rfind("Exception IoError in module win_tests.exe at ", 0), 0u);
    EXPECT_EQ(text.substr(text.size() - 11), "\nDisk full.");
}
