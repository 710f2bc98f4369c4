#include "payload/splitting.h"

#include <gtest/gtest.h>

#include "payload/split_rules.h"
#include "progress_fixtures.h"
#include "runtime/file.h"
#include "setup/profile.h"

using namespace tidemark;
using namespace progress_test;

namespace {

// An unpacked image: a main program followed by the entries' bytes, each with its own pattern.
struct Image {
    std::vector<uint8_t> bytes;
    FileTable table;

    explicit Image(int32_t mainProgramSize) : bytes(Pattern(size_t(mainProgramSize), 0)) {}
    void Add(const std::string& name, int32_t size) {
        std::vector<uint8_t> content = Pattern(size_t(size), uint32_t(table.size() + 1));
        table.push_back({name, int32_t(bytes.size()), size});
        bytes.insert(bytes.end(), content.begin(), content.end());
    }
    std::vector<uint8_t> Content(size_t entry) const {
        const FileTableEntry& e = table[entry];
        return std::vector<uint8_t>(bytes.begin() + e.Offset, bytes.begin() + e.Offset + e.Size);
    }
};

// Kept .LIB and .DTP files and a missing Help folder are checked end to end.
class Splitting : public ::testing::Test {
protected:
    ScratchFolder root{"split"};
    std::string destination = root.MakeFolder("Dest");
    std::string windows = root.MakeFolder("Windows");
    std::string imagePath = root / "Dest\\Tidemark.~IM";
    std::string mainPath = root / "Dest\\Tidemark.Exe";

    static std::vector<std::string> questions;
    static std::function<bool()> answer;  // Retry (true) or Cancel
    std::vector<std::string> missed;

    void SetUp() override {
        questions.clear();
        answer = [] { return false; };
    }
    static bool Ask(const std::string& question) {
        questions.push_back(question);
        return answer();
    }
    void Split(Image& image) {
        WriteBytes(imagePath, image.bytes);
        missed = SplitImage(imagePath, image.table, destination, windows, Ask);
    }
    bool NoTemporaryFileLeft() {
        std::string name = TemporarySplitName(ProductProfile.MainProgramFile);
        return !Exists(destination + "\\" + name) && !Exists(windows + "\\Help\\" + name);
    }
};

std::vector<std::string> Splitting::questions;
std::function<bool()> Splitting::answer;

}  // namespace

TEST_F(Splitting, CopiesEveryEntryByteForByteAndCutsTheImageToTheMainProgram) {
    WriteBytes(mainPath, Pattern(9000, 84));  // an earlier, longer one
    std::string help = root.MakeFolder("Windows\\Help");
    Image image(3000);
    image.Add("UnInstal.Exe", 5000);  // two full blocks and a rest
    image.Add("Tidemark.Hlp", 2049);  // a block and one byte
    image.Add("Block.Dat", 2048);     // exactly one read
    image.Add("Empty.Dat", 0);
    image.Add("Tidemark.Cnt", 7);
    Image expected = image;
    Split(image);

    EXPECT_EQ(ReadBytes(destination + "\\UnInstal.Exe"), expected.Content(0));
    EXPECT_EQ(ReadBytes(help + "\\Tidemark.Hlp"), expected.Content(1));
    EXPECT_FALSE(Exists(destination + "\\Tidemark.Hlp"));
    EXPECT_EQ(ReadBytes(destination + "\\Block.Dat"), expected.Content(2));
    EXPECT_TRUE(Exists(destination + "\\Empty.Dat"));
    EXPECT_TRUE(ReadBytes(destination + "\\Empty.Dat").empty());
    EXPECT_EQ(ReadBytes(destination + "\\Tidemark.Cnt"), expected.Content(4));

    std::vector<uint8_t> mainProgram(expected.bytes.begin(), expected.bytes.begin() + 3000);
    EXPECT_EQ(ReadBytes(mainPath), mainProgram);
    EXPECT_FALSE(Exists(imagePath));
    EXPECT_TRUE(image.table.empty());
    EXPECT_TRUE(questions.empty());
    EXPECT_TRUE(missed.empty());
    EXPECT_TRUE(NoTemporaryFileLeft());
}

TEST_F(Splitting, HelpFileReplacesOneInTheHelpFolderAndIgnoresTheDestination) {
    std::string help = root.MakeFolder("Windows\\Help");
    WriteBytes(help + "\\Tidemark.HLP", Pattern(9000, 77));       // older and longer
    WriteBytes(destination + "\\Tidemark.HLP", Pattern(10, 78));  // stays as it is
    Image image(100);
    image.Add("Tidemark.HLP", 300);
    Image expected = image;
    Split(image);

    EXPECT_EQ(ReadBytes(help + "\\Tidemark.HLP"), expected.Content(0));
    EXPECT_EQ(ReadBytes(destination + "\\Tidemark.HLP"), Pattern(10, 78));
}

