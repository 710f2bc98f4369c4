#include "pages/folders.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <string>

#include "setup/install_state.h"

using namespace tidemark;

namespace {

// A scratch folder holding one sub-folder and one file; the current directory is put back after.
class FolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        char temp[MAX_PATH];
        GetTempPathA(sizeof temp, temp);
        root_ = std::string(temp) + "tm_folders_" + std::to_string(GetCurrentProcessId());
        CreateDirectoryA(root_.c_str(), nullptr);
        CreateDirectoryA((root_ + "\\TOOLS").c_str(), nullptr);
        std::ofstream(root_ + "\\FILE.TXT") << "not a folder";
        GetCurrentDirectoryA(sizeof cwd_, cwd_);
        for (unmapped_ = "Q:\\"; unmapped_[0] < 'Y'; ++unmapped_[0]) {
            if (GetDriveTypeA(unmapped_.c_str()) == DRIVE_NO_ROOT_DIR) break;
        }
    }
    void TearDown() override {
        SetCurrentDirectoryA(cwd_);
        for (const char* folder : {"\\NEW", "\\TOOLS"}) RemoveDirectoryA((root_ + folder).c_str());
        DeleteFileA((root_ + "\\FILE.TXT").c_str());
        RemoveDirectoryA(root_.c_str());
    }

    std::string root_;
    std::string unmapped_;  // a letter with no volume behind it
    char cwd_[MAX_PATH];
};

}  // namespace

TEST_F(FolderTest, DrivesAndFolders) {
    EXPECT_TRUE(DriveExists('C'));
    EXPECT_TRUE(DriveExists('c'));
    EXPECT_TRUE(DriveExists(unmapped_[0]));  // "no root directory" is not "unknown"
    EXPECT_FALSE(DriveExists('1'));

    EXPECT_TRUE(FolderExists("C:\\"));
    EXPECT_TRUE(FolderExists(root_ + "\\TOOLS\\"));  // one trailing backslash is ignored
    EXPECT_FALSE(FolderExists(root_ + "\\FILE.TXT"));
    EXPECT_FALSE(FolderExists(root_ + "\\MISSING"));
    EXPECT_TRUE(FolderExists(root_ + "\\TOOLS\\*.*"));  // wildcards: the folder part decides
    EXPECT_FALSE(FolderExists(root_ + "\\MISSING\\*.*"));
    EXPECT_TRUE(FolderExists(unmapped_));  // three characters: the drive alone decides
    EXPECT_FALSE(FolderExists(unmapped_ + "SUB"));
}

TEST_F(FolderTest, PrepareFolderCreatesOneLevelAndEntersIt) {
    char before[MAX_PATH], after[MAX_PATH];
    GetCurrentDirectoryA(sizeof before, before);
    EXPECT_TRUE(PrepareFolder(root_ + "\\TOOLS"));  // exists: nothing created, not entered
    EXPECT_EQ(InstallState.DestinationFolder, root_ + "\\TOOLS");
    GetCurrentDirectoryA(sizeof after, after);
    EXPECT_STREQ(after, before);

    // Two new levels and a file are refused end to end.
    EXPECT_TRUE(PrepareFolder(root_ + "\\NEW"));
    EXPECT_TRUE(FolderExists(root_ + "\\NEW"));
    EXPECT_EQ(InstallState.DestinationFolder, root_ + "\\NEW");
    GetCurrentDirectoryA(sizeof after, after);
    EXPECT_STRCASEEQ(after, (root_ + "\\NEW").c_str());
}

// Wildcards, a drive letter with nothing behind it, a drive-relative path to nothing and a file
// are refused end to end; here, what the looser tests above let through and what still passes.
TEST_F(FolderTest, OnlyRealFoldersNameAnExistingFolder) {
    EXPECT_TRUE(NamesExistingFolder(root_ + "\\TOOLS\\"));
    EXPECT_TRUE(PrepareFolder(root_ + "\\TOOLS\\*.*"));
    EXPECT_FALSE(NamesExistingFolder(root_ + "\\TOOLS\\*.*"));
    SetCurrentDirectoryA(root_.c_str());
    EXPECT_TRUE(NamesExistingFolder(root_.substr(0, 2) + "TOOLS"));  // drive-relative
}
