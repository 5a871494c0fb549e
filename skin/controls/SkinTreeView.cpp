#include "skin/controls/SkinTreeView.h"

#include "controls/CommCtrl.h"
#include "gui/ImgList.h"
#include "gui/Messages.h"
#include "skin/controls/SkinScrollBar.h"
#include "skin/core/ResourceStrData.h"
#include "skin/core/SkinData.h"
#include "win/Message.h"
#include "win/Scroll.h"
#include "win/Styles.h"
#include "win/System.h"

namespace skin {

namespace {

constexpr UINT kPaintFrameInto = 45513;
constexpr LRESULT kNothingPainted = 12851;

class FlagGuard {
public:
    explicit FlagGuard(bool& flag) : flag_(flag), old_(flag) { flag_ = true; }
    ~FlagGuard() { flag_ = old_; }
    FlagGuard(const FlagGuard&) = delete;
    FlagGuard& operator=(const FlagGuard&) = delete;

private:
    bool& flag_;
    bool old_;
};

} // namespace

TbsSkinCustomTreeView::TbsSkinCustomTreeView(gui::TComponent* AOwner)
    : gui::TCustomTreeView(AOwner), FDefaultFont(std::make_unique<gui::TFont>()),
      FDefaultColor(gui::clWindow) {
    FDefaultFont->SetName("Arial");
    FDefaultFont->SetHeight(14);
    FDefaultFont->SetStyle(0);
    FDefaultFont->SetColor(gui::clWindowText);
    FDefaultFont->OnChange = [this](gui::TObject*) {
        if (FIndex == -1) Font()->Assign(FDefaultFont.get());
    };
}

TbsSkinCustomTreeView::~TbsSkinCustomTreeView() {
    FDefaultFont->OnChange = nullptr;
    // The bars may outlive the tree: they must not call back into it.
    for (TbsSkinScrollBar* bar : {FVScrollBar, FHScrollBar})
        if (bar) {
            bar->OnChange = nullptr;
            bar->RemoveFreeNotification(this);
        }
    if (FSD) FSD->RemoveFreeNotification(this);
}

// --- properties ----------------------------------------------------------------------------

void TbsSkinCustomTreeView::SetSkinData(TbsSkinData* Value) {
    if (FSD) FSD->RemoveFreeNotification(this);
    FSD = Value;
    if (FSD) FSD->FreeNotification(this);
    if (FSD && !FSD->Empty && !Designing()) ChangeSkinData();
}

void TbsSkinCustomTreeView::SetDefaultFont(const gui::TFont* Value) {
    FDefaultFont->Assign(Value);
}

void TbsSkinCustomTreeView::SetDefaultColor(gui::TColor Value) {
    FDefaultColor = Value;
    if (FIndex == -1) SetColor(Value);
}

void TbsSkinCustomTreeView::TakeBar(TbsSkinScrollBar*& Field, TbsSkinScrollBar* Value, bool Vertical) {
    if (Field && Field != Value) {
        Field->OnChange = nullptr;
        Field->RemoveFreeNotification(this);
    }
    Field = Value;
    if (Value) {
        Value->FreeNotification(this);
        Value->SetEnabled(true);
        Value->SetVisible(false);
        if (Vertical)
            Value->OnChange = [this](gui::TObject* s) { ScrollTreeByVBar(s); };
        else
            Value->OnChange = [this](gui::TObject* s) { ScrollTreeByHBar(s); };
    }
    UpDateScrollBars();
}

void TbsSkinCustomTreeView::SetVScrollBar(TbsSkinScrollBar* Value) {
    TakeBar(FVScrollBar, Value, true);
}

void TbsSkinCustomTreeView::SetHScrollBar(TbsSkinScrollBar* Value) {
    TakeBar(FHScrollBar, Value, false);
}

void TbsSkinCustomTreeView::Notification(gui::TComponent* AComponent, gui::TOperation Operation) {
    gui::TCustomTreeView::Notification(AComponent, Operation);
    if (Operation != gui::TOperation::opRemove) return;
    if (AComponent == FSD) {
        FSD = nullptr;
        FIndex = -1;
    }
    if (AComponent == FVScrollBar) FVScrollBar = nullptr;
    if (AComponent == FHScrollBar) FHScrollBar = nullptr;
}

void TbsSkinCustomTreeView::Loaded() {
    gui::TCustomTreeView::Loaded();
    ChangeSkinData();
}

// --- skin ----------------------------------------------------------------------------------

void TbsSkinCustomTreeView::ChangeSkinData() {
    if (Loading()) return;
    FIndex = (!FSD || FSD->Empty) ? -1 : FSD->GetControlIndex(SkinDataName);
    if (FIndex == -1) {
        SetColor(FDefaultColor);
        Font()->Assign(FDefaultFont.get());
    } else if (auto* d =
                   dynamic_cast<TbsDataSkinTreeView*>(FSD->CtrlList[static_cast<size_t>(FIndex)].get())) {
        if (UseSkinFont) {
            Font()->SetName(d->FontName);
            Font()->SetStyle(d->FontStyle);
            Font()->SetHeight(d->FontHeight);
        } else {
            Font()->Assign(FDefaultFont.get());
        }
        Font()->SetColor(d->FontColor);
        SetColor(d->BGColor);
    }
    if (FSD && FSD->ResourceStrData())
        Font()->SetCharset(static_cast<uint8_t>(FSD->ResourceStrData()->CharSet));
    else
        Font()->SetCharset(FDefaultFont->Charset());
    if (Images()) Images()->SetBkColor(Color());
    UpDateScrollBars();
    for (TbsSkinScrollBar* bar : {FVScrollBar, FHScrollBar})
        if (bar && bar->Align() != gui::alNone && bar->Parent()) bar->Parent()->Realign();
}

// The platform tree keeps its own colours: the control's are handed to it.
void TbsSkinCustomTreeView::PushColors() {
    if (!HandleAllocated()) return;
    SendMessage(Handle(), TVM_SETBKCOLOR, 0, static_cast<LPARAM>(gui::ColorToRGB(Color())));
    SendMessage(Handle(), TVM_SETTEXTCOLOR, 0, static_cast<LPARAM>(gui::ColorToRGB(Font()->Color())));
}

// --- window --------------------------------------------------------------------------------

void TbsSkinCustomTreeView::CreateParams(gui::TCreateParams& p) {
    gui::TCustomTreeView::CreateParams(p);
    p.Style &= ~static_cast<DWORD>(WS_VSCROLL | WS_HSCROLL);
}

void TbsSkinCustomTreeView::CreateWnd() {
    gui::TCustomTreeView::CreateWnd();
    PushColors();
}

void TbsSkinCustomTreeView::WndProc(gui::TMessage& m) {
    switch (m.Msg) {
    // The whole window is client area: the native frame and bars never show.
    case WM_NCCALCSIZE:
    case WM_NCPAINT:
        m.Result = 0;
        return;
    case kPaintFrameInto:
        m.Result = kNothingPainted;
        return;
    default:
        break;
    }
    gui::TCustomTreeView::WndProc(m);
    switch (m.Msg) {
    case WM_SIZE:
    case WM_PAINT:
        if (!FInCheckScrollBars) UpDateScrollBars();
        break;
    case WM_KEYDOWN:
    case WM_LBUTTONUP:
        UpDateScrollBars();
        break;
    default:
        break;
    }
}

void TbsSkinCustomTreeView::Dispatch(gui::TMessage& m) {
    UINT code = 0;
    if (m.Msg == gui::CN_NOTIFY && m.LParam) code = reinterpret_cast<NMHDR*>(m.LParam)->code;
    gui::TCustomTreeView::Dispatch(m);
    switch (m.Msg) {
    case gui::CN_NOTIFY:
        if (static_cast<int>(code) == TVN_SELCHANGED) UpDateScrollBars();
        break;
    case gui::CM_VISIBLECHANGED:
        // A hidden tree hides its bars; a shown one shows those its content needs.
        if (!Visible()) {
            SetBarVisible(FVScrollBar, false);
            SetBarVisible(FHScrollBar, false);
        } else {
            UpDateScrollBars();
        }
        break;
    case gui::CM_COLORCHANGED:
    case gui::CM_FONTCHANGED:
        PushColors();
        break;
    default:
        break;
    }
}

// --- bars ----------------------------------------------------------------------------------

void TbsSkinCustomTreeView::SetBarVisible(TbsSkinScrollBar* Bar, bool Value) {
    if (!Bar || Bar->Visible() == Value) return;
    FlagGuard g(FInCheckScrollBars);
    Bar->SetVisible(Value);
}

void TbsSkinCustomTreeView::UpDateScrollBars() {
    if (Loading() || FInCheckScrollBars || !HandleAllocated()) return;
    HWND h = Handle();
    bool oldV = FVScrollBar && FVScrollBar->Visible(), oldH = FHScrollBar && FHScrollBar->Visible();
    if (FVScrollBar) {
        int vMin = 0, vMax = 0;
        GetScrollRange(h, SB_VERT, &vMin, &vMax);
        int pos = GetScrollPos(h, SB_VERT);
        int visible = static_cast<int>(SendMessage(h, TVM_GETVISIBLECOUNT, 0, 0));
        bool show = vMax > 0 && visible <= vMax && vMax < Items()->Count() && Visible();
        SetBarVisible(FVScrollBar, show);
        if (show) FVScrollBar->SetRange(vMin, vMax, visible, pos);
    }
    if (FHScrollBar) {
        int hMin = 0, hMax = 0;
        GetScrollRange(h, SB_HORZ, &hMin, &hMax);
        int pos = GetScrollPos(h, SB_HORZ);
        bool show = hMax > Width() && Visible();
        SetBarVisible(FHScrollBar, show);
        if (show) FHScrollBar->SetRange(hMin, hMax, Width(), pos);
    }
    if (FVScrollBar && FHScrollBar) FHScrollBar->SetBoth(FVScrollBar->Visible());
    bool changed =
        oldV != (FVScrollBar && FVScrollBar->Visible()) || oldH != (FHScrollBar && FHScrollBar->Visible());
    if (changed && Align() != gui::alNone && Parent()) {
        FlagGuard g(FInCheckScrollBars);
        Parent()->Realign();
    }
}

void TbsSkinCustomTreeView::ScrollTreeByVBar(gui::TObject*) {
    if (!FVScrollBar || !HandleAllocated()) return;
    HWND h = Handle();
    int pos = FVScrollBar->Position();
    // The thumb message carries 16 bits only: from version 6 on the position goes in first.
    if ((GetVersion() & 0xFF) >= 6) {
        SCROLLINFO si{sizeof(SCROLLINFO), SIF_ALL, 0, 0, 0, 0, 0};
        GetScrollInfo(h, SB_VERT, &si);
        si.fMask = SIF_POS;
        si.nPos = pos;
        SetScrollInfo(h, SB_VERT, &si, TRUE);
    }
    SendMessage(h, WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, static_cast<WORD>(pos & 0xFFFF)), 0);
}

void TbsSkinCustomTreeView::ScrollTreeByHBar(gui::TObject*) {
    if (!FHScrollBar || !HandleAllocated()) return;
    int pos = FHScrollBar->Position();
    SendMessage(Handle(), WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, static_cast<WORD>(pos & 0xFFFF)), 0);
}

} // namespace skin
