// Finding where a setup program's image ends, and telling a file table that mkdisks appended
// from a plain program and from other data.
#include <gtest/gtest.h>

#include "mkdisks_fake_program.h"
#include "payload/trailer.h"
#include "setup_program.h"

using namespace tidemark;
using namespace tidemark::mkdisks;
using mkdisks_test::FakeProgram;
using mkdisks_test::ProgramShape;

namespace {

PayloadTrailer GoodTable() {
    PayloadTrailer t;
    t.Table = {{"FILETIDE.HLP", 1000, 300}, {"README.TXT", 1300, 200}};
    t.UnpackedSize = 1500;
    return t;
}

std::vector<uint8_t> Appended(std::vector<uint8_t> program, const std::vector<uint8_t>& tail) {
    program.insert(program.end(), tail.begin(), tail.end());
    return program;
}

}  // namespace

TEST(MkdisksSetupProgram, ImageEndCountsSectionsSymbolsAndCertificate) {
    EXPECT_EQ(ProgramImageEnd(FakeProgram()), 0x400 + 2 * 0x400);
    ProgramShape pe64;
    pe64.Pe32Plus = true;
    pe64.Sections = 3;
    EXPECT_EQ(ProgramImageEnd(FakeProgram(pe64)), 0x400 + 3 * 0x400);
    ProgramShape symbols;
    symbols.Symbols = 10;
    symbols.StringTableSize = 37;
    EXPECT_EQ(ProgramImageEnd(FakeProgram(symbols)), 0xC00 + 180 + 37);
    ProgramShape signed_;
    signed_.CertificateSize = 0x250;
    EXPECT_EQ(ProgramImageEnd(FakeProgram(signed_)), 0xC00 + 0x250);
}

TEST(MkdisksSetupProgram, AnythingButAWholePeFileIsNotAProgram) {
    std::vector<uint8_t> text(4096, 'x');
    EXPECT_EQ(ProgramImageEnd(text), -1);
    std::vector<uint8_t> noSignature = FakeProgram();
    noSignature[0x40] = 'X';
    EXPECT_EQ(ProgramImageEnd(noSignature), -1);
    std::vector<uint8_t> cut = FakeProgram();
    cut.resize(cut.size() - 1);  // the last section runs past the end of the file
    EXPECT_EQ(ProgramImageEnd(cut), -1);
    std::vector<uint8_t> header = FakeProgram();
    header.resize(0x50);  // the headers themselves are cut short
    EXPECT_EQ(ProgramImageEnd(header), -1);
    EXPECT_EQ(InspectSetupProgram(text).Tail, SetupTail::NotAProgram);
}

// The false positives the rule exists for: a program whose last bytes happen to parse as a
// well-formed table, zero padding included (which reads as an empty table).
TEST(MkdisksSetupProgram, PlainProgramIsNeverTakenForOneWithATable) {
    std::vector<uint8_t> zeros = FakeProgram();
    EXPECT_EQ(InspectSetupProgram(zeros).Tail, SetupTail::Plain);

    std::vector<uint8_t> lookalike = FakeProgram();
    std::vector<uint8_t> table = EncodeTrailer(GoodTable());
    std::copy(table.begin(), table.end(), lookalike.end() - long(table.size()));
    EXPECT_EQ(InspectSetupProgram(lookalike).Tail, SetupTail::Plain);

    ProgramShape symbols;
    symbols.Symbols = 3;
    EXPECT_EQ(InspectSetupProgram(FakeProgram(symbols)).Tail, SetupTail::Plain);
}

// Recognising the table mkdisks appends (and replacing it) is tested through the command line;
// here, the table of a main program alone: 5 bytes, no entries.
TEST(MkdisksSetupProgram, RecognisesAnEmptyTable) {
    PayloadTrailer mainOnly;
    mainOnly.UnpackedSize = 4096;
    EXPECT_EQ(InspectSetupProgram(Appended(FakeProgram(), EncodeTrailer(mainOnly))).Tail,
              SetupTail::FileTable);
}

TEST(MkdisksSetupProgram, OtherDataAfterTheImageIsUnknown) {
    EXPECT_EQ(InspectSetupProgram(Appended(FakeProgram(), {1, 2, 3})).Tail, SetupTail::UnknownData);
    // Tables that parse but are not as mkdisks writes them.
    PayloadTrailer gap = GoodTable();
    gap.Table[1].Offset = 1310;
    gap.UnpackedSize = 1510;
    PayloadTrailer shortImage = GoodTable();
    shortImage.UnpackedSize = 1600;
    PayloadTrailer noMain = GoodTable();
    noMain.Table = {{"A.TXT", 0, 1500}};
    PayloadTrailer emptyImage;
    for (const PayloadTrailer& bad : {gap, shortImage, noMain, emptyImage}) {
        SetupInspection found = InspectSetupProgram(Appended(FakeProgram(), EncodeTrailer(bad)));
        EXPECT_EQ(found.Tail, SetupTail::UnknownData);
        EXPECT_FALSE(found.UnknownDataFault.empty());
    }
    // A table claiming more entries than the bytes after the image hold.
    std::vector<uint8_t> table = EncodeTrailer(GoodTable());
    std::vector<uint8_t> lastEntryOnly(table.end() - 28 - 5, table.end());
    EXPECT_EQ(InspectSetupProgram(Appended(FakeProgram(), lastEntryOnly)).Tail,
              SetupTail::UnknownData);
}

TEST(MkdisksSetupProgram, TableAfterOtherAppendedDataIsStillFound) {
    std::vector<uint8_t> overlay = Appended(FakeProgram(), std::vector<uint8_t>(77, 0xAB));
    SetupInspection found = InspectSetupProgram(Appended(overlay, EncodeTrailer(GoodTable())));
    ASSERT_EQ(found.Tail, SetupTail::FileTable);
    EXPECT_EQ(found.TrailerBytes, TrailerSize(2));  // only the table is replaced, not the overlay
}

TEST(MkdisksSetupProgram, FindsTheOneDiskSetBlockInTheProgramImage) {
    std::vector<uint8_t> program = FakeProgram();
    EXPECT_EQ(FindDiskSetBlock(program, ProgramImageEnd(program)), 0x410);
    std::vector<uint8_t> twice = program;
    std::copy(program.begin() + 0x410, program.begin() + 0x450, twice.begin() + 0x500);
    EXPECT_EQ(FindDiskSetBlock(twice, ProgramImageEnd(twice)), -2);
    ProgramShape without;
    without.DiskSetBlock = false;
    // A marker in what follows the image (the trailer, an overlay) is not the program's block.
    std::vector<uint8_t> after =
        Appended(FakeProgram(without), {program.begin() + 0x410, program.begin() + 0x450});
    EXPECT_EQ(FindDiskSetBlock(after, ProgramImageEnd(after)), -1);
}
