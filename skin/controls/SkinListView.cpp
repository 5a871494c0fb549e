#include "skin/controls/SkinListView.h"

#include "controls/CommCtrl.h"
#include "gui/Bitmap.h"
#include "gui/ImgList.h"
#include "gui/Messages.h"
#include "os/ScopeExit.h"
#include "skin/controls/NinePartGeometry.h"
#include "skin/controls/SkinScrollBar.h"
#include "skin/core/ResourceStrData.h"
#include "skin/core/SkinData.h"
#include "skin/engine/DrawUtils.h"
#include "skin/engine/NinePart.h"
#include "win/DefWindowProc.h"
#include "win/Message.h"
#include "win/Paint.h"
#include "win/Scroll.h"
#include "win/Styles.h"
#include "win/Window.h"
#include "win/WindowPos.h"

#include <algorithm>
#include <cstring>

namespace skin {

namespace {

// Paint-into requests of the skin library.
constexpr UINT kPaintHeaderInto = 45512;
// The header is kept wider than the list asks, so that no gap shows at its right end.
constexpr int kHeaderExtra = 25;
const gui::TColor kNavy = RGB(0, 0, 128);

bool IsZero(const TPoint& p) {
    return p.X == 0 && p.Y == 0;
}

bool EmptyRect(const TRect& r) {
    return r.Width() <= 0 || r.Height() <= 0;
}

TPoint Moved(const TPoint& p, int dx, int dy) {
    return {p.X + dx, p.Y + dy};
}

} // namespace

TbsSkinCustomListView::TbsSkinCustomListView(gui::TComponent* AOwner) : TbsSkinItemView(AOwner, "listview") {
    Font()->Assign(FDefaultFont.get());
    FHeaderInstance = MakeProcInstance(
        [this](HWND h, UINT msg, WPARAM wp, LPARAM lp) { return HeaderWndProc(h, msg, wp, lp); });
}

TbsSkinCustomListView::~TbsSkinCustomListView() {
    UnhookHeader();
    FreeProcInstance(FHeaderInstance);
}

void TbsSkinCustomListView::Notification(gui::TComponent* AComponent, gui::TOperation Operation) {
    if (Operation == gui::TOperation::opRemove && AComponent == FSD) {
        // The header's copy points into the skin that goes.
        FHIndex = -1;
        H.HPicture = nullptr;
    }
    TbsSkinItemView::Notification(AComponent, Operation);
}

void TbsSkinCustomListView::Loaded() {
    {
        os::FlagScope g(FInCheckScrollBars);
        gui::TCustomListView::Loaded();
    }
    ChangeSkinData();
}

// --- skin ----------------------------------------------------------------------------------

void TbsSkinCustomListView::BeforeChangeSkinData() {
    // Nothing may point into the skin that goes.
    FHIndex = -1;
    H.HPicture = nullptr;
}

void TbsSkinCustomListView::ChangeSkinData() {
    TbsSkinItemView::ChangeSkinData();
    if (ViewStyle() == gui::vsReport && FHeaderHandle) InvalidateRect(FHeaderHandle, nullptr, TRUE);
}

void TbsSkinCustomListView::PushTextColor() {
    if (!HandleAllocated()) return;
    SendMessage(Handle(), LVM_SETTEXTCOLOR, 0, static_cast<LPARAM>(gui::ColorToRGB(Font()->Color())));
    InvalidateRect(Handle(), nullptr, TRUE);
}

// --- window --------------------------------------------------------------------------------

void TbsSkinCustomListView::WndProc(gui::TMessage& m) {
    if (HandleFrameMessage(m)) return;
    switch (m.Msg) {
    case WM_PARENTNOTIFY:
        if (LOWORD(m.WParam) == WM_CREATE) {
            auto child = reinterpret_cast<HWND>(m.LParam);
            char name[81] = {};
            GetClassName(child, name, sizeof name);
            if (std::strcmp(name, "SysHeader32") == 0 && ShowColumnHeaders()) {
                UnhookHeader();
                HookHeader(child);
            }
        }
        break;
    case kPaintHeaderInto:
        if (FHeaderHandle) PaintHeader(reinterpret_cast<HDC>(m.WParam));
        m.Result = 0;
        return;
    default:
        break;
    }
    gui::TCustomListView::WndProc(m);
    switch (m.Msg) {
    case WM_SIZE:
        if (!FInCheckScrollBars && Items()->Count() > 0) UpDateScrollBars();
        if (ViewStyle() == gui::vsReport && FHeaderHandle) InvalidateRect(FHeaderHandle, nullptr, FALSE);
        break;
    case WM_PAINT:
        if (!FInCheckScrollBars) UpDateScrollBars();
        break;
    case WM_KEYDOWN:
    case WM_LBUTTONUP:
        UpDateScrollBars();
        break;
    default:
        break;
    }
}

void TbsSkinCustomListView::Dispatch(gui::TMessage& m) {
    UINT code = 0;
    if (m.Msg == gui::CN_NOTIFY && m.LParam) code = reinterpret_cast<NMHDR*>(m.LParam)->code;
    gui::TCustomListView::Dispatch(m);
    switch (m.Msg) {
    case gui::CN_NOTIFY:
        if (static_cast<int>(code) == LVN_ITEMCHANGED && !FInCheckScrollBars) UpDateScrollBars();
        break;
    case gui::CM_VISIBLECHANGED:
        FollowVisible();
        break;
    case gui::CM_FONTCHANGED:
        PushTextColor();
        break;
    default:
        break;
    }
}

// --- bars ----------------------------------------------------------------------------------

void TbsSkinCustomListView::UpDateScrollBars() {
    if (!HandleAllocated() || FromSB || FInCheckScrollBars) return;
    if (Width() <= 5 || Height() <= 5) return;
    HWND h = Handle();
    bool oldV = FVScrollBar && FVScrollBar->Visible(), oldH = FHScrollBar && FHScrollBar->Visible();
    int count = Items()->Count();
    RECT first{};
    if (count > 0) {
        first.left = LVIR_BOUNDS;
        SendMessage(h, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&first));
    }
    int vMin = 0, vMax = 0, hMin = 0, hMax = 0;
    GetScrollRange(h, SB_VERT, &vMin, &vMax);
    GetScrollRange(h, SB_HORZ, &hMin, &hMax);
    int vPos = GetScrollPos(h, SB_VERT), hPos = GetScrollPos(h, SB_HORZ);
    switch (ViewStyle()) {
    case gui::vsReport: {
        if (FVScrollBar) {
            int rows = static_cast<int>(SendMessage(h, LVM_GETCOUNTPERPAGE, 0, 0));
            bool show = rows < vMax + 1 && Visible();
            SetBarVisible(FVScrollBar, show);
            if (show) {
                FVScrollBar->SetRange(vMin, vMax, rows, vPos);
                FOldVScrollBarPos = vPos;
                FVScrollBar->SetSmallChange(1);
                FVScrollBar->SetLargeChange(std::max(1, rows));
            }
        }
        if (FHScrollBar) {
            bool show = hMax > Width() && Visible();
            SetBarVisible(FHScrollBar, show);
            if (show) {
                FHScrollBar->SetRange(hMin, hMax, Width(), hPos);
                FOldHScrollBarPos = hPos;
            }
        }
        break;
    }
    case gui::vsList: {
        SetBarVisible(FVScrollBar, false);
        if (FHScrollBar) {
            int column = count > 0 ? first.right - first.left : 1;
            if (column == 0) column = 1;
            int page = Width() / column;
            int perPage = static_cast<int>(SendMessage(h, LVM_GETCOUNTPERPAGE, 0, 0));
            bool show = perPage < count && Visible();
            SetBarVisible(FHScrollBar, show);
            if (show) {
                FHScrollBar->SetRange(hMin, hMax, page, hPos);
                FHScrollBar->SetSmallChange(1);
                FHScrollBar->SetLargeChange(1);
                FOldHScrollBarPos = hPos;
            }
        }
        break;
    }
    default: {
        int step = (first.bottom - first.top) / 2;
        if (step == 0) step = 1;
        if (FVScrollBar) {
            bool show = vMax > Height() && Visible();
            SetBarVisible(FVScrollBar, show);
            if (show) {
                FVScrollBar->SetSmallChange(step);
                FVScrollBar->SetLargeChange(step);
                FVScrollBar->SetRange(vMin, vMax, Height(), vPos);
                FOldVScrollBarPos = vPos;
            }
        }
        if (FHScrollBar) {
            bool show = hMax > Width() && Visible();
            SetBarVisible(FHScrollBar, show);
            if (show) {
                FHScrollBar->SetSmallChange(step);
                FHScrollBar->SetLargeChange(step);
                FHScrollBar->SetRange(hMin, hMax, Width(), hPos);
                FOldHScrollBarPos = hPos;
            }
        }
        break;
    }
    }
    EndBarUpdate(oldV, oldH);
}

