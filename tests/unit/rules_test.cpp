// The platform-free rules of the setup program's pages, paths, registry, meter and backdrop.
#include <gtest/gtest.h>

#include <cmath>
#include <new>
#include <string>
#include <vector>

#include "core/backdrop_layout.h"
#include "core/centring.h"
#include "core/destination_rules.h"
#include "core/error.h"
#include "core/gradient.h"
#include "core/meter_arithmetic.h"
#include "core/page_table.h"
#include "core/path.h"
#include "core/placement_texts.h"
#include "core/registry_rules.h"
#include "core/shortcut_rules.h"
#include "core/split_rules.h"
#include "core/volume_names.h"

using namespace tidemark;

TEST(Destination, FormCheckAndRefusals) {
    for (const char* good : {"C:", "C:X", "Z:\\PROGRAM FILES"}) EXPECT_TRUE(PassesFormCheck(good));
    for (const char* bad : {"", "C", "\\\\SERVER\\SHARE", " C:\\", "1:\\", "[:\\", "c:\\low"})
        EXPECT_FALSE(PassesFormCheck(bad)) << bad;
    // MAX_PATH holds 259 characters and the terminator: 246 + 1 + 12 fits, one more does not.
    std::string folder = "C:\\" + std::string(243, 'A');
    EXPECT_TRUE(FolderHoldsNames(folder, 12) && !FolderHoldsNames(folder, 13));
    EXPECT_TRUE(OnChangeableSourceDrive("a:\\TIDE", "A:\\", true) &&
                !OnChangeableSourceDrive("C:\\TIDE", "A:\\", true));
}

// Each helper against the parts of a name it must tell apart: a dot inside a folder name, no
// dot, a drive colon, letter case.
TEST(Path, DriveRelativeEntriesFolderPartsExtensionsAndKeptFiles) {
    for (const char* path : {"C:", "C:NEWTIDE", "c:X\\Y"}) EXPECT_TRUE(IsDriveRelative(path));
    for (const char* path : {"C:\\", "C:/TIDE", "TIDE", "1:X", ""})
        EXPECT_FALSE(IsDriveRelative(path)) << path;
    EXPECT_EQ(DriveLetterOf("a:\\") + DriveLetterOf("\\\\SERVER\\SHARE\\"), 'A');
    const std::pair<std::string, std::string> folders[] = {
        {ResolveDriveRelative("C:NEWTIDE", "C:\\WORK"), "C:\\WORK\\NEWTIDE"},
        {ResolveDriveRelative("C:", "C:\\WORK"), "C:\\WORK"},
        {FolderPart("C:\\A.B\\TIDE.EXE"), "C:\\A.B\\"},
        {FolderPart("C:TIDE"), "C:"},
        {FolderPart("TIDE.EXE"), ""},
        {DriveRootPath('D'), "D:\\"},
        {ReplaceExtension("TIDE.EXE", ".~IM"), "TIDE.~IM"},
        {ReplaceExtension("A.B.C", ".X"), "A.B.X"},
        {ReplaceExtension("C:\\A.B\\TIDE", ".X"), "C:\\A.B\\TIDE.X"},
        {ReplaceExtension("C:.B", ".X"), "C:.X"},
        {ReplaceExtension("D:TIDE", ".X"), "D:TIDE.X"},
        {VolumeFileName("TIDE.001", 1), "TIDE.001"},
        {VolumeFileName("TIDE.001", 3), "TIDE.003"},
        {SplitFolder("a.hlp", "D:\\T", "C:\\WIN"), "C:\\WIN\\Help"},
        {SplitFolder("A.HLPX", "D:\\T", "C:\\WIN"), "D:\\T"}};
    for (const auto& [got, expected] : folders) EXPECT_EQ(got, expected) << expected;
    for (const char* kept : {"A.LIB", "B.DTP", "c.lib", "d.Dtp", ".LIB", "X.TXT.LIB"})
        EXPECT_TRUE(KeepsExistingFile(kept)) << kept;
    for (const char* replaced : {"A.TXT", "A.LIBX", "A.LI", "LIB", "A.LIB.TXT", "A.DTP\\X", "DTP"})
        EXPECT_FALSE(KeepsExistingFile(replaced)) << replaced;
}

