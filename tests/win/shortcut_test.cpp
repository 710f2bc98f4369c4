#include "system/shortcut.h"

#include <gtest/gtest.h>
#include <objidl.h>
#include <shlobj.h>
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "setup/install_state.h"
#include "setup/profile.h"
#include "test_keys.h"

using namespace tidemark;
using namespace tidemark_test;

namespace {

const std::string kShellFolders = std::string(kExplorerKeyPath) + "\\Shell Folders";

struct LinkFields {
    bool Loaded = false;
    std::string Target;
    std::string WorkingFolder;
    int ShowCommand = -1;
};

LinkFields LoadLink(const std::string& path) {
    LinkFields fields;
    IShellLinkA* link = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                reinterpret_cast<void**>(&link)))) {
        return fields;
    }
    IPersistFile* file = nullptr;
    if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
        std::wstring wide(path.begin(), path.end());
        if (SUCCEEDED(file->Load(wide.c_str(), STGM_READ))) {
            char text[MAX_PATH] = {};
            fields.Loaded = true;
            link->GetPath(text, MAX_PATH, nullptr, SLGP_RAWPATH);
            fields.Target = text;
            text[0] = 0;
            link->GetWorkingDirectory(text, MAX_PATH);
            fields.WorkingFolder = text;
            link->GetShowCmd(&fields.ShowCommand);
        }
        file->Release();
    }
    link->Release();
    return fields;
}

class ShortcutTest : public ::testing::Test {
protected:
    void SetUp() override {
        CoInitialize(nullptr);
        savedPrograms_ = QueryValue(HKEY_CURRENT_USER, kShellFolders, "programs");
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        scratch_ = std::string(temp) + "tidemark-" + info->name();
        std::filesystem::remove_all(scratch_);
        programs_ = scratch_ + "\\Programs";
        destination_ = scratch_ + "\\Product";
        std::filesystem::create_directories(programs_);
        std::filesystem::create_directories(destination_);
        std::ofstream(destination_ + "\\Tidemark.Exe") << "program";
        SetPrograms(programs_);
        InstallState.DestinationFolder = destination_;
        InstallState.GroupName = ProductProfile.DefaultGroupName;
        GetCurrentDirectoryA(MAX_PATH, temp);
        savedCurrentFolder_ = temp;
    }
    void TearDown() override {
        SetCurrentDirectoryA(savedCurrentFolder_.c_str());
        if (savedPrograms_.Exists) {
            StoreValue(HKEY_CURRENT_USER, kShellFolders, "programs", savedPrograms_.Type,
                       savedPrograms_.Bytes);
        } else {
            RemovePrograms();
        }
        std::error_code ignored;
        std::filesystem::remove_all(scratch_, ignored);
    }

    static void SetPrograms(const std::string& folder) {
        StoreValue(HKEY_CURRENT_USER, kShellFolders, "programs", REG_SZ,
                   std::string(folder.c_str(), folder.size() + 1));
    }
    static void RemovePrograms() {
        HKEY key = nullptr;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, kShellFolders.c_str(), 0, KEY_ALL_ACCESS, &key) ==
            ERROR_SUCCESS) {
            RegDeleteValueA(key, "programs");
            RegCloseKey(key);
        }
    }
    static bool FileExists(const std::string& path) {
        return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
    }

    static long FilesIn(const std::string& folder) {
        return static_cast<long>(std::distance(std::filesystem::directory_iterator(folder),
                                               std::filesystem::directory_iterator()));
    }

    StoredValue savedPrograms_;
    std::string savedCurrentFolder_;
    std::string scratch_, programs_, destination_;
};

}  // namespace

TEST_F(ShortcutTest, DefaultGroupLinkStartsTheMainProgramInTheDestination) {
    CreateShortcut();
    std::string linkPath = programs_ + "\\FileTidemark.LNK";
    ASSERT_TRUE(FileExists(linkPath));
    LinkFields link = LoadLink(linkPath);
    ASSERT_TRUE(link.Loaded);
    EXPECT_STRCASEEQ(link.Target.c_str(), (destination_ + "\\Tidemark.Exe").c_str());
    EXPECT_STRCASEEQ(link.WorkingFolder.c_str(), destination_.c_str());
    EXPECT_EQ(link.ShowCommand, SW_SHOWNORMAL);
    // Nothing but the one link: no group folder is made for it.
    EXPECT_EQ(FilesIn(programs_), 1);
}

TEST_F(ShortcutTest, ALinkPathOver254CharactersIsNotSavedAnywhere) {
    // A folder that leaves room for exactly 254 characters with the default group name, so one
    // more character in the group name is the first path that does not fit.
    const std::string linkName = std::string(ProductProfile.DefaultGroupName) + ".LNK";
    std::string deep = scratch_ + "\\";
    deep += std::string(254 - deep.size() - 1 - linkName.size(), 'd');
    ASSERT_TRUE(CreateDirectoryA(deep.c_str(), nullptr));
    SetPrograms(deep);
    ASSERT_TRUE(SetCurrentDirectoryA(scratch_.c_str()));

    CreateShortcut();
    EXPECT_EQ((deep + "\\" + linkName).size(), 254u);
    EXPECT_TRUE(FileExists(deep + "\\" + linkName));

    InstallState.GroupName = std::string(ProductProfile.DefaultGroupName) + "2";
    CreateShortcut();
    // Neither the whole name nor a cut one (which would name another file) is written.
    EXPECT_FALSE(FileExists(deep + "\\" + InstallState.GroupName + ".LNK"));
    EXPECT_EQ(FilesIn(deep), 1);
    EXPECT_EQ(FilesIn(scratch_), 3);  // Programs, Product and the deep folder
}
