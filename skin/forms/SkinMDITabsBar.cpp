#include "skin/forms/SkinMDITabsBar.h"

#include "gdi/DcText.h"
#include "gui/Application.h"
#include "gui/MenuItem.h"
#include "skin/controls/NinePartGeometry.h"
#include "skin/controls/SkinMenuSpeedButton.h"
#include "skin/core/DataSkinControls.h"
#include "skin/core/SkinData.h"
#include "skin/engine/DrawUtils.h"
#include "skin/engine/NinePart.h"
#include "skin/forms/SkinForm.h"
#include "skin/menus/SkinMenu.h"
#include "skin/menus/SkinPopupMenu.h"
#include "win/Input.h"
#include "win/Message.h"

#include <algorithm>

namespace skin {

namespace {

constexpr int kListButton = 15; // the list buttons' width, and the room left of the tabs
constexpr char kListItem[] = "_BSFCHILDITEMBAR";
constexpr char kHideListItem[] = "_BSFCHILDITEMBARHIDE";

gui::TRect G(const TRect& r) {
    return gui::Rect(r.Left, r.Top, r.Right, r.Bottom);
}

bool Inside(const TRect& r, int x, int y) {
    return x >= r.Left && x < r.Right && y >= r.Top && y < r.Bottom;
}

TbsDataSkinButtonControl* ButtonEntry(TbsSkinData* sd, const char* name) {
    if (!sd || sd->Empty) return nullptr;
    int i = sd->GetControlIndex(name);
    if (i < 0) return nullptr;
    return dynamic_cast<TbsDataSkinButtonControl*>(sd->CtrlList[static_cast<size_t>(i)].get());
}

// The entry's look for a state; empty rectangles fall back to the normal one.
TRect StateRect(const TbsDataSkinButtonControl& e, bool down, bool hot) {
    if (down && !Empty(e.DownSkinRect)) return e.DownSkinRect;
    if ((down || hot) && !Empty(e.ActiveSkinRect)) return e.ActiveSkinRect;
    return e.SkinRect;
}

TColor StateFontColor(const TbsDataSkinButtonControl& e, bool down, bool hot) {
    return down ? e.DownFontColor : hot ? e.ActiveFontColor : e.FontColor;
}

// A nine-part picture of a button entry's state at the bitmap's size.
void NinePart(gui::TBitmap* b, TbsSkinData* sd, const TbsDataSkinButtonControl& e, const TRect& src) {
    gui::TBitmap* picture = SkinPictureAt(*sd, e.PictureIndex);
    if (!picture) return;
    int w = b->Width(), h = b->Height();
    int dx = w - e.SkinRect.Width(), dy = h - e.SkinRect.Height();
    BuildNinePartImage(
        e.LTPoint, e.RTPoint, e.LBPoint, e.RBPoint, e.ClRect, e.LTPoint, {e.RTPoint.X + dx, e.RTPoint.Y},
        {e.LBPoint.X, e.LBPoint.Y + dy}, {e.RBPoint.X + dx, e.RBPoint.Y + dy},
        {e.ClRect.Left, e.ClRect.Top, e.ClRect.Right + dx, e.ClRect.Bottom + dy}, b, picture, src, w, h, true,
        e.LeftStretch, e.TopStretch, e.RightStretch, e.BottomStretch, e.StretchEffect, e.StretchType);
}

} // namespace

TbsSkinMDITabsBar::TbsSkinMDITabsBar(gui::TComponent* AOwner) : TbsSkinControl(AOwner) {
    FSkinDataName = "tab";
    FDefaultFont.SetName("Arial");
    FDefaultFont.SetHeight(14);
    FDefaultFont.SetStyle(0);
    FListMenu = std::make_unique<TbsSkinPopupMenu>(nullptr);
    FHideListMenu = std::make_unique<TbsSkinPopupMenu>(nullptr);
    SetBounds(0, 0, 150, 21);
}

TbsSkinMDITabsBar::~TbsSkinMDITabsBar() {
    MarkDestroying();
    // The buttons go before the menus they show.
    DropListButton(FHideListButton);
    DropListButton(FListButton);
    for (auto& t : ObjectList) t->Child->RemoveFreeNotification(this);
    if (FSkinForm) FSkinForm->RemoveFreeNotification(this);
}

void TbsSkinMDITabsBar::Notification(gui::TComponent* AComponent, gui::TOperation Operation) {
    TbsSkinControl::Notification(AComponent, Operation);
    if (Operation != gui::TOperation::opRemove) return;
    if (AComponent == FSkinForm) FSkinForm = nullptr;
    if (AComponent == FListButton) FListButton = nullptr;
    if (AComponent == FHideListButton) FHideListButton = nullptr;
    // A child freed without its skinned form's notice takes its tab along.
    if (auto* f = dynamic_cast<gui::TCustomForm*>(AComponent)) {
        bool had = std::any_of(ObjectList.begin(), ObjectList.end(), [f](auto& t) { return t->Child == f; });
        if (had && !Destroying()) DeleteTab(f);
    }
}

void TbsSkinMDITabsBar::SetSkinForm(TbsSkinForm* Value) {
    if (FSkinForm) FSkinForm->RemoveFreeNotification(this);
    FSkinForm = Value;
    if (Value) Value->FreeNotification(this);
}

void TbsSkinMDITabsBar::SetShowCloseButtons(bool Value) {
    FShowCloseButtons = Value;
    Invalidate();
}

void TbsSkinMDITabsBar::SetTabKind(TbsSkinMDITabKind Value) {
    FTabKind = Value;
    if (TabSkin()) ChangeSkinData();
}

void TbsSkinMDITabsBar::SetDefaultHeight(int Value) {
    FDefaultHeight = Value;
    if (FIndex == -1 && Value > 0) SetHeight(Value);
}

void TbsSkinMDITabsBar::SetDefaultFont(const gui::TFont* Value) {
    FDefaultFont.Assign(Value);
    Invalidate();
}

int TbsSkinMDITabsBar::GetCloseSize() const {
    if (FIndex == -1 || Empty(CloseButtonRect)) return 14;
    return CloseButtonRect.Width();
}

void TbsSkinMDITabsBar::GetSkinData() {
    TbsSkinControl::GetSkinData();
    Picture = nullptr;
    FBottomOffset = 0;
    auto* d = dynamic_cast<TbsDataSkinTabControl*>(Descriptor());
    if (!d) return;
    Picture = SkinPictureAt(*FSD, d->PictureIndex);
    if (!Picture) {
        // An entry without its picture draws as no entry at all.
        FIndex = -1;
        return;
    }
    TabRect = d->TabRect;
    ActiveTabRect = Empty(d->ActiveTabRect) ? d->TabRect : d->ActiveTabRect;
    MouseInTabRect = Empty(d->MouseInTabRect) ? d->TabRect : d->MouseInTabRect;
    TabsBGRect = d->TabsBGRect;
    TabLeftOffset = d->TabLeftOffset;
    TabRightOffset = d->TabRightOffset;
    FontName = d->FontName;
    FontStyle = d->FontStyle;
    FontHeight = d->FontHeight;
    FontColor = d->FontColor;
    ActiveFontColor = d->ActiveFontColor;
    MouseInFontColor = d->MouseInFontColor;
    TabStretchEffect = d->TabStretchEffect;
    CloseButtonRect = d->CloseButtonRect;
    ClosebuttonActiveRect = Empty(d->CloseButtonActiveRect) ? d->CloseButtonRect : d->CloseButtonActiveRect;
    CloseButtonDownRect = Empty(d->CloseButtonDownRect) ? ClosebuttonActiveRect : d->CloseButtonDownRect;
    ButtonTransparent = d->ButtonTransparent;
    ButtonTransparentColor = d->ButtonTransparentColor;
    LTPoint = d->LTPoint;
    RTPoint = d->RTPoint;
    LBPoint = d->LBPoint;
    RBPoint = d->RBPoint;
    SkinRect = d->SkinRect;
    ClRect = d->ClRect;
    LeftStretch = d->LeftStretch;
    TopStretch = d->TopStretch;
    RightStretch = d->RightStretch;
    BottomStretch = d->BottomStretch;
    FBottomOffset = ClRect.Top;
    FActiveTabOffset = ActiveTabRect.Height() - TabRect.Height();
}

void TbsSkinMDITabsBar::ChangeSkinData() {
    TbsSkinControl::ChangeSkinData();
    FCloseSize = GetCloseSize();
    if (TabSkin() && UseSkinSize)
        SetHeight(TabRect.Height() + (FTabKind == TbsSkinMDITabKind::bstkTab ? FBottomOffset : 0));
    else if (FDefaultHeight > 0)
        SetHeight(FDefaultHeight);
    for (TbsSkinMenuSpeedButton* b : {FListButton, FHideListButton})
        if (b) b->SetSkinData(FSD);
    if (FShowCloseButtons) Invalidate();
    Realign();
}

void TbsSkinMDITabsBar::AdjustClientRect(gui::TRect& R) {
    TbsSkinControl::AdjustClientRect(R);
    if (FTabKind == TbsSkinMDITabKind::bstkTab && TabSkin()) R.bottom -= FBottomOffset;
}

// ---- the tab list

void TbsSkinMDITabsBar::AddTab(gui::TCustomForm* Child) {
    if (!Child) return;
    ObjectList.push_back(std::make_unique<TbsMDITab>(this, Child));
    Child->FreeNotification(this);
    if (!FListButton) MakeListButton(FListButton, false);
    Invalidate();
}

void TbsSkinMDITabsBar::DeleteTab(gui::TCustomForm* Child) {
    auto it =
        std::find_if(ObjectList.begin(), ObjectList.end(), [Child](auto& t) { return t->Child == Child; });
    if (it == ObjectList.end()) return;
    int index = static_cast<int>(it - ObjectList.begin());
    if (ActiveTabIndex == index) {
        if (OnTabMouseLeave) OnTabMouseLeave(it->get());
        ActiveTabIndex = OldTabIndex = -1;
    }
    // Indexes past the tab that goes move down with their tabs.
    if (ActiveTabIndex > index) --ActiveTabIndex;
    if (OldTabIndex > index) --OldTabIndex;
    if (DragIndex == index) IsDrag = FDown = false, DragIndex = -1, TabDX = 0;
    if (DragIndex > index) --DragIndex;
    Child->RemoveFreeNotification(this);
    ObjectList.erase(it);
    if (ObjectList.empty()) {
        DropListButton(FListButton);
        DropListButton(FHideListButton);
    }
    Invalidate();
}

void TbsSkinMDITabsBar::UpdateActiveTab() {
    gui::TCustomForm* main = gui::Application ? gui::Application->MainForm() : nullptr;
    gui::TCustomForm* active = main ? main->ActiveMDIChild() : nullptr;
    if (!active) return;
    for (auto& t : ObjectList) t->Active = t->Child == active;
    Invalidate();
}

void TbsSkinMDITabsBar::RepaintTab(gui::TCustomForm* Child) {
    for (auto& t : ObjectList)
        if (t->Child == Child) RedrawTab(t.get());
}

int TbsSkinMDITabsBar::GetTabIndex(int X, int Y) const {
    for (size_t i = 0; i < ObjectList.size(); ++i) {
        const TRect& r = ObjectList[i]->ObjectRect;
        if (ObjectList[i]->Visible && X >= r.Left && X <= r.Right && Y >= r.Top && Y <= r.Bottom)
            return static_cast<int>(i);
    }
    return -1;
}

TbsMDITab* TbsSkinMDITabsBar::GetTab(int X, int Y) const {
    int i = GetTabIndex(X, Y);
    return i < 0 ? nullptr : ObjectList[static_cast<size_t>(i)].get();
}

// ---- layout

int TbsSkinMDITabsBar::TabHeight() const {
    return FTabKind == TbsSkinMDITabKind::bstkButton ? Height() : Height() - FBottomOffset;
}

void TbsSkinMDITabsBar::CalcObjectRects() {
    FInVisibleCount = 0;
    int n = static_cast<int>(ObjectList.size());
    if (n == 0) return;
    int h = TabHeight();
    int w = std::min((Width() - kListButton) / n, DefaultTabWidth);
    int limit = Width();
    if (MinTabWidth != 0 && w < MinTabWidth) {
        int shown = (Width() - 2 * kListButton) / MinTabWidth;
        for (int i = 0; i < n; ++i) {
            TbsMDITab& t = *ObjectList[static_cast<size_t>(i)];
            t.Visible = i < shown;
            t.ObjectRect =
                t.Visible ? TRect{kListButton + i * MinTabWidth, 0, kListButton + (i + 1) * MinTabWidth, h}
                          : TRect{};
            if (!t.Visible) ++FInVisibleCount;
        }
        limit = Width() - kListButton;
    } else {
        for (int i = 0; i < n; ++i) {
            TbsMDITab& t = *ObjectList[static_cast<size_t>(i)];
            t.Visible = true;
            t.ObjectRect = {kListButton + i * w, 0, kListButton + (i + 1) * w, h};
        }
        if (w < DefaultTabWidth) ObjectList.back()->ObjectRect.Right = Width();
    }
    if (IsDrag && DragIndex >= 0 && DragIndex < n) {
        TRect& r = ObjectList[static_cast<size_t>(DragIndex)]->ObjectRect;
        int shift = std::clamp(TabDX, -r.Left, std::max(-r.Left, limit - r.Right));
        r.Left += shift;
        r.Right += shift;
    }
}

int TbsSkinMDITabsBar::DropIndex() const {
    int n = static_cast<int>(ObjectList.size());
    if (DragIndex < 0 || DragIndex >= n) return -1;
    const TRect& d = ObjectList[static_cast<size_t>(DragIndex)]->ObjectRect;
    auto centre = [this](int i) {
        const TRect& r = ObjectList[static_cast<size_t>(i)]->ObjectRect;
        return (r.Left + r.Right) / 2;
    };
    int result = -1;
    if (TabDX > 0) {
        for (int i = DragIndex + 1; i < n; ++i)
            if (ObjectList[static_cast<size_t>(i)]->Visible && centre(i) < d.Right) result = i;
    } else if (TabDX < 0) {
        for (int i = DragIndex - 1; i >= 0; --i)
            if (ObjectList[static_cast<size_t>(i)]->Visible && centre(i) > d.Left) result = i;
    }
    return result;
}

// ---- list buttons

void TbsSkinMDITabsBar::MakeListButton(TbsSkinMenuSpeedButton*& button, bool hidden) {
    if (button || Designing()) return;
    button = new TbsSkinMenuSpeedButton(this);
    button->SkinDataName = "resizetoolbutton";
    button->SetSkinData(FSD);
    button->DrawStandardArrow = true;
    button->ArrowType = hidden ? 2 : 4;
    button->SetWidth(kListButton);
    button->SetAlign(hidden ? gui::alRight : gui::alLeft);
    button->SkinPopupMenu = hidden ? FHideListMenu.get() : FListMenu.get();
    button->OnShowTrackMenu = [this, hidden](gui::TObject*) { FillListMenu(hidden); };
    button->FreeNotification(this);
    button->SetParent(this);
}

void TbsSkinMDITabsBar::DropListButton(TbsSkinMenuSpeedButton*& button) {
    TbsSkinMenuSpeedButton* b = button;
    button = nullptr;
    delete b;
}

void TbsSkinMDITabsBar::FillListMenu(bool hidden) {
    TbsSkinPopupMenu* menu = hidden ? FHideListMenu.get() : FListMenu.get();
    if (FSkinForm) {
        menu->SetSkinData(FSkinForm->MenusSkinData() ? FSkinForm->MenusSkinData() : FSkinForm->SkinData());
        menu->SkinComponent = FSkinForm;
    } else {
        menu->SetSkinData(FSD);
    }
    menu->Items()->Clear();
    for (auto& t : ObjectList) {
        if (hidden && t->Visible) continue;
        auto* item = new gui::TMenuItem(nullptr);
        item->SetName(t->Child->Name() + (hidden ? kHideListItem : kListItem));
        item->SetCaption(t->Child->Caption());
        item->SetRadioItem(true);
        item->SetChecked(t->Active);
        item->OnClick = [this](gui::TObject* sender) { ListItemClick(sender); };
        menu->Items()->Add(item);
    }
}

void TbsSkinMDITabsBar::ListItemClick(gui::TObject* Sender) {
    auto* item = dynamic_cast<gui::TMenuItem*>(Sender);
    if (!item || !FSkinForm) return;
    std::string name = item->Name();
    size_t at = name.find(kListItem);
    if (at == std::string::npos) return;
    name.erase(at);
    gui::TCustomForm* main = FSkinForm->Form();
    for (int i = 0; i < main->MDIChildCount(); ++i)
        if (main->MDIChildren(i)->Name() == name) {
            ShowChild(main->MDIChildren(i));
            return;
        }
}

void TbsSkinMDITabsBar::ShowChild(gui::TCustomForm* Child) {
    TbsSkinForm* s = FindSkinFormComponent(Child);
    if (s && s->WindowState() == gui::wsMinimized) s->SetWindowState(gui::wsNormal);
    Child->Show();
}

void TbsSkinMDITabsBar::CloseChild(gui::TCustomForm* Child) {
    Child->Close();
}

// ---- mouse

void TbsSkinMDITabsBar::MouseDown(gui::TMouseButton Button, gui::TShiftState Shift, int X, int Y) {
    TbsSkinControl::MouseDown(Button, Shift, X, Y);
    int index = GetTabIndex(X, Y);
    if (index < 0) return;
    TbsMDITab* t = ObjectList[static_cast<size_t>(index)].get();
    if (Button == gui::mbLeft) {
        ShowChild(t->Child);
        FDown = true;
        if (MoveTabs) DragIndex = index;
        DX = X;
        TabDX = 0;
        if (OnTabMouseDown) OnTabMouseDown(Button, Shift, t);
        if (FShowCloseButtons) {
            TRect b = t->ButtonRect;
            bool in = Inside({b.Left + t->ObjectRect.Left, b.Top + t->ObjectRect.Top,
                              b.Right + t->ObjectRect.Left, b.Bottom + t->ObjectRect.Top},
                             X, Y);
            if (in) FDown = false;
            t->ButtonMouseIn = t->ButtonMouseDown = in;
            RedrawTab(t);
        }
    } else if (Button == gui::mbRight) {
        TbsSkinForm* child = FindSkinFormComponent(t->Child);
        if (SupportChildMenus && child && FSkinForm && FSkinForm->SkinMenu()) {
            POINT p{};
            GetCursorPos(&p);
            FSkinForm->SkinMenuOpen();
            TbsSkinData* sd = FSkinForm->MenusSkinData() ? FSkinForm->MenusSkinData() : FSkinForm->SkinData();
            FSkinForm->SkinMenu()->Popup(Parent(), sd, 0, {p.x, p.y, p.x, p.y}, child->GetSystemMenuItems(),
                                         false);
        }
        if (OnTabMouseDown) OnTabMouseDown(Button, Shift, t);
    }
}

void TbsSkinMDITabsBar::MouseMove(gui::TShiftState Shift, int X, int Y) {
    TbsSkinControl::MouseMove(Shift, X, Y);
    if (FDown && DragIndex != -1) {
        if (!IsDrag && X != DX) IsDrag = true;
        if (IsDrag) {
            TabDX = X - DX;
            Invalidate();
            return;
        }
    }
    TestActive(X, Y);
}

void TbsSkinMDITabsBar::MouseUp(gui::TMouseButton Button, gui::TShiftState Shift, int X, int Y) {
    TbsSkinControl::MouseUp(Button, Shift, X, Y);
    FDown = false;
    if (IsDrag) {
        CalcObjectRects();
        int drop = DropIndex();
        IsDrag = false;
        if (drop != -1 && drop != DragIndex) {
            auto tab = std::move(ObjectList[static_cast<size_t>(DragIndex)]);
            ObjectList.erase(ObjectList.begin() + DragIndex);
            ObjectList.insert(ObjectList.begin() + drop, std::move(tab));
        }
        DragIndex = -1;
        DX = TabDX = 0;
        Invalidate();
    } else {
        DragIndex = -1;
        if (TbsMDITab* t = GetTab(X, Y); t && OnTabMouseUp) OnTabMouseUp(Button, Shift, t);
    }
    if (!FShowCloseButtons || Button != gui::mbLeft) return;
    CalcObjectRects();
    TbsMDITab* t = GetTab(X, Y);
    if (!t) return;
    TRect b = t->ButtonRect;
    if (Inside({b.Left + t->ObjectRect.Left, b.Top + t->ObjectRect.Top, b.Right + t->ObjectRect.Left,
                b.Bottom + t->ObjectRect.Top},
               X, Y)) {
        t->ButtonMouseIn = true;
        t->ButtonMouseDown = false;
        RedrawTab(t);
        CloseChild(t->Child); // the tab may be gone from here on
    } else {
        t->ButtonMouseIn = t->ButtonMouseDown = false;
        RedrawTab(t);
    }
}

void TbsSkinMDITabsBar::CMMouseLeave(gui::TMessage& Message) {
    TbsSkinControl::CMMouseLeave(Message);
    TestActive(-1, -1);
}

void TbsSkinMDITabsBar::TestActive(int X, int Y) {
    int index = GetTabIndex(X, Y);
    ActiveTabIndex = index;
    bool changed = ActiveTabIndex != OldTabIndex;
    if (changed) {
        if (OldTabIndex >= 0 && OldTabIndex < TabCount()) {
            TbsMDITab* old = ObjectList[static_cast<size_t>(OldTabIndex)].get();
            if (old->Visible) {
                old->MouseIn = false;
                RedrawTab(old);
                if (OnTabMouseLeave) OnTabMouseLeave(old);
            }
        }
        if (index >= 0) {
            TbsMDITab* now = ObjectList[static_cast<size_t>(index)].get();
            now->MouseIn = true;
            RedrawTab(now);
            if (OnTabMouseEnter) OnTabMouseEnter(now);
        }
        OldTabIndex = ActiveTabIndex;
    }
    if (!FShowCloseButtons) return;
    if (index >= 0) {
        TbsMDITab* t = ObjectList[static_cast<size_t>(index)].get();
        TRect b = t->ButtonRect;
        bool in = Inside({b.Left + t->ObjectRect.Left, b.Top + t->ObjectRect.Top,
                          b.Right + t->ObjectRect.Left, b.Bottom + t->ObjectRect.Top},
                         X, Y);
        if (in != t->ButtonMouseIn) {
            t->ButtonMouseIn = in;
            if (!in) t->ButtonMouseDown = false;
            RedrawTab(t);
        }
    }
    if (changed) {
        bool any = false;
        for (int i = 0; i < TabCount(); ++i) {
            TbsMDITab* t = ObjectList[static_cast<size_t>(i)].get();
            if (i == index || !(t->ButtonMouseIn || t->ButtonMouseDown)) continue;
            t->ButtonMouseIn = t->ButtonMouseDown = false;
            any = true;
        }
        if (any) Invalidate();
    }
}

void TbsSkinMDITabsBar::Dispatch(gui::TMessage& Message) {
    if (Message.Msg == WM_MOVE && Align() == gui::alNone && TabSkin() && FSD->MDITabsTransparent)
        Invalidate();
    if (Message.Msg == WM_CHECKPARENTBG && TabSkin() && FSD->MDITabsTransparent) Invalidate();
    TbsSkinControl::Dispatch(Message);
}

// ---- painting

void TbsSkinMDITabsBar::RedrawTab(TbsMDITab*) {
    // One bitmap draws the whole bar: a tab is drawn anew with it.
    Invalidate();
}

void TbsSkinMDITabsBar::Paint() {
    GetSkinData();
    CalcObjectRects();
    if (FInVisibleCount > 0)
        MakeListButton(FHideListButton, true);
    else if (FHideListButton)
        DropListButton(FHideListButton);
    TbsSkinControl::Paint();
}

void TbsSkinMDITabsBar::CreateControlDefaultImage(gui::TBitmap* B) {
    gui::TCanvas* c = B->Canvas();
    c->Brush()->SetColor(gui::clBtnFace);
    c->FillRect(gui::Rect(0, 0, B->Width(), B->Height()));
    CalcObjectRects();
    DrawTabs(c);
}

void TbsSkinMDITabsBar::CreateControlSkinImage(gui::TBitmap* B) {
    if (!TabSkin()) return CreateControlDefaultImage(B);
    gui::TCanvas* c = B->Canvas();
    int h = TabHeight();
    if (FSD->MDITabsTransparent) {
        DrawParentBackground(this, c);
    } else if (!Empty(TabsBGRect)) {
        for (int x = 0; x < B->Width(); x += TabsBGRect.Width())
            c->CopyRect(gui::Rect(x, 0, x + TabsBGRect.Width(), h), Picture->Canvas(), G(TabsBGRect));
    } else {
        c->Brush()->SetColor(gui::clBtnFace);
        c->FillRect(gui::Rect(0, 0, B->Width(), B->Height()));
    }
    if (FTabKind == TbsSkinMDITabKind::bstkTab && !Empty(SkinRect) && FBottomOffset > 0) {
        gui::TBitmap strip;
        BuildHorzThreePartImage(
            LTPoint.X, SkinRect.Width() - RTPoint.X, &strip, Picture,
            {SkinRect.Left + LTPoint.X, SkinRect.Top, SkinRect.Left + RTPoint.X, SkinRect.Top + ClRect.Top},
            B->Width(), FBottomOffset, TopStretch);
        c->Draw(0, B->Height() - FBottomOffset, &strip);
    }
    CalcObjectRects();
    DrawTabs(c);
}

void TbsSkinMDITabsBar::DrawTabs(gui::TCanvas* C) {
    for (int i = 0; i < TabCount(); ++i)
        if (ObjectList[static_cast<size_t>(i)]->Visible && !(IsDrag && i == DragIndex))
            DrawTab(C, ObjectList[static_cast<size_t>(i)].get());
    if (IsDrag && DragIndex >= 0 && DragIndex < TabCount()) {
        DrawTab(C, ObjectList[static_cast<size_t>(DragIndex)].get()); // on top of the others
        DrawDropIndicator(C);
    }
}

void TbsSkinMDITabsBar::DrawDropIndicator(gui::TCanvas* C) {
    int drop = DropIndex();
    if (drop < 0) return;
    const TRect& r = ObjectList[static_cast<size_t>(drop)]->ObjectRect;
    int x = TabDX < 0 ? r.Left : r.Right, h = Height();
    C->Pen()->SetMode(gui::pmNot);
    for (int dx = -1; dx <= 1; ++dx) {
        C->MoveTo(x + dx, 0);
        C->LineTo(x + dx, h);
    }
    for (int side : {1, -1}) {
        POINT tri[3] = {
            {x + 2 * side, h / 2    },
            {x + 5 * side, h / 2 - 3},
            {x + 5 * side, h / 2 + 3}
        };
        C->MoveTo(tri[0].x, tri[0].y);
        C->LineTo(tri[1].x, tri[1].y);
        C->LineTo(tri[2].x, tri[2].y);
        C->LineTo(tri[0].x, tri[0].y);
    }
    C->Pen()->SetMode(gui::pmCopy);
}

void TbsSkinMDITabsBar::DrawTab(gui::TCanvas* C, TbsMDITab* Tab) {
    int W = Tab->ObjectRect.Width(), H = Tab->ObjectRect.Height();
    if (W <= 0 || H <= 0) return;
    gui::TBitmap b;
    b.SetSize(W, H);
    gui::TCanvas* c = b.Canvas();
    bool hot = Tab->MouseIn && !Tab->Active;
    TRect text, close;
    bool drawParams = true;
    c->Font()->Assign(&FDefaultFont);
    TbsDataSkinButtonControl* button =
        TabSkin() && FTabKind == TbsSkinMDITabKind::bstkButton ? ButtonEntry(FSD, "resizebutton") : nullptr;
    if (!TabSkin() || (FTabKind == TbsSkinMDITabKind::bstkButton && !button)) {
        c->Brush()->SetColor(hot ? 0xD2BDB6 : Tab->Active ? 0xB59385 : gui::clBtnFace);
        c->FillRect(gui::Rect(0, 0, W, H));
        text = FShowCloseButtons ? TRect{2, 0, W - FCloseSize - 5, H} : TRect{2, 0, W - 2, H};
        close = {W - FCloseSize - 5, 0, W, H};
        c->Font()->SetColor(FDefaultFont.Color());
    } else {
        if (UseSkinFont) {
            c->Font()->SetName(FontName);
            c->Font()->SetStyle(FontStyle);
            c->Font()->SetHeight(FontHeight);
        }
        ApplyCharset(c->Font(), &FDefaultFont);
        if (button) {
            NinePart(&b, FSD, *button, StateRect(*button, Tab->Active, Tab->MouseIn));
            c->Font()->SetColor(StateFontColor(*button, Tab->Active, Tab->MouseIn));
            text = {button->ClRect.Left, button->ClRect.Top,
                    W - (button->SkinRect.Width() - button->ClRect.Right),
                    H - (button->SkinRect.Height() - button->ClRect.Bottom)};
            int th = c->TextHeight("Wg");
            if (text.Height() < th) text = {text.Left, (H - th) / 2, text.Right, (H - th) / 2 + th};
            if (FShowCloseButtons) {
                close = {text.Right - FCloseSize - 3, 0, text.Right, H};
                text.Right -= FCloseSize + 3;
            }
        } else {
            const TRect& src = Tab->Active ? ActiveTabRect : Tab->MouseIn ? MouseInTabRect : TabRect;
            if (UseSkinSize) {
                BuildHorzThreePartImage(TabLeftOffset, TabRightOffset, &b, Picture, src, W, H,
                                        TabStretchEffect);
                text = FShowCloseButtons ? TRect{2, 0, W - FCloseSize - 5, H}
                                         : TRect{TabLeftOffset, 0, W - TabRightOffset, H};
                drawParams = false;
            } else {
                // An inactive tab stands lower by the active one's extra height.
                int q = TabRect.Height() / 4, top = Tab->Active ? 0 : std::min(FActiveTabOffset, H - 1);
                c->Brush()->SetColor(gui::clBtnFace);
                c->FillRect(gui::Rect(0, 0, W, H));
                gui::TBitmap face;
                face.SetSize(W, H - top);
                BuildImageByClientRect(&face, Picture, src,
                                       {TabLeftOffset, q, src.Width() - TabRightOffset, src.Height() - q},
                                       true);
                c->Draw(0, top, &face);
                text = FShowCloseButtons ? TRect{2, 2, W - FCloseSize - 5, H} : TRect{2, 0, W - 2, H};
            }
            close = {W - FCloseSize - 5, 0, W, H};
            c->Font()->SetColor(hot ? MouseInFontColor : Tab->Active ? ActiveFontColor : FontColor);
        }
    }
    Tab->TextFontColor = c->Font()->Color();
    if (drawParams && OnTabGetDrawParamsEvent) OnTabGetDrawParamsEvent(Tab, c);
    std::string caption = Tab->Child->Caption();
    TrimWideTextToWidth(c, caption, std::max(0, text.Width()));
    c->Brush()->SetStyle(gui::bsClear);
    RECT tr = G(text);
    DrawText(c->Handle(), caption.c_str(), -1, &tr, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    if (FShowCloseButtons) DrawCloseButton(c, Tab, close);
    C->Draw(Tab->ObjectRect.Left, Tab->ObjectRect.Top, &b);
}

void TbsSkinMDITabsBar::DrawCloseButton(gui::TCanvas* C, TbsMDITab* Tab, TRect R) {
    bool pressed = Tab->ButtonMouseDown && Tab->ButtonMouseIn;
    if (!TabSkin()) {
        int y = R.Top + (R.Height() - 14) / 2;
        Tab->ButtonRect = {R.Left, y, R.Left + 14, y + 14};
        if (Tab->ButtonMouseIn) {
            C->Brush()->SetColor(gui::clBtnShadow);
            C->FillRect(G(Tab->ButtonRect));
        }
        DrawCloseGlyph(C, R.Left + 2, y + 2, Tab->ButtonMouseIn ? gui::clWhite : gui::clBlack);
        return;
    }
    if (!Empty(CloseButtonRect)) {
        const TRect& src = pressed              ? CloseButtonDownRect
                           : Tab->ButtonMouseIn ? ClosebuttonActiveRect
                                                : CloseButtonRect;
        int y = R.Top + (R.Height() - src.Height()) / 2;
        Tab->ButtonRect = {R.Left, y, R.Left + src.Width(), y + src.Height()};
        gui::TBitmap glyph;
        glyph.SetSize(src.Width(), src.Height());
        glyph.Canvas()->CopyRect(gui::Rect(0, 0, src.Width(), src.Height()), Picture->Canvas(), G(src));
        if (ButtonTransparent) {
            glyph.TransparentMode = gui::tmFixed;
            glyph.SetTransparentColor(ButtonTransparentColor);
            glyph.SetTransparent(true);
        }
        C->Draw(R.Left, y, &glyph);
        return;
    }
    TbsDataSkinButtonControl* e = ButtonEntry(FSD, "resizetoolbutton");
    if (!e) return;
    int y = R.Top + (R.Height() - FCloseSize) / 2;
    Tab->ButtonRect = {R.Left, y, R.Left + FCloseSize, y + FCloseSize};
    gui::TBitmap face;
    face.SetSize(FCloseSize, FCloseSize);
    NinePart(&face, FSD, *e, StateRect(*e, pressed, Tab->ButtonMouseIn));
    DrawCloseGlyph(face.Canvas(), FCloseSize / 2 - 5, FCloseSize / 2 - 5,
                   StateFontColor(*e, pressed, Tab->ButtonMouseIn));
    C->Draw(R.Left, y, &face);
}

} // namespace skin
