#include "skin/forms/SkinMainMenuBar.h"

#include "gui/Application.h"
#include "gui/Bitmap.h"
#include "gui/Color.h"
#include "gui/ControlTypes.h"
#include "gui/Forms.h"
#include "skin/core/DataSkinControls.h"
#include "skin/core/SkinData.h"
#include "skin/engine/DrawUtils.h"
#include "skin/engine/NinePart.h"
#include "skin/engine/SkinRect.h"
#include "skin/forms/SkinForm.h"
#include "skin/menus/SkinMenu.h"
#include "win/Input.h"
#include "win/Message.h"
#include "win/Paint.h"

#include <algorithm>

namespace skin {

namespace {

bool Contains(const TRect& r, gui::TPoint p) {
    return p.x >= r.Left && p.x < r.Right && p.y >= r.Top && p.y < r.Bottom;
}

struct ButtonKind {
    const char* defaultName;
    TbsStdCommand command;
};
// In the order they are put at the front of the list: the list then starts with the
// system-menu, close, restore and minimise buttons.
constexpr ButtonKind kButtons[] = {
    {"MinButton",     TbsStdCommand::cmMinimize},
    {"MaxButton",     TbsStdCommand::cmMaximize},
    {"CloseButton",   TbsStdCommand::cmClose   },
    {"SysMenuButton", TbsStdCommand::cmSysMenu },
};

} // namespace

TbsSkinMainMenuBar::TbsSkinMainMenuBar(gui::TComponent* AOwner)
    : TbsSkinControl(AOwner), MouseTimer(nullptr), MorphTimer(nullptr), AnimateTimer(nullptr) {
    FSkinDataName = "mainmenubar";
    FDefItemFont.SetName("Arial");
    FDefItemFont.SetStyle(0);
    FDefItemFont.SetHeight(14);
    FDefItemFont.SetColor(gui::clBtnText);
    SetAlign(gui::alTop);
    SetHeight(22);
    auto timer = [this](gui::TTimer& t, unsigned interval, void (TbsSkinMainMenuBar::*tick)()) {
        t.SetEnabled(false);
        t.SetInterval(interval);
        t.OnTimer = [this, tick](gui::TObject*) { (this->*tick)(); };
    };
    timer(MouseTimer, 50, &TbsSkinMainMenuBar::MouseTimerTick);
    timer(MorphTimer, 25, &TbsSkinMainMenuBar::MorphTimerTick);
    timer(AnimateTimer, 25, &TbsSkinMainMenuBar::AnimateTimerTick);
}

TbsSkinMainMenuBar::~TbsSkinMainMenuBar() {
    MarkDestroying();
    for (gui::TTimer* t : {&MouseTimer, &MorphTimer, &AnimateTimer}) t->SetEnabled(false);
    ClearObjects();
    SetSkinForm(nullptr);
    SetMainMenu(nullptr);
    Watch(FMergeMenu, nullptr);
}

// --- references ------------------------------------------------------------------------------

void TbsSkinMainMenuBar::Watch(gui::TComponent* Old, gui::TComponent* Value) {
    if (Old == Value) return;
    if (Old) Old->RemoveFreeNotification(this);
    if (Value) Value->FreeNotification(this);
}

TbsSkinForm* TbsSkinMainMenuBar::SkinForm() const {
    if (BSF) return BSF;
    gui::TCustomForm* form = gui::GetParentForm(const_cast<TbsSkinMainMenuBar*>(this));
    return form ? FindSkinFormComponent(form) : nullptr;
}

void TbsSkinMainMenuBar::SetSkinForm(TbsSkinForm* Value) {
    Watch(BSF, Value);
    BSF = Value;
}

void TbsSkinMainMenuBar::SetMainMenu(gui::TMainMenu* Value) {
    Watch(FMainMenu, Value);
    FMainMenu = Value;
    if (Destroying()) return;
    CreateMenu();
    Invalidate();
}

void TbsSkinMainMenuBar::Merge(gui::TMainMenu* Menu) {
    Watch(FMergeMenu, Menu);
    FMergeMenu = Menu;
    UpDateItems();
}

void TbsSkinMainMenuBar::UnMerge() {
    Merge(nullptr);
}

// The bar's items stand for menu items of other components: when one goes, the items are built
// again before the bar shows or uses them.
void TbsSkinMainMenuBar::Notification(gui::TComponent* AComponent, gui::TOperation Operation) {
    TbsSkinControl::Notification(AComponent, Operation);
    if (Operation != gui::TOperation::opRemove) return;
    if (AComponent == BSF) BSF = nullptr;
    if (AComponent == FMergeMenu) FMergeMenu = nullptr;
    if (AComponent == FMainMenu) {
        FMainMenu = nullptr;
        ClearObjects();
        Invalidate();
    }
    for (int i = 0; i < BarItemCount(); ++i)
        if (BarItem(i)->MenuItem == AComponent) {
            BarItem(i)->MenuItem = nullptr;
            itemsGone_ = true;
            Invalidate();
        }
}

// --- properties ------------------------------------------------------------------------------

void TbsSkinMainMenuBar::SetScrollMenu(bool Value) {
    if (FScrollMenu == Value) return;
    FScrollMenu = Value;
    Invalidate();
}

void TbsSkinMainMenuBar::SetDefItemFont(const gui::TFont* Value) {
    FDefItemFont.Assign(Value);
    if (!FSkinSupport) Invalidate();
}

void TbsSkinMainMenuBar::SetDefaultWidth(int Value) {
    FDefaultWidth = Value;
    if (!FSkinSupport && Value > 0) SetWidth(Value);
}

void TbsSkinMainMenuBar::SetDefaultHeight(int Value) {
    FDefaultHeight = Value;
    if (!FSkinSupport && Value > 0) SetHeight(Value);
}

TbsSkinMainMenuBarItem* TbsSkinMainMenuBar::BarItem(int Index) const {
    return static_cast<TbsSkinMainMenuBarItem*>(ObjectList[static_cast<size_t>(ButtonsCount + Index)].get());
}

bool TbsSkinMainMenuBar::Usable(const TbsSkinMainMenuBarItem* Item) const {
    return Item->Enabled && Item->Fits() && Item->MenuItem;
}

// --- skin ------------------------------------------------------------------------------------

void TbsSkinMainMenuBar::GetSkinData() {
    TbsSkinControl::GetSkinData();
    auto* d = dynamic_cast<TbsDataSkinMainMenuBar*>(Descriptor());
    if (!d) {
        FIndex = -1;
        Picture = nullptr;
        return;
    }
    SkinRect = d->SkinRect;
    ItemsRect = d->ItemsRect;
    MenuBarItem = d->MenuBarItem;
    CloseButton = d->CloseButton;
    MaxButton = d->MaxButton;
    MinButton = d->MinButton;
    SysMenuButton = d->SysMenuButton;
    TrackMarkColor = d->TrackMarkColor;
    TrackMarkActiveColor = d->TrackMarkActiveColor;
    StretchEffect = d->StretchEffect;
    ItemTransparent = d->ItemTransparent;
    int index = d->PictureIndex;
    Picture = index >= 0 && index < static_cast<int>(FSD->FActivePictures.size())
                  ? &FSD->FActivePictures[static_cast<size_t>(index)]->Bitmap()
                  : nullptr;
    // Nothing to draw the bar from: the default look.
    if (!Picture || SkinRect.Width() <= 0 || SkinRect.Height() <= 0) FIndex = -1;
}

void TbsSkinMainMenuBar::ChangeSkinData() {
    GetSkinData();
    FSkinSupport = FIndex != -1;
    CreateMenu();
    if (FSkinSupport)
        SetHeight(SkinRect.Height());
    else if (FDefaultHeight > 0)
        SetHeight(FDefaultHeight);
    Invalidate();
}

void TbsSkinMainMenuBar::BeforeChangeSkinData() {
    FSkinSupport = false;
    TbsSkinControl::BeforeChangeSkinData();
    ClearObjects();
}

void TbsSkinMainMenuBar::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    GetSkinData();
    if (FIndex != -1) AHeight = SkinRect.Height();
    TbsSkinControl::SetBounds(ALeft, ATop, AWidth, AHeight);
    Invalidate();
}

