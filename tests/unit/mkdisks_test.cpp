// mkdisks: what a product folder may hold and the image and table made of it, where a setup
// program's image ends and what follows it, and how the archive is cut into volumes when disk 1
// also carries the setup program; then the command line, on a small generated product and a
// stand-in setup program: build, list and verify sets; verify failing on damaged ones; and every
// refusal leaving the vendor's files, the inputs and the earlier set as they were.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "commands.h"
#include "core/crc32.h"
#include "core/disk_set_block.h"
#include "core/profile.h"
#include "core/trailer.h"
#include "core/volume_names.h"
#include "errors.h"
#include "file_io.h"
#include "floppy.h"
#include "product.h"
#include "report.h"
#include "setup_program.h"
#include "subcommands.h"
#include "volume_plan.h"

using namespace tidemark;
using namespace tidemark::mkdisks;
namespace fs = std::filesystem;

namespace {

// Minimal PE files laid out as a linker does: headers, sections of 0x400 raw bytes (the first
// holding the unstamped disk set block the setup program ships with), and optionally COFF
// symbols with their string table.
std::vector<uint8_t> FakeProgram(bool pe32Plus = false, bool diskSetBlock = true,
                                 uint32_t sections = 2, uint32_t symbolCount = 0,
                                 uint32_t stringTableSize = 4) {
    const size_t coff = 0x44, optional = coff + 20, symbols = 0x400 + sections * 0x400;
    const uint32_t optionalSize = pe32Plus ? 240 : 224;
    std::vector<uint8_t> b(symbols + (symbolCount ? symbolCount * 18 + stringTableSize : 0), 0);
    auto put = [&b](size_t at, uint32_t v) {  // little-endian
        for (int k = 0; k < 4; ++k) b[at + k] = uint8_t(v >> 8 * k);
    };
    put(0, 'M' | 'Z' << 8);
    put(0x3C, 0x40);
    put(0x40, 'P' | 'E' << 8);
    put(coff, (pe32Plus ? 0x8664 : 0x14C) | sections << 16);
    put(coff + 8, symbolCount ? uint32_t(symbols) : 0);
    put(coff + 12, symbolCount);
    put(coff + 16, optionalSize);
    put(optional, pe32Plus ? 0x20B : 0x10B);
    put(optional + (pe32Plus ? 108 : 92), 16);  // data directories
    for (uint32_t i = 0; i < sections; ++i) {
        put(optional + optionalSize + i * 40 + 16, 0x400);
        put(optional + optionalSize + i * 40 + 20, 0x400 + i * 0x400);
    }
    if (diskSetBlock)  // the block the setup program ships with
        std::memcpy(&b[0x410], const_cast<const uint8_t*>(DiskSetBlock.Bytes), kDiskSetBlockSize);
    if (symbolCount) put(symbols + symbolCount * 18, stringTableSize);
    return b;
}

class Mkdisks : public ::testing::Test {
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
        WriteWholeFile(setup_ = root_ / "setup-plain.exe", FakeProgram());
    }
    void TearDown() override { fs::remove_all(root_); }

    void Add(const std::string& name, const std::string& content) {
        std::ofstream(product_ / name, std::ios::binary) << content;
    }
    int Run(std::vector<std::string> args) {
        std::ostringstream out, err;
        int code = RunMkdisks(args, out, err);
        errors_ = err.str(), output_ = out.str();
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
    std::string errors_, output_;
};

}  // namespace

