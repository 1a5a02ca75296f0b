#pragma once
// The Edit Macro dialog: one macro's key and content. OK is enabled only for a key without
// white space and a content; a key with white space shows a warning. Enter in the key field
// is held to the same check.
#include "framework/win/Dialog.h"
#include "framework/win/DialogLayout.h"
#include "shell/win/DialogControls.h"

#include <cstdint>
#include <string>

class CEditMacroDlg : public CDialog {
public:
    // The size the dialog last had, 0 x 0 for the template's; kept as the user resizes it.
    struct Size {
        std::uint32_t width = 0;
        std::uint32_t height = 0;
    };

    CEditMacroDlg(std::u16string key, std::u16string content, std::u16string title, Size size);

    const std::u16string& Key() const { return key_; }
    // The content with each line break as one carriage return.
    const std::u16string& Content() const { return content_; }
    Size LastSize() const { return size_; }

protected:
    bool OnInitDialog() override;
    INT_PTR DialogProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnOK() override;

private:
    std::u16string FieldText(int id) const;
    // Enables OK and shows the warning for the fields' text now; true when they can be taken.
    bool Validate();
    void OnSize();

    std::u16string key_;
    std::u16string content_;
    std::u16string title_;
    Size size_;
    CEditWithSelectAll keyField_;
    CEditWithSelectAll contentField_;
    CDialogLayout layout_;
    SIZE minimum_{};
    bool laidOut_ = false;
    bool initialised_ = false;
};

// The message every window of Macro Scribe's thread gets when the program ends.
inline constexpr UINT WM_GW_END_MACRO_SCRIBE = WM_APP + 1;
