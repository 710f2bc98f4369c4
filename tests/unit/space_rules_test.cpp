// The room a run needs on the destination drive, and what the user is told about space.
#include "core/space_rules.h"

#include <gtest/gtest.h>

using namespace tidemark;

// A main program of 4000 bytes, then three files of 2000, the second a help file: an image of
// 10000 bytes, decoded from an archive of 1000.
TEST(Space, PeakOfTheRunWithWhatTheFolderHolds) {
    PayloadTrailer trailer{10000, {{"A", 4000, 2000}, {"B.HLP", 6000, 2000}, {"C", 8000, 2000}}};
    const std::tuple<int64_t, DestinationContents, uint32_t, uint64_t> cases[] = {
        {1000, {}, 1, 16000},     // the image and every file split out of it
        {1000, {}, 4096, 24576},  // each file in whole clusters
        {9000, {}, 1, 19000},     // the archive and the image side by side while decoding
        // A reinstall: an old file frees its room only once the new one replaces it; the help
        // file goes elsewhere and frees nothing here.
        {1000, {{2000, 2000, 2000}}, 1, 14000},
        // An earlier run's archive (emptied at the copy) and image (removed before decoding).
        {1000, {{}, 1000, 10000}, 1, 5000}};
    for (const auto& [archive, before, cluster, peak] : cases)
        EXPECT_EQ(PeakSpaceNeeded(archive, trailer, before, cluster), peak) << peak;
    trailer.Table[2].Name = "C.LIB";  // an existing library is kept: nothing written for it
    EXPECT_EQ(PeakSpaceNeeded(1000, trailer, {{-1, -1, 5}}, 1), 14000u);
}

TEST(Space, VolumesSizesAndTheReportOfAFullDisk) {
    const char* const roots[] = {"C:\\X\\Y",    "C:\\",      "d:NEWTIDE",   "D:\\",  "\\\\S\\SH\\X",
                                 "\\\\S\\SH\\", "\\\\S\\SH", "\\\\S\\SH\\", "\\\\S", "",
                                 "\\\\\\X",     "",          "\\\\S\\\\X",  ""};
    for (size_t i = 0; i < std::size(roots); i += 2)
        EXPECT_EQ(VolumeRootOf(roots[i]), roots[i + 1]) << roots[i];
    // Sizes rounded up, then down: one byte short of a need never reads as enough.
    const char* const sizes[] = {"2 KB1 KB", "1.1 MB1.0 MB", "3.2 GB3.1 GB", "3 KB3 KB"};
    const uint64_t bytes[] = {1025, 1048577, 3435973836ull, 3072};
    for (size_t i = 0; i < std::size(bytes); ++i)
        EXPECT_EQ(SizeText(bytes[i], true) + SizeText(bytes[i], false), sizes[i]);
    EXPECT_NE(NotEnoughSpaceText("P", "D:", 1025, 1025).find("needed: 2 KB\r\nSpace free: 1 KB"),
              std::string::npos);

    // A full disk keeps its error's class and the report's form; it names the failing file's drive.
    IoError help(kDiskFull, "C:\\WINDOWS\\Help\\Tidemark.~SP"), unknown(kDiskFull);
    for (IoError* error : {&help, &unknown}) ExplainDiskFull(*error, "P", "E:\\TIDE");
    std::string report = FormatErrorReport(help, "S");
    EXPECT_NE(report.find("\nDisk full. Drive C: has no room left"), std::string::npos) << report;
    EXPECT_NE(report.find("installed in E:\\TIDE, and an earlier installation"), std::string::npos);
    EXPECT_EQ(report.substr(report.size() - 2), "n.");  // the report adds no second stop
    EXPECT_NE(unknown.Message().find("Drive E: has"), std::string::npos);
}
