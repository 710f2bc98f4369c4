// mkdisks from the command line, on a small generated product and a stand-in setup program:
// build, list and verify sets; verify failing on damaged ones; and every refusal leaving the
// vendor's files, the inputs and the earlier set as they were.
#include <gtest/gtest.h>

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
        root_ = fs::temp_directory_path() / ("mkdisks-" + std::to_string(std::random_device{}()));
        fs::create_directories(product_ = root_ / "product");
        std::mt19937 random(7);
        std::string code, noise, text;
        for (int i = 0; i < 40000; ++i) code += "\x55\x8B\xEC\x83\xC4\xE8\x00\xC3"[random() % 8];
        for (int i = 0; i < 30000; ++i) noise += char(random());
        while (text.size() < 50000) text += "FileTidemark keeps your files in order. ";
        Add("Tidemark.Exe", "MZ" + code.substr(0, 9000));
        Add("TMCORE.DLL", code);
        Add("PICTURES.DAT", noise);
        Add("README.TXT", text);
        Add("FILETIDE.HLP", text.substr(0, 7000) + noise.substr(0, 3000));
        Add("EMPTY.TXT", "");
        WriteWholeFile(setup_ = root_ / "setup-plain.exe", mkdisks_test::FakeProgram());
    }
    void TearDown() override { fs::remove_all(root_); }

    void Add(const std::string& name, const std::string& content) {
        std::ofstream(product_ / name, std::ios::binary) << content;
    }
    int Run(std::vector<std::string> args) {
        std::ostringstream out, err;
        int code = RunMkdisks(args, out, err);
        errors_ = err.str();
        return code;
    }
    int Build(const fs::path& out, std::vector<std::string> more) {
        std::vector<std::string> args = {"build",         product_.string(), "--setup",
                                         setup_.string(), "--out",           out.string()};
        args.insert(args.end(), more.begin(), more.end());
        return Run(args);
    }
    int Verify(const fs::path& out, bool against = false) {
        return against ? Run({"verify", out.string(), "--against", product_.string()})
                       : Run({"verify", out.string()});
    }
    fs::path root_, product_, setup_;
    std::string errors_;
};

}  // namespace

TEST_F(MkdisksCommandLine, VerifyFailsOnDamagedMissingOrChangedSets) {
    fs::path out = root_ / "disks";
    ASSERT_EQ(Build(out, {"--disks", "3"}), kExitOk) << errors_;
    EXPECT_EQ(Verify(out, true), kExitOk) << errors_;

    // A flipped byte in any volume is named by its volume, with the product to compare or not.
    for (int n = 1; n <= 3; ++n) {
        fs::path volume = out / ("disk" + std::to_string(n)) / VolumeFileName("Tidemark.001", n);
        std::vector<uint8_t> bytes = ReadWholeFile(volume), damaged = bytes;
        damaged[bytes.size() / 2] ^= 0x5A;
        WriteWholeFile(volume, damaged);
        EXPECT_EQ(Verify(out, n == 3), kExitMismatch) << n;
        EXPECT_NE(errors_.find("volume " + std::to_string(n) + " (" + volume.filename().string() +
                               ") is damaged"),
                  std::string::npos)
            << errors_;
        WriteWholeFile(volume, bytes);
    }
    // Without the product to compare with, a short archive still shows.
    fs::resize_file(out / "disk3/Tidemark.003", fs::file_size(out / "disk3/Tidemark.003") - 10);
    EXPECT_EQ(Verify(out), kExitMismatch);
    EXPECT_NE(errors_.find("early"), std::string::npos) << errors_;

    ASSERT_EQ(Build(out, {"--disks", "2"}), kExitOk) << errors_;
    EXPECT_FALSE(fs::exists(out / "disk3")) << "a rebuild leaves no disk of the earlier set";
    Add("NEWFILE.TXT", "not on the disks");
    EXPECT_EQ(Verify(out, true), kExitMismatch);
    EXPECT_NE(errors_.find("NEWFILE.TXT"), std::string::npos) << errors_;
}

