#include "controls/ListView.h"

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
#include "win/Scroll.h"
#include "win/Styles.h"
#include "win/Timers.h"
#include "win/Window.h"
#include "win/WindowPos.h"

#include <algorithm>
#include <cstring>
#include <numeric>

namespace controls {

namespace {
// Our layout numbers, in pixels.
constexpr int kLabelPad = 2;         // around the icon and the label of an item's first column
constexpr int kSubItemPad = 6;       // text inset of the other columns
constexpr int kIconCellExtra = 44;   // icon view: a cell is the icon width plus this
constexpr int kListColumnChars = 14; // list view: default column width in average characters
constexpr int kWheelLines = 3;
constexpr uintptr_t kEditTimer = 42;    // a click on the focused item waits this long for a double click
constexpr uint32_t kSearchPause = 1000; // type-ahead forgets what was typed after this many ms
constexpr int kDispTextMax = 1024;

int HeaderFormat(int lvfmt) {
    int f = HDF_STRING;
    if ((lvfmt & LVCFMT_JUSTIFYMASK) == LVCFMT_RIGHT) f |= HDF_RIGHT;
    if ((lvfmt & LVCFMT_JUSTIFYMASK) == LVCFMT_CENTER) f |= HDF_CENTER;
    if (lvfmt & LVCFMT_IMAGE) f |= HDF_IMAGE;
    return f;
}

bool Down(int vk) {
    return GetKeyState(vk) < 0;
}
} // namespace

ListView::ListView(HWND h)
    : ItemControlWindow(h), bkColor_(GetSysColor(COLOR_WINDOW)), textColor_(GetSysColor(COLOR_WINDOWTEXT)),
      textBkColor_(CLR_NONE) {}

ListView::~ListView() {
    if (editProc_) FreeProcInstance(editProc_);
}

// ---- items and states ----

int ListView::Count() const {
    return OwnerData() ? ownerCount_ : static_cast<int>(items_.size());
}

UINT ListView::StateOf(int i) const {
    if (!Valid(i)) return 0;
    return OwnerData() ? ownerStates_[i] : items_[i].state;
}

void ListView::StoreState(int i, UINT state) {
    if (!Valid(i)) return;
    (OwnerData() ? ownerStates_[i] : items_[i].state) = state;
}

LRESULT ListView::NotifyItem(int code, int i, int sub, UINT newState, UINT oldState, UINT changed, POINT pt) {
    NMLISTVIEW nm{};
    nm.iItem = i;
    nm.iSubItem = sub;
    nm.uNewState = newState;
    nm.uOldState = oldState;
    nm.uChanged = changed;
    nm.ptAction = pt;
    if (!OwnerData() && Valid(i)) nm.lParam = items_[i].lParam;
    return NotifyParent(nm.hdr, code);
}

// What an item shows: stored text and image, or the parent's answer for
// callback items and for every item of an owner-data list.
ListView::Shown ListView::Display(int i, int sub, UINT mask) {
    Shown s;
    if (!Valid(i)) return s;
    UINT ask = 0;
    if (OwnerData()) {
        ask = mask & (LVIF_TEXT | LVIF_IMAGE);
    } else {
        const Item& it = items_[i];
        if (sub < static_cast<int>(it.cells.size())) {
            const Cell& c = it.cells[sub];
            if (c.callback)
                ask |= mask & LVIF_TEXT;
            else
                s.text = c.text;
            if (mask & LVIF_IMAGE) {
                if (c.image == I_IMAGECALLBACK)
                    ask |= LVIF_IMAGE;
                else
                    s.image = c.image;
            }
        }
    }
    if (!ask) return s;
    std::vector<char> buf(kDispTextMax, 0);
    NMLVDISPINFO di{};
    di.item.mask = ask;
    di.item.iItem = i;
    di.item.iSubItem = sub;
    di.item.pszText = buf.data();
    di.item.cchTextMax = kDispTextMax;
    di.item.iImage = -1;
    if (!OwnerData()) di.item.lParam = items_[i].lParam;
    NotifyParent(di.hdr, LVN_GETDISPINFO);
    if ((ask & LVIF_TEXT) && di.item.pszText && di.item.pszText != LPSTR_TEXTCALLBACK)
        s.text = di.item.pszText;
    if (ask & LVIF_IMAGE) s.image = di.item.iImage;
    if ((di.item.mask & LVIF_DI_SETITEM) && !OwnerData() && Valid(i) &&
        sub < static_cast<int>(items_[i].cells.size())) {
        Cell& c = items_[i].cells[sub];
        if (ask & LVIF_TEXT) c.text = s.text, c.callback = false;
        if (ask & LVIF_IMAGE) c.image = s.image;
    }
    return s;
}

int ListView::InsertItem(const LVITEM& lv) {
    if (OwnerData() || lv.iSubItem != 0) return -1;
    int at = std::clamp(lv.iItem, 0, Count());
    Item it;
    if (lv.mask & LVIF_TEXT) {
        it.cells[0].callback = lv.pszText == LPSTR_TEXTCALLBACK;
        if (lv.pszText && !it.cells[0].callback) it.cells[0].text = lv.pszText;
    }
    if (lv.mask & LVIF_IMAGE) it.cells[0].image = lv.iImage;
    if (lv.mask & LVIF_PARAM) it.lParam = lv.lParam;
    if (lv.mask & LVIF_INDENT) it.indent = std::max(0, lv.iIndent);
    DWORD sort = Style() & (LVS_SORTASCENDING | LVS_SORTDESCENDING);
    if (sort && !it.cells[0].callback) {
        bool up = sort & LVS_SORTASCENDING;
        at = 0;
        while (at < Count()) {
            int c = text::CompareNoCase(items_[at].cells[0].text, it.cells[0].text);
            if (up ? c > 0 : c < 0) break;
            ++at;
        }
    }
    items_.insert(items_.begin() + at, std::move(it));
    if (mark_ >= at) ++mark_;
    if (edit_ && editItem_ >= at) ++editItem_;
    UpdateScrollInfo();
    InvalidateRect(Handle(), nullptr, TRUE);
    NotifyItem(LVN_INSERTITEM, at, 0, 0, 0, 0);
    if ((lv.mask & LVIF_STATE) && (lv.state & lv.stateMask) && Valid(at))
        SetState(at, lv.state, lv.stateMask);
    return at;
}

BOOL ListView::SetItem(const LVITEM& lv) {
    int i = lv.iItem, sub = lv.iSubItem;
    if (!Valid(i) || sub < 0) return FALSE;
    if (!OwnerData()) {
        UINT changed = lv.mask & (LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM | LVIF_INDENT);
        if (sub == 0 && changed) {
            if (NotifyItem(LVN_ITEMCHANGING, i, 0, 0, 0, changed) || !Valid(i)) return FALSE;
        }
        Item& it = items_[i];
        if (sub >= static_cast<int>(it.cells.size())) it.cells.resize(sub + 1);
        Cell& c = it.cells[sub];
        if (lv.mask & LVIF_TEXT) {
            c.callback = lv.pszText == LPSTR_TEXTCALLBACK;
            c.text = lv.pszText && !c.callback ? lv.pszText : "";
        }
        if (lv.mask & LVIF_IMAGE) c.image = lv.iImage;
        if (sub == 0 && (lv.mask & LVIF_PARAM)) it.lParam = lv.lParam;
        if (sub == 0 && (lv.mask & LVIF_INDENT)) it.indent = std::max(0, lv.iIndent);
        RedrawItems(i, i);
        if (sub == 0 && changed) NotifyItem(LVN_ITEMCHANGED, i, 0, 0, 0, changed);
    }
    if ((lv.mask & LVIF_STATE) && Valid(i)) return SetState(i, lv.state, lv.stateMask) ? TRUE : FALSE;
    return TRUE;
}

BOOL ListView::GetItem(LVITEM* lv) {
    if (!lv || !Valid(lv->iItem) || lv->iSubItem < 0) return FALSE;
    int i = lv->iItem;
    if (lv->mask & (LVIF_TEXT | LVIF_IMAGE)) {
        Shown s = Display(i, lv->iSubItem, lv->mask & (LVIF_TEXT | LVIF_IMAGE));
        if ((lv->mask & LVIF_TEXT) && lv->pszText && lv->pszText != LPSTR_TEXTCALLBACK &&
            lv->cchTextMax > 0) {
            size_t n = std::min(s.text.size(), static_cast<size_t>(lv->cchTextMax - 1));
            n = text::Snap(s.text, n);
            std::memcpy(lv->pszText, s.text.data(), n);
            lv->pszText[n] = 0;
        }
        if (lv->mask & LVIF_IMAGE) lv->iImage = s.image;
    }
    if (!Valid(i)) return FALSE;
    if (lv->mask & LVIF_STATE) lv->state = StateOf(i) & lv->stateMask;
    if (!OwnerData()) {
        if (lv->mask & LVIF_PARAM) lv->lParam = items_[i].lParam;
        if (lv->mask & LVIF_INDENT) lv->iIndent = items_[i].indent;
    }
    return TRUE;
}

bool ListView::DeleteItem(int i) {
    if (!Valid(i)) return false;
    if (edit_ && editItem_ == i) EndEdit(false);
    NotifyItem(LVN_DELETEITEM, i, 0, 0, 0, 0);
    if (!Valid(i)) return false;
    if (OwnerData()) {
        ownerStates_.erase(ownerStates_.begin() + i);
        --ownerCount_;
    } else {
        items_.erase(items_.begin() + i);
    }
    if (mark_ == i)
        mark_ = -1;
    else if (mark_ > i)
        --mark_;
    if (edit_ && editItem_ > i) --editItem_;
    UpdateScrollInfo();
    InvalidateRect(Handle(), nullptr, TRUE);
    return true;
}

bool ListView::DeleteAll() {
    if (edit_) EndEdit(false);
    if (Count() == 0) return true;
    if (!NotifyItem(LVN_DELETEALLITEMS, -1, 0, 0, 0, 0))
        for (int i = 0; i < Count(); ++i) NotifyItem(LVN_DELETEITEM, i, 0, 0, 0, 0);
    items_.clear();
    ownerCount_ = 0;
    ownerStates_.clear();
    mark_ = -1;
    hPos_ = vPos_ = 0;
    Layout();
    InvalidateRect(Handle(), nullptr, TRUE);
    return true;
}

// One state change, announced before (the parent may refuse) and after.
// Selecting in a single-selection list deselects the others first; focusing
// takes the focus from the item that had it.
bool ListView::SetState(int i, UINT state, UINT mask) {
    if (!Valid(i)) return false;
    UINT old = StateOf(i), neu = (old & ~mask) | (state & mask);
    if (neu == old) return true;
    if (NotifyItem(LVN_ITEMCHANGING, i, 0, neu, old, LVIF_STATE) || !Valid(i)) return false;
    if ((neu & ~old & LVIS_SELECTED) && (Style() & LVS_SINGLESEL)) Deselect(i);
    if (neu & ~old & LVIS_FOCUSED) {
        int f = NextItem(-1, LVNI_FOCUSED);
        if (f >= 0 && f != i) SetState(f, 0, LVIS_FOCUSED);
    }
    if (!Valid(i)) return false;
    old = StateOf(i);
    neu = (old & ~mask) | (state & mask);
    if (neu == old) return true;
    StoreState(i, neu);
    RedrawItems(i, i);
    NotifyItem(LVN_ITEMCHANGED, i, 0, neu, old, LVIF_STATE);
    return true;
}

void ListView::SetStateAll(UINT state, UINT mask) {
    if ((Style() & LVS_SINGLESEL) && (state & mask & LVIS_SELECTED)) mask &= ~LVIS_SELECTED;
    if (state & mask & LVIS_FOCUSED) mask &= ~LVIS_FOCUSED; // one item has the focus
    for (int i = 0; i < Count(); ++i) SetState(i, state, mask);
}

void ListView::Deselect(int except) {
    for (int i = 0; i < Count(); ++i)
        if (i != except && (StateOf(i) & LVIS_SELECTED)) SetState(i, 0, LVIS_SELECTED);
}

void ListView::SelectOnly(int i) {
    Deselect(i);
    SetState(i, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    mark_ = i;
}

void ListView::SelectRange(int from, int to) {
    int lo = std::min(from, to), hi = std::max(from, to);
    for (int i = 0; i < Count(); ++i)
        if ((i < lo || i > hi) && (StateOf(i) & LVIS_SELECTED)) SetState(i, 0, LVIS_SELECTED);
    for (int i = lo; i <= hi && i < Count(); ++i) SetState(i, LVIS_SELECTED, LVIS_SELECTED);
}

int ListView::NextItem(int start, UINT flags) {
    UINT want = flags & (LVNI_FOCUSED | LVNI_SELECTED);
    auto matches = [&](int i) { return (StateOf(i) & want) == want; };
    UINT dir = flags & (LVNI_ABOVE | LVNI_BELOW | LVNI_TOLEFT | LVNI_TORIGHT);
    if (dir) {
        if (!Valid(start)) return -1;
        int step = 1;
        DWORD v = View();
        int rows = ListRows(), cols = IconColumns();
        if (v == LVS_REPORT)
            step = dir & LVNI_ABOVE ? -1 : dir & LVNI_BELOW ? 1 : 0;
        else if (v == LVS_LIST)
            step = dir & LVNI_ABOVE ? -1 : dir & LVNI_BELOW ? 1 : dir & LVNI_TOLEFT ? -rows : rows;
        else
            step = dir & LVNI_ABOVE ? -cols : dir & LVNI_BELOW ? cols : dir & LVNI_TOLEFT ? -1 : 1;
        if (step == 0) return -1;
        for (int i = start + step; Valid(i); i += step)
            if (matches(i)) return i;
        return -1;
    }
    for (int i = std::max(0, start + 1); i < Count(); ++i)
        if (matches(i)) return i;
    return -1;
}

int ListView::FindItem(int start, const LVFINDINFO& fi) {
    int n = Count();
    if (n == 0) return -1;
    int first = start + 1 >= n ? ((fi.flags & LVFI_WRAP) ? 0 : n) : std::max(0, start + 1);
    if (first >= n) return -1;
    if (OwnerData()) {
        NMLVFINDITEM f{};
        f.iStart = first;
        f.lvfi = fi;
        return static_cast<int>(NotifyParent(f.hdr, LVN_ODFINDITEM));
    }
    std::string want = (fi.flags & (LVFI_STRING | LVFI_PARTIAL)) && fi.psz ? fi.psz : "";
    for (int k = 0; k < n; ++k) {
        int i = first + k;
        if (i >= n) {
            if (!(fi.flags & LVFI_WRAP)) break;
            i -= n;
        }
        if (!Valid(i)) break;
        if (fi.flags & LVFI_PARAM) {
            if (items_[i].lParam == fi.lParam) return i;
            continue;
        }
        if (!(fi.flags & (LVFI_STRING | LVFI_PARTIAL))) continue;
        std::string t = Display(i, 0, LVIF_TEXT).text;
        if ((fi.flags & LVFI_PARTIAL) ? text::StartsWithNoCase(t, want) : text::EqualNoCase(t, want))
            return i;
    }
    return -1;
}

void ListView::SortItems(PFNLVCOMPARE compare, LPARAM param) {
    if (!compare || OwnerData()) return;
    if (edit_) EndEdit(true);
    std::stable_sort(items_.begin(), items_.end(),
                     [&](const Item& a, const Item& b) { return compare(a.lParam, b.lParam, param) < 0; });
    InvalidateRect(Handle(), nullptr, TRUE);
}

void ListView::RedrawItems(int first, int last) {
    for (int i = std::max(0, first); i <= last && i < Count(); ++i) {
        RECT r = ItemBounds(i);
        if (View() == LVS_REPORT) {
            RECT c = Client();
            r.left = c.left;
            r.right = c.right;
        }
        InvalidateRect(Handle(), &r, TRUE);
    }
}

// ---- columns ----

int ListView::InsertColumn(int at, const LVCOLUMN& c) {
    EnsureHeader(); // before the column exists: the new header takes the columns so far
    at = std::clamp(at, 0, static_cast<int>(columns_.size()));
    Column col;
    col.subItem = at;
    columns_.insert(columns_.begin() + at, col);
    // Columns after the new one keep the sub-items they showed.
    SetColumn(at, c);
    if (!(c.mask & LVCF_SUBITEM)) columns_[at].subItem = at;
    HDITEM hi{};
    hi.mask = HDI_WIDTH | HDI_TEXT | HDI_FORMAT | HDI_LPARAM | HDI_IMAGE;
    hi.cxy = columns_[at].width;
    hi.pszText = columns_[at].text.data();
    hi.fmt = HeaderFormat(columns_[at].fmt);
    hi.iImage = columns_[at].image;
    syncingHeader_ = true;
    SendMessage(header_, HDM_INSERTITEM, at, reinterpret_cast<LPARAM>(&hi));
    syncingHeader_ = false;
    Layout();
    InvalidateRect(Handle(), nullptr, TRUE);
    return at;
}

void ListView::SetColumn(int index, const LVCOLUMN& c) {
    Column& col = columns_[index];
    if (c.mask & LVCF_FMT) col.fmt = c.fmt;
    if (c.mask & LVCF_WIDTH) col.width = std::max(0, c.cx);
    if ((c.mask & LVCF_TEXT) && c.pszText) col.text = c.pszText;
    if (c.mask & LVCF_SUBITEM) col.subItem = std::max(0, c.iSubItem);
    if (c.mask & LVCF_IMAGE) col.image = c.iImage;
    if (c.mask & LVCF_MINWIDTH) col.minWidth = std::max(0, c.cxMin);
    if (c.mask & LVCF_MAXWIDTH) col.maxWidth = std::max(0, c.cxMax);
    if (header_ && index < static_cast<int>(SendMessage(header_, HDM_GETITEMCOUNT, 0, 0))) {
        HDITEM hi{};
        hi.mask = HDI_WIDTH | HDI_TEXT | HDI_FORMAT | HDI_IMAGE;
        hi.cxy = col.width;
        hi.pszText = col.text.data();
        hi.fmt = HeaderFormat(col.fmt);
        hi.iImage = col.image;
        if (c.mask & LVCF_ORDER) hi.mask |= HDI_ORDER, hi.iOrder = c.iOrder;
        syncingHeader_ = true;
        SendMessage(header_, HDM_SETITEM, index, reinterpret_cast<LPARAM>(&hi));
        syncingHeader_ = false;
    }
}

BOOL ListView::GetColumn(int index, LVCOLUMN* c) const {
    if (!c || index < 0 || index >= static_cast<int>(columns_.size())) return FALSE;
    const Column& col = columns_[index];
    if (c->mask & LVCF_FMT) c->fmt = col.fmt;
    if (c->mask & LVCF_WIDTH) c->cx = col.width;
    if ((c->mask & LVCF_TEXT) && c->pszText && c->cchTextMax > 0) {
        size_t n = text::Snap(col.text, std::min(col.text.size(), static_cast<size_t>(c->cchTextMax - 1)));
        std::memcpy(c->pszText, col.text.data(), n);
        c->pszText[n] = 0;
    }
    if (c->mask & LVCF_SUBITEM) c->iSubItem = col.subItem;
    if (c->mask & LVCF_IMAGE) c->iImage = col.image;
    if (c->mask & LVCF_MINWIDTH) c->cxMin = col.minWidth;
    if (c->mask & LVCF_MAXWIDTH) c->cxMax = col.maxWidth;
    if (c->mask & LVCF_ORDER) {
        std::vector<int> order = ColumnOrder();
        c->iOrder = static_cast<int>(std::find(order.begin(), order.end(), index) - order.begin());
    }
    return TRUE;
}

void ListView::SetColumnWidth(int index, int width) {
    if (View() == LVS_LIST) {
        if (width > 0) listColumnWidth_ = width;
        UpdateScrollInfo();
        InvalidateRect(Handle(), nullptr, TRUE);
        return;
    }
    if (index < 0 || index >= static_cast<int>(columns_.size())) return;
    Column& col = columns_[index];
    if (width == LVSCW_AUTOSIZE || width == LVSCW_AUTOSIZE_USEHEADER) {
        // An owner-data list measures the rows on show only: asking for every
        // row of a large virtual list would stall.
        auto [first, last] = OwnerData() ? VisibleRange() : std::make_pair(0, Count());
        int w = 0;
        for (int i = first; i < last && i < Count(); ++i)
            w = std::max(w, TextWidth(Display(i, col.subItem, LVIF_TEXT).text));
        w += index == 0 ? 2 * kLabelPad + 2 + (smallImages_ ? [&] {
            int cx = 0, cy = 0;
            ImageList_GetIconSize(smallImages_, &cx, &cy);
            return cx + kLabelPad;
        }()
                                                            : 0)
                        : 2 * kSubItemPad;
        if (width == LVSCW_AUTOSIZE_USEHEADER) {
            w = std::max(w, TextWidth(col.text) + 2 * kSubItemPad + 4);
            if (index == static_cast<int>(columns_.size()) - 1) // the last column fills the list
                w = std::max(w, Client().right - (TotalWidth() - col.width) + hPos_);
        }
        width = w;
    }
    LVCOLUMN c{};
    c.mask = LVCF_WIDTH;
    c.cx = width;
    SetColumn(index, c);
    Layout();
    InvalidateRect(Handle(), nullptr, TRUE);
}

// The header's notices: widths are kept within the column's limits while
// the user drags, and every notice goes on to our parent, as Win32 does.
LRESULT ListView::OnHeaderNotify(NMHDR* hdr, WPARAM wp, LPARAM lp) {
    auto* nm = reinterpret_cast<NMHEADER*>(hdr);
    int code = static_cast<int>(hdr->code);
    int col = nm->iItem;
    bool known = col >= 0 && col < static_cast<int>(columns_.size());
    auto clampWidth = [&](int w) {
        const Column& c = columns_[col];
        w = std::max(w, c.minWidth);
        if (c.maxWidth > 0) w = std::min(w, c.maxWidth);
        return w;
    };
    switch (code) {
    case HDN_TRACK:
    case HDN_ITEMCHANGING:
        if (known && nm->pitem && (nm->pitem->mask & HDI_WIDTH) && !syncingHeader_)
            nm->pitem->cxy = clampWidth(nm->pitem->cxy);
        break;
    case HDN_ITEMCHANGED:
        if (known && !syncingHeader_) {
            HDITEM hi{};
            hi.mask = HDI_WIDTH;
            SendMessage(header_, HDM_GETITEM, col, reinterpret_cast<LPARAM>(&hi));
            columns_[col].width = hi.cxy;
            UpdateScrollInfo();
            InvalidateRect(Handle(), nullptr, TRUE);
        }
        break;
    case HDN_ITEMCLICK:
        if (known && !(Style() & LVS_NOSORTHEADER)) NotifyItem(LVN_COLUMNCLICK, -1, col, 0, 0, 0);
        break;
    case HDN_ENDDRAG:
        InvalidateRect(Handle(), nullptr, TRUE); // the columns show in their new order
        break;
    case HDN_DIVIDERDBLCLICK:
        if (known) {
            SetColumnWidth(col, LVSCW_AUTOSIZE);
            LVCOLUMN c{};
            c.mask = LVCF_WIDTH;
            c.cx = clampWidth(columns_[col].width);
            SetColumn(col, c);
            Layout();
        }
        break;
    default:
        break;
    }
    HWND p = Parent();
    return p ? SendMessage(p, WM_NOTIFY, wp, lp) : 0;
}

std::vector<int> ListView::ColumnOrder() const {
    std::vector<int> order(columns_.size());
    std::iota(order.begin(), order.end(), 0);
    if (header_ && !order.empty() &&
        static_cast<size_t>(SendMessage(header_, HDM_GETITEMCOUNT, 0, 0)) == order.size())
        SendMessage(header_, HDM_GETORDERARRAY, order.size(), reinterpret_cast<LPARAM>(order.data()));
    return order;
}

int ListView::ColumnLeft(int col) const {
    int x = 0;
    for (int c : ColumnOrder()) {
        if (c == col) return x;
        x += columns_[c].width;
    }
    return x;
}

int ListView::TotalWidth() const {
    int w = 0;
    for (const Column& c : columns_) w += c.width;
    return w;
}

// ---- geometry ----

// Created with the first column (or when asked for), never while the list
// view itself is being created: a list view subclassed after its creation
// must still see the header's WM_PARENTNOTIFY.
void ListView::EnsureHeader() {
    if (header_) return;
    DWORD style = static_cast<DWORD>(WS_CHILD) | HDS_HORZ | HDS_FULLDRAG;
    if (!(Style() & LVS_NOSORTHEADER)) style |= HDS_BUTTONS;
    if (exStyle_ & LVS_EX_HEADERDRAGDROP) style |= HDS_DRAGDROP;
    header_ = CreateWindowEx(0, WC_HEADER, "", style, 0, 0, 0, 0, Handle(), nullptr, nullptr, nullptr);
    if (!header_) return;
    SendMessage(header_, WM_SETFONT, reinterpret_cast<WPARAM>(Font()), 0);
    if (smallImages_) SendMessage(header_, HDM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(smallImages_));
    for (size_t i = 0; i < columns_.size(); ++i) {
        HDITEM hi{};
        hi.mask = HDI_WIDTH | HDI_TEXT | HDI_FORMAT | HDI_IMAGE;
        hi.cxy = columns_[i].width;
        hi.pszText = columns_[i].text.data();
        hi.fmt = HeaderFormat(columns_[i].fmt);
        hi.iImage = columns_[i].image;
        SendMessage(header_, HDM_INSERTITEM, i, reinterpret_cast<LPARAM>(&hi));
    }
    Layout();
}

void ListView::Layout() {
    RECT c = Client();
    bool show = header_ && View() == LVS_REPORT && !(Style() & LVS_NOCOLUMNHEADER);
    if (header_) {
        if (show) {
            RECT r{-hPos_, 0, c.right, c.bottom};
            WINDOWPOS wp{};
            HDLAYOUT layout{&r, &wp};
            SendMessage(header_, HDM_LAYOUT, 0, reinterpret_cast<LPARAM>(&layout));
            headerHeight_ = wp.cy;
            SetWindowPos(header_, nullptr, wp.x, wp.y, wp.cx, wp.cy,
                         SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
        } else {
            headerHeight_ = 0;
            if (IsWindowVisible(header_))
                SetWindowPos(header_, nullptr, 0, 0, 0, 0,
                             SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE | SWP_HIDEWINDOW);
        }
    } else {
        headerHeight_ = 0;
    }
    UpdateScrollInfo();
}

int ListView::RowHeight() const {
    int h = LineHeight() + 3;
    int cx = 0, cy = 0;
    if (smallImages_ && ImageList_GetIconSize(smallImages_, &cx, &cy)) h = std::max(h, cy + 1);
    return std::max(1, h);
}

int ListView::RowsPerPage() const {
    RECT c = Client();
    return std::max(0, (c.bottom - HeaderHeight()) / RowHeight());
}

int ListView::ListColumnWidth() const {
    if (listColumnWidth_ > 0) return listColumnWidth_;
    int cx = 0, cy = 0;
    if (smallImages_) ImageList_GetIconSize(smallImages_, &cx, &cy);
    return cx + 3 * kLabelPad + kListColumnChars * AverageCharWidth();
}

int ListView::ListRows() const {
    return std::max(1, static_cast<int>(Client().bottom) / RowHeight());
}

SIZE ListView::IconCell() const {
    if (View() == LVS_SMALLICON) return SIZE{ListColumnWidth(), RowHeight()};
    int cx = 32, cy = 32;
    if (normalImages_) ImageList_GetIconSize(normalImages_, &cx, &cy);
    return SIZE{cx + kIconCellExtra, cy + 2 * kLabelPad + 2 * LineHeight() + 4};
}

int ListView::IconColumns() const {
    return std::max(1, static_cast<int>(Client().right) / std::max<int>(1, IconCell().cx));
}

RECT ListView::ItemBounds(int i) const {
    switch (View()) {
    case LVS_REPORT: {
        int h = RowHeight(), y = HeaderHeight() + (i - vPos_) * h;
        return RECT{-hPos_, y, TotalWidth() - hPos_, y + h};
    }
    case LVS_LIST: {
        int rows = ListRows(), w = ListColumnWidth(), h = RowHeight();
        int x = (i / rows - hPos_) * w, y = (i % rows) * h;
        return RECT{x, y, x + w, y + h};
    }
    default: {
        SIZE cell = IconCell();
        int cols = IconColumns();
        int x = (i % cols) * cell.cx, y = (i / cols) * cell.cy - vPos_;
        return RECT{x, y, x + cell.cx, y + cell.cy};
    }
    }
}

RECT ListView::ItemPart(int i, int code) {
    RECT b = ItemBounds(i);
    RECT icon{}, label{};
    if (View() == LVS_ICON) {
        int cx = 32, cy = 32;
        if (normalImages_) ImageList_GetIconSize(normalImages_, &cx, &cy);
        icon = RECT{b.left + (b.right - b.left - cx) / 2, b.top + kLabelPad, 0, 0};
        icon.right = icon.left + cx;
        icon.bottom = icon.top + cy;
        label = RECT{b.left, icon.bottom + kLabelPad, b.right, b.bottom};
    } else {
        int left = b.left, right = b.right;
        if (View() == LVS_REPORT) {
            left = ColumnLeft(0) - hPos_;
            right = left + (columns_.empty() ? 0 : columns_[0].width);
        }
        int cx = 0, cy = 0;
        if (smallImages_) ImageList_GetIconSize(smallImages_, &cx, &cy);
        int indent = OwnerData() || !Valid(i) ? 0 : items_[i].indent * cx;
        icon = RECT{std::min(right, left + kLabelPad + indent), b.top, 0, b.bottom};
        icon.right = std::min(right, icon.left + cx);
        label = RECT{std::min(right, icon.right + kLabelPad), b.top, right, b.bottom};
    }
    switch (code) {
    case LVIR_ICON:
        return icon;
    case LVIR_LABEL:
        return label;
    case LVIR_SELECTBOUNDS:
        if (View() == LVS_REPORT && (exStyle_ & LVS_EX_FULLROWSELECT)) return b;
        return RECT{std::min(icon.left, label.left), std::min(icon.top, label.top),
                    std::max(icon.right, label.right), std::max(icon.bottom, label.bottom)};
    default:
        return b;
    }
}

RECT ListView::SubItemRect(int i, int sub, int code) {
    if (sub == 0 || View() != LVS_REPORT) return ItemPart(i, code);
    RECT b = ItemBounds(i);
    for (size_t c = 0; c < columns_.size(); ++c)
        if (columns_[c].subItem == sub) {
            int left = ColumnLeft(static_cast<int>(c)) - hPos_;
            return RECT{left, b.top, left + columns_[c].width, b.bottom};
        }
    return RECT{0, 0, 0, 0};
}

// Report view without whole-row selection hits an item only on its icon or
// label, as Win32's does; sub-item hit tests find every cell.
LVHITTESTINFO ListView::HitTest(POINT pt, bool subItems) {
    LVHITTESTINFO info{pt, 0, -1, 0};
    RECT c = Client();
    if (pt.y < HeaderHeight() && View() == LVS_REPORT) info.flags |= LVHT_ABOVE;
    if (pt.y < 0) info.flags |= LVHT_ABOVE;
    if (pt.y >= c.bottom) info.flags |= LVHT_BELOW;
    if (pt.x < 0) info.flags |= LVHT_TOLEFT;
    if (pt.x >= c.right) info.flags |= LVHT_TORIGHT;
    if (info.flags) return info;
    int hit = -1;
    switch (View()) {
    case LVS_REPORT: {
        int row = vPos_ + (pt.y - HeaderHeight()) / RowHeight();
        if (Valid(row) && pt.x < TotalWidth() - hPos_) hit = row;
        break;
    }
    case LVS_LIST: {
        int col = pt.x / ListColumnWidth() + hPos_, row = pt.y / RowHeight();
        if (row < ListRows()) hit = col * ListRows() + row;
        break;
    }
    default: {
        SIZE cell = IconCell();
        int col = pt.x / cell.cx, row = (pt.y + vPos_) / cell.cy;
        if (col < IconColumns()) hit = row * IconColumns() + col;
        break;
    }
    }
    if (!Valid(hit)) {
        info.flags = LVHT_NOWHERE;
        return info;
    }
    RECT icon = ItemPart(hit, LVIR_ICON), label = ItemPart(hit, LVIR_LABEL);
    if (View() != LVS_REPORT) {
        std::string t = Display(hit, 0, LVIF_TEXT).text;
        if (View() != LVS_ICON)
            label.right = std::min<LONG>(label.right, label.left + TextWidth(t) + 2 * kLabelPad);
    }
    if (PtInRect(&icon, pt))
        info.flags = LVHT_ONITEMICON;
    else if (PtInRect(&label, pt))
        info.flags = LVHT_ONITEMLABEL;
    else if (View() == LVS_REPORT && (subItems || (exStyle_ & LVS_EX_FULLROWSELECT)))
        info.flags = LVHT_ONITEMLABEL;
    else {
        info.flags = LVHT_NOWHERE;
        return info;
    }
    info.iItem = hit;
    if (subItems && View() == LVS_REPORT) {
        int x = -hPos_;
        for (int col : ColumnOrder()) {
            if (pt.x >= x && pt.x < x + columns_[col].width) info.iSubItem = columns_[col].subItem;
            x += columns_[col].width;
        }
    }
    return info;
}

std::pair<int, int> ListView::VisibleRange() const {
    RECT c = Client();
    int n = Count();
    switch (View()) {
    case LVS_REPORT: {
        int h = RowHeight();
        int rows = (c.bottom - HeaderHeight() + h - 1) / h;
        return {std::min(n, vPos_), std::min(n, vPos_ + std::max(0, rows))};
    }
    case LVS_LIST: {
        int w = ListColumnWidth(), rows = ListRows();
        int cols = (c.right + w - 1) / w;
        return {std::min(n, hPos_ * rows), std::min(n, (hPos_ + cols) * rows)};
    }
    default: {
        SIZE cell = IconCell();
        int first = vPos_ / cell.cy, last = (vPos_ + c.bottom + cell.cy - 1) / cell.cy;
        return {std::min(n, first * IconColumns()), std::min(n, last * IconColumns())};
    }
    }
}

// Keeps the positions in range and the window's scroll information in step.
void ListView::UpdateScrollInfo() {
    RECT c = Client();
    int n = Count();
    // Bar ranges (min 0): vertical max, page, position; horizontal likewise.
    int vMax = 0, vPage = 0, hMax = 0, hPage = 0;
    switch (View()) {
    case LVS_REPORT: {
        int rows = RowsPerPage(), total = TotalWidth();
        vPos_ = std::clamp(vPos_, 0, std::max(0, n - std::max(1, rows)));
        hPos_ = std::clamp(hPos_, 0, std::max(0, total - static_cast<int>(c.right)));
        vMax = std::max(0, n - 1);
        vPage = rows;
        hMax = std::max(0, total - 1);
        hPage = c.right;
        break;
    }
    case LVS_LIST: {
        int rows = ListRows(), cols = (n + rows - 1) / rows;
        int page = std::max(1, static_cast<int>(c.right) / ListColumnWidth());
        vPos_ = 0;
        hPos_ = std::clamp(hPos_, 0, std::max(0, cols - page));
        hMax = std::max(0, cols - 1);
        hPage = page;
        break;
    }
    default: {
        SIZE cell = IconCell();
        int total = (n + IconColumns() - 1) / IconColumns() * cell.cy;
        hPos_ = 0;
        vPos_ = std::clamp(vPos_, 0, std::max(0, total - static_cast<int>(c.bottom)));
        vMax = std::max(0, total - 1);
        vPage = c.bottom;
        break;
    }
    }
    if (Style() & LVS_NOSCROLL) vMax = hMax = 0;
    SetScroll(SB_VERT, 0, vMax, vPage, vPos_);
    SetScroll(SB_HORZ, 0, hMax, hPage, hPos_);
}

void ListView::ScrollTo(int hPos, int vPos) {
    if (edit_) EndEdit(true);
    int oldH = hPos_, oldV = vPos_;
    hPos_ = hPos;
    vPos_ = vPos;
    UpdateScrollInfo();
    if (hPos_ == oldH && vPos_ == oldV) return;
    if (hPos_ != oldH && View() == LVS_REPORT) Layout();
    InvalidateRect(Handle(), nullptr, TRUE);
}

void ListView::ScrollByPixels(int dx, int dy) {
    auto rounded = [](int d, int unit) { return (d + (d < 0 ? -unit / 2 : unit / 2)) / unit; };
    switch (View()) {
    case LVS_REPORT:
        ScrollTo(hPos_ + dx, vPos_ + rounded(dy, RowHeight()));
        break;
    case LVS_LIST:
        ScrollTo(hPos_ + rounded(dx, ListColumnWidth()), 0);
        break;
    default:
        ScrollTo(0, vPos_ + dy);
        break;
    }
}

void ListView::EnsureVisible(int i, bool partialOk) {
    if (!Valid(i)) return;
    RECT c = Client();
    switch (View()) {
    case LVS_REPORT: {
        int rows = std::max(1, RowsPerPage());
        if (partialOk && i >= vPos_ && i <= vPos_ + rows) return;
        if (i < vPos_)
            ScrollTo(hPos_, i);
        else if (i >= vPos_ + rows)
            ScrollTo(hPos_, i - rows + 1);
        break;
    }
    case LVS_LIST: {
        int col = i / ListRows(), page = std::max(1, static_cast<int>(c.right) / ListColumnWidth());
        if (col < hPos_)
            ScrollTo(col, 0);
        else if (col >= hPos_ + page)
            ScrollTo(col - page + 1, 0);
        break;
    }
    default: {
        SIZE cell = IconCell();
        int y = i / IconColumns() * cell.cy;
        if (y < vPos_)
            ScrollTo(0, y);
        else if (y + cell.cy > vPos_ + c.bottom)
            ScrollTo(0, y + cell.cy - c.bottom);
        break;
    }
    }
}

void ListView::OnScroll(int bar, int code) {
    SCROLLINFO si{sizeof(SCROLLINFO), SIF_ALL, 0, 0, 0, 0, 0};
    GetScrollInfo(Handle(), bar, &si);
    int line = 1;
    if (View() == LVS_REPORT && bar == SB_HORZ) line = AverageCharWidth();
    if (View() == LVS_ICON || View() == LVS_SMALLICON) line = LineHeight();
    int thumb = thumbPos_;
    int pos = ScrollTarget(code, thumb, si.nPos, si.nMin, si.nMax, static_cast<int>(si.nPage), line);
    if (bar == SB_VERT)
        ScrollTo(hPos_, pos);
    else
        ScrollTo(pos, vPos_);
}

// ---- input ----

void ListView::MoveFocus(int to, bool shift, bool ctrl) {
    if (!Valid(to)) return;
    bool multi = !(Style() & LVS_SINGLESEL);
    if (multi && ctrl) {
        SetState(to, LVIS_FOCUSED, LVIS_FOCUSED);
    } else if (multi && shift) {
        int anchor = Valid(mark_) ? mark_ : to;
        SelectRange(anchor, to);
        SetState(to, LVIS_FOCUSED, LVIS_FOCUSED);
        mark_ = anchor;
    } else {
        SelectOnly(to);
    }
    EnsureVisible(to, false);
}

void ListView::OnKey(int vk) {
    NMLVKEYDOWN kd{};
    kd.wVKey = static_cast<WORD>(vk);
    NotifyParent(kd.hdr, LVN_KEYDOWN);
    if (!IsWindow(Handle())) return;
    int n = Count();
    if (n == 0) return;
    bool shift = Down(VK_SHIFT), ctrl = Down(VK_CONTROL);
    int cur = NextItem(-1, LVNI_FOCUSED);
    int rows = ListRows(), cols = IconColumns(), page = std::max(1, RowsPerPage());
    DWORD v = View();
    int to = -2;
    switch (vk) {
    case VK_UP:
        to = v == LVS_REPORT || v == LVS_LIST ? cur - 1 : cur - cols;
        break;
    case VK_DOWN:
        to = v == LVS_REPORT || v == LVS_LIST ? cur + 1 : cur + cols;
        break;
    case VK_LEFT:
        if (v == LVS_REPORT) {
            ScrollTo(hPos_ - AverageCharWidth(), vPos_);
            return;
        }
        to = v == LVS_LIST ? cur - rows : cur - 1;
        break;
    case VK_RIGHT:
        if (v == LVS_REPORT) {
            ScrollTo(hPos_ + AverageCharWidth(), vPos_);
            return;
        }
        to = v == LVS_LIST ? cur + rows : cur + 1;
        break;
    case VK_PRIOR:
        if (v == LVS_REPORT)
            to = cur == vPos_ ? cur - page + 1 : vPos_;
        else
            to =
                cur - (v == LVS_LIST ? rows
                                     : cols * std::max(1, static_cast<int>(Client().bottom) / IconCell().cy));
        break;
    case VK_NEXT:
        if (v == LVS_REPORT)
            to = cur == vPos_ + page - 1 ? cur + page - 1 : vPos_ + page - 1;
        else
            to =
                cur + (v == LVS_LIST ? rows
                                     : cols * std::max(1, static_cast<int>(Client().bottom) / IconCell().cy));
        break;
    case VK_HOME:
        to = 0;
        break;
    case VK_END:
        to = n - 1;
        break;
    case VK_SPACE:
        if (Valid(cur)) {
            if (ctrl && !(Style() & LVS_SINGLESEL))
                SetState(cur, StateOf(cur) ^ LVIS_SELECTED, LVIS_SELECTED);
            else
                SetState(cur, LVIS_SELECTED, LVIS_SELECTED);
            mark_ = cur;
        }
        return;
    case VK_F2:
        if ((Style() & LVS_EDITLABELS) && Valid(cur)) BeginEdit(cur);
        return;
    case VK_RETURN: {
        NMHDR hdr{};
        NotifyParent(hdr, NM_RETURN);
        if (Valid(cur) && IsWindow(Handle())) NotifyItem(LVN_ITEMACTIVATE, cur, 0, 0, 0, 0);
        return;
    }
    default:
        return;
    }
    if (cur < 0) to = 0;
    MoveFocus(std::clamp(to, 0, n - 1), shift, ctrl);
}

// Type-ahead: characters typed in quick succession search by prefix;
// repeating one character steps through the items that start with it.
void ListView::OnChar(char32_t c) {
    if (c < 0x20 || c == 0x7F || Count() == 0) return;
    uint32_t now = GetTickCount();
    if (now - searchTime_ > kSearchPause) search_.clear();
    searchTime_ = now;
    search_ += text::Encode(c);
    std::string want = search_;
    int cur = NextItem(-1, LVNI_FOCUSED);
    bool same = text::CountChars(search_) > 1;
    for (size_t i = 0; same && i < search_.size(); i = text::Next(search_, i))
        same = text::At(search_, i) == c;
    int start = cur;
    if (same)
        want = text::Encode(c);
    else if (text::CountChars(search_) > 1)
        start = cur - 1; // the focused item may still match
    LVFINDINFO fi{LVFI_STRING | LVFI_PARTIAL | LVFI_WRAP, want.c_str(), 0, {}, 0};
    int found = FindItem(start, fi);
    if (Valid(found)) MoveFocus(found, false, false);
}

void ListView::OnButtonDown(POINT pt, bool right, bool dbl) {
    bool hadFocus = Focused() || (edit_ && GetFocus() == edit_);
    if (edit_) EndEdit(true);
    if (!Focused()) SetFocus(Handle());
    if (!IsWindow(Handle())) return;
    KillTimer(Handle(), kEditTimer);
    editPending_ = false;
    LVHITTESTINFO hit = HitTest(pt, false);
    int item = hit.iItem;
    if (dbl) {
        NMLISTVIEW nm{};
        nm.iItem = item;
        nm.ptAction = pt;
        NotifyParent(nm.hdr, right ? int{NM_RDBLCLK} : int{NM_DBLCLK});
        if (!right && Valid(item) && IsWindow(Handle())) NotifyItem(LVN_ITEMACTIVATE, item, 0, 0, 0, 0, pt);
        return;
    }
    bool shift = Down(VK_SHIFT), ctrl = Down(VK_CONTROL), multi = !(Style() & LVS_SINGLESEL);
    clickItem_ = item;
    (right ? rightDown_ : clickDown_) = true;
    if (!Valid(item)) {
        if (!(multi && (ctrl || shift))) Deselect(-1);
        return;
    }
    bool wasCurrent = (StateOf(item) & (LVIS_SELECTED | LVIS_FOCUSED)) == (LVIS_SELECTED | LVIS_FOCUSED);
    if (right) {
        if (!(StateOf(item) & LVIS_SELECTED))
            SelectOnly(item);
        else
            SetState(item, LVIS_FOCUSED, LVIS_FOCUSED);
    } else if (multi && ctrl) {
        SetState(item, (StateOf(item) ^ LVIS_SELECTED) | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        mark_ = item;
    } else if (multi && shift) {
        MoveFocus(item, true, false);
    } else {
        SelectOnly(item);
    }
    // A click on the label of the item that already was the current one
    // starts editing once the double-click time has passed without a second click.
    if (!right && !ctrl && !shift && wasCurrent && hadFocus && (Style() & LVS_EDITLABELS) &&
        (hit.flags & LVHT_ONITEMLABEL) && IsWindow(Handle())) {
        editPending_ = true;
        SetTimer(Handle(), kEditTimer, GetDoubleClickTime(), nullptr);
    }
}

// ---- label editing ----

HWND ListView::BeginEdit(int i) {
    if (edit_) EndEdit(true);
    if (!Valid(i) || !IsWindow(Handle())) return nullptr;
    EnsureVisible(i, false);
    std::string text = Display(i, 0, LVIF_TEXT).text;
    std::vector<char> buf(text.begin(), text.end());
    buf.push_back(0);
    NMLVDISPINFO di{};
    di.item.mask = LVIF_TEXT | LVIF_PARAM | LVIF_STATE;
    di.item.iItem = i;
    di.item.pszText = buf.data();
    di.item.cchTextMax = static_cast<int>(buf.size());
    di.item.state = StateOf(i);
    if (!OwnerData()) di.item.lParam = items_[i].lParam;
    if (NotifyParent(di.hdr, LVN_BEGINLABELEDIT) || !Valid(i) || !IsWindow(Handle())) return nullptr;
    RECT r = ItemPart(i, LVIR_LABEL);
    int w = std::max<int>(r.right - r.left, TextWidth(text) + 4 * kLabelPad + AverageCharWidth());
    int h = std::max<int>(r.bottom - r.top, LineHeight() + 4);
    if (View() == LVS_ICON) h = LineHeight() + 4;
    return OpenLabelEdit(text, r.left, r.top, w, h, [&] { editItem_ = i; });
}

// The parent sees the new text (none when cancelled) and keeps it by answering TRUE.
void ListView::EndEdit(bool commit) {
    if (!edit_) return;
    HWND e = edit_;
    int i = editItem_;
    edit_ = nullptr;
    editItem_ = -1;
    std::string text = GetWindowTextString(e);
    bool hadFocus = GetFocus() == e;
    ShowWindow(e, SW_HIDE);
    std::vector<char> buf(text.begin(), text.end());
    buf.push_back(0);
    NMLVDISPINFO di{};
    di.item.mask = LVIF_TEXT | LVIF_PARAM;
    di.item.iItem = i;
    di.item.pszText = commit ? buf.data() : nullptr;
    di.item.cchTextMax = static_cast<int>(buf.size());
    if (!OwnerData() && Valid(i)) di.item.lParam = items_[i].lParam;
    LRESULT keep = Valid(i) ? NotifyParent(di.hdr, LVN_ENDLABELEDIT) : 0;
    if (commit && keep && Valid(i) && !OwnerData()) {
        LVITEM lv{};
        lv.mask = LVIF_TEXT;
        lv.iItem = i;
        lv.pszText = buf.data();
        SetItem(lv);
    }
    if (hadFocus && IsWindow(Handle())) SetFocus(Handle());
    if (IsWindow(e)) DestroyWindow(e);
}

// ---- painting ----

void ListView::DrawCellText(HDC dc, const std::string& text, RECT r, int fmt, bool selected) {
    if (r.right <= r.left || text.empty()) return;
    UINT align = (fmt & LVCFMT_JUSTIFYMASK) == LVCFMT_RIGHT    ? DT_RIGHT
                 : (fmt & LVCFMT_JUSTIFYMASK) == LVCFMT_CENTER ? DT_CENTER
                                                               : DT_LEFT;
    if (!selected && textBkColor_ != CLR_NONE) { // behind the text, as Win32's opaque text does
        SIZE ext{};
        GetTextExtentPoint32(dc, text.c_str(), static_cast<int>(text.size()), &ext);
        int w = std::min<int>(ext.cx, r.right - r.left);
        int x = align == DT_RIGHT ? r.right - w : align == DT_CENTER ? (r.left + r.right - w) / 2 : r.left;
        RECT back{x, r.top, x + w, r.bottom};
        HBRUSH br = CreateSolidBrush(textBkColor_);
        FillRect(dc, &back, br);
        DeleteObject(br);
    }
    DrawText(dc, text.c_str(), static_cast<int>(text.size()), &r,
             align | DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
}

void ListView::PaintRow(HDC dc, int i, const RECT& clip) {
    RECT b = ItemBounds(i);
    if (b.bottom <= clip.top || b.top >= clip.bottom) return;
    UINT st = StateOf(i);
    bool focusedWindow = Focused();
    bool sel = (st & LVIS_SELECTED) && (focusedWindow || (Style() & LVS_SHOWSELALWAYS));
    bool full = exStyle_ & LVS_EX_FULLROWSELECT;
    COLORREF selBk = GetSysColor(focusedWindow ? COLOR_HIGHLIGHT : COLOR_BTNFACE);
    COLORREF selText = GetSysColor(focusedWindow ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT);
    if (sel && full) {
        HBRUSH br = CreateSolidBrush(selBk);
        FillRect(dc, &b, br);
        DeleteObject(br);
    }
    int x = -hPos_;
    RECT focusRect = b;
    for (int col : ColumnOrder()) {
        const Column& c = columns_[col];
        RECT cell{x, b.top, x + c.width, b.bottom};
        x += c.width;
        if (c.width <= 0 || cell.right <= clip.left || cell.left >= clip.right) continue;
        bool wantImage = c.subItem == 0 || (exStyle_ & LVS_EX_SUBITEMIMAGES);
        Shown s = Display(i, c.subItem, LVIF_TEXT | (wantImage ? UINT{LVIF_IMAGE} : 0u));
        if (!Valid(i)) return;
        int save = SaveDC(dc);
        IntersectClipRect(dc, cell.left, cell.top, cell.right, cell.bottom);
        RECT tr{cell.left + kSubItemPad, cell.top, cell.right - kSubItemPad, cell.bottom};
        bool selText0 = sel && full;
        if (c.subItem == 0) {
            RECT icon = ItemPart(i, LVIR_ICON), label = ItemPart(i, LVIR_LABEL);
            if (smallImages_ && s.image >= 0) {
                int cx = 0, cy = 0;
                ImageList_GetIconSize(smallImages_, &cx, &cy);
                ImageList_Draw(smallImages_, s.image, dc, icon.left,
                               icon.top + (icon.bottom - icon.top - cy) / 2, ILD_TRANSPARENT);
            }
            tr = RECT{label.left + kLabelPad, label.top, label.right - kLabelPad, label.bottom};
            if (sel && !full) {
                RECT hl{label.left, label.top,
                        std::min<LONG>(label.right, label.left + TextWidth(s.text) + 2 * kLabelPad),
                        label.bottom};
                HBRUSH br = CreateSolidBrush(selBk);
                FillRect(dc, &hl, br);
                DeleteObject(br);
                focusRect = hl;
                selText0 = true;
            }
        } else if (wantImage && smallImages_ && s.image >= 0) {
            int cx = 0, cy = 0;
            ImageList_GetIconSize(smallImages_, &cx, &cy);
            ImageList_Draw(smallImages_, s.image, dc, tr.left, cell.top + (cell.bottom - cell.top - cy) / 2,
                           ILD_TRANSPARENT);
            tr.left += cx + kLabelPad;
        }
        SetTextColor(dc, selText0 ? selText : textColor_);
        DrawCellText(dc, s.text, tr, c.fmt, selText0);
        RestoreDC(dc, save);
    }
    if ((st & LVIS_FOCUSED) && focusedWindow) {
        if (full) focusRect.right = std::min<LONG>(focusRect.right, TotalWidth() - hPos_);
        DrawFocusRect(dc, &focusRect);
    }
}

void ListView::PaintLabelItem(HDC dc, int i) {
    UINT st = StateOf(i);
    bool focusedWindow = Focused();
    bool sel = (st & LVIS_SELECTED) && (focusedWindow || (Style() & LVS_SHOWSELALWAYS));
    Shown s = Display(i, 0, LVIF_TEXT | LVIF_IMAGE);
    if (!Valid(i)) return;
    RECT icon = ItemPart(i, LVIR_ICON), label = ItemPart(i, LVIR_LABEL);
    HIMAGELIST list = View() == LVS_ICON ? normalImages_ : smallImages_;
    if (list && s.image >= 0) {
        int cx = 0, cy = 0;
        ImageList_GetIconSize(list, &cx, &cy);
        ImageList_Draw(list, s.image, dc, icon.left, icon.top + (icon.bottom - icon.top - cy) / 2,
                       ILD_TRANSPARENT);
    }
    UINT fmt = View() == LVS_ICON ? DT_CENTER | DT_WORDBREAK | DT_END_ELLIPSIS | DT_NOPREFIX
                                  : DT_LEFT | DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX;
    RECT hl = label;
    if (View() != LVS_ICON)
        hl.right = std::min<LONG>(label.right, label.left + TextWidth(s.text) + 2 * kLabelPad);
    if (sel) {
        HBRUSH br = CreateSolidBrush(GetSysColor(focusedWindow ? COLOR_HIGHLIGHT : COLOR_BTNFACE));
        FillRect(dc, &hl, br);
        DeleteObject(br);
    }
    SetTextColor(dc, sel ? GetSysColor(focusedWindow ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT) : textColor_);
    RECT tr{label.left + kLabelPad, label.top, label.right - kLabelPad, label.bottom};
    DrawText(dc, s.text.c_str(), static_cast<int>(s.text.size()), &tr, fmt);
    if ((st & LVIS_FOCUSED) && focusedWindow) DrawFocusRect(dc, &hl);
}

void ListView::Paint(HDC given) {
    PAINTSTRUCT ps{};
    HDC dc = given ? given : BeginPaint(Handle(), &ps);
    RECT c = Client();
    RECT clip = given ? c : ps.rcPaint;
    if (bkColor_ != CLR_NONE) {
        HBRUSH br = CreateSolidBrush(bkColor_);
        FillRect(dc, &clip, br);
        DeleteObject(br);
    }
    HGDIOBJ oldFont = SelectFont(dc);
    int mode = SetBkMode(dc, TRANSPARENT);
    auto [first, last] = VisibleRange();
    if (OwnerData() && first < last) {
        NMLVCACHEHINT hint{};
        hint.iFrom = first;
        hint.iTo = last - 1;
        NotifyParent(hint.hdr, LVN_ODCACHEHINT);
    }
    for (int i = first; i < last && i < Count(); ++i) {
        if (View() == LVS_REPORT)
            PaintRow(dc, i, clip);
        else
            PaintLabelItem(dc, i);
    }
    if (View() == LVS_REPORT && (exStyle_ & LVS_EX_GRIDLINES) && !columns_.empty()) {
        HBRUSH grid = GetSysColorBrush(COLOR_BTNFACE);
        int h = RowHeight(), right = std::min<int>(c.right, TotalWidth() - hPos_);
        for (int y = HeaderHeight() + h - 1; y < c.bottom; y += h) {
            RECT line{0, y, right, y + 1};
            FillRect(dc, &line, grid);
        }
        int x = -hPos_;
        for (int col : ColumnOrder()) {
            x += columns_[col].width;
            if (columns_[col].width <= 0) continue;
            RECT line{x - 1, HeaderHeight(), x, c.bottom};
            FillRect(dc, &line, grid);
        }
    }
    SetBkMode(dc, mode);
    SelectObject(dc, oldFont);
    if (!given) EndPaint(Handle(), &ps);
}

// ---- messages ----

void ListView::NotifyClick(int code, POINT pt) {
    NMLISTVIEW nm{};
    nm.iItem = clickItem_;
    nm.ptAction = pt;
    NotifyParent(nm.hdr, code);
}

LRESULT ListView::Proc(UINT msg, WPARAM wp, LPARAM lp) {
    if (LRESULT handled = 0; ItemViewProc(msg, wp, lp, handled)) return handled;
    switch (msg) {
    case WM_CREATE:
        Layout();
        return 0;
    case WM_SIZE:
        Layout();
        InvalidateRect(Handle(), nullptr, TRUE);
        return 0;
    case WM_SETFONT:
        ControlWindow::Proc(msg, wp, lp);
        if (header_) SendMessage(header_, WM_SETFONT, wp, lp);
        Layout();
        return 0;
    case WM_STYLECHANGED:
        if (View() == LVS_REPORT && !columns_.empty()) EnsureHeader();
        Layout();
        InvalidateRect(Handle(), nullptr, TRUE);
        return 0;
    case WM_DESTROY:
        DestroyLabelEdit(kEditTimer);
        if (!OwnerData()) DeleteAll();
        return Default(msg, wp, lp);
    case WM_TIMER:
        if (wp == kEditTimer) {
            KillTimer(Handle(), kEditTimer);
            if (editPending_) {
                editPending_ = false;
                int f = NextItem(-1, LVNI_FOCUSED);
                if (Valid(f) && Focused()) BeginEdit(f);
            }
            return 0;
        }
        return Default(msg, wp, lp);
    case WM_VSCROLL:
    case WM_HSCROLL:
        thumbPos_ = HIWORD(wp);
        OnScroll(msg == WM_VSCROLL ? SB_VERT : SB_HORZ, LOWORD(wp));
        return 0;
    case WM_MOUSEWHEEL: {
        int notches = GET_WHEEL_DELTA_WPARAM(wp) / WHEEL_DELTA;
        if (View() == LVS_REPORT)
            ScrollTo(hPos_, vPos_ - notches * kWheelLines);
        else if (View() == LVS_LIST)
            ScrollTo(hPos_ - notches, 0);
        else
            ScrollTo(0, vPos_ - notches * kWheelLines * LineHeight());
        return 0;
    }
    case WM_NOTIFY: {
        auto* hdr = reinterpret_cast<NMHDR*>(lp);
        if (hdr && header_ && hdr->hwndFrom == header_) return OnHeaderNotify(hdr, wp, lp);
        return 0;
    }
    case WM_COMMAND:
        if (edit_ && reinterpret_cast<HWND>(lp) == edit_ && HIWORD(wp) == EN_KILLFOCUS) EndEdit(true);
        return 0;

    case LVM_GETBKCOLOR:
        return bkColor_;
    case LVM_SETBKCOLOR:
        bkColor_ = static_cast<COLORREF>(lp);
        InvalidateRect(Handle(), nullptr, TRUE);
        return TRUE;
    case LVM_GETTEXTCOLOR:
        return textColor_;
    case LVM_SETTEXTCOLOR:
        textColor_ = static_cast<COLORREF>(lp);
        InvalidateRect(Handle(), nullptr, TRUE);
        return TRUE;
    case LVM_GETTEXTBKCOLOR:
        return textBkColor_;
    case LVM_SETTEXTBKCOLOR:
        textBkColor_ = static_cast<COLORREF>(lp);
        InvalidateRect(Handle(), nullptr, TRUE);
        return TRUE;
    case LVM_GETIMAGELIST:
        return reinterpret_cast<LRESULT>(wp == LVSIL_NORMAL  ? normalImages_
                                         : wp == LVSIL_SMALL ? smallImages_
                                         : wp == LVSIL_STATE ? stateImages_
                                                             : nullptr);
    case LVM_SETIMAGELIST: {
        HIMAGELIST* slot = wp == LVSIL_NORMAL  ? &normalImages_
                           : wp == LVSIL_SMALL ? &smallImages_
                           : wp == LVSIL_STATE ? &stateImages_
                                               : nullptr;
        if (!slot) return 0;
        HIMAGELIST old = *slot;
        *slot = reinterpret_cast<HIMAGELIST>(lp);
        // Column images come from the small images, as Win32's do.
        if (header_ && slot == &smallImages_) SendMessage(header_, HDM_SETIMAGELIST, 0, lp);
        Layout();
        InvalidateRect(Handle(), nullptr, TRUE);
        return reinterpret_cast<LRESULT>(old);
    }
    case LVM_GETITEMCOUNT:
        return Count();
    case LVM_GETITEM:
        return GetItem(reinterpret_cast<LVITEM*>(lp));
    case LVM_SETITEM:
        return lp ? SetItem(*reinterpret_cast<const LVITEM*>(lp)) : FALSE;
    case LVM_INSERTITEM:
        return lp ? InsertItem(*reinterpret_cast<const LVITEM*>(lp)) : -1;
    case LVM_DELETEITEM:
        return DeleteItem(static_cast<int>(wp)) ? TRUE : FALSE;
    case LVM_DELETEALLITEMS:
        return DeleteAll() ? TRUE : FALSE;
    case LVM_GETCALLBACKMASK:
        return callbackMask_;
    case LVM_SETCALLBACKMASK:
        callbackMask_ = static_cast<UINT>(wp);
        return TRUE;
    case LVM_GETNEXTITEM:
        return NextItem(static_cast<int>(wp), static_cast<UINT>(lp));
    case LVM_FINDITEM:
        return lp ? FindItem(static_cast<int>(wp), *reinterpret_cast<const LVFINDINFO*>(lp)) : -1;
    case LVM_GETITEMRECT: {
        auto* r = reinterpret_cast<RECT*>(lp);
        if (!r || !Valid(static_cast<int>(wp))) return FALSE;
        *r = ItemPart(static_cast<int>(wp), r->left);
        return TRUE;
    }
    case LVM_GETSUBITEMRECT: {
        auto* r = reinterpret_cast<RECT*>(lp);
        if (!r || !Valid(static_cast<int>(wp))) return FALSE;
        *r = SubItemRect(static_cast<int>(wp), r->top, r->left);
        return TRUE;
    }
    case LVM_GETITEMPOSITION: {
        auto* p = reinterpret_cast<POINT*>(lp);
        if (!p || !Valid(static_cast<int>(wp))) return FALSE;
        RECT b = ItemBounds(static_cast<int>(wp));
        *p = POINT{b.left, b.top};
        return TRUE;
    }
    case LVM_HITTEST:
    case LVM_SUBITEMHITTEST: {
        auto* info = reinterpret_cast<LVHITTESTINFO*>(lp);
        if (!info) return -1;
        *info = HitTest(info->pt, msg == LVM_SUBITEMHITTEST);
        return info->iItem;
    }
    case LVM_ENSUREVISIBLE:
        if (!Valid(static_cast<int>(wp))) return FALSE;
        EnsureVisible(static_cast<int>(wp), lp != 0);
        return TRUE;
    case LVM_SCROLL:
        ScrollByPixels(static_cast<int>(wp), static_cast<int>(lp));
        return TRUE;
    case LVM_REDRAWITEMS:
        RedrawItems(static_cast<int>(wp), static_cast<int>(lp));
        return TRUE;
    case LVM_UPDATE:
        RedrawItems(static_cast<int>(wp), static_cast<int>(wp));
        return TRUE;
    case LVM_ARRANGE:
        Layout();
        InvalidateRect(Handle(), nullptr, TRUE);
        return TRUE;
    case LVM_GETEDITCONTROL:
        return reinterpret_cast<LRESULT>(edit_);
    case LVM_EDITLABEL:
        if (static_cast<int>(wp) < 0) {
            EndEdit(false);
            return 0;
        }
        return reinterpret_cast<LRESULT>(BeginEdit(static_cast<int>(wp)));
    case LVM_INSERTCOLUMN:
        return lp ? InsertColumn(static_cast<int>(wp), *reinterpret_cast<const LVCOLUMN*>(lp)) : -1;
    case LVM_SETCOLUMN: {
        int col = static_cast<int>(wp);
        if (!lp || col < 0 || col >= static_cast<int>(columns_.size())) return FALSE;
        SetColumn(col, *reinterpret_cast<const LVCOLUMN*>(lp));
        Layout();
        InvalidateRect(Handle(), nullptr, TRUE);
        return TRUE;
    }
    case LVM_GETCOLUMN:
        return GetColumn(static_cast<int>(wp), reinterpret_cast<LVCOLUMN*>(lp));
    case LVM_DELETECOLUMN: {
        int col = static_cast<int>(wp);
        if (col < 0 || col >= static_cast<int>(columns_.size())) return FALSE;
        columns_.erase(columns_.begin() + col);
        if (header_) SendMessage(header_, HDM_DELETEITEM, col, 0);
        Layout();
        InvalidateRect(Handle(), nullptr, TRUE);
        return TRUE;
    }
    case LVM_GETCOLUMNWIDTH:
        if (View() == LVS_LIST) return ListColumnWidth();
        return static_cast<int>(wp) >= 0 && static_cast<int>(wp) < static_cast<int>(columns_.size())
                   ? columns_[wp].width
                   : 0;
    case LVM_SETCOLUMNWIDTH:
        SetColumnWidth(static_cast<int>(wp), static_cast<int>(static_cast<short>(LOWORD(lp))));
        return TRUE;
    case LVM_GETHEADER:
        EnsureHeader();
        return reinterpret_cast<LRESULT>(header_);
    case LVM_SETCOLUMNORDERARRAY:
        EnsureHeader();
        if (!SendMessage(header_, HDM_SETORDERARRAY, wp, lp)) return FALSE;
        InvalidateRect(Handle(), nullptr, TRUE);
        return TRUE;
    case LVM_GETCOLUMNORDERARRAY: {
        auto* out = reinterpret_cast<int*>(lp);
        std::vector<int> order = ColumnOrder();
        if (!out || wp < order.size()) return FALSE;
        std::copy(order.begin(), order.end(), out);
        return TRUE;
    }
    case LVM_GETVIEWRECT: {
        auto* r = reinterpret_cast<RECT*>(lp);
        if (!r) return FALSE;
        *r = RECT{0, 0, 0, 0};
        if (Count() == 0) return TRUE;
        RECT a = ItemBounds(0), b = ItemBounds(Count() - 1);
        int cols = View() == LVS_ICON || View() == LVS_SMALLICON ? std::min(Count(), IconColumns()) : 1;
        *r = RECT{a.left, a.top, std::max(b.right, a.left + cols * (a.right - a.left)), b.bottom};
        return TRUE;
    }
    case LVM_GETTOPINDEX:
        return View() == LVS_REPORT ? vPos_ : View() == LVS_LIST ? hPos_ * ListRows() : 0;
    case LVM_GETCOUNTPERPAGE: {
        RECT c = Client();
        if (View() == LVS_REPORT) return RowsPerPage();
        if (View() == LVS_LIST)
            return ListRows() * std::max(1, static_cast<int>(c.right) / ListColumnWidth());
        return IconColumns() * std::max(1, static_cast<int>(c.bottom) / IconCell().cy);
    }
    case LVM_GETORIGIN: {
        auto* p = reinterpret_cast<POINT*>(lp);
        if (!p || View() == LVS_REPORT || View() == LVS_LIST) return FALSE;
        *p = POINT{0, vPos_};
        return TRUE;
    }
    case LVM_SETITEMSTATE: {
        auto* lv = reinterpret_cast<const LVITEM*>(lp);
        if (!lv) return FALSE;
        if (static_cast<int>(wp) == -1) {
            SetStateAll(lv->state, lv->stateMask);
            return TRUE;
        }
        return SetState(static_cast<int>(wp), lv->state, lv->stateMask) ? TRUE : FALSE;
    }
    case LVM_GETITEMSTATE:
        return StateOf(static_cast<int>(wp)) & static_cast<UINT>(lp);
    case LVM_GETITEMTEXT: {
        auto* lv = reinterpret_cast<LVITEM*>(lp);
        if (!lv || !lv->pszText || lv->cchTextMax <= 0) return 0;
        lv->iItem = static_cast<int>(wp);
        lv->mask = LVIF_TEXT;
        if (!GetItem(lv)) {
            lv->pszText[0] = 0;
            return 0;
        }
        return static_cast<LRESULT>(std::strlen(lv->pszText));
    }
    case LVM_SETITEMTEXT: {
        auto* in = reinterpret_cast<const LVITEM*>(lp);
        if (!in) return FALSE;
        LVITEM lv = *in;
        lv.mask = LVIF_TEXT;
        lv.iItem = static_cast<int>(wp);
        return SetItem(lv);
    }
    case LVM_SETITEMCOUNT:
        if (OwnerData()) {
            int n = std::max(0, static_cast<int>(wp));
            if (edit_ && editItem_ >= n) EndEdit(false);
            ownerCount_ = n;
            ownerStates_.resize(static_cast<size_t>(n), 0);
            if (mark_ >= n) mark_ = -1;
            UpdateScrollInfo();
            InvalidateRect(Handle(), nullptr, TRUE);
        }
        return TRUE;
    case LVM_SORTITEMS:
        SortItems(reinterpret_cast<PFNLVCOMPARE>(lp), static_cast<LPARAM>(wp));
        return TRUE;
    case LVM_GETSELECTEDCOUNT: {
        int n = 0;
        for (int i = 0; i < Count(); ++i) n += (StateOf(i) & LVIS_SELECTED) ? 1 : 0;
        return n;
    }
    case LVM_GETITEMSPACING: {
        SIZE cell = wp ? SIZE{ListColumnWidth(), RowHeight()} : [&] {
            int cx = 32, cy = 32;
            if (normalImages_) ImageList_GetIconSize(normalImages_, &cx, &cy);
            return SIZE{cx + kIconCellExtra, cy + 2 * kLabelPad + 2 * LineHeight() + 4};
        }();
        return MAKELRESULT(cell.cx, cell.cy);
    }
    case LVM_GETSTRINGWIDTH:
        return lp ? TextWidth(reinterpret_cast<const char*>(lp)) : 0;
    case LVM_GETEXTENDEDLISTVIEWSTYLE:
        return exStyle_;
    case LVM_SETEXTENDEDLISTVIEWSTYLE: {
        DWORD old = exStyle_, mask = wp ? static_cast<DWORD>(wp) : 0xFFFFFFFF;
        exStyle_ = (exStyle_ & ~mask) | (static_cast<DWORD>(lp) & mask);
        if (header_ && ((old ^ exStyle_) & LVS_EX_HEADERDRAGDROP)) {
            LONG_PTR hs = GetWindowLongPtr(header_, GWL_STYLE);
            hs = (exStyle_ & LVS_EX_HEADERDRAGDROP) ? (hs | HDS_DRAGDROP)
                                                    : (hs & ~static_cast<LONG_PTR>(HDS_DRAGDROP));
            SetWindowLongPtr(header_, GWL_STYLE, hs);
        }
        InvalidateRect(Handle(), nullptr, TRUE);
        return old;
    }
    case LVM_GETSELECTIONMARK:
        return mark_;
    case LVM_SETSELECTIONMARK: {
        int old = mark_;
        mark_ = Valid(static_cast<int>(lp)) ? static_cast<int>(lp) : -1;
        return old;
    }
    default:
        return ControlWindow::Proc(msg, wp, lp);
    }
}

} // namespace controls
