#include "payload/splitting.h"

#include <gtest/gtest.h>

#include <utility>

#include "runtime/file.h"
#include "win_fixtures.h"

using namespace tidemark;
using namespace win_test;

namespace {

// A destination, a Windows folder with a Help folder, and an unpacked image: a main program of
// 100 bytes followed by the entries' bytes, each with its own pattern. Kept .LIB and .DTP files
// and a missing Help folder are checked end to end.
class Splitting : public ::testing::Test {
protected:
    ScratchFolder root{"split"};
    std::string dest = root.MakeFolder("Dest"), help = root.MakeFolder("Windows\\Help");
    std::string imagePath = root / "Dest\\Tidemark.~IM", mainPath = root / "Dest\\Tidemark.Exe";
    std::vector<uint8_t> image = Pattern(100, 0);
    FileTable table, added;                            // SplitImage empties the table
    static inline std::vector<std::string> questions;  // each answered with Cancel

    void SetUp() override { questions.clear(); }

    void Add(const std::string& name, int32_t size) {
        table.push_back({name, int32_t(image.size()), size});
        added.push_back(table.back());
        std::vector<uint8_t> content = Content(table.size() - 1);
        image.insert(image.end(), content.begin(), content.end());
    }
    std::vector<uint8_t> Content(size_t i) const { return Pattern(added[i].Size, i + 1); }
    std::vector<std::string> Split() {
        WriteBytes(imagePath, image);
        return SplitImage(
            imagePath, table, dest, root / "Windows",
            {[](void*, const std::string& q) { return questions.push_back(q), false; }, nullptr});
    }
    bool NoTemporaryFileLeft() const {
        if (Exists(dest + "\\Tidemark.~OL") || Exists(help + "\\Tidemark.~OL")) return false;
        return !Exists(dest + "\\Tidemark.~SP") && !Exists(help + "\\Tidemark.~SP");
    }
};

// Windows 9x as the file layer meets it: no replacing rename, and a plain rename that refuses to
// give refusedTarget its name but to the older file coming back from aside.
std::string refusedTarget;
BOOL WINAPI NoReplacingRename(LPCSTR, LPCSTR, DWORD) {
    SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
    return FALSE;
}
BOOL WINAPI PlainRename(LPCSTR from, LPCSTR to) {
    bool refused = refusedTarget == to && std::string(from).find(".~OL") == std::string::npos;
    if (refused) SetLastError(ERROR_ACCESS_DENIED);
    return !refused && MoveFileA(from, to);
}
struct AsOnWindows9x {
    RenameCalls saved = std::exchange(SystemRenames, {NoReplacingRename, PlainRename});
    ~AsOnWindows9x() { SystemRenames = saved, refusedTarget.clear(); }
};

}  // namespace

// Entries of two full blocks and a rest, a block and a byte, one block, and none; a help file
// replaces the one in the Help folder and leaves the destination's alone.
TEST_F(Splitting, EveryEntryIsCopiedByteForByteAndTheImageCutToTheMainProgram) {
    WriteBytes(mainPath, Pattern(9000, 84));
    WriteBytes(help + "\\Tidemark.Hlp", Pattern(9000, 77));
    WriteBytes(dest + "\\Tidemark.Hlp", Pattern(10, 78));
    const char* names[] = {"UnInstal.Exe", "Tidemark.Hlp", "Block.Dat", "Empty.Dat"};
    for (int32_t size : {5000, 2049, 2048, 0}) Add(names[table.size()], size);
    EXPECT_TRUE(Split().empty());
    for (size_t i = 0; i < 4; ++i)
        EXPECT_EQ(ReadBytes((i == 1 ? help : dest) + "\\" + names[i]), Content(i)) << names[i];
    EXPECT_TRUE(Exists(dest + "\\Empty.Dat"));
    EXPECT_EQ(ReadBytes(dest + "\\Tidemark.Hlp"), Pattern(10, 78));
    EXPECT_EQ(ReadBytes(mainPath), Pattern(100, 0));
    EXPECT_FALSE(Exists(imagePath));
    EXPECT_TRUE(table.empty() && questions.empty() && NoTemporaryFileLeft());
}

