// The skinned form's side of multiple-document forms.  On a main form (fsMDIForm) the
// component takes over the client window's procedure to paint its background from the skin,
// keeps the window menu and the tab bar in step with the children and arranges them; on a
// child (fsMDIChild) it maximises inside the client without a frame, the main form's caption
// then carrying the child's, and tells the main form of its state by three notices:
//   1230 (main form to child): a maximised child fits the client area again;
//   1231 (child to main form): a child was maximised;
//   1232 (child to main form): a child was restored, minimised or destroyed.
#include "gdi/Blit.h"
#include "gdi/Dc.h"
#include "gdi/Draw.h"
#include "gdi/Objects.h"
#include "gui/Application.h"
#include "gui/Color.h"
#include "gui/MenuItem.h"
#include "skin/controls/SkinComboBox.h"
#include "skin/controls/SkinEdit.h"
#include "skin/forms/MDIMenuBarLink.h"
#include "skin/forms/SkinForm.h"
#include "skin/forms/SkinMDITabsBar.h"
#include "skin/forms/SkinMainMenuBar.h"
#include "skin/menus/SkinMenu.h"
#include "win/Mdi.h"
#include "win/Message.h"
#include "win/Paint.h"
#include "win/Styles.h"
#include "win/Window.h"
#include "win/WindowPos.h"

#include <algorithm>
#include <cmath>

