#include "system/registry.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>

#include "runtime/error.h"
#include "test_keys.h"

using namespace tidemark;
using namespace tidemark_test;

namespace {

class RegistryAccessorTest : public ::testing::Test {
protected:
    void SetUp() override {
        base_ = TestKeyPath();
        DeleteTestKey(HKEY_CURRENT_USER, base_);
        DeleteTestKey(HKEY_LOCAL_MACHINE, base_);
    }
    void TearDown() override {
        DeleteTestKey(HKEY_CURRENT_USER, base_);
        DeleteTestKey(HKEY_LOCAL_MACHINE, base_);
    }
    std::string Under(const std::string& path) const { return base_ + "\\" + path; }

    std::string base_;
};

// The message of the RegistryError that an action raises, or "" when it raises none.
std::string RegistryErrorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const RegistryError& error) {
        EXPECT_STREQ(error.ClassName(), "RegistryError");
        return error.Message();
    }
    return "";
}

}  // namespace

// --- creation, roots and the current key ---

TEST_F(RegistryAccessorTest, CreationMakesTheBaseKeyAndAFailedOneLeavesNoCurrentKey) {
    {
        RegistryAccessor registry(base_);
        EXPECT_NE(registry.CurrentKey(), nullptr);
    }
    EXPECT_EQ(KeyContents(HKEY_CURRENT_USER, base_), std::make_pair(0L, 0L));
    // A key name longer than the registry allows cannot be created; relative paths then go from
    // the root.
    RegistryAccessor registry(Under(std::string(300, 'k')));
    EXPECT_EQ(registry.CurrentKey(), nullptr);
    registry.WriteText(Under("Section"), "Name", "under the root");
    EXPECT_EQ(QueryValue(HKEY_CURRENT_USER, Under("Section"), "Name").Bytes,
              std::string("under the root", 15));
}

TEST_F(RegistryAccessorTest, OnlyAnotherRootDropsTheCurrentKey) {
    StoreValue(HKEY_CURRENT_USER, Under("Section"), "Name", REG_SZ, std::string("kept", 5));
    RegistryAccessor registry(base_);
    HKEY before = registry.CurrentKey();
    registry.SelectRoot(HKEY_CURRENT_USER);
    EXPECT_EQ(registry.CurrentKey(), before);
    EXPECT_EQ(registry.ReadText("Section", "Name", "default"), "kept");  // still the base
    registry.SelectRoot(HKEY_LOCAL_MACHINE);
    EXPECT_EQ(registry.CurrentKey(), nullptr);
    // With no key current, a relative section is created directly under the new root.
    registry.WriteText(Under("Section"), "Name", "machine");
    EXPECT_EQ(QueryValue(HKEY_LOCAL_MACHINE, Under("Section"), "Name").Bytes,
              std::string("machine", 8));
}

TEST_F(RegistryAccessorTest, EnterKeyFollowsThePathRule) {
    RegistryAccessor registry(base_);
    // Relative: from the current key.
    ASSERT_TRUE(registry.EnterKey("Child", true));
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, Under("Child")));
    // Leading backslash: from the root, even with a key current.
    ASSERT_TRUE(registry.EnterKey("\\" + Under("Other"), true));
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, Under("Other")));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, Under("Child\\" + base_)));
    registry.WriteText("", "Where", "other");
    EXPECT_EQ(QueryValue(HKEY_CURRENT_USER, Under("Other"), "Where").Bytes,
              std::string("other", 6));
}

TEST_F(RegistryAccessorTest, EnterKeyWithoutCreationFailsOnAMissingKeyAndKeepsTheCurrentOne) {
    RegistryAccessor registry(base_);
    HKEY before = registry.CurrentKey();
    EXPECT_FALSE(registry.EnterKey("Missing", false));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, Under("Missing")));
    EXPECT_EQ(registry.CurrentKey(), before);

    StoreValue(HKEY_CURRENT_USER, Under("Present"), "Name", REG_SZ, std::string("here", 5));
    EXPECT_TRUE(registry.EnterKey("Present", false));
    EXPECT_NE(registry.CurrentKey(), before);
    EXPECT_EQ(registry.ReadText("", "Name", "default"), "here");
}

// --- reading ---

