#include <gtest/gtest.h>

#include "payload/copying_page.h"
#include "payload/drain.h"
#include "payload/trailer.h"
#include "progress_fixtures.h"
#include "setup/profile.h"

using namespace tidemark;
using namespace progress_test;

namespace {

// A source folder holding the volumes and a destination for the combined archive, with the
// meter set up on a stand-in page. Joining whole disk sets (one folder, DiskCount 1, a missing
// volume 1, the quit request) and Cancel while copying are checked end to end; here, what a run
// cannot show.
class Copying : public ::testing::Test {
protected:
    ScratchFolder root{"copy"};
    std::string source = root.MakeFolder("Disk") + "\\";
    std::string destination = root.MakeFolder("Dest");
    std::string archivePath = destination + "\\" + ProductProfile.CombinedArchiveFile;
    StandInPage page;

    void SetUp() override {
        DrainMessages();
        InstallState.SourceFolder = source;
        InstallState.DestinationFolder = destination;
        InstallState.ContinueFlag = 1;
        InstallState.CombinedArchiveWritten = false;
    }
    std::vector<uint8_t> PutVolume(int n, size_t size) {
        std::vector<uint8_t> bytes = Pattern(size, uint32_t(100 + n));
        WriteBytes(source + VolumeFileName(ProductProfile.FirstVolumeFile, n), bytes);
        return bytes;
    }
    static DiskSetNumbers Unstamped(int32_t diskCount, int32_t expectedSize) {
        DiskSetNumbers numbers;
        numbers.DiskCount = diskCount;
        numbers.ExpectedArchiveSize = expectedSize;
        return numbers;
    }
};

}  // namespace

TEST_F(Copying, EmptyVolumesCopyNothingAndAnOlderArchiveIsReplaced) {
    WriteBytes(archivePath, Pattern(50000, 1));
    PutVolume(1, 0);
    auto v2 = PutVolume(2, 100);
    GatherVolumes(page.Window(), Unstamped(2, 100));
    EXPECT_EQ(ReadBytes(archivePath), v2);
}

TEST_F(Copying, NoMoreThanFourVolumesAreJoined) {
    std::vector<uint8_t> joined;
    for (int n = 1; n <= 5; ++n) {
        std::vector<uint8_t> v = PutVolume(n, 3000);
        if (n <= 4) joined.insert(joined.end(), v.begin(), v.end());
    }
    GatherVolumes(page.Window(), Unstamped(5, 12000));
    EXPECT_EQ(ReadBytes(archivePath), joined);
}

// Volume 1 may draw past 100 %; later volumes draw up to 100 and no further.
TEST_F(Copying, MeterFollowsEachVolumesRule) {
    struct Case {
        size_t first, second;
        int lastDrawn;
    } cases[] = {{3 * 2048, 2048, 150}, {2048, 2048, 100}};
    for (const Case& c : cases) {
        PutVolume(1, c.first);
        PutVolume(2, c.second);
        ProgressMeter.LastDrawnPercent = 0;
        GatherVolumes(page.Window(), Unstamped(2, 4096));
        EXPECT_EQ(ProgressMeter.LastDrawnPercent, c.lastDrawn) << c.first << "+" << c.second;
    }
}