// Each file that cannot be put in place (here: in use, the main program too) is asked about;
// Cancel leaves an earlier file whole, the files after it are placed, and every one is reported.
// A read-only help file going to the destination instead, and one made writable before Retry,
// are checked end to end.
TEST_F(Splitting, FilesThatCannotBePutInPlaceAreAskedAboutAndReported) {
    WriteBytes(dest + "\\InUse.Dat", Pattern(10, 80));
    WriteBytes(mainPath, Pattern(10, 80));
    File inUse = File::Open(dest + "\\InUse.Dat", GENERIC_READ, 0, OPEN_EXISTING);
    File mainInUse = File::Open(mainPath, GENERIC_READ, 0, OPEN_EXISTING);
    for (const char* name : {"InUse.Dat", "After.Dat"}) Add(name, 3000);
    std::vector<std::string> missed = Split();
    inUse.Close();
    mainInUse.Close();
    EXPECT_EQ(questions.size(), 2u);
    const std::string why = ": not installed, the file is in use, or access to it is denied.";
    EXPECT_EQ(missed, (std::vector<std::string>{"InUse.Dat" + why, "Tidemark.Exe" + why}));
    for (const char* path : {"Dest\\InUse.Dat", "Dest\\Tidemark.Exe"})
        EXPECT_EQ(ReadBytes(root / path), Pattern(10, 80)) << path;
    EXPECT_EQ(ReadBytes(dest + "\\After.Dat"), Content(1));
    EXPECT_TRUE(!Exists(imagePath) && NoTemporaryFileLeft());
}

// An image shorter than its table is refused, whether an entry or the main program runs past its
// end: an earlier file of that name stays whole, no temporary file is left and the image is not
// cut. An empty table leaves the whole image as the main program.
TEST_F(Splitting, AnImageShorterThanItsTableIsRefusedAndNotCut) {
    WriteBytes(dest + "\\Cut.Dat", Pattern(7000, 83));
    Add("Whole.Dat", 100);
    Add("Cut.Dat", 5000);
    image.resize(3200);
    EXPECT_EQ(IoCodeOf([&] { Split(); }), kReadBeyondEnd);
    EXPECT_EQ(ReadBytes(dest + "\\Whole.Dat"), Content(0));
    EXPECT_EQ(ReadBytes(dest + "\\Cut.Dat"), Pattern(7000, 83));
    EXPECT_TRUE(NoTemporaryFileLeft());
    table = {{"Late.Dat", 6000, 0}};
    EXPECT_EQ(IoCodeOf([&] { Split(); }), kReadBeyondEnd);
    EXPECT_EQ(ReadBytes(imagePath).size(), 3200u);
    table.clear();
    EXPECT_TRUE(Split().empty());
    EXPECT_EQ(ReadBytes(mainPath), image);
}

// Without a replacing rename every file is still placed and an older one replaced, the main
// program too. When the rename that gives a new file its name fails, the older file keeps its
// name and bytes, and the file is asked about and reported like any other.
TEST_F(Splitting, WithoutAReplacingRenameFilesArePlacedAndAnOlderFileIsNeverLost) {
    AsOnWindows9x windows9x;
    WriteBytes(mainPath, Pattern(9000, 84));
    WriteBytes(dest + "\\Old.Dat", Pattern(10, 80));
    WriteBytes(dest + "\\Kept.Dat", Pattern(10, 81));
    for (const char* name : {"New.Dat", "Old.Dat", "Kept.Dat"}) Add(name, 3000);
    refusedTarget = dest + "\\Kept.Dat";
    std::vector<std::string> missed = Split();
    EXPECT_EQ(missed,
              (std::vector<std::string>{
                  "Kept.Dat: not installed, the file is in use, or access to it is denied."}));
    for (size_t i : {0, 1}) EXPECT_EQ(ReadBytes(dest + "\\" + added[i].Name), Content(i));
    EXPECT_EQ(ReadBytes(dest + "\\Kept.Dat"), Pattern(10, 81));
    EXPECT_EQ(ReadBytes(mainPath), Pattern(100, 0));
    EXPECT_TRUE(!Exists(imagePath) && NoTemporaryFileLeft());
}
