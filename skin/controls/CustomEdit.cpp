#include "skin/controls/CustomEdit.h"

#include "controls/CommCtrl.h"
#include "gui/Forms.h"
#include "win/Input.h"
#include "win/Styles.h"

namespace skin {

TbsCustomEdit::TbsCustomEdit(gui::TComponent* AOwner) : gui::TCustomEdit(AOwner) {
    ControlStyle |= gui::csOpaque;
    SetBorderStyle(gui::bsNoBorder);
}

void TbsCustomEdit::SetEditTransparent(bool Value) {
    if (FEditTransparent == Value) return;
    FEditTransparent = Value;
    if (HandleAllocated()) RecreateWnd();
}

void TbsCustomEdit::CreateParams(gui::TCreateParams& p) {
    gui::TCustomEdit::CreateParams(p);
    p.Style &= ~WS_BORDER;
    p.ExStyle &= ~WS_EX_CLIENTEDGE;
    if (FEditTransparent) p.ExStyle |= WS_EX_TRANSPARENT;
}

std::string TbsCustomEdit::OneLine(const std::string& Text) {
    size_t br = Text.find_first_of("\r\n");
    return br == std::string::npos ? Text : Text.substr(0, br);
}

void TbsCustomEdit::WndProc(gui::TMessage& m) {
    switch (m.Msg) {
    case WM_CHAR: {
        auto c = static_cast<char32_t>(m.WParam);
        if (c == U'\r' || c == 27) {
            // OnKeyPress sees a copy: Enter and Escape belong to the form whatever it does.
            char32_t copy = c;
            if (OnKeyPress) OnKeyPress(this, copy);
            if (gui::TCustomForm* form = gui::GetParentForm(this))
                form->Perform(gui::CM_DIALOGKEY, c == U'\r' ? VK_RETURN : VK_ESCAPE, m.LParam);
            return;
        }
        // Ctrl+Enter types a line feed: one line never takes it.
        if (c == U'\n') return;
        // Read-only: selecting all (Ctrl+A) and copying (Ctrl+C) still work.
        if (FReadOnly && c != 1 && c != 3) return;
        break;
    }
    case WM_KEYDOWN:
        if (FReadOnly && (m.WParam == VK_DELETE || (m.WParam == VK_INSERT && GetKeyState(VK_SHIFT) < 0))) {
            DoKeyDown(m);
            return;
        }
        break;
    case WM_CUT:
    case WM_CLEAR:
    case WM_UNDO:
    case EM_UNDO:
        if (FReadOnly) return;
        break;
    case WM_PASTE:
        if (FReadOnly) return;
        if (win::HasClipboardText()) SetSelText(OneLine(win::GetClipboardText()));
        return;
    default:
        break;
    }
    gui::TCustomEdit::WndProc(m);
}

void TbsCustomEdit::Dispatch(gui::TMessage& m) {
    switch (m.Msg) {
    case gui::CM_WANTSPECIALKEY:
        // The key down stays here; the character that follows goes to the form once.
        if (m.WParam == VK_RETURN || m.WParam == VK_ESCAPE) {
            m.Result = 1;
            return;
        }
        break;
    case gui::CM_CANCELMODE:
        gui::TCustomEdit::Dispatch(m);
        if (OnEditCancelMode) OnEditCancelMode(reinterpret_cast<gui::TControl*>(m.LParam));
        return;
    default:
        break;
    }
    gui::TCustomEdit::Dispatch(m);
}

} // namespace skin
