#pragma once
// The plain push button: clicked by the mouse, by Space, as the form's default (Enter) or
// cancel (Escape) button, or from code; its ModalResult ends a modal form.
#include "gui/Forms.h"

namespace gui {

class TButton : public TCustomControl {
public:
    explicit TButton(TComponent* owner);
    std::string ClassName() const override { return "TButton"; }
    void Click() override;
    void WndProc(TMessage& message) override;
    TModalResult ModalResult = mrNone;
    bool Default = false;
    bool Cancel = false;

protected:
    void Paint() override;
    void Dispatch(TMessage& message) override;
    void CMDialogKey(TMessage& message) override;
    void CMDialogChar(TMessage& message) override;
    void KeyDown(WORD& key, TShiftState shift) override;
};

} // namespace gui
