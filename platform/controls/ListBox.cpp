#include "controls/ListBox.h"

#include "controls/Utf8Text.h"
#include "gdi/Dc.h"
#include "gdi/DcText.h"
#include "gdi/Draw.h"
#include "gdi/Objects.h"
#include "gdi/SysColors.h"
#include "win/Input.h"
#include "win/Message.h"
#include "win/Paint.h"
#include "win/Timers.h"
#include "win/Window.h"
#include "win/WindowPos.h"

#include <algorithm>

namespace controls {

namespace {
constexpr int kDefaultColumnWidth = 100; // our default until LB_SETCOLUMNWIDTH
constexpr int kDefaultTabDlu = 32;       // tab stops every 32 dialog units, as Win32's
constexpr int kWheelRows = 3;
constexpr DWORD kTypeAheadMs = 1000; // typed characters within this time search as one prefix
constexpr int kTextIndent = 2;
bool Down(int vk) {
    return GetKeyState(vk) < 0;
}
} // namespace

ListBox::ListBox(HWND h) : ControlWindow(h) {
    itemHeight_ = LineHeight();
    columnWidth_ = kDefaultColumnWidth;
}

bool ListBox::HasStrings() const {
    return !OwnerDraw() || (Style() & LBS_HASSTRINGS);
}

bool ListBox::OwnerDraw() const {
    return Style() & (static_cast<DWORD>(LBS_OWNERDRAWFIXED) | static_cast<DWORD>(LBS_OWNERDRAWVARIABLE));
}

bool ListBox::Multi() const {
    return Style() & (static_cast<DWORD>(LBS_MULTIPLESEL) | static_cast<DWORD>(LBS_EXTENDEDSEL));
}

bool ListBox::Extended() const {
    return Style() & LBS_EXTENDEDSEL;
}

bool ListBox::Columns() const {
    return Style() & LBS_MULTICOLUMN;
}

int ListBox::RowsPerPage() const {
    return std::max(1, static_cast<int>(Client().bottom) / std::max(1, itemHeight_));
}

int ListBox::VisibleColumns() const {
    return std::max(1, static_cast<int>(Client().right) / std::max(1, columnWidth_));
}

int ListBox::MaxTop() const {
    if (Columns()) {
        int rows = RowsPerPage();
        int cols = (Count() + rows - 1) / rows;
        return std::max(0, cols - VisibleColumns()) * rows;
    }
    return std::max(0, Count() - RowsPerPage());
}

RECT ListBox::ItemRect(int i) const {
    if (Columns()) {
        int rows = RowsPerPage();
        int col = i / rows - top_ / rows;
        int row = i % rows;
        return {col * columnWidth_, row * itemHeight_, (col + 1) * columnWidth_, (row + 1) * itemHeight_};
    }
    int y = (i - top_) * itemHeight_;
    return {-xOffset_, y, std::max<int>(Client().right, extent_) - xOffset_, y + itemHeight_};
}

int ListBox::ItemAt(POINT p, bool* outside) const {
    RECT c = Client();
    bool out = !PtInRect(&c, p);
    int i;
    if (Columns()) {
        int rows = RowsPerPage();
        int col = std::max(0, static_cast<int>(p.x)) / columnWidth_;
        int row = std::clamp(static_cast<int>(p.y) / itemHeight_, 0, rows - 1);
        i = top_ + col * rows + row;
        if (p.y >= rows * itemHeight_) out = true;
    } else {
        i = top_ + (p.y < 0 ? -1 : static_cast<int>(p.y) / itemHeight_);
    }
    if (i < 0 || i >= Count()) out = true;
    if (outside) *outside = out;
    return std::clamp(i, 0, std::max(0, Count() - 1));
}

// Case-insensitive search after start, wrapping round; -1 when nothing matches.
int ListBox::Find(int start, const std::string& s, bool exact) const {
    int n = Count();
    if (!HasStrings() || n == 0) return LB_ERR;
    if (start < -1 || start >= n) start = -1;
    for (int k = 1; k <= n; ++k) {
        int i = (start + k) % n;
        const std::string& t = items_[i].text;
        if (exact ? text::EqualNoCase(t, s) : text::StartsWithNoCase(t, s)) return i;
    }
    return LB_ERR;
}

int ListBox::Insert(int at, LPARAM lp) {
    Item item;
    if (HasStrings())
        item.text = lp ? reinterpret_cast<const char*>(lp) : "";
    else
        item.data = static_cast<uintptr_t>(lp);
    if (at < 0 || at > Count()) at = Count();
    items_.insert(items_.begin() + at, std::move(item));
    if (cur_ >= at) ++cur_;
    if (anchor_ >= at) ++anchor_;
    UpdateScroll();
    Redraw();
    return at;
}

int ListBox::Delete(int i) {
    if (!Valid(i)) return LB_ERR;
    items_.erase(items_.begin() + i);
    if (cur_ == i)
        cur_ = Multi() ? std::min(i, Count() - 1) : -1;
    else if (cur_ > i)
        --cur_;
    if (anchor_ >= i) anchor_ = std::min(anchor_, Count() - 1);
    top_ = std::min(top_, MaxTop());
    UpdateScroll();
    Redraw();
    return Count();
}

void ListBox::Reset() {
    items_.clear();
    cur_ = anchor_ = -1;
    top_ = xOffset_ = 0;
    UpdateScroll();
    Redraw();
}

void ListBox::SetTop(int top) {
    if (Columns()) top -= top % RowsPerPage();
    top = std::clamp(top, 0, MaxTop());
    if (top == top_) return;
    top_ = top;
    UpdateScroll();
    Redraw();
}

void ListBox::MakeVisible(int i) {
    if (!Valid(i)) return;
    if (Columns()) {
        int rows = RowsPerPage(), vis = VisibleColumns() * rows;
        if (i < top_)
            SetTop(i);
        else if (i >= top_ + vis)
            SetTop(i - vis + rows);
        return;
    }
    if (i < top_)
        SetTop(i);
    else if (i >= top_ + RowsPerPage())
        SetTop(i - RowsPerPage() + 1);
}

void ListBox::UpdateScroll() {
    if (Columns()) {
        int rows = RowsPerPage();
        int cols = (Count() + rows - 1) / rows;
        SetScroll(SB_HORZ, 0, std::max(0, cols - 1), VisibleColumns(), top_ / rows);
        return;
    }
    SetScroll(SB_VERT, 0, std::max(0, Count() - 1), RowsPerPage(), top_);
    SetScroll(SB_HORZ, 0, std::max(0, extent_ - 1), extent_ ? Client().right : 0, xOffset_);
}

void ListBox::Redraw() {
    if (!(Style() & LBS_NOREDRAW)) InvalidateRect(Handle(), nullptr, TRUE);
}

void ListBox::NotifyIf(WORD code) {
    if (Style() & LBS_NOTIFY) NotifyCommand(code);
}

void ListBox::SelectOnly(int i) {
    for (Item& it : items_) it.selected = false;
    if (Valid(i)) items_[i].selected = true;
}

void ListBox::SelectRange(int from, int to, bool on) {
    if (from > to) std::swap(from, to);
    for (int i = std::max(0, from); i <= std::min(to, Count() - 1); ++i) items_[i].selected = on;
}

// A move by the user: the selection follows as each selection style has it.
void ListBox::UserMoveTo(int i, bool shift, bool ctrl) {
    if (!Valid(i) || (Style() & LBS_NOSEL)) return;
    if (!Multi()) {
        bool changed = cur_ != i;
        cur_ = i;
        MakeVisible(i);
        Redraw();
        if (changed) NotifyIf(LBN_SELCHANGE);
        return;
    }
    cur_ = i;
    if (Extended()) {
        if (shift) {
            if (!ctrl) SelectOnly(-1);
            SelectRange(anchor_ < 0 ? i : anchor_, i, true);
        } else if (!ctrl) {
            SelectOnly(i);
            anchor_ = i;
        }
        MakeVisible(i);
        Redraw();
        if (!ctrl || shift) NotifyIf(LBN_SELCHANGE);
        return;
    }
    MakeVisible(i); // LBS_MULTIPLESEL: the caret moves; Space toggles
    Redraw();
}

void ListBox::OnKey(int vk) {
    if (Count() == 0) return;
    int rows = RowsPerPage();
    int from = Valid(cur_) ? cur_ : top_;
    int to = from;
    switch (vk) {
    case VK_UP:
        to = from - 1;
        break;
    case VK_DOWN:
        to = from + 1;
        break;
    case VK_LEFT:
        to = Columns() ? from - rows : from - 1;
        break;
    case VK_RIGHT:
        to = Columns() ? from + rows : from + 1;
        break;
    case VK_PRIOR:
        to = from - (Columns() ? rows * VisibleColumns() : rows - 1);
        break;
    case VK_NEXT:
        to = from + (Columns() ? rows * VisibleColumns() : rows - 1);
        break;
    case VK_HOME:
        to = 0;
        break;
    case VK_END:
        to = Count() - 1;
        break;
    case VK_SPACE:
        if (Multi() && Valid(cur_)) {
            if (Extended() && !Down(VK_CONTROL)) return;
            items_[cur_].selected = !items_[cur_].selected;
            anchor_ = cur_;
            Redraw();
            NotifyIf(LBN_SELCHANGE);
        }
        return;
    default:
        return;
    }
    UserMoveTo(std::clamp(to, 0, Count() - 1), Down(VK_SHIFT), Down(VK_CONTROL));
}

// Typing selects the next item that starts with what was typed lately.
void ListBox::OnChar(char32_t c) {
    if (c < 32 || !HasStrings()) return;
    DWORD now = GetTickCount();
    std::string ch = text::Encode(c);
    if (now - typedAt_ > kTypeAheadMs) typed_.clear();
    typedAt_ = now;
    bool same = !typed_.empty(); // "aaa" steps through the items that start with "a"
    for (size_t i = 0; i < typed_.size(); i = text::Next(typed_, i))
        if (text::Lower(text::At(typed_, i)) != text::Lower(c)) same = false;
    typed_ += ch;
    int i;
    if (same || typed_.size() == ch.size())
        i = Find(cur_, ch, false); // from the item after the current one
    else
        i = Find(cur_ - 1, typed_, false); // a longer prefix may still be the current item's
    if (i != LB_ERR) UserMoveTo(i, false, false);
}

void ListBox::OnButtonDown(POINT p, WPARAM keys) {
    if (!Focused()) SetFocus(Handle());
    if (!IsWindow(Handle())) return;
    bool outside = false;
    int i = ItemAt(p, &outside);
    if (outside || (Style() & LBS_NOSEL)) return;
    bool shift = keys & MK_SHIFT, ctrl = keys & MK_CONTROL;
    if (Multi() && !Extended()) {
        cur_ = anchor_ = i;
        items_[i].selected = !items_[i].selected;
        Redraw();
        NotifyIf(LBN_SELCHANGE);
        return;
    }
    if (Extended() && ctrl && !shift) {
        cur_ = anchor_ = i;
        items_[i].selected = !items_[i].selected;
        Redraw();
        NotifyIf(LBN_SELCHANGE);
        return;
    }
    SetCapture(Handle());
    tracking_ = true;
    UserMoveTo(i, shift, ctrl);
}

HBRUSH ListBox::Background(HDC dc) {
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    SetBkColor(dc, GetSysColor(COLOR_WINDOW));
    auto b = reinterpret_cast<HBRUSH>(SendMessage(Parent(), WM_CTLCOLORLISTBOX, reinterpret_cast<WPARAM>(dc),
                                                  reinterpret_cast<LPARAM>(Handle())));
    return b ? b : GetSysColorBrush(COLOR_WINDOW);
}

void ListBox::Paint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(Handle(), &ps);
    HGDIOBJ oldFont = SelectFont(dc);
    HBRUSH bg = Background(dc);
    if (!IsWindow(Handle())) return;
    RECT c = Client();
    int last = Columns() ? top_ + RowsPerPage() * (VisibleColumns() + 1) : top_ + RowsPerPage() + 1;
    last = std::min(last, Count());
    if (!OwnerDraw()) FillRect(dc, &c, bg);
    for (int i = top_; i < last; ++i) {
        RECT r = ItemRect(i);
        bool sel = Multi() ? items_[i].selected : i == cur_;
        bool focus = Focused() && i == cur_;
        if (OwnerDraw()) {
            DRAWITEMSTRUCT dis{ODT_LISTBOX,
                               static_cast<UINT>(CtrlId()),
                               static_cast<UINT>(i),
                               ODA_DRAWENTIRE,
                               (sel ? static_cast<UINT>(ODS_SELECTED) : 0u) |
                                   (focus ? static_cast<UINT>(ODS_FOCUS) : 0u) |
                                   (Enabled() ? 0u : static_cast<UINT>(ODS_DISABLED)),
                               Handle(),
                               dc,
                               r,
                               items_[i].data};
            SendMessage(Parent(), WM_DRAWITEM, static_cast<WPARAM>(CtrlId()), reinterpret_cast<LPARAM>(&dis));
            if (!IsWindow(Handle())) return;
            continue;
        }
        if (sel) FillRect(dc, &r, GetSysColorBrush(COLOR_HIGHLIGHT));
        int mode = SetBkMode(dc, TRANSPARENT);
        COLORREF old = SetTextColor(dc, sel         ? GetSysColor(COLOR_HIGHLIGHTTEXT)
                                        : Enabled() ? GetTextColor(dc)
                                                    : GetSysColor(COLOR_GRAYTEXT));
        const std::string& t = items_[i].text;
        int y = r.top + (itemHeight_ - LineHeight()) / 2;
        if (Style() & LBS_USETABSTOPS)
            TabbedTextOut(dc, r.left + kTextIndent, y, t.c_str(), static_cast<int>(t.size()),
                          static_cast<int>(tabs_.size()), tabs_.data(), r.left + kTextIndent);
        else
            ExtTextOut(dc, r.left + kTextIndent, y, ETO_CLIPPED, &r, t.c_str(), static_cast<UINT>(t.size()),
                       nullptr);
        SetTextColor(dc, old);
        SetBkMode(dc, mode);
        if (focus) DrawFocusRect(dc, &r);
    }
    SelectObject(dc, oldFont);
    EndPaint(Handle(), &ps);
}

