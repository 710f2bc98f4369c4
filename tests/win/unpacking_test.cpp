#include <gtest/gtest.h>

#include "payload/crc32.h"
#include "payload/drain.h"
#include "payload/lzh/lzh_encode.h"
#include "payload/split_rules.h"
#include "payload/unpacking_page.h"
#include "progress_fixtures.h"
#include "setup/profile.h"

using namespace tidemark;
using namespace progress_test;

namespace {

// The install state and staging record as the unpacking page finds them, with the two work
// buffers, a destination folder and a meter on a stand-in page. A cut volume and Cancel while
// decoding (the callbacks' draining and stopping) are checked end to end.
class Unpacking : public ::testing::Test {
protected:
    ScratchFolder root{"unpack"};
    std::string destination = root.MakeFolder("Dest");
    std::string imagePath = destination + "\\" + TemporaryImageName(ProductProfile.MainProgramFile);
    std::string archivePath = destination + "\\" + ProductProfile.CombinedArchiveFile;
    uint8_t input[kWorkBufferSize] = {};
    uint8_t output[kWorkBufferSize] = {};
    StandInPage page;

    void SetUp() override {
        DrainMessages();
        InstallState.DestinationFolder = destination;
        InstallState.WorkBuffer[0] = input;
        InstallState.WorkBuffer[1] = output;
        InstallState.ContinueFlag = 1;
        InstallState.MainProgramWritten = false;
        UnpackingStage.InputPos = 1;
        UnpackingStage.InputFill = 0;
        UnpackingStage.ReadsPastEnd = 0;
        UnpackingStage.OutputPos = 1;
        UnpackingStage.WrittenTotal = 0;
    }
    void TearDown() override {
        UnpackingStage.Archive = File();
        UnpackingStage.Image = File();
        InstallState.WorkBuffer[0] = InstallState.WorkBuffer[1] = nullptr;
    }

    // Hands bytes to ImageWriteProc one at a time, as the decoder does.
    void Feed(const std::vector<uint8_t>& bytes) {
        for (uint8_t b : bytes) {
            uint16_t actual = 0;
            ImageWriteProc(&b, 1, &actual);
            ASSERT_EQ(actual, 1);
        }
    }
    void Flush() {
        uint16_t actual = 77;
        ImageWriteProc(output, 0, &actual);
        EXPECT_EQ(actual, 77);  // left as it was
    }
    uint16_t ReadOne(uint8_t* byte) {
        uint16_t actual = 99;
        ArchiveReadProc(byte, 1, &actual);
        return actual;
    }
    void WriteArchiveOf(const std::vector<uint8_t>& content) {
        WriteBytes(archivePath, LzhEncode(content.data(), content.size()));
        InstallState.UnpackedSize = int32_t(content.size());
    }
};

}  // namespace

TEST_F(Unpacking, ArchiveBytesComeOutInOrderAcrossBlocksAndAShortArchiveRaises) {
    std::vector<uint8_t> archive = Pattern(5000, 4);
    WriteBytes(archivePath, archive);
    UnpackingStage.Archive = File::OpenForReading(archivePath);
    std::vector<uint8_t> seen;
    uint8_t byte = 0;
    while (ReadOne(&byte) == 1) seen.push_back(byte);
    EXPECT_EQ(seen, archive);
    // A sound stream is asked for one byte more at most; a second time the archive is short.
    EXPECT_EQ(IoCodeOf([&] { ReadOne(&byte); }), kReadBeyondEnd);
}

