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
// meter set up on a stand-in page.
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
};

std::vector<uint8_t> Joined(std::initializer_list<std::vector<uint8_t>> parts) {
    std::vector<uint8_t> all;
    for (const auto& p : parts) all.insert(all.end(), p.begin(), p.end());
    return all;
}

}  // namespace

TEST_F(Copying, VolumesInOneFolderAreJoinedWithoutAPrompt) {
    auto v1 = PutVolume(1, 5000), v2 = PutVolume(2, 2048), v3 = PutVolume(3, 1);
    GatherVolumes(page.Window(), 3, 10000);
    EXPECT_EQ(ReadBytes(archivePath), Joined({v1, v2, v3}));
    EXPECT_TRUE(InstallState.CombinedArchiveWritten);
    EXPECT_EQ(InstallState.ContinueFlag, 1);
}

TEST_F(Copying, DiskCountOneCopiesOnlyTheFirstVolume) {
    auto v1 = PutVolume(1, 3000);
    PutVolume(2, 3000);
    GatherVolumes(page.Window(), 1, 3000);
    EXPECT_EQ(ReadBytes(archivePath), v1);
    EXPECT_EQ(ProgressMeter.LastDrawnPercent, 100);
}

TEST_F(Copying, NeverMoreThanFourVolumes) {
    auto v1 = PutVolume(1, 10), v2 = PutVolume(2, 20), v3 = PutVolume(3, 30), v4 = PutVolume(4, 40);
    WriteBytes(source + "Tidemark.005", Pattern(50, 105));
    GatherVolumes(page.Window(), 5, 100);
    EXPECT_EQ(ReadBytes(archivePath), Joined({v1, v2, v3, v4}));
}

TEST_F(Copying, EmptyVolumesCopyNothingAndAnOlderArchiveIsReplaced) {
    WriteBytes(archivePath, Pattern(50000, 1));
    PutVolume(1, 0);
    auto v2 = PutVolume(2, 100);
    GatherVolumes(page.Window(), 2, 100);
    EXPECT_EQ(ReadBytes(archivePath), v2);
}

TEST_F(Copying, MissingFirstVolumeRaisesFileNotFoundBeforeTheArchiveIsMade) {
    EXPECT_EQ(IoCodeOf([&] { GatherVolumes(page.Window(), 3, 100); }), kFileNotFound);
    EXPECT_FALSE(Exists(archivePath));
    EXPECT_FALSE(InstallState.CombinedArchiveWritten);
}

TEST_F(Copying, CancelTakesEffectAfterTheCurrentBlock) {
    PutVolume(1, 10000);
    PutVolume(2, 10000);
    page.onPoke = [] { InstallState.ContinueFlag = 0; };  // a confirmed Cancel
    page.Poke();
    GatherVolumes(page.Window(), 2, 20000);
    EXPECT_EQ(page.Pokes(), 1);
    EXPECT_EQ(ReadBytes(archivePath).size(), 2048u);  // the block before the drain
    EXPECT_EQ(InstallState.ContinueFlag, 0);
    EXPECT_TRUE(InstallState.CombinedArchiveWritten);  // for the clean-up to remove
}

TEST_F(Copying, FirstVolumeDrawsPast100ButLaterVolumesDoNot) {
    PutVolume(1, 3 * 2048);  // 150 % of 4096
    PutVolume(2, 2048);      // would be 200 %
    GatherVolumes(page.Window(), 2, 4096);
    EXPECT_EQ(ProgressMeter.LastDrawnPercent, 150);
}

TEST_F(Copying, LaterVolumesDrawUpTo100) {
    PutVolume(1, 2048);
    PutVolume(2, 2048);
    ProgressMeter.LastDrawnPercent = 0;
    GatherVolumes(page.Window(), 2, 4096);
    EXPECT_EQ(ProgressMeter.LastDrawnPercent, 100);
}

TEST_F(Copying, DrainingDropsQuitAndDispatchesTheRest) {
    page.Poke();
    PostQuitMessage(3);
    page.Poke();
    DrainMessages();
    EXPECT_EQ(page.Pokes(), 2);
    MSG message;
    EXPECT_FALSE(PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}