TEST_F(Mkdisks, ProductImageOrderTableAndRefusals) {
    fs::path dir = product_ = root_ / "small";
    fs::create_directories(dir);
    EXPECT_THROW(ReadProduct(dir, "Tidemark.Exe"), Refusal);  // no main program
    Add("Tidemark.Exe", "MZIN!");
    EXPECT_THROW(ReadProduct(dir, "Tidemark.Exe"), Refusal);  // nothing for the table to list
    const char* files[][2] = {
        {"b.txt", "bb"}, {"A.TXT", "a"}, {"EMPTY.DAT", ""}, {"C.HLP", "cccc"}};
    for (auto& file : files) Add(file[0], file[1]);
    // The main program first, then the others by name in byte order (upper case first).
    UnpackedImage image = BuildImage(ReadProduct(dir, "TIDEMARK.EXE"));
    EXPECT_EQ(std::string(image.Bytes.begin(), image.Bytes.end()), "MZIN!accccbb");
    std::string table;
    for (const FileTableEntry& e : image.Trailer.Table)
        table += e.Name + "@" + std::to_string(e.Offset) + "+" + std::to_string(e.Size) + " ";
    EXPECT_EQ(table, "A.TXT@5+1 C.HLP@6+4 EMPTY.DAT@10+0 b.txt@10+2 ");
    EXPECT_EQ(image.Trailer.UnpackedSize, 12);
    // Names the install could not reproduce as they stand, and folders, are refused.
    for (const char* clash : {"a.txt", "NUL.TXT", "TIDEMARK.exe", "a_name_of_20_chars.x"}) {
        Add(clash, "x");
        EXPECT_THROW(ReadProduct(dir, "Tidemark.Exe"), Refusal) << clash;
        fs::remove(dir / clash);
    }
    fs::create_directory(dir / "SUB");
    EXPECT_THROW(ReadProduct(dir, "Tidemark.Exe"), Refusal);
}

static std::vector<uint8_t> Appended(std::vector<uint8_t> program,
                                     const std::vector<uint8_t>& tail) {
    program.insert(program.end(), tail.begin(), tail.end());
    return program;
}

TEST(MkdisksSetupProgram, ImageEndCountsSectionsAndSymbols) {
    EXPECT_EQ(ProgramImageEnd(FakeProgram()), 0xC00);
    EXPECT_EQ(ProgramImageEnd(FakeProgram(true, true, 3)), 0x1000);  // PE32+
    EXPECT_EQ(ProgramImageEnd(FakeProgram(false, true, 2, 10, 37)), 0xC00 + 180 + 37);
    std::vector<uint8_t> noSignature = FakeProgram(), cut = FakeProgram(), header = FakeProgram();
    std::vector<uint8_t> firstLast = FakeProgram();  // section 1's data after section 2's
    firstLast[0x11C + 21] = 0x08, firstLast[0x11C + 40 + 21] = 0x04;
    EXPECT_EQ(ProgramImageEnd(firstLast), 0xC00);
    noSignature[0x40] = 'X';
    cut.pop_back();       // the last section runs past the end of the file
    header.resize(0x50);  // the headers themselves are cut short
    for (const auto& bytes : {std::vector<uint8_t>(4096, 'x'), noSignature, cut, header})
        EXPECT_EQ(ProgramImageEnd(bytes), -1);
}

// A program whose last bytes happen to parse as a table (zero padding reads as an empty one) is
// plain; a table after it is found even after other appended data; anything else is unknown.
TEST(MkdisksSetupProgram, WhatFollowsTheImage) {
    PayloadTrailer good;
    good.Table = {{"FILETIDE.HLP", 1000, 300}, {"README.TXT", 1300, 200}};
    good.UnpackedSize = 1500;
    std::vector<uint8_t> table = EncodeTrailer(good), lookalike = FakeProgram();
    std::copy(table.begin(), table.end(), lookalike.end() - long(table.size()));
    for (const auto& plain : {FakeProgram(), lookalike, FakeProgram(false, true, 2, 3)})
        EXPECT_EQ(InspectSetupProgram(plain).Tail, SetupTail::Plain);
    SetupInspection found = InspectSetupProgram(
        Appended(Appended(FakeProgram(), std::vector<uint8_t>(77, 0xAB)), table));
    EXPECT_EQ(found.Tail, SetupTail::FileTable);
    EXPECT_EQ(found.TrailerBytes, TrailerSize(2));  // only the table is replaced, not the overlay
    PayloadTrailer gap = good;
    gap.Table[1].Offset = 1310, gap.UnpackedSize = 1510;
    std::vector<uint8_t> lastEntryOnly(table.end() - 33, table.end());  // claims more entries
    for (const auto& tail : {std::vector<uint8_t>{1, 2, 3}, EncodeTrailer(gap), lastEntryOnly})
        EXPECT_EQ(InspectSetupProgram(Appended(FakeProgram(), tail)).Tail, SetupTail::UnknownData);
}