// Whatever is thrown ends in the report, never in an unhandled exception.
TEST(ErrorReport, EveryExceptionEndsInTheReport) {
    static std::string shown;
    const std::pair<void (*)(), const char*> cases[] = {
        {[] { throw IoError(kDiskFull); }, "Exception IoError\nDisk full."},
        {[] { throw std::bad_alloc(); }, "Exception OutOfMemoryError\nOut of memory."},
        {[] { throw 7; }, "Exception InternalError\nAn exception of unknown kind."}};
    for (const auto& [raise, expected] : cases) {
        try {
            raise();
        } catch (...) {
            ShowCaughtError([](const Error& error) { shown = FormatErrorReport(error, "S"); });
        }
        EXPECT_EQ(shown.substr(0, shown.find(" in module")) + shown.substr(shown.find('\n')),
                  expected);
    }
}

TEST(Registry, RootPathsValueTextAndMessages) {
    RegistryPath doubled = ResolveRegistryPath("\\\\Software");  // one backslash is removed
    EXPECT_TRUE(doubled.FromRoot);
    EXPECT_EQ(doubled.Path, "\\Software");
    EXPECT_FALSE(ResolveRegistryPath("Software\\x").FromRoot);
    EXPECT_EQ(TextFromValueData("ab\0cd\0", 6), "ab");
    EXPECT_EQ(TextFromValueData("abcXY", 3), "abc");  // nothing beyond the stored size
    // Format characters in a value name are data, not directives.
    EXPECT_EQ(FormatRegistryMessage("Bad '%s'", "%d%s%n"), "Bad '%d%s%n'");
}

// The group name is the link's own file name in the Programs folder (the name rule, tested with
// the product's names, without their length limit or ASCII only) in a path the shell can take.
TEST(Shortcut, GroupNamesAndTheClosingPrompt) {
    // 30 + 1 + 219 + 4 characters fill the shell's buffer.
    const std::string programs = "C:\\WINDOWS\\Start Menu\\Programs", g(219, 'g'), g2 = g + 'g';
    for (std::string bad : {"", "   ", "CON", "Sub\\Group", "A:B", "\x95\\x", g2.c_str()})
        EXPECT_NE(GroupNameFault(programs, bad), nullptr) << bad;
    // Any byte of the code page; after a lead byte (0x95 here) even a backslash.
    for (const std::string& good : {g, std::string("Caf\xE9"), std::string("\x95\\x")})
        EXPECT_EQ(GroupNameFault(programs, good, [](uint8_t b) { return b == 0x95; }), nullptr);
    // Without the success text when a shortcut was not made, after any file not in place.
    EXPECT_EQ(ClosingPromptText("Done. Run ", "T", {"A: x."}, ShortcutNotMadeLine("T.LNK", "why")),
              "T has been installed, but not everything is in its place:\r\n\r\nA: x.\r\n\r\nThe "
              "Start-menu shortcut T.LNK: not made, why.\r\n\r\nDo you wish to run T?");
}

// Each page's result against the fixed order; a missing page's template per its rule.
TEST(PageTable, ResultsAndMissingTemplatesDecideTheRun) {
    const intptr_t kMissing = -9;
    const std::vector<std::string> pages = {"Main", "License", "IProgress", "Progress", "Group"};
    struct Case {
        const char* page;
        intptr_t result;  // kMissing: the page's template is missing
        RunEnd end;
        size_t asked;
        bool shortcut;
    } cases[] = {{"", 1, RunEnd::kCompleted, 5, true},
                 {"Main", kMissing, RunEnd::kNeverBegan, 1, false},
                 {"License", kMissing, RunEnd::kCompleted, 5, true},  // the first page's 1 holds
                 {"IProgress", kMissing, RunEnd::kStopped, 3, false},
                 {"License", 2, RunEnd::kStopped, 2, false},
                 {"Progress", 2, RunEnd::kStopped, 4, false},
                 {"Group", 0, RunEnd::kCompleted, 5, false}};
    for (const Case& c : cases) {
        size_t asked = 0;
        PageTableOutcome outcome = RunPageTable([&](const PageEntry& page, intptr_t* result) {
            EXPECT_EQ(page.templateName, pages[asked++]);
            bool named = page.templateName == std::string(c.page);
            if (named && c.result == kMissing) return false;
            *result = named ? c.result : 1;
            return true;
        });
        EXPECT_TRUE(outcome.end == c.end && asked == c.asked &&
                    outcome.createShortcut == c.shortcut)
            << c.page << " " << c.result;
    }
}

