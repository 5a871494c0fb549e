#include "skin/controls/SkinItemView.h"

#include "gui/CustomListView.h"
#include "gui/CustomTreeView.h"
#include "os/ScopeExit.h"
#include "skin/controls/SkinScrollBar.h"
#include "skin/core/DataSkinControls.h"
#include "skin/core/ResourceStrData.h"
#include "skin/core/SkinData.h"
#include "win/Message.h"
#include "win/Styles.h"

namespace skin {

namespace {

// Paint-into request of the skin library for a control's frame, and the answer that none
// was painted.
constexpr UINT kPaintFrameInto = 45513;
constexpr LRESULT kNothingPainted = 12851;

} // namespace

template <class View, class Data>
TbsSkinItemView<View, Data>::TbsSkinItemView(gui::TComponent* AOwner, std::string DataName)
    : View(AOwner), SkinDataName(std::move(DataName)), FDefaultFont(std::make_unique<gui::TFont>()),
      FDefaultColor(gui::clWindow) {
    FDefaultFont->SetName("Arial");
    FDefaultFont->SetHeight(14);
    FDefaultFont->SetStyle(0);
    FDefaultFont->SetColor(gui::clWindowText);
    FDefaultFont->OnChange = [this](gui::TObject*) {
        if (FIndex == -1) this->Font()->Assign(FDefaultFont.get());
    };
}

template <class View, class Data> TbsSkinItemView<View, Data>::~TbsSkinItemView() {
    FDefaultFont->OnChange = nullptr;
    // The bars may outlive the view: they must not call back into it.
    for (TbsSkinScrollBar* bar : {FVScrollBar, FHScrollBar})
        if (bar) {
            bar->OnChange = nullptr;
            bar->RemoveFreeNotification(this);
        }
    if (FSD) FSD->RemoveFreeNotification(this);
}

// --- properties ----------------------------------------------------------------------------

template <class View, class Data> void TbsSkinItemView<View, Data>::SetSkinData(TbsSkinData* Value) {
    if (FSD) FSD->RemoveFreeNotification(this);
    FSD = Value;
    if (FSD) FSD->FreeNotification(this);
    if (FSD && !FSD->Empty && !this->Designing()) ChangeSkinData();
}

template <class View, class Data> void TbsSkinItemView<View, Data>::SetDefaultFont(const gui::TFont* Value) {
    FDefaultFont->Assign(Value);
}

template <class View, class Data> void TbsSkinItemView<View, Data>::SetDefaultColor(gui::TColor Value) {
    FDefaultColor = Value;
    if (FIndex == -1) this->SetColor(Value);
}

template <class View, class Data>
void TbsSkinItemView<View, Data>::TakeBar(TbsSkinScrollBar*& Field, TbsSkinScrollBar* Value, bool Vertical) {
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
            Value->OnChange = [this](gui::TObject* s) { ScrollByVBar(s); };
        else
            Value->OnChange = [this](gui::TObject* s) { ScrollByHBar(s); };
    }
    UpDateScrollBars();
}

template <class View, class Data> void TbsSkinItemView<View, Data>::SetVScrollBar(TbsSkinScrollBar* Value) {
    TakeBar(FVScrollBar, Value, true);
}

template <class View, class Data> void TbsSkinItemView<View, Data>::SetHScrollBar(TbsSkinScrollBar* Value) {
    TakeBar(FHScrollBar, Value, false);
}

template <class View, class Data>
void TbsSkinItemView<View, Data>::Notification(gui::TComponent* AComponent, gui::TOperation Operation) {
    View::Notification(AComponent, Operation);
    if (Operation != gui::TOperation::opRemove) return;
    if (AComponent == FSD) {
        FSD = nullptr;
        FIndex = -1;
    }
    if (AComponent == FVScrollBar) FVScrollBar = nullptr;
    if (AComponent == FHScrollBar) FHScrollBar = nullptr;
}

// --- skin ----------------------------------------------------------------------------------

template <class View, class Data> void TbsSkinItemView<View, Data>::ChangeSkinData() {
    gui::TFont* font = this->Font();
    FIndex = (!FSD || FSD->Empty) ? -1 : FSD->GetControlIndex(SkinDataName);
    if (FIndex == -1) {
        this->SetColor(FDefaultColor);
        font->Assign(FDefaultFont.get());
    } else if (auto* d = dynamic_cast<Data*>(FSD->CtrlList[static_cast<size_t>(FIndex)].get())) {
        if (UseSkinFont) {
            font->SetName(d->FontName);
            font->SetStyle(d->FontStyle);
            font->SetHeight(d->FontHeight);
        } else {
            font->Assign(FDefaultFont.get());
        }
        font->SetColor(d->FontColor);
        this->SetColor(d->BGColor);
    }
    if (FSD && FSD->ResourceStrData())
        font->SetCharset(static_cast<uint8_t>(FSD->ResourceStrData()->CharSet));
    else
        font->SetCharset(FDefaultFont->Charset());
    UpDateScrollBars();
    for (TbsSkinScrollBar* bar : {FVScrollBar, FHScrollBar})
        if (bar && bar->Align() != gui::alNone && bar->Parent()) bar->Parent()->Realign();
}

// --- window --------------------------------------------------------------------------------

template <class View, class Data> void TbsSkinItemView<View, Data>::CreateParams(gui::TCreateParams& p) {
    View::CreateParams(p);
    p.Style &= ~static_cast<DWORD>(WS_VSCROLL | WS_HSCROLL);
}

template <class View, class Data> bool TbsSkinItemView<View, Data>::HandleFrameMessage(gui::TMessage& m) {
    switch (m.Msg) {
    // The whole window is client area: the native frame and bars never show.
    case WM_NCCALCSIZE:
    case WM_NCPAINT:
        m.Result = 0;
        return true;
    case kPaintFrameInto:
        m.Result = kNothingPainted;
        return true;
    default:
        return false;
    }
}

template <class View, class Data> void TbsSkinItemView<View, Data>::FollowVisible() {
    if (!this->Visible()) {
        SetBarVisible(FVScrollBar, false);
        SetBarVisible(FHScrollBar, false);
    } else {
        UpDateScrollBars();
    }
}

// --- bars ----------------------------------------------------------------------------------

template <class View, class Data>
void TbsSkinItemView<View, Data>::SetBarVisible(TbsSkinScrollBar* Bar, bool Value) {
    if (!Bar || Bar->Visible() == Value) return;
    os::FlagScope g(FInCheckScrollBars);
    Bar->SetVisible(Value);
}

template <class View, class Data> void TbsSkinItemView<View, Data>::EndBarUpdate(bool OldV, bool OldH) {
    if (FVScrollBar && FHScrollBar) FHScrollBar->SetBoth(FVScrollBar->Visible());
    bool changed =
        OldV != (FVScrollBar && FVScrollBar->Visible()) || OldH != (FHScrollBar && FHScrollBar->Visible());
    if (changed && this->Align() != gui::alNone && this->Parent()) {
        os::FlagScope g(FInCheckScrollBars);
        this->Parent()->Realign();
    }
}

template class TbsSkinItemView<gui::TCustomListView, TbsDataSkinListView>;
template class TbsSkinItemView<gui::TCustomTreeView, TbsDataSkinTreeView>;

} // namespace skin
