// The room a run needs on the destination drive, and what the user is told about space.
#include "payload/space_rules.h"

#include <gtest/gtest.h>

using namespace tidemark;

// A main program of 4000 bytes, then an entry of 3000 and a help file of 3000: an image of
// 10000 bytes, decoded from an archive of 1000.
TEST(Space, PeakOfTheRunWithWhatTheFolderHolds) {
    PayloadTrailer trailer{10000, {{"A.DAT", 4000, 3000}, {"B.HLP", 7000, 3000}}};
    struct Case {
        int64_t archive;
        DestinationContents before;
        uint32_t cluster;
        uint64_t peak;
    } cases[] = {
        {1000, {}, 1, 16000},     // the image and both files split out of it
        {1000, {}, 4096, 20480},  // each file in whole clusters
        {9000, {}, 1, 19000},     // the archive and the image side by side while decoding
        // A reinstall: the old A.DAT frees its room only once the new one replaces it; the
        // help file goes elsewhere and frees nothing here.
        {1000, {{3000, 3000}}, 1, 13000},
        // An earlier run's archive (emptied at the copy) and image (removed before decoding).
        {1000, {{}, 1000, 10000}, 1, 5000},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(PeakSpaceNeeded(c.archive, trailer, c.before, c.cluster), c.peak) << c.peak;
    }
    // An existing library is kept: nothing written for it.
    trailer.Table[0].Name = "A.LIB";
    EXPECT_EQ(PeakSpaceNeeded(1000, trailer, {{5, -1}}, 1), 13000u);
}

TEST(Space, VolumesAndSizesAsUsersReadThem) {
    const std::pair<const char*, const char*> roots[] = {{"C:\\X\\Y", "C:\\"},
                                                         {"d:NEWTIDE", "D:\\"},
                                                         {"\\\\SRV\\SHARE\\X", "\\\\SRV\\SHARE\\"},
                                                         {"\\\\SRV\\SHARE", "\\\\SRV\\SHARE\\"},
                                                         {"\\\\SRV", ""},
                                                         {"\\\\\\X", ""},
                                                         {"TIDE", ""}};
    for (const auto& [path, root] : roots) EXPECT_EQ(VolumeRootOf(path), root) << path;
    EXPECT_EQ(VolumeName("\\\\SRV\\SHARE\\"), "\\\\SRV\\SHARE");

    const std::tuple<uint64_t, const char*, const char*> sizes[] = {
        {1023, "1023 bytes", "1023 bytes"},
        {1025, "2 KB", "1 KB"},
        {1048576 + 1, "1.1 MB", "1.0 MB"},
        {1572864, "1.5 MB", "1.5 MB"},
        {3435973836ull, "3.2 GB", "3.1 GB"}};
    for (const auto& [bytes, up, down] : sizes) {
        EXPECT_EQ(SizeText(bytes, true), up) << bytes;
        EXPECT_EQ(SizeText(bytes, false), down) << bytes;
    }
    // One byte short never reads as enough.
    std::string text = NotEnoughSpaceText("P", "E:", 1048577, 1048576);
    EXPECT_NE(text.find("drive E:"), std::string::npos);
    EXPECT_NE(text.find("needed: 1.1 MB\r\nSpace free: 1.0 MB"), std::string::npos) << text;
}

// A full disk keeps its error's class and code; the report names the drive of the failing file.
TEST(Space, DiskFullReportNamesTheDrive) {
    IoError help(kDiskFull, "C:\\WINDOWS\\Help\\Tidemark.~SP"), unknown(kDiskFull);
    ExplainDiskFull(help, "P", "E:\\TIDE");
    ExplainDiskFull(unknown, "P", "E:\\TIDE");
    EXPECT_EQ(help.Code(), kDiskFull);
    std::string report = FormatErrorReport(help, "S");
    EXPECT_NE(report.find("\nDisk full. Drive C: has no room left"), std::string::npos) << report;
    EXPECT_NE(report.find("in E:\\TIDE, and an earlier installation"), std::string::npos);
    EXPECT_EQ(report.substr(report.size() - 13), "installation.") << report;
    EXPECT_NE(unknown.Message().find("Drive E: has"), std::string::npos);
}