// The set's numbers and fingerprints go into the copy of the setup program on disk 1, never into
// the program given; a stamped program, or one without the block, is refused.
TEST_F(MkdisksCommandLine, BuildStampsTheSetIntoItsCopyOfTheSetupProgram) {
    fs::path out = root_ / "disks";
    ASSERT_EQ(Build(out, {"--disks", "2"}), kExitOk) << errors_;
    std::vector<uint8_t> setup = ReadWholeFile(out / "disk1/setup.exe"), archive;
    int64_t at = FindDiskSetBlock(setup, ProgramImageEnd(setup));
    ASSERT_GE(at, 0);
    DiskSetNumbers n = DecodeDiskSetBlock(&setup[size_t(at)]);
    EXPECT_EQ(n.DiskCount, 2);
    for (int i = 0; i < 2; ++i) {
        std::vector<uint8_t> volume = ReadWholeFile(out / ("disk" + std::to_string(i + 1)) /
                                                    VolumeFileName("Tidemark.001", i + 1));
        EXPECT_EQ(n.VolumeSize[i], int32_t(volume.size()));
        EXPECT_EQ(n.VolumeCrc[i], Crc32(volume.data(), volume.size()));
        archive.insert(archive.end(), volume.begin(), volume.end());
    }
    EXPECT_EQ(n.ExpectedArchiveSize, int32_t(archive.size()));
    size_t table = TrailerSize(5);  // every file but the main program
    EXPECT_EQ(n.TableCrc, Crc32(&setup[setup.size() - table], table));
    EXPECT_FALSE(DecodeDiskSetBlock(&ReadWholeFile(setup_)[size_t(at)]).Stamped());

    setup.resize(setup.size() - table);  // a stamp without a table is still a stamp
    WriteWholeFile(setup_ = root_ / "stamped.exe", setup);
    EXPECT_EQ(Build(root_ / "again", {"--disks", "1"}), kExitRefused);
    EXPECT_NE(errors_.find("stamped"), std::string::npos) << errors_;
    WriteWholeFile(setup_, mkdisks_test::FakeProgram({false, false}));
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
    fs::remove_all(out);

    ASSERT_EQ(Build(out, {"--disks", "3"}), kExitOk) << errors_;
    WriteWholeFile(out / "disk1/notes.txt", {1});
    EXPECT_EQ(Build(out, {"--disks", "2"}), kExitRefused);
    EXPECT_NE(errors_.find("disk1/notes.txt"), std::string::npos) << errors_;
    EXPECT_TRUE(fs::exists(out / "disk3/Tidemark.003"));
    fs::remove(out / "disk1/notes.txt");

    // Inputs in the output folder: the setup program, the kept stream, the product folder.
    fs::path setupInside = out / "disk1/setup.exe";
    EXPECT_EQ(Build(out, {"--disks", "1", "--replace-trailer", "--setup", setupInside.string()}),
              kExitRefused);
    EXPECT_EQ(Build(out, {"--disks", "1", "--stream", (out / "a.lzh").string()}), kExitRefused);
    fs::copy(product_, out / "disk2", fs::copy_options::overwrite_existing);
    EXPECT_EQ(Run({"build", (out / "disk2").string(), "--setup", setup_.string(), "--disks", "1",
                   "--out", out.string()}),
              kExitRefused);
    EXPECT_TRUE(fs::exists(out / "disk2/Tidemark.002"));
}

TEST_F(MkdisksCommandLine, RefusesWithExitCode2AndWritesNothing) {
    fs::path out = root_ / "disks", notes = root_ / "notes.txt", kept = product_ / "NEW.LZH";
    WriteWholeFile(notes, std::vector<uint8_t>(4000, 'n'));
    // The archive holds over 33,000 bytes of noise, more than four disks of 8,000 bytes; the
    // stand-in setup program is 3,072 bytes and its table 145 more. --stream replaces only a
    // stream, and one kept in the product folder would ship on the next build's disks.
    const std::vector<std::pair<std::vector<std::string>, std::string>> refusals = {
        {{"--disks", "1", "--main", "README.TXT"}, "Tidemark.Exe"},
        {{"--disks", "1", "--stream", notes.string()}, ""},
        {{"--disks", "1", "--stream", kept.string()}, "product folder"},
        {{"--disks", "5"}, ""},
        {{"--disk-size", "8000"}, "at most 4"},
        {{"--disk-size", "3217"}, "cannot hold the setup program"},
        {{"--disks", "2", "--disk-size", "90000"}, ""},
        {{"--disks", "two"}, ""}};
    for (const auto& [args, says] : refusals) {
        EXPECT_EQ(Build(out, args), kExitRefused) << args[1];
        EXPECT_NE(errors_.find(says), std::string::npos) << errors_;
    }
    // A setup program that already carries a table, or other data after its image.
    ASSERT_EQ(Build(root_ / "first", {"--disks", "1"}), kExitOk) << errors_;
    fs::copy_file(root_ / "first/disk1/setup.exe", setup_ = root_ / "carrying.exe");
    EXPECT_EQ(Build(out, {"--disks", "1"}), kExitRefused);
    EXPECT_NE(errors_.find("already carries"), std::string::npos) << errors_;
    WriteWholeFile(setup_, std::vector<uint8_t>(5000, 'x'));
    EXPECT_EQ(Build(out, {"--disks", "1"}), kExitRefused) << "not a Windows program";
    EXPECT_FALSE(fs::exists(out) || fs::exists(kept));
    EXPECT_EQ(ReadWholeFile(notes), std::vector<uint8_t>(4000, 'n'));
    EXPECT_EQ(Run({"build", product_.string()}), kExitRefused);
    EXPECT_EQ(Run({"frobnicate"}), kExitRefused);
}
