#include <gtest/gtest.h>

#include <string>

#include "system/registry_rules.h"
#include "system/shortcut_rules.h"

using namespace tidemark;

TEST(RegistryPathRule, ALeadingBackslashMeansFromTheRootAndIsRemovedOnce) {
    RegistryPath fromRoot = ResolveRegistryPath("\\Software\\Lanternfield");
    EXPECT_TRUE(fromRoot.FromRoot);
    EXPECT_EQ(fromRoot.Path, "Software\\Lanternfield");

    RegistryPath doubled = ResolveRegistryPath("\\\\Software");
    EXPECT_TRUE(doubled.FromRoot);
    EXPECT_EQ(doubled.Path, "\\Software");

    RegistryPath rootItself = ResolveRegistryPath("\\");
    EXPECT_TRUE(rootItself.FromRoot);
    EXPECT_EQ(rootItself.Path, "");

    for (const char* relative : {"Shell Folders", "", "a\\", "Software\\x\\"}) {
        RegistryPath path = ResolveRegistryPath(relative);
        EXPECT_FALSE(path.FromRoot) << relative;
        EXPECT_EQ(path.Path, relative);
    }
}

TEST(RegistryValueText, EndsAtTheFirstZeroOrTheStoredSize) {
    EXPECT_EQ(TextFromValueData("C:\\Tools\0", 9), "C:\\Tools");
    EXPECT_EQ(TextFromValueData("ab\0cd\0", 6), "ab");
    EXPECT_EQ(TextFromValueData("\0abc", 4), "");
    // No terminator within the stored size: everything stored, and nothing beyond it.
    const char unterminated[] = {'a', 'b', 'c', 'X', 'Y'};
    EXPECT_EQ(TextFromValueData(unterminated, 3), "abc");
    EXPECT_EQ(TextFromValueData(unterminated, 0), "");
    EXPECT_EQ(TextFromValueData(nullptr, 0), "");
}

TEST(RegistryMessages, PutTheArgumentInPlaceOfTheSlotAsData) {
    EXPECT_EQ(FormatRegistryMessage("Failed to create key %s", "Software\\a b"),
              "Failed to create key Software\\a b");
    // Format characters in a value name are data, not directives.
    EXPECT_EQ(FormatRegistryMessage("Invalid data type for '%s'", "%d%s%n"),
              "Invalid data type for '%d%s%n'");
}

TEST(LinkFile, IsTheGroupNameWithLnkInTheProgramsFolder) {
    EXPECT_EQ(LinkFilePath("C:\\Users\\me\\Start Menu\\Programs", "FileTidemark"),
              "C:\\Users\\me\\Start Menu\\Programs\\FileTidemark.LNK");
    EXPECT_EQ(LinkFilePath("C:\\Programs\\", "FileTidemark"), "C:\\Programs\\FileTidemark.LNK");
    // No Programs folder: the name alone, relative to the current folder.
    EXPECT_EQ(LinkFilePath("", "My Tools"), "My Tools.LNK");
    // The group name is used as it stands, dots and all.
    EXPECT_EQ(LinkFilePath("P", "Tide.mark"), "P\\Tide.mark.LNK");
}
