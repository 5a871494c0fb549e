// The skinned form's menus: the system menu of the window's state, the tray menu, skinned menus
// opened for the application, and the menu mode.  While a skinned menu of the form is open the
// application's messages pass through the form first: key presses go to the deepest open
// level and the mouse wheel is swallowed.  Menu windows never take the focus, so this is the
// only way keys reach them.
#include "skin/forms/SkinFormMenus.h"
#include "gui/ShortCuts.h"
#include "skin/core/ResourceStrData.h"
#include "skin/engine/LayerManager.h"
#include "skin/forms/MDIMenuBarLink.h"
#include "skin/forms/SkinAnimateObject.h"
#include "skin/forms/SkinButtonObject.h"
#include "skin/forms/SkinForm.h"
#include "skin/forms/SkinMainMenuBar.h"
#include "skin/menus/SkinMenuItem.h"
#include "skin/menus/SkinPopupWindow.h"
#include "win/Message.h"
#include "win/Window.h"
#include "win/WindowPos.h"

namespace skin {

namespace {

struct SystemItem {
    const char* name;
    const char* key; // in the skin's string table
    const char* caption;
};

constexpr SystemItem kSystemItems[] = {
    {"BSF_MINITEM",      "MI_MINCAPTION",       "Mi&nimize"        },
    {"BSF_MAXITEM",      "MI_MAXCAPTION",       "Ma&ximize"        },
    {"BSF_RESTORE",      "MI_RESTORECAPTION",   "&Restore"         },
    {"BSF_ROLLUP",       "MI_ROLLUPCAPTION",    "Ro&llUp"          },
    {"BSF_MINTOTRAY",    "MI_MINTOTRAYCAPTION", "Minimize to &Tray"},
    {"BSF_CLOSE",        "MI_CLOSECAPTION",     "&Close"           },
    {"TRAY_BSF_RESTORE", "MI_RESTORECAPTION",   "&Restore"         },
    {"TRAY_BSF_CLOSE",   "MI_CLOSECAPTION",     "&Close"           },
};

const SystemItem* FindSystemItem(const std::string& name) {
    for (const SystemItem& i : kSystemItems)
        if (name == i.name) return &i;
    return nullptr;
}

bool IsFormSystemItem(const std::string& name) {
    return name.rfind("BSF_", 0) == 0 && FindSystemItem(name);
}

} // namespace

// --- the state -------------------------------------------------------------------------------

TbsSkinFormMenus::TbsSkinFormMenus(TbsSkinForm* AForm)
    : gui::TComponent(nullptr), Form(AForm), SkinMenu(std::make_unique<TbsSkinMenu>(nullptr, AForm->Form())),
      SysMenu(std::make_unique<gui::TPopupMenu>(nullptr)),
      SysTrayMenu(std::make_unique<TbsSkinPopupMenu>(nullptr)) {
    SysTrayMenu->ComponentForm = AForm->Form();
}

TbsSkinFormMenus::~TbsSkinFormMenus() {
    MarkDestroying();
    Unhook();
    Watch(nullptr);
    WatchBar(nullptr);
}

void TbsSkinFormMenus::Unhook() {
    if (!InAppHook) return;
    InAppHook = false;
    gui::Application->OnMessage = std::move(OldAppMessage);
    OldAppMessage = nullptr;
}

void TbsSkinFormMenus::Watch(gui::TPopupMenu* Value) {
    if (Watched == Value) return;
    if (Watched) Watched->RemoveFreeNotification(this);
    Watched = Value;
    if (Value) Value->FreeNotification(this);
}

void TbsSkinFormMenus::WatchBar(TbsSkinMainMenuBar* Value) {
    if (Bar == Value) return;
    if (Bar) Bar->RemoveFreeNotification(this);
    Bar = Value;
    if (Value) Value->FreeNotification(this);
}

// An application menu named as the system menu, and the menu bar, may go before the form.
void TbsSkinFormMenus::Notification(gui::TComponent* AComponent, gui::TOperation Operation) {
    gui::TComponent::Notification(AComponent, Operation);
    if (Operation != gui::TOperation::opRemove) return;
    if (AComponent == Watched) Watched = nullptr;
    if (AComponent == Bar) Bar = nullptr;
}

// --- the form's side -------------------------------------------------------------------------

void TbsSkinForm::CreateMenus() {
    menus_ = std::make_unique<TbsSkinFormMenus>(this);
    // The tray menu is built once, before any skin is set: it keeps the built-in captions.
    gui::TMenuItem* root = menus_->SysTrayMenu->Items();
    AddSystemItem(root, root->Count(), "TRAY_BSF_RESTORE", true);
    AddSystemItem(root, root->Count(), "-", true);
    AddSystemItem(root, root->Count(), "TRAY_BSF_CLOSE", true);
    if (Designing()) return;
    // Alt+Space reaches the form as a shortcut; a handler the form had goes on first.
    if (form_->OnShortCut) OnShortCut = std::move(form_->OnShortCut);
    form_->OnShortCut = [this](gui::TMessage& msg, bool& handled) { FormShortCut(msg, handled); };
}

TbsSkinMenu* TbsSkinForm::SkinMenu() const {
    return menus_->SkinMenu.get();
}

gui::TPopupMenu* TbsSkinForm::SystemMenu() const {
    return menus_->Watched;
}

void TbsSkinForm::SetSystemMenu(gui::TPopupMenu* value) {
    menus_->Watch(value);
}

TbsSkinPopupMenu* TbsSkinForm::SysTrayMenu() const {
    return menus_->SysTrayMenu.get();
}

int TbsSkinForm::MaxMenuItemsInWindow() const {
    return menus_->SkinMenu->MaxMenuItemsInWindow;
}

void TbsSkinForm::SetMaxMenuItemsInWindow(int value) {
    if (value >= 0) menus_->SkinMenu->MaxMenuItemsInWindow = value;
}

int TbsSkinForm::DefMenuItemHeight() const {
    return menus_->SkinMenu->DefaultMenuItemHeight();
}

void TbsSkinForm::SetDefMenuItemHeight(int value) {
    menus_->SkinMenu->SetDefaultMenuItemHeight(value);
}

gui::TFont* TbsSkinForm::DefMenuItemFont() const {
    return menus_->SkinMenu->DefaultMenuItemFont();
}

void TbsSkinForm::SetDefMenuItemFont(const gui::TFont* value) {
    menus_->SkinMenu->SetDefaultMenuItemFont(value);
}

bool TbsSkinForm::UseSkinFontInMenu() const {
    return menus_->SkinMenu->UseSkinFont;
}

void TbsSkinForm::SetUseSkinFontInMenu(bool value) {
    menus_->SkinMenu->UseSkinFont = value;
}

bool TbsSkinForm::InMenu() const {
    return menus_->InMenu;
}

void TbsSkinForm::SetInMenu(bool value) {
    menus_->InMenu = value;
}

TbsSkinMainMenuBar* TbsSkinForm::MainMenuBar() const {
    return menus_->Bar;
}

void TbsSkinForm::SetMainMenuBar(TbsSkinMainMenuBar* value) {
    menus_->WatchBar(value);
}

bool TbsSkinForm::InMainMenu() const {
    return menus_->InMainMenu;
}

void TbsSkinForm::SetInMainMenu(bool value) {
    menus_->InMainMenu = value;
}

gui::TMenuItem* TbsSkinForm::AddSystemItem(gui::TMenuItem* parent, int index, const std::string& name,
                                           bool tray) {
    auto* item = new gui::TMenuItem(nullptr); // the menu it goes into frees it
    if (name == "-") {
        item->SetCaption("-");
    } else {
        const SystemItem* s = FindSystemItem(name);
        item->SetName(name);
        std::string caption = s->caption;
        if (!tray && fsd_ && fsd_->ResourceStrData()) caption = fsd_->ResourceStrData()->GetResStr(s->key);
        item->SetCaption(caption);
        if (name == "BSF_CLOSE" || name == "TRAY_BSF_CLOSE")
            item->SetShortCut(
                gui::TextToShortCut(form_->FormStyle() == gui::fsMDIChild ? "Ctrl+F4" : "Alt+F4"));
        item->OnClick = [this, name](gui::TObject*) { SystemCommand(name); };
    }
    parent->Insert(index, item);
    return item;
}

void TbsSkinForm::SystemCommand(const std::string& name) {
    if (name == "BSF_MINITEM")
        MinimizeCommand();
    else if (name == "BSF_MAXITEM")
        MaximizeCommand();
    else if (name == "TRAY_BSF_RESTORE" && TrayIcon())
        RestoreFromTrayCommand();
    else if (name == "BSF_RESTORE" || name == "TRAY_BSF_RESTORE")
        RestoreCommand();
    else if (name == "BSF_ROLLUP")
        RollUpCommand();
    else if (name == "BSF_MINTOTRAY")
        MinimizeToTrayCommand();
    else if (name == "BSF_CLOSE" || name == "TRAY_BSF_CLOSE")
        CloseCommand();
}

namespace {
struct FormState {
    bool minimized, maximized, rolledUp;
};
// A skinnable form's states are its component's own.
FormState StateOf(const TbsSkinForm* skinForm) {
    gui::TCustomForm* form = skinForm->Form();
    if (skinForm->SkinnableForm())
        return {skinForm->WindowState() == gui::wsMinimized, skinForm->WindowState() == gui::wsMaximized,
                skinForm->RollUpState()};
    HWND h = form->HandleAllocated() ? form->Handle() : nullptr;
    bool minimized = h ? IsIconic(h) != 0 : form->WindowState() == gui::wsMinimized;
    bool maximized = h ? IsZoomed(h) != 0 : form->WindowState() == gui::wsMaximized;
    return {minimized, maximized, false};
}
} // namespace

void TbsSkinForm::BuildSystemMenu() {
    gui::TMenuItem* root = menus_->SysMenu->Items();
    root->Clear();
    FormState st = StateOf(this);
    bool mdiChild = form_->FormStyle() == gui::fsMDIChild;
    auto add = [&](const char* name) { AddSystemItem(root, root->Count(), name, false); };
    if (!st.minimized && (borderIcons_ & biMinimize)) add("BSF_MINITEM");
    if (!st.maximized && (borderIcons_ & biMaximize)) add("BSF_MAXITEM");
    if (st.minimized || st.maximized || st.rolledUp) add("BSF_RESTORE");
    if ((!mdiChild || !st.maximized) && !st.rolledUp && !st.minimized && (borderIcons_ & biRollUp))
        add("BSF_ROLLUP");
    if (borderIcons_ & biMinimizeToTray) add("BSF_MINTOTRAY");
    if (root->Count() > 0) add("-");
    add("BSF_CLOSE");
}

void TbsSkinForm::MergeSystemMenu() {
    gui::TPopupMenu* menu = SystemMenu();
    if (!menu || !UseDefaultSysMenu) return;
    gui::TMenuItem* root = menu->Items();
    for (int i = root->Count() - 1; i >= 0; --i)
        if (IsFormSystemItem(root->Items(i)->Name())) delete root->Items(i);
    FormState st = StateOf(this);
    bool mdiChild = form_->FormStyle() == gui::fsMDIChild;
    auto insert = [&](const char* name) { AddSystemItem(root, 0, name, false); };
    if (borderIcons_ & biMinimizeToTray) insert("BSF_MINTOTRAY");
    if ((!mdiChild || !st.maximized) && !st.rolledUp && !st.minimized && (borderIcons_ & biRollUp))
        insert("BSF_ROLLUP");
    if (!st.maximized && (borderIcons_ & biMaximize)) insert("BSF_MAXITEM");
    if (st.minimized || st.maximized || st.rolledUp) insert("BSF_RESTORE");
    if (!st.minimized && (borderIcons_ & biMinimize)) insert("BSF_MINITEM");
    AddSystemItem(root, root->Count(), "BSF_CLOSE", false);
}

gui::TMenuItem* TbsSkinForm::GetSystemMenuItems() {
    if (gui::TPopupMenu* menu = SystemMenu()) {
        MergeSystemMenu();
        return menu->Items();
    }
    BuildSystemMenu();
    return menus_->SysMenu->Items();
}

// --- opening ---------------------------------------------------------------------------------

void TbsSkinForm::PopupSystemMenuIn(const TRect& R) {
    TbsSkinForm* host = this;
    if (form_->FormStyle() == gui::fsMDIChild) {
        auto* main = gui::Application->MainForm();
        host = main ? FindSkinFormComponent(main) : nullptr;
        if (!host) return;
    }
    gui::TMenuItem* items = GetSystemMenuItems();
    host->SkinMenuOpen();
    host->SkinMenu()->Popup(nullptr, host->MenuSkin(), 0, R, items, false);
    if (!host->SkinMenu()->Visible()) host->SkinMenuClose();
}

void TbsSkinForm::PopupSystemMenuAt(int X, int Y) {
    PopupSystemMenuIn(Rect(X, Y, X, Y));
}

// Under the system-menu button.  A frame without one opens the menu below the caption's left
// end; a disabled button opens nothing.
void TbsSkinForm::PopupSystemMenuFromButton() {
    HWND wnd = Wnd();
    if (!wnd || DisableSystemMenu) return;
    bool button = false;
    for (auto& o : ObjectList) {
        TbsStdCommand command = TbsStdCommand::cmDefault;
        if (auto* b = dynamic_cast<TbsSkinStdButtonObject*>(o.get()))
            command = b->Command;
        else if (auto* a = dynamic_cast<TbsSkinAnimateObject*>(o.get()))
            command = a->Command;
        if (command != TbsStdCommand::cmSysMenu) continue;
        button = true;
        if (o->Enabled) PopupSystemMenuIn(ObjectToScreen(o->ObjectRect));
    }
    if (button) return;
    RECT wr{};
    GetWindowRect(wnd, &wr);
    int caption = skinSupport_ ? std::max(NewCaptionRect.Bottom, NewClRect.Top) : DefaultCaptionHeight() + 3;
    PopupSystemMenuIn(Rect(wr.left, wr.top, wr.left, wr.top + caption));
}

void TbsSkinForm::PopupSkinMenu(gui::TMenu* Menu, TPoint P) {
    SkinMenuOpen();
    SkinMenu()->Popup(nullptr, MenuSkin(), 0, Rect(P.X, P.Y, P.X, P.Y), Menu->Items(), false);
    if (!SkinMenu()->Visible()) SkinMenuClose();
}

void TbsSkinForm::PopupSkinMenu1(gui::TMenu* Menu, const TRect& R, bool PopupUp) {
    SkinMenuOpen();
    SkinMenu()->Popup(nullptr, MenuSkin(), 0, R, Menu->Items(), PopupUp);
    if (!SkinMenu()->Visible()) SkinMenuClose();
}

void TbsSkinForm::DoPopupMenu(gui::TMenu* Menu, int X, int Y) {
    if (auto* popup = dynamic_cast<gui::TPopupMenu*>(Menu); popup && popup->OnPopup) popup->OnPopup(this);
    if (SkinMenu()->Visible()) SkinMenuClose();
    SkinMenuOpen();
    SkinMenu()->Popup(nullptr, fsd_, 0, Rect(X, Y, X, Y), Menu->Items(), false);
    if (!SkinMenu()->Visible()) SkinMenuClose();
}

// --- menu mode -------------------------------------------------------------------------------

void TbsSkinForm::HookAppMessages() {
    TbsSkinFormMenus& m = *menus_;
    if (m.InAppHook) return;
    m.OldAppMessage = std::move(gui::Application->OnMessage);
    gui::Application->OnMessage = [this](MSG& msg, bool& handled) {
        if (msg.message == WM_KEYDOWN) {
            UINT key = static_cast<UINT>(msg.wParam);
            msg.message = 0;
            handled = true;
            SkinMenuKeyDown(static_cast<int>(key));
            return;
        }
        if (msg.message == WM_MOUSEWHEEL) {
            msg.message = 0;
            handled = true;
            return;
        }
        if (menus_->OldAppMessage) menus_->OldAppMessage(msg, handled);
    };
    m.InAppHook = true;
}

void TbsSkinForm::UnhookAppMessages() {
    menus_->Unhook();
}

void TbsSkinForm::SkinMenuOpen() {
    TbsSkinMenu* m = SkinMenu();
    m->AlphaBlend = MenusAlphaBlend;
    m->AlphaBlendValue = MenusAlphaBlendValue;
    m->AlphaBlendAnimation = MenusAlphaBlendAnimation;
    if (!menus_->InMainMenu) HookAppMessages();
    if (!menus_->InMenu) {
        menus_->InMenu = true;
        if (OnSkinMenuOpen) OnSkinMenuOpen(this);
    }
}

void TbsSkinForm::SkinMenuClose() {
    if (FMenuLayerManager && FMenuLayerManager->IsVisible) FMenuLayerManager->Hide();
    menus_->InMenu = false;
    // A caption button that opened the menu comes up again.
    ObjectMenuClosed();
    UnhookAppMessages();
    if (OnSkinMenuClose) OnSkinMenuClose(this);
    if (menus_->InMainMenu) {
        menus_->InMainMenu = false;
        if (TbsSkinMainMenuBar* bar = MainMenuBar()) bar->LeaveMenuMode();
        if (OnMainMenuExit) OnMainMenuExit(this);
    }
}

void TbsSkinForm::ExitMainMenu() {
    menus_->InMainMenu = false;
    if (SkinMenu()->Visible()) SkinMenu()->Hide();
    if (TbsSkinMainMenuBar* bar = MainMenuBar()) bar->LeaveMenuMode();
    UnhookAppMessages();
    if (OnMainMenuExit) OnMainMenuExit(this);
}

void TbsSkinForm::EndMenuTracking() {
    menus_->InMenu = false;
    if (TbsSkinMainMenuBar* bar = MainMenuBar()) bar->ItemMenuClosed();
    if (OnSkinMenuClose) OnSkinMenuClose(this);
}

void TbsSkinForm::SkinMenuKeyDown(int Key) {
    TbsSkinFormMenus& s = *menus_;
    TbsSkinMenu* menu = SkinMenu();
    TbsSkinMainMenuBar* bar = MainMenuBar();
    // An MDI child's keys go to the main form while a menu of the main form is open.
    if (form_->FormStyle() == gui::fsMDIChild && gui::Application->MainForm()) {
        TbsSkinForm* main = FindSkinFormComponent(gui::Application->MainForm());
        if (main && main != this && (main->InMenu() || main->InMainMenu() || main->SkinMenu()->Visible())) {
            main->SkinMenuKeyDown(Key);
            return;
        }
    }
    if (s.InMainMenu && bar && bar->ProcessAccelerator(Key)) return;
    if (Key == VK_ESCAPE && s.InMainMenu && !s.InMenu) {
        ExitMainMenu();
        return;
    }
    auto top = [menu]() -> TbsSkinPopupWindow* {
        return menu->Visible() && menu->LevelCount() > 0 ? menu->Level(menu->LevelCount() - 1) : nullptr;
    };
    if (Key == VK_LEFT && s.InMainMenu && bar && menu->LevelCount() <= 1) {
        bar->SelectPrevItem();
        return;
    }
    if (Key == VK_RIGHT && s.InMainMenu && bar) {
        TbsSkinPopupWindow* w = top();
        bool noSubmenu = !w || w->ActiveItem < 0 || w->ActiveItem >= w->ItemCount() ||
                         w->Items(w->ActiveItem)->MenuItem->Count() == 0;
        if (noSubmenu) {
            bar->SelectNextItem();
            return;
        }
    }
    if (Key == VK_RETURN || Key == VK_DOWN) {
        if (bar && bar->OpenSelectedItem()) return;
        if (TbsSkinPopupWindow* w = top()) w->PopupKeyDown(Key);
        return;
    }
    if (TbsSkinPopupWindow* w = top()) w->PopupKeyDown(Key);
    if (Key == VK_ESCAPE && menu->LevelCount() == 0) {
        if (s.InMainMenu)
            EndMenuTracking();
        else if (s.InMenu)
            SkinMenuClose();
    }
}

void TbsSkinForm::FormShortCut(gui::TMessage& msg, bool& handled) {
    if (OnShortCut) {
        OnShortCut(msg, handled);
        if (handled) return;
    }
    bool alt = gui::KeyDataToShiftState(msg.LParam) == gui::ssAlt;
    if (msg.WParam == VK_SPACE && alt) {
        PopupSystemMenuFromButton();
        // The chord is spent whether a menu opened or not (a form without a system button
        // opens none): the Alt release that follows must not put the menu bar in keyboard mode.
        menus_->AltChord = true;
        handled = true;
        return;
    }
    TbsSkinMainMenuBar* bar = MainMenuBar();
    if (!bar) return;
    auto key = static_cast<uint16_t>(msg.WParam);
    gui::TShiftState shift = gui::KeyDataToShiftState(msg.LParam);
    if (gui::TMainMenu* mainMenu = bar->MainMenu()) {
        if (alt && key != VK_F4 && bar->ProcessAccelerator(key)) {
            menus_->AltChord = true;
            handled = true;
            return;
        }
        handled = mainMenu->IsShortCut(key, shift);
        if (handled) return;
    }
    if (gui::TMainMenu* child = bar->GetChildMainMenu()) {
        if (alt && bar->ProcessAccelerator(key)) {
            menus_->AltChord = true;
            handled = true;
            return;
        }
        handled = child->IsShortCut(key, shift);
    }
}

bool TbsSkinForm::MenuWindowProc(gui::TMessage& m) {
    TbsSkinFormMenus& s = *menus_;
    if (IsMenuCloseMessage(m.Msg)) {
        if (!s.InMainMenu || s.InMenu) {
            if (SkinMenu()->Visible())
                SkinMenu()->Hide();
            else if (s.InMenu)
                SkinMenuClose();
        } else {
            ExitMainMenu();
        }
    }
    switch (m.Msg) {
    case WM_SYSCOMMAND:
        if (m.WParam != SC_KEYMENU) return false;
        // Alt or F10: an open skinned menu closes, and the menu bar enters or leaves its
        // keyboard mode (there is no native menu to open).
        m.Result = 0;
        if (s.AltChord && m.LParam == 0) {
            s.AltChord = false;
            return true;
        }
        if (s.InMainMenu) {
            ExitMainMenu();
            return true;
        }
        if (SkinMenu()->Visible()) SkinMenu()->Hide();
        if (TbsSkinMainMenuBar* bar = MainMenuBar()) bar->EnterMenuMode();
        return true;
    case WM_CLOSESKINMENU:
        SkinMenuClose();
        return false;
    case WM_MDICHILDMAXIMIZED:
        if (TbsMDIMenuBarLink* bar = MDIBar()) bar->MDIChildMaximize();
        return false;
    case WM_MDICHILDRESTORED:
        if (TbsMDIMenuBarLink* bar = MDIBar()) bar->MDIChildRestore();
        return false;
    default:
        return false;
    }
}

} // namespace skin
