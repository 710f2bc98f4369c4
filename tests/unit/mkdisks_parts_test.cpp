// mkdisks' decisions apart from its command line: what a product folder may hold and the image
// and table made of it, where a setup program's image ends and what follows it, and how the
// archive is cut into volumes when disk 1 also carries the setup program.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "errors.h"
#include "mkdisks_fake_program.h"
#include "payload/trailer.h"
#include "product.h"
#include "setup_program.h"
#include "volume_plan.h"

using namespace tidemark;
using namespace tidemark::mkdisks;
using mkdisks_test::FakeProgram;
using mkdisks_test::ProgramShape;
namespace fs = std::filesystem;

TEST(MkdisksProduct, ImageOrderTableAndRefusals) {
    fs::path dir =
        fs::temp_directory_path() / ("mkdisks-" + std::to_string(std::random_device{}()));
    fs::create_directories(dir);
    auto add = [&](const std::string& name, const std::string& content) {
        std::ofstream(dir / name, std::ios::binary) << content;
    };
    EXPECT_THROW(ReadProduct(dir, "Tidemark.Exe"), Refusal);  // no main program
    const char* files[][2] = {{"Tidemark.Exe", "MZIN!"},
                              {"b.txt", "bb"},
                              {"A.TXT", "a"},
                              {"EMPTY.DAT", ""},
                              {"C.HLP", "cccc"}};
    for (auto& file : files) add(file[0], file[1]);
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
        add(clash, "x");
        EXPECT_THROW(ReadProduct(dir, "Tidemark.Exe"), Refusal) << clash;
        fs::remove(dir / clash);
    }
    fs::create_directory(dir / "SUB");
    EXPECT_THROW(ReadProduct(dir, "Tidemark.Exe"), Refusal);
    fs::remove_all(dir);
}

static std::vector<uint8_t> Appended(std::vector<uint8_t> program,
                                     const std::vector<uint8_t>& tail) {
    program.insert(program.end(), tail.begin(), tail.end());
    return program;
}

TEST(MkdisksSetupProgram, ImageEndCountsSectionsAndSymbols) {
    EXPECT_EQ(ProgramImageEnd(FakeProgram()), 0xC00);
    EXPECT_EQ(ProgramImageEnd(FakeProgram({true, true, 3})), 0x1000);  // PE32+
    EXPECT_EQ(ProgramImageEnd(FakeProgram({false, true, 2, 10, 37})), 0xC00 + 180 + 37);
    std::vector<uint8_t> noSignature = FakeProgram(), cut = FakeProgram(), header = FakeProgram();
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
    for (const auto& plain : {FakeProgram(), lookalike, FakeProgram({false, true, 2, 3})})
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
    EXPECT_THROW(CutVolumes(3801, 200, {0, 1000}), Refusal);  // a fifth disk
    EXPECT_THROW(CutVolumes(3, 1000, {0, 1000}), Refusal);
    // On floppies in whole clusters: the setup program takes 673, volume 1 the other 2174.
    const int64_t floppy = 1457664;
    EXPECT_EQ(CutVolumes(3395841, 344433, {0, floppy}, 512),
              (std::vector<int64_t>{2174 * 512, floppy, 3395841 - 2174 * 512 - floppy}));
}
