#pragma once
// The current user's hive redirected to an empty private key for the length of one test, to
// reach hives the shared prefix does not have, or to plant values without touching the real
// ones.
#include "shell/win/RegistrySettings.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

// A string value's bytes as the registry holds them, with or without the terminating NUL.
inline std::vector<BYTE> StringBytes(const std::wstring& text, bool terminated = true) {
    std::vector<BYTE> bytes(reinterpret_cast<const BYTE*>(text.c_str()),
                            reinterpret_cast<const BYTE*>(text.c_str() + text.size()));
    if (terminated)
        bytes.insert(bytes.end(), 2, 0);
    return bytes;
}

class RedirectedHive : public ::testing::Test {
protected:
    void SetUp() override {
        path_ = L"Software\\GlyphwellTest" + std::to_wstring(::GetCurrentProcessId());
        ::RegDeleteTreeW(HKEY_CURRENT_USER, path_.c_str());
        ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, path_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                    nullptr, &root_, nullptr),
                  ERROR_SUCCESS);
        ASSERT_EQ(::RegOverridePredefKey(HKEY_CURRENT_USER, root_), ERROR_SUCCESS);
    }
    void TearDown() override {
        ::RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
        ::RegCloseKey(root_);
        ::RegDeleteTreeW(HKEY_CURRENT_USER, path_.c_str());
    }

    void PlantAppData(const wchar_t* keyPath, DWORD type, const std::wstring& text) {
        HKEY key = nullptr;
        ASSERT_EQ(::RegCreateKeyExW(root_, keyPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                                    nullptr),
                  ERROR_SUCCESS);
        UniqueRegistryKey owner(key);
        const auto bytes = StringBytes(text);
        ASSERT_EQ(::RegSetValueExW(key, L"AppData", 0, type, bytes.data(),
                                   static_cast<DWORD>(bytes.size())),
                  ERROR_SUCCESS);
    }

    std::wstring path_;
    HKEY root_ = nullptr;
};
