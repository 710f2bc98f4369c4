#include "payload/split_rules.h"

#include <gtest/gtest.h>

using namespace tidemark;

TEST(SplitRules, ExtensionIsFromTheLastDotUnlessAFolderSeparatorFollows) {
    EXPECT_EQ(FileExtension("Tidemark.Hlp"), ".Hlp");
    EXPECT_EQ(FileExtension("archive.tar.gz"), ".gz");
    EXPECT_EQ(FileExtension("README"), "");
    EXPECT_EQ(FileExtension("name."), ".");
    EXPECT_EQ(FileExtension(".LIB"), ".LIB");
    EXPECT_EQ(FileExtension("DISK.1\\SETUP"), "");
    EXPECT_EQ(FileExtension("A.B:C"), "");
    EXPECT_EQ(FileExtension(""), "");
    // Only a to z are upper-cased; an ANSI letter stays as it is.
    EXPECT_EQ(UpperExtension("x.h\xe9p"), ".H\xe9P");
}

TEST(SplitRules, LibAndDtpAreKeptInAnyLetterCase) {
    for (const char* name :
         {"User.LIB", "user.lib", "User.Lib", "notes.DTP", "notes.dtp", "Notes.dTp"}) {
        EXPECT_TRUE(KeepsExistingFile(name)) << name;
    }
    for (const char* name :
         {"User.LIB2", "User.LI", "LIB", "User.LIB.bak", "Tidemark.HLP", "DTP", "a.ĺib"}) {
        EXPECT_FALSE(KeepsExistingFile(name)) << name;
    }
}

TEST(SplitRules, HelpFilesGoUnderTheWindowsHelpFolder) {
    EXPECT_EQ(SplitTarget("Tidemark.hlp", "C:\\TIDEMARK", "C:\\WINDOWS"),
              "C:\\WINDOWS\\Help\\Tidemark.hlp");
    EXPECT_EQ(SplitTarget("Tidemark.HLP", "C:\\TIDEMARK\\", "C:\\WINDOWS\\"),
              "C:\\WINDOWS\\Help\\Tidemark.HLP");
    EXPECT_EQ(SplitTarget("Tidemark.Cnt", "C:\\TIDEMARK", "C:\\WINDOWS"),
              "C:\\TIDEMARK\\Tidemark.Cnt");
    EXPECT_EQ(SplitTarget("HLP", "C:\\TIDEMARK", "C:\\WINDOWS"), "C:\\TIDEMARK\\HLP");
}
