#include "skin/menus/SkinMenu.h"

#include "gui/WinControl.h"
#include "os/MainThread.h"
#include "skin/engine/DrawUtils.h"
#include "skin/menus/SkinMenuItem.h"
#include "skin/menus/SkinPopupWindow.h"
#include "win/Message.h"

namespace skin {

bool IsMenuCloseMessage(UINT Msg) {
    switch (Msg) {
    case WM_MOVE:
    case WM_SIZE:
    case WM_ACTIVATE:
    case WM_KILLFOCUS:
    case WM_CANCELMODE:
    case WM_MOUSEACTIVATE:
    case WM_NCLBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
    case WM_NCMBUTTONDOWN:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_PARENTNOTIFY:
        return true;
    default:
        return false;
    }
}

TbsSkinMenu::TbsSkinMenu(gui::TComponent* AOwner, gui::TCustomForm* AForm)
    : gui::TComponent(AOwner), FForm(AForm), WaitTimer(nullptr),
      closed_(std::make_shared<std::vector<std::unique_ptr<TbsSkinPopupWindow>>>()) {
    FDefaultMenuItemFont.SetName("Arial");
    FDefaultMenuItemFont.SetHeight(14);
    FDefaultMenuItemFont.SetStyle(0);
    WaitTimer.SetEnabled(false);
    WaitTimer.SetInterval(500);
    WaitTimer.OnTimer = [this](gui::TObject*) { WaitTimerTick(); };
}

TbsSkinMenu::~TbsSkinMenu() {
    MarkDestroying();
    // The form and its controls are going too: nobody is told.
    OnMenuClose = nullptr;
    SetPopupCtrl(nullptr);
    CloseFrom(0);
    SetDCtrl(nullptr);
    WaitTimer.SetEnabled(false);
}

void TbsSkinMenu::SetDefaultMenuItemHeight(int Value) {
    if (Value > 0) FDefaultMenuItemHeight = Value;
}

// The controls we will send notices to may go while the menu is open.
void TbsSkinMenu::SetPopupCtrl(gui::TControl* Value) {
    if (PopupCtrl == Value) return;
    if (PopupCtrl && PopupCtrl != DCtrl) PopupCtrl->RemoveFreeNotification(this);
    PopupCtrl = Value;
    if (Value) Value->FreeNotification(this);
}

void TbsSkinMenu::SetDCtrl(gui::TControl* Value) {
    if (DCtrl == Value) return;
    if (DCtrl && DCtrl != PopupCtrl) DCtrl->RemoveFreeNotification(this);
    DCtrl = Value;
    if (Value) Value->FreeNotification(this);
}

void TbsSkinMenu::Notification(gui::TComponent* AComponent, gui::TOperation Operation) {
    gui::TComponent::Notification(AComponent, Operation);
    if (Operation != gui::TOperation::opRemove) return;
    if (AComponent == PopupCtrl) PopupCtrl = nullptr;
    if (AComponent == DCtrl) DCtrl = nullptr;
}

void TbsSkinMenu::Notify(gui::TControl* Ctrl, UINT Msg) {
    if (!Ctrl) return;
    auto* w = dynamic_cast<gui::TWinControl*>(Ctrl);
    if (w && w->HandleAllocated())
        SendMessage(w->Handle(), Msg, 0, 0);
    else
        Ctrl->Perform(Msg, 0, 0);
}

int TbsSkinMenu::IndexOf(const TbsSkinPopupWindow* Window) const {
    for (size_t i = 0; i < FPopupList.size(); ++i)
        if (FPopupList[i].get() == Window) return static_cast<int>(i);
    return LevelCount();
}

void TbsSkinMenu::CancelWait() {
    WaitTimer.SetEnabled(false);
    FWItem = nullptr;
}

void TbsSkinMenu::Popup(gui::TControl* APopupCtrl, TbsSkinData* ASkinData, int StartIndex, const TRect& R,
                        gui::TMenuItem* AItem, bool PopupUp) {
    Popup2(APopupCtrl, ASkinData, StartIndex, R, AItem, nullptr, PopupUp);
}

void TbsSkinMenu::Popup2(gui::TControl* APopupCtrl, TbsSkinData* ASkinData, int StartIndex, const TRect& R,
                         gui::TMenuItem* AItem, gui::TMenuItem* AItem2, bool PopupUp) {
    FFirst = !FVisible;
    if (!FPopupList.empty()) CloseFrom(0);
    SetPopupCtrl(APopupCtrl);
    gui::TRect wa{};
    if (FForm && FForm->HandleAllocated())
        GetMonitorArea(FForm->Handle(), true, wa);
    else
        GetDesktopArea(true, wa);
    FWorkArea = Rect(wa.left, wa.top, wa.right, wa.bottom);
    FSkinData = ASkinData;
    int count = (AItem ? AItem->Count() : 0) + (AItem2 ? AItem2->Count() : 0);
    if (!AItem || AItem->Count() == 0 || StartIndex >= count) return;
    FVisible = true;
    OpenLevel(R, AItem, AItem2, StartIndex, false, PopupUp);
    FFirst = false;
}

void TbsSkinMenu::OpenLevel(const TRect& R, gui::TMenuItem* AItem, gui::TMenuItem* AItem2, int StartIndex,
                            bool PopupByItem, bool PopupUp) {
    TbsDataSkinPopupWindow* pw = FSkinData && !FSkinData->Empty ? &FSkinData->PopupWindow : nullptr;
    auto window = std::make_unique<TbsSkinPopupWindow>(nullptr, this, pw);
    TbsSkinPopupWindow* w = window.get();
    FPopupList.push_back(std::move(window));
    if (AItem2)
        w->Show2(R, AItem, AItem2, StartIndex, PopupByItem, PopupUp);
    else
        w->Show(R, AItem, StartIndex, PopupByItem, PopupUp);
}

void TbsSkinMenu::Bury(std::unique_ptr<TbsSkinPopupWindow> Window) {
    Window->Hide();
    closed_->push_back(std::move(Window));
    if (closed_->size() != 1) return;
    std::weak_ptr<std::vector<std::unique_ptr<TbsSkinPopupWindow>>> grave = closed_;
    os::PostInMainThread([grave] {
        if (auto g = grave.lock()) g->clear();
    });
}

void TbsSkinMenu::CloseFrom(int Index) {
    if (Index < 0) Index = 0;
    while (static_cast<int>(FPopupList.size()) > Index) {
        std::unique_ptr<TbsSkinPopupWindow> w = std::move(FPopupList.back());
        FPopupList.pop_back();
        if (FWItem && FWItem->Parent == w.get()) CancelWait();
        Bury(std::move(w));
    }
    if (Index != 0) return;
    bool wasOpen = FVisible;
    FVisible = false;
    WaitTimer.SetEnabled(false);
    SetDCtrl(PopupCtrl);
    if (PopupCtrl) {
        gui::TControl* opener = PopupCtrl;
        SetPopupCtrl(nullptr);
        Notify(opener, WM_CLOSESKINMENU);
    }
    if (OnMenuClose && wasOpen) {
        gui::TNotifyEvent event = std::move(OnMenuClose);
        OnMenuClose = nullptr;
        event(this);
    }
}

void TbsSkinMenu::Hide() {
    CloseFrom(0);
    CancelWait();
    if (FForm && FForm->HandleAllocated()) SendMessage(FForm->Handle(), WM_CLOSESKINMENU, 0, 0);
}

void TbsSkinMenu::ItemAction(TbsSkinPopupWindow* Window, TbsSkinMenuItem* Item, bool Click, bool Kb) {
    gui::TMenuItem* mi = Item->MenuItem;
    bool children = mi->Count() > 0;
    int level = IndexOf(Window);
    if (!children) {
        CancelWait();
        if (!Click) {
            if (level + 1 < LevelCount()) CloseFrom(level + 1);
            return;
        }
        Hide();
        gui::TMenu* menu = mi->GetParentMenu();
        if (!menu || !menu->DispatchCommand(mi->Command())) mi->Click();
        if (DCtrl) {
            gui::TControl* opener = DCtrl;
            SetDCtrl(nullptr);
            Notify(opener, WM_AFTERSKINMENUCOMMAND);
        }
        return;
    }
    if (!Click) {
        if (Kb) return; // the submenu opens by Right or Enter
        WaitTimer.SetEnabled(false);
        if (level + 1 < LevelCount()) CloseFrom(level + 1);
        FWItem = Item;
        WaitTimer.SetEnabled(true);
        return;
    }
    gui::TMenu* menu = mi->GetParentMenu();
    if (!menu || !menu->DispatchCommand(mi->Command())) mi->Click();
    CancelWait();
    if (level >= LevelCount()) return; // the command closed the menu
    if (level + 1 < LevelCount()) CloseFrom(level + 1);
    Item->Down = true;
    TRect r = Item->ObjectRect;
    gui::TPoint o{Window->Left(), Window->Top()};
    OpenLevel(Rect(o.x + r.Left, o.y + r.Top, o.x + r.Right, o.y + r.Bottom), mi, nullptr, 0, true, false);
}

void TbsSkinMenu::WaitTimerTick() {
    WaitTimer.SetEnabled(false);
    TbsSkinMenuItem* item = FWItem;
    if (!item) return;
    ItemAction(item->Parent, item, true, false);
}

} // namespace skin
