#include "skin/forms/SkinImagesMenu.h"

#include "gdi/Objects.h"
#include "gui/Application.h"
#include "gui/Bitmap.h"
#include "gui/Color.h"
#include "gui/Forms.h"
#include "gui/Screen.h"
#include "os/Clock.h"
#include "os/MainThread.h"
#include "skin/core/ResourceStrData.h"
#include "skin/engine/DrawUtils.h"
#include "skin/engine/EngineSetup.h"
#include "skin/engine/MaskRegion.h"
#include "skin/engine/NinePart.h"
#include "skin/engine/SkinRect.h"
#include "skin/hints/SkinHint.h"
#include "win/Input.h"
#include "win/Layered.h"
#include "win/Message.h"
#include "win/Styles.h"
#include "win/Window.h"
#include "win/WindowPos.h"

#include <algorithm>

namespace skin {

namespace {

bool Inside(const TRect& r, TPoint p) {
    return p.X >= r.Left && p.X < r.Right && p.Y >= r.Top && p.Y < r.Bottom;
}

gui::TBitmap* PictureOf(TbsSkinData* sd, int index) {
    if (!sd || index < 0 || index >= static_cast<int>(sd->FActivePictures.size())) return nullptr;
    return &sd->FActivePictures[static_cast<size_t>(index)]->Bitmap();
}

template <class T> T* ControlEntry(TbsSkinData* sd, const std::string& name) {
    if (!sd || sd->Empty) return nullptr;
    int i = sd->GetControlIndex(name);
    if (i < 0) return nullptr;
    return dynamic_cast<T*>(sd->CtrlList[static_cast<size_t>(i)].get());
}

TbsDataSkinMenuItem* MenuItemEntry(TbsSkinData* sd) {
    if (!sd || sd->Empty) return nullptr;
    int i = sd->GetIndex("menuitem");
    if (i < 0) i = sd->GetIndex("MENUITEM");
    if (i < 0) return nullptr;
    return dynamic_cast<TbsDataSkinMenuItem*>(sd->ObjectList[static_cast<size_t>(i)].get());
}

// Messages on which the open grid closes without a choice, as a popup menu does.
bool ClosesGrid(UINT m) {
    switch (m) {
    case WM_MOVE:
    case WM_SIZE:
    case WM_ACTIVATE:
    case WM_KILLFOCUS:
    case WM_CANCELMODE:
    case WM_MOUSEACTIVATE:
    case WM_NCLBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
    case WM_NCMBUTTONDOWN:
    case WM_SYSKEYDOWN:
    case WM_SYSCHAR:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_PARENTNOTIFY:
        return true;
    default:
        return false;
    }
}

enum { kNormal, kHot, kPressed };

bool Blank(const TRect& r) {
    return r.Width() <= 0 || r.Height() <= 0;
}

} // namespace

// --- items -----------------------------------------------------------------------------------

TbsImagesMenuItem::TbsImagesMenuItem(gui::TCollection* Collection) : gui::TCollectionItem(Collection) {}

void TbsImagesMenuItem::Assign(const gui::TPersistent* Source) {
    if (auto* s = dynamic_cast<const TbsImagesMenuItem*>(Source)) {
        ImageIndex = s->ImageIndex;
        Caption = s->Caption;
        Button = s->Button;
        Hint = s->Hint;
        return;
    }
    gui::TCollectionItem::Assign(Source);
}

TbsImagesMenuItems::TbsImagesMenuItems(TbsSkinImagesMenu* AImagesMenu)
    : gui::TCollection(&gui::TCollection::ItemClass<TbsImagesMenuItem>, AImagesMenu) {}

// --- the menu --------------------------------------------------------------------------------

TbsSkinImagesMenu::TbsSkinImagesMenu(gui::TComponent* AOwner)
    : gui::TComponent(AOwner), FImagesItems(this),
      closed_(std::make_shared<std::unique_ptr<TbsSkinImagesMenuPopupWindow>>()) {
    FDefaultFont.SetName("Arial");
    FDefaultFont.SetHeight(14);
    FDefaultFont.SetStyle(0);
}

TbsSkinImagesMenu::~TbsSkinImagesMenu() {
    // A menu going away tells nobody: its handlers may belong to what is being torn down.
    OnInternalMenuClose = OnMenuClose = nullptr;
    if (FPopupWindow) FPopupWindow->Hide(false);
    closed_->reset();
}

void TbsSkinImagesMenu::Notification(gui::TComponent* AComponent, gui::TOperation Operation) {
    gui::TComponent::Notification(AComponent, Operation);
    if (Operation != gui::TOperation::opRemove) return;
    if (AComponent == FImages) FImages = nullptr;
    if (AComponent == FSkinData) FSkinData = nullptr;
    if (AComponent == FSkinHint) FSkinHint = nullptr;
}

void TbsSkinImagesMenu::SetImages(gui::TCustomImageList* Value) {
    FImages = Value;
    if (Value) Value->FreeNotification(this);
}

void TbsSkinImagesMenu::SetSkinHint(TbsSkinHint* Value) {
    FSkinHint = Value;
    if (Value) Value->FreeNotification(this);
}

void TbsSkinImagesMenu::SetSkinData(TbsSkinData* Value) {
    FSkinData = Value;
    if (Value) Value->FreeNotification(this);
}

void TbsSkinImagesMenu::SetColumnsCount(int Value) {
    if (Value >= 1 && Value <= 50) FColumnsCount = Value;
}

TbsImagesMenuItem* TbsSkinImagesMenu::SelectedItem() const {
    if (ItemIndex < 0 || ItemIndex >= FImagesItems.Count()) return nullptr;
    return FImagesItems.Items(ItemIndex);
}

void TbsSkinImagesMenu::Popup(int X, int Y) {
    PopupFromRect(Rect(X, Y, X, Y));
}

bool TbsSkinImagesMenu::PopupFromRect(const TRect& R) {
    if (FPopupWindow) FPopupWindow->Hide(false);
    if (OnMenuPopup) OnMenuPopup(this);
    // A grid with no items has nothing to lay out or size by.
    if (!FImages || FImages->Count() == 0 || FImagesItems.Count() == 0) return false;
    FOldItemIndex = ItemIndex;
    FPopupWindow = std::make_unique<TbsSkinImagesMenuPopupWindow>(this);
    FPopupWindow->Show(R);
    return true;
}

bool TbsSkinImagesMenu::TrackFromRect(const gui::TRect& R) {
    return PopupFromRect(Rect(R.left, R.top, R.right, R.bottom));
}

bool TbsSkinImagesMenu::SelectedImage(gui::TCustomImageList*& Images, int& ImageIndex,
                                      std::string& Caption) const {
    TbsImagesMenuItem* item = SelectedItem();
    if (!item) return false;
    Images = FImages;
    ImageIndex = item->ImageIndex;
    Caption = item->Caption;
    return true;
}

void TbsSkinImagesMenu::Hide() {
    if (FPopupWindow) FPopupWindow->Hide(false);
}

void TbsSkinImagesMenu::CloseWindow(bool AProcessEvents) {
    if (!FPopupWindow) return;
    bool first = !*closed_;
    *closed_ = std::move(FPopupWindow);
    if (first) {
        std::weak_ptr<std::unique_ptr<TbsSkinImagesMenuPopupWindow>> grave = closed_;
        os::PostInMainThread([grave] {
            if (auto g = grave.lock()) g->reset();
        });
    }
    if (OnInternalMenuClose) OnInternalMenuClose(this);
    if (OnMenuClose) OnMenuClose(this);
    if (!AProcessEvents || ItemIndex == -1) return;
    // An index left outside the items (they changed while the grid was open) runs no handler.
    if (TbsImagesMenuItem* item = SelectedItem(); item && item->OnClick) item->OnClick(this);
    if (OnItemClick) OnItemClick(this);
    if (ItemIndex != FOldItemIndex) {
        if (OnInternalChange) OnInternalChange(this);
        if (OnChange) OnChange(this);
    }
}

// --- the popup window ------------------------------------------------------------------------

TbsSkinImagesMenuPopupWindow::TbsSkinImagesMenuPopupWindow(TbsSkinImagesMenu* AImagesMenu)
    : gui::TCustomControl(nullptr), ImagesMenu(AImagesMenu) {
    SetVisible(false);
}

TbsSkinImagesMenuPopupWindow::~TbsSkinImagesMenuPopupWindow() {
    if (appHooked_ && gui::Application) gui::Application->OnMessage = std::move(OldAppMessage);
    if (HandleAllocated() && GetCapture() == Handle()) ReleaseCapture();
    if (FRgn) DeleteObject(FRgn);
}

void TbsSkinImagesMenuPopupWindow::CreateParams(gui::TCreateParams& p) {
    gui::TCustomControl::CreateParams(p);
    p.Style = WS_POPUP;
    p.ExStyle = WS_EX_TOOLWINDOW;
    p.WndParent = nullptr;
    p.WindowClass.style |= CS_SAVEBITS | CS_DROPSHADOW;
}

TbsDataSkinPopupWindow* TbsSkinImagesMenuPopupWindow::SkinEntry() const {
    TbsSkinData* sd = ImagesMenu->SkinData();
    if (!sd || sd->Empty || sd->PopupWindow.WindowPictureIndex == -1) return nullptr;
    if (!PictureOf(sd, sd->PopupWindow.WindowPictureIndex)) return nullptr;
    return &sd->PopupWindow;
}

TbsDataSkinButtonControl* TbsSkinImagesMenuPopupWindow::ButtonEntry() const {
    TbsSkinData* sd = ImagesMenu->SkinData();
    auto* b = ControlEntry<TbsDataSkinButtonControl>(sd, "menuitembutton");
    return b ? b : ControlEntry<TbsDataSkinButtonControl>(sd, "resizebutton");
}

void TbsSkinImagesMenuPopupWindow::LayoutAndSize() {
    gui::TCustomImageList* il = ImagesMenu->Images();
    TbsImagesMenuItems* items = ImagesMenu->ImagesItems();
    TbsDataSkinPopupWindow* pw = SkinEntry();
    FSkinSupport = pw != nullptr;
    const int CW = il->Width() + 10, CH = il->Height() + 10, RW = ImagesMenu->ColumnsCount() * CW;
    const int X0 = pw ? pw->ItemsRect.Left : 5;
    int Y = pw ? pw->ItemsRect.Top : 5;
    int x = X0;
    auto* label = ControlEntry<TbsDataSkinLabelControl>(ImagesMenu->SkinData(), "label");
    for (int i = 0; i < items->Count(); ++i) {
        TbsImagesMenuItem* item = items->Items(i);
        if (item->Header || item->Button) {
            if (x != X0) Y += CH + 1;
            int h = item->Header && label ? label->SkinRect.Height() : CH;
            item->ItemRect = Rect(X0, Y, X0 + RW, Y + h);
            Y += h + 1;
            x = X0;
            continue;
        }
        item->ItemRect = Rect(x, Y, x + CW, Y + CH);
        if (x + 2 * CW > X0 + RW) {
            x = X0;
            Y += CH + 1;
        } else {
            x += CW;
        }
    }
    const TRect& first = items->Items(0)->ItemRect;
    const int GH = items->Items(items->Count() - 1)->ItemRect.Bottom - first.Top;
    int W, H;
    WindowPicture = MaskPicture = nullptr;
    if (pw) {
        TbsSkinData* sd = ImagesMenu->SkinData();
        WindowPicture = PictureOf(sd, pw->WindowPictureIndex);
        MaskPicture = PictureOf(sd, pw->MaskPictureIndex);
        int PW = WindowPicture->Width(), PH = WindowPicture->Height();
        W = PW + RW - pw->ItemsRect.Width();
        H = PH + GH - pw->ItemsRect.Height();
        NewLTPoint = pw->LTPoint;
        NewRTPoint = Point(W + pw->RTPoint.X - PW, pw->RTPoint.Y);
        NewLBPoint = Point(pw->LBPoint.X, H + pw->LBPoint.Y - PH);
        NewRBPoint = Point(W + pw->RBPoint.X - PW, H + pw->RBPoint.Y - PH);
        NewItemsRect = Rect(pw->ItemsRect.Left, pw->ItemsRect.Top, W + pw->ItemsRect.Right - PW,
                            H + pw->ItemsRect.Bottom - PH);
    } else {
        W = RW + 10;
        H = GH + 10;
    }
    SetBounds(Left(), Top(), W, H);
    if (MaskPicture) {
        HRGN rgn = CreateNinePartMaskRegion(pw->LTPoint, pw->RTPoint, pw->LBPoint, pw->RBPoint, pw->ItemsRect,
                                            NewLTPoint, NewRTPoint, NewLBPoint, NewRBPoint, NewItemsRect,
                                            MaskPicture, W, H);
        // The window owns the region it is given; ours is the copy we keep for deleting.
        if (FRgn) DeleteObject(FRgn);
        FRgn = nullptr;
        if (rgn) {
            FRgn = CreateRectRgn(0, 0, 0, 0);
            CombineRgn(FRgn, rgn, nullptr, RGN_COPY);
        }
        SetWindowRgn(Handle(), rgn, TRUE);
    }
}

void TbsSkinImagesMenuPopupWindow::Show(const TRect& PopupRect) {
    LayoutAndSize();
    gui::TCustomForm* ref = gui::Screen ? gui::Screen->ActiveForm() : nullptr;
    if (!ref && gui::Application && gui::Application->MainForm() && gui::Application->MainForm()->Visible())
        ref = gui::Application->MainForm();
    if (!ref) ref = dynamic_cast<gui::TCustomForm*>(ImagesMenu->Owner());
    gui::TRect wa{};
    GetMonitorArea(ref && ref->HandleAllocated() ? ref->Handle() : nullptr, true, wa);
    int x = PopupRect.Left, y = PopupRect.Bottom;
    if (y + Height() > wa.bottom) y = PopupRect.Top - Height();
    if (x + Width() > wa.right) x = wa.right - Width();
    x = std::max<int>(x, wa.left);
    y = std::max<int>(y, wa.top);

    HWND h = Handle();
    bool layered = IsLayeredWindowSupported() && ImagesMenu->AlphaBlend;
    bool fade = layered && ImagesMenu->AlphaBlendAnimation;
    if (layered) {
        SetWindowLong(h, GWL_EXSTYLE, GetWindowLong(h, GWL_EXSTYLE) | WS_EX_LAYERED);
        SetLayeredWindowAttributes(h, 0, fade ? 0 : ImagesMenu->AlphaBlendValue, LWA_ALPHA);
    }
    SetBounds(x, y, Width(), Height());
    SetWindowPos(h, HWND_TOPMOST, x, y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    SetVisible(true);
    if (fade) {
        gui::Application->ProcessMessages();
        int target = ImagesMenu->AlphaBlendValue;
        for (int a = 0; a < target;) {
            a = std::min(a + 10, target);
            SetLayeredWindowAttributes(h, 0, static_cast<BYTE>(a), LWA_ALPHA);
            if (a < target) os::SleepMs(6);
        }
    }
    if (gui::Application) {
        OldAppMessage = gui::Application->OnMessage;
        gui::Application->OnMessage = [this](MSG& m, bool& handled) { AppMessage(m, handled); };
        appHooked_ = true;
    }
    SetCapture(h);
}

void TbsSkinImagesMenuPopupWindow::HideHint() {
    if (ImagesMenu->ShowHints && ImagesMenu->SkinHint()) ImagesMenu->SkinHint()->HideHint();
}

void TbsSkinImagesMenuPopupWindow::Hide(bool AProcessEvents) {
    HideHint();
    if (HandleAllocated())
        SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
                     SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_HIDEWINDOW);
    SetVisible(false);
    if (appHooked_) {
        gui::Application->OnMessage = std::move(OldAppMessage);
        OldAppMessage = nullptr;
        appHooked_ = false;
    }
    if (HandleAllocated() && GetCapture() == Handle()) ReleaseCapture();
    if (ImagesMenu->FPopupWindow.get() == this) ImagesMenu->CloseWindow(AProcessEvents);
}

void TbsSkinImagesMenuPopupWindow::AppMessage(MSG& m, bool& handled) {
    if (m.message == WM_KEYDOWN) {
        int key = static_cast<int>(m.wParam);
        m.message = WM_NULL;
        handled = true;
        ProcessKey(key);
    } else if (ClosesGrid(m.message)) {
        Hide(false);
    }
}

int TbsSkinImagesMenuPopupWindow::GetItemFromPoint(TPoint P) const {
    TbsImagesMenuItems* items = ImagesMenu->ImagesItems();
    for (int i = 0; i < items->Count(); ++i)
        if (!items->Items(i)->Header && Inside(items->Items(i)->ItemRect, P)) return i;
    return -1;
}

void TbsSkinImagesMenuPopupWindow::SetHot(int Index) {
    if (Index == MouseInItem) return;
    OldMouseInItem = MouseInItem;
    MouseInItem = Index;
    Invalidate();
}

void TbsSkinImagesMenuPopupWindow::ProcessKey(int KeyCode) {
    TbsImagesMenuItems* items = ImagesMenu->ImagesItems();
    const int n = items->Count();
    auto header = [&](int i) { return items->Items(i)->Header; };
    // Headers are never hot: every move lands on a cell or a button row, or on nothing when
    // the grid holds only headers.
    auto firstFrom = [&](int i) {
        for (; i < n; ++i)
            if (!header(i)) return i;
        return -1;
    };
    auto lastFrom = [&](int i) {
        for (; i >= 0; --i)
            if (!header(i)) return i;
        return -1;
    };
    const int hot = MouseInItem;
    switch (KeyCode) {
    case VK_RETURN:
    case VK_SPACE:
        if (hot != -1) ImagesMenu->ItemIndex = hot;
        Hide(true);
        return;
    case VK_ESCAPE:
        Hide(false);
        return;
    case VK_LEFT: {
        int prev = hot <= 0 ? -1 : lastFrom(hot - 1);
        SetHot(prev != -1 ? prev : lastFrom(n - 1));
        return;
    }
    case VK_RIGHT: {
        int next = hot == -1 || hot >= n - 1 ? -1 : firstFrom(hot + 1);
        SetHot(next != -1 ? next : firstFrom(0));
        return;
    }
    case VK_UP: {
        if (hot == -1) {
            SetHot(lastFrom(n - 1));
            return;
        }
        const TRect& r = items->Items(hot)->ItemRect;
        for (int i = hot - 1; i >= 0; --i) {
            TbsImagesMenuItem* it = items->Items(i);
            if (!it->Header && it->ItemRect.Top < r.Top && (it->Button || it->ItemRect.Left == r.Left)) {
                SetHot(i);
                return;
            }
        }
        return;
    }
    case VK_DOWN: {
        if (hot == -1) {
            SetHot(firstFrom(0));
            return;
        }
        const TRect& r = items->Items(hot)->ItemRect;
        for (int i = hot + 1; i < n; ++i) {
            TbsImagesMenuItem* it = items->Items(i);
            if (!it->Header && it->ItemRect.Top > r.Top && (it->Button || it->ItemRect.Left == r.Left)) {
                SetHot(i);
                return;
            }
        }
        return;
    }
    default:
        return;
    }
}

// --- mouse -----------------------------------------------------------------------------------

void TbsSkinImagesMenuPopupWindow::MouseMove(gui::TShiftState Shift, int X, int Y) {
    gui::TCustomControl::MouseMove(Shift, X, Y);
    int i = GetItemFromPoint(Point(X, Y));
    if (i == -1 && ImagesMenu->SkinHint()) ImagesMenu->SkinHint()->HideHint();
    if (i == MouseInItem) return;
    SetHot(i);
    if (ImagesMenu->ShowHints && ImagesMenu->SkinHint() && i != -1) {
        ImagesMenu->SkinHint()->HideHint();
        const std::string& hint = ImagesMenu->ImagesItems()->Items(i)->Hint;
        if (!hint.empty()) ImagesMenu->SkinHint()->ActivateHint2(hint);
    }
}

void TbsSkinImagesMenuPopupWindow::MouseDown(gui::TMouseButton Button, gui::TShiftState Shift, int X, int Y) {
    gui::TCustomControl::MouseDown(Button, Shift, X, Y);
    HideHint();
    FDown = true;
    FItemDown = GetItemFromPoint(Point(X, Y)) != -1;
    Invalidate();
}

void TbsSkinImagesMenuPopupWindow::MouseUp(gui::TMouseButton Button, gui::TShiftState Shift, int X, int Y) {
    gui::TCustomControl::MouseUp(Button, Shift, X, Y);
    int i = GetItemFromPoint(Point(X, Y));
    if (FDown && i != -1) {
        ImagesMenu->ItemIndex = i;
        Hide(true);
        return;
    }
    ReleaseCapture();
    SetCapture(Handle());
}

void TbsSkinImagesMenuPopupWindow::Dispatch(gui::TMessage& m) {
    switch (m.Msg) {
    case WM_MOUSEACTIVATE:
        m.Result = MA_NOACTIVATE;
        return;
    case WM_ERASEBKGND:
        m.Result = 1;
        return;
    case gui::CM_MOUSEENTER:
        return;
    case gui::CM_MOUSELEAVE:
        HideHint();
        SetHot(-1);
        return;
    default:
        break;
    }
    gui::TCustomControl::Dispatch(m);
}

// Under the capture a press anywhere arrives here: off the window it closes the grid.
void TbsSkinImagesMenuPopupWindow::WndProc(gui::TMessage& m) {
    UINT msg = m.Msg;
    gui::TCustomControl::WndProc(m);
    if (msg != WM_LBUTTONDOWN && msg != WM_LBUTTONDBLCLK) return;
    POINT p;
    GetCursorPos(&p);
    if (HandleAllocated() && WindowFromPoint(p) != Handle()) Hide(false);
}

// --- painting --------------------------------------------------------------------------------

void TbsSkinImagesMenuPopupWindow::DrawFrame(gui::TCanvas* C, const TRect& R, bool Pressed) {
    TbsDataSkinButtonControl* b = ButtonEntry();
    gui::TBitmap* picture = b ? PictureOf(ImagesMenu->SkinData(), b->PictureIndex) : nullptr;
    if (picture) {
        TRect src = Pressed && !Blank(b->DownSkinRect) ? b->DownSkinRect : b->ActiveSkinRect;
        if (Blank(src)) src = b->SkinRect;
        int dw = R.Width() - src.Width(), dh = R.Height() - src.Height();
        gui::TBitmap frame;
        frame.SetSize(R.Width(), R.Height());
        BuildNinePartImage(b->LTPoint, b->RTPoint, b->LBPoint, b->RBPoint, b->ClRect, b->LTPoint,
                           Point(b->RTPoint.X + dw, b->RTPoint.Y), Point(b->LBPoint.X, b->LBPoint.Y + dh),
                           Point(b->RBPoint.X + dw, b->RBPoint.Y + dh),
                           Rect(b->ClRect.Left, b->ClRect.Top, b->ClRect.Right + dw, b->ClRect.Bottom + dh),
                           &frame, picture, src, R.Width(), R.Height(), true, b->LeftStretch, b->TopStretch,
                           b->RightStretch, b->BottomStretch, b->StretchEffect, b->StretchType);
        C->Draw(R.Left, R.Top, &frame);
        return;
    }
    C->Brush()->SetStyle(gui::bsSolid);
    C->Brush()->SetColor(Pressed ? RGB(133, 147, 181) : RGB(182, 189, 210));
    C->FillRect(ToGuiRect(R));
    C->Brush()->SetColor(RGB(0, 0, 128));
    C->FrameRect(ToGuiRect(R));
}

void TbsSkinImagesMenuPopupWindow::DrawCaption(gui::TCanvas* C, const TRect& R, const std::string& Text,
                                               int State) {
    TbsSkinData* sd = ImagesMenu->SkinData();
    TbsDataSkinButtonControl* b = ButtonEntry();
    TbsDataSkinMenuItem* mi = MenuItemEntry(sd);
    gui::TFont* f = C->Font();
    if (b && mi) {
        if (ImagesMenu->UseSkinFont) {
            f->SetName(b->FontName);
            f->SetHeight(b->FontHeight);
            f->SetStyle(b->FontStyle);
        } else {
            f->Assign(ImagesMenu->DefaultFont());
        }
        f->SetCharset(sd->ResourceStrData() ? static_cast<uint8_t>(sd->ResourceStrData()->CharSet)
                                            : ImagesMenu->DefaultFont()->Charset());
        f->SetColor(State == kPressed ? b->DownFontColor
                    : State == kHot   ? b->ActiveFontColor
                                      : mi->FontColor);
    } else {
        f->Assign(ImagesMenu->DefaultFont());
        f->SetColor(gui::clWindowText);
    }
    C->Brush()->SetStyle(gui::bsClear);
    gui::TRect r = ToGuiRect(R);
    bool fits = C->TextWidth(Text) <= R.Width();
    DrawWideText(C, Text, r, DT_SINGLELINE | DT_VCENTER | (fits ? DT_CENTER : DT_LEFT));
}

void TbsSkinImagesMenuPopupWindow::DrawHeader(gui::TCanvas* C, TbsImagesMenuItem* Item) {
    TbsSkinData* sd = ImagesMenu->SkinData();
    auto* label = ControlEntry<TbsDataSkinLabelControl>(sd, "label");
    gui::TBitmap* picture = label ? PictureOf(sd, label->PictureIndex) : nullptr;
    const TRect& R = Item->ItemRect;
    C->Brush()->SetStyle(gui::bsClear);
    if (!picture || R.Width() <= 0) {
        gui::TRect r = ToGuiRect(R);
        DrawWideText(C, Item->Caption, r, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
        return;
    }
    gui::TBitmap strip;
    BuildHorzThreePartImage(label->LTPoint.X, label->SkinRect.Width() - label->RTPoint.X, &strip, picture,
                            label->SkinRect, R.Width(), label->SkinRect.Height(), label->StretchEffect);
    gui::TCanvas* sc = strip.Canvas();
    sc->Font()->SetName(label->FontName);
    sc->Font()->SetHeight(label->FontHeight);
    sc->Font()->SetStyle(label->FontStyle);
    sc->Font()->SetColor(label->FontColor);
    sc->Brush()->SetStyle(gui::bsClear);
    gui::TRect r{label->ClRect.Left, label->ClRect.Top,
                 label->ClRect.Right + R.Width() - label->SkinRect.Width(), label->ClRect.Bottom};
    DrawWideText(sc, Item->Caption, r, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
    C->Draw(R.Left, R.Top, &strip);
}

void TbsSkinImagesMenuPopupWindow::Paint() {
    const int W = Width(), H = Height();
    if (W <= 0 || H <= 0) return;
    TbsDataSkinPopupWindow* pw = SkinEntry();
    FSkinSupport = pw != nullptr && WindowPicture;
    gui::TBitmap buffer;
    buffer.SetSize(W, H);
    gui::TCanvas* c = buffer.Canvas();
    if (FSkinSupport) {
        BuildNinePartWindowImage(pw->LTPoint, pw->RTPoint, pw->LBPoint, pw->RBPoint, pw->ItemsRect,
                                 NewLTPoint, NewRTPoint, NewLBPoint, NewRBPoint, NewItemsRect, &buffer,
                                 WindowPicture, Rect(0, 0, WindowPicture->Width(), WindowPicture->Height()),
                                 W, H, true, pw->LeftStretch, pw->TopStretch, pw->RightStretch,
                                 pw->BottomStretch, pw->StretchEffect, pw->StretchType);
    } else {
        c->Pen()->SetColor(gui::clBtnShadow);
        c->Brush()->SetStyle(gui::bsSolid);
        c->Brush()->SetColor(gui::clWindow);
        c->Rectangle(0, 0, W, H);
    }
    const int chosen = ImagesMenu->ShowSelectedItem ? ImagesMenu->ItemIndex : -1;
    gui::TCustomImageList* il = ImagesMenu->Images();
    TbsImagesMenuItems* items = ImagesMenu->ImagesItems();
    for (int i = 0; i < items->Count(); ++i) {
        TbsImagesMenuItem* item = items->Items(i);
        if (item->Header) {
            DrawHeader(c, item);
            continue;
        }
        const TRect& R = item->ItemRect;
        int state = kNormal;
        if (i == chosen && !FItemDown)
            state = kPressed;
        else if (i == MouseInItem)
            state = FItemDown ? kPressed : kHot;
        if (state != kNormal) DrawFrame(c, R, state == kPressed);
        int textLeft = R.Left;
        if (il && item->ImageIndex >= 0 && item->ImageIndex < il->Count()) {
            il->Draw(c, R.Left + 5, R.Top + 5, item->ImageIndex);
            textLeft = R.Left + 5 + il->Width() + 5;
        }
        if (item->Button && !item->Caption.empty())
            DrawCaption(c, Rect(textLeft, R.Top, R.Right, R.Bottom), item->Caption, state);
    }
    Canvas()->Draw(0, 0, &buffer);
}

} // namespace skin