// --- the objects -----------------------------------------------------------------------------

void TbsSkinMainMenuBar::ClearObjects() {
    for (int i = 0; i < BarItemCount(); ++i)
        if (gui::TMenuItem* mi = BarItem(i)->MenuItem) mi->RemoveFreeNotification(this);
    ObjectList.clear();
    ButtonsCount = 0;
    ActiveObject = OldActiveObject = MouseCaptureObject = -1;
    itemsGone_ = false;
}

gui::TMainMenu* TbsSkinMainMenuBar::GetChildMainMenu() const {
    if (FMergeMenu) return FMergeMenu;
    gui::TCustomForm* main = gui::Application ? gui::Application->MainForm() : nullptr;
    gui::TCustomForm* child = main ? main->ActiveMDIChild() : nullptr;
    if (!child) return nullptr;
    for (int i = 0; i < child->ComponentCount(); ++i)
        if (auto* m = dynamic_cast<gui::TMainMenu*>(child->Components(i))) return m;
    return nullptr;
}

void TbsSkinMainMenuBar::CreateMenu() {
    ClearObjects();
    if (!FMainMenu) return;
    TbsSkinForm* bsf = SkinForm();
    bool mdiForm = bsf && bsf->Form()->FormStyle() == gui::fsMDIForm;
    gui::TMainMenu* child = mdiForm || FMergeMenu ? GetChildMainMenu() : nullptr;
    TbsDataSkinMainMenuItem* data = nullptr;
    if (FSD && !FSD->Empty && FSkinSupport) {
        int index = FSD->GetIndex(MenuBarItem);
        if (index >= 0)
            data = dynamic_cast<TbsDataSkinMainMenuItem*>(FSD->ObjectList[static_cast<size_t>(index)].get());
    }
    ChildMenuIn = child != nullptr;
    if (child) FScrollMenu = false;
    std::vector<gui::TMenuItem*> items;
    gui::TMenuItem* root = FMainMenu->Items();
    if (!child) {
        for (int i = 0; i < root->Count(); ++i) items.push_back(root->Items(i));
    } else {
        gui::TMenuItem* childRoot = child->Items();
        auto inChild = [childRoot](uint8_t group) {
            for (int j = 0; j < childRoot->Count(); ++j)
                if (childRoot->Items(j)->GroupIndex() == group) return true;
            return false;
        };
        for (int i = 0; i < root->Count(); ++i)
            if (!inChild(root->Items(i)->GroupIndex())) items.push_back(root->Items(i));
        for (int j = 0; j < childRoot->Count(); ++j) items.push_back(childRoot->Items(j));
        std::stable_sort(items.begin(), items.end(), [](gui::TMenuItem* a, gui::TMenuItem* b) {
            return a->GroupIndex() < b->GroupIndex();
        });
    }
    for (gui::TMenuItem* mi : items) {
        if (!mi->Visible()) continue;
        auto item = std::make_unique<TbsSkinMainMenuBarItem>(this, data);
        item->IDName = mi->Name();
        item->Enabled = item->OldEnabled = mi->Enabled();
        item->MenuItem = mi;
        mi->FreeNotification(this);
        ObjectList.push_back(std::move(item));
    }
    if (FMDIChildMax) {
        CreateMDIButtons();
        TbsSkinForm* maximized = MaximizedChild();
        EnableMDIButtons(maximized ? maximized->BorderIcons() : biSystemMenu | biMinimize);
    }
}

