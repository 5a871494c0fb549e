#include "controls/Header.h"

#include "controls/CommCtrlLists.h"
#include "gdi/Dc.h"
#include "gdi/DcText.h"
#include "gdi/Draw.h"
#include "gdi/Icon.h"
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
#include <cstdlib>
#include <cstring>

namespace controls {

namespace {
// The pointer is on a divider within this many pixels either side of it.
constexpr int kDividerSlop = 4;
// A held section moves this far before it is dragged.
constexpr int kDragStart = 4;
// Text stands this far from the section's edges.
constexpr int kTextPad = 6;
} // namespace

Header::Header(HWND h) : ControlWindow(h) {}

int Header::Height() const {
    return (Style() & HDS_HIDDEN) ? 0 : LineHeight() + 8;
}

RECT Header::ItemRect(int index) const {
    RECT c = Client();
    int x = 0;
    for (int pos : order_) {
        const Item& it = items_[pos];
        if (pos == index) return RECT{x, 0, x + it.cxy, c.bottom};
        x += it.cxy;
    }
    return RECT{0, 0, 0, 0};
}

// Positions are walked in display order; a point within the slop of a
// section's right edge is on its divider.  Right of an edge that zero-width
// sections follow, the divider opens the last of them, as Win32's does.
HDHITTESTINFO Header::HitTest(POINT pt) const {
    HDHITTESTINFO info{pt, 0, -1};
    RECT c = Client();
    if (pt.y < 0) info.flags |= HHT_ABOVE;
    if (pt.y >= c.bottom) info.flags |= HHT_BELOW;
    if (pt.x < 0) info.flags |= HHT_TOLEFT;
    if (pt.x >= c.right) info.flags |= HHT_TORIGHT;
    if (info.flags) return info;
    int x = 0;
    for (size_t p = 0; p < order_.size(); ++p) {
        int index = order_[p];
        int right = x + items_[index].cxy;
        if (items_[index].cxy > 0 && pt.x >= right - kDividerSlop && pt.x < right + kDividerSlop) {
            size_t q = p + 1;
            while (q < order_.size() && items_[order_[q]].cxy == 0) ++q;
            if (pt.x >= right && q > p + 1) {
                info.flags = HHT_ONDIVOPEN;
                info.iItem = order_[q - 1];
            } else {
                info.flags = HHT_ONDIVIDER;
                info.iItem = index;
            }
            return info;
        }
        if (pt.x >= x && pt.x < right) {
            info.flags = HHT_ONHEADER;
            info.iItem = index;
            return info;
        }
        x = right;
    }
    info.flags = HHT_NOWHERE;
    return info;
}

void Header::Apply(Item& item, const HDITEM& hi) {
    if (hi.mask & HDI_WIDTH) item.cxy = std::max(0, hi.cxy);
    if ((hi.mask & HDI_TEXT) && hi.pszText) item.text = hi.pszText;
    if (hi.mask & HDI_FORMAT) item.fmt = hi.fmt;
    if (hi.mask & HDI_LPARAM) item.lParam = hi.lParam;
    if (hi.mask & HDI_IMAGE) item.image = hi.iImage;
}

int Header::Insert(int at, const HDITEM& hi) {
    at = std::clamp(at, 0, Count());
    Item item;
    Apply(item, hi);
    items_.insert(items_.begin() + at, item);
    for (int& o : order_)
        if (o >= at) ++o;
    int pos = (hi.mask & HDI_ORDER) ? std::clamp(hi.iOrder, 0, Count() - 1) : at;
    order_.insert(order_.begin() + std::min<int>(pos, order_.size()), at);
    InvalidateRect(Handle(), nullptr, TRUE);
    return at;
}

BOOL Header::Get(int index, HDITEM* hi) const {
    if (!hi || index < 0 || index >= Count()) return FALSE;
    const Item& it = items_[index];
    if (hi->mask & HDI_WIDTH) hi->cxy = it.cxy;
    if ((hi->mask & HDI_TEXT) && hi->pszText && hi->cchTextMax > 0) {
        size_t n = std::min(it.text.size(), static_cast<size_t>(hi->cchTextMax - 1));
        std::memcpy(hi->pszText, it.text.data(), n);
        hi->pszText[n] = 0;
    }
    if (hi->mask & HDI_FORMAT) hi->fmt = it.fmt;
    if (hi->mask & HDI_LPARAM) hi->lParam = it.lParam;
    if (hi->mask & HDI_IMAGE) hi->iImage = it.image;
    if (hi->mask & HDI_ORDER)
        hi->iOrder = static_cast<int>(std::find(order_.begin(), order_.end(), index) - order_.begin());
    return TRUE;
}

LRESULT Header::Notify(int code, int index, HDITEM* item, int button) {
    NMHEADER nm{};
    nm.iItem = index;
    nm.iButton = button;
    nm.pitem = item;
    return NotifyParent(nm.hdr, code);
}

// The display position a dragged section dropped at x takes: the one
// whose section holds x, the last one beyond them.
int Header::DropPosition(int x) const {
    int left = 0;
    for (size_t p = 0; p < order_.size(); ++p) {
        left += items_[order_[p]].cxy;
        if (x < left) return static_cast<int>(p);
    }
    return std::max(0, Count() - 1);
}

// One step of a divider drag: the parent sees the width first and may change or refuse it.
void Header::ChangeWidth(int index, int width) {
    HDITEM hi{};
    hi.mask = HDI_WIDTH;
    hi.cxy = std::max(0, width);
    if (Notify(HDN_TRACK, index, &hi)) return;
    if (Notify(HDN_ITEMCHANGING, index, &hi)) return;
    if (!IsWindow(Handle()) || index >= Count()) return;
    items_[index].cxy = std::max(0, hi.cxy);
    InvalidateRect(Handle(), nullptr, TRUE);
    Notify(HDN_ITEMCHANGED, index, &hi);
}

void Header::Paint(HDC given) {
    PAINTSTRUCT ps{};
    HDC dc = given ? given : BeginPaint(Handle(), &ps);
    RECT c = Client();
    HGDIOBJ oldFont = SelectFont(dc);
    int mode = SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    int x = 0;
    for (int index : order_) {
        const Item& it = items_[index];
        RECT r{x, 0, x + it.cxy, c.bottom};
        x = r.right;
        if (it.cxy <= 0) continue;
        bool down = index == pressed_ && pressedInside_;
        FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
        RECT edge = r;
        FrameRect(dc, &edge, GetSysColorBrush(down ? COLOR_BTNSHADOW : COLOR_BTNHIGHLIGHT));
        if (!down) {
            RECT right{r.right - 1, r.top, r.right, r.bottom},
                bottom{r.left, r.bottom - 1, r.right, r.bottom};
            FillRect(dc, &right, GetSysColorBrush(COLOR_BTNSHADOW));
            FillRect(dc, &bottom, GetSysColorBrush(COLOR_BTNSHADOW));
        }
        RECT tr{r.left + kTextPad, r.top, r.right - kTextPad, r.bottom};
        if (down) OffsetRect(&tr, 1, 1);
        int cx = 0, cy = 0;
        if ((it.fmt & HDF_IMAGE) && images_ && it.image >= 0 && ImageList_GetIconSize(images_, &cx, &cy)) {
            ImageList_Draw(images_, it.image, dc, tr.left, tr.top + (tr.bottom - tr.top - cy) / 2,
                           ILD_TRANSPARENT);
            tr.left += cx + 2;
        }
        UINT align = (it.fmt & HDF_JUSTIFYMASK) == HDF_RIGHT    ? DT_RIGHT
                     : (it.fmt & HDF_JUSTIFYMASK) == HDF_CENTER ? DT_CENTER
                                                                : DT_LEFT;
        if (tr.right > tr.left)
            DrawText(dc, it.text.c_str(), static_cast<int>(it.text.size()), &tr,
                     align | DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
    }
    if (x < c.right) {
        RECT rest{x, 0, c.right, c.bottom};
        FillRect(dc, &rest, GetSysColorBrush(COLOR_BTNFACE));
    }
    SetBkMode(dc, mode);
    SelectObject(dc, oldFont);
    if (!given) EndPaint(Handle(), &ps);
}

LRESULT Header::Proc(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_ERASEBKGND:
        return 1; // the paint covers everything
    case WM_PAINT:
    case WM_PRINTCLIENT:
        Paint(reinterpret_cast<HDC>(wp));
        return 0;
    case WM_SETCURSOR: {
        POINT p{};
        GetCursorPos(&p);
        ScreenToClient(Handle(), &p);
        UINT f = HitTest(p).flags;
        if (f & (HHT_ONDIVIDER | HHT_ONDIVOPEN)) {
            SetCursor(LoadCursor(nullptr, IDC_SIZEWE));
            return TRUE;
        }
        return Default(msg, wp, lp);
    }
    case WM_LBUTTONDOWN: {
        POINT p{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
        HDHITTESTINFO hit = HitTest(p);
        if (hit.flags & (HHT_ONDIVIDER | HHT_ONDIVOPEN)) {
            HDITEM hi{};
            hi.mask = HDI_WIDTH;
            hi.cxy = items_[hit.iItem].cxy;
            if (Notify(HDN_BEGINTRACK, hit.iItem, &hi)) return 0;
            tracking_ = hit.iItem;
            trackStartX_ = p.x;
            trackStartWidth_ = items_[hit.iItem].cxy;
            SetCapture(Handle());
        } else if ((hit.flags & HHT_ONHEADER) && (Style() & (HDS_BUTTONS | HDS_DRAGDROP))) {
            pressed_ = hit.iItem;
            pressedInside_ = true;
            pressX_ = p.x;
            dragging_ = false;
            SetCapture(Handle());
            InvalidateRect(Handle(), nullptr, TRUE);
        }
        return 0;
    }
    case WM_MOUSEMOVE: {
        POINT p{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
        if (tracking_ >= 0) {
            ChangeWidth(tracking_, trackStartWidth_ + p.x - trackStartX_);
        } else if (pressed_ >= 0 && !dragging_ && (Style() & HDS_DRAGDROP) &&
                   std::abs(p.x - pressX_) > kDragStart) {
            // Far enough for a drag: the parent may refuse it.
            if (!Notify(HDN_BEGINDRAG, pressed_, nullptr)) {
                dragging_ = true;
                pressedInside_ = false;
                InvalidateRect(Handle(), nullptr, TRUE);
            }
        } else if (pressed_ >= 0 && !dragging_) {
            RECT r = ItemRect(pressed_);
            bool inside = PtInRect(&r, p);
            if (inside != pressedInside_) {
                pressedInside_ = inside;
                InvalidateRect(Handle(), nullptr, TRUE);
            }
        }
        return 0;
    }
    case WM_LBUTTONUP: {
        int tracked = tracking_, pressed = pressed_;
        bool inside = pressedInside_, dragged = dragging_;
        tracking_ = pressed_ = -1;
        pressedInside_ = dragging_ = false;
        if (GetCapture() == Handle()) ReleaseCapture();
        if (dragged && pressed >= 0 && pressed < Count()) {
            // Dropped: the section takes the position under the pointer unless the parent refuses.
            HDITEM hi{};
            hi.mask = HDI_ORDER;
            hi.iOrder = DropPosition(GET_X_LPARAM(lp));
            InvalidateRect(Handle(), nullptr, TRUE);
            if (!Notify(HDN_ENDDRAG, pressed, &hi) && IsWindow(Handle()) && pressed < Count()) {
                order_.erase(std::find(order_.begin(), order_.end(), pressed));
                order_.insert(order_.begin() + std::clamp<int>(hi.iOrder, 0, order_.size()), pressed);
            }
        } else if (tracked >= 0 && tracked < Count()) {
            HDITEM hi{};
            hi.mask = HDI_WIDTH;
            hi.cxy = items_[tracked].cxy;
            Notify(HDN_ENDTRACK, tracked, &hi);
        } else if (pressed >= 0 && pressed < Count()) {
            InvalidateRect(Handle(), nullptr, TRUE);
            if (inside) Notify(HDN_ITEMCLICK, pressed, nullptr);
        }
        return 0;
    }
    case WM_CAPTURECHANGED:
        if (reinterpret_cast<HWND>(lp) != Handle() && (tracking_ >= 0 || pressed_ >= 0)) {
            if (tracking_ >= 0 && tracking_ < Count()) {
                HDITEM hi{};
                hi.mask = HDI_WIDTH;
                hi.cxy = items_[tracking_].cxy;
                Notify(HDN_ENDTRACK, tracking_, &hi);
            }
            tracking_ = pressed_ = -1;
            pressedInside_ = dragging_ = false;
            InvalidateRect(Handle(), nullptr, TRUE);
        }
        return 0;
    case WM_LBUTTONDBLCLK: {
        HDHITTESTINFO hit = HitTest(POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
        if (hit.flags & (HHT_ONDIVIDER | HHT_ONDIVOPEN))
            Notify(HDN_DIVIDERDBLCLICK, hit.iItem, nullptr);
        else if (hit.flags & HHT_ONHEADER)
            Notify(HDN_ITEMDBLCLICK, hit.iItem, nullptr);
        return 0;
    }
    case HDM_GETITEMCOUNT:
        return Count();
    case HDM_INSERTITEM:
        return lp ? Insert(static_cast<int>(wp), *reinterpret_cast<const HDITEM*>(lp)) : -1;
    case HDM_DELETEITEM: {
        int index = static_cast<int>(wp);
        if (index < 0 || index >= Count()) return FALSE;
        items_.erase(items_.begin() + index);
        order_.erase(std::find(order_.begin(), order_.end(), index));
        for (int& o : order_)
            if (o > index) --o;
        InvalidateRect(Handle(), nullptr, TRUE);
        return TRUE;
    }
    case HDM_GETITEM:
        return Get(static_cast<int>(wp), reinterpret_cast<HDITEM*>(lp));
    case HDM_SETITEM: {
        int index = static_cast<int>(wp);
        auto* hi = reinterpret_cast<HDITEM*>(lp);
        if (!hi || index < 0 || index >= Count()) return FALSE;
        Apply(items_[index], *hi);
        if (hi->mask & HDI_ORDER) {
            order_.erase(std::find(order_.begin(), order_.end(), index));
            order_.insert(order_.begin() + std::clamp<int>(hi->iOrder, 0, order_.size()), index);
        }
        InvalidateRect(Handle(), nullptr, TRUE);
        return TRUE;
    }
    case HDM_GETITEMRECT: {
        int index = static_cast<int>(wp);
        auto* r = reinterpret_cast<RECT*>(lp);
        if (!r || index < 0 || index >= Count()) return FALSE;
        *r = ItemRect(index);
        return TRUE;
    }
    case HDM_HITTEST: {
        auto* info = reinterpret_cast<HDHITTESTINFO*>(lp);
        if (!info) return -1;
        *info = HitTest(info->pt);
        return info->iItem;
    }
    case HDM_LAYOUT: {
        auto* layout = reinterpret_cast<HDLAYOUT*>(lp);
        if (!layout || !layout->prc || !layout->pwpos) return FALSE;
        RECT& r = *layout->prc;
        int h = Height();
        *layout->pwpos = WINDOWPOS{Handle(), nullptr, r.left, r.top, r.right - r.left, h, SWP_NOZORDER};
        r.top += h;
        return TRUE;
    }
    case HDM_ORDERTOINDEX: {
        int pos = static_cast<int>(wp);
        return pos >= 0 && pos < static_cast<int>(order_.size()) ? order_[pos] : pos;
    }
    case HDM_GETORDERARRAY: {
        auto* out = reinterpret_cast<int*>(lp);
        if (!out || static_cast<int>(wp) < Count()) return FALSE;
        std::copy(order_.begin(), order_.end(), out);
        return TRUE;
    }
    case HDM_SETORDERARRAY: {
        const auto* in = reinterpret_cast<const int*>(lp);
        if (!in || static_cast<int>(wp) != Count()) return FALSE;
        std::vector<int> order(in, in + wp), check = order;
        std::sort(check.begin(), check.end());
        for (int i = 0; i < Count(); ++i)
            if (check[i] != i) return FALSE; // not a permutation
        order_ = order;
        InvalidateRect(Handle(), nullptr, TRUE);
        return TRUE;
    }
    case HDM_SETIMAGELIST: {
        HIMAGELIST old = images_;
        images_ = reinterpret_cast<HIMAGELIST>(lp);
        InvalidateRect(Handle(), nullptr, TRUE);
        return reinterpret_cast<LRESULT>(old);
    }
    case HDM_GETIMAGELIST:
        return reinterpret_cast<LRESULT>(images_);
    default:
        return ControlWindow::Proc(msg, wp, lp);
    }
}

} // namespace controls