TEST(MkdisksVolumePlan, DiskCountSharesTheWholeSetAndDiskSizeFillsEachDisk) {
    // The shipped archive over 3 disks with a 200,000-byte setup program: a third of 3,590,000
    // each, rounded up; the last volume takes what is left, every disk some of the archive.
    EXPECT_EQ(CutVolumes(3390000, 200000, {3, 0}),
              (std::vector<int64_t>{996667, 1196667, 1196666}));
    EXPECT_EQ(CutVolumes(3, 0, {3, 0}), (std::vector<int64_t>{1, 1, 1}));
    std::vector<int64_t> cut =
        CutVolumes(123457, 1777, {4, 0}, 512);  // only the last ends mid-cluster
    EXPECT_TRUE(cut[0] % 512 == 0 && cut[1] % 512 == 0 && cut[2] % 512 == 0) << cut[0];
    EXPECT_EQ(cut[0] + cut[1] + cut[2] + cut[3], 123457);
    // Too many disks, none, a setup program bigger than a disk's share, too little archive.
    const int64_t refused[][3] = {{100000, 1000, 5}, {100000, 1000, 0}, {1000, 5000, 2}, {2, 0, 3}};
    for (auto& r : refused) EXPECT_THROW(CutVolumes(r[0], r[1], {int(r[2]), 0}), Refusal) << r[0];
    // Disk 1 holds the setup program, so it takes less of the archive.
    EXPECT_EQ(CutVolumes(2500, 200, {0, 1000}), (std::vector<int64_t>{800, 1000, 700}));
    // Exactly full, one byte over (a fifth disk, named), disk 1's room after setup.exe.
    EXPECT_EQ(CutVolumes(3800, 200, {0, 1000}).size(), 4u);
    std::string why;
    try {
        CutVolumes(3801, 200, {0, 1000});
    } catch (const Refusal& e) {
        why = e.what();
    }
    EXPECT_NE(why.find("needs 5 disks"), std::string::npos) << why;
    EXPECT_EQ(CutVolumes(800, 200, {0, 1000}), std::vector<int64_t>{800});
    EXPECT_EQ(CutVolumes(801, 200, {0, 1000}), (std::vector<int64_t>{800, 1}));
    // A 1.44 MB floppy holds its data bytes exactly; disk 1 holds setup.exe too.
    const int64_t fits[][3] = {{kFloppyDataBytes, 0, 0},
                               {kFloppyDataBytes + 1, 0, 1},
                               {kFloppyDataBytes - 512, 512, 0},
                               {kFloppyDataBytes - 512, 513, 1}};
    for (auto& f : fits) EXPECT_EQ(FirstOverfullFloppy({f[0], f[0]}, f[1]), f[2]) << f[0];
    EXPECT_EQ(FirstOverfullFloppy({1, kFloppyDataBytes + 1}, 0), 2);
    EXPECT_THROW(CutVolumes(3, 1000, {0, 1000}), Refusal);
    // On floppies in whole clusters: the setup program takes 673, volume 1 the other 2174.
    const int64_t floppy = 1457664;
    EXPECT_EQ(CutVolumes(3395841, 344433, {0, floppy}, 512),
              (std::vector<int64_t>{2174 * 512, floppy, 3395841 - 2174 * 512 - floppy}));
}

// The images' time: SOURCE_DATE_EPOCH when it is plain digits and a time a FAT disk holds, else
// the fixed default; the serial number follows the label and that time.
TEST(MkdisksFloppy, TimeAndSerialAreFixedByTheSetAlone) {
    for (const char* text : {"315532799", "4354819200", "17e8", "-1700000000"})
        EXPECT_EQ(FloppyTime(text), kFloppyDefaultTime) << text;
    EXPECT_EQ(FloppyTime("1700000000"), 1700000000);
    EXPECT_NE(FloppySerial("DISK1", 1700000000), FloppySerial("DISK2", 1700000000));
    EXPECT_NE(FloppySerial("DISK1", 1700000000), FloppySerial("DISK1", 1700000002));
}

