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
    }
    void TearDown() override {
        SetCurrentDirectoryA(cwd_);
        for (const char* folder : {"\\NEW\\SUB", "\\NEW", "\\TOOLS"}) {
            RemoveDirectoryA((root_ + folder).c_str());
        }
        DeleteFileA((root_ + "\\FILE.TXT").c_str());
        RemoveDirectoryA(root_.c_str());
    }
    std::string Current() {
        char path[MAX_PATH];
        GetCurrentDirectoryA(sizeof path, path);
        return path;
    }

    std::string root_;
    char cwd_[MAX_PATH];
};

// A letter the system reports as having no root directory (no volume behind it).
char UnmappedLetter() {
    for (char letter = 'Q'; letter <= 'Y'; ++letter) {
        if (GetDriveTypeA((std::string(1, letter) + ":\\").c_str()) == DRIVE_NO_ROOT_DIR) {
            return letter;
        }
    }
    return '\0';
}

}  // namespace

TEST_F(FolderTest, DrivesCountAsPresentUnlessTheSystemKnowsNothing) {
    EXPECT_TRUE(DriveExists('C'));
    EXPECT_TRUE(DriveExists('c'));  // upper-cased first
    char unmapped = UnmappedLetter();
    ASSERT_NE(unmapped, '\0');
    EXPECT_TRUE(DriveExists(unmapped));  // "no root directory" is not "unknown"
    EXPECT_FALSE(DriveExists('1'));
    EXPECT_FALSE(DriveExists('\\'));
}

TEST_F(FolderTest, FolderExistsOnRealFolders) {
    EXPECT_TRUE(FolderExists("C:\\"));
    EXPECT_TRUE(FolderExists(root_));
    EXPECT_TRUE(FolderExists(root_ + "\\TOOLS"));
    EXPECT_TRUE(FolderExists(root_ + "\\TOOLS\\"));  // one trailing backslash is ignored
    EXPECT_FALSE(FolderExists(root_ + "\\FILE.TXT"));
    EXPECT_FALSE(FolderExists(root_ + "\\MISSING"));
    EXPECT_FALSE(FolderExists(""));
    // Wildcards: the folder part decides.
    EXPECT_TRUE(FolderExists(root_ + "\\TOOLS\\*.*"));
    EXPECT_FALSE(FolderExists(root_ + "\\MISSING\\*.*"));
    // Three characters or fewer: the drive alone decides.
    std::string unmapped = std::string(1, UnmappedLetter()) + ":\\";
    EXPECT_TRUE(FolderExists(unmapped));
    EXPECT_FALSE(FolderExists(unmapped + "SUB"));
}

TEST_F(FolderTest, PrepareFolderCreatesOneLevelAndEntersIt) {
    InstallState.DestinationFolder = "before";
    EXPECT_TRUE(PrepareFolder(root_ + "\\TOOLS"));  // exists: nothing created, not entered
    EXPECT_EQ(InstallState.DestinationFolder, root_ + "\\TOOLS");
    EXPECT_EQ(Current(), cwd_);

    EXPECT_FALSE(PrepareFolder(root_ + "\\NEW\\SUB"));  // two new levels
    EXPECT_FALSE(FolderExists(root_ + "\\NEW"));
    EXPECT_EQ(InstallState.DestinationFolder, root_ + "\\TOOLS");

    EXPECT_TRUE(PrepareFolder(root_ + "\\NEW"));
    EXPECT_TRUE(FolderExists(root_ + "\\NEW"));
    EXPECT_EQ(InstallState.DestinationFolder, root_ + "\\NEW");
    EXPECT_STRCASEEQ(Current().c_str(), (root_ + "\\NEW").c_str());

    EXPECT_FALSE(PrepareFolder(root_ + "\\FILE.TXT"));  // a file is neither found nor entered
}

TEST_F(FolderTest, OnlyRealFoldersNameAnExistingFolder) {
    EXPECT_TRUE(NamesExistingFolder("C:\\"));
    EXPECT_TRUE(NamesExistingFolder(root_ + "\\TOOLS\\"));
    // What the looser tests above let through.
    EXPECT_TRUE(PrepareFolder(root_ + "\\TOOLS\\*.*"));
    EXPECT_FALSE(NamesExistingFolder(root_ + "\\TOOLS\\*.*"));
    EXPECT_FALSE(NamesExistingFolder(std::string(1, UnmappedLetter()) + ":\\"));
    SetCurrentDirectoryA(root_.c_str());
    EXPECT_FALSE(NamesExistingFolder(root_.substr(0, 2) + "NOTHING"));  // drive-relative
    EXPECT_TRUE(NamesExistingFolder(root_.substr(0, 2) + "TOOLS"));
    EXPECT_FALSE(NamesExistingFolder(root_ + "\\FILE.TXT"));
}
