#include "pages/destination_rules.h"

#include <gtest/gtest.h>

using namespace tidemark;

TEST(DestinationForm, ALetterAndAColonPass) {
    for (const char* entry : {"C:", "C:\\", "C:X", "Z:\\PROGRAM FILES", "C:\\TOOLS\\*.*"}) {
        EXPECT_TRUE(PassesFormCheck(entry)) << entry;
    }
    for (const char* entry : {"", "C", "\\\\SERVER\\SHARE", " C:\\", "CC:\\", "1:\\", "@:\\",
                              "[:\\", "c:\\lower", "\xC4:\\"}) {
        EXPECT_FALSE(PassesFormCheck(entry)) << '"' << entry << '"';
    }
}

TEST(FolderProbe, ShortPathsGoByTheirDriveLongerOnesAreSearched) {
    for (const char* path : {"C", "C:", "C:\\", "C:X"}) {
        FolderProbe probe = PlanFolderProbe(path);
        EXPECT_EQ(probe.kind, FolderProbe::Kind::kDrive) << path;
        EXPECT_EQ(probe.driveLetter, 'C') << path;
    }
    EXPECT_EQ(PlanFolderProbe("").kind, FolderProbe::Kind::kAbsent);
    FolderProbe probe = PlanFolderProbe("C:\\TOOLS\\");
    EXPECT_EQ(probe.kind, FolderProbe::Kind::kSearch);
    EXPECT_EQ(probe.searchPath, "C:\\TOOLS");
    EXPECT_EQ(PlanFolderProbe("C:\\TOOLS\\\\").searchPath, "C:\\TOOLS\\");  // only one removed
}

TEST(FolderProbe, WildcardsAreCutToTheFolderPart) {
    EXPECT_EQ(PlanFolderProbe("C:\\TOOLS\\*.*").searchPath, "C:\\TOOLS");
    EXPECT_EQ(PlanFolderProbe("C:\\A*\\B").searchPath, "C:\\A*");  // cut at the last backslash
    FolderProbe probe = PlanFolderProbe("D:FILE?");                // cut after the colon
    EXPECT_EQ(probe.kind, FolderProbe::Kind::kDrive);
    EXPECT_EQ(probe.driveLetter, 'D');
    EXPECT_EQ(PlanFolderProbe("*.*").kind, FolderProbe::Kind::kAbsent);
}

// MAX_PATH holds 259 characters and the terminator.
TEST(DestinationFolder, LongestNameMustFitAndChangeableSourceDriveIsRefused) {
    std::string folder = "C:\\" + std::string(243, 'A');  // 246 characters
    EXPECT_TRUE(FolderHoldsNames(folder, 12));            // 246 + 1 + 12 = 259
    EXPECT_FALSE(FolderHoldsNames(folder + "A", 12));
    EXPECT_TRUE(FolderHoldsNames(folder + "\\", 12));  // no second backslash
    EXPECT_FALSE(FolderHoldsNames(folder, 13));

    EXPECT_TRUE(OnChangeableSourceDrive("A:\\", "A:\\", true));
    EXPECT_TRUE(OnChangeableSourceDrive("a:\\TIDE", "A:\\", true));
    EXPECT_FALSE(
        OnChangeableSourceDrive("C:\\TIDE", "C:\\DISKS\\", false));  // a copy on a hard disk
    EXPECT_FALSE(OnChangeableSourceDrive("C:\\TIDE", "A:\\", true));
    EXPECT_FALSE(OnChangeableSourceDrive("C:\\TIDE", "\\\\SERVER\\DISKS\\", true));
}
