#include "gui/CustomTabControl.h"

#include "controls/CommCtrl.h"
#include "gui/ImgList.h"
#include "gui/NativeMouse.h"
#include "win/Message.h"
#include "win/Paint.h"
#include "win/Styles.h"
#include "win/Window.h"

#include <algorithm>

namespace gui {

// The tab captions; every change reaches the window.
class TCustomTabControl::TTabStrings : public TStringList {
public:
    explicit TTabStrings(TCustomTabControl* control) : control_(control) {}

protected:
    void Changed() override {
        TStringList::Changed();
        if (UpdateCount() == 0) control_->UpdateTabs();
    }

private:
    TCustomTabControl* control_;
};

TCustomTabControl::TCustomTabControl(TComponent* owner)
    : TWinControl(owner), tabs_(std::make_unique<TTabStrings>(this)) {
    ControlStyle = csAcceptsControls | csDoubleClicks;
    SetTabStop(true);
    SetColor(clBtnFace);
    TControl::SetBounds(Left(), Top(), 289, 193);
}

TCustomTabControl::~TCustomTabControl() = default;

void TCustomTabControl::CreateParams(TCreateParams& p) {
    InitCommonControls();
    TWinControl::CreateParams(p);
    CreateSubClass(p, WC_TABCONTROL);
    p.Style |= WS_CLIPCHILDREN;
    if (multiLine_) p.Style |= TCS_MULTILINE;
    if (tabWidth_ > 0) p.Style |= TCS_FIXEDWIDTH;
    if (hotTrack_) p.Style |= TCS_HOTTRACK;
    if (style_ == tsButtons) p.Style |= TCS_BUTTONS;
    if (style_ == tsFlatButtons) p.Style |= TCS_BUTTONS | TCS_FLATBUTTONS;
    if (tabPosition_ == tpBottom) p.Style |= TCS_BOTTOM;
    if (tabPosition_ == tpLeft) p.Style |= TCS_VERTICAL;
    if (tabPosition_ == tpRight) p.Style |= TCS_VERTICAL | TCS_RIGHT;
    p.WindowClass.style &= ~(CS_HREDRAW | CS_VREDRAW);
}

void TCustomTabControl::CreateWnd() {
    TWinControl::CreateWnd();
    if (images_) SendMessage(Handle(), TCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images_->Handle()));
    ApplyItemSize();
    UpdateTabs();
}

void TCustomTabControl::DestroyWnd() {
    if (HandleAllocated() && !Destroying()) tabIndex_ = TabIndex();
    TWinControl::DestroyWnd();
}

void TCustomTabControl::WndProc(TMessage& m) {
    TWinControl::WndProc(m);
    PassMouseToNative(this, m);
}

