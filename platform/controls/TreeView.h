#pragma once
// The "SysTreeView32" class.  Nodes with text, images, data and a
// has-children flag (or the parent's answer to I_CHILDRENCALLBACK), so that
// children can be added on demand when TVN_ITEMEXPANDING arrives.  As Win32
// does, TVM_EXPAND announces an expansion only until the node has once been
// expanded (TVIS_EXPANDEDONCE), while the user's expansions are always
// announced.  Selection changes go through TVN_SELCHANGING/TVN_SELCHANGED
// (with TVC_BYMOUSE, TVC_BYKEYBOARD or TVC_UNKNOWN), deletions through
// TVN_DELETEITEM, children before their parent.  Vertical scrolling counts
// visible nodes, horizontal scrolling pixels; both are kept in the window's
// scroll information.  In-place label editing uses an "Edit" child.
#include "controls/CommCtrlLists.h"
#include "controls/ItemControlWindow.h"

#include <memory>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace controls {

class TreeView : public ItemControlWindow {
public:
    explicit TreeView(HWND h);
    ~TreeView() override;

protected:
    LRESULT Proc(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    struct Node {
        std::string text;
        bool textCallback = false;
        int image = 0, selectedImage = 0;
        int children = 0; // cChildren as set; I_CHILDRENCALLBACK asks the parent
        bool childrenSet = false;
        UINT state = 0;
        LPARAM lParam = 0;
        Node* parent = nullptr;
        std::vector<std::unique_ptr<Node>> kids;
    };

    static HTREEITEM H(Node* n) { return reinterpret_cast<HTREEITEM>(n); }
    Node* Find(HTREEITEM h) const; // null for unknown handles
    Node* FindOrRoot(HTREEITEM h);
    bool IsRoot(const Node* n) const { return n == &root_; }
    int Level(const Node* n) const;
    bool HasButton(Node* n);
    Node* NextSibling(Node* n) const;
    Node* PrevSibling(Node* n) const;
    std::string TextOf(Node* n);
    int ImageOf(Node* n, bool selected);

    // The nodes whose ancestors are all expanded, in display order.
    const std::vector<Node*>& Visible();
    int VisibleIndex(Node* n);
    void Changed(); // the shape changed: re-list, re-scroll, repaint

    int ItemHeight() const;
    int VisibleCount() const;
    int LabelLeft(const Node* n) const;
    RECT ItemRect(Node* n, bool textOnly);
    TVHITTESTINFO HitTest(POINT pt);
    void UpdateScrollInfo() override;
    void ScrollTo(int hPos, int top);
    void EnsureVisible(Node* n);

    HTREEITEM Insert(const TVINSERTSTRUCT& is);
    void Apply(Node* n, const TVITEM& it);
    BOOL GetItem(TVITEM* it);
    void Delete(Node* n);
    bool Expand(Node* n, UINT action, bool byUser);
    bool Select(Node* n, UINT cause);
    void SetTop(Node* n);
    Node* Next(Node* n, UINT code);
    void Sort(Node* parent, bool recurse, PFNTVCOMPARE compare, LPARAM param);
    LRESULT NotifyTree(int code, UINT action, Node* oldNode, Node* newNode);

    void OnKey(int vk) override;
    void OnChar(char32_t c) override;
    void OnButtonDown(POINT pt, bool right, bool dbl) override;

    HWND BeginEdit(Node* n);
    void EndEdit(bool commit) override;

    void Paint(HDC given) override;
    void PaintNode(HDC dc, Node* n, int y);

    Node root_;
    std::unordered_set<Node*> alive_;
    std::vector<Node*> visible_;
    std::unordered_map<Node*, int> visibleIndex_;
    bool listDirty_ = true;
    Node* selected_ = nullptr;
    Node* dropTarget_ = nullptr;
    HIMAGELIST images_ = nullptr, stateImages_ = nullptr;
    int indent_;
    int itemHeight_ = -1;                                // -1: from the font and images
    COLORREF bkColor_ = CLR_NONE, textColor_ = CLR_NONE; // CLR_NONE: the system colours
    int top_ = 0, hPos_ = 0;
    int thumbPos_ = 0;
    Node* editNode_ = nullptr;
};

} // namespace controls
