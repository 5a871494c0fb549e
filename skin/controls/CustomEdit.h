#pragma once
// TbsCustomEdit: the one-line editor of the skin library (inner editor of the combo box, base
// of the numeric edit and the skinned edit).  Its read-only mode is its own: the native editor
// stays writable and the class refuses every change, so the look and the caret stay normal.
// Enter and Escape fire OnKeyPress and go to the form as dialog keys; no line break ever
// enters the text.
#include "gui/CustomEdit.h"

#include <memory>

#include <functional>

namespace skin {

class TbsSkinPopupMenu;

using TbsOnEditCancelMode = std::function<void(gui::TControl* C)>;

class TbsCustomEdit : public gui::TCustomEdit {
public:
    explicit TbsCustomEdit(gui::TComponent* AOwner);
    ~TbsCustomEdit() override;
    std::string ClassName() const override { return "TbsCustomEdit"; }

    // Hides the native flag on purpose: this one keeps the editor's normal look.
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool Value) { FReadOnly = Value; }
    bool EditTransparent() const { return FEditTransparent; }
    void SetEditTransparent(bool Value);

    TbsOnEditCancelMode OnEditCancelMode;
    // The skinned context menu of the last right click, when no PopupMenu is set.
    TbsSkinPopupMenu* SysPopupMenu() const { return FSysPopupMenu.get(); }

    void WndProc(gui::TMessage& Message) override;

protected:
    void CreateParams(gui::TCreateParams& Params) override;
    void Dispatch(gui::TMessage& Message) override;
    // The text pasted into one line: up to its first line break.
    static std::string OneLine(const std::string& Text);

    // Undo, Cut, Copy, Paste, Delete and Select All in the skin's words, at a screen point.
    void ShowSysPopupMenu(int X, int Y);

    bool FReadOnly = false;
    bool FEditTransparent = false;
    std::unique_ptr<TbsSkinPopupMenu> FSysPopupMenu;
};

} // namespace skin
