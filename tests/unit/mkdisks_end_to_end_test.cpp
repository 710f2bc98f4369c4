// mkdisks from the command line, on a small generated product and a stand-in setup program:
// build, then list and verify the set it made, and see verify fail on damaged sets.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "commands.h"
#include "errors.h"
#include "file_io.h"
#include "mkdisks_fake_program.h"
#include "payload/crc32.h"
#include "payload/disk_set_block.h"
#include "payload/lzh/lzh_encode.h"
#include "payload/trailer.h"
#include "setup_program.h"
#include "stream.h"

using namespace tidemark;
using namespace tidemark::mkdisks;
namespace fs = std::filesystem;

namespace {

class MkdisksCommandLine : public ::testing::Test {
protected:
    void SetUp() override {
        root_ =
            fs::temp_directory_path() / ("mkdisks-e2e-" + std::to_string(std::random_device{}()));
        product_ = root_ / "product";
        fs::create_directories(product_);
        std::mt19937 random(7);
        // Compressible and incompressible parts, about 120 KB in all.
        std::string code;
        for (int i = 0; i < 40000; ++i)
            code += char("\x55\x8B\xEC\x83\xC4\xE8\x00\xC3"[random() % 8]);
        std::string noise;
        for (int i = 0; i < 30000; ++i) noise += char(random());
        std::string text;
        while (text.size() < 50000) text += "FileTidemark keeps your files in order. ";
        Add("Tidemark.Exe", "MZ" + code.substr(0, 9000));
        Add("TMCORE.DLL", code);
        Add("PICTURES.DAT", noise);
        Add("README.TXT", text);
        Add("FILETIDE.HLP", text.substr(0, 7000) + noise.substr(0, 3000));
        Add("EMPTY.TXT", "");
        setup_ = root_ / "setup-plain.exe";
        WriteWholeFile(setup_, mkdisks_test::FakeProgram());
    }
    void TearDown() override { fs::remove_all(root_); }

    void Add(const std::string& name, const std::string& content) {
        std::ofstream(product_ / name, std::ios::binary) << content;
    }
    int Run(std::vector<std::string> args) {
        std::ostringstream out, err;
        int code = RunMkdisks(args, out, err);
        output_ = out.str();
        errors_ = err.str();
        return code;
    }
    int Build(const fs::path& out, std::vector<std::string> more) {
        std::vector<std::string> args = {"build",         product_.string(), "--setup",
                                         setup_.string(), "--out",           out.string()};
        args.insert(args.end(), more.begin(), more.end());
        return Run(args);
    }
    static void Damage(const fs::path& file, size_t at) {
        std::vector<uint8_t> bytes = ReadWholeFile(file);
        bytes[at] ^= 0x5A;
        WriteWholeFile(file, bytes);
    }
    static void Truncate(const fs::path& file, size_t by) {
        fs::resize_file(file, fs::file_size(file) - by);
    }

    fs::path root_, product_, setup_;
    std::string output_, errors_;
};

}  // namespace

TEST_F(MkdisksCommandLine, BuildsASetThatVerifiesAndLists) {
    fs::path out = root_ / "disks";
    ASSERT_EQ(Build(out, {"--disks", "3"}), kExitOk) << errors_;
    for (const char* file :
         {"disk1/setup.exe", "disk1/Tidemark.001", "disk2/Tidemark.002", "disk3/Tidemark.003"})
        EXPECT_TRUE(fs::is_regular_file(out / file)) << file;
    EXPECT_FALSE(fs::exists(out / "disk4"));

    EXPECT_EQ(Run({"verify", out.string(), "--against", product_.string()}), kExitOk) << errors_;
    EXPECT_NE(output_.find("OK"), std::string::npos);
    EXPECT_EQ(Run({"list", (out / "disk1/setup.exe").string()}), kExitOk) << errors_;
    EXPECT_NE(output_.find("PICTURES.DAT"), std::string::npos);
    // The table as the setup program reads it, and each disk's share, are checked by the sample
    // sets' installations and by the volume plan's tests.
}