// The image is written in full blocks (the last one by the flush, checked by the decoding test
// below), and the meter follows the blocks written.
TEST_F(Unpacking, MeterIsDrawnAfterAFullBlockOnlyWhenThePercentageChanges) {
    UnpackingStage.Image = File::Create(imagePath);
    InstallState.UnpackedSize = 8192;
    ProgressMeter.LastDrawnPercent = 100;  // where the copying page left it
    Feed(Pattern(2048, 9));
    EXPECT_EQ(ProgressMeter.LastDrawnPercent, 100);  // nothing written yet, nothing drawn
    Feed(Pattern(1, 9));
    EXPECT_EQ(ProgressMeter.LastDrawnPercent, 25);
    Feed(Pattern(2048, 9));
    EXPECT_EQ(ProgressMeter.LastDrawnPercent, 50);
    Flush();
    EXPECT_EQ(ProgressMeter.LastDrawnPercent, 50);  // the final write is never shown
}

TEST_F(Unpacking, FailedImageWriteRaisesInsteadOfGoingOn) {
    WriteBytes(imagePath, {});
    UnpackingStage.Image = File::OpenForReading(imagePath);  // no write access
    Feed(Pattern(2048, 11));
    EXPECT_EQ(IoCodeOf([&] { Feed(Pattern(1, 11)); }), kFileAccessDenied);
    EXPECT_EQ(UnpackingStage.WrittenTotal, 0);
}

TEST_F(Unpacking, DecodesTheArchiveIntoTheImageAndDeletesTheArchive) {
    std::vector<uint8_t> content = Pattern(3 * 2048 + 100, 12);
    content.insert(content.end(), 5000, 'A');  // something for matches to find
    WriteArchiveOf(content);
    EXPECT_TRUE(DecodeArchive({}));
    EXPECT_EQ(ReadBytes(imagePath), content);
    EXPECT_FALSE(Exists(archivePath));
    EXPECT_TRUE(InstallState.MainProgramWritten);
    EXPECT_EQ(InstallState.ContinueFlag, 1);

    // Stamped: the image is checked against its CRC-32 before anything is split out of it.
    DiskSetNumbers stamped;
    stamped.VolumeSize[0] = 1;
    stamped.ImageCrc = Crc32(content.data(), content.size());
    WriteArchiveOf(content);
    EXPECT_TRUE(DecodeArchive(stamped));
    stamped.ImageCrc ^= 1;
    WriteArchiveOf(content);
    EXPECT_THROW(DecodeArchive(stamped), ImageError);
    EXPECT_FALSE(Exists(imagePath));
    EXPECT_FALSE(Exists(archivePath));
}

TEST_F(Unpacking, ExistingImageThatCannotBeReplacedIsOverwrittenInPlace) {
    std::vector<uint8_t> older = Pattern(9000, 15);
    WriteBytes(imagePath, older);
    // Another program holds the old image open, sharing it for reading and writing: it cannot
    // be emptied, only opened the second way.
    File holder =
        File::Open(imagePath, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING);
    std::vector<uint8_t> content = Pattern(5000, 16);
    WriteArchiveOf(content);
    EXPECT_TRUE(DecodeArchive({}));
    holder.Close();
    std::vector<uint8_t> image = ReadBytes(imagePath);
    ASSERT_EQ(image.size(), older.size());  // not emptied: the split's cut ends it
    EXPECT_TRUE(std::equal(content.begin(), content.end(), image.begin()));
    EXPECT_TRUE(std::equal(older.begin() + 5000, older.end(), image.begin() + 5000));
}

TEST_F(Unpacking, ImageThatCannotBeOpenedStopsThePageAndKeepsTheArchive) {
    root.MakeFolder("Dest\\" + TemporaryImageName(ProductProfile.MainProgramFile));  // a folder
    WriteArchiveOf(Pattern(100, 17));
    EXPECT_FALSE(DecodeArchive({}));
    EXPECT_EQ(InstallState.ContinueFlag, 0);
    EXPECT_FALSE(InstallState.MainProgramWritten);
    EXPECT_TRUE(Exists(archivePath));
}

TEST_F(Unpacking, MissingArchiveRaisesInsteadOfSplittingAnEmptyImage) {
    InstallState.UnpackedSize = 100;
    EXPECT_EQ(IoCodeOf([] { DecodeArchive({}); }), kFileNotFound);
}
