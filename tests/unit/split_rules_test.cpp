#include "payload/split_rules.h"

#include <gtest/gtest.h>

#include "payload/placement_texts.h"

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
    EXPECT_EQ(SplitFolder("Tidemark.hlp", "C:\\TIDEMARK", "C:\\WINDOWS"), "C:\\WINDOWS\\Help");
    EXPECT_EQ(SplitFolder("Tidemark.HLP", "C:\\TIDEMARK\\", "C:\\WINDOWS\\"), "C:\\WINDOWS\\Help");
    EXPECT_EQ(SplitFolder("Tidemark.Cnt", "C:\\TIDEMARK", "C:\\WINDOWS"), "C:\\TIDEMARK");
    EXPECT_EQ(SplitFolder("HLP", "C:\\TIDEMARK", "C:\\WINDOWS"), "C:\\TIDEMARK");
}

TEST(PlacementTexts, ReasonsAndTheClosingPromptSaySoWhenAFileIsMissing) {
    EXPECT_EQ(PlacementReason({5, false, true, false}), "a folder of that name is in the way");
    EXPECT_EQ(PlacementReason({5, false, false, true}), "the file there is read-only");
    EXPECT_EQ(PlacementReason({3, true, false, false}), "the path is longer than Windows allows");
    EXPECT_EQ(PlacementReason({32}), "the file is in use by another program");
    EXPECT_EQ(PlacementReason({101}), "the disk is full");
    EXPECT_EQ(PlacementReason({112}), "the disk is full");
    EXPECT_EQ(PlacementReason({87}), "I/O error 87");

    EXPECT_EQ(ClosingPromptText("Installed.\r\n\r\nDo you wish to run ", "FT", {}),
              "Installed.\r\n\r\nDo you wish to run FT?");
    EXPECT_EQ(ClosingPromptText("Installed.", "FT", {"A.TXT: x.", "B.TXT: y."}),
              "FT has been installed, but not every file is in its place:\r\n\r\nA.TXT: x.\r\n\r\n"
              "B.TXT: y.\r\n\r\nDo you wish to run FT?");
}