// Each file that cannot be put in place is asked about; Cancel leaves an earlier file whole, a
// help file goes to the destination instead, and every one is reported.
TEST_F(Splitting, FilesThatCannotBePutInPlaceAreAskedAboutAndReported) {
    std::string help = root.MakeFolder("Windows\\Help");
    root.MakeFolder("Windows\\Help\\Blocked.hlp");  // a folder in the way in both places
    root.MakeFolder("Dest\\Blocked.hlp");
    WriteBytes(help + "\\Old.hlp", Pattern(10, 80));
    SetFileAttributesA((help + "\\Old.hlp").c_str(), FILE_ATTRIBUTE_READONLY);
    WriteBytes(destination + "\\InUse.Dat", Pattern(10, 81));
    File holder = File::Open(destination + "\\InUse.Dat", GENERIC_READ, 0, OPEN_EXISTING);
    WriteBytes(mainPath, Pattern(10, 85));
    File mainHolder = File::Open(mainPath, GENERIC_READ, 0, OPEN_EXISTING);
    WriteBytes(destination + "\\ReadOnly.Dat", Pattern(10, 82));
    SetFileAttributesA((destination + "\\ReadOnly.Dat").c_str(), FILE_ATTRIBUTE_READONLY);
    Image image(10);
    image.Add("Blocked.hlp", 3000);
    image.Add("InUse.Dat", 3000);
    image.Add("Old.hlp", 3000);
    image.Add("ReadOnly.Dat", 3000);
    image.Add("After.Dat", 3000);  // read from its own Offset, not after the skipped bytes
    Image expected = image;
    // Cancel, but Retry once the read-only file has been made writable.
    answer = [&] {
        if (questions.back().find("ReadOnly.Dat") == std::string::npos) return false;
        return SetFileAttributesA((destination + "\\ReadOnly.Dat").c_str(),
                                  FILE_ATTRIBUTE_NORMAL) != 0;
    };
    Split(image);
    holder.Close();
    mainHolder.Close();

    ASSERT_EQ(questions.size(), 6u);
    EXPECT_NE(questions[0].find(help + "\\Blocked.hlp:\r\na folder of that name is in the way."),
              std::string::npos);
    EXPECT_NE(questions[0].find("Cancel to put it into " + destination + " instead."),
              std::string::npos);
    EXPECT_NE(questions[1].find("Cancel to go on without it."), std::string::npos);
    EXPECT_EQ(missed,
              (std::vector<std::string>{
                  "Blocked.hlp: not installed, a folder of that name is in the way.",
                  "InUse.Dat: not installed, the file is in use, or access to it is denied.",
                  "Old.hlp: put into " + destination + ", since " + help +
                      "\\Old.hlp could not be written (the file there is read-only).",
                  "Tidemark.Exe: not installed, the file is in use, or access to it is denied."}));
    EXPECT_EQ(ReadBytes(destination + "\\InUse.Dat"), Pattern(10, 81));
    EXPECT_EQ(ReadBytes(help + "\\Old.hlp"), Pattern(10, 80));
    EXPECT_EQ(ReadBytes(destination + "\\Old.hlp"), expected.Content(2));
    EXPECT_EQ(ReadBytes(destination + "\\ReadOnly.Dat"), expected.Content(3));
    EXPECT_EQ(ReadBytes(destination + "\\After.Dat"), expected.Content(4));
    EXPECT_EQ(ReadBytes(mainPath), Pattern(10, 85));
    EXPECT_FALSE(Exists(imagePath));
    EXPECT_TRUE(NoTemporaryFileLeft());
    SetFileAttributesA((help + "\\Old.hlp").c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(Splitting, EmptyTableLeavesTheImageUncut) {
    Image image(5000);
    Split(image);
    EXPECT_EQ(ReadBytes(mainPath), Pattern(5000, 0));
}

// An error while a file is written leaves the earlier file of that name whole, not half
// replaced, and no temporary file.
TEST_F(Splitting, ImageShorterThanTheTableRaisesReadBeyondEnd) {
    WriteBytes(destination + "\\Cut.Dat", Pattern(7000, 83));
    Image image(100);
    image.Add("Whole.Dat", 100);
    image.Add("Cut.Dat", 5000);
    image.bytes.resize(100 + 100 + 3000);  // the last entry runs past the end
    EXPECT_EQ(IoCodeOf([&] { Split(image); }), kReadBeyondEnd);
    EXPECT_EQ(ReadBytes(destination + "\\Whole.Dat").size(), 100u);
    EXPECT_EQ(ReadBytes(destination + "\\Cut.Dat"), Pattern(7000, 83));
    EXPECT_TRUE(NoTemporaryFileLeft());
    EXPECT_EQ(ReadBytes(imagePath).size(), 3200u);  // not cut
}

TEST_F(Splitting, MainProgramShorterThanItsTableEntryIsNotPadded) {
    FileTable table = {{"Late.Dat", 6000, 0}};
    WriteBytes(imagePath, Pattern(5000, 3));
    EXPECT_EQ(IoCodeOf([&] { SplitImage(imagePath, table, destination, windows, nullptr); }),
              kReadBeyondEnd);
    EXPECT_EQ(ReadBytes(imagePath).size(), 5000u);
}
