#include "payload/trailer.h"

#include <gtest/gtest.h>

#include <cstring>

#include "runtime/error.h"

using namespace tidemark;

namespace {

// A trailer as raw bytes, written field by field rather than through EncodeTrailer, so that
// encoder and parser cannot share a mistake.
struct RawTrailer {
    std::vector<uint8_t> bytes;
    void Entry(uint8_t nameLength, const char* field, std::vector<uint8_t> offset,
               std::vector<uint8_t> size) {
        bytes.push_back(nameLength);
        char name[19] = {};
        std::memcpy(name, field, std::min<size_t>(std::strlen(field), 19));
        bytes.insert(bytes.end(), name, name + 19);
        bytes.insert(bytes.end(), offset.begin(), offset.end());
        bytes.insert(bytes.end(), size.begin(), size.end());
    }
    void Tail(uint8_t count, std::vector<uint8_t> unpacked) {
        bytes.push_back(count);
        bytes.insert(bytes.end(), unpacked.begin(), unpacked.end());
    }
    bool Parse(PayloadTrailer& trailer, std::vector<uint8_t>* lengths = nullptr) const {
        return ParseTrailer(bytes.data() + bytes.size(), bytes.size(), trailer, lengths);
    }
};

}  // namespace

TEST(Trailer, ReadsLittleEndianFieldsAndIgnoresLeftoverNameCharacters) {
    RawTrailer raw;
    raw.bytes = {'M', 'Z', 0x90};  // the program's own bytes before the trailer
    raw.Entry(8, "HELP.HLPLONGERNAME", {0x00, 0xE8, 0x0C, 0x00}, {0x10, 0x00, 0x00, 0x00});
    raw.Entry(19, "ABCDEFGHIJKLMNOPQRS", {0x10, 0xE8, 0x0C, 0x00}, {0x01, 0x02, 0x03, 0x04});
    raw.Tail(2, {0x11, 0xE8, 0x0C, 0x04});
    PayloadTrailer trailer;
    ASSERT_TRUE(raw.Parse(trailer));
    EXPECT_EQ(trailer.UnpackedSize, 0x040CE811);
    ASSERT_EQ(trailer.Table.size(), 2u);
    EXPECT_EQ(trailer.Table[0].Name, "HELP.HLP");
    EXPECT_EQ(trailer.Table[0].Offset, 845824);
    EXPECT_EQ(trailer.Table[0].Size, 16);
    EXPECT_EQ(trailer.Table[1].Name, "ABCDEFGHIJKLMNOPQRS");
    EXPECT_EQ(trailer.Table[1].Offset, 845840);
    EXPECT_EQ(trailer.Table[1].Size, 0x04030201);
}

TEST(Trailer, CountZeroAndCount255) {
    RawTrailer empty;
    empty.Tail(0, {0x2A, 0, 0, 0});
    PayloadTrailer trailer;
    ASSERT_TRUE(empty.Parse(trailer));
    EXPECT_TRUE(trailer.Table.empty());
    EXPECT_EQ(trailer.UnpackedSize, 42);

    RawTrailer full;
    for (int i = 0; i < 255; ++i) full.Entry(1, "A", {uint8_t(i), 0, 0, 0}, {1, 0, 0, 0});
    full.Tail(0xFF, {0x00, 0x01, 0, 0});
    ASSERT_EQ(full.bytes.size(), 7145u);
    ASSERT_TRUE(full.Parse(trailer));
    ASSERT_EQ(trailer.Table.size(), 255u);
    EXPECT_EQ(trailer.Table[254].Offset, 254);
}

TEST(Trailer, FileShorterThanItsTrailerIsRefused) {
    RawTrailer raw;
    raw.Entry(1, "A", {0, 0, 0, 0}, {0, 0, 0, 0});
    raw.Tail(2, {0, 0, 0, 0});  // claims two entries, holds one
    PayloadTrailer trailer;
    EXPECT_FALSE(raw.Parse(trailer));
    EXPECT_FALSE(ParseTrailer(raw.bytes.data() + 4, 4, trailer));
}

TEST(FileTableCheck, RefusesEveryUnsafeEntryAndNamesIt) {
    auto refused = [](PayloadTrailer t, std::vector<uint8_t> lengths = {}) -> std::string {
        try {
            CheckFileTable(t, lengths, "Tidemark.Exe", "Tidemark._LF");
        } catch (const FileTableError& e) {
            return e.Message();
        }
        return "";
    };
    auto table = [](std::string name, int32_t offset, int32_t size, int32_t unpacked = 100) {
        PayloadTrailer t;
        t.UnpackedSize = unpacked;
        t.Table = {{"MAIN.DLL", 10, 10}, {name, offset, size}};
        return t;
    };
    EXPECT_EQ(refused(table("GOOD.TXT", 20, 80)), "");
    EXPECT_EQ(refused(table("GAP.TXT", 50, 10)), "") << "gaps between entries still install";
    EXPECT_EQ(refused(table("ZERO", 100, 0)), "");
    EXPECT_NE(refused(table("", 20, 10)).find("entry 2"), std::string::npos);
    EXPECT_NE(refused(table(".", 20, 10)), "");
    EXPECT_NE(refused(table("..", 20, 10)), "");
    EXPECT_NE(refused(table("..\\EVIL.EXE", 20, 10)).find("..\\EVIL.EXE"), std::string::npos);
    EXPECT_NE(refused(table("SUB/FILE", 20, 10)), "");
    EXPECT_NE(refused(table("C:FILE", 20, 10)), "");
    // The name rule, as tested with it, holds here: a device, a duplicate, the main program.
    EXPECT_NE(refused(table("COM1.LOG", 20, 10)).find("device"), std::string::npos);
    EXPECT_NE(refused(table("main.dll", 20, 10)), "");
    EXPECT_NE(refused(table("tidemark.exe", 20, 10)), "");
    EXPECT_NE(refused(table("A.TXT", -1, 10)), "");
    EXPECT_NE(refused(table("A.TXT", 20, -1)), "");
    EXPECT_NE(refused(table("A.TXT", 91, 10)), "");
    EXPECT_NE(refused(table("A.TXT", 0x7FFFFFF0, 0x7FFFFFF0, 0x7FFFFFFF)), "")
        << "Offset + Size must not wrap around";
    EXPECT_NE(refused(table("A.TXT", 0, 0, -1)), "");
    EXPECT_NE(refused(table("ABCDEFGHIJKLMNOPQRS", 20, 10), {8, 20}), "")
        << "a length byte above 19";
}

TEST(Names, ReplaceExtensionAndVolumeNames) {
    EXPECT_EQ(VolumeFileName("Tidemark.001", 1), "Tidemark.001");
    EXPECT_EQ(VolumeFileName("Tidemark.001", 3), "Tidemark.003");
    EXPECT_EQ(ReplaceExtension("README", ".002"), "README.002");
    EXPECT_EQ(ReplaceExtension("A:\\DISK.1\\SETUP", ".002"), "A:\\DISK.1\\SETUP.002");
    EXPECT_EQ(ReplaceExtension("A:NAME", ".002"), "A:NAME.002");
    EXPECT_EQ(ReplaceExtension("a.b.c", ".Exe"), "a.b.Exe");
}
