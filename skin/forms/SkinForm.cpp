#include "skin/forms/SkinForm.h"

#include "gdi/Blit.h"
#include "gdi/Dc.h"
#include "gdi/Draw.h"
#include "gdi/Objects.h"
#include "gdi/Region.h"
#include "gdi/SysColors.h"
#include "gui/Color.h"
#include "skin/controls/SkinToolBar.h"
#include "skin/core/ResourceStrData.h"
#include "skin/engine/DrawUtils.h"
#include "skin/engine/EngineSetup.h"
#include "skin/engine/MaskRegion.h"
#include "skin/engine/NinePart.h"
#include "skin/engine/SkinChangeWalk.h"
#include "skin/forms/FormLayerBorder.h"
#include "skin/forms/ScreenSkinForms.h"
#include "skin/forms/SkinButtonObject.h"
#include "skin/forms/SkinCaptionObject.h"
#include "skin/forms/SkinFormMenus.h"
#include "skin/hints/SkinHint.h"
#include "skin/menus/SkinMenu.h"
#include "win/Input.h"
#include "win/Message.h"
#include "win/Paint.h"
#include "win/Styles.h"
#include "win/System.h"
#include "win/Window.h"
#include "win/WindowPos.h"

#include <algorithm>
#include <cstdlib>
#include <typeinfo>