void TbsSkinCustomListView::ScrollByVBar(gui::TObject*) {
    if (!FVScrollBar || !HandleAllocated()) return;
    os::FlagScope g(FromSB);
    int pos = FVScrollBar->Position(), delta = pos - FOldVScrollBarPos;
    if (delta != 0) {
        int dy = delta;
        if (ViewStyle() == gui::vsReport || ViewStyle() == gui::vsList) {
            RECT first{};
            first.left = LVIR_BOUNDS;
            if (Items()->Count() > 0)
                SendMessage(Handle(), LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&first));
            dy = delta * (first.bottom - first.top);
        }
        SendMessage(Handle(), LVM_SCROLL, 0, dy);
    }
    FOldVScrollBarPos = pos;
}

void TbsSkinCustomListView::ScrollByHBar(gui::TObject*) {
    if (!FHScrollBar || !HandleAllocated()) return;
    os::FlagScope g(FromSB);
    int pos = FHScrollBar->Position(), delta = pos - FOldHScrollBarPos;
    if (ViewStyle() == gui::vsList) {
        // A column a step: line left and right share the codes of line up and down.
        for (int i = 0; i < std::abs(delta); ++i)
            SendMessage(Handle(), WM_HSCROLL, delta < 0 ? SB_LINEUP : SB_LINEDOWN, 0);
    } else if (delta != 0) {
        SendMessage(Handle(), LVM_SCROLL, static_cast<WPARAM>(delta), 0);
    }
    FOldHScrollBarPos = pos;
}

