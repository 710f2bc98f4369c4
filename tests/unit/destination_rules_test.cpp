#include "pages/destination_rules.h"

#include <gtest/gtest.h>

using namespace tidemark;

TEST(DestinationForm, AcceptsALetterAndAColon) {
    for (const char* entry : {"C:", "C:\\", "C:X", "Z:\\PROGRAM FILES\\FILETIDEMARK", "A:\\",
                              "C:\\TOOLS\\*.*", "Q:\\"}) {
        EXPECT_TRUE(PassesFormCheck(entry)) << entry;
    }
}

TEST(DestinationForm, RefusesMalformedEntries) {
    for (const char* entry : {"", "C", "\\\\SERVER\\SHARE", " C:\\", "CC:\\", "C\\", "1:\\", "@:\\",
                              "[:\\", "c:\\lower"}) {
        EXPECT_FALSE(PassesFormCheck(entry)) << '"' << entry << '"';
    }
    // Letters outside A..Z in the ANSI code page are not drive letters.
    EXPECT_FALSE(PassesFormCheck(std::string("\xC4:\\")));
}

TEST(FolderProbe, ShortPathsAreSettledByTheirDrive) {
    for (const char* path : {"C", "C:", "C:\\", "C:X", "q:\\"}) {
        FolderProbe probe = PlanFolderProbe(path);
        EXPECT_EQ(probe.kind, FolderProbe::Kind::kDrive) << path;
        EXPECT_EQ(probe.driveLetter, path[0]) << path;
    }
    EXPECT_EQ(PlanFolderProbe("").kind, FolderProbe::Kind::kAbsent);
}

TEST(FolderProbe, LongerPathsAreSearchedWithoutOneTrailingBackslash) {
    FolderProbe probe = PlanFolderProbe("C:\\TOOLS\\");
    EXPECT_EQ(probe.kind, FolderProbe::Kind::kSearch);
    EXPECT_EQ(probe.searchPath, "C:\\TOOLS");
    EXPECT_EQ(PlanFolderProbe("C:\\TOOLS").searchPath, "C:\\TOOLS");
    EXPECT_EQ(PlanFolderProbe("C:\\TOOLS\\\\").searchPath, "C:\\TOOLS\\");  // only one removed
    EXPECT_EQ(PlanFolderProbe("C:\\A\\").kind, FolderProbe::Kind::kSearch);
}

TEST(FolderProbe, WildcardsAreCutToTheFolderPart) {
    FolderProbe probe = PlanFolderProbe("C:\\TOOLS\\*.*");
    EXPECT_EQ(probe.kind, FolderProbe::Kind::kSearch);
    EXPECT_EQ(probe.searchPath, "C:\\TOOLS");
    probe = PlanFolderProbe("C:\\*.EXE");  // folder part C:\ is a drive
    EXPECT_EQ(probe.kind, FolderProbe::Kind::kDrive);
    EXPECT_EQ(probe.driveLetter, 'C');
    probe = PlanFolderProbe("D:FILE?");  // cut after the colon
    EXPECT_EQ(probe.kind, FolderProbe::Kind::kDrive);
    EXPECT_EQ(probe.driveLetter, 'D');
    EXPECT_EQ(PlanFolderProbe("*.*").kind, FolderProbe::Kind::kAbsent);  // no folder part
    EXPECT_EQ(PlanFolderProbe("C:\\A*\\B").searchPath, "C:\\A*");  // cut at the last backslash
}

TEST(FolderProbe, DriveRootPath) {
    EXPECT_EQ(DriveRootPath('C'), "C:\\");
    EXPECT_EQ(DriveRootPath('Q'), "Q:\\");
}