TEST_F(MkdisksCommandLine, VerifyFailsOnDamagedMissingOrChangedSets) {
    fs::path out = root_ / "disks";
    ASSERT_EQ(Build(out, {"--disks", "3"}), kExitOk) << errors_;
    fs::path volume2 = out / "disk2/Tidemark.002";

    // A flipped byte in any volume is named by its volume, product or not.
    for (int n = 1; n <= 3; ++n) {
        fs::path volume = out / ("disk" + std::to_string(n)) / VolumeFileName("Tidemark.001", n);
        Damage(volume, size_t(fs::file_size(volume) / 2));
        EXPECT_EQ(Run({"verify", out.string()}), kExitMismatch) << n;
        EXPECT_NE(errors_.find("volume " + std::to_string(n) + " (" + volume.filename().string() +
                               ") is damaged"),
                  std::string::npos)
            << errors_;
        if (n < 3) Damage(volume, size_t(fs::file_size(volume) / 2));
    }
    EXPECT_EQ(Run({"verify", out.string(), "--against", product_.string()}), kExitMismatch);
    EXPECT_NE(errors_.find("differs"), std::string::npos) << errors_;

    ASSERT_EQ(Build(out, {"--disks", "3"}), kExitOk) << errors_;
    // Without the product to compare with, a short archive still shows (an overlong one too:
    // see MkdisksStream below).
    Truncate(out / "disk3/Tidemark.003", 10);
    EXPECT_EQ(Run({"verify", out.string()}), kExitMismatch);
    EXPECT_NE(errors_.find("early"), std::string::npos) << errors_;

    ASSERT_EQ(Build(out, {"--disks", "3"}), kExitOk) << errors_;
    fs::remove(volume2);
    EXPECT_EQ(Run({"verify", out.string()}), kExitMismatch);

    ASSERT_EQ(Build(out, {"--disks", "2"}), kExitOk) << errors_;
    EXPECT_FALSE(fs::exists(out / "disk3")) << "a rebuild leaves no disk of the earlier set";
    Add("NEWFILE.TXT", "not on the disks");
    EXPECT_EQ(Run({"verify", out.string(), "--against", product_.string()}), kExitMismatch);
    EXPECT_NE(errors_.find("NEWFILE.TXT"), std::string::npos) << errors_;
}

TEST_F(MkdisksCommandLine, VerifyDoesNotDecodeATableThatClaimsMoreThanTheArchiveCanHold) {
    Add("ZEROS.DAT", std::string(3000000, '\0'));  // compresses nearly as far as can be
    fs::path out = root_ / "disks";
    ASSERT_EQ(Build(out, {"--disks", "3"}), kExitOk) << errors_;
    fs::remove_all(out / "disk2");
    fs::remove_all(out / "disk3");
    EXPECT_EQ(Run({"verify", out.string()}), kExitMismatch);
    EXPECT_NE(errors_.find("can hold"), std::string::npos) << errors_;
}

