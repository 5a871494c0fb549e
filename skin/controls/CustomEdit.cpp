#include "skin/controls/CustomEdit.h"

#include "controls/CommCtrl.h"
#include "gui/Application.h"
#include "gui/Forms.h"
#include "gui/Menus.h"
#include "skin/core/ResourceStrData.h"
#include "skin/menus/SkinMenuHost.h"
#include "skin/menus/SkinPopupMenu.h"
#include "win/Input.h"
#include "win/Styles.h"

namespace skin {

TbsCustomEdit::TbsCustomEdit(gui::TComponent* AOwner) : gui::TCustomEdit(AOwner) {
    ControlStyle |= gui::csOpaque;
    SetBorderStyle(gui::bsNoBorder);
}

TbsCustomEdit::~TbsCustomEdit() {
    FSysPopupMenu.reset();
}

void TbsCustomEdit::ShowSysPopupMenu(int X, int Y) {
    FSysPopupMenu.reset();
    gui::TCustomForm* form = gui::GetParentForm(this);
    if (form && form->FormStyle() == gui::fsMDIChild && gui::Application->MainForm())
        form = gui::Application->MainForm();
    FSysPopupMenu = std::make_unique<TbsSkinPopupMenu>(nullptr);
    FSysPopupMenu->ComponentForm = form;
    TbsSkinData* sd = nullptr;
    if (TbsSkinMenuHost* host = FindSkinForm(form)) sd = host->HostSkinData();
    auto text = [sd](const char* key, const char* builtIn) -> std::string {
        if (sd && sd->ResourceStrData()) {
            std::string s = sd->ResourceStrData()->GetResStr(key);
            if (!s.empty()) return s;
        }
        return builtIn;
    };
    bool selection = SelLength() > 0;
    int length = static_cast<int>(Text().size());
    auto add = [this](const std::string& caption, bool enabled, UINT message) {
        auto* item = new gui::TMenuItem(FSysPopupMenu.get());
        item->SetCaption(caption);
        item->SetEnabled(enabled);
        if (message) item->OnClick = [this, message](gui::TObject*) { Perform(message, 0, 0); };
        FSysPopupMenu->Items()->Add(item);
        return item;
    };
    add(text("EDIT_UNDO", "Undo"), CanUndo(), WM_UNDO);
    add("-", true, 0);
    add(text("EDIT_CUT", "Cut"), selection && !FReadOnly, WM_CUT);
    add(text("EDIT_COPY", "Copy"), selection, WM_COPY);
    add(text("EDIT_PASTE", "Paste"),
        win::HasClipboardText() && !win::GetClipboardText().empty() && !FReadOnly, WM_PASTE);
    add(text("EDIT_DELETE", "Delete"), selection && !FReadOnly, WM_CLEAR);
    add("-", true, 0);
    gui::TMenuItem* all =
        add(text("EDIT_SELECTALL", "Select All"), !(SelStart() == 0 && SelLength() == length), 0);
    all->OnClick = [this](gui::TObject*) { SelectAll(); };
    if (X < 0 || Y < 0) {
        gui::TPoint c = ClientToScreen({Width() / 2, Height() / 2});
        X = c.x;
        Y = c.y;
    }
    FSysPopupMenu->Popup2(this, X, Y);
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
    case WM_CONTEXTMENU:
        if (PopupMenu()) break;
        ShowSysPopupMenu(GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam));
        m.Result = 1;
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