void TbsSkinMainMenuBar::UpDateItems() {
    CreateMenu();
    Invalidate();
    ActiveObject = OldActiveObject = -1;
    MouseTimer.SetEnabled(true);
}

void TbsSkinMainMenuBar::UpDateEnabledItems() {
    for (int i = 0; i < BarItemCount(); ++i)
        if (gui::TMenuItem* mi = BarItem(i)->MenuItem) BarItem(i)->Enabled = mi->Enabled();
    Invalidate();
}

// --- MDI child buttons -----------------------------------------------------------------------

TbsSkinForm* TbsSkinMainMenuBar::MaximizedChild() {
    gui::TCustomForm* main = gui::Application ? gui::Application->MainForm() : nullptr;
    if (!main) return nullptr;
    for (int i = 0; i < main->MDIChildCount(); ++i) {
        TbsSkinForm* f = FindSkinFormComponent(main->MDIChildren(i));
        if (f && f->WindowState() == gui::wsMaximized) return f;
    }
    return nullptr;
}

void TbsSkinMainMenuBar::CreateMDIButtons() {
    FreeMDIButtons();
    for (const ButtonKind& kind : kButtons) {
        std::string name = kind.defaultName;
        TbsDataSkinMainMenuBarButton* data = nullptr;
        if (FSkinSupport && FSD) {
            const std::string& skinName = kind.command == TbsStdCommand::cmMinimize   ? MinButton
                                          : kind.command == TbsStdCommand::cmMaximize ? MaxButton
                                          : kind.command == TbsStdCommand::cmClose    ? CloseButton
                                                                                      : SysMenuButton;
            name = skinName;
            int index = FSD->GetIndex(skinName);
            if (index >= 0)
                data = dynamic_cast<TbsDataSkinMainMenuBarButton*>(
                    FSD->ObjectList[static_cast<size_t>(index)].get());
        }
        auto button = std::make_unique<TbsSkinMainMenuBarButton>(this, data);
        // A button the skin lacks keeps the command of its place: a minimise button that
        // closed the child would lose the user's work.
        if (!data) button->Command = kind.command;
        button->IDName = name;
        ObjectList.insert(ObjectList.begin(), std::move(button));
    }
    ButtonsCount = 4;
}