// The set's numbers and fingerprints go into the copy of the setup program on disk 1, never into
// the program given.
TEST_F(MkdisksCommandLine, BuildStampsTheSetIntoItsCopyOfTheSetupProgram) {
    fs::path out = root_ / "disks";
    ASSERT_EQ(Build(out, {"--disks", "2"}), kExitOk) << errors_;
    std::vector<uint8_t> setup = ReadWholeFile(out / "disk1/setup.exe");
    int64_t at = FindDiskSetBlock(setup, ProgramImageEnd(setup));
    ASSERT_GE(at, 0);
    DiskSetNumbers n = DecodeDiskSetBlock(&setup[size_t(at)]);
    EXPECT_EQ(n.DiskCount, 2);
    std::vector<uint8_t> archive;
    for (int i = 0; i < 2; ++i) {
        std::vector<uint8_t> volume = ReadWholeFile(out / ("disk" + std::to_string(i + 1)) /
                                                    VolumeFileName("Tidemark.001", i + 1));
        EXPECT_EQ(n.VolumeSize[i], int32_t(volume.size()));
        EXPECT_EQ(n.VolumeCrc[i], Crc32(volume.data(), volume.size()));
        archive.insert(archive.end(), volume.begin(), volume.end());
    }
    EXPECT_EQ(n.ExpectedArchiveSize, int32_t(archive.size()));
    EXPECT_EQ(n.VolumeSize[2], 0);
    size_t table = TrailerSize(5);  // every file but the main program
    EXPECT_EQ(n.TableCrc, Crc32(&setup[setup.size() - table], table));
    DecodeOutcome image = Decompress(archive, ReadLittleEndian32(&setup[setup.size() - 4]));
    EXPECT_EQ(n.ImageCrc, Crc32(image.Output.data(), image.Output.size()));
    std::vector<uint8_t> plain = ReadWholeFile(setup_);
    EXPECT_FALSE(DecodeDiskSetBlock(&plain[size_t(at)]).Stamped());
    EXPECT_EQ(Run({"list", (out / "disk1/setup.exe").string()}), kExitOk) << errors_;
    EXPECT_NE(output_.find("Stamped: DiskCount 2"), std::string::npos) << output_;

    // A stamp without a table is still a stamp; a program without the block has nowhere to put
    // one.
    setup.resize(setup.size() - table);
    setup_ = root_ / "stamped.exe";
    WriteWholeFile(setup_, setup);
    EXPECT_EQ(Build(root_ / "again", {"--disks", "1"}), kExitRefused);
    EXPECT_NE(errors_.find("stamped"), std::string::npos) << errors_;
    EXPECT_EQ(Build(root_ / "again", {"--disks", "1", "--replace-trailer"}), kExitOk) << errors_;
    mkdisks_test::ProgramShape without;
    without.DiskSetBlock = false;
    WriteWholeFile(setup_, mkdisks_test::FakeProgram(without));
    EXPECT_EQ(Build(root_ / "again", {"--disks", "1"}), kExitRefused);
    EXPECT_NE(errors_.find("no disk set block"), std::string::npos) << errors_;
}

// Each refusal below leaves everything as it was: the vendor's files, the inputs, the set.
TEST_F(MkdisksCommandLine, BuildReplacesOnlyWhatItWroteAndNeverAnInput) {
    fs::path out = root_ / "disks";
    fs::create_directories(out / "disk7/photos");
    WriteWholeFile(out / "disk7/photos/a.jpg", {1, 2, 3});
    EXPECT_EQ(Build(out, {"--disks", "1"}), kExitRefused);
    EXPECT_NE(errors_.find("disk7"), std::string::npos) << errors_;
    EXPECT_TRUE(fs::exists(out / "disk7/photos/a.jpg"));
    EXPECT_FALSE(fs::exists(out / "disk1"));
    fs::remove_all(out);

    ASSERT_EQ(Build(out, {"--disks", "3"}), kExitOk) << errors_;
    WriteWholeFile(out / "disk1/notes.txt", {1});
    EXPECT_EQ(Build(out, {"--disks", "2"}), kExitRefused);
    EXPECT_NE(errors_.find("disk1/notes.txt"), std::string::npos) << errors_;
    EXPECT_TRUE(fs::exists(out / "disk3/Tidemark.003"));
    fs::remove(out / "disk1/notes.txt");
    ASSERT_EQ(Build(out, {"--disks", "2"}), kExitOk) << errors_;
    EXPECT_FALSE(fs::exists(out / "disk3"));

    // Inputs in the output folder: the product folder, the setup program, the kept stream.
    fs::copy(out, root_ / "copy", fs::copy_options::recursive);
    fs::copy(product_, out / "disk2", fs::copy_options::overwrite_existing);
    std::vector<std::string> product = {
        "build",     (out / "disk2").string(), "--setup", setup_.string(), "--disks", "1", "--out",
        out.string()};
    EXPECT_EQ(Run(product), kExitRefused);
    fs::remove_all(out);
    fs::rename(root_ / "copy", out);
    fs::path setupInside = out / "disk1/setup.exe";
    EXPECT_EQ(Build(out, {"--disks", "1", "--replace-trailer", "--setup", setupInside.string()}),
              kExitRefused);
    EXPECT_EQ(Build(out, {"--disks", "1", "--stream", (out / "a.lzh").string()}), kExitRefused);
    EXPECT_TRUE(fs::exists(out / "disk2/Tidemark.002"));
}