namespace skin {

namespace {

bool InRect(const TRect& r, TPoint p) {
    return p.X >= r.Left && p.X < r.Right && p.Y >= r.Top && p.Y < r.Bottom;
}
bool IsEmptyRect(const TRect& r) {
    return r.Width() <= 0 || r.Height() <= 0;
}

// One Win32 brush for the length of a call.
class SolidBrush {
public:
    explicit SolidBrush(gui::TColor color) : brush_(CreateSolidBrush(gui::ColorToRGB(color))) {}
    ~SolidBrush() { DeleteObject(brush_); }
    SolidBrush(const SolidBrush&) = delete;
    SolidBrush& operator=(const SolidBrush&) = delete;
    operator HBRUSH() const { return brush_; }

private:
    HBRUSH brush_;
};

void FillBox(HDC dc, int l, int t, int r, int b, gui::TColor color) {
    if (r <= l || b <= t) return;
    RECT rc{l, t, r, b};
    SolidBrush brush(color);
    FillRect(dc, &rc, brush);
}

// A one-pixel 3-D rectangle: top and left edges in one colour, right and bottom in the other,
// the top-right and bottom-left corners going to the second.
void Frame3D(HDC dc, RECT& r, gui::TColor topLeft, gui::TColor bottomRight) {
    FillBox(dc, r.left, r.top, r.left + 1, r.bottom - 1, topLeft);
    FillBox(dc, r.left, r.top, r.right - 1, r.top + 1, topLeft);
    FillBox(dc, r.right - 1, r.top, r.right, r.bottom, bottomRight);
    FillBox(dc, r.left, r.bottom - 1, r.right, r.bottom, bottomRight);
    r = {r.left + 1, r.top + 1, r.right - 1, r.bottom - 1};
}

// The window device context for the length of a paint, or the one handed in.
class FrameDC {
public:
    FrameDC(HWND wnd, HDC dc, bool external)
        : wnd_(external ? nullptr : wnd), dc_(external ? dc : GetWindowDC(wnd)) {}
    ~FrameDC() {
        if (wnd_ && dc_) ReleaseDC(wnd_, dc_);
    }
    FrameDC(const FrameDC&) = delete;
    FrameDC& operator=(const FrameDC&) = delete;
    HDC dc() const { return dc_; }

private:
    HWND wnd_;
    HDC dc_;
};

} // namespace

TbsSkinForm::TbsSkinForm(os::TComponent* owner) : os::TComponent(owner) {
    form_ = dynamic_cast<gui::TCustomForm*>(owner);
    if (!form_) throw std::bad_cast();
    formWindow_ = form_;
    for (gui::TFont* f : {&defCaptionFont_, &defInActiveCaptionFont_}) {
        f->SetName("Arial");
        f->SetHeight(14);
        f->SetStyle(gui::fsBold);
    }
    defCaptionFont_.SetColor(gui::clBtnText);
    defInActiveCaptionFont_.SetColor(gui::clBtnShadow);
    CreateMenus();
    quickButtons_ = std::make_unique<TbsQuickButtonItems>(this);
    auto timer = [this](unsigned interval, void (TbsSkinForm::*tick)()) {
        auto t = std::make_unique<gui::TTimer>(nullptr);
        t->SetEnabled(false);
        t->SetInterval(interval);
        t->OnTimer = [this, tick](gui::TObject*) { (this->*tick)(); };
        return t;
    };
    MouseTimer = timer(50, &TbsSkinForm::MouseTimerTick);
    MorphTimer = timer(25, &TbsSkinForm::MorphTimerTick);
    AnimateTimer = timer(25, &TbsSkinForm::AnimateTimerTick);
    FLayerManager = std::make_unique<TbsLayerManager>(nullptr);
    FMenuLayerManager = std::make_unique<TbsLayerManager>(nullptr);
    CreateEffects();
    // While skinnable the frame's buttons are ours: the form keeps none of its own; nor does
    // it size itself to its controls.
    form_->SetBorderIcons(0);
    form_->SetAutoSize(false);
    // The skin change reaches the forms through the screen's list unless someone listens already.
    if (!SkinForms()) TbsScreenSkinForms::InstallOnce();
    if (!Designing()) {
        oldWindowProc_ = form_->WindowProc;
        form_->WindowProc = [this](gui::TMessage& m) { FormWindowProc(m); };
        if (form_->HandleAllocated()) form_->RecreateWnd();
    }
}

TbsSkinForm::~TbsSkinForm() {
    *alive_ = false;
    MarkDestroying();
    for (gui::TTimer* t : {MouseTimer.get(), MorphTimer.get(), AnimateTimer.get()}) t->SetEnabled(false);
    ClearObjects();
    DestroyEffects();
    if (fsd_) fsd_->RemoveFreeNotification(this);
    if (fmsd_ && fmsd_ != fsd_) fmsd_->RemoveFreeNotification(this);
    // A form going away tears its procedure down itself; one that stays gets its own back.
    if (oldWindowProc_ && !form_->Destroying()) form_->WindowProc = oldWindowProc_;
    UnhookMDIClient();
    if (rgn_) DeleteObject(rgn_);
}

// The window commands of a skinnable form are its own moves and sizes: the platform's
// maximise and minimise would take the frame away from it.
bool TbsSkinForm::SystemCommandHandled(gui::TMessage& m) {
    if (!skinnableForm_ || form_->FormStyle() == gui::fsMDIChild) return false;
    switch (static_cast<UINT>(m.WParam) & 0xFFF0) {
    case SC_MINIMIZE:
        MinimizeCommand();
        return true;
    case SC_MAXIMIZE:
        MaximizeCommand();
        return true;
    case SC_RESTORE:
        if (windowState_ != gui::wsNormal || rollUpState_) {
            RestoreCommand();
            return true;
        }
        if (OnRestore) OnRestore(this);
        return false;
    default:
        return false;
    }
}

HWND TbsSkinForm::Wnd() const {
    return form_->HandleAllocated() ? form_->Handle() : nullptr;
}

void TbsSkinForm::SetReference(TbsSkinData*& field, TbsSkinData* value) {
    if (field == value) return;
    TbsSkinData* old = field;
    field = value;
    if (old && old != fsd_ && old != fmsd_) old->RemoveFreeNotification(this);
    if (value) value->FreeNotification(this);
}

void TbsSkinForm::SetSkinData(TbsSkinData* value) {
    SetReference(fsd_, value);
    if (value && form_->FormStyle() != gui::fsMDIChild)
        skinnableForm_ = value->SkinnableForm() && !useRibbon_;
    if (!Designing()) ApplySkin();
    if (TbsSkinPopupMenu* tray = SysTrayMenu()) tray->SetSkinData(value);
}

void TbsSkinForm::SetMenusSkinData(TbsSkinData* value) {
    SetReference(fmsd_, value);
}

void TbsSkinForm::SetBorderIcons(TbsBorderIcons value) {
    borderIcons_ = value;
    if (Loading() || Designing()) return;
    ApplyBorderIcons();
    RepaintFrame();
}

void TbsSkinForm::SetHideCaptionButtons(bool value) {
    hideCaptionButtons_ = value;
    if (Loading() || Designing()) return;
    ApplyBorderIcons();
    RepaintFrame();
}

void TbsSkinForm::SetQuickButtons(const TbsQuickButtonItems* value) {
    if (value) quickButtons_->Assign(value);
}

void TbsSkinForm::SetShowIcon(bool value) {
    showIcon_ = value;
    if (!Loading() && !Designing()) RepaintFrame();
}

void TbsSkinForm::MirrorBorderIcons() {
    // A native frame comes back with the form's own buttons.
    form_->SetBorderIcons(
        skinnableForm_ ? 0
                       : static_cast<gui::TBorderIcons>((hideCaptionButtons_ ? 0 : gui::biSystemMenu) |
                                                        (borderIcons_ & biMinimize ? gui::biMinimize : 0) |
                                                        (borderIcons_ & biMaximize ? gui::biMaximize : 0)));
}

void TbsSkinForm::SetSkinnableForm(bool value) {
    formActive_ = GetFormActive();
    if (Designing()) return;
    if (form_->FormStyle() == gui::fsMDIForm && form_->MDIChildCount() > 0) return;
    // A maximised form changes its frame restored, and is maximised again in the new one.
    bool hide = form_->FormStyle() != gui::fsMDIForm && form_->Visible();
    bool remaximize = false;
    if (windowState_ == gui::wsMaximized && skinnableForm_) {
        if (hide) form_->Hide();
        SetWindowState(gui::wsNormal);
        remaximize = true;
    } else if (form_->WindowState() == gui::wsMaximized && !skinnableForm_) {
        form_->SetWindowState(gui::wsNormal);
        if (hide) form_->Hide();
        remaximize = true;
    }
    skinnableForm_ = useRibbon_ ? false : value;
    ApplySkin();
    WalkChangeSkinData(form_, nullptr);
    if (IsMDIMainForm()) HookMDIClient();
    if (!remaximize) return;
    if (skinnableForm_)
        SetWindowState(gui::wsMaximized);
    else
        form_->SetWindowState(gui::wsMaximized);
    if (hide) form_->Show();
}

void TbsSkinForm::SetUseRibbon(bool value) {
    useRibbon_ = value;
    if (value && !Designing()) SetSkinnableForm(false);
}

void TbsSkinForm::Notification(os::TComponent* component, os::TOperation operation) {
    os::TComponent::Notification(component, operation);
    if (operation != os::TOperation::opRemove) return;
    // Every field naming the component lets go of it: the main window names one skin data
    // both for its frame and for its menus.
    if (component == fsd_) SkinDataRemoved();
    if (component == fmsd_) fmsd_ = nullptr;
    if (component == skinHint_) skinHint_ = nullptr;
    if (component == statusBar_) statusBar_ = nullptr;
    if (component == quickImageList_) quickImageList_ = nullptr;
    if (component == trayIconComponent_) {
        trayIcon_ = nullptr;
        trayIconComponent_ = nullptr;
    }
    if (component == FInActivePanel) FInActivePanel = nullptr;
    MDIComponentRemoved(component);
}

void TbsSkinForm::SkinDataRemoved() {
    // The caption objects, the glow frames and the layered border draw from the skin's
    // pictures: they go with it, and the frame falls back to the default look.
    fsd_ = nullptr;
    skinSupport_ = false;
    ClearObjects();
    HideGlowLayers();
    HideBorderLayer();
    FBorderLayer->InitFrame(nullptr, form_);
    if (!Destroying() && !form_->Destroying()) ApplySkin();
}

void TbsSkinForm::SetSkinHint(TbsSkinHint* value) {
    if (skinHint_) skinHint_->RemoveFreeNotification(this);
    skinHint_ = value;
    if (value) value->FreeNotification(this);
}

void TbsSkinForm::SetQuickImageList(gui::TCustomImageList* value) {
    if (quickImageList_) quickImageList_->RemoveFreeNotification(this);
    quickImageList_ = value;
    if (value) value->FreeNotification(this);
}

void TbsSkinForm::SetStatusBar(TbsSkinStatusBar* value) {
    if (statusBar_) statusBar_->RemoveFreeNotification(this);
    statusBar_ = value;
    if (value) value->FreeNotification(this);
}

// ---- skin application

void TbsSkinForm::ApplySkin() {
    if (useRibbon_) skinnableForm_ = false;
    OldActiveObject = ActiveObject = MouseCaptureObject = -1;
    skinSupport_ = fsd_ && !fsd_->Empty;
    HideGlowLayers();
    HideBorderLayer();
    // A client size is measured inside the frame, which only a window has: a form skinned
    // before its first show gets its window now rather than keep the size of another frame.
    if (!Wnd() && !rollUpState_ && (ClientWidth > 0 || ClientHeight > 0)) form_->HandleNeeded();
    if (skinSupport_ && skinnableForm_) {
        CreateSkinObjects();
        ApplyBorderIcons();
    } else {
        ClearObjects();
        if (Wnd()) {
            TakeFormSize();
            SetFormRegion();
        }
    }
    MirrorBorderIcons();
    if (!Wnd()) {
        BorderAfterApplySkin();
        return;
    }
    inChangeSkinData_ = true;
    TakeFormSize();
    // A fresh non-client size for the new frame.
    SetWindowPos(Wnd(), nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    int minW = GetMinWidth(), minH = GetMinHeight();
    int w = form_->Width(), h = form_->Height();
    if (w < minW && h < minH)
        form_->SetBounds(form_->Left(), form_->Top(), minW, minH);
    else if (h < minH)
        form_->SetHeight(minH);
    else if (w < minW)
        form_->SetWidth(minW);
    // A rolled-up or minimised form is as high as the new frame's caption.
    if ((rollUpState_ || windowState_ == gui::wsMinimized) && form_->Height() != minH) form_->SetHeight(minH);
    if (windowState_ == gui::wsMinimized && form_->Width() != minW) form_->SetWidth(minW);
    TakeFormSize();
    if (skinSupport_)
        UpdateSkinRegion();
    else
        SetFormRegion();
    RepaintFrame();
    InvalidateRect(Wnd(), nullptr, TRUE);
    UpdateCaptionActive(true);
    MouseTimer->SetEnabled(true);
    if (OnChangeSkinData) OnChangeSkinData(this);
    inChangeSkinData_ = false;
    if (!rollUpState_) {
        if (ClientWidth > 0) form_->SetClientWidth(ClientWidth);
        if (ClientHeight > 0) form_->SetClientHeight(ClientHeight);
    }
    BorderAfterApplySkin();
}

void TbsSkinForm::TakeFormSize() {
    formLeft_ = form_->Left();
    formTop_ = form_->Top();
    formWidth_ = form_->Width();
    formHeight_ = form_->Height();
}

void TbsSkinForm::RepaintFrame() {
    if (Wnd() && skinnableForm_) SendMessage(Wnd(), WM_NCPAINT, 1, 0);
}

bool TbsSkinForm::PlainFrame() const {
    return form_->BorderStyle() == gui::bsNone;
}

bool TbsSkinForm::GetFormActive() const {
    return PreviewMode || (IsMDIChildForm() || IsMDIMainForm() ? formActive_ : form_->Active());
}

void TbsSkinForm::SetFormBorderStyle(gui::TFormBorderStyle value) {
    form_->SetBorderStyle(value);
    WalkChangeSkinData(form_, nullptr);
}

void TbsSkinForm::SetFormStyle(gui::TFormStyle value) {
    if (value != gui::fsNormal && value != gui::fsStayOnTop) return;
    form_->SetFormStyle(value);
    WalkChangeSkinData(form_, nullptr);
}

// ---- geometry

int TbsSkinForm::DefaultCaptionHeight() const {
    auto s = form_->BorderStyle();
    return s == gui::bsToolWindow || s == gui::bsSizeToolWin ? 15 : 19;
}

int TbsSkinForm::DefaultButtonSize() const {
    auto s = form_->BorderStyle();
    return s == gui::bsToolWindow || s == gui::bsSizeToolWin ? 13 : 17;
}

void TbsSkinForm::CalcSkinRects() {
    if (!fsd_ || fsd_->Empty) return;
    if (formWidth_ == 0 || formHeight_ == 0) TakeFormSize();
    const TbsSkinData& s = *fsd_;
    int dx = formWidth_ - s.FPicture.Width(), dy = formHeight_ - s.FPicture.Height();
    NewLTPoint = s.LTPoint;
    NewRTPoint = {s.RTPoint.X + dx, s.RTPoint.Y};
    NewLBPoint = {s.LBPoint.X, s.LBPoint.Y + dy};
    NewRBPoint = {s.RBPoint.X + dx, s.RBPoint.Y + dy};
    NewClRect = {s.ClRect.Left, s.ClRect.Top, s.ClRect.Right + dx, s.ClRect.Bottom + dy};
    NewCaptionRect = s.CaptionRect;
    if (!IsEmptyRect(NewCaptionRect)) NewCaptionRect.Right += dx;
    NewButtonsRect = s.ButtonsRect;
    NewButtonsInLeft = s.CapButtonsInLeft;
    // Buttons designed in the right half keep their distance to the right edge.
    if (!IsEmptyRect(s.ButtonsRect) && s.ButtonsRect.Left > s.FPicture.Width() / 2) {
        NewButtonsRect.Left += dx;
        NewButtonsRect.Right += dx;
    }
    NewButtonsOffset = s.ButtonsOffset;
    NewHitTestLTPoint = s.HitTestLTPoint;
    NewHitTestRTPoint = {s.HitTestRTPoint.X + dx, s.HitTestRTPoint.Y};
    NewHitTestLBPoint = {s.HitTestLBPoint.X, s.HitTestLBPoint.Y + dy};
    NewHitTestRBPoint = {s.HitTestRBPoint.X + dx, s.HitTestRBPoint.Y + dy};
    NewMaskRectArea = {s.MaskRectArea.Left, s.MaskRectArea.Top, s.MaskRectArea.Right + dx,
                       s.MaskRectArea.Bottom + dy};
}

TRect TbsSkinForm::MapSkinRect(TRect r) const {
    if (!fsd_) return r;
    const TbsSkinData& s = *fsd_;
    int w0 = s.FPicture.Width(), h0 = s.FPicture.Height();
    TRect lt{0, 0, s.LTPoint.X, s.LTPoint.Y}, rt{s.RTPoint.X, 0, w0, s.RTPoint.Y},
        lb{0, s.LBPoint.Y, s.LBPoint.X, h0}, rb{s.RBPoint.X, s.RBPoint.Y, w0, h0};
    int dx = NewRBPoint.X - s.RBPoint.X, dy = NewRBPoint.Y - s.RBPoint.Y;
    TPoint a{r.Left, r.Top}, b{r.Right, r.Bottom};
    auto inside = [&](const TRect& area) { return InRect(area, a) && InRect(area, b); };
    auto move = [&](int mx, int my) { return TRect{r.Left + mx, r.Top + my, r.Right + mx, r.Bottom + my}; };
    if (inside(lt)) return r;
    if (inside(rt)) return move(dx, 0);
    if (inside(lb)) return move(0, dy);
    if (inside(rb)) return move(dx, dy);
    if (InRect(lt, a) && InRect(rb, b)) return {r.Left, r.Top, r.Right + dx, r.Bottom + dy};
    if (InRect(lt, a) && InRect(rt, b)) return {r.Left, r.Top, r.Right + dx, r.Bottom};
    if (InRect(lb, a) && InRect(rb, b)) return {r.Left, r.Top + dy, r.Right + dx, r.Bottom + dy};
    if (InRect(lt, a) && InRect(lb, b)) return {r.Left, r.Top, r.Right, r.Bottom + dy};
    if (InRect(rt, a) && InRect(rb, b)) return {r.Left + dx, r.Top, r.Right + dx, r.Bottom + dy};
    return r;
}

void TbsSkinForm::CalcDefRects() {
    // The default look's buttons come with its first use.
    if (ObjectList.empty() && !skinSupport_ && !stopPainting_) CreateDefaultObjects();
    if (ObjectList.empty()) return;
    if (formWidth_ == 0 || formHeight_ == 0) TakeFormSize();
    int s = DefaultButtonSize();
    NewDefCaptionRect = {3, 3, formWidth_ - 3, DefaultCaptionHeight()};
    auto button = [&](TbsStdCommand command) -> TbsSkinStdButtonObject* {
        for (auto& o : ObjectList)
            if (auto* b = dynamic_cast<TbsSkinStdButtonObject*>(o.get()))
                if (b->Visible && b->SkinRectInAPicture && b->Command == command) return b;
        return nullptr;
    };
    int x = formWidth_ - 3;
    for (TbsStdCommand c : {TbsStdCommand::cmClose, TbsStdCommand::cmMaximize, TbsStdCommand::cmMinimize,
                            TbsStdCommand::cmRollUp, TbsStdCommand::cmMinimizeToTray})
        if (TbsSkinStdButtonObject* b = button(c)) {
            b->ObjectRect = {x - s, 4, x, 4 + s};
            x -= s;
        }
    NewDefCaptionRect.Right = x;
    if (TbsSkinStdButtonObject* b = button(TbsStdCommand::cmSysMenu)) {
        int w = s, h = s;
        if (showIcon_) GetSmallIconSize(w, h);
        b->ObjectRect = {3, 4, 3 + w, 4 + h};
        NewDefCaptionRect.Left = 3 + w;
    }
}

// ---- limits and hit testing

int TbsSkinForm::GetMinWidth() const {
    if (!skinSupport_) return MinWidth > 0 ? MinWidth : 120;
    int w0 = fsd_->FPicture.Width();
    bool minimized = windowState_ == gui::wsMinimized;
    if (w0 < MinWidth && !minimized) return MinWidth;
    if (fsd_->FormMinWidth > 0)
        return fsd_->FormMinWidth >= MinWidth || minimized ? fsd_->FormMinWidth : MinWidth;
    return w0;
}

int TbsSkinForm::GetMinHeight() const {
    int h = skinSupport_ ? fsd_->FPicture.Height() - fsd_->ClRect.Height() : DefaultCaptionHeight() + 6;
    return h >= MinHeight || rollUpState_ || windowState_ == gui::wsMinimized ? h : MinHeight;
}

int TbsSkinForm::GetMaxWidth() const {
    if (MaxWidth != 0) return MaxWidth;
    gui::TRect r{};
    GetMonitorArea(Wnd(), !MaximizeOnFullScreen, r);
    return gui::RectWidth(r);
}

int TbsSkinForm::GetMaxHeight() const {
    if (MaxHeight != 0) return MaxHeight;
    gui::TRect r{};
    GetMonitorArea(Wnd(), !MaximizeOnFullScreen, r);
    return gui::RectHeight(r);
}

bool TbsSkinForm::CanResize() const {
    auto s = form_->BorderStyle();
    return AlwaysResize || s == gui::bsSizeable || s == gui::bsSizeToolWin;
}

int TbsSkinForm::HitTestDefault(TPoint p) {
    int w = form_->Width(), h = form_->Height();
    bool fixed = windowState_ != gui::wsNormal || rollUpState_ || !CanResize();
    if (!fixed && ActiveObject != -1) return HTOBJECT;
    if (!fixed) {
        bool l = p.X <= 2, t = p.Y <= 2, r = p.X >= w - 2, b = p.Y >= h - 2;
        if (l && t) return HTTOPLEFT;
        if (r && t) return HTTOPRIGHT;
        if (l && b) return HTBOTTOMLEFT;
        if (r && b) return HTBOTTOMRIGHT;
        if (l) return HTLEFT;
        if (t) return HTTOP;
        if (r) return HTRIGHT;
        if (b) return HTBOTTOM;
    }
    CalcDefRects();
    if (InRect(NewDefCaptionRect, p)) return HTCAPTION;
    if (InRect({3, DefaultCaptionHeight() + 3, w - 3, h - 3}, p)) return HTCLIENT;
    return HTOBJECT;
}

bool TbsSkinForm::InCaptionArea(TPoint p) const {
    for (const auto& o : ObjectList) {
        auto* c = dynamic_cast<const TbsSkinCaptionObject*>(o.get());
        if (!c || !InRect(c->ObjectRect, p)) continue;
        TRect r = c->ObjectRect;
        // Quick buttons at the caption's start are no place to drag the form from.
        if (quickButtons_->Count() > 0 && quickImageList_)
            r.Left += quickButtons_->Count() * (quickImageList_->Width() + 8);
        return InRect(r, p);
    }
    return false;
}

bool TbsSkinForm::PointInMask(TPoint p) {
    const TRect& a = NewMaskRectArea;
    if (InRect(a, p)) return true;
    auto black = [](gui::TBitmap& b, int x, int y) {
        if (x < 0 || y < 0 || x >= b.Width() || y >= b.Height()) return false;
        return gui::ColorToRGB(b.Canvas()->Pixels(x, y)) == 0;
    };
    if (p.Y < a.Top) return black(rmTop_, p.X, p.Y);
    if (p.Y < a.Bottom)
        return p.X >= a.Right ? black(rmRight_, p.X - a.Right, p.Y - a.Top)
                              : black(rmLeft_, p.X, p.Y - a.Top);
    return black(rmBottom_, p.X, p.Y - a.Bottom);
}

int TbsSkinForm::HitTestSkin(TPoint p) {
    int w = form_->Width(), h = form_->Height();
    CalcSkinRects();
    if (rollUpState_ || windowState_ == gui::wsMinimized) return InCaptionArea(p) ? HTCAPTION : HTOBJECT;
    if (ActiveObject != -1 && !InCaptionArea(p) && !InRect(NewClRect, p) && !sizeMove_) return HTOBJECT;
    bool near = false;
    if (windowState_ != gui::wsMaximized && CanResize()) {
        int b = fsd_->BorderW;
        TPoint probes[4] = {
            {p.X - b, p.Y    },
            {p.X,     p.Y - b},
            {p.X + b, p.Y    },
            {p.X,     p.Y + b}
        };
        for (TPoint q : probes) {
            if (fsd_->FMask.Empty())
                near = near || !InRect({0, 0, w, h}, q);
            else
                near = near || (!InRect(NewMaskRectArea, p) && !PointInMask(q));
        }
    }
    if (!near) return InRect(NewClRect, p) ? HTCLIENT : InCaptionArea(p) ? HTCAPTION : HTOBJECT;
    if (p.X <= NewHitTestLTPoint.X && p.Y <= NewHitTestLTPoint.Y) return HTTOPLEFT;
    if (p.X >= NewHitTestRTPoint.X && p.Y <= NewHitTestRTPoint.Y) return HTTOPRIGHT;
    if (p.X <= NewHitTestLBPoint.X && p.Y >= NewHitTestLBPoint.Y) return HTBOTTOMLEFT;
    if (p.X >= NewHitTestRBPoint.X && p.Y >= NewHitTestRBPoint.Y) return HTBOTTOMRIGHT;
    if (InRect({NewHitTestLTPoint.X, 0, NewHitTestRTPoint.X, NewClRect.Top}, p)) return HTTOP;
    if (InRect({NewHitTestLBPoint.X, NewClRect.Bottom, NewHitTestRBPoint.X, h}, p)) return HTBOTTOM;
    if (InRect({0, NewHitTestLTPoint.Y, NewClRect.Left, NewHitTestLBPoint.Y}, p)) return HTLEFT;
    if (InRect({NewClRect.Right, NewHitTestRTPoint.Y, w, NewHitTestRBPoint.Y}, p)) return HTRIGHT;
    if (InRect(NewClRect, p)) return HTCLIENT;
    return InCaptionArea(p) ? HTCAPTION : HTOBJECT;
}

// ---- region

void TbsSkinForm::UpdateSkinRegion() {
    if (Designing() || !fsd_ || fsd_->Empty) return;
    if (skinnableForm_) {
        CalcSkinRects();
        ArrangeObjects();
    }
    SetFormRegion();
    if (!rgn_ && skinnableForm_ && !PlainFrame() && Wnd()) SendMessage(Wnd(), WM_NCPAINT, 1, 0);
    // A stretched background changes all over with the size.
    if (skinSupport_ && fsd_->StretchEffect && Wnd()) {
        form_->Invalidate();
        NotifyChildrenBackground();
    }
}

void TbsSkinForm::SetFormRegion() {
    HWND wnd = Wnd();
    if (!wnd) return;
    if (formWidth_ == 0 || formHeight_ == 0) TakeFormSize();
    HRGN old = rgn_;
    if (!skinnableForm_ || PlainFrame() || IsMaximizedMDIChild()) {
        if (rgn_) {
            SetWindowRgn(wnd, nullptr, TRUE);
            DeleteObject(rgn_);
            rgn_ = nullptr;
        }
        return;
    }
    if (!skinSupport_ || fsd_->FMask.Empty()) {
        // A frame without a mask is a plain rectangle of the window's size.
        for (gui::TBitmap* b : {&rmTop_, &rmBottom_, &rmLeft_, &rmRight_}) b->SetSize(0, 0);
        rgn_ = CreateRectRgn(0, 0, formWidth_, formHeight_);
    } else {
        const TbsSkinData& s = *fsd_;
        BuildBorderMaskImages(s.LTPoint, s.RTPoint, s.LBPoint, s.RBPoint, s.MaskRectArea, NewLTPoint,
                              NewRTPoint, NewLBPoint, NewRBPoint, NewMaskRectArea, &s.FMask.Bitmap(), &rmTop_,
                              &rmLeft_, &rmRight_, &rmBottom_, formWidth_, formHeight_);
        const TRect& a = NewMaskRectArea;
        rgn_ = CreateRectRgn(a.Left, a.Top, a.Right, a.Bottom);
        struct Part {
            gui::TBitmap* bitmap;
            int x, y;
        } parts[] = {
            {&rmTop_,    0,       0       },
            {&rmBottom_, 0,       a.Bottom},
            {&rmLeft_,   0,       a.Top   },
            {&rmRight_,  a.Right, a.Top   }
        };
        for (const Part& part : parts) {
            if (part.bitmap->Width() <= 0 || part.bitmap->Height() <= 0) continue;
            HRGN r = CreateMaskRegion(part.bitmap);
            if (!r) continue;
            OffsetRgn(r, part.x, part.y);
            CombineRgn(rgn_, rgn_, r, RGN_OR);
            DeleteObject(r);
        }
    }
    // The window keeps a copy; ours stays for the next cut.
    HRGN handed = CreateRectRgn(0, 0, 0, 0);
    CombineRgn(handed, rgn_, nullptr, RGN_COPY);
    SetWindowRgn(wnd, handed, TRUE);
    if (old) DeleteObject(old);
}

// ---- painting

void TbsSkinForm::PaintNCDefault(HDC dc, bool useExternalDC) {
    if (fsd_ && fsd_->ChangeSkinDataProcess) return;
    HWND wnd = Wnd();
    if (!wnd) return;
    if (formWidth_ == 0 || formHeight_ == 0) TakeFormSize();
    CalcDefRects();
    FrameDC frame(wnd, dc, useExternalDC);
    if (!frame.dc()) return;
    int hc = DefaultCaptionHeight(), bw = formWidth_ - 6;
    if (bw <= 0) return;
    gui::TBitmap caption;
    caption.SetSize(bw, hc);
    gui::TCanvas* c = caption.Canvas();
    c->Brush()->SetColor(gui::clBtnFace);
    c->FillRect(gui::Rect(0, 0, bw, hc));
    int a = NewDefCaptionRect.Left - 3, b = bw - NewDefCaptionRect.Right;
    if (hc - 4 > 1) {
        for (int y = 2; y <= hc - 4; ++y) {
            c->Pen()->SetColor((y - 2) % 2 == 0 ? gui::clBtnHighlight : gui::clBtnShadow);
            c->MoveTo(a + 2, y);
            c->LineTo(bw - b - 6, y);
        }
    }
    bool active = GetFormActive();
    c->Font()->Assign(active ? &defCaptionFont_ : &defInActiveCaptionFont_);
    if (fsd_ && fsd_->ResourceStrData()) c->Font()->SetCharset(fsd_->ResourceStrData()->CharSet);
    std::string text = CaptionText();
    if (OnCaptionPaint) {
        OnCaptionPaint(c, gui::Rect(a, 0, bw - b - 3, hc), active);
    } else if (!text.empty()) {
        TrimTextToWidth(c, text, bw - a - b);
        int tw = c->TextWidth(text), th = c->TextHeight(text);
        int x = a + (bw - a - b) / 2 - (tw + 5) / 2, y = hc / 2 - th / 2;
        c->Brush()->SetColor(gui::clBtnFace);
        c->FillRect(gui::Rect(x - 2, y - 2, x + tw + 2, y + th + 2));
        c->Brush()->SetStyle(gui::bsClear);
        c->TextOut(x, y, text);
    }
    if (!ObjectList.empty()) {
        CalcDefRects();
        for (auto& o : ObjectList) {
            if (!o->Visible) continue;
            // The caption bitmap starts 3 pixels into the frame.
            TRect keep = o->ObjectRect;
            o->ObjectRect = {keep.Left - 3, keep.Top - 3, keep.Right - 3, keep.Bottom - 3};
            o->Draw(c, true);
            o->ObjectRect = keep;
        }
    }
    ExcludeClipRect(frame.dc(), 3, hc + 3, formWidth_ - 3, formHeight_ - 3);
    BitBlt(frame.dc(), 3, 3, bw, hc, c->Handle(), 0, 0, SRCCOPY);
    RECT r{0, 0, formWidth_, formHeight_};
    Frame3D(frame.dc(), r, gui::cl3DLight, gui::cl3DDkShadow);
    Frame3D(frame.dc(), r, gui::clBtnHighlight, gui::clBtnShadow);
    Frame3D(frame.dc(), r, gui::clBtnFace, gui::clBtnFace);
}

void TbsSkinForm::PaintNCSkin(HDC dc, bool useExternalDC) {
    HWND wnd = Wnd();
    if (!wnd || !skinSupport_) return;
    if (formWidth_ == 0 || formHeight_ == 0) TakeFormSize();
    if (formWidth_ < GetMinWidth() || formHeight_ < GetMinHeight()) return;
    CalcSkinRects();
    ArrangeObjects();
    const TbsSkinData& s = *fsd_;
    const TbsPicture& source =
        GetFormActive() || s.FInActivePicture.Empty() ? s.FPicture : s.FInActivePicture;
    gui::TBitmap left, top, right, bottom;
    BuildBorderImages(s.LTPoint, s.RTPoint, s.LBPoint, s.RBPoint, s.ClRect, NewLTPoint, NewRTPoint,
                      NewLBPoint, NewRBPoint, NewClRect, &left, &top, &right, &bottom, &source.Bitmap(),
                      {0, 0, source.Width(), source.Height()}, formWidth_, formHeight_, s.LeftStretch,
                      s.TopStretch, s.RightStretch, s.BottomStretch);
    for (auto& o : ObjectList) {
        if (!o->Visible) continue;
        if (o->ObjectRect.Bottom > NewClRect.Top) {
            TRect keep = o->ObjectRect;
            o->ObjectRect.Top -= NewClRect.Bottom;
            o->ObjectRect.Bottom -= NewClRect.Bottom;
            o->Draw(bottom.Canvas(), false);
            o->ObjectRect = keep;
        } else {
            o->Draw(top.Canvas(), false);
        }
    }
    FrameDC frame(wnd, dc, useExternalDC);
    if (!frame.dc()) return;
    if (NewClRect.Height() > 0)
        ExcludeClipRect(frame.dc(), NewClRect.Left, NewClRect.Top, NewClRect.Right, NewClRect.Bottom);
    bool effect = !GetFormActive() && s.AutoRenderingInActiveImage;
    auto put = [&](gui::TBitmap& b, int x, int y) { PutFramePart(frame.dc(), b, x, y, effect); };
    put(top, 0, 0);
    put(left, 0, top.Height());
    put(right, formWidth_ - right.Width(), top.Height());
    put(bottom, 0, formHeight_ - bottom.Height());
}

// ---- sizing and moving

void TbsSkinForm::RefreshFormSize() {
    int w = form_->Width();
    form_->SetWidth(w - 1 < GetMinWidth() ? w + 1 : w - 1);
    form_->SetWidth(w);
}

void TbsSkinForm::SnapToWorkArea(int& aLeft, int& aTop, int aWidth, int aHeight) {
    gui::TRect a{};
    GetMonitorArea(Wnd(), true, a);
    POINT cur{};
    GetCursorPos(&cur);
    int m = MagneticSize;
    // A layered border that resizes the form snaps by its outer edge.
    const TRect bands = LayerBorderBands();
    aLeft -= bands.Left;
    aTop -= bands.Top;
    aWidth += bands.Left + bands.Right;
    aHeight += bands.Top + bands.Bottom;
    auto nearTo = [m](int edge, int v) { return edge - m < v && v < edge + m; };
    bool nearL = nearTo(a.left, aLeft), nearT = nearTo(a.top, aTop);
    auto snap = [&](int& v, int target, bool nearEdge, bool& magnetized, LONG cursor, LONG& down) {
        if (nearEdge && !magnetized) {
            v = target;
            down = cursor;
        } else if (magnetized) {
            // Pulled further than the snapping distance, the form follows the cursor again.
            v = std::abs(cursor - down) > m ? cursor + target - down : target;
        }
        magnetized = nearEdge;
    };
    LONG downX = onMouseDownCoord_.X, downY = onMouseDownCoord_.Y;
    snap(aLeft, a.left, nearL, hMagnetized_, cur.x, downX);
    snap(aTop, a.top, nearT, vMagnetized_, cur.y, downY);
    bool nearR = nearTo(a.right, aLeft + aWidth), nearB = nearTo(a.bottom, aTop + aHeight);
    snap(aLeft, a.right - aWidth, nearR, hMagnetized2_, cur.x, downX);
    snap(aTop, a.bottom - aHeight, nearB, vMagnetized2_, cur.y, downY);
    onMouseDownCoord_ = {downX, downY};
    aLeft += bands.Left;
    aTop += bands.Top;
}

// ---- the window procedure
//
// Every message of the form passes through here before the form's own procedure (the class
// library's WindowProc, whose WndProc and Dispatch then run as for any control):
//   1. frame messages of a skinnable form (non-client size, hit test, painting, activation)
//      are answered here and never reach the form's procedure; erasing never does;
//   2. tracking messages (size, position, limits, the move/size loop) take note here and then
//      go on to the form's procedure, WM_SIZE calling it itself before the region follows;
//   3. everything else goes on unchanged.
void TbsSkinForm::CallOld(gui::TMessage& m) {
    if (oldWindowProc_) oldWindowProc_(m);
}

void TbsSkinForm::FormWindowProc(gui::TMessage& m) {
    if (ShowObjectHint && skinHint_ && IsMenuCloseMessage(m.Msg)) skinHint_->HideHint();
    if (MenuWindowProc(m)) return;
    if (MDIWindowProc(m)) return;
    switch (m.Msg) {
    case WM_DESTROY:
        for (gui::TTimer* t : {MouseTimer.get(), MorphTimer.get(), AnimateTimer.get()}) t->SetEnabled(false);
        break;
    case WM_ERASEBKGND:
        EraseBackground(reinterpret_cast<HDC>(m.WParam));
        m.Result = 1;
        return;
    case WM_NCCALCSIZE:
        if (!skinnableForm_) break;
        if (!PlainFrame()) {
            RECT* r = reinterpret_cast<RECT*>(m.LParam); // the first of the parameters' rectangles
            if (skinSupport_) {
                const TbsSkinData& s = *fsd_;
                CalcSkinRects();
                *r = {r->left + s.ClRect.Left, r->top + s.ClRect.Top,
                      r->right + (s.ClRect.Right - s.FPicture.Width()),
                      r->bottom + (s.ClRect.Bottom - s.FPicture.Height())};
            } else {
                *r = {r->left + 3, r->top + DefaultCaptionHeight() + 3, r->right - 3, r->bottom - 3};
            }
            r->right = std::max(r->right, r->left);
            r->bottom = std::max(r->bottom, r->top);
        }
        m.Result = 0;
        return;
    case WM_NCHITTEST: {
        if (!skinnableForm_) break;
        TPoint p = ScreenToWindowPoint(
            {static_cast<int16_t>(m.LParam & 0xFFFF), static_cast<int16_t>((m.LParam >> 16) & 0xFFFF)});
        m.Result = skinSupport_ ? HitTestSkin(p) : HitTestDefault(p);
        if (m.Result == HTOBJECT && !MouseTimer->Enabled()) {
            TrackActiveObject(p.X, p.Y, true);
            MouseTimer->SetEnabled(true);
        }
        return;
    }
    case WM_NCPAINT:
        if (!skinnableForm_) break;
        if (!PlainFrame()) {
            if (skinSupport_)
                PaintNCSkin(nullptr, false);
            else if (!stopPainting_)
                PaintNCDefault(nullptr, false);
        }
        m.Result = 0;
        return;
    case WM_NCACTIVATE:
        if (!skinnableForm_) break;
        formActive_ = m.WParam != 0;
        FBorderLayer->FBorderLayerChangeSize = false;
        HideGlowLayers();
        if (!formActive_) TrackActiveObject(-1, -1, false);
        if (PlainFrame()) {
            UpdateCaptionActive(false);
        } else {
            RepaintFrame();
            UpdateCaptionActive(true);
        }
        EffectsNcActivate(formActive_);
        m.Result = 1;
        return;
    case WM_ACTIVATE: {
        if (!skinnableForm_) break;
        std::shared_ptr<bool> alive = alive_;
        CallOld(m);
        if (!*alive) return;
        RepaintFrame();
        ResetObjectStates();
        UpdateCaptionActive(true);
        if (IsMDIMainForm()) RefreshMenuBarItems();
        return;
    }
    case WM_SHOWWINDOW:
        if (m.WParam) FirstPlacement();
        EffectsBeforeShowWindow(m.WParam != 0);
        break;
    case WM_SYSCOMMAND:
        if (SystemCommandHandled(m)) return;
        break;
    case WM_SETTEXT:
        if (!skinnableForm_) break;
        CallOld(m);
        if (!PlainFrame()) RepaintFrame();
        return;
    case WM_GETMINMAXINFO:
        if (skinnableForm_) {
            auto* mmi = reinterpret_cast<MINMAXINFO*>(m.LParam);
            mmi->ptMinTrackSize = {GetMinWidth(), GetMinHeight()};
            mmi->ptMaxTrackSize = {GetMaxWidth(), GetMaxHeight()};
        }
        break;
    case WM_SETCURSOR:
        if (skinnableForm_ && UseFormCursorInNCArea) {
            int hit = static_cast<int16_t>(m.LParam & 0xFFFF);
            if (hit != HTCLIENT && !(hit >= HTLEFT && hit <= HTBOTTOMRIGHT))
                m.LParam = (m.LParam & ~static_cast<LPARAM>(0xFFFF)) | HTCLIENT;
        }
        break;
    case WM_ENTERSIZEMOVE:
        if (!skinnableForm_) break;
        {
            POINT p{};
            GetCursorPos(&p);
            onMouseDownCoord_ = {p.x, p.y};
            ResetObjectStates();
            MouseTimer->SetEnabled(false);
            ActiveObject = MouseCaptureObject = -1;
            sizeMove_ = true;
            BOOL full = TRUE;
            SystemParametersInfo(SPI_GETDRAGFULLWINDOWS, 0, &full, 0);
            fullDrag_ = full != FALSE;
        }
        break;
    case WM_SIZING:
        if (skinnableForm_ && sizeMove_ && fullDrag_) {
            sizing_ = true;
            FBorderLayer->FBorderLayerChangeSize = false;
            hMagnetized_ = vMagnetized_ = hMagnetized2_ = vMagnetized2_ = false;
            CallOld(m);
            auto* r = reinterpret_cast<RECT*>(m.LParam);
            int w = r->right - r->left, h = r->bottom - r->top;
            bool changed = w != formWidth_ || h != formHeight_;
            formWidth_ = w;
            formHeight_ = h;
            // The region follows the proposed size before the window takes it.
            if (!skinSupport_)
                SetFormRegion();
            else if (changed && w >= GetMinWidth() && h >= GetMinHeight()) {
                BorderFollowsSizing();
                UpdateSkinRegion();
            }
            return;
        }
        break;
    case WM_SIZE: {
        // A centred logo moves with every size.
        bool logo = !logo_.Empty() && form_->FormStyle() != gui::fsMDIForm;
        if (sizeMove_ && fullDrag_) {
            if (logo) form_->Invalidate();
            break;
        }
        // While the layered border drags the form, the size is the one its move reported,
        // and the form's own procedure comes after the frame has followed.
        const bool borderDrag = BorderLayerChangeSize();
        if (!borderDrag) {
            CallOld(m);
            formWidth_ = form_->Width();
            formHeight_ = form_->Height();
        }
        hMagnetized_ = vMagnetized_ = hMagnetized2_ = vMagnetized2_ = false;
        if (!skinSupport_) {
            if (skinnableForm_) {
                SetFormRegion();
                RepaintFrame();
            }
        } else if (skinnableForm_ && formWidth_ >= GetMinWidth() && formHeight_ >= GetMinHeight()) {
            BorderFollowsSize();
            UpdateSkinRegion();
        }
        if (borderDrag) CallOld(m);
        if (logo) form_->Invalidate();
        return;
    }
    case WM_DISPLAYCHANGE:
        // A smaller screen: the form gives up what no longer fits.
        if (!PlainFrame() && (GetMaxWidth() < form_->Width() || GetMaxHeight() < form_->Height()))
            RefreshFormSize();
        break;
    case WM_WINDOWPOSCHANGED: {
        BorderFollowsPosition(*reinterpret_cast<WINDOWPOS*>(m.LParam));
        break;
    }
    case WM_EXITSIZEMOVE:
        if (!skinnableForm_) break;
        if (sizing_ && (form_->Width() != formWidth_ || form_->Height() != formHeight_)) {
            TakeFormSize();
            UpdateSkinRegion();
        }
        sizing_ = sizeMove_ = false;
        MouseTimer->SetEnabled(false);
        ActiveObject = OldActiveObject = MouseCaptureObject = -1;
        if (skinSupport_) RepaintFrame();
        BorderAfterSizeMove();
        break;
    case WM_MOVING:
        if (!skinnableForm_) break;
        {
            auto* r = reinterpret_cast<RECT*>(m.LParam);
            if (windowState_ == gui::wsMaximized && form_->FormStyle() != gui::fsMDIChild) {
                *r = form_->BoundsRect();
            } else if (Magnetic) {
                int l = r->left, t = r->top, w = form_->Width(), h = form_->Height();
                SnapToWorkArea(l, t, w, h);
                *r = {l, t, l + w, t + h};
            }
        }
        break;
    case WM_BEFORECHANGESKINDATA: {
        auto* sender = reinterpret_cast<TbsSkinData*>(m.WParam);
        if (fsd_ && sender == fsd_) {
            stopPainting_ = true;
            skinSupport_ = false;
            for (gui::TTimer* t : {MouseTimer.get(), MorphTimer.get(), AnimateTimer.get()})
                t->SetEnabled(false);
            ClearObjects();
        }
        // Every control of that skin data lets go of the old skin, whichever skin data the
        // frame uses: the walk after the change reaches them all the same.
        WalkBeforeChangeSkinData(form_, sender);
        if (fsd_ && sender == fsd_ && OnBeforeChangeSkinData) OnBeforeChangeSkinData(this);
        break;
    }
    case WM_CHANGESKINDATA: {
        auto* sender = reinterpret_cast<TbsSkinData*>(m.WParam);
        stopPainting_ = false;
        if (fsd_ && sender == fsd_) ApplySkin();
        WalkChangeSkinData(form_, sender);
        break;
    }
    case WM_AFTERCHANGESKINDATA:
        if (OnAfterChangeSkinData) OnAfterChangeSkinData(this);
        break;
    case WM_CHANGERESSTRDATA:
        UpdateObjectHints();
        break;
    case WM_TRAYRESTORED:
        if (form_->Tag == kTrayRestoreTag) {
            BringTrayRestoredForward();
            form_->Tag = 0;
        }
        break;
    case WM_CHANGEFORMSKINNABLE:
        if (fsd_ && m.WParam == reinterpret_cast<WPARAM>(fsd_) && form_->FormStyle() != gui::fsMDIChild)
            SetSkinnableForm(fsd_->SkinnableForm());
        break;
    case WM_TIMER:
    case WM_SHOWLAYEREDBORDERS:
    case WM_BSSMARTEFFECTSBEGIN:
    case WM_BSSMARTEFFECTSEND:
        EffectsMessage(m);
        break;
    case WM_BSQUERYSKINNABLE:
        m.Result = !skinnableForm_ && IsWindowsVistaOrLater() ? 12852 : 12853;
        return;
    case WM_BSPAINTFRAMETODC:
    case WM_BSPAINTFRAMETODC2: {
        bool second = m.Msg == WM_BSPAINTFRAMETODC2;
        if (!skinnableForm_ || (second && m.LParam != 16802)) break;
        HDC dc = reinterpret_cast<HDC>(m.WParam);
        bool drawn = dc && !PlainFrame();
        if (drawn) {
            if (skinSupport_)
                PaintNCSkin(dc, true);
            else
                PaintNCDefault(dc, true);
        }
        m.Result = second ? 16802 : drawn ? 12851 : 0;
        return;
    }
    default:
        break;
    }
    // The form's own procedure may free the form, and this component with it.
    std::shared_ptr<bool> alive = alive_;
    CallOld(m);
    if (!*alive) return;
    PostHandleMouse(m);
    if (m.Msg == WM_SHOWWINDOW) EffectsAfterShowWindow(m.WParam != 0);
}

TbsSkinForm* FindSkinFormComponent(gui::TCustomForm* form) {
    if (!form) return nullptr;
    for (int i = 0; i < form->ComponentCount(); ++i)
        if (auto* f = dynamic_cast<TbsSkinForm*>(form->Components(i))) return f;
    return nullptr;
}

} // namespace skin