void TbsSkinMainMenuBar::FreeMDIButtons() {
    ObjectList.erase(ObjectList.begin(), ObjectList.begin() + ButtonsCount);
    ButtonsCount = 0;
    ActiveObject = OldActiveObject = MouseCaptureObject = -1;
}

void TbsSkinMainMenuBar::EnableMDIButtons(TbsBorderIcons Icons) {
    for (int i = 0; i < ButtonsCount; ++i) {
        auto* b = static_cast<TbsSkinMainMenuBarButton*>(ObjectList[static_cast<size_t>(i)].get());
        b->Enabled = true;
        if (b->Command == TbsStdCommand::cmMinimize && !(Icons & biMinimize)) b->Enabled = false;
        if (b->Command == TbsStdCommand::cmSysMenu && !(Icons & biSystemMenu)) b->Enabled = false;
    }
    Invalidate();
}

void TbsSkinMainMenuBar::MDIChildMaximize() {
    if (FMDIChildMax) return;
    FMDIChildMax = true;
    ActiveObject = OldActiveObject = MouseCaptureObject = -1;
    CreateMDIButtons();
    TbsSkinForm* child = MaximizedChild();
    EnableMDIButtons(child ? child->BorderIcons() : biSystemMenu | biMinimize);
    Invalidate();
}

void TbsSkinMainMenuBar::MDIChildRestore() {
    TbsSkinForm* child = MaximizedChild();
    if (child) {
        if (FMDIChildMax) EnableMDIButtons(child->BorderIcons());
        return;
    }
    if (!FMDIChildMax) return;
    FMDIChildMax = false;
    FreeMDIButtons();
    Invalidate();
}

// --- geometry and painting -------------------------------------------------------------------

void TbsSkinMainMenuBar::CalcItemsRect() {
    int w = Width(), h = Height();
    if (FSkinSupport)
        NewItemsRect =
            Rect(ItemsRect.Left, ItemsRect.Top, w + ItemsRect.Right - SkinRect.Width(), ItemsRect.Bottom);
    else
        NewItemsRect = Rect(2, 2, w - 2, h - 2);
    if (ButtonsCount != 4) return;
    TRect& N = NewItemsRect;
    auto place = [&](TbsMenuBarObject* b, int left) {
        auto* button = static_cast<TbsSkinMainMenuBarButton*>(b);
        int bw, bh;
        if (button->FSkinSupport) {
            bw = button->SkinRect.Width();
            bh = button->SkinRect.Height();
        } else {
            bw = bh = N.Height();
        }
        int top = N.Top + (N.Height() - bh) / 2;
        button->ObjectRect = Rect(left, top, left + bw, top + bh);
        return bw;
    };
    int bw = place(ObjectList[0].get(), N.Left);
    N.Left += bw + 2;
    for (int i = 1; i < 4; ++i) {
        TbsMenuBarObject* b = ObjectList[static_cast<size_t>(i)].get();
        int width =
            static_cast<TbsSkinMainMenuBarButton*>(b)->FSkinSupport ? b->SkinRect.Width() : N.Height();
        place(b, N.Right - width);
        N.Right -= width + 2;
    }
}