TEST_F(Mkdisks, VerifyFailsOnDamagedMissingOrChangedSets) {
    fs::path out = root_ / "disks";
    ASSERT_EQ(Build(out, {"--disks", "4"}), kExitOk) << errors_;
    EXPECT_EQ(Verify(out, true), kExitOk) << errors_;

    // A flipped byte in any volume is named by its volume, with the product to compare or not.
    for (int n = 1; n <= 4; ++n) {
        fs::path volume = out / ("disk" + std::to_string(n)) / VolumeFileName("Tidemark.001", n);
        std::vector<uint8_t> bytes = ReadWholeFile(volume), damaged = bytes;
        damaged[bytes.size() / 2] ^= 0x5A;
        WriteWholeFile(volume, damaged);
        EXPECT_EQ(Verify(out, n == 4), kExitMismatch) << n;
        std::string says = "volume " + std::to_string(n) + " (" + volume.filename().string() + ")";
        EXPECT_NE(errors_.find(says + " is damaged"), std::string::npos) << errors_;
        WriteWholeFile(volume, bytes);
    }
    // Without the product to compare with, a short archive still shows.
    fs::resize_file(out / "disk4/Tidemark.004", fs::file_size(out / "disk4/Tidemark.004") - 10);
    EXPECT_EQ(Verify(out), kExitMismatch);
    EXPECT_NE(errors_.find("early"), std::string::npos) << errors_;

    ASSERT_EQ(Build(out, {"--disks", "2"}), kExitOk) << errors_;
    EXPECT_FALSE(fs::exists(out / "disk3")) << "a rebuild leaves no disk of the earlier set";
    fs::rename(out / "disk2/Tidemark.002", out / "disk2/tidemark.002");  // as on a FAT disk
    EXPECT_EQ(Verify(out, true), kExitOk) << errors_;
    Add("NEWFILE.TXT", "not on the disks");
    EXPECT_EQ(Verify(out, true), kExitMismatch);
    EXPECT_NE(errors_.find("NEWFILE.TXT"), std::string::npos) << errors_;
}

