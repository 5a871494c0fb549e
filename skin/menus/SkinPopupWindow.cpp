#include "skin/menus/SkinPopupWindow.h"

#include "gdi/Blit.h"
#include "gdi/Objects.h"
#include "gui/Application.h"
#include "gui/Color.h"
#include "gui/ImgList.h"
#include "gui/ShortCuts.h"
#include "os/Clock.h"
#include "skin/core/ResourceStrData.h"
#include "skin/engine/DrawUtils.h"
#include "skin/engine/MaskRegion.h"
#include "skin/engine/NinePart.h"
#include "skin/engine/SkinRect.h"
#include "skin/menus/SkinMenu.h"
#include "skin/menus/SkinMenuItem.h"
#include "win/Input.h"
#include "win/Layered.h"
#include "win/Message.h"
#include "win/Paint.h"
#include "win/Styles.h"
#include "win/Timers.h"
#include "win/Window.h"
#include "win/WindowPos.h"

#include <algorithm>

namespace skin {

namespace {

constexpr int kMarker = 10; // height of a scroll marker
constexpr uintptr_t kScrollTimer = 1;
constexpr UINT kScrollInterval = 100;

bool Inside(const TRect& r, TPoint p) {
    return p.X >= r.Left && p.X < r.Right && p.Y >= r.Top && p.Y < r.Bottom;
}

gui::TBitmap* PictureOf(TbsSkinData* sd, int index) {
    if (!sd || index < 0 || index >= static_cast<int>(sd->FActivePictures.size())) return nullptr;
    return &sd->FActivePictures[static_cast<size_t>(index)]->Bitmap();
}

TbsDataSkinMenuItem* FirstMenuItemObject(TbsSkinData* sd) {
    for (auto& o : sd->ObjectList)
        if (auto* mi = dynamic_cast<TbsDataSkinMenuItem*>(o.get())) return mi;
    return nullptr;
}

// A window device context wrapped in a canvas for the length of a drawing.
class WindowCanvas {
public:
    explicit WindowCanvas(HWND wnd) : wnd_(wnd), dc_(GetDC(wnd)) { canvas_.SetHandle(dc_); }
    ~WindowCanvas() {
        canvas_.SetHandle(nullptr);
        if (dc_) ReleaseDC(wnd_, dc_);
    }
    WindowCanvas(const WindowCanvas&) = delete;
    WindowCanvas& operator=(const WindowCanvas&) = delete;
    gui::TCanvas* operator->() { return &canvas_; }
    gui::TCanvas* get() { return &canvas_; }

private:
    HWND wnd_;
    HDC dc_;
    gui::TCanvas canvas_;
};

} // namespace

TbsSkinPopupWindow::TbsSkinPopupWindow(gui::TComponent* AOwner, TbsSkinMenu* AParentMenu,
                                       TbsDataSkinPopupWindow* AData)
    : gui::TCustomControl(AOwner), MouseTimer(nullptr), MorphTimer(nullptr), ParentMenu(AParentMenu) {
    SetVisible(false);
    // The window follows the pointer by polling and never captures it.
    ControlStyle = (ControlStyle | gui::csAcceptsControls) & ~gui::csCaptureMouse;
    MouseTimer.SetEnabled(false);
    MouseTimer.SetInterval(50);
    MouseTimer.OnTimer = [this](gui::TObject*) { MouseTimerTick(); };
    MorphTimer.SetEnabled(false);
    MorphTimer.SetInterval(20);
    MorphTimer.OnTimer = [this](gui::TObject*) { MorphTimerTick(); };
    TbsSkinData* sd = AParentMenu->SkinData();
    if (AData && AData->WindowPictureIndex != -1 && sd && !sd->Empty) {
        // Sizing and laying out a skinned window needs the menu-item object: a skin without one
        // shows its menus in the plain look throughout.
        DSMI = FirstMenuItemObject(sd);
        if (DSMI) {
            PW = AData;
            SD = sd;
            WindowPicture = PictureOf(sd, AData->WindowPictureIndex);
            MaskPicture = PictureOf(sd, AData->MaskPictureIndex);
            if (!WindowPicture) PW = nullptr, SD = nullptr, DSMI = nullptr;
        }
    }
}

TbsSkinPopupWindow::~TbsSkinPopupWindow() {
    MouseTimer.SetEnabled(false);
    MorphTimer.SetEnabled(false);
    ItemList.clear();
    if (FRgn) DeleteObject(FRgn);
}

void TbsSkinPopupWindow::CreateParams(gui::TCreateParams& p) {
    gui::TCustomControl::CreateParams(p);
    p.Style = WS_POPUP;
    p.ExStyle = WS_EX_TOOLWINDOW;
    p.WndParent = nullptr;
    p.WindowClass.style |= CS_SAVEBITS | CS_DROPSHADOW;
}

// --- building, sizing, placing ---------------------------------------------------------------

void TbsSkinPopupWindow::SetWindowFont() {
    gui::TCanvas* c = Canvas();
    if (PW && DSMI && ParentMenu->UseSkinFont) {
        c->Font()->SetHeight(DSMI->FontHeight);
        c->Font()->SetStyle(DSMI->FontStyle);
        c->Font()->SetName(DSMI->FontName);
    } else {
        c->SetFont(ParentMenu->DefaultMenuItemFont());
    }
    TbsSkinData* sd = ParentMenu->SkinData();
    c->Font()->SetCharset(sd && sd->ResourceStrData() ? static_cast<uint8_t>(sd->ResourceStrData()->CharSet)
                                                      : ParentMenu->DefaultMenuItemFont()->Charset());
}

void TbsSkinPopupWindow::BuildRows(gui::TMenuItem* AItem, gui::TMenuItem* AItem2, int StartIndex) {
    ItemList.clear();
    auto add = [&](gui::TMenuItem* parent, int from) {
        if (!parent) return;
        gui::TMenu* menu = parent->GetParentMenu();
        if (menu && menu->AutoLineReduction == gui::TMenuAutoFlag::maAutomatic) parent->RethinkLines();
        if (parent == AItem) ImgL = menu ? menu->Images() : nullptr;
        for (int i = std::max(from, 0); i < parent->Count(); ++i) {
            gui::TMenuItem* child = parent->Items(i);
            if (child->Visible()) ItemList.push_back(std::make_unique<TbsSkinMenuItem>(this, child, DSMI));
        }
    };
    add(AItem, StartIndex);
    if (AItem2) add(AItem2, StartIndex - (AItem ? AItem->Count() : 0));
}

void TbsSkinPopupWindow::SizeAndPlace(const TRect& R, bool PopupByItem, bool PopupUp, bool Two) {
    SetWindowFont();
    // Measured on a bitmap: the window has no device context of its own before it shows.
    gui::TBitmap measure;
    measure.SetSize(1, 1);
    measure.Canvas()->SetFont(Canvas()->Font());
    int textWidth = 0;
    for (auto& row : ItemList) {
        std::string text = row->MenuItem->Caption();
        if (row->MenuItem->ShortCut()) text += "  " + gui::ShortCutToText(row->MenuItem->ShortCut());
        gui::TRect r{};
        DrawWideText(measure.Canvas(), text, r, DT_CALCRECT | DT_CENTER | DT_VCENTER);
        textWidth = std::max<int>(textWidth, r.right - r.left + 2);
    }
    GlyphWidth = ImgL ? ImgL->Width() + 5 : 19;
    int W = textWidth + GlyphWidth + 19;
    if (PW)
        W += WindowPicture->Width() - PW->ItemsRect.Width() + DSMI->TextRct.Left +
             (DSMI->SkinRect.Width() - DSMI->TextRct.Right);
    else
        W += 10;

    int N = ItemCount(), L = 0;
    for (auto& row : ItemList) L += row->RowHeight();
    VisibleStartIndex = 0;
    VisibleCount = N;
    Scroll = Scroll2 = false;
    int frameH = PW ? WindowPicture->Height() - PW->ItemsRect.Height() : (Two ? 6 : 4);
    int H;
    int limit = ParentMenu->MaxMenuItemsInWindow;
    if (limit > 0 && limit < N) {
        int rowH = PW ? DSMI->SkinRect.Height() : ParentMenu->DefaultMenuItemHeight();
        H = rowH * limit + 2 * kMarker + frameH;
        Scroll = Scroll2 = true;
    } else {
        H = L + frameH;
    }
    const TRect& WA = ParentMenu->WorkArea();
    if (H > WA.Height()) {
        H = WA.Height();
        Scroll = true;
    }

    if (PW) {
        int pw = WindowPicture->Width(), ph = WindowPicture->Height();
        NewLTPoint = PW->LTPoint;
        NewRTPoint = Point(W + PW->RTPoint.X - pw, PW->RTPoint.Y);
        NewLBPoint = Point(PW->LBPoint.X, H + PW->LBPoint.Y - ph);
        NewRBPoint = Point(W + PW->RBPoint.X - pw, H + PW->RBPoint.Y - ph);
        NewItemsRect = Rect(PW->ItemsRect.Left, PW->ItemsRect.Top, W + PW->ItemsRect.Right - pw,
                            H + PW->ItemsRect.Bottom - ph);
    } else {
        NewItemsRect = Rect(2, 2, W - 2, H - 2);
    }
    SetBounds(Left(), Top(), W, H);
    LayoutRows();
    if (MaskPicture) {
        HRGN rgn = CreateNinePartMaskRegion(PW->LTPoint, PW->RTPoint, PW->LBPoint, PW->RBPoint, PW->ItemsRect,
                                            NewLTPoint, NewRTPoint, NewLBPoint, NewRBPoint, NewItemsRect,
                                            MaskPicture, W, H);
        // The window owns the region it is given; ours is the copy we keep for deleting.
        HRGN old = FRgn;
        FRgn = nullptr;
        if (rgn) {
            FRgn = CreateRectRgn(0, 0, 0, 0);
            CombineRgn(FRgn, rgn, nullptr, RGN_COPY);
        }
        SetWindowRgn(Handle(), rgn, TRUE);
        if (old) DeleteObject(old);
    }

    // Placement: vertically first, then beside or under the anchor.
    int RL = R.Left, RT = R.Top, RR = R.Right, RB = R.Bottom;
    int mid = WA.Top + WA.Height() / 2, T = NewItemsRect.Top;
    bool overlap = false;
    if (Scroll && !Scroll2) {
        ShowY = WA.Top;
    } else if (PopupByItem) {
        if (RT + H - T <= WA.Bottom)
            ShowY = RT - T;
        else if (RT < mid)
            ShowY = WA.Bottom - H;
        else
            ShowY = std::max<int>(RB - H + T, WA.Top);
    } else if (PopupUp) {
        if (RT - H >= WA.Top) {
            ShowY = RT - H;
        } else if (RT < mid) {
            if (RB + H <= WA.Bottom) {
                ShowY = RB;
            } else {
                ShowY = WA.Bottom - H;
                overlap = true;
            }
        } else {
            ShowY = WA.Top;
            overlap = true;
        }
    } else if (RB + H <= WA.Bottom) {
        ShowY = RB;
    } else if (mid > RT) {
        ShowY = WA.Bottom - H;
        overlap = true;
    } else if (RT - H >= WA.Top) {
        ShowY = RT - H;
    } else {
        ShowY = WA.Top;
        overlap = true;
    }
    if (PopupByItem || (Scroll && !Scroll2) || overlap)
        ShowX = RR + W + 1 <= WA.Right ? RR + 1 : RL - W - 1;
    else
        ShowX = RL + W > WA.Right ? WA.Right - W : std::max<int>(RL, WA.Left);
}

void TbsSkinPopupWindow::Show(const TRect& R, gui::TMenuItem* AItem, int StartIndex, bool PopupByItem,
                              bool PopupUp) {
    if (ParentMenu->AlphaBlend && ParentMenu->AlphaBlendAnimation && ParentMenu->First())
        gui::Application->ProcessMessages();
    BuildRows(AItem, nullptr, StartIndex);
    SizeAndPlace(R, PopupByItem, PopupUp, false);
    FinishShow();
}

void TbsSkinPopupWindow::Show2(const TRect& R, gui::TMenuItem* AItem, gui::TMenuItem* AItem2, int StartIndex,
                               bool PopupByItem, bool PopupUp) {
    if (ParentMenu->AlphaBlend && ParentMenu->AlphaBlendAnimation && ParentMenu->First())
        gui::Application->ProcessMessages();
    BuildRows(AItem, AItem2, StartIndex);
    SizeAndPlace(R, PopupByItem, PopupUp, true);
    FinishShow();
}

void TbsSkinPopupWindow::FinishShow() {
    HWND h = Handle();
    bool fade = ParentMenu->AlphaBlend && ParentMenu->AlphaBlendAnimation && ParentMenu->First();
    if (ParentMenu->AlphaBlend) {
        SetWindowLong(h, GWL_EXSTYLE, GetWindowLong(h, GWL_EXSTYLE) | WS_EX_LAYERED);
        SetLayeredWindowAttributes(h, 0, fade ? 0 : ParentMenu->AlphaBlendValue, LWA_ALPHA);
    }
    SetBounds(ShowX, ShowY, Width(), Height());
    SetWindowPos(h, HWND_TOPMOST, ShowX, ShowY, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    SetVisible(true);
    shown_ = true;
    if (fade) {
        // About fifteen steps, each after more than 5 ms of the one clock.
        int target = ParentMenu->AlphaBlendValue;
        int step = std::max(target / 15, 1);
        for (int a = 0; a < target;) {
            os::SleepMs(6);
            a = std::min(a + step, target);
            SetLayeredWindowAttributes(h, 0, static_cast<BYTE>(a), LWA_ALPHA);
        }
    }
    MouseTimer.SetEnabled(true);
    ActiveItem = -1;
    for (int i = 0; i < ItemCount(); ++i) {
        TbsSkinMenuItem* row = Items(i);
        if (!row->Selectable()) continue;
        row->WaitCommand = true;
        ActiveItem = i;
        row->MouseEnter(true);
        break;
    }
}

void TbsSkinPopupWindow::Hide() {
    if (HandleAllocated()) {
        SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
                     SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_HIDEWINDOW);
        KillTimer(Handle(), kScrollTimer);
    }
    MouseTimer.SetEnabled(false);
    MorphTimer.SetEnabled(false);
    SetVisible(false);
    shown_ = false;
}

// --- rows ------------------------------------------------------------------------------------

void TbsSkinPopupWindow::LayoutRows() {
    int top = NewItemsRect.Top + (Scroll ? kMarker : 0);
    int bottom = NewItemsRect.Bottom - (Scroll ? kMarker : 0);
    VisibleCount = 0;
    for (int i = VisibleStartIndex; i < ItemCount(); ++i) {
        TbsSkinMenuItem* row = Items(i);
        int h = row->RowHeight();
        row->ObjectRect = Rect(NewItemsRect.Left, top, NewItemsRect.Right, top + h);
        if (top + h > bottom) break;
        row->FVisible = true;
        ++VisibleCount;
        top += h;
    }
    if (Scroll)
        for (int i = 0; i < ItemCount(); ++i)
            if (i < VisibleStartIndex || i >= VisibleStartIndex + VisibleCount) Items(i)->FVisible = false;
}

void TbsSkinPopupWindow::DrawRow(TbsSkinMenuItem* Item) {
    if (!shown_ || !HandleAllocated()) return;
    WindowCanvas c(Handle());
    Item->Draw(c.get());
}

// The rows that fit between the markers, counted from the end; the band starts below the up
// marker, which lies under the frame's top edge, not at the window's top.
int TbsSkinPopupWindow::LastPageStart() const {
    int value = NewItemsRect.Bottom - kMarker, counted = 0;
    for (int i = ItemCount() - 1; i >= 0; --i) {
        value -= Items(i)->RowHeight();
        if (value < NewItemsRect.Top + kMarker) break;
        ++counted;
    }
    return ItemCount() - counted;
}

void TbsSkinPopupWindow::ScrollUp(bool Wrap) {
    int old = VisibleStartIndex;
    if (VisibleStartIndex > 0)
        --VisibleStartIndex;
    else if (Wrap)
        VisibleStartIndex = LastPageStart();
    if (VisibleStartIndex == old) return;
    LayoutRows();
    Invalidate();
}

void TbsSkinPopupWindow::ScrollDown(bool Wrap) {
    int old = VisibleStartIndex;
    if (CanScrollDown())
        ++VisibleStartIndex;
    else if (Wrap)
        VisibleStartIndex = 0;
    if (VisibleStartIndex == old) return;
    LayoutRows();
    Invalidate();
}

void TbsSkinPopupWindow::CloseChildLevels() {
    int index = ParentMenu->IndexOf(this);
    if (index + 1 < ParentMenu->LevelCount()) ParentMenu->CloseFrom(index + 1);
    for (auto& row : ItemList) {
        if (!row->Down) continue;
        row->Down = false;
        if (!row->EnableAnimation() || row->MI->InActiveAnimation) {
            row->StartItemEffect();
        } else {
            row->CurrentFrame = 0;
            DrawRow(row.get());
        }
    }
}

// --- painting --------------------------------------------------------------------------------

void TbsSkinPopupWindow::CreateWindowImage(gui::TBitmap& B, bool DrawClient) {
    int W = Width(), H = Height();
    B.SetSize(W, H);
    if (PW) {
        TRect whole = Rect(0, 0, WindowPicture->Width(), WindowPicture->Height());
        BuildNinePartWindowImage(PW->LTPoint, PW->RTPoint, PW->LBPoint, PW->RBPoint, PW->ItemsRect,
                                 NewLTPoint, NewRTPoint, NewLBPoint, NewRBPoint, NewItemsRect, &B,
                                 WindowPicture, whole, W, H, DrawClient, PW->LeftStretch, PW->TopStretch,
                                 PW->RightStretch, PW->BottomStretch, PW->StretchEffect, PW->StretchType);
        return;
    }
    gui::TCanvas* c = B.Canvas();
    int a = ImgL ? GlyphWidth + 2 : 21;
    c->Brush()->SetStyle(gui::bsSolid);
    c->Brush()->SetColor(gui::clBtnFace);
    c->FillRect(gui::Rect(0, 0, a, H));
    c->Brush()->SetColor(gui::clWindow);
    c->FillRect(gui::Rect(a, 0, W, H));
    c->Brush()->SetColor(gui::clBtnShadow);
    c->FrameRect(gui::Rect(0, 0, W, H));
    c->Brush()->SetColor(gui::clWindow);
    c->FrameRect(gui::Rect(1, 1, W - 1, H - 1));
}

TRect TbsSkinPopupWindow::UpMarkerRect() const {
    return Rect(NewItemsRect.Left, NewItemsRect.Top, NewItemsRect.Right, NewItemsRect.Top + kMarker);
}

TRect TbsSkinPopupWindow::DownMarkerRect() const {
    return Rect(NewItemsRect.Left, NewItemsRect.Bottom - kMarker, NewItemsRect.Right, NewItemsRect.Bottom);
}

void TbsSkinPopupWindow::DrawMarkerBackground(gui::TCanvas* C, const TRect& R) {
    if (!SD || R.Width() <= 0 || R.Height() <= 0) return;
    int index = SD->GetIndex("menuitem");
    if (index < 0) index = SD->GetIndex("MENUITEM");
    if (index < 0) return;
    auto* mi = dynamic_cast<TbsDataSkinMenuItem*>(SD->ObjectList[static_cast<size_t>(index)].get());
    if (!mi) return;
    if (DSMI->InActiveTransparent && FPaintBuffer) {
        C->CopyRect(ToGuiRect(R), FPaintBuffer->Canvas(), ToGuiRect(R));
        return;
    }
    gui::TBitmap* picture = PictureOf(SD, mi->ActivePictureIndex);
    if (!picture) return;
    gui::TBitmap b;
    BuildHorzThreePartImage(mi->ItemLO, mi->ItemRO, &b, picture, mi->SkinRect, R.Width(), R.Height(),
                            mi->InActiveStretchEffect);
    C->Draw(R.Left, R.Top, &b);
}

void TbsSkinPopupWindow::DrawScrollMarkers(gui::TCanvas* C) {
    int W = Width(), H = Height();
    TRect up = PW ? UpMarkerRect() : Rect(3, 3, W - 3, 13);
    TRect down = PW ? DownMarkerRect() : Rect(3, H - 10, W - 3, H - 3);
    if (PW) {
        DrawMarkerBackground(C, up);
        DrawMarkerBackground(C, down);
    }
    auto colour = [&](int code) {
        if (PW) return ScrollCode == code ? PW->ScrollMarkerActiveColor : PW->ScrollMarkerColor;
        return ScrollCode == code ? gui::clBtnText : gui::clBtnShadow;
    };
    DrawArrow(C, ToGuiRect(up), colour(1), 3);
    DrawArrow(C, ToGuiRect(down), colour(2), 4);
}

void TbsSkinPopupWindow::RedrawMarkers() {
    if (!shown_ || !HandleAllocated()) return;
    WindowCanvas c(Handle());
    if (!PW) {
        // The plain markers draw only their triangles: clear what the last colour left.
        gui::TBitmap b;
        CreateWindowImage(b, true);
        c->CopyRect(gui::Rect(3, 3, Width() - 3, 13), b.Canvas(), gui::Rect(3, 3, Width() - 3, 13));
        gui::TRect down = gui::Rect(3, Height() - 10, Width() - 3, Height() - 3);
        c->CopyRect(down, b.Canvas(), down);
    }
    DrawScrollMarkers(c.get());
}

void TbsSkinPopupWindow::PaintMenu(HDC DC) {
    gui::TBitmap b;
    CreateWindowImage(b, Scroll);
    if (PW && DSMI->InActiveTransparent) {
        if (!FPaintBuffer) FPaintBuffer = std::make_unique<gui::TBitmap>();
        CreateWindowImage(*FPaintBuffer, true);
    }
    for (int i = VisibleStartIndex; i < VisibleStartIndex + VisibleCount && i < ItemCount(); ++i)
        Items(i)->Draw(b.Canvas());
    if (Scroll) {
        DrawScrollMarkers(b.Canvas());
        if (VisibleCount > 0) {
            int last = Items(VisibleStartIndex + VisibleCount - 1)->ObjectRect.Bottom;
            if (last < NewItemsRect.Bottom - kMarker)
                DrawMarkerBackground(b.Canvas(), Rect(NewItemsRect.Left, last, NewItemsRect.Right,
                                                      NewItemsRect.Bottom - kMarker));
        }
    }
    BitBlt(DC, 0, 0, b.Width(), b.Height(), b.Canvas()->Handle(), 0, 0, SRCCOPY);
}

// --- pointer ---------------------------------------------------------------------------------

void TbsSkinPopupWindow::StartScroll() {
    ParentMenu->CloseFrom(ParentMenu->IndexOf(this) + 1);
    KillTimer(Handle(), kScrollTimer);
    SetTimer(Handle(), kScrollTimer, kScrollInterval, nullptr);
}

void TbsSkinPopupWindow::StopScroll() {
    ScrollCode = 0;
    RedrawMarkers();
    KillTimer(Handle(), kScrollTimer);
}

void TbsSkinPopupWindow::MouseTimerTick() {
    POINT p;
    GetCursorPos(&p);
    POINT screen = p;
    ::ScreenToClient(Handle(), &p);
    if (p.x == OMX && p.y == OMY) return;
    if (WindowFromPoint(screen) == Handle()) {
        TrackPointer(Point(p.x, p.y));
        if (!shown_) return; // the move closed this level
    } else if (Scroll) {
        ScrollCode = 0;
        RedrawMarkers();
    }
    OMX = p.x;
    OMY = p.y;
}

void TbsSkinPopupWindow::TrackPointer(TPoint P) {
    if (Scroll) {
        if (Inside(UpMarkerRect(), P) && ScrollCode == 0 && CanScrollUp()) {
            ScrollCode = 1;
            RedrawMarkers();
            StartScroll();
        } else if (Inside(DownMarkerRect(), P) && ScrollCode == 0 && CanScrollDown()) {
            ScrollCode = 2;
            RedrawMarkers();
            StartScroll();
        } else if (ScrollCode != 0 && !Inside(UpMarkerRect(), P) && !Inside(DownMarkerRect(), P)) {
            StopScroll();
        }
    }
    if (ItemList.empty()) return;
    OldActiveItem = ActiveItem;
    for (int i = 0; i < ItemCount(); ++i)
        if (Items(i)->FVisible && Inside(Items(i)->ObjectRect, P)) {
            ActiveItem = i;
            break;
        }
    if (ActiveItem >= ItemCount()) ActiveItem = -1;
    if (ActiveItem == OldActiveItem) {
        if (ActiveItem == -1) return;
        TbsSkinMenuItem* row = Items(ActiveItem);
        if (row->WaitCommand) {
            row->WaitCommand = false;
            if (row->MenuItem->Count() > 0) row->MouseEnter(false);
        }
        return;
    }
    if (OldActiveItem >= 0 && Items(OldActiveItem)->Selectable()) Items(OldActiveItem)->MouseLeave();
    if (ActiveItem >= 0 && ActiveItem < ItemCount() && Items(ActiveItem)->Selectable())
        Items(ActiveItem)->MouseEnter(false);
}

// Under the desktop's pointer grab a press anywhere off our windows arrives here, in this
// window's coordinates: it closes the menu, as a press on the desktop does.
void TbsSkinPopupWindow::MouseDown(gui::TMouseButton, gui::TShiftState, int X, int Y) {
    if (X < 0 || Y < 0 || X >= Width() || Y >= Height()) ParentMenu->Hide();
}

void TbsSkinPopupWindow::MouseUp(gui::TMouseButton Button, gui::TShiftState, int X, int Y) {
    MouseButtonUp(Button, X, Y);
}

void TbsSkinPopupWindow::MouseButtonUp(gui::TMouseButton Button, int X, int Y) {
    TrackPointer(Point(X, Y));
    if (ActiveItem == -1 || Button != gui::mbLeft || ActiveItem >= ItemCount()) return;
    TbsSkinMenuItem* row = Items(ActiveItem);
    if (row->FVisible && Inside(row->ObjectRect, Point(X, Y)) && !row->IsSeparator()) row->MouseDown(X, Y);
}

void TbsSkinPopupWindow::MorphTimerTick() {
    bool changed = false;
    for (auto& row : ItemList) {
        if (row->EnableMorphing()) {
            if (row->CanMorphing()) {
                row->DoMorphing();
                changed = true;
            }
        } else if (row->EnableAnimation()) {
            if (row->Active && row->CurrentFrame <= row->MI->FrameCount) {
                ++row->CurrentFrame;
                DrawRow(row.get());
                changed = true;
            } else if (!row->Active && row->CurrentFrame > 0) {
                --row->CurrentFrame;
                DrawRow(row.get());
                changed = true;
            }
        }
    }
    if (!changed) MorphTimer.SetEnabled(false);
}

// --- keys ------------------------------------------------------------------------------------

void TbsSkinPopupWindow::NextRow() {
    if (Scroll && ScrollCode == 0 && ActiveItem >= 0 && IsLastVisible(ActiveItem)) ScrollDown(true);
    OldActiveItem = ActiveItem;
    int start = ActiveItem == -1 ? 0 : ActiveItem + 1;
    if (start == ItemCount()) start = 0;
    for (int i = start; i < ItemCount(); ++i) {
        if (Items(i)->Selectable()) {
            ActiveItem = i;
            break;
        }
        if (Scroll && ScrollCode == 0 && IsLastVisible(i)) ScrollDown(true);
    }
    if (ActiveItem == OldActiveItem) return;
    Items(ActiveItem)->MouseEnter(true);
    if (OldActiveItem != -1) Items(OldActiveItem)->MouseLeave();
}

void TbsSkinPopupWindow::PrevRow() {
    if (Scroll && ScrollCode == 0 && ActiveItem >= 0 && ActiveItem == VisibleStartIndex) ScrollUp(true);
    OldActiveItem = ActiveItem;
    int start = ActiveItem == -1 ? ItemCount() - 1 : ActiveItem - 1;
    if (start == -1) start = ItemCount() - 1;
    for (int i = start; i >= 0; --i) {
        if (Items(i)->Selectable()) {
            ActiveItem = i;
            break;
        }
        if (Scroll && ScrollCode == 0 && i == VisibleStartIndex) ScrollUp(true);
    }
    if (ActiveItem == OldActiveItem) return;
    Items(ActiveItem)->MouseEnter(true);
    if (OldActiveItem != -1) Items(OldActiveItem)->MouseLeave();
}

void TbsSkinPopupWindow::PopupKeyDown(int CharCode) {
    if (!shown_) return;
    if (Enabled()) {
        for (int i = 0; i < ItemCount(); ++i) {
            TbsSkinMenuItem* row = Items(i);
            if (!gui::IsAccel(static_cast<WPARAM>(CharCode), row->MenuItem->Caption())) continue;
            row->MouseEnter(false);
            int old = ActiveItem;
            ActiveItem = i;
            if (old != -1 && old != i) Items(old)->MouseLeave();
            row->MouseDown(0, 0);
            return;
        }
    }
    TbsSkinMenu* menu = ParentMenu;
    auto closeDeepest = [menu] {
        int n = menu->LevelCount();
        if (n >= 2) {
            TbsSkinPopupWindow* second = menu->Level(n - 2);
            if (second->ActiveItem >= 0 && second->ActiveItem < second->ItemCount())
                second->Items(second->ActiveItem)->Down = false;
        }
        menu->CloseFrom(n - 1);
    };
    switch (CharCode) {
    case VK_RETURN:
        if (ActiveItem >= 0 && ActiveItem < ItemCount()) Items(ActiveItem)->MouseDown(0, 0);
        break;
    case VK_ESCAPE:
        closeDeepest();
        break;
    case VK_LEFT:
        if (menu->LevelCount() >= 2) closeDeepest();
        break;
    case VK_UP:
        PrevRow();
        break;
    case VK_DOWN:
        NextRow();
        break;
    case VK_RIGHT:
        if (ActiveItem >= 0 && ActiveItem < ItemCount() && Items(ActiveItem)->MenuItem->Count() > 0)
            Items(ActiveItem)->MouseDown(0, 0);
        break;
    default:
        break;
    }
}

// --- messages --------------------------------------------------------------------------------

void TbsSkinPopupWindow::Dispatch(gui::TMessage& m) {
    switch (m.Msg) {
    case WM_MOUSEACTIVATE:
        m.Result = MA_NOACTIVATE;
        return;
    case WM_ERASEBKGND:
        PaintMenu(reinterpret_cast<HDC>(m.WParam));
        m.Result = 1;
        return;
    case WM_TIMER:
        gui::TCustomControl::Dispatch(m);
        if (m.WParam != kScrollTimer) return;
        if (ScrollCode == 1 && CanScrollUp())
            ScrollUp(false);
        else if (ScrollCode == 2 && CanScrollDown())
            ScrollDown(false);
        else if (ScrollCode != 0)
            StopScroll();
        return;
    default:
        break;
    }
    gui::TCustomControl::Dispatch(m);
}

} // namespace skin
