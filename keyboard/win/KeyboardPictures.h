#pragma once
// The keyboard pictures of one size: drawn by the program from the active layout into memory
// bitmaps of the exact pixel sizes, with a language's picture files replacing drawn ones.
#include "framework/win/Handles.h"
#include "keyboard/KeyboardPictureLayout.h"

#include <windows.h>

#include <array>
#include <memory>
#include <string>

// Where a picture came from: drawn by the program (its table entry) or read from a file.
struct CPictureSource {
    int drawn = -1;
    std::wstring path;
    bool operator==(const CPictureSource&) const = default;
};

// One picture: a bitmap, its pixel size and its source.
class CKeyboardPicture {
public:
    CKeyboardPicture(UniqueGdiObject bitmap, gw::Size size, CPictureSource source)
        : bitmap_(std::move(bitmap)), size_(size), source_(std::move(source)) {}
    HBITMAP Bitmap() const { return static_cast<HBITMAP>(bitmap_.Get()); }
    gw::Size Size() const { return size_; }
    const CPictureSource& Source() const { return source_; }

private:
    UniqueGdiObject bitmap_;
    gw::Size size_;
    CPictureSource source_;
};

class CKeyboardPictures {
public:
    // Takes the size, layout and language's picture folder (empty: none) that the pictures are
    // made for, and the state whose lower- and upper-case pair entries 0 and 1 stand for. A
    // picture is made (a language's file where it reads, else drawn) the first time it is asked
    // for and kept until the size, layout or folder changes: most of the 23 are never shown.
    void Load(gw::KeyboardState state, int size, const gw::KeyboardLayout& layout,
              const std::wstring& languageFolder);
    // The layout's tables changed in place (a new language): the next Load starts afresh.
    void Forget() { loadedSize_ = 0; }
    // The picture of an entry, made now if it was not yet; nullptr when the entry is empty.
    const CKeyboardPicture* Get(int picture) const;

    // The picture folder of a language: languages folder, a doubled separator, language name;
    // empty for the built-in "English" or without a languages folder.
    static std::wstring LanguageFolder(const std::wstring& languagesFolder,
                                       const std::wstring& language);
    // The file of a picture in a language's folder (the relative paths keep their doubled
    // separators, which Windows reads as one).
    static std::wstring PictureFile(const std::wstring& languageFolder, int size, int picture);
    // The pixel size of a state's lower-case picture: the language's file where it opens and
    // reads, else the drawn one ({0, 0} where there is none).
    static gw::Size LowerCaseSize(gw::KeyboardState state, int size,
                                  const std::wstring& languageFolder);

    // Drawing and reading single pictures; nullptr when nothing can be made.
    static std::shared_ptr<const CKeyboardPicture>
    DrawKeyboard(const gw::PictureDescription& description, int entry);
    static std::shared_ptr<const CKeyboardPicture> DrawHighlight(int picture, int size);
    static std::shared_ptr<const CKeyboardPicture> ReadFile(const std::wstring& path);

private:
    std::shared_ptr<const CKeyboardPicture> Make(int entry) const;

    // Made on demand by Get, which the view calls while it paints.
    mutable std::array<std::shared_ptr<const CKeyboardPicture>, gw::kPictureCount> pictures_;
    mutable std::array<bool, gw::kPictureCount> drawn_{};
    int lowerCaseEntry_ = gw::kPicNormalLower;
    int loadedSize_ = 0;
    const gw::KeyboardLayout* loadedLayout_ = nullptr;
    std::wstring loadedFolder_;
};