// Expected values were worked out with exact rational arithmetic, rounding to 64-bit (and, for
// the edge, 40-bit) mantissas by hand, not with the code under test.
TEST(Meter, PercentageAndEdge) {
    struct Row {
        int32_t done, total, left, span, percentage, edge;
    } rows[] = {
        {1695000, 3390000, 10, 243, 50, 132},  // 121.5 goes to the even pixel
        {1695000, 3390000, 11, 245, 50, 134},  // the sum 133.5 is rounded, not the width
        {1, 8, 0, 100, 12, 12},                // 12.5 to the even neighbour
        {23, 40, 0, 100, 58, -1},              // 57.5 with a 64-bit mantissa; 57 with 53 bits
        {7, 54, 0, 243, 13, 31},  // the 40-bit width is 31.5 or below; plain doubles, above
        {1, 3, 0, 243, 33, 81},   // not derived from the rounded percentage
        {INT32_MAX, 1, 0, 243, INT32_MAX, INT32_MAX},  // saturates instead of wrapping
    };
    for (const Row& r : rows) {
        MeterReading m = MeterPositionFor(r.done, r.total, r.left, r.span);
        EXPECT_EQ(std::make_pair(m.Percentage, r.edge < 0 ? -1 : m.Edge),
                  std::make_pair(r.percentage, r.edge))
            << r.done << "/" << r.total;
    }
    const long double ulp = std::ldexp(1.0L, -39);  // one unit in the 40th bit of [1, 2)
    EXPECT_EQ(RoundTo40BitMantissa(1.0L + ulp / 2), 1.0L + ulp);  // a half: up
    EXPECT_EQ(RoundTo40BitMantissa(1.0L + ulp / 2 - ulp / 1024), 1.0L);
    EXPECT_EQ(RoundTo40BitMantissa(-(1.0L + 3 * ulp / 2)), -(1.0L + 2 * ulp));
}

TEST(Meter, GeometryAndRedraws) {
    // A page at (300, 200) with its frame at (320, 260)-(566, 279); border 1, caption 18.
    MeterGeometry g = MeterGeometryFor({320, 260, 566, 279}, {300, 200, 641, 384}, 1, 18, 1);
    EXPECT_EQ(std::vector<int32_t>({g.BarLeft, g.BarTop, g.BarRight, g.BarBottom, g.BarSpan}),
              std::vector<int32_t>({19, 41, 261, 56, 243}));
    EXPECT_EQ(g.TextX, 19 + 121 - 10);
    EXPECT_EQ(g.TextY, 41 + 7 - 8);
    // An inverted frame: the halves round toward zero (-3 / 2 = -1), not down as a shift would.
    g = MeterGeometryFor({100, 100, 101, 101}, {0, 0, 400, 300}, 0, 0, 0);
    EXPECT_EQ(g.TextX, 100 - 1 - 10);
    // Volume 1 redraws after every block; later volumes on a change up to 100 %.
    EXPECT_TRUE(CopyingPageDraws(1, 130, 120));
    EXPECT_FALSE(CopyingPageDraws(2, 40, 40));
    EXPECT_TRUE(CopyingPageDraws(2, 100, 99));
    EXPECT_FALSE(CopyingPageDraws(3, 101, 100));
}

TEST(Backdrop, GradientRowsAndShadow) {
    // Red falls by 4, green rises by 2, blue is already there: 4 steps, bands of 9 / 4 = 2 rows.
    std::vector<Colour> colours;
    for (GradientRows rows(0x200004, 0x200200, 9); colours.size() < 9; rows.Next())
        colours.push_back(rows.Current());
    EXPECT_EQ(colours, (std::vector<Colour>{0x200004, 0x200004, 0x200103, 0x200103, 0x200202,
                                            0x200202, 0x200201, 0x200201, 0x200200}));
    // At the threshold: 0.59 * 216 = 127.44 rounds to dark, 0.59 * 217 = 128.03 is light.
    EXPECT_EQ(ShadowColour(0x00D800), 0xFFFFFFu);
    EXPECT_EQ(ShadowColour(0x00D900), 0x000000u);
}
