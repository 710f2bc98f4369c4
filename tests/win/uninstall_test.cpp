#include "system/uninstall.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "setup/install_state.h"
#include "setup/profile.h"
#include "test_keys.h"

using namespace tidemark;
using namespace tidemark_test;

namespace {

constexpr const char* kLaunchMark = "launched.mark";

// The launch test starts a copy of this test program under the installed program's name. That
// copy only records its own path and the folder it was started in, and ends before any test runs.
const bool kStartedAsInstalledProgram = [] {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    const char* name = std::strrchr(path, '\\');
    if (name == nullptr || _stricmp(name + 1, ProductProfile.MainProgramFile) != 0) return false;
    char folder[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, folder);
    std::string temporary = std::string(kLaunchMark) + ".part";
    {
        std::ofstream mark(temporary);
        mark << folder << '\n' << path << '\n';
    }
    MoveFileA(temporary.c_str(), kLaunchMark);  // the mark appears whole
    ExitProcess(0);
}();

const std::string kEntryKey = std::string(kUninstallKeyPath) + "\\" + ProductProfile.ProductName;

class UninstallTest : public ::testing::Test {
protected:
    void SetUp() override {
        savedName_ = QueryValue(HKEY_LOCAL_MACHINE, kEntryKey, "DisplayName");
        savedString_ = QueryValue(HKEY_LOCAL_MACHINE, kEntryKey, "UnInstallString");
        entryExisted_ = KeyExists(HKEY_LOCAL_MACHINE, kEntryKey);
        userKeyExisted_ = KeyExists(HKEY_CURRENT_USER, kUninstallKeyPath);
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, kEntryKey.c_str());
    }
    void TearDown() override {
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, kEntryKey.c_str());
        if (entryExisted_) {
            Restore("DisplayName", savedName_);
            Restore("UnInstallString", savedString_);
        }
        if (!userKeyExisted_) RegDeleteKeyA(HKEY_CURRENT_USER, kUninstallKeyPath);
    }
    static void Restore(const char* name, const StoredValue& value) {
        if (value.Exists) StoreValue(HKEY_LOCAL_MACHINE, kEntryKey, name, value.Type, value.Bytes);
    }
    static std::string Text(const char* name) {
        StoredValue value = QueryValue(HKEY_LOCAL_MACHINE, kEntryKey, name);
        EXPECT_EQ(value.Type, static_cast<DWORD>(REG_SZ)) << name;
        return value.Bytes;
    }

    StoredValue savedName_, savedString_;
    bool entryExisted_ = false;
    bool userKeyExisted_ = false;
};

std::string Stored(const std::string& text) { return std::string(text.c_str(), text.size() + 1); }

}  // namespace

TEST_F(UninstallTest, EntryUnderTheMachineNamesTheProductAndItsUninstaller) {
    ASSERT_FALSE(kStartedAsInstalledProgram);
    InstallState.DestinationFolder = "C:\\Program Files\\FileTidemark";
    RegisterUninstall();
    EXPECT_EQ(Text("DisplayName"), Stored("FileTidemark"));
    EXPECT_EQ(Text("UnInstallString"), Stored("C:\\Program Files\\FileTidemark\\UnInstal.Exe"));
    EXPECT_EQ(KeyContents(HKEY_LOCAL_MACHINE, kEntryKey), std::make_pair(2L, 0L));
    // Nothing of the entry lands under the user; only the base path is made there.
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, kUninstallKeyPath));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kEntryKey));
}

TEST_F(UninstallTest, ASecondRunOverwritesBothValues) {
    StoreValue(HKEY_LOCAL_MACHINE, kEntryKey, "DisplayName", REG_EXPAND_SZ, Stored("Old name"));
    InstallState.DestinationFolder = "C:\\First";
    RegisterUninstall();
    InstallState.DestinationFolder = "E:\\Second";
    RegisterUninstall();
    EXPECT_EQ(Text("DisplayName"), Stored("FileTidemark"));
    EXPECT_EQ(Text("UnInstallString"), Stored("E:\\Second\\UnInstal.Exe"));
    EXPECT_EQ(KeyContents(HKEY_LOCAL_MACHINE, kEntryKey), std::make_pair(2L, 0L));
}

TEST(LaunchProduct, StartsTheInstalledProgramInTheDestinationFolder) {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    std::string destination = std::string(temp) + "tidemark launch";
    std::filesystem::remove_all(destination);
    ASSERT_TRUE(std::filesystem::create_directories(destination));
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string program = destination + "\\" + ProductProfile.MainProgramFile;
    ASSERT_TRUE(CopyFileA(self, program.c_str(), FALSE));

    InstallState.DestinationFolder = destination;
    InstallState.BackdropWindow = nullptr;
    LaunchProduct();

    // The step does not wait for the program; the test waits for its mark, within a bound.
    std::string markPath = destination + "\\" + kLaunchMark;
    for (int tries = 0;
         tries < 600 && GetFileAttributesA(markPath.c_str()) == INVALID_FILE_ATTRIBUTES; ++tries) {
        Sleep(100);
    }
    std::ifstream mark(markPath);
    std::string startedIn, startedAs;
    std::getline(mark, startedIn);
    std::getline(mark, startedAs);
    mark.close();
    EXPECT_STRCASEEQ(startedIn.c_str(), destination.c_str());
    EXPECT_STRCASEEQ(startedAs.c_str(), program.c_str());

    // The started copy may still be on its way out; its file can be removed once it has gone.
    std::error_code failed;
    for (int tries = 0; tries < 100; ++tries) {
        std::filesystem::remove_all(destination, failed);
        if (!failed) break;
        Sleep(100);
    }
}
