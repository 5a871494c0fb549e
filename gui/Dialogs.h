#pragma once
// The plain message box: the only dialog that is not skinned.  A small form with the title, a
// stock icon, the text and an OK button.
#include "gui/StdCtrls.h"

namespace gui {

class TMessageForm : public TForm {
public:
    // flags: one MB_ICON* value (or none).
    TMessageForm(TComponent* owner, const std::string& text, const std::string& caption, UINT flags);
    std::string ClassName() const override { return "TMessageForm"; }
    const std::string& Message() const { return message_; }
    TButton* OkButton() const { return ok_; }

protected:
    void Paint() override;

private:
    std::string message_;
    HICON icon_ = nullptr;
    TRect textRect_{};
    TButton* ok_ = nullptr;
};

} // namespace gui
