#include "skin/controls/SkinTreeView.h"

#include "controls/CommCtrl.h"
#include "gui/ImgList.h"
#include "gui/Messages.h"
#include "skin/controls/SkinScrollBar.h"
#include "win/Message.h"
#include "win/Scroll.h"
#include "win/Styles.h"
#include "win/System.h"

namespace skin {

TbsSkinCustomTreeView::TbsSkinCustomTreeView(gui::TComponent* AOwner) : TbsSkinItemView(AOwner, "treeview") {}

void TbsSkinCustomTreeView::Loaded() {
    gui::TCustomTreeView::Loaded();
    ChangeSkinData();
}

// --- skin ----------------------------------------------------------------------------------

void TbsSkinCustomTreeView::ChangeSkinData() {
    if (Loading()) return;
    TbsSkinItemView::ChangeSkinData();
    if (Images()) Images()->SetBkColor(Color());
}

// The platform tree keeps its own colours: the control's are handed to it.
void TbsSkinCustomTreeView::PushColors() {
    if (!HandleAllocated()) return;
    SendMessage(Handle(), TVM_SETBKCOLOR, 0, static_cast<LPARAM>(gui::ColorToRGB(Color())));
    SendMessage(Handle(), TVM_SETTEXTCOLOR, 0, static_cast<LPARAM>(gui::ColorToRGB(Font()->Color())));
}

// --- window --------------------------------------------------------------------------------

void TbsSkinCustomTreeView::CreateWnd() {
    gui::TCustomTreeView::CreateWnd();
    PushColors();
}

void TbsSkinCustomTreeView::WndProc(gui::TMessage& m) {
    if (HandleFrameMessage(m)) return;
    gui::TCustomTreeView::WndProc(m);
    switch (m.Msg) {
    case WM_SIZE:
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

void TbsSkinCustomTreeView::Dispatch(gui::TMessage& m) {
    UINT code = 0;
    if (m.Msg == gui::CN_NOTIFY && m.LParam) code = reinterpret_cast<NMHDR*>(m.LParam)->code;
    gui::TCustomTreeView::Dispatch(m);
    switch (m.Msg) {
    case gui::CN_NOTIFY:
        if (static_cast<int>(code) == TVN_SELCHANGED) UpDateScrollBars();
        break;
    case gui::CM_VISIBLECHANGED:
        FollowVisible();
        break;
    case gui::CM_COLORCHANGED:
    case gui::CM_FONTCHANGED:
        PushColors();
        break;
    default:
        break;
    }
}

// --- bars ----------------------------------------------------------------------------------

void TbsSkinCustomTreeView::UpDateScrollBars() {
    if (Loading() || FInCheckScrollBars || !HandleAllocated()) return;
    HWND h = Handle();
    bool oldV = FVScrollBar && FVScrollBar->Visible(), oldH = FHScrollBar && FHScrollBar->Visible();
    if (FVScrollBar) {
        int vMin = 0, vMax = 0;
        GetScrollRange(h, SB_VERT, &vMin, &vMax);
        int pos = GetScrollPos(h, SB_VERT);
        int visible = static_cast<int>(SendMessage(h, TVM_GETVISIBLECOUNT, 0, 0));
        bool show = vMax > 0 && visible <= vMax && vMax < Items()->Count() && Visible();
        SetBarVisible(FVScrollBar, show);
        if (show) FVScrollBar->SetRange(vMin, vMax, visible, pos);
    }
    if (FHScrollBar) {
        int hMin = 0, hMax = 0;
        GetScrollRange(h, SB_HORZ, &hMin, &hMax);
        int pos = GetScrollPos(h, SB_HORZ);
        bool show = hMax > Width() && Visible();
        SetBarVisible(FHScrollBar, show);
        if (show) FHScrollBar->SetRange(hMin, hMax, Width(), pos);
    }
    EndBarUpdate(oldV, oldH);
}

void TbsSkinCustomTreeView::ScrollByVBar(gui::TObject*) {
    if (!FVScrollBar || !HandleAllocated()) return;
    HWND h = Handle();
    int pos = FVScrollBar->Position();
    // The thumb message carries 16 bits only: from version 6 on the position goes in first.
    if ((GetVersion() & 0xFF) >= 6) {
        SCROLLINFO si{sizeof(SCROLLINFO), SIF_ALL, 0, 0, 0, 0, 0};
        GetScrollInfo(h, SB_VERT, &si);
        si.fMask = SIF_POS;
        si.nPos = pos;
        SetScrollInfo(h, SB_VERT, &si, TRUE);
    }
    SendMessage(h, WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, static_cast<WORD>(pos & 0xFFFF)), 0);
}

void TbsSkinCustomTreeView::ScrollByHBar(gui::TObject*) {
    if (!FHScrollBar || !HandleAllocated()) return;
    int pos = FHScrollBar->Position();
    SendMessage(Handle(), WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, static_cast<WORD>(pos & 0xFFFF)), 0);
}

} // namespace skin
