#include "controls/TabControl.h"

#include "controls/Utf8Text.h"
#include "gdi/Dc.h"
#include "gdi/DcText.h"
#include "gdi/Draw.h"
#include "gdi/ImageList.h"
#include "gdi/Objects.h"
#include "gdi/SysColors.h"
#include "win/Input.h"
#include "win/Message.h"
#include "win/Paint.h"
#include "win/Styles.h"
#include "win/Window.h"
#include "win/WindowPos.h"

#include <algorithm>

namespace controls {

// Our tab layout, in pixels:
//   a tab is kPadX + image + kImageGap + text + kPadX wide (the image and its gap only when
//   the tab has an image and a list is set; the padding changes with TCM_SETPADDING) and
//   kPadY + max(text height, image height) + kPadY high;
//   rows start kRowMargin from the control's edge along the row and kRowTop across it;
//   the selected tab grows kSelectedGrow each side and towards the edge;
//   the frame round the pages starts where the rows end, and the pages lie kPageInset
//   inside it on every side;
//   buttons (TCS_BUTTONS) stand kButtonGap apart;
//   the up/down pair of a scrolling row is two items high squares wide, one item high,
//   at the row's far end.
namespace {
constexpr int kPadX = 6, kPadY = 3;
constexpr int kRowMargin = 2;
constexpr int kRowTop = 2;
constexpr int kSelectedGrow = 2;
constexpr int kPageInset = 4;
constexpr int kButtonGap = 3;
constexpr int kScrollerId = 1;
} // namespace

TabControl::TabControl(HWND h) : ControlWindow(h), padX_(kPadX), padY_(kPadY) {}

bool TabControl::Vertical() const {
    return Style() & TCS_VERTICAL;
}

bool TabControl::Bottom() const {
    return Style() & TCS_BOTTOM;
}

int TabControl::ItemHeight() const {
    if (fixedHeight_ > 0) return fixedHeight_;
    int ih = 0, iw = 0;
    if (images_) ImageList_GetIconSize(images_, &iw, &ih);
    return std::max(LineHeight(), ih) + 2 * padY_;
}

int TabControl::TabWidth(const Tab& t) const {
    if (fixedWidth_ > 0 &&
        (Style() & (static_cast<DWORD>(TCS_FIXEDWIDTH) | static_cast<DWORD>(TCS_OWNERDRAWFIXED))))
        return fixedWidth_;
    int w = 2 * padX_ + TextWidth(t.text);
    if (images_ && t.image >= 0) {
        int iw = 0, ih = 0;
        ImageList_GetIconSize(images_, &iw, &ih);
        w += iw + (t.text.empty() ? 0 : kImageGap);
    }
    return std::max(w, minWidth_);
}

int TabControl::RowLength() const {
    RECT c = Client();
    return Vertical() ? c.bottom : c.right;
}

RECT TabControl::ToClient(int x, int row, int w) const {
    // Row 0 is furthest from the pages.
    int h = ItemHeight();
    int across = kRowTop + row * h;
    RECT c = Client();
    if (Vertical()) {
        int left = Bottom() ? c.right - across - h : across;
        return {left, x, left + h, x + w};
    }
    int top = Bottom() ? c.bottom - across - h : across;
    return {x, top, x + w, top + h};
}

void TabControl::Layout(Arrows arrows) {
    rects_.assign(tabs_.size(), RECT{});
    int n = Count();
    int length = RowLength();
    bool buttons = Style() & TCS_BUTTONS;
    int gap = buttons ? kButtonGap : 0;
    std::vector<int> widths(tabs_.size());
    for (int i = 0; i < n; ++i) widths[i] = TabWidth(tabs_[i]);

    if (!(Style() & TCS_MULTILINE) && !Vertical()) {
        rows_ = 1;
        int total = kRowMargin;
        for (int w : widths) total += w + gap;
        bool overflow = n > 0 && total > length;
        PlaceScroller(overflow, arrows);
        if (!overflow) first_ = 0;
        int room = length - (overflow ? 2 * ItemHeight() : 0);
        // The furthest first tab that still shows the last one whole.
        maxFirst_ = 0;
        if (overflow) {
            int tail = kRowMargin;
            int f = n;
            while (f > 0 && tail + widths[f - 1] + gap <= room) tail += widths[--f] + gap;
            maxFirst_ = std::min(f, n - 1);
        }
        first_ = std::clamp(first_, 0, std::max(0, n - 1));
        int x = kRowMargin;
        for (int i = 0; i < first_; ++i) x -= widths[i] + gap;
        for (int i = 0; i < n; ++i) {
            rects_[i] = ToClient(x, 0, widths[i]);
            x += widths[i] + gap;
        }
        if (scroller_) {
            SendMessage(scroller_, UDM_SETRANGE32, 0, maxFirst_);
            SendMessage(scroller_, UDM_SETPOS32, 0, first_);
        }
        return;
    }

    PlaceScroller(false, arrows);
    first_ = 0;
    // Break into rows, each as long as fits.
    std::vector<std::vector<int>> rows(1);
    int x = kRowMargin;
    for (int i = 0; i < n; ++i) {
        if (!rows.back().empty() && x + widths[i] > length - kRowMargin) {
            rows.emplace_back();
            x = kRowMargin;
        }
        rows.back().push_back(i);
        x += widths[i] + gap;
    }
    rows_ = static_cast<int>(rows.size());
    // The selected tab's row goes next to the pages; the rows after it keep their order before it.
    std::vector<std::vector<int>> order = rows;
    if (!buttons && Valid(cur_)) {
        size_t sel = 0;
        for (size_t r = 0; r < rows.size(); ++r)
            if (std::find(rows[r].begin(), rows[r].end(), cur_) != rows[r].end()) sel = r;
        std::rotate(order.begin(), order.begin() + static_cast<long>(sel + 1), order.end());
    }
    bool stretch =
        rows_ > 1 && !(Style() & (static_cast<DWORD>(TCS_RAGGEDRIGHT) | static_cast<DWORD>(TCS_FIXEDWIDTH)));
    for (int r = 0; r < rows_; ++r) {
        const std::vector<int>& row = order[r];
        int used = 0;
        for (int i : row) used += widths[i] + gap;
        int spare = stretch ? std::max(0, length - 2 * kRowMargin - used) : 0;
        int rx = kRowMargin;
        for (size_t k = 0; k < row.size(); ++k) {
            int extra =
                row.empty() ? 0 : spare / static_cast<int>(row.size()) + (k < spare % row.size() ? 1 : 0);
            int w = widths[row[k]] + extra;
            rects_[row[k]] = ToClient(rx, r, w);
            rx += w + gap;
        }
    }
}

void TabControl::PlaceScroller(bool needed, Arrows arrows) {
    if (scroller_ && !IsWindow(scroller_)) scroller_ = nullptr; // someone else took it away
    if (!needed) {
        if (scroller_) {
            HWND s = scroller_;
            scroller_ = nullptr;
            DestroyWindow(s);
        }
        return;
    }
    int h = ItemHeight(), w = 2 * h;
    RECT c = Client();
    int y = Bottom() ? c.bottom - kRowTop - h : kRowTop;
    if (!scroller_ && arrows == Arrows::MayCreate)
        scroller_ = CreateWindowEx(0, UPDOWN_CLASS, "", WS_CHILD | WS_VISIBLE | UDS_HORZ, c.right - w, y, w,
                                   h, Handle(), reinterpret_cast<HMENU>(static_cast<intptr_t>(kScrollerId)),
                                   nullptr, nullptr);
    else if (scroller_)
        SetWindowPos(scroller_, nullptr, c.right - w, y, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
}

RECT TabControl::FrameRect() const {
    RECT c = Client();
    if (Style() & TCS_BUTTONS) return c;
    int extent = kRowTop + rows_ * ItemHeight();
    if (Vertical())
        return Bottom() ? RECT{c.left, c.top, c.right - extent, c.bottom}
                        : RECT{extent, c.top, c.right, c.bottom};
    return Bottom() ? RECT{c.left, c.top, c.right, c.bottom - extent}
                    : RECT{c.left, extent, c.right, c.bottom};
}

RECT TabControl::DisplayRect() const {
    RECT f = FrameRect();
    InflateRect(&f, -kPageInset, -kPageInset);
    return f;
}

int TabControl::HitTest(POINT p, UINT* flags) const {
    if (scroller_ && IsWindow(scroller_)) {
        RECT sr;
        GetWindowRect(scroller_, &sr);
        POINT s = p;
        ClientToScreen(Handle(), &s);
        if (PtInRect(&sr, s)) {
            if (flags) *flags = TCHT_NOWHERE;
            return -1;
        }
    }
    for (int i = 0; i < Count(); ++i) {
        if (!PtInRect(&rects_[i], p)) continue;
        if (flags) {
            *flags = TCHT_ONITEMLABEL;
            int iw = 0, ih = 0;
            if (images_ && tabs_[i].image >= 0 && ImageList_GetIconSize(images_, &iw, &ih) &&
                p.x < rects_[i].left + padX_ + iw && p.x >= rects_[i].left + padX_)
                *flags = TCHT_ONITEMICON;
        }
        return i;
    }
    if (flags) *flags = TCHT_NOWHERE;
    return -1;
}

// Scrolls a single row so that tab i shows whole.
void TabControl::ShowTab(int i) {
    if ((Style() & TCS_MULTILINE) || Vertical() || !Valid(i)) return;
    int room = RowLength() - 2 * ItemHeight();
    if (i < first_) first_ = i;
    Layout(Arrows::KeepOnly);
    while (first_ < std::min(i, maxFirst_) && rects_[i].right > room) {
        ++first_;
        Layout(Arrows::KeepOnly);
    }
}

bool TabControl::UserSelect(int i) {
    if (!Valid(i) || i == cur_) return false;
    NMHDR hdr{};
    if (NotifyParent(hdr, TCN_SELCHANGING)) return false;
    if (!IsWindow(Handle())) return false;
    cur_ = i;
    if (Style() & TCS_MULTILINE) Layout(Arrows::KeepOnly);
    ShowTab(i);
    InvalidateRect(Handle(), nullptr, TRUE);
    NotifyParent(hdr, TCN_SELCHANGE);
    return true;
}

void TabControl::DrawTab(HDC dc, int i, bool selected) {
    RECT r = rects_[i];
    const Tab& t = tabs_[i];
    bool buttons = Style() & TCS_BUTTONS;
    if (selected && !buttons) {
        InflateRect(&r, Vertical() ? 0 : kSelectedGrow, Vertical() ? kSelectedGrow : 0);
        if (Vertical())
            (Bottom() ? r.right : r.left) += Bottom() ? kSelectedGrow : -kSelectedGrow;
        else
            (Bottom() ? r.bottom : r.top) += Bottom() ? kSelectedGrow : -kSelectedGrow;
    }
    if (Style() & TCS_OWNERDRAWFIXED) {
        DRAWITEMSTRUCT dis{ODT_TAB,
                           static_cast<UINT>(CtrlId()),
                           static_cast<UINT>(i),
                           ODA_DRAWENTIRE,
                           selected ? static_cast<UINT>(ODS_SELECTED) : 0u,
                           Handle(),
                           dc,
                           r,
                           static_cast<uintptr_t>(t.param)};
        SendMessage(Parent(), WM_DRAWITEM, static_cast<WPARAM>(CtrlId()), reinterpret_cast<LPARAM>(&dis));
        return;
    }
    FillRect(dc, &r, GetSysColorBrush(buttons && selected ? COLOR_3DLIGHT : COLOR_BTNFACE));
    // Light edges away from the pages, dark on the far side; the edge on the pages' side stays open.
    HBRUSH light = GetSysColorBrush(COLOR_BTNHIGHLIGHT), dark = GetSysColorBrush(COLOR_BTNSHADOW);
    RECT e;
    if (!Vertical()) {
        e = {r.left, r.top, r.left + 1, r.bottom};
        FillRect(dc, &e, buttons && selected ? dark : light);
        e = {r.right - 1, r.top, r.right, r.bottom};
        FillRect(dc, &e, buttons && selected ? light : dark);
        e = Bottom() ? RECT{r.left, r.bottom - 1, r.right, r.bottom}
                     : RECT{r.left, r.top, r.right, r.top + 1};
        FillRect(dc, &e, Bottom() ? dark : light);
        if (buttons) {
            e = Bottom() ? RECT{r.left, r.top, r.right, r.top + 1}
                         : RECT{r.left, r.bottom - 1, r.right, r.bottom};
            FillRect(dc, &e, Bottom() ? light : dark);
        }
    } else {
        e = {r.left, r.top, r.right, r.top + 1};
        FillRect(dc, &e, light);
        e = {r.left, r.bottom - 1, r.right, r.bottom};
        FillRect(dc, &e, dark);
        e = Bottom() ? RECT{r.right - 1, r.top, r.right, r.bottom}
                     : RECT{r.left, r.top, r.left + 1, r.bottom};
        FillRect(dc, &e, Bottom() ? dark : light);
    }
    // Image and text, centred together.
    int iw = 0, ih = 0;
    bool image = images_ && t.image >= 0 && ImageList_GetIconSize(images_, &iw, &ih);
    int tw = TextWidth(t.text);
    int content = tw + (image ? iw + (t.text.empty() ? 0 : kImageGap) : 0);
    int x = (r.left + r.right - content) / 2;
    int cy = (r.top + r.bottom) / 2 + (selected || buttons ? 0 : 1);
    if (image) {
        if (t.image < ImageList_GetImageCount(images_))
            ImageList_Draw(images_, t.image, dc, x, cy - ih / 2, ILD_TRANSPARENT);
        x += iw + kImageGap;
    }
    int mode = SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(Enabled() ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
    ExtTextOut(dc, x, cy - LineHeight() / 2, ETO_CLIPPED, &r, t.text.c_str(),
               static_cast<UINT>(t.text.size()), nullptr);
    SetBkMode(dc, mode);
    if (selected && Focused()) {
        RECT f = r;
        InflateRect(&f, -3, -3);
        DrawFocusRect(dc, &f);
    }
}

void TabControl::Paint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(Handle(), &ps);
    HGDIOBJ oldFont = SelectFont(dc);
    RECT c = Client();
    FillRect(dc, &c, GetSysColorBrush(COLOR_BTNFACE));
    if (!(Style() & TCS_BUTTONS)) {
        RECT f = FrameRect();
        RECT e{f.left, f.top, f.right, f.top + 1};
        FillRect(dc, &e, GetSysColorBrush(COLOR_BTNHIGHLIGHT));
        e = {f.left, f.top, f.left + 1, f.bottom};
        FillRect(dc, &e, GetSysColorBrush(COLOR_BTNHIGHLIGHT));
        e = {f.right - 1, f.top, f.right, f.bottom};
        FillRect(dc, &e, GetSysColorBrush(COLOR_BTNSHADOW));
        e = {f.left, f.bottom - 1, f.right, f.bottom};
        FillRect(dc, &e, GetSysColorBrush(COLOR_BTNSHADOW));
    }
    for (int i = 0; i < Count(); ++i)
        if (i != cur_) DrawTab(dc, i, false);
    if (Valid(cur_)) DrawTab(dc, cur_, true);
    SelectObject(dc, oldFont);
    EndPaint(Handle(), &ps);
}

LRESULT TabControl::Proc(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_CREATE:
    case WM_SIZE:
    case WM_STYLECHANGED:
        Layout();
        InvalidateRect(Handle(), nullptr, TRUE);
        return 0;
    case WM_SETFONT:
        ControlWindow::Proc(msg, wp, lp);
        Layout();
        InvalidateRect(Handle(), nullptr, TRUE);
        return 0;
    case WM_DESTROY:
        scroller_ = nullptr;
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
        Paint();
        return 0;
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        InvalidateRect(Handle(), nullptr, FALSE);
        return 0;
    case WM_LBUTTONDOWN: {
        int i = HitTest({GET_X_LPARAM(lp), GET_Y_LPARAM(lp)}, nullptr);
        if (i < 0) return 0;
        if (!(Style() & TCS_FOCUSNEVER) && !Focused()) SetFocus(Handle());
        if (IsWindow(Handle())) UserSelect(i);
        return 0;
    }
    case WM_LBUTTONUP: {
        if (HitTest({GET_X_LPARAM(lp), GET_Y_LPARAM(lp)}, nullptr) < 0) return 0;
        NMHDR hdr{};
        NotifyParent(hdr, NM_CLICK);
        return 0;
    }
    case WM_KEYDOWN: {
        int step = 0;
        if (wp == (Vertical() ? VK_UP : VK_LEFT)) step = -1;
        if (wp == (Vertical() ? VK_DOWN : VK_RIGHT)) step = 1;
        if (step && Count()) UserSelect(std::clamp(cur_ + step, 0, Count() - 1));
        if (wp == VK_HOME && Count()) UserSelect(0);
        if (wp == VK_END && Count()) UserSelect(Count() - 1);
        return 0;
    }
    case WM_HSCROLL:
        if (LOWORD(wp) == SB_THUMBPOSITION && Count()) {
            int pos = static_cast<int16_t>(HIWORD(wp));
            first_ = std::clamp(pos, 0, Count() - 1);
            Layout(Arrows::KeepOnly);
            InvalidateRect(Handle(), nullptr, TRUE);
        }
        return 0;
    case TCM_GETITEMCOUNT:
        return Count();
    case TCM_INSERTITEM: {
        auto* item = reinterpret_cast<const TCITEM*>(lp);
        if (!item) return -1;
        int at = std::clamp(static_cast<int>(static_cast<intptr_t>(wp)), 0, Count());
        Tab t;
        if ((item->mask & TCIF_TEXT) && item->pszText) t.text = item->pszText;
        if (item->mask & TCIF_IMAGE) t.image = item->iImage;
        if (item->mask & TCIF_PARAM) t.param = item->lParam;
        tabs_.insert(tabs_.begin() + at, std::move(t));
        if (cur_ >= at) ++cur_;
        if (Count() == 1) cur_ = 0; // the first tab comes selected
        Layout();
        InvalidateRect(Handle(), nullptr, TRUE);
        return at;
    }
    case TCM_SETITEM:
    case TCM_GETITEM: {
        int i = static_cast<int>(wp);
        auto* item = reinterpret_cast<TCITEM*>(lp);
        if (!Valid(i) || !item) return FALSE;
        Tab& t = tabs_[i];
        if (msg == TCM_GETITEM) {
            if ((item->mask & TCIF_TEXT) && item->pszText && item->cchTextMax > 0) {
                size_t n =
                    text::Snap(t.text, std::min(t.text.size(), static_cast<size_t>(item->cchTextMax - 1)));
                t.text.copy(item->pszText, n);
                item->pszText[n] = 0;
            }
            if (item->mask & TCIF_IMAGE) item->iImage = t.image;
            if (item->mask & TCIF_PARAM) item->lParam = t.param;
            if (item->mask & TCIF_STATE) item->dwState = t.state & item->dwStateMask;
            return TRUE;
        }
        if (item->mask & TCIF_TEXT) t.text = item->pszText ? item->pszText : "";
        if (item->mask & TCIF_IMAGE) t.image = item->iImage;
        if (item->mask & TCIF_PARAM) t.param = item->lParam;
        if (item->mask & TCIF_STATE)
            t.state = (t.state & ~item->dwStateMask) | (item->dwState & item->dwStateMask);
        Layout();
        InvalidateRect(Handle(), nullptr, TRUE);
        return TRUE;
    }
    case TCM_DELETEITEM: {
        int i = static_cast<int>(wp);
        if (!Valid(i)) return FALSE;
        tabs_.erase(tabs_.begin() + i);
        if (cur_ == i)
            cur_ = -1;
        else if (cur_ > i)
            --cur_;
        Layout();
        InvalidateRect(Handle(), nullptr, TRUE);
        return TRUE;
    }
    case TCM_DELETEALLITEMS:
        tabs_.clear();
        cur_ = -1;
        first_ = 0;
        Layout();
        InvalidateRect(Handle(), nullptr, TRUE);
        return TRUE;
    case TCM_GETCURSEL:
    case TCM_GETCURFOCUS:
        return cur_;
    case TCM_SETCURSEL: {
        int i = static_cast<int>(static_cast<intptr_t>(wp));
        if (!Valid(i)) return -1;
        int old = cur_;
        cur_ = i;
        if (Style() & TCS_MULTILINE) Layout(Arrows::KeepOnly);
        ShowTab(i);
        InvalidateRect(Handle(), nullptr, TRUE);
        return old;
    }
    case TCM_SETCURFOCUS:
        UserSelect(static_cast<int>(static_cast<intptr_t>(wp)));
        return 0;
    case TCM_GETITEMRECT: {
        int i = static_cast<int>(wp);
        if (!Valid(i) || !lp) return FALSE;
        *reinterpret_cast<RECT*>(lp) = rects_[i];
        return TRUE;
    }
    case TCM_HITTEST: {
        auto* info = reinterpret_cast<TCHITTESTINFO*>(lp);
        return info ? HitTest(info->pt, &info->flags) : -1;
    }
    case TCM_ADJUSTRECT: {
        auto* r = reinterpret_cast<RECT*>(lp);
        if (!r) return 0;
        RECT c = Client(), d = DisplayRect();
        // The margins between the whole control and its pages, either way round.
        int l = d.left - c.left, t = d.top - c.top, rr = c.right - d.right, b = c.bottom - d.bottom;
        if (wp)
            *r = {r->left - l, r->top - t, r->right + rr, r->bottom + b};
        else
            *r = {r->left + l, r->top + t, r->right - rr, r->bottom - b};
        return 0;
    }
    case TCM_SETITEMSIZE: {
        LRESULT old = MAKELRESULT(Count() ? rects_[0].right - rects_[0].left : fixedWidth_, ItemHeight());
        fixedWidth_ = LOWORD(lp);
        fixedHeight_ = HIWORD(lp);
        Layout();
        InvalidateRect(Handle(), nullptr, TRUE);
        return old;
    }
    case TCM_SETPADDING:
        padX_ = LOWORD(lp);
        padY_ = HIWORD(lp);
        Layout();
        InvalidateRect(Handle(), nullptr, TRUE);
        return 0;
    case TCM_SETMINTABWIDTH: {
        int old = minWidth_;
        int v = static_cast<int>(static_cast<intptr_t>(lp));
        minWidth_ = v < 0 ? 0 : v;
        Layout();
        return old;
    }
    case TCM_GETROWCOUNT:
        return rows_;
    case TCM_SETIMAGELIST: {
        HIMAGELIST old = images_;
        images_ = reinterpret_cast<HIMAGELIST>(lp);
        Layout();
        InvalidateRect(Handle(), nullptr, TRUE);
        return reinterpret_cast<LRESULT>(old);
    }
    case TCM_GETIMAGELIST:
        return reinterpret_cast<LRESULT>(images_);
    default:
        return ControlWindow::Proc(msg, wp, lp);
    }
}

} // namespace controls