// Each refusal below leaves everything as it was: the vendor's files, the inputs, the set.
TEST_F(Mkdisks, BuildReplacesOnlyWhatItWroteAndNeverAnInput) {
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

TEST_F(Mkdisks, RefusesWithExitCode2AndWritesNothing) {
    fs::path out = root_ / "disks", notes = root_ / "notes.txt", kept = product_ / "NEW.LZH";
    WriteWholeFile(notes, std::vector<uint8_t>(4000, 'n'));
    // The archive holds over 33,000 bytes of noise, more than four disks of 8,000 bytes; the
    // stand-in setup program is 3,072 bytes and its table 145 more. --stream replaces only a
    // stream, and one kept in the product folder would ship on the next build's disks.
    const std::vector<std::pair<std::vector<std::string>, std::string>> refusals = {
        {{"--disks", "1", "--main", "README.TXT"}, "Tidemark.Exe"},
        {{"--disks", "1", "--stream", notes.string()}, "other than a compressed product"},
        {{"--disks", "1", "--stream", kept.string()}, "product folder"},
        {{"--disk-size", "8000"}, "at most 4"},
        {{"--disk-size", "3217"}, "cannot hold the setup program"},
        {{"--disks", "2", "--disk-size", "90000"}, "either"}};
    for (const auto& [args, says] : refusals) {
        EXPECT_EQ(Build(out, args), kExitRefused) << args[1];
        EXPECT_NE(errors_.find(says), std::string::npos) << errors_;
    }
    // The set's numbers go into the copy of the setup program on disk 1, never into the program
    // given (verify checks the numbers themselves). Refused as the setup program: one carrying a
    // table, one stamped (even without its table), one without the block, one not a program.
    ASSERT_EQ(Build(root_ / "first", {"--disks", "1"}), kExitOk) << errors_;
    std::vector<uint8_t> carrying = ReadWholeFile(root_ / "first/disk1/setup.exe");
    int64_t at = FindDiskSetBlock(carrying, ProgramImageEnd(carrying));
    ASSERT_GE(at, 0);
    EXPECT_FALSE(DecodeDiskSetBlock(&ReadWholeFile(setup_)[size_t(at)]).Stamped());
    const std::pair<std::vector<uint8_t>, const char*> programs[] = {
        {carrying, "already carries"},
        {{carrying.begin(), carrying.end() - long(TrailerSize(5))}, "stamped"},
        {FakeProgram(false, false), "no disk set block"},
        {std::vector<uint8_t>(5000, 'x'), "not a Windows program"}};
    for (const auto& [program, says] : programs) {
        WriteWholeFile(setup_ = root_ / "given.exe", program);
        EXPECT_EQ(Build(out, {"--disks", "1"}), kExitRefused) << says;
        EXPECT_NE(errors_.find(says), std::string::npos) << errors_;
    }
    EXPECT_FALSE(fs::exists(out) || fs::exists(kept));
    EXPECT_EQ(ReadWholeFile(notes), std::vector<uint8_t>(4000, 'n'));
}

// 2 for a command line that does not say what to do, in every command; 1 for a file to check
// that is damaged; help, per command, and the version where people look for them.
TEST_F(Mkdisks, ExitCodesHelpAndVersion) {
    const std::string p = product_.string(), no = (root_ / "none").string(),
                      text = (product_ / "README.TXT").string(), s = setup_.string();
    const std::vector<std::pair<std::vector<std::string>, std::pair<int, std::string>>> cases = {
        {{}, {2, "exit codes"}},
        {{"--help"}, {0, "mkdisks unpack IN OUT SIZE"}},
        {{"help", "verify"}, {0, "--against PRODUCT_DIR"}},
        {{"--version"}, {0, "mkdisks 1"}},
        {{"frobnicate"}, {2, "mkdisks --help"}},
        {{"list"}, {2, "see mkdisks list --help"}},
        {{"list", no}, {2, "no file"}},
        {{"list", s}, {1, "no file table"}},
        {{"verify", p, "--bogus"}, {2, "unknown option --bogus"}},
        {{"verify", no}, {2, "no folder"}},
        {{"verify", p}, {1, "no setup.exe"}},
        {{"pack", text, no, "--parse", "best"}, {2, "best"}},
        {{"unpack", text, no, "x"}, {2, "SIZE"}},
        {{"unpack", no, no, "5"}, {2, "cannot open"}},
        {{"plan", p, "--disk-size", "9000"}, {2, "--setup-size"}},
        {{"plan", p, "--disks", "2"}, {0, "no UnInstal.Exe"}},
        {{"build", p}, {2, "--setup"}},
        {{"build", p, "--setup", s, "--disks", "1", "--out", no, "--help"}, {0, "--one-folder"}}};
    for (const auto& [args, expected] : cases) {
        EXPECT_EQ(Run(args), expected.first) << args.size();
        EXPECT_NE((output_ + errors_).find(expected.second), std::string::npos)
            << output_ << errors_;
    }
}

// Every entry and volume is named; a product without an uninstaller is built with a warning.
TEST_F(Mkdisks, ReportsNameEveryFileAndVolume) {
    fs::path out = root_ / "disks", kept = root_ / "kept.lzh";
    WriteWholeFile(kept, {});      // an empty file to keep the stream in is taken
    for (int round : {0, 1, 2}) {  // the product changes once, then is built again
        bool uninstaller = round > 0;
        // Of the same size, so that the stream kept for the first product decodes in full.
        if (round == 1)
            Add("UNINSTAL.EXE", ""),
                Add("README.TXT", std::string(fs::file_size(product_ / "README.TXT"), 'r'));
        ASSERT_EQ(Build(out, {"--disks", "3", "--stream", kept.string()}), kExitOk) << errors_;
        std::string built = output_, warned = errors_,
                    last = Grouped(int64_t(fs::file_size(out / "disk3/Tidemark.003")));
        EXPECT_NE(built.find("disk3: Tidemark.003 " + last + "; total " + last), std::string::npos);
        EXPECT_NE(built.find(round == 2 ? "kept stream reused" : "(compressed"), std::string::npos);
        EXPECT_EQ(Run({"list", (out / "disk1/setup.exe").string()}), kExitOk) << errors_;
        EXPECT_EQ(warned.find("no UnInstal.Exe") == std::string::npos, uninstaller) << warned;
        EXPECT_EQ(errors_, warned);
        for (const char* name : {"EMPTY.TXT", "TMCORE.DLL", "Tidemark.001", "Tidemark.003"})
            EXPECT_NE(output_.find(name), std::string::npos) << name;  // what list names
        for (const char* name : {"EMPTY.TXT", "README.TXT", "TMCORE.DLL", "disk1: setup.exe",
                                 "Tidemark.001", "disk2: Tidemark.002", "DiskCount 3"})
            EXPECT_NE(built.find(name), std::string::npos) << name << built;
    }
    EXPECT_EQ(Grouped(1234567) + Grouped(999) + Grouped(-1000), "1,234,567999-1,000");
    // A table the stamp does not match, still well-formed: README.TXT renamed README.TXU.
    std::vector<uint8_t> setup = ReadWholeFile(out / "disk1/setup.exe");
    const std::string name = "README.TXT";
    std::search(setup.begin(), setup.end(), name.begin(), name.end())[9] = 'U';
    WriteWholeFile(out / "disk1/setup.exe", setup);
    EXPECT_EQ(Run({"list", (out / "disk1/setup.exe").string()}), kExitMismatch);
    EXPECT_NE(errors_.find("CRC-32"), std::string::npos) << errors_;
}

// A failure leaves nothing new behind: not the damaged stream's output, not half a disk set.
TEST_F(Mkdisks, FailuresLeaveNothingBehind) {
    fs::path stream = root_ / "readme.lzh", out = root_ / "readme.out";
    ASSERT_EQ(Run({"pack", (product_ / "README.TXT").string(), stream.string()}), kExitOk);
    ASSERT_EQ(Run({"unpack", stream.string(), out.string(), "50000"}), kExitOk) << errors_;
    EXPECT_EQ(ReadWholeFile(out), ReadWholeFile(product_ / "README.TXT"));
    fs::remove(out);
    fs::resize_file(stream, fs::file_size(stream) / 2);
    EXPECT_EQ(Run({"unpack", stream.string(), out.string(), "50000"}), kExitMismatch);
    std::string path = getenv("PATH");  // without mtools, the images cannot be made
    setenv("PATH", "", 1);
    fs::create_directory(root_ / "empty");
    for (const char* folder : {"disks", "empty"})
        EXPECT_EQ(Build(root_ / folder, {"--disks", "2", "--images"}), kExitRefused) << folder;
    setenv("PATH", path.c_str(), 1);
    EXPECT_NE(errors_.find("mtools"), std::string::npos) << errors_;
    EXPECT_TRUE(fs::is_empty(root_ / "empty") && !fs::exists(root_ / "disks"));
    // With it, each disk's image; the folders moved away, verify reads the images.
    ASSERT_EQ(Build(root_ / "images", {"--disks", "2", "--images"}), kExitOk) << errors_;
    fs::remove_all(root_ / "images/disk1"), fs::remove_all(root_ / "images/disk2");
    EXPECT_EQ(Verify(root_ / "images", true), kExitOk) << errors_;
    EXPECT_THROW(WriteWholeFile(product_, {1}), FileFailure);  // a folder is not replaced
    auto entries = std::distance(fs::directory_iterator(root_), fs::directory_iterator());
    EXPECT_EQ(entries, 5) << "the stand-in setup program, the stream, product, images, empty";
}