// What ReadText gives for stored values as the registry keeps them (how text is cut at a zero is
// tested natively): an empty value as empty whatever its type (size 0 settles it before the
// type is looked at), and the default only where there is no value.
TEST_F(RegistryAccessorTest, ReadTextByStoredValue) {
    struct Row {
        const char* name;
        DWORD type;
        std::string bytes;
        std::string read;
    } rows[] = {
        {"NoBytesBinary", REG_BINARY, "", ""},
        {"Unterminated", REG_SZ, "C:\\Tools", "C:\\Tools"},
        {"Expand", REG_EXPAND_SZ, std::string("%SystemRoot%\\Help\0", 19), "%SystemRoot%\\Help"},
    };
    for (const Row& r : rows)
        StoreValue(HKEY_CURRENT_USER, Under("Section"), r.name, r.type, r.bytes);
    RegistryAccessor registry(base_);
    for (const Row& r : rows)
        EXPECT_EQ(registry.ReadText("Section", r.name, "default"), r.read) << r.name;
    EXPECT_EQ(registry.ReadText("Section", "Missing", "default"), "default");
    EXPECT_EQ(registry.ReadText("Missing", "Name", "default"), "default");
    // Reading never creates the section.
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, Under("Missing")));
}

TEST_F(RegistryAccessorTest, ValuesOfOtherTypesRaiseInvalidDataType) {
    StoreValue(HKEY_CURRENT_USER, Under("Section"), "Number", REG_DWORD, std::string(4, '\1'));
    RegistryAccessor registry(base_);
    EXPECT_EQ(RegistryErrorOf([&] { registry.ReadText("Section", "Number", ""); }),
              "Invalid data type for 'Number'");
    // The accessor stays usable after the error.
    registry.WriteText("Section", "Text", "after");
    EXPECT_EQ(registry.ReadText("Section", "Text", ""), "after");
}

TEST_F(RegistryAccessorTest, ALeadingBackslashReadsFromTheRoot) {
    StoreValue(HKEY_CURRENT_USER, Under("Section"), "Name", REG_SZ, std::string("root", 5));
    RegistryAccessor registry(base_);
    ASSERT_TRUE(registry.EnterKey("Elsewhere", true));
    EXPECT_EQ(registry.ReadText("\\" + Under("Section"), "Name", "default"), "root");
    EXPECT_EQ(registry.ReadText(Under("Section"), "Name", "default"), "default");
}

// --- writing ---

TEST_F(RegistryAccessorTest, WriteTextStoresTextWithItsTerminatorOverAValueOfAnyType) {
    StoreValue(HKEY_CURRENT_USER, Under("Deep\\Section"), "Name", REG_DWORD, std::string(4, '\0'));
    RegistryAccessor registry(base_);
    registry.WriteText("Deep\\Section", "Name", "first");
    registry.WriteText("Deep\\Section", "Name", "C:\\Program Files\\FileTidemark");
    registry.WriteText("Deep\\Section", "Empty", "");
    StoredValue text = QueryValue(HKEY_CURRENT_USER, Under("Deep\\Section"), "Name");
    EXPECT_EQ(text.Type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(text.Bytes, std::string("C:\\Program Files\\FileTidemark", 30));
    StoredValue empty = QueryValue(HKEY_CURRENT_USER, Under("Deep\\Section"), "Empty");
    EXPECT_EQ(empty.Type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(empty.Bytes, std::string(1, '\0'));
    EXPECT_EQ(KeyContents(HKEY_CURRENT_USER, Under("Deep\\Section")), std::make_pair(2L, 0L));
}

TEST_F(RegistryAccessorTest, ASectionThatCannotBeCreatedRaisesFailedToCreateKey) {
    // A lasting key cannot be created below a volatile one.
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, Under("Volatile").c_str(), 0, nullptr,
                              REG_OPTION_VOLATILE, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegCloseKey(key);
    RegistryAccessor registry(base_);
    EXPECT_EQ(RegistryErrorOf([&] { registry.WriteText("Volatile\\Section", "Name", "x"); }),
              "Failed to create key Volatile\\Section");
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, Under("Volatile\\Section")));
}

TEST_F(RegistryAccessorTest, AValueThatCannotBeStoredRaisesFailedToSetData) {
    // Longer than any value name the registry accepts.
    std::string name(20000, 'v');
    RegistryAccessor registry(base_);
    EXPECT_EQ(RegistryErrorOf([&] { registry.WriteText("Section", name, "x"); }),
              "Failed to set data for '" + name + "'");
    // The section was created before the write was refused.
    EXPECT_EQ(KeyContents(HKEY_CURRENT_USER, Under("Section")), std::make_pair(0L, 0L));
}