TRect TbsSkinMainMenuBar::OverflowMarkerRect() const {
    const TRect& N = NewItemsRect;
    return Rect(N.Right - 5, N.Top, N.Right, N.Bottom);
}

void TbsSkinMainMenuBar::DrawOverflowMarker(gui::TCanvas* C) {
    gui::TColor colour = FSkinSupport
                             ? static_cast<gui::TColor>(MarkerActive ? TrackMarkActiveColor : TrackMarkColor)
                             : (MarkerActive ? gui::clBtnText : gui::clBtnShadow);
    DrawArrow(C, ToGuiRect(OverflowMarkerRect()), colour, 2);
}

void TbsSkinMainMenuBar::Paint() {
    int w = Width(), h = Height();
    if (w <= 0 || h <= 0) return;
    GetSkinData();
    FSkinSupport = FIndex != -1;
    if (itemsGone_) CreateMenu();
    gui::TBitmap b;
    b.SetSize(w, h);
    gui::TCanvas* c = b.Canvas();
    if (!FSkinSupport) {
        c->Brush()->SetStyle(gui::bsSolid);
        c->Brush()->SetColor(gui::clBtnFace);
        c->FillRect(gui::Rect(0, 0, w, h));
    } else if (FSD->MainMenuBarTransparent) {
        DrawParentBackground(this, c);
    } else {
        gui::TBitmap bar;
        BuildHorzThreePartImage(ItemsRect.Left, SkinRect.Width() - ItemsRect.Right, &bar, Picture, SkinRect,
                                w, h, StretchEffect);
        c->Draw(0, 0, &bar);
    }
    CalcItemsRect();
    Scroll = false;
    for (auto& o : ObjectList) {
        if (auto* item = dynamic_cast<TbsSkinMainMenuBarItem*>(o.get())) item->CalcObjectRect(c);
        if (o->Visible) o->Draw(c);
    }
    if (Scroll && FScrollMenu) DrawOverflowMarker(c);
    Canvas()->Draw(0, 0, &b);
}

void TbsSkinMainMenuBar::RedrawObject(TbsMenuBarObject* Object) {
    if (!HandleAllocated()) return;
    if (dynamic_cast<TbsSkinMainMenuBarItem*>(Object) && FSkinSupport && ItemTransparent) {
        Invalidate();
        return;
    }
    if (!Object->Visible) return;
    RECT r{Object->ObjectRect.Left, Object->ObjectRect.Top, Object->ObjectRect.Right,
           Object->ObjectRect.Bottom};
    InvalidateRect(Handle(), &r, FALSE);
}

// --- timers ----------------------------------------------------------------------------------

void TbsSkinMainMenuBar::StartMorphTimer() {
    MorphTimer.SetEnabled(true);
}

void TbsSkinMainMenuBar::StartAnimateTimer(int Interval) {
    AnimateTimer.SetInterval(static_cast<unsigned>(std::max(Interval, 1)));
    AnimateTimer.SetEnabled(true);
}

void TbsSkinMainMenuBar::MorphTimerTick() {
    bool changed = false;
    for (auto& o : ObjectList)
        if (o->EnableMorphing() && o->CanMorphing()) {
            o->DoMorphing();
            changed = true;
        }
    if (!changed) MorphTimer.SetEnabled(false);
}

