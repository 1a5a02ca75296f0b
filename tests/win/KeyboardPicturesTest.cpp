// A language's picture files replace the drawn pictures by the path rule; what cannot be read
// as a bitmap leaves the drawn picture in place.
#include "keyboard/win/KeyboardPictures.h"
#include "framework/win/Bitmaps.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr COLORREF kFileColour = RGB(200, 10, 30);

// A folder of its own below the temporary folder, removed again with everything in it.
class TemporaryFolder {
public:
    TemporaryFolder() {
        wchar_t temp[MAX_PATH] = {};
        ::GetTempPathW(MAX_PATH, temp);
        path_ = std::wstring(temp) + L"gw-pictures-" + std::to_wstring(::GetCurrentProcessId());
        ::CreateDirectoryW(path_.c_str(), nullptr);
    }
    ~TemporaryFolder() {
        for (const std::wstring& file : files_)
            ::DeleteFileW(file.c_str());
        for (auto it = folders_.rbegin(); it != folders_.rend(); ++it)
            ::RemoveDirectoryW(it->c_str());
        ::RemoveDirectoryW(path_.c_str());
    }
    const std::wstring& Path() const { return path_; }

    // Writes a file, making its folders first (the path may hold doubled separators).
    void Write(const std::wstring& file, const std::vector<char>& bytes) {
        for (std::size_t at = file.find(L'\\', path_.size() + 1); at != std::wstring::npos;
             at = file.find(L'\\', at + 1)) {
            if (file[at - 1] == L'\\')
                continue;
            folders_.push_back(file.substr(0, at));
            ::CreateDirectoryW(folders_.back().c_str(), nullptr);
        }
        HANDLE handle = ::CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(handle, INVALID_HANDLE_VALUE);
        DWORD written = 0;
        ::WriteFile(handle, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        ::CloseHandle(handle);
        files_.push_back(file);
    }

private:
    std::wstring path_;
    std::vector<std::wstring> folders_;
    std::vector<std::wstring> files_;
};

// A 24-bit bottom-up BMP file of one colour.
std::vector<char> SolidBitmapFile(int width, int height, COLORREF colour) {
    const int stride = (width * 3 + 3) & ~3;
    BITMAPFILEHEADER file{};
    BITMAPINFOHEADER info{};
    info.biSize = sizeof(info);
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(file) + sizeof(info);
    file.bfSize = file.bfOffBits + static_cast<DWORD>(stride * height);
    std::vector<char> bytes(file.bfSize, 0);
    std::memcpy(bytes.data(), &file, sizeof(file));
    std::memcpy(bytes.data() + sizeof(file), &info, sizeof(info));
    for (int y = 0; y < height; ++y) {
        char* row = bytes.data() + file.bfOffBits + y * stride;
        for (int x = 0; x < width; ++x) {
            row[x * 3] = static_cast<char>(GetBValue(colour));
            row[x * 3 + 1] = static_cast<char>(GetGValue(colour));
            row[x * 3 + 2] = static_cast<char>(GetRValue(colour));
        }
    }
    return bytes;
}

COLORREF PixelOf(const CKeyboardPicture& picture, int x, int y) {
    const BITMAPINFO info = TopDown32BitmapInfo(picture.Size().width, picture.Size().height);
    std::vector<DWORD> pixels(static_cast<std::size_t>(picture.Size().width) *
                              static_cast<std::size_t>(picture.Size().height));
    HDC screen = ::GetDC(nullptr);
    ::GetDIBits(screen, picture.Bitmap(), 0, static_cast<UINT>(picture.Size().height),
                pixels.data(), const_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);
    ::ReleaseDC(nullptr, screen);
    const DWORD bgr = pixels[static_cast<std::size_t>(y * picture.Size().width + x)];
    return RGB((bgr >> 16) & 0xFF, (bgr >> 8) & 0xFF, bgr & 0xFF);
}

TEST(KeyboardPictures, ALanguagesFilesReplaceTheDrawnPictures) {
    TemporaryFolder languages;
    const std::wstring folder = CKeyboardPictures::LanguageFolder(languages.Path(), L"Testish");
    ASSERT_FALSE(folder.empty());
    // The Normal lower-case picture of size 3 and the Alt highlight come from files; the
    // Ctrl highlight's file is no bitmap.
    const std::wstring lower = CKeyboardPictures::PictureFile(folder, 3, gw::kPicNormalLower);
    const std::wstring alt = CKeyboardPictures::PictureFile(folder, 3, gw::kPicAltInternal);
    const std::wstring ctrl = CKeyboardPictures::PictureFile(folder, 3, gw::kPicCtrlInternal);
    languages.Write(lower, SolidBitmapFile(180, 180, kFileColour));
    languages.Write(alt, SolidBitmapFile(20, 16, kFileColour));
    languages.Write(ctrl, {'n', 'o', 't', ' ', 'a', ' ', 'b', 'm', 'p'});

    CKeyboardPictures pictures;
    pictures.Load(gw::kNormal, 3, gw::KeyboardLayout{}, folder);

    const CKeyboardPicture* normal = pictures.Get(gw::kPicNormalLower);
    ASSERT_NE(normal, nullptr);
    EXPECT_EQ(normal->Source().path, lower);
    EXPECT_EQ(normal->Size(), (gw::Size{180, 180}));
    EXPECT_EQ(PixelOf(*normal, 90, 90), kFileColour);
    // The state's pair is the same picture.
    ASSERT_NE(pictures.Get(gw::kPicLowerCase), nullptr);
    EXPECT_EQ(pictures.Get(gw::kPicLowerCase)->Source(), normal->Source());

    ASSERT_NE(pictures.Get(gw::kPicAltInternal), nullptr);
    EXPECT_EQ(pictures.Get(gw::kPicAltInternal)->Source().path, alt);
    EXPECT_EQ(pictures.Get(gw::kPicAltInternal)->Size(), (gw::Size{20, 16}));

    // Unreadable and missing files: the drawn pictures stay.
    ASSERT_NE(pictures.Get(gw::kPicCtrlInternal), nullptr);
    EXPECT_TRUE(pictures.Get(gw::kPicCtrlInternal)->Source().path.empty());
    ASSERT_NE(pictures.Get(gw::kPicNormalUpper), nullptr);
    EXPECT_TRUE(pictures.Get(gw::kPicNormalUpper)->Source().path.empty());
    EXPECT_EQ(pictures.Get(gw::kPicNormalUpper)->Size(), (gw::Size{180, 180}));

    // The measured size of the state's lower-case picture is the file's.
    EXPECT_EQ(CKeyboardPictures::LowerCaseSize(gw::kNormal, 3, folder), (gw::Size{180, 180}));
}

TEST(KeyboardPictures, TheBuiltInLanguageHasNoPictureFolder) {
    EXPECT_TRUE(CKeyboardPictures::LanguageFolder(L"C:\\Glyphwell\\Languages", L"English").empty());
    EXPECT_TRUE(CKeyboardPictures::LanguageFolder(L"", L"Deutsch").empty());
    EXPECT_EQ(CKeyboardPictures::LanguageFolder(L"C:\\G\\Languages", L"Deutsch"),
              L"C:\\G\\Languages\\\\Deutsch");
}

} // namespace