// --- header --------------------------------------------------------------------------------

void TbsSkinCustomListView::HookHeader(HWND Header) {
    FHeaderHandle = Header;
    FDefHeaderProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtr(Header, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(FHeaderInstance)));
    FActiveSection = -1;
    FHeaderDown = FDevDown = false;
}

void TbsSkinCustomListView::UnhookHeader() {
    if (!FHeaderHandle) return;
    if (IsWindow(FHeaderHandle) &&
        reinterpret_cast<WNDPROC>(GetWindowLongPtr(FHeaderHandle, GWLP_WNDPROC)) == FHeaderInstance)
        SetWindowLongPtr(FHeaderHandle, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(FDefHeaderProc));
    FHeaderHandle = nullptr;
    FDefHeaderProc = nullptr;
}

LRESULT TbsSkinCustomListView::HeaderWndProc(HWND h, UINT Msg, WPARAM wp, LPARAM lp) {
    WNDPROC previous = FDefHeaderProc;
    if (h != FHeaderHandle || !previous) return DefWindowProc(h, Msg, wp, lp);
    LRESULT result = 0;
    switch (Msg) {
    case WM_WINDOWPOSCHANGING:
        if (auto* pos = reinterpret_cast<WINDOWPOS*>(lp)) pos->cx += kHeaderExtra;
        break;
    case WM_PAINT:
        if (wp) {
            PaintHeader(reinterpret_cast<HDC>(wp));
        } else {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(h, &ps);
            PaintHeader(dc);
            EndPaint(h, &ps);
        }
        break;
    case WM_ERASEBKGND:
        result = 1;
        break;
    case WM_NCDESTROY:
        // The list re-creates its header with its window: the next one is hooked anew.
        result = CallWindowProc(previous, h, Msg, wp, lp);
        FHeaderHandle = nullptr;
        FDefHeaderProc = nullptr;
        FActiveSection = -1;
        FHeaderDown = FDevDown = false;
        return result;
    default:
        result = CallWindowProc(previous, h, Msg, wp, lp);
        break;
    }
    switch (Msg) {
    case WM_MOUSEMOVE:
        if (FDevDown) InvalidateRect(h, nullptr, FALSE);
        break;
    case WM_LBUTTONDOWN: {
        POINT pt{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
        FActiveSection = -1;
        int count = static_cast<int>(SendMessage(h, HDM_GETITEMCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            gui::TRect r = SectionRect(i);
            if (pt.x >= r.left && pt.x < r.right && pt.y >= r.top && pt.y < r.bottom) {
                FActiveSection = i;
                break;
            }
        }
        HDHITTESTINFO hit{};
        hit.pt = pt;
        SendMessage(h, HDM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
        if (hit.flags & (HHT_ONDIVIDER | HHT_ONDIVOPEN))
            FDevDown = true;
        else
            FHeaderDown = true;
        InvalidateRect(h, nullptr, FALSE);
        break;
    }
    case WM_LBUTTONUP:
        FHeaderDown = FDevDown = false;
        FActiveSection = -1;
        InvalidateRect(h, nullptr, FALSE);
        break;
    default:
        break;
    }
    return result;
}

gui::TRect TbsSkinCustomListView::SectionRect(int Item) {
    RECT r{};
    if (FHeaderHandle)
        SendMessage(FHeaderHandle, HDM_GETITEMRECT, static_cast<WPARAM>(Item), reinterpret_cast<LPARAM>(&r));
    return {r.left, r.top, r.right, r.bottom};
}

// Each section is drawn with its own column's caption, also after the user reordered them.
std::vector<int> TbsSkinCustomListView::SectionOrder() {
    int count = FHeaderHandle ? static_cast<int>(SendMessage(FHeaderHandle, HDM_GETITEMCOUNT, 0, 0)) : 0;
    std::vector<int> order(static_cast<size_t>(std::max(count, 0)));
    for (int i = 0; i < count; ++i) order[static_cast<size_t>(i)] = i;
    if (count > 0 && (GetWindowLongPtr(FHeaderHandle, GWL_STYLE) & HDS_FULLDRAG))
        SendMessage(FHeaderHandle, HDM_GETORDERARRAY, static_cast<WPARAM>(count),
                    reinterpret_cast<LPARAM>(order.data()));
    return order;
}

void TbsSkinCustomListView::GetHeaderSkinData() {
    FHIndex = (!FSD || FSD->Empty) ? -1 : FSD->GetControlIndex(HeaderSkinDataName);
    H.HPicture = nullptr;
    if (FHIndex == -1) return;
    auto* d = dynamic_cast<TbsDataSkinButtonControl*>(FSD->CtrlList[static_cast<size_t>(FHIndex)].get());
    // An entry of another kind keeps its index but gives no picture: the default look.
    if (!d) return;
    H.HLTPt = d->LTPoint;
    H.HRTPt = d->RTPoint;
    H.HLBPt = d->LBPoint;
    H.HRBPt = d->RBPoint;
    H.HSkinRect = d->SkinRect;
    H.HClRect = d->ClRect;
    H.HStretchEffect = d->StretchEffect;
    H.HLeftStretch = d->LeftStretch;
    H.HTopStretch = d->TopStretch;
    H.HRightStretch = d->RightStretch;
    H.HBottomStretch = d->BottomStretch;
    H.HStretchType = d->StretchType;
    H.HPicture = SkinPictureAt(*FSD, d->PictureIndex);
    if (EmptyRect(H.HSkinRect)) H.HPicture = nullptr;
    H.HFontColor = d->FontColor;
    H.HActiveFontColor = d->ActiveFontColor;
    H.HDownFontColor = d->DownFontColor;
    H.HActiveSkinRect = EmptyRect(d->ActiveSkinRect) ? d->SkinRect : d->ActiveSkinRect;
    H.HDownSkinRect = EmptyRect(d->DownSkinRect) ? H.HActiveSkinRect : d->DownSkinRect;
}

void TbsSkinCustomListView::PaintHeader(HDC DC) {
    if (!DC || !FHeaderHandle) return;
    GetHeaderSkinData();
    gui::TCanvas c;
    c.SetHandle(DC);
    int right = 0;
    for (int item : SectionOrder()) {
        gui::TRect r = SectionRect(item);
        DrawHeaderSection(&c, item, r, item == FActiveSection && FHeaderDown);
        right = std::max(right, static_cast<int>(r.right));
    }
    RECT hr{};
    GetClientRect(FHeaderHandle, &hr);
    gui::TRect rest{right, 0, hr.right + 1, hr.bottom};
    if (rest.right > rest.left && rest.bottom > rest.top) DrawHeaderRest(&c, rest);
    c.SetHandle(nullptr);
}

void TbsSkinCustomListView::DrawHeaderRest(gui::TCanvas* C, const gui::TRect& R) {
    int w = R.right - R.left, h = R.bottom - R.top;
    if (!H.HPicture) {
        C->Brush()->SetStyle(gui::bsSolid);
        C->Brush()->SetColor(gui::clBtnFace);
        C->FillRect(R);
        C->Brush()->SetColor(gui::clBtnShadow);
        C->FrameRect(R);
        return;
    }
    gui::TBitmap b;
    const TRect& s = H.HSkinRect;
    if (!IsZero(H.HLBPt)) {
        int dW = w - s.Width(), dH = h - s.Height();
        b.SetSize(w, h);
        TRect cl{H.HClRect.Left, H.HClRect.Top, H.HClRect.Right + dW, H.HClRect.Bottom + dH};
        BuildNinePartHeaderImage(H.HLTPt, H.HRTPt, H.HLBPt, H.HRBPt, H.HClRect, H.HLTPt,
                                 Moved(H.HRTPt, dW, 0), Moved(H.HLBPt, 0, dH), Moved(H.HRBPt, dW, dH), cl, &b,
                                 H.HPicture, s, w, h, true, H.HLeftStretch, H.HTopStretch, H.HRightStretch,
                                 H.HBottomStretch, H.HStretchEffect, H.HStretchType);
        C->Draw(R.left, R.top, &b);
    } else {
        BuildHorzLeftCapImage(H.HLTPt.X, s.Width() - H.HRTPt.X, &b, H.HPicture, s, w, s.Height(),
                              H.HStretchEffect);
        C->StretchDraw(R, &b);
    }
}

void TbsSkinCustomListView::DrawHeaderSection(gui::TCanvas* C, int Item, const gui::TRect& R, bool Pressed) {
    int w = R.right - R.left, h = R.bottom - R.top;
    if (w <= 0 || h <= 0) return;
    gui::TBitmap b;
    b.SetSize(w, h);
    gui::TCanvas* bc = b.Canvas();
    gui::TColor textColor = gui::clBtnText;
    if (!H.HPicture) {
        bc->Brush()->SetStyle(gui::bsSolid);
        bc->Brush()->SetColor(Pressed ? RGB(133, 147, 181) : gui::clBtnFace);
        bc->FillRect({0, 0, w, h});
        bc->Brush()->SetColor(Pressed ? kNavy : gui::clBtnShadow);
        bc->FrameRect({0, 0, w, h});
    } else {
        const TRect& src = Pressed ? H.HDownSkinRect : H.HSkinRect;
        textColor = Pressed ? H.HDownFontColor : H.HFontColor;
        if (!IsZero(H.HLBPt)) {
            int dW = w - src.Width(), dH = h - src.Height();
            TRect cl{H.HClRect.Left, H.HClRect.Top, H.HClRect.Right + dW, H.HClRect.Bottom + dH};
            BuildNinePartImage(H.HLTPt, H.HRTPt, H.HLBPt, H.HRBPt, H.HClRect, H.HLTPt, Moved(H.HRTPt, dW, 0),
                               Moved(H.HLBPt, 0, dH), Moved(H.HRBPt, dW, dH), cl, &b, H.HPicture, src, w, h,
                               true, H.HLeftStretch, H.HTopStretch, H.HRightStretch, H.HBottomStretch,
                               H.HStretchEffect, H.HStretchType);
        } else {
            gui::TBitmap strip;
            BuildHorzThreePartImage(H.HLTPt.X, src.Width() - H.HRTPt.X, &strip, H.HPicture, src, w,
                                    src.Height(), H.HStretchEffect);
            bc->StretchDraw({0, 0, w, h}, &strip);
        }
    }
    gui::TListColumn* column = Item >= 0 && Item < Columns()->Count() ? Columns()->Items(Item) : nullptr;
    if (OnDrawHeaderSection) {
        OnDrawHeaderSection(bc, column, Pressed, {0, 0, w, h});
    } else if (column) {
        gui::TRect area{5, 0, w - 5, h};
        int areaW = area.right - area.left;
        bc->Font()->Assign(Font());
        bc->Font()->SetColor(textColor);
        bc->Brush()->SetStyle(gui::bsClear);
        std::string caption = column->Caption(), text = caption;
        gui::TCustomImageList* images = SmallImages();
        int image = column->ImageIndex();
        int x = area.left;
        if (images && image >= 0 && image < images->Count()) {
            int iw = images->Width();
            TrimTextToWidth(bc, text, areaW - iw - 10);
            int tw = bc->TextWidth(text);
            int ix = area.left;
            if (text == caption) {
                if (column->Alignment() == gui::taRightJustify)
                    ix = area.right - tw - iw - 10;
                else if (column->Alignment() == gui::taCenter)
                    ix = area.left + areaW / 2 - (tw + iw + 10) / 2;
            }
            x = ix + iw + 10;
            images->Draw(bc, ix, area.top + h / 2 - images->Height() / 2, image, true);
        } else {
            TrimTextToWidth(bc, text, areaW);
            int tw = bc->TextWidth(text);
            if (column->Alignment() == gui::taRightJustify)
                x = area.right - tw;
            else if (column->Alignment() == gui::taCenter)
                x = area.left + areaW / 2 - tw / 2;
        }
        int y = area.top + h / 2 - bc->TextHeight(text) / 2;
        bc->TextRect(area, x, y, text);
    }
    C->Draw(R.left, R.top, &b);
}

} // namespace skin
