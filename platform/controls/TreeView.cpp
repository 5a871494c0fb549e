#include "controls/TreeView.h"

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

namespace controls {

namespace {
// Our layout numbers, in pixels.
constexpr int kDefaultIndent = 19; // one level; the button sits in the middle of it
constexpr int kButtonSize = 9;
constexpr int kImageGap = 3; // between image and label
constexpr int kLabelPad = 2; // inside the label's highlight
constexpr int kWheelLines = 3;
constexpr uintptr_t kEditTimer = 43;
constexpr uint32_t kSearchPause = 1000;
constexpr int kDispTextMax = 1024;
constexpr int kVkAdd = 0x6B, kVkSubtract = 0x6D; // the keypad's + and -
} // namespace

TreeView::TreeView(HWND h) : ItemControlWindow(h), indent_(kDefaultIndent) {
    root_.state = TVIS_EXPANDED;
}

TreeView::~TreeView() {
    if (editProc_) FreeProcInstance(editProc_);
}

// ---- nodes ----

TreeView::Node* TreeView::Find(HTREEITEM h) const {
    auto* n = reinterpret_cast<Node*>(h);
    return alive_.count(n) ? n : nullptr;
}

TreeView::Node* TreeView::FindOrRoot(HTREEITEM h) {
    if (!h || h == TVI_ROOT) return &root_;
    return Find(h);
}

int TreeView::Level(const Node* n) const {
    int level = -1;
    for (; n && n != &root_; n = n->parent) ++level;
    return level;
}

TreeView::Node* TreeView::NextSibling(Node* n) const {
    if (!n || !n->parent) return nullptr;
    auto& kids = n->parent->kids;
    for (size_t i = 0; i + 1 < kids.size(); ++i)
        if (kids[i].get() == n) return kids[i + 1].get();
    return nullptr;
}

TreeView::Node* TreeView::PrevSibling(Node* n) const {
    if (!n || !n->parent) return nullptr;
    auto& kids = n->parent->kids;
    for (size_t i = 1; i < kids.size(); ++i)
        if (kids[i].get() == n) return kids[i - 1].get();
    return nullptr;
}

std::string TreeView::TextOf(Node* n) {
    if (!n->textCallback) return n->text;
    std::vector<char> buf(kDispTextMax, 0);
    NMTVDISPINFO di{};
    di.item.mask = TVIF_TEXT | TVIF_HANDLE | TVIF_PARAM;
    di.item.hItem = H(n);
    di.item.pszText = buf.data();
    di.item.cchTextMax = kDispTextMax;
    di.item.lParam = n->lParam;
    NotifyParent(di.hdr, TVN_GETDISPINFO);
    return di.item.pszText && di.item.pszText != LPSTR_TEXTCALLBACK ? std::string(di.item.pszText)
                                                                    : std::string();
}

int TreeView::ImageOf(Node* n, bool selected) {
    int image = selected ? n->selectedImage : n->image;
    if (image != I_IMAGECALLBACK) return image;
    NMTVDISPINFO di{};
    di.item.mask = (selected ? TVIF_SELECTEDIMAGE : TVIF_IMAGE) | TVIF_HANDLE | TVIF_PARAM;
    di.item.hItem = H(n);
    di.item.lParam = n->lParam;
    NotifyParent(di.hdr, TVN_GETDISPINFO);
    return selected ? di.item.iSelectedImage : di.item.iImage;
}

// A node shows a button when it has children or says it has.
bool TreeView::HasButton(Node* n) {
    if (!n->kids.empty()) return true;
    if (!n->childrenSet) return false;
    if (n->children != I_CHILDRENCALLBACK) return n->children != 0;
    NMTVDISPINFO di{};
    di.item.mask = TVIF_CHILDREN | TVIF_HANDLE | TVIF_PARAM;
    di.item.hItem = H(n);
    di.item.lParam = n->lParam;
    NotifyParent(di.hdr, TVN_GETDISPINFO);
    return di.item.cChildren != 0;
}

const std::vector<TreeView::Node*>& TreeView::Visible() {
    if (!listDirty_) return visible_;
    visible_.clear();
    visibleIndex_.clear();
    std::vector<Node*> stack;
    for (auto it = root_.kids.rbegin(); it != root_.kids.rend(); ++it) stack.push_back(it->get());
    while (!stack.empty()) {
        Node* n = stack.back();
        stack.pop_back();
        visibleIndex_[n] = static_cast<int>(visible_.size());
        visible_.push_back(n);
        if (n->state & TVIS_EXPANDED)
            for (auto it = n->kids.rbegin(); it != n->kids.rend(); ++it) stack.push_back(it->get());
    }
    listDirty_ = false;
    return visible_;
}

int TreeView::VisibleIndex(Node* n) {
    Visible();
    auto it = visibleIndex_.find(n);
    return it == visibleIndex_.end() ? -1 : it->second;
}

void TreeView::Changed() {
    listDirty_ = true;
    UpdateScrollInfo();
    InvalidateRect(Handle(), nullptr, TRUE);
}

LRESULT TreeView::NotifyTree(int code, UINT action, Node* oldNode, Node* newNode) {
    NMTREEVIEW nm{};
    nm.action = action;
    auto fill = [](TVITEM& it, Node* n) {
        if (!n) return;
        it.mask = TVIF_HANDLE | TVIF_STATE | TVIF_PARAM;
        it.hItem = H(n);
        it.state = n->state;
        it.stateMask = 0xFFFF;
        it.lParam = n->lParam;
    };
    fill(nm.itemOld, oldNode);
    fill(nm.itemNew, newNode);
    return NotifyParent(nm.hdr, code);
}

HTREEITEM TreeView::Insert(const TVINSERTSTRUCT& is) {
    Node* parent = FindOrRoot(is.hParent);
    if (!parent) return nullptr;
    auto node = std::make_unique<Node>();
    Node* n = node.get();
    n->parent = parent;
    Apply(n, is.item);
    auto& kids = parent->kids;
    size_t at = kids.size();
    if (is.hInsertAfter == TVI_FIRST) {
        at = 0;
    } else if (is.hInsertAfter == TVI_SORT) {
        std::string t = TextOf(n);
        at = 0;
        while (at < kids.size() && text::CompareNoCase(TextOf(kids[at].get()), t) <= 0) ++at;
    } else if (is.hInsertAfter && is.hInsertAfter != TVI_LAST) {
        for (size_t i = 0; i < kids.size(); ++i)
            if (H(kids[i].get()) == is.hInsertAfter) at = i + 1;
    }
    kids.insert(kids.begin() + static_cast<std::ptrdiff_t>(at), std::move(node));
    alive_.insert(n);
    if (parent->state & TVIS_EXPANDED)
        Changed();
    else
        InvalidateRect(Handle(), nullptr, TRUE); // the parent's button may appear
    return H(n);
}

void TreeView::Apply(Node* n, const TVITEM& it) {
    if (it.mask & TVIF_TEXT) {
        n->textCallback = it.pszText == LPSTR_TEXTCALLBACK;
        n->text = it.pszText && !n->textCallback ? it.pszText : "";
    }
    if (it.mask & TVIF_IMAGE) n->image = it.iImage;
    if (it.mask & TVIF_SELECTEDIMAGE) n->selectedImage = it.iSelectedImage;
    if (it.mask & TVIF_PARAM) n->lParam = it.lParam;
    if (it.mask & TVIF_CHILDREN) n->children = it.cChildren, n->childrenSet = true;
    if (it.mask & TVIF_STATE) {
        UINT mask = it.stateMask & ~static_cast<UINT>(TVIS_SELECTED); // selection goes through TVM_SELECTITEM
        UINT old = n->state;
        n->state = (n->state & ~mask) | (it.state & mask);
        if ((old ^ n->state) & TVIS_EXPANDED) listDirty_ = true;
    }
}

BOOL TreeView::GetItem(TVITEM* it) {
    if (!it) return FALSE;
    Node* n = Find(it->hItem);
    if (!n) return FALSE;
    if ((it->mask & TVIF_TEXT) && it->pszText && it->cchTextMax > 0) {
        std::string t = TextOf(n);
        size_t len = text::Snap(t, std::min(t.size(), static_cast<size_t>(it->cchTextMax - 1)));
        std::memcpy(it->pszText, t.data(), len);
        it->pszText[len] = 0;
    }
    if (it->mask & TVIF_IMAGE) it->iImage = n->image;
    if (it->mask & TVIF_SELECTEDIMAGE) it->iSelectedImage = n->selectedImage;
    if (it->mask & TVIF_PARAM) it->lParam = n->lParam;
    if (it->mask & TVIF_CHILDREN) it->cChildren = n->childrenSet ? n->children : !n->kids.empty();
    if (it->mask & TVIF_STATE) it->state = n->state & it->stateMask;
    return TRUE;
}

// Deleting the selected node moves the selection to its next sibling, else
// the previous one, else its parent, announced as any selection change.
void TreeView::Delete(Node* n) {
    if (!n) return;
    bool all = IsRoot(n);
    if (edit_) {
        for (Node* e = editNode_; e; e = e->parent)
            if (e == n) {
                EndEdit(false);
                break;
            }
    }
    std::vector<std::unique_ptr<Node>> gone;
    if (all) {
        gone = std::move(root_.kids);
        root_.kids.clear();
        selected_ = nullptr;
        dropTarget_ = nullptr;
        top_ = hPos_ = 0;
    } else {
        bool selectedInside = false;
        for (Node* s = selected_; s; s = s->parent) selectedInside |= s == n;
        if (selectedInside) {
            Node* next = NextSibling(n);
            if (!next) next = PrevSibling(n);
            if (!next && !IsRoot(n->parent)) next = n->parent;
            if (!Select(next, TVC_UNKNOWN) || !Find(H(n))) {
                // Refused or gone meanwhile: the deletion still wins.
                if (!Find(H(n))) return;
                selected_ = nullptr;
            }
        }
        for (Node* d = dropTarget_; d; d = d->parent)
            if (d == n) dropTarget_ = nullptr;
        auto& kids = n->parent->kids;
        for (size_t i = 0; i < kids.size(); ++i)
            if (kids[i].get() == n) {
                gone.push_back(std::move(kids[i]));
                kids.erase(kids.begin() + static_cast<std::ptrdiff_t>(i));
                break;
            }
    }
    listDirty_ = true;
    // Children before their parent; the handles stay valid during their notices.
    std::vector<Node*> order;
    std::vector<std::pair<Node*, size_t>> stack;
    for (auto& g : gone) stack.push_back({g.get(), 0});
    std::reverse(stack.begin(), stack.end());
    while (!stack.empty()) {
        auto& [node, next] = stack.back();
        if (next < node->kids.size()) {
            Node* child = node->kids[next++].get();
            stack.push_back({child, 0});
        } else {
            order.push_back(node);
            stack.pop_back();
        }
    }
    for (Node* d : order) {
        NotifyTree(TVN_DELETEITEM, 0, d, nullptr);
        if (!IsWindow(Handle())) break;
    }
    for (Node* d : order) alive_.erase(d);
    if (IsWindow(Handle())) Changed();
}

bool TreeView::Expand(Node* n, UINT action, bool byUser) {
    if (!n || IsRoot(n)) return false;
    UINT code = action & TVE_ACTIONMASK;
    bool expanded = n->state & TVIS_EXPANDED;
    if (code == TVE_TOGGLE) code = expanded ? TVE_COLLAPSE : TVE_EXPAND;
    if (code == TVE_EXPAND) {
        if (expanded) return true;
        if (!HasButton(n)) return false;
    } else if (code == TVE_COLLAPSE) {
        if (!expanded && !(action & TVE_COLLAPSERESET)) return true;
    } else {
        return false;
    }
    bool announce = byUser || !(n->state & TVIS_EXPANDEDONCE);
    if (announce && (NotifyTree(TVN_ITEMEXPANDING, code, nullptr, n) || !Find(H(n)))) return false;
    if (code == TVE_EXPAND) {
        n->state |= TVIS_EXPANDED | TVIS_EXPANDEDONCE;
    } else {
        n->state &= ~static_cast<UINT>(TVIS_EXPANDED);
        bool selectedInside = false;
        for (Node* s = selected_ ? selected_->parent : nullptr; s; s = s->parent) selectedInside |= s == n;
        if (selectedInside) Select(n, TVC_UNKNOWN);
        if (action & TVE_COLLAPSERESET) {
            n->state &= ~static_cast<UINT>(TVIS_EXPANDEDONCE);
            while (Find(H(n)) && !n->kids.empty()) Delete(n->kids.back().get());
        }
    }
    if (!Find(H(n))) return true;
    Changed();
    if (announce) NotifyTree(TVN_ITEMEXPANDED, code, nullptr, n);
    return true;
}

bool TreeView::Select(Node* n, UINT cause) {
    if (n == selected_) return true;
    if (NotifyTree(TVN_SELCHANGING, cause, selected_, n)) return false;
    if (n && !Find(H(n))) return false;
    Node* old = selected_ && Find(H(selected_)) ? selected_ : nullptr;
    if (old) old->state &= ~static_cast<UINT>(TVIS_SELECTED);
    selected_ = n;
    if (n) {
        n->state |= TVIS_SELECTED;
        EnsureVisible(n);
    }
    InvalidateRect(Handle(), nullptr, TRUE);
    if (n && !Find(H(n))) return true;
    NotifyTree(TVN_SELCHANGED, cause, old, n);
    return true;
}

void TreeView::SetTop(Node* n) {
    for (Node* p = n ? n->parent : nullptr; p && !IsRoot(p); p = p->parent)
        if (!(p->state & TVIS_EXPANDED)) Expand(p, TVE_EXPAND, false);
    int index = VisibleIndex(n);
    if (index >= 0) ScrollTo(hPos_, index);
}

TreeView::Node* TreeView::Next(Node* n, UINT code) {
    const auto& vis = Visible();
    switch (code) {
    case TVGN_ROOT:
        return root_.kids.empty() ? nullptr : root_.kids.front().get();
    case TVGN_NEXT:
        return NextSibling(n);
    case TVGN_PREVIOUS:
        return PrevSibling(n);
    case TVGN_PARENT:
        return n && !IsRoot(n->parent) ? n->parent : nullptr;
    case TVGN_CHILD: {
        Node* p = n ? n : &root_;
        return p->kids.empty() ? nullptr : p->kids.front().get();
    }
    case TVGN_FIRSTVISIBLE:
        return top_ < static_cast<int>(vis.size()) ? vis[top_] : nullptr;
    case TVGN_NEXTVISIBLE: {
        int i = VisibleIndex(n);
        return i >= 0 && i + 1 < static_cast<int>(vis.size()) ? vis[i + 1] : nullptr;
    }
    case TVGN_PREVIOUSVISIBLE: {
        int i = VisibleIndex(n);
        return i > 0 ? vis[i - 1] : nullptr;
    }
    case TVGN_LASTVISIBLE:
        return vis.empty() ? nullptr : vis.back();
    case TVGN_CARET:
        return selected_;
    case TVGN_DROPHILITE:
        return dropTarget_;
    default:
        return nullptr;
    }
}

void TreeView::Sort(Node* parent, bool recurse, PFNTVCOMPARE compare, LPARAM param) {
    if (!parent) return;
    if (compare) {
        std::stable_sort(parent->kids.begin(), parent->kids.end(), [&](const auto& a, const auto& b) {
            return compare(a->lParam, b->lParam, param) < 0;
        });
    } else {
        std::vector<std::pair<std::string, std::unique_ptr<Node>>> keyed;
        for (auto& k : parent->kids) keyed.emplace_back(TextOf(k.get()), std::move(k));
        std::stable_sort(keyed.begin(), keyed.end(), [](const auto& a, const auto& b) {
            return text::CompareNoCase(a.first, b.first) < 0;
        });
        parent->kids.clear();
        for (auto& [key, node] : keyed) parent->kids.push_back(std::move(node));
    }
    if (recurse)
        for (auto& k : parent->kids) Sort(k.get(), true, compare, param);
    Changed();
}

// ---- geometry ----

int TreeView::ItemHeight() const {
    if (itemHeight_ > 0) return itemHeight_;
    int h = LineHeight() + 3, cx = 0, cy = 0;
    if (images_ && ImageList_GetIconSize(images_, &cx, &cy)) h = std::max(h, cy + 1);
    return std::max(1, h);
}

int TreeView::VisibleCount() const {
    return std::max(0, static_cast<int>(Client().bottom) / ItemHeight());
}

// Where a node's image (or, without images, its label) starts.
int TreeView::LabelLeft(const Node* n) const {
    bool rootButtons = Style() & TVS_LINESATROOT;
    return (Level(n) + (rootButtons ? 1 : 0)) * indent_ - hPos_;
}

RECT TreeView::ItemRect(Node* n, bool textOnly) {
    int index = VisibleIndex(n);
    int h = ItemHeight(), y = (index - top_) * h;
    if (!textOnly) return RECT{0, y, Client().right, y + h};
    int x = LabelLeft(n), cx = 0, cy = 0;
    if (images_ && ImageList_GetIconSize(images_, &cx, &cy)) x += cx + kImageGap;
    return RECT{x, y, x + TextWidth(TextOf(n)) + 2 * kLabelPad, y + h};
}

TVHITTESTINFO TreeView::HitTest(POINT pt) {
    TVHITTESTINFO info{pt, 0, nullptr};
    RECT c = Client();
    if (pt.y < 0) info.flags |= TVHT_ABOVE;
    if (pt.y >= c.bottom) info.flags |= TVHT_BELOW;
    if (pt.x < 0) info.flags |= TVHT_TOLEFT;
    if (pt.x >= c.right) info.flags |= TVHT_TORIGHT;
    if (info.flags) return info;
    const auto& vis = Visible();
    int index = top_ + pt.y / ItemHeight();
    if (index < 0 || index >= static_cast<int>(vis.size())) {
        info.flags = TVHT_NOWHERE;
        return info;
    }
    Node* n = vis[index];
    info.hItem = H(n);
    int left = LabelLeft(n), cx = 0, cy = 0;
    if (images_) ImageList_GetIconSize(images_, &cx, &cy);
    RECT label = ItemRect(n, true);
    bool buttons = (Style() & TVS_HASBUTTONS) && (Level(n) > 0 || (Style() & TVS_LINESATROOT));
    if (pt.x < left - indent_ || (pt.x < left && !buttons))
        info.flags = TVHT_ONITEMINDENT;
    else if (pt.x < left)
        info.flags = HasButton(n) ? TVHT_ONITEMBUTTON : TVHT_ONITEMINDENT;
    else if (images_ && pt.x < left + cx)
        info.flags = TVHT_ONITEMICON;
    else if (pt.x < label.right)
        info.flags = TVHT_ONITEMLABEL;
    else
        info.flags = TVHT_ONITEMRIGHT;
    return info;
}

void TreeView::UpdateScrollInfo() {
    const auto& vis = Visible();
    RECT c = Client();
    int n = static_cast<int>(vis.size()), page = VisibleCount();
    top_ = std::clamp(top_, 0, std::max(0, n - std::max(1, page)));
    int width = 0, cx = 0, cy = 0;
    if (images_) ImageList_GetIconSize(images_, &cx, &cy);
    for (Node* node : vis)
        width =
            std::max(width, LabelLeft(node) + hPos_ + (images_ ? cx + kImageGap : 0) +
                                TextWidth(node->textCallback ? std::string() : node->text) + 2 * kLabelPad);
    if (Style() & TVS_NOHSCROLL) width = 0;
    hPos_ = std::clamp(hPos_, 0, std::max(0, width - static_cast<int>(c.right)));
    bool noScroll = Style() & TVS_NOSCROLL;
    SetScroll(SB_VERT, 0, noScroll ? 0 : std::max(0, n - 1), page, top_);
    SetScroll(SB_HORZ, 0, noScroll ? 0 : std::max(0, width - 1), c.right, hPos_);
}

void TreeView::ScrollTo(int hPos, int top) {
    if (edit_) EndEdit(true);
    int oldH = hPos_, oldTop = top_;
    hPos_ = hPos;
    top_ = top;
    UpdateScrollInfo();
    if (hPos_ != oldH || top_ != oldTop) InvalidateRect(Handle(), nullptr, TRUE);
}

void TreeView::EnsureVisible(Node* n) {
    for (Node* p = n ? n->parent : nullptr; p && !IsRoot(p); p = p->parent) {
        if (!(p->state & TVIS_EXPANDED)) Expand(p, TVE_EXPAND, false);
        if (!Find(H(n))) return;
    }
    int index = VisibleIndex(n), page = std::max(1, VisibleCount());
    if (index < 0) return;
    if (index < top_)
        ScrollTo(hPos_, index);
    else if (index >= top_ + page)
        ScrollTo(hPos_, index - page + 1);
}

// ---- input ----

void TreeView::OnKey(int vk) {
    NMTVKEYDOWN kd{};
    kd.wVKey = static_cast<WORD>(vk);
    NotifyParent(kd.hdr, TVN_KEYDOWN);
    if (!IsWindow(Handle())) return;
    const auto& vis = Visible();
    if (vis.empty()) return;
    int cur = VisibleIndex(selected_), page = std::max(1, VisibleCount());
    int last = static_cast<int>(vis.size()) - 1;
    Node* to = nullptr;
    switch (vk) {
    case VK_UP:
        to = vis[std::max(0, cur - 1)];
        break;
    case VK_DOWN:
        to = vis[std::min(last, cur + 1)];
        break;
    case VK_HOME:
        to = vis.front();
        break;
    case VK_END:
        to = vis.back();
        break;
    case VK_PRIOR:
        to = vis[std::max(0, cur - page + 1)];
        break;
    case VK_NEXT:
        to = vis[std::min(last, std::max(0, cur) + page - 1)];
        break;
    case VK_LEFT:
        if (!selected_) return;
        if ((selected_->state & TVIS_EXPANDED) && !selected_->kids.empty())
            Expand(selected_, TVE_COLLAPSE, true);
        else if (!IsRoot(selected_->parent))
            to = selected_->parent;
        break;
    case VK_RIGHT:
        if (!selected_) return;
        if (!(selected_->state & TVIS_EXPANDED))
            Expand(selected_, TVE_EXPAND, true);
        else if (!selected_->kids.empty())
            to = selected_->kids.front().get();
        break;
    case kVkAdd:
        if (selected_) Expand(selected_, TVE_EXPAND, true);
        return;
    case kVkSubtract:
        if (selected_) Expand(selected_, TVE_COLLAPSE, true);
        return;
    case VK_F2:
        if ((Style() & TVS_EDITLABELS) && selected_) BeginEdit(selected_);
        return;
    case VK_RETURN: {
        NMHDR hdr{};
        NotifyParent(hdr, NM_RETURN);
        return;
    }
    default:
        return;
    }
    if (to) Select(to, TVC_BYKEYBOARD);
}

void TreeView::OnChar(char32_t c) {
    if (c < 0x20 || c == 0x7F || Visible().empty()) return;
    uint32_t now = GetTickCount();
    if (now - searchTime_ > kSearchPause) search_.clear();
    searchTime_ = now;
    search_ += text::Encode(c);
    bool same = text::CountChars(search_) > 1;
    for (size_t i = 0; same && i < search_.size(); i = text::Next(search_, i))
        same = text::At(search_, i) == c;
    std::string want = same ? text::Encode(c) : search_;
    int n = static_cast<int>(Visible().size()), cur = VisibleIndex(selected_);
    int start = text::CountChars(search_) > 1 && !same ? std::max(0, cur) : cur + 1;
    for (int k = 0; k < n; ++k) {
        Node* node = Visible()[(start + k) % n];
        if (text::StartsWithNoCase(TextOf(node), want)) {
            Select(node, TVC_BYKEYBOARD);
            return;
        }
    }
}

void TreeView::OnButtonDown(POINT pt, bool right, bool dbl) {
    bool hadFocus = Focused() || (edit_ && GetFocus() == edit_);
    if (edit_) EndEdit(true);
    if (!Focused()) SetFocus(Handle());
    if (!IsWindow(Handle())) return;
    KillTimer(Handle(), kEditTimer);
    editPending_ = false;
    TVHITTESTINFO hit = HitTest(pt);
    Node* n = Find(hit.hItem);
    if (right) {
        rightDown_ = !dbl;
        if (dbl) {
            NMHDR hdr{};
            NotifyParent(hdr, NM_RDBLCLK);
        }
        return;
    }
    if (dbl) {
        NMHDR hdr{};
        if (NotifyParent(hdr, NM_DBLCLK)) return; // the parent handled it
        if (n && Find(H(n)) && (hit.flags & (TVHT_ONITEMICON | TVHT_ONITEMLABEL)))
            Expand(n, TVE_TOGGLE, true);
        return;
    }
    clickDown_ = true;
    if (!n) return;
    if (hit.flags & TVHT_ONITEMBUTTON) {
        Expand(n, TVE_TOGGLE, true);
        return;
    }
    bool onItem = hit.flags & (TVHT_ONITEMICON | TVHT_ONITEMLABEL);
    if (!onItem && !(Style() & TVS_FULLROWSELECT)) return;
    bool wasSelected = n == selected_;
    Select(n, TVC_BYMOUSE);
    // A click on the label of the node that already was selected starts
    // editing once the double-click time has passed without a second click.
    if (wasSelected && hadFocus && (Style() & TVS_EDITLABELS) && (hit.flags & TVHT_ONITEMLABEL) &&
        IsWindow(Handle())) {
        editPending_ = true;
        SetTimer(Handle(), kEditTimer, GetDoubleClickTime(), nullptr);
    }
}

// ---- label editing ----

HWND TreeView::BeginEdit(Node* n) {
    if (edit_) EndEdit(true);
    if (!n || !Find(H(n)) || !IsWindow(Handle())) return nullptr;
    EnsureVisible(n);
    std::string text = TextOf(n);
    std::vector<char> buf(text.begin(), text.end());
    buf.push_back(0);
    NMTVDISPINFO di{};
    di.item.mask = TVIF_HANDLE | TVIF_TEXT | TVIF_PARAM | TVIF_STATE;
    di.item.hItem = H(n);
    di.item.pszText = buf.data();
    di.item.cchTextMax = static_cast<int>(buf.size());
    di.item.state = n->state;
    di.item.lParam = n->lParam;
    if (NotifyParent(di.hdr, TVN_BEGINLABELEDIT) || !Find(H(n)) || !IsWindow(Handle())) return nullptr;
    RECT r = ItemRect(n, true);
    int w = std::max<int>(r.right - r.left, TextWidth(text) + 4 * kLabelPad + AverageCharWidth());
    w = std::max(w, static_cast<int>(Client().right - r.left));
    return OpenLabelEdit(text, r.left, r.top, w, std::max<int>(r.bottom - r.top, LineHeight() + 4),
                         [&] { editNode_ = n; });
}

void TreeView::EndEdit(bool commit) {
    if (!edit_) return;
    HWND e = edit_;
    Node* n = editNode_;
    edit_ = nullptr;
    editNode_ = nullptr;
    std::string text = GetWindowTextString(e);
    bool hadFocus = GetFocus() == e;
    ShowWindow(e, SW_HIDE);
    std::vector<char> buf(text.begin(), text.end());
    buf.push_back(0);
    if (Find(H(n))) {
        NMTVDISPINFO di{};
        di.item.mask = TVIF_HANDLE | TVIF_TEXT | TVIF_PARAM;
        di.item.hItem = H(n);
        di.item.pszText = commit ? buf.data() : nullptr;
        di.item.cchTextMax = static_cast<int>(buf.size());
        di.item.lParam = n->lParam;
        LRESULT keep = NotifyParent(di.hdr, TVN_ENDLABELEDIT);
        if (commit && keep && Find(H(n))) {
            n->text = text;
            n->textCallback = false;
            UpdateScrollInfo();
            InvalidateRect(Handle(), nullptr, TRUE);
        }
    }
    if (hadFocus && IsWindow(Handle())) SetFocus(Handle());
    if (IsWindow(e)) DestroyWindow(e);
}

// ---- painting ----

void TreeView::PaintNode(HDC dc, Node* n, int y) {
    int h = ItemHeight(), left = LabelLeft(n), mid = y + h / 2;
    DWORD style = Style();
    HBRUSH lineBrush = GetSysColorBrush(COLOR_GRAYTEXT);
    bool atRoot = style & TVS_LINESATROOT;
    if (style & TVS_HASLINES) {
        // Lines through the levels of the ancestors that have siblings below.
        int x = left - indent_ / 2 - indent_;
        for (Node* a = n->parent; a && !IsRoot(a); a = a->parent, x -= indent_) {
            if (NextSibling(a) && (Level(a) > 0 || atRoot)) {
                RECT v{x, y, x + 1, y + h};
                FillRect(dc, &v, lineBrush);
            }
        }
        if (Level(n) > 0 || atRoot) {
            int cx = left - indent_ / 2;
            RECT hl{cx, mid, left, mid + 1};
            FillRect(dc, &hl, lineBrush);
            bool first = !PrevSibling(n) && IsRoot(n->parent);
            RECT up{cx, first ? mid : y, cx + 1, mid};
            FillRect(dc, &up, lineBrush);
            if (NextSibling(n)) {
                RECT down{cx, mid, cx + 1, y + h};
                FillRect(dc, &down, lineBrush);
            }
        }
    }
    if ((style & TVS_HASBUTTONS) && (Level(n) > 0 || atRoot) && HasButton(n)) {
        int cx = left - indent_ / 2;
        RECT box{cx - kButtonSize / 2, mid - kButtonSize / 2, cx - kButtonSize / 2 + kButtonSize,
                 mid - kButtonSize / 2 + kButtonSize};
        FillRect(dc, &box, GetSysColorBrush(COLOR_WINDOW));
        FrameRect(dc, &box, GetSysColorBrush(COLOR_BTNSHADOW));
        HBRUSH sign = GetSysColorBrush(COLOR_WINDOWTEXT);
        RECT minus{box.left + 2, mid, box.right - 2, mid + 1};
        FillRect(dc, &minus, sign);
        if (!(n->state & TVIS_EXPANDED)) {
            RECT plus{cx, box.top + 2, cx + 1, box.bottom - 2};
            FillRect(dc, &plus, sign);
        }
    }
    int x = left;
    bool selected = n == selected_;
    if (images_) {
        int cx = 0, cy = 0;
        ImageList_GetIconSize(images_, &cx, &cy);
        int image = ImageOf(n, selected);
        if (!Find(H(n))) return;
        if (image >= 0) ImageList_Draw(images_, image, dc, x, y + (h - cy) / 2, ILD_TRANSPARENT);
        x += cx + kImageGap;
    }
    std::string text = TextOf(n);
    if (!Find(H(n))) return;
    RECT label{x, y, x + TextWidth(text) + 2 * kLabelPad, y + h};
    if (style & TVS_FULLROWSELECT) label.right = std::max<LONG>(label.right, Client().right);
    bool focused = Focused();
    bool highlight = (selected && (focused || (style & TVS_SHOWSELALWAYS))) || n == dropTarget_;
    COLORREF textColour = textColor_ == CLR_NONE ? GetSysColor(COLOR_WINDOWTEXT) : textColor_;
    if (highlight) {
        bool strong = focused || n == dropTarget_;
        FillRect(dc, &label, GetSysColorBrush(strong ? COLOR_HIGHLIGHT : COLOR_BTNFACE));
        textColour = GetSysColor(strong ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT);
    }
    SetTextColor(dc, textColour);
    RECT tr{label.left + kLabelPad, y, label.right, y + h};
    DrawText(dc, text.c_str(), static_cast<int>(text.size()), &tr,
             DT_LEFT | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    if (selected && focused) DrawFocusRect(dc, &label);
}

void TreeView::Paint(HDC given) {
    PAINTSTRUCT ps{};
    HDC dc = given ? given : BeginPaint(Handle(), &ps);
    RECT c = Client();
    HBRUSH bg = bkColor_ == CLR_NONE ? nullptr : CreateSolidBrush(bkColor_);
    FillRect(dc, &c, bg ? bg : GetSysColorBrush(COLOR_WINDOW));
    if (bg) DeleteObject(bg);
    HGDIOBJ oldFont = SelectFont(dc);
    int mode = SetBkMode(dc, TRANSPARENT);
    std::vector<Node*> rows;
    const auto& vis = Visible();
    int h = ItemHeight();
    for (int i = top_; i < static_cast<int>(vis.size()) && (i - top_) * h < c.bottom; ++i)
        rows.push_back(vis[i]);
    for (size_t k = 0; k < rows.size(); ++k) {
        if (!Find(H(rows[k]))) break; // a callback changed the tree; the next paint catches up
        PaintNode(dc, rows[k], static_cast<int>(k) * h);
    }
    SetBkMode(dc, mode);
    SelectObject(dc, oldFont);
    if (!given) EndPaint(Handle(), &ps);
}

// ---- messages ----

LRESULT TreeView::Proc(UINT msg, WPARAM wp, LPARAM lp) {
    if (LRESULT handled = 0; ItemViewProc(msg, wp, lp, handled)) return handled;
    switch (msg) {
    case WM_SIZE:
        UpdateScrollInfo();
        InvalidateRect(Handle(), nullptr, TRUE);
        return 0;
    case WM_SETFONT:
        ControlWindow::Proc(msg, wp, lp);
        Changed();
        return 0;
    case WM_STYLECHANGED:
        Changed();
        return 0;
    case WM_DESTROY:
        DestroyLabelEdit(kEditTimer);
        Delete(&root_);
        return Default(msg, wp, lp);
    case WM_TIMER:
        if (wp == kEditTimer) {
            KillTimer(Handle(), kEditTimer);
            if (editPending_) {
                editPending_ = false;
                if (selected_ && Focused()) BeginEdit(selected_);
            }
            return 0;
        }
        return Default(msg, wp, lp);
    case WM_VSCROLL:
    case WM_HSCROLL: {
        bool vert = msg == WM_VSCROLL;
        SCROLLINFO si{sizeof(SCROLLINFO), SIF_ALL, 0, 0, 0, 0, 0};
        GetScrollInfo(Handle(), vert ? SB_VERT : SB_HORZ, &si);
        thumbPos_ = HIWORD(wp);
        int pos = ScrollTarget(LOWORD(wp), thumbPos_, si.nPos, si.nMin, si.nMax, static_cast<int>(si.nPage),
                               vert ? 1 : AverageCharWidth());
        if (vert)
            ScrollTo(hPos_, pos);
        else
            ScrollTo(pos, top_);
        return 0;
    }
    case WM_MOUSEWHEEL:
        ScrollTo(hPos_, top_ - GET_WHEEL_DELTA_WPARAM(wp) / WHEEL_DELTA * kWheelLines);
        return 0;
    case WM_COMMAND:
        if (edit_ && reinterpret_cast<HWND>(lp) == edit_ && HIWORD(wp) == EN_KILLFOCUS) EndEdit(true);
        return 0;

    case TVM_INSERTITEM:
        return lp ? reinterpret_cast<LRESULT>(Insert(*reinterpret_cast<const TVINSERTSTRUCT*>(lp))) : 0;
    case TVM_DELETEITEM: {
        Node* n = FindOrRoot(reinterpret_cast<HTREEITEM>(lp));
        if (!n) return FALSE;
        Delete(n);
        return TRUE;
    }
    case TVM_EXPAND:
        return Expand(Find(reinterpret_cast<HTREEITEM>(lp)), static_cast<UINT>(wp), false) ? TRUE : FALSE;
    case TVM_GETITEMRECT: {
        auto* r = reinterpret_cast<RECT*>(lp);
        if (!r) return FALSE;
        HTREEITEM item;
        std::memcpy(&item, r, sizeof item); // the rectangle comes in carrying the item
        Node* n = Find(item);
        if (!n || VisibleIndex(n) < 0) return FALSE;
        *r = ItemRect(n, wp != 0);
        return TRUE;
    }
    case TVM_GETCOUNT:
        return static_cast<LRESULT>(alive_.size());
    case TVM_GETINDENT:
        return indent_;
    case TVM_SETINDENT:
        indent_ = std::max(kButtonSize + 4, static_cast<int>(wp));
        Changed();
        return 0;
    case TVM_GETIMAGELIST:
        return reinterpret_cast<LRESULT>(wp == TVSIL_STATE ? stateImages_ : images_);
    case TVM_SETIMAGELIST: {
        HIMAGELIST& slot = wp == TVSIL_STATE ? stateImages_ : images_;
        HIMAGELIST old = slot;
        slot = reinterpret_cast<HIMAGELIST>(lp);
        Changed();
        return reinterpret_cast<LRESULT>(old);
    }
    case TVM_GETNEXTITEM: {
        auto h = reinterpret_cast<HTREEITEM>(lp);
        Node* n = h && h != TVI_ROOT ? Find(h) : nullptr;
        UINT code = static_cast<UINT>(wp);
        bool needsItem = code == TVGN_NEXT || code == TVGN_PREVIOUS || code == TVGN_PARENT ||
                         code == TVGN_NEXTVISIBLE || code == TVGN_PREVIOUSVISIBLE;
        if (needsItem && !n) return 0;
        if (code == TVGN_CHILD && h && h != TVI_ROOT && !n) return 0;
        return reinterpret_cast<LRESULT>(H(Next(n, code)));
    }
    case TVM_SELECTITEM: {
        auto h = reinterpret_cast<HTREEITEM>(lp);
        Node* n = Find(h);
        if (h && !n) return FALSE;
        switch (wp & 0xFF) {
        case TVGN_CARET:
            return Select(n, TVC_UNKNOWN) ? TRUE : FALSE;
        case TVGN_FIRSTVISIBLE:
            if (n) SetTop(n);
            return n ? TRUE : FALSE;
        case TVGN_DROPHILITE:
            if (dropTarget_) dropTarget_->state &= ~static_cast<UINT>(TVIS_DROPHILITED);
            dropTarget_ = n;
            if (n) n->state |= TVIS_DROPHILITED;
            InvalidateRect(Handle(), nullptr, TRUE);
            return TRUE;
        default:
            return FALSE;
        }
    }
    case TVM_GETITEM:
        return GetItem(reinterpret_cast<TVITEM*>(lp));
    case TVM_SETITEM: {
        auto* it = reinterpret_cast<const TVITEM*>(lp);
        Node* n = it ? Find(it->hItem) : nullptr;
        if (!n) return FALSE;
        Apply(n, *it);
        Changed();
        return TRUE;
    }
    case TVM_GETITEMSTATE: {
        Node* n = Find(reinterpret_cast<HTREEITEM>(wp));
        return n ? n->state & static_cast<UINT>(lp) : 0;
    }
    case TVM_EDITLABEL:
        return reinterpret_cast<LRESULT>(BeginEdit(Find(reinterpret_cast<HTREEITEM>(lp))));
    case TVM_ENDEDITLABELNOW:
        if (!edit_) return FALSE;
        EndEdit(wp == 0);
        return TRUE;
    case TVM_GETEDITCONTROL:
        return reinterpret_cast<LRESULT>(edit_);
    case TVM_GETVISIBLECOUNT:
        return VisibleCount();
    case TVM_HITTEST: {
        auto* info = reinterpret_cast<TVHITTESTINFO*>(lp);
        if (!info) return 0;
        *info = HitTest(info->pt);
        return reinterpret_cast<LRESULT>(info->hItem);
    }
    case TVM_ENSUREVISIBLE: {
        Node* n = Find(reinterpret_cast<HTREEITEM>(lp));
        if (!n) return FALSE;
        EnsureVisible(n);
        return TRUE;
    }
    case TVM_SORTCHILDREN:
        Sort(FindOrRoot(reinterpret_cast<HTREEITEM>(lp)), wp != 0, nullptr, 0);
        return TRUE;
    case TVM_SORTCHILDRENCB: {
        auto* sort = reinterpret_cast<const TVSORTCB*>(lp);
        if (!sort || !sort->lpfnCompare) return FALSE;
        Node* parent = FindOrRoot(sort->hParent);
        if (!parent) return FALSE;
        Sort(parent, wp != 0, sort->lpfnCompare, sort->lParam);
        return TRUE;
    }
    case TVM_SETITEMHEIGHT: {
        int old = ItemHeight();
        itemHeight_ = static_cast<int>(wp) > 0 ? static_cast<int>(wp) : -1;
        Changed();
        return old;
    }
    case TVM_GETITEMHEIGHT:
        return ItemHeight();
    case TVM_SETBKCOLOR: {
        COLORREF old = bkColor_;
        bkColor_ = static_cast<COLORREF>(lp) == CLR_DEFAULT ? CLR_NONE : static_cast<COLORREF>(lp);
        InvalidateRect(Handle(), nullptr, TRUE);
        return static_cast<LRESULT>(old == CLR_NONE ? static_cast<COLORREF>(-1) : old);
    }
    case TVM_GETBKCOLOR:
        return static_cast<LRESULT>(bkColor_ == CLR_NONE ? static_cast<COLORREF>(-1) : bkColor_);
    case TVM_SETTEXTCOLOR: {
        COLORREF old = textColor_;
        textColor_ = static_cast<COLORREF>(lp) == CLR_DEFAULT ? CLR_NONE : static_cast<COLORREF>(lp);
        InvalidateRect(Handle(), nullptr, TRUE);
        return static_cast<LRESULT>(old == CLR_NONE ? static_cast<COLORREF>(-1) : old);
    }
    case TVM_GETTEXTCOLOR:
        return static_cast<LRESULT>(textColor_ == CLR_NONE ? static_cast<COLORREF>(-1) : textColor_);
    default:
        return ControlWindow::Proc(msg, wp, lp);
    }
}

} // namespace controls
