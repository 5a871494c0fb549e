#pragma once
// TbsSkinNumEdit: the editor of numbers.  It takes only the characters of a whole number (or a
// decimal one with Float, "." as in the C locale), a minus sign only in front, and turns Up,
// Down and the wheel into step requests its owner answers.  Text that arrives another way
// (paste, code) is checked on every change: what is no number goes back to the last one.
#include "skin/controls/CustomEdit.h"

namespace skin {

class TbsSkinNumEdit : public TbsCustomEdit {
public:
    explicit TbsSkinNumEdit(gui::TComponent* AOwner);
    std::string ClassName() const override { return "TbsSkinNumEdit"; }

    gui::TNotifyEvent OnUpClick, OnDownClick, OnMouseEnter, OnMouseLeave;
    // Off: nothing can be typed; the step requests still come.
    bool EditorEnabled = true;
    bool Float = false;

    // Whether Text is a number as far as it goes ("", "-", "-1.", "12.5").
    bool IsNumberText(const std::string& Text) const;

    void WndProc(gui::TMessage& Message) override;

protected:
    void KeyDown(WORD& Key, gui::TShiftState Shift) override;
    void KeyPress(char32_t& Key) override;
    void Change() override;
    void CMMouseEnter(gui::TMessage& Message) override;
    void CMMouseLeave(gui::TMessage& Message) override;
    void Dispatch(gui::TMessage& Message) override;

private:
    std::string FLastValid;
    bool FRestoring = false;
};

} // namespace skin
