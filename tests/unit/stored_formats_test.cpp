// What mkdisks writes and the setup program reads: the file table at the end of setup.exe, the
// disk set block, their CRC-32, and the one name rule that keeps hostile names off the disk.
#include <gtest/gtest.h>

#include <cstring>
#include <tuple>

#include "core/crc32.h"
#include "core/disk_set_block.h"
#include "core/error.h"
#include "core/name_rules.h"
#include "core/profile.h"
#include "core/trailer.h"

using namespace tidemark;

// Written field by field rather than through EncodeTrailer, so that encoder and parser cannot
// share a mistake: a name field keeps characters past its length, then little-endian numbers.
TEST(Trailer, ParsesTheBytesAsStoredAndRefusesAShortFile) {
    const char raw[] =
        "MZ"                        // the program's own bytes before the table
        "\x08HELP.HLPLONGERNAME\0"  // name length, 19 characters
        "\x00\xE8\x0C\x00"          // offset
        "\x10\x00\x00\x04"          // size
        "\x01\x11\xE8\x0C\x04";     // count, unpacked size
    std::vector<uint8_t> bytes(raw, raw + sizeof raw - 1);
    PayloadTrailer t;
    ASSERT_TRUE(ParseTrailer(bytes.data() + bytes.size(), bytes.size(), t));
    EXPECT_EQ(t.UnpackedSize, 0x040CE811);
    ASSERT_EQ(t.Table.size(), 1u);
    EXPECT_EQ(t.Table[0].Name, "HELP.HLP");
    EXPECT_EQ(t.Table[0].Offset, 845824);
    EXPECT_EQ(t.Table[0].Size, 0x04000010);
    std::vector<uint8_t> again = EncodeTrailer(t);
    EXPECT_EQ(std::vector<uint8_t>(again.begin() + 20, again.end()),  // the numbers as stored
              std::vector<uint8_t>(bytes.end() - 13, bytes.end()));
    EXPECT_FALSE(ParseTrailer(bytes.data() + bytes.size(), 32, t));  // claims one, holds less
    EXPECT_FALSE(ParseTrailer(bytes.data() + bytes.size(), 4, t));   // shorter than its own tail
}

// The one table rule: a table laid out as the image is and safe to install by passes; any other
// is refused, naming the entry where there is one. A program without a table reads as no
// entries and an unpacked size of 0.
TEST(FileTableCheck, RefusesEveryTableNotLaidOutAsTheImage) {
    auto refused = [](std::string name, int32_t offset, int32_t size, int32_t unpacked = 30,
                      std::vector<uint8_t> lengths = {}) -> std::string {
        PayloadTrailer t{unpacked, {{"MAIN.DLL", 10, 10}, {name, offset, size}}};
        if (name == "-") t.Table.clear();               // no entries
        if (name == "@") t.Table = {{"A.TXT", 0, 30}};  // a main program of no bytes
        try {
            CheckFileTable(t, lengths, "Tidemark.Exe", "Tidemark._LF");
        } catch (const FileTableError& e) {
            return e.Message();
        }
        return "";
    };
    EXPECT_EQ(refused("ZERO.TXT", 20, 0, 20) + refused("A.TXT", 20, 10), "");
    const std::tuple<const char*, int32_t, int32_t, int32_t, const char*> cases[] = {
        {"-", 0, 0, 0, "table is missing"},
        {"-", 0, 0, 9, "no files"},
        {"A.TXT", 20, 10, 0, "size is below 1"},
        {"@", 0, 0, 30, "no room for the main"},
        {"GAP", 25, 5, 30, "2 \"GAP\" does not start"},
        {"A", 15, 15, 30, "not start"},
        {"A", 20, 5, 30, "2 \"A\" does not end where"},
        {"A", 20, 0x7FFFFFF0, INT32_MAX, "not end"},
        {"A", 20, -1, 30, "negative"},
        {"..\\EVIL.EXE", 20, 10, 30, "entry 2 \"..\\EVIL.EXE\" holds a folder"}};
    for (const auto& [name, offset, size, unpacked, says] : cases)
        EXPECT_NE(refused(name, offset, size, unpacked).find(says), std::string::npos)
            << name << " " << offset << "+" << size << " of " << unpacked;
    EXPECT_NE(refused("ABCDEFGHIJKLMNOPQRS", 20, 10, 30, {8, 20}), "") << "a length above 19";
}

TEST(NameRule, RefusesWhatWindowsWouldNotCreateAsNamedOrCreatesTwice) {
    for (const char* good : {"FILETIDE-HELP_1.HLP", "nineteen_chars.txt_", "two words.txt",
                             "CONSOLE.TXT", "COM10.LOG", "LPT.DAT", "A.CON", "..A", "CONIN$X"})
        EXPECT_EQ(FileNameFault(good), nullptr) << good;
    for (const char* bad :
         {".", "...", "twenty_characters.tx", "a\\b", "a*b", "a|b", "tab\tx", "name.", "name ",
          "caf\xC3\xA9", "con", "nul.tar.gz", "com9", "LPT0.X", "conout$.txt", "NUL .TXT"})
        EXPECT_NE(FileNameFault(bad), nullptr) << bad;
    InstallNames names("Tidemark.Exe", "Tidemark._LF");
    EXPECT_EQ(names.Add("README.TXT"), nullptr);
    for (const char* clash : {"readme.txt", "TIDEMARK.EXE", "tidemark.~sp", "TIDEMARK._lf"})
        EXPECT_NE(names.Add(clash), nullptr) << clash;
}

TEST(DiskSetBlock, StampedNumbersAtTheirPlacesAndTheShippedUnstampedBlock) {
    const uint8_t text[] = "123456789";
    EXPECT_EQ(Crc32(Crc32(text, 4), text + 4, 5), 0xCBF43926u);
    // Disk count, archive size, volume sizes and CRCs, image CRC, table CRC.
    DiskSetNumbers n{2, 1500001, {1000000}, {0, 0x01234567}, 0, 0x76543210};
    DiskSetBlockBytes block = EncodeDiskSetBlock(n);
    EXPECT_EQ(std::memcmp(block.Bytes, kDiskSetMarker, kDiskSetMarkerSize), 0);
    const uint8_t expectedSize[] = {0x61, 0xE3, 0x16, 0x00};  // little-endian, second field
    EXPECT_EQ(std::memcmp(block.Bytes + 20, expectedSize, 4), 0);
    EXPECT_EQ(block.Bytes[60], 0x10);
    DiskSetNumbers back = DecodeDiskSetBlock(block.Bytes);
    EXPECT_EQ(std::memcmp(&back, &n, sizeof n), 0);
    EXPECT_EQ(ProductProfile.DiskSet.ExpectedArchiveSize, 3390000);
    EXPECT_FALSE(ProductProfile.DiskSet.Stamped());
}
