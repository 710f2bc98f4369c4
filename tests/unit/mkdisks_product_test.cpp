// The product folder: what it may hold, the order of the image, and the well-formedness of the
// table mkdisks writes.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "errors.h"
#include "product.h"

using namespace tidemark;
using namespace tidemark::mkdisks;
namespace fs = std::filesystem;

namespace {

class ProductFolder : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("mkdisks-product-" + std::to_string(std::random_device{}()));
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }
    void Add(const std::string& name, const std::string& content) {
        std::ofstream(dir_ / name, std::ios::binary) << content;
    }
    fs::path dir_;
};

}  // namespace

TEST_F(ProductFolder, ImageIsMainProgramThenOtherFilesInByteOrder) {
    Add("Tidemark.Exe", "MZIN!");
    Add("b.txt", "bb");
    Add("A.TXT", "a");
    Add("EMPTY.DAT", "");
    Add("C.HLP", "cccc");
    UnpackedImage image = BuildImage(ReadProduct(dir_, "Tidemark.Exe"));
    EXPECT_EQ(std::string(image.Bytes.begin(), image.Bytes.end()),
              "MZIN!acccc"
              "bb");
    const FileTable& t = image.Trailer.Table;
    ASSERT_EQ(t.size(), 4u);
    // Upper case sorts before lower case: the order does not depend on the locale.
    EXPECT_EQ(t[0].Name, "A.TXT");
    EXPECT_EQ(t[1].Name, "C.HLP");
    EXPECT_EQ(t[2].Name, "EMPTY.DAT");
    EXPECT_EQ(t[3].Name, "b.txt");
    EXPECT_EQ(t[0].Offset, 5);
    EXPECT_EQ(t[2].Offset, 10);
    EXPECT_EQ(t[2].Size, 0);
    EXPECT_EQ(t[3].Offset, 10);
    EXPECT_EQ(image.Trailer.UnpackedSize, 12);
    std::vector<uint8_t> lengths;
    EXPECT_EQ(FileTableFault(image.Trailer, lengths), "");
}

TEST_F(ProductFolder, RefusesProductsTheInstallCannotReproduce) {
    EXPECT_THROW(ReadProduct(dir_, "Tidemark.Exe"), Refusal);  // empty folder
    Add("README.TXT", "text");
    EXPECT_THROW(ReadProduct(dir_, "Tidemark.Exe"), Refusal);  // no main program
    Add("Tidemark.Exe", "");
    EXPECT_THROW(ReadProduct(dir_, "Tidemark.Exe"), Refusal);  // empty main program
    Add("Tidemark.Exe", "not a program");
    EXPECT_THROW(ReadProduct(dir_, "Tidemark.Exe"), Refusal);
    Add("Tidemark.Exe", "MZ");
    EXPECT_EQ(ReadProduct(dir_, "TIDEMARK.EXE").Main.Name, "Tidemark.Exe");
    // The name rule itself is tested with the core; here, that the product is held to it.
    for (const char* clash : {"readme.txt", "NUL.TXT", "TIDEMARK.exe"}) {
        Add(clash, "x");
        EXPECT_THROW(ReadProduct(dir_, "Tidemark.Exe"), Refusal) << clash;
        fs::remove(dir_ / clash);
    }
    Add("a_name_of_20_chars.x", "");
    EXPECT_THROW(ReadProduct(dir_, "Tidemark.Exe"), Refusal);
    fs::remove(dir_ / "a_name_of_20_chars.x");
    fs::create_directory(dir_ / "SUB");
    EXPECT_THROW(ReadProduct(dir_, "Tidemark.Exe"), Refusal);
}

TEST_F(ProductFolder, AtMost255FilesBesidesTheMainProgram) {
    Add("Tidemark.Exe", "MZ");
    for (int i = 0; i < 255; ++i) Add("F" + std::to_string(i) + ".DAT", std::to_string(i));
    EXPECT_EQ(BuildImage(ReadProduct(dir_, "Tidemark.Exe")).Trailer.Table.size(), 255u);
    Add("ONE.MOR", "x");
    EXPECT_THROW(ReadProduct(dir_, "Tidemark.Exe"), Refusal);
}

TEST(MkdisksFileTable, WellFormedMeansContiguousFromTheMainProgramToTheEnd) {
    PayloadTrailer t;
    t.Table = {{"A", 10, 5}, {"B", 15, 0}, {"C", 15, 5}};
    t.UnpackedSize = 20;
    std::vector<uint8_t> none;
    EXPECT_EQ(FileTableFault(t, none), "");

    PayloadTrailer gap = t;
    gap.Table[2].Offset = 16;
    gap.UnpackedSize = 21;
    PayloadTrailer overlap = t;
    overlap.Table[2].Offset = 14;
    overlap.UnpackedSize = 19;
    PayloadTrailer noMain = t;
    noMain.Table[0] = {"A", 0, 15};
    PayloadTrailer tooLong = t;
    tooLong.UnpackedSize = 25;
    PayloadTrailer badName = t;
    badName.Table[1].Name = "..";
    for (const PayloadTrailer& bad : {gap, overlap, noMain, tooLong, badName})
        EXPECT_NE(FileTableFault(bad, none), "");
    // A length byte above 19 is refused even though the parsed name is cut to 19 characters.
    std::vector<uint8_t> lengths = {1, 20, 1};
    EXPECT_NE(FileTableFault(t, lengths), "");
}