namespace skin {

namespace {

constexpr char kChildItem[] = "_BSFCHILDITEM";

// The child's name an item of the window menu stands for; empty for other items.
bool ChildItemName(const gui::TMenuItem* item, std::string& child) {
    const std::string& name = item->Name();
    size_t at = name.find(kChildItem);
    if (at == std::string::npos) return false;
    child = name.substr(0, at) + name.substr(at + sizeof kChildItem - 1);
    return true;
}

gui::TCustomForm* ChildNamed(gui::TCustomForm* main, const std::string& name) {
    for (int i = 0; i < main->MDIChildCount(); ++i)
        if (main->MDIChildren(i)->Name() == name) return main->MDIChildren(i);
    return nullptr;
}

} // namespace

bool TbsSkinForm::IsMDIChildForm() const {
    return form_->FormStyle() == gui::fsMDIChild;
}

bool TbsSkinForm::IsMDIMainForm() const {
    return form_->FormStyle() == gui::fsMDIForm;
}

bool TbsSkinForm::IsMaximizedMDIChild() const {
    return IsMDIChildForm() && windowState_ == gui::wsMaximized;
}

TbsSkinForm* TbsSkinForm::MainSkinForm() const {
    gui::TCustomForm* main = gui::Application ? gui::Application->MainForm() : nullptr;
    return main ? FindSkinFormComponent(main) : nullptr;
}

void TbsSkinForm::SetMDITabsBar(TbsSkinMDITabsBar* value) {
    if (mdiTabsBar_) mdiTabsBar_->RemoveFreeNotification(this);
    mdiTabsBar_ = value;
    if (value) value->FreeNotification(this);
}

void TbsSkinForm::MDIComponentRemoved(os::TComponent* component) {
    if (component == mdiTabsBar_) mdiTabsBar_ = nullptr;
}

std::string TbsSkinForm::CaptionText() const {
    std::string text = form_->Caption();
    if (IsMDIMainForm() && mdiChildMaximized_)
        if (gui::TCustomForm* child = FindMaximizedChild()) text += " - [" + child->Caption() + "]";
    return text;
}

TPoint TbsSkinForm::WindowScreenOrigin() const {
    RECT r{};
    if (Wnd()) GetWindowRect(Wnd(), &r);
    return {r.left, r.top};
}

// ---- the main form's area and children

TRect TbsSkinForm::MDIClientArea() const {
    gui::TRect c = form_->ClientRect();
    TRect a{0, 0, gui::RectWidth(c), gui::RectHeight(c)};
    for (int i = 0; i < form_->ControlCount(); ++i) {
        gui::TControl* k = form_->Controls(i);
        if (!k->Visible()) continue;
        switch (k->Align()) {
        case gui::alTop:
            a.Top = std::max(a.Top, k->Top() + k->Height());
            break;
        case gui::alBottom:
            a.Bottom = std::min(a.Bottom, k->Top());
            break;
        case gui::alLeft:
            a.Left = std::max(a.Left, k->Left() + k->Width());
            break;
        case gui::alRight:
            a.Right = std::min(a.Right, k->Left());
            break;
        default:
            break;
        }
    }
    return a;
}

gui::TCustomForm* TbsSkinForm::FindMaximizedChild() const {
    auto maximized = [](gui::TCustomForm* f) {
        TbsSkinForm* s = f ? FindSkinFormComponent(f) : nullptr;
        return s && s->WindowState() == gui::wsMaximized;
    };
    if (gui::TCustomForm* active = form_->ActiveMDIChild(); maximized(active)) return active;
    for (int i = 0; i < form_->MDIChildCount(); ++i)
        if (maximized(form_->MDIChildren(i))) return form_->MDIChildren(i);
    return nullptr;
}

void TbsSkinForm::NotifyMDIChildren() {
    for (int i = 0; i < form_->MDIChildCount(); ++i)
        if (form_->MDIChildren(i)->HandleAllocated())
            SendMessage(form_->MDIChildren(i)->Handle(), 1230, 0, 0);
    ArrangeMinimizedChildren();
}

void TbsSkinForm::ArrangeMinimizedChildren() {
    for (int i = 0; i < form_->MDIChildCount(); ++i) {
        gui::TCustomForm* child = form_->MDIChildren(i);
        TbsSkinForm* s = FindSkinFormComponent(child);
        if (!s || s->WindowState() != gui::wsMinimized) continue;
        TPoint p = s->GetMinimizedPosition();
        child->SetBounds(p.X, p.Y, child->Width(), child->Height());
    }
}

// ---- a child's states

void TbsSkinForm::MaximizeInMDIClient() {
    MouseTimer->SetEnabled(false);
    TrackActiveObject(-1, -1, false);
    ResetObjectStates();
    TbsSkinForm* main = MainSkinForm();
    TRect a = main ? main->MDIClientArea() : TRect{};
    int w = form_->Width(), h = form_->Height();
    form_->SetBounds(0, 0, a.Width(), a.Height());
    // Without a frame now: the whole window becomes client, and the region goes.
    if (Wnd())
        SetWindowPos(Wnd(), nullptr, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    if (w == a.Width() && h == a.Height()) RefreshFormSize();
    TakeFormSize();
    SetFormRegion();
    if (main && main->Form()->HandleAllocated()) SendMessage(main->Form()->Handle(), 1231, 0, 0);
}

void TbsSkinForm::TellMainOfChildState() {
    if (!IsMDIChildForm() || windowState_ == gui::wsMaximized) return;
    if (Wnd())
        SetWindowPos(Wnd(), nullptr, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    TbsSkinForm* main = MainSkinForm();
    if (main && main->Form()->HandleAllocated()) SendMessage(main->Form()->Handle(), 1232, 0, 0);
}

// ---- arranging

void TbsSkinForm::RestoreAll() {
    if (!IsMDIMainForm()) return;
    for (int i = 0; i < form_->MDIChildCount(); ++i) {
        TbsSkinForm* s = FindSkinFormComponent(form_->MDIChildren(i));
        if (!s) continue;
        if (s->WindowState() != gui::wsNormal)
            s->SetWindowState(gui::wsNormal);
        else if (s->RollUpState())
            s->SetRollUpState(false);
    }
}

void TbsSkinForm::MinimizeAll() {
    if (!IsMDIMainForm()) return;
    for (int i = 0; i < form_->MDIChildCount(); ++i)
        if (TbsSkinForm* s = FindSkinFormComponent(form_->MDIChildren(i)))
            s->SetWindowState(gui::wsMinimized);
}

void TbsSkinForm::MaximizeAll() {
    if (!IsMDIMainForm()) return;
    for (int i = 0; i < form_->MDIChildCount(); ++i)
        if (TbsSkinForm* s = FindSkinFormComponent(form_->MDIChildren(i)))
            s->SetWindowState(gui::wsMaximized);
}

void TbsSkinForm::CloseAll() {
    if (!IsMDIMainForm()) return;
    for (int i = form_->MDIChildCount() - 1; i >= 0; --i)
        if (gui::TCustomForm* child = form_->MDIChildren(i)) child->Close();
}

void TbsSkinForm::Tile() {
    if (!IsMDIMainForm()) return;
    RestoreAll();
    int n = form_->MDIChildCount();
    int columns = static_cast<int>(std::sqrt(static_cast<double>(n)));
    if (columns < 1) return;
    TRect a = MDIClientArea();
    int W = a.Width(), H = a.Height();
    int rows = n / columns;
    if (rows * columns < n) ++rows;
    int cw = W / columns, rh = H / rows;
    // From the last child to the first, bottom-right upwards, column by column to the left.
    int x = W, y = H;
    for (int i = n - 1; i >= 0; --i) {
        form_->MDIChildren(i)->SetBounds(std::max(0, x - cw), std::max(0, y - rh), cw, rh);
        y -= rh;
        if (y - rh < 0) {
            x -= cw;
            y = H;
            columns = std::max(1, columns - 1);
            rows = std::max(1, i / columns + (i % columns ? 1 : 0));
            rh = H / rows;
        }
    }
}

void TbsSkinForm::Cascade() {
    if (!IsMDIMainForm()) return;
    RestoreAll();
    int n = form_->MDIChildCount();
    TRect a = MDIClientArea();
    int W = a.Width(), H = a.Height();
    if (skinSupport_) CalcSkinRects();
    // A skin whose client starts at its top edge would give no step at all.
    int s = std::max(1, skinSupport_ ? NewClRect.Top : DefaultCaptionHeight() + 3);
    int k = (W - static_cast<int>(std::lround(W * 0.8))) / s;
    int steps = n < k ? n - 1 : k;
    int w = std::max(W - s * steps, GetMinWidth()), h = std::max(H - s * steps, GetMinHeight());
    int offset = 0;
    for (int i = n - 1; i >= 0; --i) {
        gui::TCustomForm* child = form_->MDIChildren(i);
        int cw = child->BorderStyle() == gui::bsSingle ? child->Width() : w;
        int ch = child->BorderStyle() == gui::bsSingle ? child->Height() : h;
        if (offset + cw > W || offset + ch > H) offset = 0;
        child->SetBounds(offset, offset, cw, ch);
        offset += s;
    }
}

// ---- the window menu

void TbsSkinForm::AddChildToMenu(gui::TCustomForm* Child) {
    gui::TMenuItem* menu = form_->WindowMenu();
    if (!menu || !Child) return;
    auto* item = new gui::TMenuItem(nullptr); // the window menu frees it
    item->SetName(Child->Name() + kChildItem);
    item->SetCaption(Child->Caption());
    item->OnClick = [this](gui::TObject* sender) { MDIItemClick(sender); };
    menu->Add(item);
}

void TbsSkinForm::DeleteChildFromMenu(gui::TCustomForm* Child) {
    gui::TMenuItem* menu = form_->WindowMenu();
    if (!menu || !Child) return;
    std::string name;
    for (int i = 0; i < menu->Count(); ++i)
        if (ChildItemName(menu->Items(i), name) && name == Child->Name()) {
            delete menu->Items(i);
            break;
        }
    if (form_->MDIChildCount() > 0) return;
    for (int i = 0; i < menu->Count(); ++i)
        if (ChildItemName(menu->Items(i), name)) {
            delete menu->Items(i);
            break;
        }
}

void TbsSkinForm::UpDateChildCaptionInMenu(gui::TCustomForm* Child) {
    gui::TMenuItem* menu = form_->WindowMenu();
    if (!menu || !Child) return;
    std::string name;
    for (int i = 0; i < menu->Count(); ++i)
        if (ChildItemName(menu->Items(i), name) && name == Child->Name()) {
            menu->Items(i)->SetCaption(Child->Caption());
            return;
        }
}

void TbsSkinForm::UpDateChildActiveInMenu() {
    gui::TMenuItem* menu = form_->WindowMenu();
    if (!menu) return;
    gui::TCustomForm* active = form_->ActiveMDIChild();
    std::string name;
    for (int i = 0; i < menu->Count(); ++i)
        if (ChildItemName(menu->Items(i), name)) menu->Items(i)->SetChecked(active && name == active->Name());
}

void TbsSkinForm::MDIItemClick(gui::TObject* Sender) {
    auto* item = dynamic_cast<gui::TMenuItem*>(Sender);
    std::string name;
    if (!item || !ChildItemName(item, name)) return;
    gui::TCustomForm* child = ChildNamed(form_, name);
    if (!child) return;
    TbsSkinForm* s = FindSkinFormComponent(child);
    if (s && s->WindowState() == gui::wsMinimized) s->SetWindowState(gui::wsNormal);
    child->Show();
}

// ---- the tab bar and the menu bar

void TbsSkinForm::AddChildToBar(gui::TCustomForm* Child) {
    if (!Child || !mdiTabsBar_) return;
    bool accept = true;
    if (TbsSkinForm* own = FindSkinFormComponent(Child); own && own->OnAcceptToMDITabsBar)
        own->OnAcceptToMDITabsBar(accept);
    if (accept) mdiTabsBar_->AddTab(Child);
}

void TbsSkinForm::DeleteChildFromBar(gui::TCustomForm* Child) {
    if (mdiTabsBar_ && Child) mdiTabsBar_->DeleteTab(Child);
}

void TbsSkinForm::RefreshMDIBarTab(gui::TCustomForm* Child) {
    if (mdiTabsBar_ && Child) mdiTabsBar_->RepaintTab(Child);
}

void TbsSkinForm::RefreshMDITabs() {
    if (mdiTabsBar_) mdiTabsBar_->UpdateActiveTab();
}

TbsMDIMenuBarLink* TbsSkinForm::MDIBar() const {
    if (MDIMenuBar) return MDIMenuBar;
    return MainMenuBar();
}

void TbsSkinForm::RefreshMenuBarItems() {
    TbsMDIMenuBarLink* bar = MDIBar();
    if (bar && bar->ShowsChildMenu()) bar->UpDateItems();
}

void TbsSkinForm::CancelMDIDropDowns() {
    if (!IsMDIMainForm() || !form_->Visible() || Loading() || Designing()) return;
    for (int i = 0; i < form_->ComponentCount(); ++i) {
        auto* c = dynamic_cast<gui::TControl*>(form_->Components(i));
        bool dropDown = dynamic_cast<TbsSkinCustomComboBox*>(c) || dynamic_cast<TbsSkinCustomEdit*>(c);
        if (dropDown && c->Visible() && c->Enabled())
            c->Perform(gui::CM_CANCELMODE, 0, reinterpret_cast<LPARAM>(form_));
    }
}

// ---- the client window

void TbsSkinForm::HookMDIClient() {
    HWND client = form_->ClientHandle();
    if (!client || (client == hookedClient_ && FClientInstance)) return;
    UnhookMDIClient();
    FPrevClientProc = reinterpret_cast<WNDPROC>(GetWindowLongPtr(client, GWLP_WNDPROC));
    FClientInstance = MakeProcInstance(
        [this](HWND h, UINT msg, WPARAM wp, LPARAM lp) { return MDIClientWindowProc(h, msg, wp, lp); });
    SetWindowLongPtr(client, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(FClientInstance));
    hookedClient_ = client;
    RefreshFormSize();
}

void TbsSkinForm::UnhookMDIClient() {
    if (!FClientInstance) return;
    // The client gets its own procedure back, unless someone hooked it after us.
    if (IsWindow(hookedClient_) &&
        GetWindowLongPtr(hookedClient_, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(FClientInstance))
        SetWindowLongPtr(hookedClient_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(FPrevClientProc));
    FreeProcInstance(FClientInstance);
    FClientInstance = nullptr;
    hookedClient_ = nullptr;
}

LRESULT TbsSkinForm::MDIClientWindowProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_SIZE: {
        LRESULT r = CallWindowProc(FPrevClientProc, h, msg, wp, lp);
        NotifyMDIChildren();
        // A stretched background is drawn anew as a whole.
        bool stretched =
            skinSupport_ && (fsd_->MDIBGPictureIndex == -1 ? fsd_->StretchEffect && fsd_->BGPictureIndex != -1
                                                           : fsd_->MDIBGStretchEffect);
        if (stretched) InvalidateRect(h, nullptr, TRUE);
        return r;
    }
    case WM_NCCALCSIZE:
    case WM_NCPAINT:
        return 0; // no frame
    case WM_ERASEBKGND: {
        HDC dc = reinterpret_cast<HDC>(wp);
        if (!skinSupport_)
            PaintMDIBGDefault(dc);
        else if (fsd_->MDIBGPictureIndex != -1)
            PaintBG3(dc);
        else if (fsd_->BGPictureIndex == -1)
            PaintBG(dc);
        else
            PaintBG2(dc);
        return 1;
    }
    case WM_NCACTIVATE:
        return 1;
    default:
        return CallWindowProc(FPrevClientProc, h, msg, wp, lp);
    }
}

// ---- the window procedure's MDI steps

bool TbsSkinForm::MDIWindowProc(gui::TMessage& m) {
    // A form past its own destructor (its window gone) still hears notices of its bases.
    if (!formWindow_->HandleAllocated()) return false;
    bool child = IsMDIChildForm(), main = IsMDIMainForm();
    if (!child && !main) return false;
    // The last step of the menu-close check: open drop-downs of the main form close too.
    if (main && IsMenuCloseMessage(m.Msg)) CancelMDIDropDowns();
    TbsSkinForm* mainForm = child ? MainSkinForm() : nullptr;
    bool maxChild = skinnableForm_ && IsMaximizedMDIChild();
    switch (m.Msg) {
    case WM_NCCALCSIZE:
    case WM_NCPAINT:
        // A maximised child has no frame: the whole window is client and nothing is painted.
        if (!maxChild) return false;
        m.Result = 0;
        return true;
    case WM_NCHITTEST:
        if (!maxChild) return false;
        m.Result = HTCLIENT;
        return true;
    case WM_ERASEBKGND:
        // The client window paints the main form's background.
        if (!main || !form_->ClientHandle()) return false;
        m.Result = 1;
        return true;
    case WM_SHOWWINDOW:
        if (main && m.WParam) HookMDIClient();
        if (child && mainForm) {
            if (m.WParam) {
                mainForm->AddChildToMenu(form_);
                mainForm->AddChildToBar(form_);
            } else {
                mainForm->DeleteChildFromMenu(form_);
                mainForm->DeleteChildFromBar(form_);
            }
        }
        return false;
    case WM_SETTEXT: {
        if (!child) return false;
        std::shared_ptr<bool> alive = alive_;
        CallOld(m);
        if (!*alive) return true;
        if (skinnableForm_ && !maxChild && !PlainFrame()) RepaintFrame();
        if (mainForm) {
            mainForm->UpDateChildCaptionInMenu(form_);
            mainForm->RefreshMDIBarTab(form_);
            if (maxChild) mainForm->RepaintFrame();
        }
        return true;
    }
    case WM_MOUSEACTIVATE:
        if (child && skinnableForm_ && mainForm && mainForm->Form()->ActiveMDIChild() == form_ &&
            !formActive_) {
            formActive_ = true;
            UpdateCaptionActive(!maxChild);
        }
        return false;
    case WM_NCACTIVATE: {
        if (!child) return false;
        std::shared_ptr<bool> alive = alive_;
        if (skinnableForm_) {
            formActive_ = m.WParam != 0;
            HideGlowLayers();
            if (!formActive_) TrackActiveObject(-1, -1, false);
        }
        CallOld(m);
        if (!*alive) return true;
        if (skinnableForm_) {
            if (maxChild || PlainFrame()) {
                UpdateCaptionActive(false);
                if (maxChild && mainForm) mainForm->RepaintFrame();
            } else {
                RepaintFrame();
                UpdateCaptionActive(true);
            }
            m.Result = 1;
        }
        if (mainForm) {
            mainForm->RefreshMenuBarItems();
            mainForm->RefreshMDITabs();
            mainForm->UpDateChildActiveInMenu();
        }
        return true;
    }
    case WM_DESTROY:
        if (child) {
            windowState_ = gui::wsNormal;
            if (mainForm && mainForm->Form()->HandleAllocated()) {
                SendMessage(mainForm->Form()->Handle(), 1232, 0, 0);
                // A child that goes without being hidden first leaves its entries too.
                mainForm->DeleteChildFromMenu(form_);
                mainForm->DeleteChildFromBar(form_);
                mainForm->RefreshMenuBarItems();
                mainForm->RefreshMDITabs();
            }
        }
        if (main) UnhookMDIClient();
        return false;
    case 1230:
        if (child && windowState_ == gui::wsMaximized && mainForm) {
            TRect a = mainForm->MDIClientArea();
            form_->SetBounds(0, 0, a.Width(), a.Height());
        }
        return false;
    case 1231:
        if (!main) return false;
        mdiChildMaximized_ = true;
        RepaintFrame();
        return false; // the menu bar's buttons follow in MenuWindowProc
    case 1232:
        if (!main) return false;
        if (!FindMaximizedChild()) {
            mdiChildMaximized_ = false;
            RepaintFrame();
        }
        return false;
    case WM_AFTERCHANGESKINDATA:
        if (main && fsd_ && m.WParam == reinterpret_cast<WPARAM>(fsd_)) {
            if (HWND client = form_->ClientHandle()) InvalidateRect(client, nullptr, TRUE);
            NotifyMDIChildren();
        }
        return false;
    default:
        return false;
    }
}

} // namespace skin