void TbsSkinMainMenuBar::AnimateTimerTick() {
    bool changed = false;
    for (int i = 0; i < BarItemCount(); ++i) {
        TbsSkinMainMenuBarItem* item = BarItem(i);
        if (!item->EnableAnimation()) continue;
        if (item->Active && item->CurrentFrame <= item->FrameCount) {
            ++item->CurrentFrame;
        } else if (!item->Active && item->CurrentFrame > 0) {
            --item->CurrentFrame;
        } else {
            continue;
        }
        RedrawObject(item);
        changed = true;
    }
    if (!changed) AnimateTimer.SetEnabled(false);
}

void TbsSkinMainMenuBar::MouseTimerTick() {
    if (!HandleAllocated()) {
        MouseTimer.SetEnabled(false);
        return;
    }
    POINT sp{};
    GetCursorPos(&sp);
    gui::TPoint p = ScreenToClient({sp.x, sp.y});
    if (p.x < 0 || p.y < 0 || p.x >= Width() || p.y >= Height()) {
        MouseTimer.SetEnabled(false);
        TrackBarPointer({-1, -1});
    } else {
        TrackBarPointer(p);
    }
}

// --- the pointer -----------------------------------------------------------------------------

void TbsSkinMainMenuBar::TrackBarPointer(gui::TPoint P) {
    int n = static_cast<int>(ObjectList.size());
    if (n == 0) return;
    auto valid = [n](int i) { return i >= 0 && i < n; };
    OldActiveObject = valid(ActiveObject) ? ActiveObject : -1;
    int found = -1;
    for (int i = 0; i < n; ++i)
        if (ObjectList[static_cast<size_t>(i)]->Enabled &&
            Contains(ObjectList[static_cast<size_t>(i)]->ObjectRect, P)) {
            found = i;
            break;
        }
    if (found == -1 && MenuActive && OldActiveObject >= ButtonsCount)
        ; // the item whose menu is open stays hot while the pointer is off the items
    else
        ActiveObject = found;
    if (MouseCaptureObject != -1 && ActiveObject != MouseCaptureObject) ActiveObject = -1;
    if (!valid(ActiveObject)) ActiveObject = -1;
    if (ActiveObject != OldActiveObject) {
        if (OldActiveObject != -1 && ObjectList[static_cast<size_t>(OldActiveObject)]->Enabled)
            ObjectList[static_cast<size_t>(OldActiveObject)]->MouseLeave();
        // Leaving may have rebuilt the list (a menu closed and the items were updated).
        if (valid(ActiveObject) && ObjectList[static_cast<size_t>(ActiveObject)]->Enabled)
            ObjectList[static_cast<size_t>(ActiveObject)]->MouseEnter();
    }
    if (Scroll && FScrollMenu) {
        bool in = Contains(OverflowMarkerRect(), P);
        if (in != MarkerActive) {
            MarkerActive = in;
            if (HandleAllocated()) {
                TRect m = OverflowMarkerRect();
                RECT r{m.Left, m.Top, m.Right, m.Bottom};
                InvalidateRect(Handle(), &r, FALSE);
            }
        }
    }
}

void TbsSkinMainMenuBar::CMMouseEnter(gui::TMessage& Message) {
    TbsSkinControl::CMMouseEnter(Message);
    if (!Designing()) MouseTimer.SetEnabled(true);
}

void TbsSkinMainMenuBar::CMMouseLeave(gui::TMessage& Message) {
    TbsSkinControl::CMMouseLeave(Message);
    if (Designing()) return;
    MouseTimer.SetEnabled(false);
    TrackBarPointer({-1, -1});
}

void TbsSkinMainMenuBar::MouseMove(gui::TShiftState Shift, int X, int Y) {
    TbsSkinControl::MouseMove(Shift, X, Y);
    if (!Designing()) MouseTimer.SetEnabled(true);
}

void TbsSkinMainMenuBar::MouseDown(gui::TMouseButton Button, gui::TShiftState Shift, int X, int Y) {
    TbsSkinControl::MouseDown(Button, Shift, X, Y);
    TrackBarPointer({X, Y});
    if (ActiveObject != -1) {
        MouseCaptureObject = ActiveObject;
        ObjectList[static_cast<size_t>(ActiveObject)]->MouseDown(X, Y, Button);
        // The press may have run a command that rebuilt the items.
        if ((Shift & gui::ssDouble) && MouseCaptureObject >= 0 &&
            MouseCaptureObject < static_cast<int>(ObjectList.size()))
            ObjectList[static_cast<size_t>(MouseCaptureObject)]->DblClick();
    } else if (Scroll && FScrollMenu && Contains(OverflowMarkerRect(), {X, Y})) {
        OpenOverflowMenu();
    }
}