void TCustomTabControl::UpdateTabs() {
    if (tabIndex_ >= tabs_->Count()) tabIndex_ = tabs_->Count() - 1;
    if (!HandleAllocated()) return;
    HWND h = Handle();
    updating_ = true;
    SendMessage(h, TCM_DELETEALLITEMS, 0, 0);
    for (int i = 0; i < tabs_->Count(); ++i) {
        std::string s = tabs_->Strings(i);
        TCITEM item{};
        item.mask = TCIF_TEXT | TCIF_IMAGE;
        item.pszText = s.data();
        item.iImage = GetImageIndex(i);
        SendMessage(h, TCM_INSERTITEM, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
    }
    // The first tab inserted comes selected, as in Win32; a kept choice holds instead.
    if (tabIndex_ >= 0) SendMessage(h, TCM_SETCURSEL, static_cast<WPARAM>(tabIndex_), 0);
    tabIndex_ = static_cast<int>(SendMessage(h, TCM_GETCURSEL, 0, 0));
    updating_ = false;
    Realign();
}

void TCustomTabControl::UpdateTabImages() {
    if (!HandleAllocated()) return;
    for (int i = 0; i < tabs_->Count(); ++i) {
        TCITEM item{};
        item.mask = TCIF_IMAGE;
        item.iImage = GetImageIndex(i);
        SendMessage(Handle(), TCM_SETITEM, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
    }
}

void TCustomTabControl::SetTabs(const TStrings* tabs) {
    tabs_->Assign(tabs);
}

int TCustomTabControl::TabIndex() {
    if (HandleAllocated() && !updating_)
        tabIndex_ = static_cast<int>(SendMessage(Handle(), TCM_GETCURSEL, 0, 0));
    return tabIndex_;
}

void TCustomTabControl::SetTabIndex(int value) {
    if (value < -1 || value >= tabs_->Count()) return;
    tabIndex_ = value;
    if (HandleAllocated()) SendMessage(Handle(), TCM_SETCURSEL, static_cast<WPARAM>(value), 0);
}

void TCustomTabControl::SetMultiLine(bool value) {
    if (multiLine_ == value) return;
    multiLine_ = value;
    RecreateWnd();
}

void TCustomTabControl::SetTabPosition(TTabPosition value) {
    if (tabPosition_ == value) return;
    tabPosition_ = value;
    RecreateWnd();
}

void TCustomTabControl::SetStyle(TTabStyle value) {
    if (style_ == value) return;
    style_ = value;
    RecreateWnd();
}

void TCustomTabControl::SetHotTrack(bool value) {
    if (hotTrack_ == value) return;
    hotTrack_ = value;
    RecreateWnd();
}

void TCustomTabControl::ApplyItemSize() {
    if (!HandleAllocated()) return;
    SendMessage(Handle(), TCM_SETITEMSIZE, 0, MAKELPARAM(std::max(tabWidth_, 0), std::max(tabHeight_, 0)));
    Realign();
}

void TCustomTabControl::SetTabHeight(int value) {
    value = std::max(value, 0);
    if (tabHeight_ == value) return;
    tabHeight_ = value;
    ApplyItemSize();
}

void TCustomTabControl::SetTabWidth(int value) {
    value = std::max(value, 0);
    if (tabWidth_ == value) return;
    bool styleChanges = (tabWidth_ > 0) != (value > 0);
    tabWidth_ = value;
    // Only a fixed-width window keeps the given width.
    if (styleChanges)
        RecreateWnd();
    else
        ApplyItemSize();
}

void TCustomTabControl::SetImages(TCustomImageList* value) {
    if (images_ == value) return;
    if (images_) images_->RemoveFreeNotification(this);
    images_ = value;
    if (value) value->FreeNotification(this);
    if (HandleAllocated()) {
        SendMessage(Handle(), TCM_SETIMAGELIST, 0,
                    reinterpret_cast<LPARAM>(value ? value->Handle() : nullptr));
        Realign();
    }
}

void TCustomTabControl::Notification(TComponent* component, TOperation operation) {
    TWinControl::Notification(component, operation);
    if (operation == TOperation::opRemove && component == images_) SetImages(nullptr);
}

TRect TCustomTabControl::DisplayRect() {
    TRect r = ClientRect();
    if (HandleAllocated()) SendMessage(Handle(), TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&r));
    return r;
}

void TCustomTabControl::AdjustClientRect(TRect& rect) {
    rect = DisplayRect();
}

TRect TCustomTabControl::TabRect(int index) {
    RECT r{};
    SendMessage(Handle(), TCM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r));
    return r;
}

int TCustomTabControl::IndexOfTabAt(int x, int y) {
    TCHITTESTINFO info{
        {x, y},
        0
    };
    return static_cast<int>(SendMessage(Handle(), TCM_HITTEST, 0, reinterpret_cast<LPARAM>(&info)));
}

int TCustomTabControl::RowCount() {
    return static_cast<int>(SendMessage(Handle(), TCM_GETROWCOUNT, 0, 0));
}

bool TCustomTabControl::CanChange() {
    bool allow = true;
    if (OnChanging) OnChanging(this, allow);
    return allow;
}

void TCustomTabControl::Change() {
    if (OnChange) OnChange(this);
}

void TCustomTabControl::Dispatch(TMessage& m) {
    switch (m.Msg) {
    case CN_NOTIFY: {
        auto* n = reinterpret_cast<NMHDR*>(m.LParam);
        int code = static_cast<int>(n->code);
        if (code == TCN_SELCHANGING) m.Result = CanChange() ? 0 : 1;
        if (code == TCN_SELCHANGE) {
            tabIndex_ = static_cast<int>(SendMessage(Handle(), TCM_GETCURSEL, 0, 0));
            Change();
        }
        return;
    }
    case WM_PAINT: {
        // The window paints itself; windowless children go on top.
        DefaultHandler(m);
        bool graphic = false;
        for (int i = 0; i < ControlCount() && !graphic; ++i) graphic = !Controls(i)->IsWindowed();
        if (graphic) {
            HDC dc = GetDC(Handle());
            PaintControls(dc, nullptr);
            ReleaseDC(Handle(), dc);
        }
        return;
    }
    case WM_ERASEBKGND:
        return DefaultHandler(m);
    default:
        TWinControl::Dispatch(m);
    }
}

} // namespace gui