TEST_F(MkdisksCommandLine, MainNamesTheSetupProgramsMainProgramAndStreamReplacesOnlyAStream) {
    fs::path out = root_ / "disks";
    EXPECT_EQ(Build(out, {"--disks", "1", "--main", "README.TXT"}), kExitRefused);
    EXPECT_NE(errors_.find("Tidemark.Exe"), std::string::npos) << errors_;
    EXPECT_EQ(Build(out, {"--disks", "1", "--main", "TIDEMARK.EXE"}), kExitOk) << errors_;

    fs::path notes = root_ / "notes.txt";
    std::vector<uint8_t> text(4000, 'n');
    WriteWholeFile(notes, text);
    EXPECT_EQ(Build(out, {"--disks", "1", "--stream", notes.string()}), kExitRefused);
    EXPECT_EQ(ReadWholeFile(notes), text);
    // Kept in the product folder, the stream would ship on the next build's disks.
    EXPECT_EQ(Build(out, {"--disks", "1", "--stream", (product_ / "NEW.LZH").string()}),
              kExitRefused);
    EXPECT_FALSE(fs::exists(product_ / "NEW.LZH"));

    fs::path kept = root_ / "product.lzh";
    ASSERT_EQ(Build(out, {"--disks", "1", "--stream", kept.string()}), kExitOk) << errors_;
    std::vector<uint8_t> earlier = ReadWholeFile(kept);
    Add("README.TXT", "the next version");
    ASSERT_EQ(Build(out, {"--disks", "1", "--stream", kept.string()}), kExitOk) << errors_;
    EXPECT_NE(ReadWholeFile(kept), earlier) << "a stream of an earlier version is replaced";
    EXPECT_EQ(Run({"verify", out.string(), "--against", product_.string()}), kExitOk) << errors_;
}

TEST_F(MkdisksCommandLine, RefusesWithExitCode2AndWritesNothing) {
    fs::path out = root_ / "disks";
    EXPECT_EQ(Build(out, {"--disks", "5"}), kExitRefused);

    // The archive holds over 33,000 bytes of noise, more than four disks of 8,000 bytes.
    EXPECT_EQ(Build(out, {"--disk-size", "8000"}), kExitRefused) << "would need 5+ volumes";
    EXPECT_NE(errors_.find("at most 4"), std::string::npos) << errors_;
    // The stand-in setup program is 3,072 bytes, and its table 145 more.
    EXPECT_EQ(Build(out, {"--disk-size", "3217"}), kExitRefused);
    EXPECT_NE(errors_.find("cannot hold the setup program"), std::string::npos) << errors_;
    EXPECT_EQ(Build(out, {"--disks", "2", "--disk-size", "90000"}), kExitRefused);
    EXPECT_EQ(Build(out, {"--disks", "two"}), kExitRefused);
    // What the product folder may hold is tested with the product's own tests.
    WriteWholeFile(setup_, std::vector<uint8_t>(5000, 'x'));
    EXPECT_EQ(Build(out, {"--disks", "1"}), kExitRefused) << "not a Windows program";
    EXPECT_FALSE(fs::exists(out));
    EXPECT_EQ(Run({"build", product_.string()}), kExitRefused);
    EXPECT_EQ(Run({"frobnicate"}), kExitRefused);
}