void TbsSkinMainMenuBar::MouseUp(gui::TMouseButton Button, gui::TShiftState Shift, int X, int Y) {
    int capture = MouseCaptureObject;
    MouseCaptureObject = -1;
    if (capture >= 0 && capture < static_cast<int>(ObjectList.size()))
        ObjectList[static_cast<size_t>(capture)]->MouseUp(X, Y, Button);
    TbsSkinControl::MouseUp(Button, Shift, X, Y);
}

// The items that do not fit, from the first of them on.
void TbsSkinMainMenuBar::OpenOverflowMenu() {
    TbsSkinForm* bsf = SkinForm();
    if (!bsf || !FMainMenu) return;
    int fitting = 0;
    gui::TMenuItem* firstHidden = nullptr;
    for (int i = 0; i < BarItemCount(); ++i) {
        if (BarItem(i)->Fits())
            ++fitting;
        else if (!firstHidden)
            firstHidden = BarItem(i)->MenuItem;
    }
    TRect m = OverflowMarkerRect();
    gui::TPoint p = ClientToScreen({m.Left, m.Top});
    TRect anchor = Rect(p.x, p.y, p.x + m.Width(), p.y + m.Height());
    bool mdiForm = bsf->Form()->FormStyle() == gui::fsMDIForm;
    gui::TMainMenu* child = mdiForm || FMergeMenu ? GetChildMainMenu() : nullptr;
    bsf->SkinMenuOpen();
    if (child) {
        bsf->SkinMenu()->Popup2(nullptr, FSD, fitting, anchor, FMainMenu->Items(), child->Items(), false);
    } else {
        // The bar counts only the menu's visible items: start at the first hidden one's own
        // place in the menu, so that a hidden item before it does not shift the list.
        int start = firstHidden ? FMainMenu->Items()->IndexOf(firstHidden) : fitting;
        bsf->SkinMenu()->Popup(nullptr, FSD, start < 0 ? fitting : start, anchor, FMainMenu->Items(), false);
    }
    if (!bsf->SkinMenu()->Visible()) bsf->SkinMenuClose();
}

// --- messages --------------------------------------------------------------------------------

void TbsSkinMainMenuBar::Dispatch(gui::TMessage& m) {
    switch (m.Msg) {
    case WM_CLOSESKINMENU:
        // The child's system menu closed: its button comes up.
        for (int i = 0; i < ButtonsCount; ++i) {
            auto* b = static_cast<TbsSkinMainMenuBarButton*>(ObjectList[static_cast<size_t>(i)].get());
            if (b->Command != TbsStdCommand::cmSysMenu || !b->FDown) continue;
            b->FDown = false;
            if (i != ActiveObject) b->Active = b->FMouseIn = false;
            b->StartObjectEffect();
        }
        break;
    case WM_SIZE:
        TbsSkinControl::Dispatch(m);
        CalcItemsRect();
        return;
    case WM_CHECKPARENTBG:
        if (FSkinSupport && FSD && FSD->MainMenuBarTransparent) Invalidate();
        return;
    case WM_MOVE:
        TbsSkinControl::Dispatch(m);
        if (Align() == gui::alNone && FSkinSupport && FSD && FSD->MainMenuBarTransparent) Invalidate();
        return;
    default:
        break;
    }
    TbsSkinControl::Dispatch(m);
}

// --- keyboard menu mode ----------------------------------------------------------------------

void TbsSkinMainMenuBar::EnterMenuMode() {
    MenuActive = true;
    TbsSkinMainMenuBarItem* hot = nullptr;
    for (int i = 0; i < BarItemCount() && !hot; ++i)
        if (BarItem(i)->Active) hot = BarItem(i);
    // A disabled or hidden first item cannot be chosen: the first usable one is.
    for (int i = 0; i < BarItemCount() && !hot; ++i)
        if (Usable(BarItem(i))) hot = BarItem(i);
    if (hot) hot->MouseEnter();
    TbsSkinForm* bsf = SkinForm();
    if (!bsf) return;
    bsf->HookAppMessages();
    bsf->SetInMainMenu(true);
    if (bsf->OnMainMenuEnter) bsf->OnMainMenuEnter(this);
}

