#include "setup/path.h"

#include <gtest/gtest.h>

#include <new>
#include <vector>

#include "runtime/error.h"

using namespace tidemark;

TEST(JoinPath, InsertsExactlyOneBackslash) {
    EXPECT_EQ(JoinPath("", "Tidemark.Exe"), "Tidemark.Exe");
    EXPECT_EQ(JoinPath("C:\\", "Tidemark.Exe"), "C:\\Tidemark.Exe");
    EXPECT_EQ(JoinPath("C:\\Program Files", "FileTidemark"), "C:\\Program Files\\FileTidemark");
    EXPECT_EQ(JoinPath("A:\\", "Tidemark.001"), "A:\\Tidemark.001");
    // Nothing else is normalised.
    EXPECT_EQ(JoinPath("C:", "X"), "C:\\X");
    EXPECT_EQ(JoinPath("c:\\a ", "\\b"), "c:\\a \\\\b");
}

TEST(FolderPart, EndsAtLastBackslashOrColon) {
    EXPECT_EQ(FolderPart("A:\\SETUP.EXE"), "A:\\");
    EXPECT_EQ(FolderPart("C:\\TOOLS\\*.*"), "C:\\TOOLS\\");
    EXPECT_EQ(FolderPart("C:X"), "C:");
    EXPECT_EQ(FolderPart("NAME"), "");
}

// The drive's current folder is the system's; here only how an entry is read against it.
TEST(DriveRelative, ResolvedAgainstTheDrivesCurrentFolder) {
    for (const char* path : {"C:", "C:NEWTIDE", "c:X\\Y", "C:..\\X"}) {
        EXPECT_TRUE(IsDriveRelative(path)) << path;
    }
    for (const char* path :
         {"C:\\", "C:\\TIDE", "C:/TIDE", "\\\\SERVER\\SHARE", "TIDE", "1:X", ""}) {
        EXPECT_FALSE(IsDriveRelative(path)) << path;
    }
    EXPECT_EQ(ResolveDriveRelative("C:NEWTIDE", "C:\\"), "C:\\NEWTIDE");
    EXPECT_EQ(ResolveDriveRelative("C:NEWTIDE", "C:\\WORK"), "C:\\WORK\\NEWTIDE");
    EXPECT_EQ(ResolveDriveRelative("C:", "C:\\WORK"), "C:\\WORK");
    EXPECT_EQ(ResolveDriveRelative("C:\\TIDE", "C:\\WORK"), "C:\\TIDE");
    EXPECT_EQ(DriveLetterOf("a:\\"), 'A');
    EXPECT_EQ(DriveLetterOf("\\\\SERVER\\SHARE\\"), 0);
}

namespace {
struct SampleError : Error {
    explicit SampleError(std::string m) : Error(std::move(m)) {}
    const char* ClassName() const override { return "SampleError"; }
};
}  // namespace

TEST(ErrorReport, TextAndRuntimeMessages) {
    IoError missing(kFileNotFound);
    std::string text = FormatErrorReport(missing, "SETUP.EXE");
    EXPECT_EQ(text.rfind("Exception IoError in module SETUP.EXE at ", 0), 0u) << text;
    EXPECT_EQ(text.substr(text.find(".\n")), ".\nFile not found.");
    EXPECT_NE(missing.Address(), nullptr);
    // A message that ends with a full stop gets no second one.
    std::string dotted = FormatErrorReport(SampleError("Stopped."), "S");
    EXPECT_EQ(dotted.substr(dotted.find(".\n")), ".\nStopped.");

    // The messages of codes 2 and 101 are checked end to end in the report's text.
    EXPECT_EQ(IoError(100).Message(), "Read beyond end of file");
    EXPECT_EQ(IoError(32).Message(), "I/O error 32");
}

namespace {
std::string shown;
// What the program's entry shows when `raise` throws.
template <typename Raise>
std::string ReportOf(Raise raise) {
    shown.clear();
    try {
        raise();
    } catch (...) {
        ShowCaughtError([](const Error& error) { shown = FormatErrorReport(error, "S"); });
    }
    return shown.substr(0, shown.find(" in module")) + shown.substr(shown.find('\n'));
}
}  // namespace

TEST(ErrorReport, EveryExceptionEndsInTheReport) {
    EXPECT_EQ(ReportOf([] { throw IoError(kDiskFull); }), "Exception IoError\nDisk full.");
    EXPECT_EQ(ReportOf([] { throw std::bad_alloc(); }),
              "Exception OutOfMemoryError\nOut of memory.");
    EXPECT_EQ(ReportOf([] { std::vector<int>().at(3); }).rfind("Exception InternalError\n", 0), 0u);
    EXPECT_EQ(ReportOf([] { throw 7; }), "Exception InternalError\nAn exception of unknown kind.");
}
