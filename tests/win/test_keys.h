// Scratch registry keys for the Windows-side tests: each test works in its own key under
// Software\TidemarkTests, and the key is deleted when the test ends.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

namespace tidemark_test {

constexpr const char* kTestKeysParent = "Software\\TidemarkTests";

// "Software\TidemarkTests\<suite>.<test>" of the running test.
inline std::string TestKeyPath() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    return std::string(kTestKeysParent) + "\\" + info->test_suite_name() + "." + info->name();
}

inline void DeleteTestKey(HKEY root, const std::string& path) {
    RegDeleteTreeA(root, path.c_str());
    RegDeleteKeyA(root, path.c_str());
    RegDeleteKeyA(root, kTestKeysParent);  // only succeeds once no other test key is left
}

inline bool KeyExists(HKEY root, const std::string& path) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

struct StoredValue {
    bool Exists = false;
    DWORD Type = REG_NONE;
    std::string Bytes;  // exactly the stored bytes, terminator included when there is one
};

inline StoredValue QueryValue(HKEY root, const std::string& path, const std::string& name) {
    StoredValue value;
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return value;
    DWORD size = 0;
    if (RegQueryValueExA(key, name.c_str(), nullptr, &value.Type, nullptr, &size) ==
        ERROR_SUCCESS) {
        value.Bytes.assign(size, '\0');
        if (RegQueryValueExA(key, name.c_str(), nullptr, &value.Type,
                             reinterpret_cast<BYTE*>(&value.Bytes[0]), &size) == ERROR_SUCCESS) {
            value.Exists = true;
            value.Bytes.resize(size);
        }
    }
    RegCloseKey(key);
    return value;
}

inline void StoreValue(HKEY root, const std::string& path, const std::string& name, DWORD type,
                       const std::string& bytes) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(root, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                              KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    ASSERT_EQ(
        RegSetValueExA(key, name.c_str(), 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                       static_cast<DWORD>(bytes.size())),
        ERROR_SUCCESS);
    RegCloseKey(key);
}

// Values and subkeys of a key; -1 each when it cannot be opened.
inline std::pair<long, long> KeyContents(HKEY root, const std::string& path) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return {-1, -1};
    DWORD subkeys = 0, values = 0;
    RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values, nullptr,
                     nullptr, nullptr, nullptr);
    RegCloseKey(key);
    return {static_cast<long>(values), static_cast<long>(subkeys)};
}

}  // namespace tidemark_test
