#include "skin/controls/SkinNumEdit.h"

#include "win/Input.h"
#include "win/Message.h"

namespace skin {

namespace {

// The separator of the C locale, which every number of this program is written in.
constexpr char kDecimal = '.';

} // namespace

TbsSkinNumEdit::TbsSkinNumEdit(gui::TComponent* AOwner) : TbsCustomEdit(AOwner) {}

bool TbsSkinNumEdit::IsNumberText(const std::string& Text) const {
    bool separator = false;
    for (size_t i = 0; i < Text.size(); ++i) {
        char c = Text[i];
        if (c >= '0' && c <= '9') continue;
        if (c == '-' && i == 0) continue;
        if (c == kDecimal && Float && !separator) {
            separator = true;
            continue;
        }
        return false;
    }
    return true;
}

void TbsSkinNumEdit::KeyDown(WORD& Key, gui::TShiftState Shift) {
    if (Key == VK_UP || Key == VK_DOWN) {
        gui::TNotifyEvent& step = Key == VK_UP ? OnUpClick : OnDownClick;
        Key = 0;
        if (step) step(this);
        return;
    }
    TbsCustomEdit::KeyDown(Key, Shift);
}

void TbsSkinNumEdit::KeyPress(char32_t& Key) {
    bool accept;
    if (Key < 32) {
        accept = Key != 8 || EditorEnabled;
    } else if (!EditorEnabled || Key > 255) {
        accept = false;
    } else {
        // The text as the character would leave it: one minus, in front, one separator.
        std::string t = Text();
        int start = SelStart(), length = SelLength();
        t.replace(static_cast<size_t>(start), static_cast<size_t>(length), 1, static_cast<char>(Key));
        accept = IsNumberText(t);
    }
    if (!accept) {
        Key = 0;
        MessageBeep(0);
        return;
    }
    TbsCustomEdit::KeyPress(Key);
}

void TbsSkinNumEdit::Change() {
    if (FRestoring) return;
    std::string t = Text();
    if (!IsNumberText(t)) {
        FRestoring = true;
        SendMessage(Handle(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(FLastValid.c_str()));
        SetSelStart(static_cast<int>(FLastValid.size()));
        FRestoring = false;
        MessageBeep(0);
        return;
    }
    FLastValid = t;
    TbsCustomEdit::Change();
}

void TbsSkinNumEdit::WndProc(gui::TMessage& m) {
    if (m.Msg == WM_MOUSEWHEEL) {
        // Away from the user steps down, as the owner's list runs.
        gui::TNotifyEvent& step = GET_WHEEL_DELTA_WPARAM(m.WParam) > 0 ? OnDownClick : OnUpClick;
        if (step) step(this);
        m.Result = 0;
        return;
    }
    TbsCustomEdit::WndProc(m);
}

void TbsSkinNumEdit::Dispatch(gui::TMessage& m) {
    if (m.Msg == gui::CM_WANTSPECIALKEY && (m.WParam == VK_UP || m.WParam == VK_DOWN)) {
        m.Result = 1;
        return;
    }
    TbsCustomEdit::Dispatch(m);
}

void TbsSkinNumEdit::CMMouseEnter(gui::TMessage& m) {
    TbsCustomEdit::CMMouseEnter(m);
    if (OnMouseEnter) OnMouseEnter(this);
}

void TbsSkinNumEdit::CMMouseLeave(gui::TMessage& m) {
    TbsCustomEdit::CMMouseLeave(m);
    if (OnMouseLeave) OnMouseLeave(this);
}

} // namespace skin