LRESULT ListBox::Proc(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_CREATE:
        if (OwnerDraw()) { // owner-draw rows are as high as the parent says, once
            MEASUREITEMSTRUCT mis{ODT_LISTBOX, static_cast<UINT>(CtrlId()),    0,
                                  0,           static_cast<UINT>(itemHeight_), 0};
            SendMessage(Parent(), WM_MEASUREITEM, static_cast<WPARAM>(CtrlId()),
                        reinterpret_cast<LPARAM>(&mis));
            itemHeight_ = std::max(1, static_cast<int>(mis.itemHeight));
        }
        UpdateScroll();
        return 0;
    case WM_SETFONT:
        ControlWindow::Proc(msg, wp, lp);
        if (!OwnerDraw()) itemHeight_ = LineHeight();
        UpdateScroll();
        Redraw();
        return 0;
    case WM_SIZE:
        top_ = std::min(top_, MaxTop());
        if (Columns()) top_ -= top_ % RowsPerPage();
        UpdateScroll();
        Redraw();
        return 0;
    case WM_ERASEBKGND: {
        HDC dc = reinterpret_cast<HDC>(wp);
        RECT c = Client();
        FillRect(dc, &c, Background(dc));
        return 1;
    }
    case WM_PAINT:
        Paint();
        return 0;
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_SETFOCUS:
        Redraw();
        NotifyIf(LBN_SETFOCUS);
        return 0;
    case WM_KILLFOCUS:
        Redraw();
        NotifyIf(LBN_KILLFOCUS);
        return 0;
    case WM_ENABLE:
        Redraw();
        return 0;
    case WM_LBUTTONDOWN:
        OnButtonDown({GET_X_LPARAM(lp), GET_Y_LPARAM(lp)}, wp);
        return 0;
    case WM_MOUSEMOVE:
        if (tracking_ && GetCapture() == Handle() && !Multi()) {
            POINT p{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
            // Dragging past the ends scrolls one row at a time.
            int i = ItemAt(p, nullptr);
            if (!Columns() && p.y < 0) i = std::max(0, top_ - 1);
            if (!Columns() && p.y >= Client().bottom) i = std::min(Count() - 1, top_ + RowsPerPage());
            UserMoveTo(i, false, false);
        }
        return 0;
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED:
        if (tracking_) {
            tracking_ = false;
            if (GetCapture() == Handle()) ReleaseCapture();
        }
        return 0;
    case WM_LBUTTONDBLCLK: {
        bool outside = false;
        ItemAt({GET_X_LPARAM(lp), GET_Y_LPARAM(lp)}, &outside);
        if (!outside) NotifyIf(LBN_DBLCLK);
        return 0;
    }
    case WM_KEYDOWN:
        OnKey(static_cast<int>(wp));
        return 0;
    case WM_CHAR:
        OnChar(static_cast<char32_t>(wp));
        return 0;
    case WM_MOUSEWHEEL: {
        int notches = GET_WHEEL_DELTA_WPARAM(wp) / WHEEL_DELTA;
        if (Columns())
            SetTop(top_ - notches * RowsPerPage());
        else
            SetTop(top_ - notches * kWheelRows);
        return 0;
    }
    case WM_VSCROLL:
        if (!Columns())
            SetTop(ScrollTarget(LOWORD(wp), static_cast<int16_t>(HIWORD(wp)), top_, 0, Count() - 1,
                                RowsPerPage()));
        return 0;
    case WM_HSCROLL: {
        if (Columns()) {
            int rows = RowsPerPage();
            int cols = (Count() + rows - 1) / rows;
            SetTop(rows * ScrollTarget(LOWORD(wp), static_cast<int16_t>(HIWORD(wp)), top_ / rows, 0, cols - 1,
                                       VisibleColumns()));
        } else if (extent_ > 0) {
            int x = ScrollTarget(LOWORD(wp), static_cast<int16_t>(HIWORD(wp)), xOffset_, 0, extent_ - 1,
                                 Client().right, AverageCharWidth());
            if (x != xOffset_) xOffset_ = x, UpdateScroll(), Redraw();
        }
        return 0;
    }
    case LB_ADDSTRING: {
        int at = Count();
        if ((Style() & LBS_SORT) && HasStrings()) {
            std::string s = lp ? reinterpret_cast<const char*>(lp) : "";
            at = static_cast<int>(std::upper_bound(items_.begin(), items_.end(), s,
                                                   [](const std::string& a, const Item& b) {
                                                       return text::CompareNoCase(a, b.text) < 0;
                                                   }) -
                                  items_.begin());
        }
        return Insert(at, lp);
    }
    case LB_INSERTSTRING:
        return Insert(static_cast<int>(static_cast<intptr_t>(wp)), lp);
    case LB_DELETESTRING:
        return Delete(static_cast<int>(wp));
    case LB_RESETCONTENT:
        Reset();
        return 0;
    case LB_GETCOUNT:
        return Count();
    case LB_GETTEXT: {
        int i = static_cast<int>(wp);
        if (!Valid(i) || !lp) return LB_ERR;
        if (!HasStrings()) {
            *reinterpret_cast<uintptr_t*>(lp) = items_[i].data;
            return sizeof(uintptr_t);
        }
        const std::string& t = items_[i].text;
        t.copy(reinterpret_cast<char*>(lp), t.size());
        reinterpret_cast<char*>(lp)[t.size()] = 0;
        return static_cast<LRESULT>(t.size());
    }
    case LB_GETTEXTLEN: {
        int i = static_cast<int>(wp);
        if (!Valid(i)) return LB_ERR;
        return HasStrings() ? static_cast<LRESULT>(items_[i].text.size())
                            : static_cast<LRESULT>(sizeof(uintptr_t));
    }
    case LB_GETITEMDATA:
        return Valid(static_cast<int>(wp)) ? static_cast<LRESULT>(items_[wp].data)
                                           : static_cast<LRESULT>(LB_ERR);
    case LB_SETITEMDATA:
        if (!Valid(static_cast<int>(wp))) return LB_ERR;
        items_[wp].data = static_cast<uintptr_t>(lp);
        return TRUE;
    case LB_SETCURSEL: {
        if (Multi()) return LB_ERR;
        int i = static_cast<int>(static_cast<intptr_t>(wp));
        cur_ = Valid(i) ? i : -1;
        if (Valid(i)) MakeVisible(i);
        Redraw();
        return Valid(i) ? i : static_cast<int>(LB_ERR); // -1 clears and still answers LB_ERR, as Win32's does
    }
    case LB_GETCURSEL:
        return Valid(cur_) ? cur_ : static_cast<int>(LB_ERR);
    case LB_SETSEL: {
        if (!Multi()) return LB_ERR;
        int i = static_cast<int>(static_cast<intptr_t>(lp));
        if (i == -1) {
            for (Item& it : items_) it.selected = wp != 0;
        } else {
            if (!Valid(i)) return LB_ERR;
            items_[i].selected = wp != 0;
            cur_ = anchor_ = i;
        }
        Redraw();
        return 0;
    }
    case LB_GETSEL: {
        int i = static_cast<int>(wp);
        if (!Valid(i)) return LB_ERR;
        return Multi() ? items_[i].selected : i == cur_;
    }
    case LB_GETSELCOUNT:
        if (!Multi()) return LB_ERR;
        return std::count_if(items_.begin(), items_.end(), [](const Item& it) { return it.selected; });
    case LB_GETSELITEMS: {
        if (!Multi()) return LB_ERR;
        int n = 0, room = static_cast<int>(wp);
        auto* out = reinterpret_cast<int*>(lp);
        for (int i = 0; i < Count() && n < room && out; ++i)
            if (items_[i].selected) out[n++] = i;
        return n;
    }
    case LB_SELITEMRANGE:
        if (!Multi()) return LB_ERR;
        SelectRange(LOWORD(lp), HIWORD(lp), wp != 0);
        Redraw();
        return 0;
    case LB_SELITEMRANGEEX: {
        if (!Multi()) return LB_ERR;
        int first = static_cast<int>(static_cast<intptr_t>(wp)), last = static_cast<int>(lp);
        SelectRange(first, last, first <= last);
        Redraw();
        return 0;
    }
    case LB_SETCARETINDEX:
        if (!Valid(static_cast<int>(wp))) return LB_ERR;
        cur_ = static_cast<int>(wp);
        MakeVisible(cur_);
        Redraw();
        return 0;
    case LB_GETCARETINDEX:
        return Valid(cur_) ? cur_ : 0;
    case LB_SETANCHORINDEX:
        if (!Valid(static_cast<int>(wp))) return LB_ERR;
        anchor_ = static_cast<int>(wp);
        return 0;
    case LB_GETANCHORINDEX:
        return anchor_;
    case LB_SETTOPINDEX:
        if (!Valid(static_cast<int>(wp)) && !(wp == 0 && Count() == 0)) return LB_ERR;
        SetTop(static_cast<int>(wp));
        return 0;
    case LB_GETTOPINDEX:
        return top_;
    case LB_GETITEMRECT: {
        int i = static_cast<int>(wp);
        if (!lp || (!Valid(i) && !(i == 0 && Count() == 0))) return LB_ERR;
        *reinterpret_cast<RECT*>(lp) = ItemRect(i);
        return 1;
    }
    case LB_ITEMFROMPOINT: {
        bool outside = false;
        int i = ItemAt({GET_X_LPARAM(lp), GET_Y_LPARAM(lp)}, &outside);
        return MAKELRESULT(i, outside ? 1 : 0);
    }
    case LB_SETITEMHEIGHT: {
        int h = LOWORD(lp);
        if (h <= 0 || h > 255) return LB_ERR;
        itemHeight_ = h;
        top_ = std::min(top_, MaxTop());
        UpdateScroll();
        Redraw();
        return 0;
    }
    case LB_GETITEMHEIGHT:
        return itemHeight_;
    case LB_FINDSTRING:
    case LB_FINDSTRINGEXACT:
        return Find(static_cast<int>(static_cast<intptr_t>(wp)), lp ? reinterpret_cast<const char*>(lp) : "",
                    msg == LB_FINDSTRINGEXACT);
    case LB_SELECTSTRING: {
        int i = Find(static_cast<int>(static_cast<intptr_t>(wp)), lp ? reinterpret_cast<const char*>(lp) : "",
                     false);
        if (i == LB_ERR) return LB_ERR;
        if (Multi()) {
            items_[i].selected = true;
            cur_ = i;
        } else {
            cur_ = i;
        }
        MakeVisible(i);
        Redraw();
        return i;
    }
    case LB_SETCOLUMNWIDTH:
        columnWidth_ = std::max(1, static_cast<int>(wp));
        top_ = std::min(top_, MaxTop());
        UpdateScroll();
        Redraw();
        return 0;
    case LB_SETTABSTOPS: {
        // Stops come in dialog units: a quarter of the average character width each.
        tabs_.clear();
        auto* stops = reinterpret_cast<const int*>(lp);
        int n = static_cast<int>(wp);
        int dlu = AverageCharWidth();
        if (n == 0 || !stops) tabs_.push_back(kDefaultTabDlu * dlu / 4);
        for (int i = 0; i < n && stops; ++i) tabs_.push_back(stops[i] * dlu / 4);
        Redraw();
        return TRUE;
    }
    case LB_SETHORIZONTALEXTENT:
        extent_ = std::max(0, static_cast<int>(wp));
        xOffset_ = std::min(xOffset_, std::max(0, extent_ - static_cast<int>(Client().right)));
        UpdateScroll();
        Redraw();
        return 0;
    case LB_GETHORIZONTALEXTENT:
        return extent_;
    default:
        return ControlWindow::Proc(msg, wp, lp);
    }
}

} // namespace controls