void TbsSkinMainMenuBar::LeaveMenuMode() {
    MenuActive = false;
    for (int i = 0; i < BarItemCount(); ++i) {
        TbsSkinMainMenuBarItem* item = BarItem(i);
        if (!item->FDown && !item->Active) continue;
        item->Active = item->FMouseIn = item->FDown = false;
        if (item->EnableAnimation() && !item->InActiveAnimation) {
            item->CurrentFrame = 0;
            RedrawObject(item);
        } else {
            item->StartObjectEffect();
        }
        break;
    }
    ActiveObject = OldActiveObject = -1;
}

void TbsSkinMainMenuBar::SelectNextItem() {
    int n = BarItemCount();
    for (int i = 0; i < n; ++i) {
        TbsSkinMainMenuBarItem* item = BarItem(i);
        if (!Usable(item) || !(item->Active || item->FDown)) continue;
        item->MouseLeave();
        for (int k = 1; k <= n; ++k) {
            TbsSkinMainMenuBarItem* next = BarItem((i + k) % n);
            if (Usable(next)) {
                next->MouseEnter();
                return;
            }
        }
        return;
    }
    for (int i = 0; i < n; ++i)
        if (Usable(BarItem(i))) {
            BarItem(i)->MouseEnter();
            return;
        }
}

void TbsSkinMainMenuBar::SelectPrevItem() {
    int n = BarItemCount();
    for (int i = 0; i < n; ++i) {
        TbsSkinMainMenuBarItem* item = BarItem(i);
        if (!Usable(item) || !(item->Active || item->FDown)) continue;
        item->MouseLeave();
        for (int k = 1; k <= n; ++k) {
            TbsSkinMainMenuBarItem* prev = BarItem(((i - k) % n + n) % n);
            if (Usable(prev)) {
                prev->MouseEnter();
                return;
            }
        }
        return;
    }
    for (int i = n - 1; i >= 0; --i)
        if (Usable(BarItem(i))) {
            BarItem(i)->MouseEnter();
            return;
        }
}

bool TbsSkinMainMenuBar::OpenSelectedItem() {
    TbsSkinForm* bsf = SkinForm();
    bool menuOpen = bsf && (bsf->InMenu() || bsf->SkinMenu()->Visible());
    for (int i = 0; i < BarItemCount(); ++i) {
        TbsSkinMainMenuBarItem* item = BarItem(i);
        if (!item->MenuItem) continue;
        bool pick = (item->FDown && item->MenuItem->Count() == 0) || (item->Active && !menuOpen);
        if (!pick) continue;
        item->Active = false;
        item->MouseDown(0, 0, gui::mbLeft);
        return true;
    }
    return false;
}

bool TbsSkinMainMenuBar::ProcessAccelerator(int Key) {
    TbsSkinForm* bsf = SkinForm();
    if (!bsf || !bsf->Form()->Visible()) return false;
    bool menuOpen = bsf->InMenu() || bsf->SkinMenu()->Visible();
    for (int i = 0; i < BarItemCount(); ++i) {
        TbsSkinMainMenuBarItem* item = BarItem(i);
        if (!Usable(item) || !gui::IsAccel(static_cast<WPARAM>(Key), item->MenuItem->Caption())) continue;
        item->MouseEnter();
        if (!menuOpen || item->MenuItem->Count() == 0) item->MouseDown(0, 0, gui::mbLeft);
        return true;
    }
    return false;
}

void TbsSkinMainMenuBar::ItemMenuClosed() {
    for (int i = 0; i < BarItemCount(); ++i) {
        TbsSkinMainMenuBarItem* item = BarItem(i);
        if (!item->FDown) continue;
        item->FDown = false;
        item->Active = true;
        RedrawObject(item);
        return;
    }
}

} // namespace skin
