// The work of the two progress pages without their dialogs: joining the volumes, decoding the
// archive, reading the file table. Whole disk sets, prompts, damaged disks, the meter's pixels and
// Cancel are checked end to end; here, what a run cannot show cheaply.
#include <gtest/gtest.h>

#include "core/crc32.h"
#include "core/lzh/lzh_encode.h"
#include "core/meter_arithmetic.h"
#include "core/profile.h"
#include "core/volume_names.h"
#include "payload/copying_page.h"
#include "payload/decoding.h"
#include "payload/read_file_table.h"
#include "runtime/install_state.h"
#include "win_fixtures.h"

using namespace tidemark;
using namespace win_test;

namespace {

// The install state as the progress pages find it, with the two work buffers. No meter is set up:
// drawing without one only records the percentage.
class Progress : public ::testing::Test {
protected:
    ScratchFolder root{"progress"};
    std::string imagePath = root / "Tidemark.~IM", archivePath = root / "Tidemark._LF";
    uint8_t buffers[2][kWorkBufferSize] = {};

    void SetUp() override {
        InstallState.SourceFolder = root.MakeFolder("Disk");
        InstallState.DestinationFolder = root.Path;
        InstallState.WorkBuffer[0] = buffers[0];
        InstallState.WorkBuffer[1] = buffers[1];
        InstallState.ContinueFlag = 1;
    }
    uint16_t Write(const std::vector<uint8_t>& bytes) {
        uint16_t actual = 77;
        ImageWriteProc(bytes.data(), uint16_t(bytes.size()), &actual);
        return actual;
    }
    void WriteArchiveOf(const std::vector<uint8_t>& content) {
        WriteBytes(archivePath, LzhEncode(content.data(), content.size()));
        InstallState.UnpackedSize = int32_t(content.size());
    }
};

}  // namespace

// Up to four volumes are joined into an archive that replaces an older, longer one; a stamped set
// whose volumes match their lengths and CRC-32s is copied without a question. A set never
// stamped is copied end to end.
TEST_F(Progress, SoundVolumesAreJoinedUpToFourIntoANewArchive) {
    DiskSetNumbers diskSet{5};
    std::vector<uint8_t> joined;
    for (int n = 1; n <= 5; ++n) {
        std::vector<uint8_t> v = Pattern(n == 2 ? 100 : 3000, n);
        WriteBytes(root / ("Disk\\" + VolumeFileName(ProductProfile.FirstVolumeFile, n)), v);
        if (n > 4) break;  // volume 5 is there but never read
        diskSet.VolumeSize[n - 1] = int32_t(v.size());
        diskSet.VolumeCrc[n - 1] = Crc32(v.data(), v.size());
        joined.insert(joined.end(), v.begin(), v.end());
    }
    diskSet.ExpectedArchiveSize = int32_t(joined.size());
    WriteBytes(archivePath, Pattern(50000, 1));
    InstallState.CombinedArchiveWritten = false;
    GatherVolumes(nullptr, diskSet);
    EXPECT_EQ(ReadBytes(archivePath), joined);
    EXPECT_TRUE(InstallState.CombinedArchiveWritten && InstallState.ContinueFlag == 1);
}

// More than a block handed over at once is staged a block at a time, and Count 0 writes out the
// rest, leaving Actual as it was. A write that fails raises instead of going on. How the meter
// follows the blocks is seen end to end.
TEST_F(Progress, ImageIsWrittenInBlocksAndAFailedWriteRaises) {
    File archive, file = File::Create(imagePath);
    std::vector<uint8_t> image = Pattern(5000, 9);
    {
        DecodingStage stage(archive, file);
        EXPECT_EQ(Write({image.begin(), image.begin() + 1}), 1);
        EXPECT_EQ(Write({image.begin() + 1, image.end()}), 4999);
        EXPECT_EQ(Write({}), 77);
    }
    file.Close();
    EXPECT_EQ(ReadBytes(imagePath), image);
    file = File::OpenForReading(imagePath);  // no write access
    DecodingStage stage(archive, file);
    Write(Pattern(2048, 11));
    EXPECT_EQ(IoCodeOf([&] { Write({1}); }), kFileAccessDenied);
    EXPECT_EQ(stage.WrittenTotal(), 0);
}

// The archive is decoded into the image and deleted. Stamped, the image is checked against its
// CRC-32 before anything is split out of it: a mismatch deletes it and raises. A missing archive
// raises rather than leaving an empty image to split; an image that cannot be opened stops the
// page and keeps the archive.
TEST_F(Progress, TheArchiveIsDecodedIntoACheckedImage) {
    std::vector<uint8_t> content = Pattern(3 * 2048 + 100, 12);
    content.insert(content.end(), 5000, 'A');  // something for matches to find
    // Stamped (volume 1 of 1 byte), with the image's CRC-32.
    DiskSetNumbers stamped{0, 0, {1}, {}, Crc32(content.data(), content.size())};
    for (const DiskSetNumbers& diskSet : {DiskSetNumbers(), stamped}) {
        WriteArchiveOf(content);
        InstallState.TemporaryImageOpened = false;
        EXPECT_TRUE(DecodeArchive(diskSet));
        EXPECT_EQ(ReadBytes(imagePath), content);
        EXPECT_TRUE(!Exists(archivePath) && InstallState.TemporaryImageOpened);
    }
    stamped.ImageCrc ^= 1;
    WriteArchiveOf(content);
    EXPECT_THROW(DecodeArchive(stamped), ImageError);
    EXPECT_FALSE(Exists(imagePath) || Exists(archivePath));

    EXPECT_EQ(IoCodeOf([] { DecodeArchive({}); }), kFileNotFound);
    std::filesystem::remove(imagePath);
    std::filesystem::create_directory(imagePath);
    WriteArchiveOf(content);
    EXPECT_FALSE(DecodeArchive({}));
    EXPECT_TRUE(InstallState.ContinueFlag == 0 && Exists(archivePath));
}

// Reading the running program's own table, and refusing an unsafe one, are checked end to end;
// here, a table that is not the one the disks were stamped with, and a file too short for the
// table it claims.
TEST_F(Progress, ADamagedFileTableRaisesBeforeAnythingIsCopied) {
    const std::vector<uint8_t> table = EncodeTrailer({16, {{"A.TXT", 10, 6}}});
    DiskSetNumbers stamped{0, 0, {1}, {}, 0, Crc32(table.data(), table.size())};
    WriteBytes(root / "Setup.exe", table);
    EXPECT_EQ(ReadFileTable(root / "Setup.exe", stamped).UnpackedSize, 16);
    stamped.TableCrc ^= 1;
    EXPECT_THROW(ReadFileTable(root / "Setup.exe", stamped), FileTableError);
    WriteBytes(root / "Setup.exe", {1, 2, 3, 5, 0, 0, 0});  // claims 3 entries
    EXPECT_EQ(IoCodeOf([&] { ReadFileTable(root / "Setup.exe"); }), kReadBeyondEnd);
}

// The language runtime must leave the x87 unit at full precision: at 53 bits 23 of 40 is 57 %, and
// 7/54 of a 243-pixel bar ends at 32. Only the Windows build runs under that one.
TEST(MeterOnWindows, PercentageKeepsThe64BitMantissaUnderTheLanguageRuntimesFpuSettings) {
    EXPECT_EQ(MeterPositionFor(23, 40, 0, 100).Percentage, 58);
    EXPECT_EQ(MeterPositionFor(7, 54, 0, 243).Edge, 31);
}