TEST_F(MkdisksCommandLine, ASetupProgramThatCarriesATableIsRefusedOrItsTableReplaced) {
    fs::path first = root_ / "first";
    ASSERT_EQ(Build(first, {"--disks", "1"}), kExitOk) << errors_;
    setup_ = root_ / "carrying.exe";
    fs::copy_file(first / "disk1/setup.exe", setup_);
    fs::path out = root_ / "second";
    EXPECT_EQ(Build(out, {"--disks", "1"}), kExitRefused);
    EXPECT_NE(errors_.find("already carries"), std::string::npos) << errors_;

    Add("LATER.TXT", "added after the first set");
    ASSERT_EQ(Build(out, {"--disks", "1", "--replace-trailer"}), kExitOk) << errors_;
    // One table, the new one, straight after the program image.
    EXPECT_EQ(fs::file_size(out / "disk1/setup.exe"),
              fs::file_size(root_ / "setup-plain.exe") + TrailerSize(6));
    EXPECT_EQ(Run({"verify", out.string(), "--against", product_.string()}), kExitOk) << errors_;

    // Other data after the program image is not taken for a table, and not built upon.
    std::vector<uint8_t> overlay = ReadWholeFile(root_ / "setup-plain.exe");
    overlay.insert(overlay.end(), {1, 2, 3, 4, 5, 6, 7});
    WriteWholeFile(setup_, overlay);
    EXPECT_EQ(Build(out, {"--disks", "1", "--replace-trailer"}), kExitRefused);
    EXPECT_EQ(Run({"list", setup_.string()}), kExitMismatch);
}

// The one-folder layout is built, verified and installed as a sample set.
TEST_F(MkdisksCommandLine, FloppyImages) {
    if (std::system("mformat --version >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "mtools is not installed";
    fs::path out = root_ / "images";
    ASSERT_EQ(Build(out, {"--disks", "2", "--images"}), kExitOk) << errors_;
    fs::path onlyImages = root_ / "only-images";
    fs::create_directories(onlyImages);
    for (const char* image : {"disk1.img", "disk2.img"}) {
        EXPECT_EQ(fs::file_size(out / image), 1474560u);
        fs::copy_file(out / image, onlyImages / image);
    }
    EXPECT_EQ(Run({"verify", onlyImages.string(), "--against", product_.string()}), kExitOk)
        << errors_;
    EXPECT_NE(output_.find("Read 2 floppy image(s)"), std::string::npos);

    // A product that does not fit one floppy.
    std::mt19937 random(3);
    std::string noise;
    for (int i = 0; i < 1500000; ++i) noise += char(random());
    Add("BIG.DAT", noise);
    EXPECT_EQ(Build(root_ / "big", {"--disks", "1", "--images"}), kExitRefused);
    EXPECT_NE(errors_.find("floppy"), std::string::npos) << errors_;
}

// The decoder's allowance past the end (kLzhReadsPastEnd, which the setup program's read side
// enforces too) holds for every sound stream and refuses a stream one byte short: streams of
// many lengths and kinds of data.
TEST(MkdisksStream, ArchiveLengthTellsTruncatedAndOverlongStreams) {
    std::mt19937 random(11);
    std::vector<size_t> sizes = {1, 2, 100, 5000, 70000};
    for (int i = 0; i < 40; ++i) sizes.push_back(1 + random() % 40000);
    for (size_t size : sizes) {
        std::vector<uint8_t> data(size);
        uint32_t kinds = 1 + random() % 256;  // from one repeated byte to noise
        for (uint8_t& b : data) b = uint8_t(random() % kinds);
        std::vector<uint8_t> stream = LzhEncode(data.data(), data.size());
        DecodeOutcome sound = Decompress(stream, int32_t(size));
        EXPECT_EQ(sound.Output, data);
        EXPECT_EQ(ArchiveLengthFault(stream.size(), sound.BytesRequested), "") << size;

        std::vector<uint8_t> cut(stream.begin(), stream.end() - 1);
        EXPECT_NE(ArchiveLengthFault(cut.size(), Decompress(cut, int32_t(size)).BytesRequested), "")
            << size;
        std::vector<uint8_t> longer = stream;
        longer.insert(longer.end(), {0, 0});
        EXPECT_NE(
            ArchiveLengthFault(longer.size(), Decompress(longer, int32_t(size)).BytesRequested), "")
            << size;
    }
}
