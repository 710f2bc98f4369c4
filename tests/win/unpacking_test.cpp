#include <gtest/gtest.h>

#include "payload/drain.h"
#include "payload/lzh/lzh_encode.h"
#include "payload/unpacking_page.h"
#include "progress_fixtures.h"
#include "setup/profile.h"

using namespace tidemark;
using namespace progress_test;

namespace {

// The install state and staging record as the unpacking page finds them, with the two work
// buffers, a destination folder and a meter on a stand-in page. A cut or empty volume and Cancel
// while decoding are checked end to end.
class Unpacking : public ::testing::Test {
protected:
    ScratchFolder root{"unpack"};
    std::string destination = root.MakeFolder("Dest");
    std::string imagePath = destination + "\\" + ProductProfile.MainProgramFile;
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
    // The decoder's read-ahead may ask twice more; a third time the archive is short.
    EXPECT_EQ(ReadOne(&byte), 0);
    EXPECT_EQ(IoCodeOf([&] { ReadOne(&byte); }), kReadBeyondEnd);
}

TEST_F(Unpacking, MessagesAreDrainedOncePerArchiveBlockNotPerByte) {
    WriteBytes(archivePath, Pattern(4096 + 10, 6));
    UnpackingStage.Archive = File::OpenForReading(archivePath);
    uint8_t byte = 0;
    page.Poke();
    ReadOne(&byte);  // first refill
    EXPECT_EQ(page.Pokes(), 1);
    page.Poke();
    for (int i = 1; i < 2048; ++i) ReadOne(&byte);
    EXPECT_EQ(page.Pokes(), 1);  // the rest of the block is handed out without draining
    ReadOne(&byte);              // second refill
    EXPECT_EQ(page.Pokes(), 2);
}

TEST_F(Unpacking, CancelConfirmedDuringARefillStopsTheNextByte) {
    WriteBytes(archivePath, Pattern(3000, 7));
    UnpackingStage.Archive = File::OpenForReading(archivePath);
    page.onPoke = [] { InstallState.ContinueFlag = 0; };
    page.Poke();
    uint8_t byte = 0;
    EXPECT_EQ(ReadOne(&byte), 1);  // the byte of the refill still goes out
    EXPECT_EQ(InstallState.ContinueFlag, 0);
    EXPECT_EQ(ReadOne(&byte), 0);
    InstallState.ContinueFlag = 1;
    ASSERT_EQ(ReadOne(&byte), 1);
    EXPECT_EQ(byte, Pattern(3000, 7)[1]);  // the refused call consumed nothing
}

TEST_F(Unpacking, ImageIsWrittenInFullBlocksAndTheFlushWritesTheRest) {
    UnpackingStage.Image = File::Create(imagePath);
    InstallState.UnpackedSize = 3 * 2048;
    std::vector<uint8_t> bytes = Pattern(2049, 8);
    Feed(std::vector<uint8_t>(bytes.begin(), bytes.begin() + 2048));
    EXPECT_EQ(UnpackingStage.Image.Size(), 0u);  // a full block stays staged
    Feed({bytes[2048]});                         // until a byte does not fit
    EXPECT_EQ(UnpackingStage.Image.Size(), 2048u);
    EXPECT_EQ(UnpackingStage.WrittenTotal, 2048);
    EXPECT_EQ(UnpackingStage.OutputPos, 2);

    Flush();
    EXPECT_EQ(UnpackingStage.WrittenTotal, 2048);  // the flush is not counted
    EXPECT_EQ(UnpackingStage.OutputPos, 2);
    UnpackingStage.Image.Close();
    EXPECT_EQ(ReadBytes(imagePath), bytes);
}

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

TEST_F(Unpacking, BytesAreDroppedOnceStopped) {
    UnpackingStage.Image = File::Create(imagePath);
    Feed(Pattern(10, 10));
    InstallState.ContinueFlag = 0;
    uint8_t byte = 1;
    uint16_t actual = 5;
    ImageWriteProc(&byte, 1, &actual);
    EXPECT_EQ(actual, 0);
    ImageWriteProc(output, 0, &actual);  // nor is anything flushed
    UnpackingStage.Image.Close();
    EXPECT_TRUE(ReadBytes(imagePath).empty());
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
    EXPECT_TRUE(DecodeArchive());
    EXPECT_EQ(ReadBytes(imagePath), content);
    EXPECT_FALSE(Exists(archivePath));
    EXPECT_TRUE(InstallState.MainProgramWritten);
    EXPECT_EQ(InstallState.ContinueFlag, 1);
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
    EXPECT_TRUE(DecodeArchive());
    holder.Close();
    std::vector<uint8_t> image = ReadBytes(imagePath);
    ASSERT_EQ(image.size(), older.size());  // not emptied: the split's cut ends it
    EXPECT_TRUE(std::equal(content.begin(), content.end(), image.begin()));
    EXPECT_TRUE(std::equal(older.begin() + 5000, older.end(), image.begin() + 5000));
}

TEST_F(Unpacking, ImageThatCannotBeOpenedStopsThePageAndKeepsTheArchive) {
    root.MakeFolder("Dest\\" + std::string(ProductProfile.MainProgramFile));  // a folder
    WriteArchiveOf(Pattern(100, 17));
    EXPECT_FALSE(DecodeArchive());
    EXPECT_EQ(InstallState.ContinueFlag, 0);
    EXPECT_FALSE(InstallState.MainProgramWritten);
    EXPECT_TRUE(Exists(archivePath));
}

TEST_F(Unpacking, MissingArchiveRaisesInsteadOfSplittingAnEmptyImage) {
    InstallState.UnpackedSize = 100;
    EXPECT_EQ(IoCodeOf([] { DecodeArchive(); }), kFileNotFound);
}
