#pragma once
// Tree views over the native "SysTreeView32" window: nodes with text, images and data, a
// button for nodes that say they have children (so that the children can be added when the
// node is first expanded, in OnExpanding), selection asked (OnChanging) and told (OnChange),
// deletion told children first, custom sorting and in-place editing.  The nodes are kept here
// too, so that a new window (RecreateWnd) shows the same tree, expanded and selected as it was.
#include "gui/WinControl.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

struct TREEITEM_;

namespace gui {

class TCustomTreeView;
class TTreeNodes;

class TTreeNode {
public:
    TTreeNode(TTreeNodes* owner, TTreeNode* parent);
    ~TTreeNode();
    TTreeNodes* Owner() const { return owner_; }
    TTreeNode* Parent() const { return parent_; }
    std::string Text() const { return text_; }
    void SetText(const std::string& value);
    void* Data = nullptr;
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int value);
    int SelectedIndex() const { return selectedIndex_; }
    void SetSelectedIndex(int value);
    // A button even without children yet: they may come when the node is expanded.
    bool HasChildren() const;
    void SetHasChildren(bool value);
    bool Expanded() const;
    void SetExpanded(bool value);
    void Expand(bool recurse);
    void Collapse(bool recurse);
    bool Selected() const;
    void SetSelected(bool value);
    // 0 for a top-level node.
    int Level() const;
    int Index() const;
    int Count() const { return static_cast<int>(children_.size()); }
    TTreeNode* Item(int index) const { return children_.at(static_cast<size_t>(index)).get(); }
    TTreeNode* GetFirstChild() const { return children_.empty() ? nullptr : children_.front().get(); }
    TTreeNode* GetNextSibling() const;
    TTreeNode* GetPrevSibling() const;
    void Delete();
    void DeleteChildren();
    void MakeVisible();
    void EditText();
    TRect DisplayRect(bool textOnly);
    // Orders the children (stable); compare answers below, at or above 0.
    void CustomSort(const std::function<int(TTreeNode* a, TTreeNode* b)>& compare);
    void AlphaSort();

private:
    friend class TTreeNodes;
    friend class TCustomTreeView;
    std::vector<std::unique_ptr<TTreeNode>>& Siblings() const;
    TCustomTreeView* Tree() const;
    HWND Window() const;
    void PushItem(UINT mask);
    TTreeNodes* owner_;
    TTreeNode* parent_;
    std::string text_;
    int imageIndex_ = -1, selectedIndex_ = -1;
    bool hasChildren_ = false;
    bool expanded_ = false; // kept while there is no window
    TREEITEM_* item_ = nullptr;
    std::vector<std::unique_ptr<TTreeNode>> children_;
};

class TTreeNodes {
public:
    explicit TTreeNodes(TCustomTreeView* owner) : owner_(owner) {}
    ~TTreeNodes();
    TCustomTreeView* Owner() const { return owner_; }
    // Every node, top-level ones and all below.
    int Count() const;
    TTreeNode* GetFirstNode() const { return roots_.empty() ? nullptr : roots_.front().get(); }
    // The top-level nodes.
    int RootCount() const { return static_cast<int>(roots_.size()); }
    TTreeNode* Root(int index) const { return roots_.at(static_cast<size_t>(index)).get(); }
    // After the last sibling of sibling (a top-level node for null), or first among them.
    TTreeNode* Add(TTreeNode* sibling, const std::string& s);
    TTreeNode* AddFirst(TTreeNode* sibling, const std::string& s);
    TTreeNode* AddObject(TTreeNode* sibling, const std::string& s, void* data);
    TTreeNode* AddChild(TTreeNode* parent, const std::string& s);
    TTreeNode* AddChildFirst(TTreeNode* parent, const std::string& s);
    TTreeNode* AddChildObject(TTreeNode* parent, const std::string& s, void* data);
    // Before sibling.
    TTreeNode* Insert(TTreeNode* sibling, const std::string& s);
    void Delete(TTreeNode* node);
    void Clear();
    void BeginUpdate();
    void EndUpdate();

private:
    friend class TTreeNode;
    friend class TCustomTreeView;
    TTreeNode* InsertAt(TTreeNode* parent, int index, const std::string& s);
    void PushTree(TTreeNode* node, TREEITEM_* after);
    TCustomTreeView* owner_;
    std::vector<std::unique_ptr<TTreeNode>> roots_;
    int updateCount_ = 0;
};

using TTVChangingEvent = std::function<void(TObject* sender, TTreeNode* node, bool& allowChange)>;
using TTVChangedEvent = std::function<void(TObject* sender, TTreeNode* node)>;
using TTVExpandingEvent = std::function<void(TObject* sender, TTreeNode* node, bool& allowExpansion)>;
using TTVCollapsingEvent = std::function<void(TObject* sender, TTreeNode* node, bool& allowCollapse)>;
using TTVExpandedEvent = std::function<void(TObject* sender, TTreeNode* node)>;
using TTVEditingEvent = std::function<void(TObject* sender, TTreeNode* node, bool& allowEdit)>;
using TTVEditedEvent = std::function<void(TObject* sender, TTreeNode* node, std::string& s)>;

class TCustomTreeView : public TWinControl {
public:
    explicit TCustomTreeView(TComponent* owner);
    ~TCustomTreeView() override;
    std::string ClassName() const override { return "TCustomTreeView"; }
    void WndProc(TMessage& message) override;

    TTreeNodes* Items() const { return items_.get(); }
    // From code OnChanging and OnChange are told too, as Win32 tells its parent.
    TTreeNode* Selected();
    void SetSelected(TTreeNode* node);
    TTreeNode* TopItem();
    void SetTopItem(TTreeNode* node);
    int VisibleCount();
    TTreeNode* GetNodeAt(int x, int y);
    bool IsEditing();
    void FullExpand();
    void FullCollapse();

    bool ShowButtons() const { return showButtons_; }
    void SetShowButtons(bool value);
    bool ShowLines() const { return showLines_; }
    void SetShowLines(bool value);
    bool ShowRoot() const { return showRoot_; }
    void SetShowRoot(bool value);
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool value);
    bool HideSelection() const { return hideSelection_; }
    void SetHideSelection(bool value);
    bool RowSelect() const { return rowSelect_; }
    void SetRowSelect(bool value);
    TCustomImageList* Images() const { return images_; }
    void SetImages(TCustomImageList* value);

    TTVChangingEvent OnChanging;
    TTVChangedEvent OnChange;
    TTVExpandingEvent OnExpanding;
    TTVExpandedEvent OnExpanded;
    TTVCollapsingEvent OnCollapsing;
    TTVExpandedEvent OnCollapsed;
    TTVExpandedEvent OnDeletion;
    TTVEditingEvent OnEditing;
    TTVEditedEvent OnEdited;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    void Dispatch(TMessage& message) override;
    void Notification(TComponent* component, TOperation operation) override;

private:
    friend class TTreeNode;
    friend class TTreeNodes;
    HWND Window() { return HandleAllocated() ? Handle() : nullptr; }
    TTreeNode* NodeOf(TREEITEM_* item);
    void CNNotify(TMessage& message);
    void SetFlag(bool& field, bool value);
    std::unique_ptr<TTreeNodes> items_;
    bool showButtons_ = true, showLines_ = true, showRoot_ = true, readOnly_ = false, hideSelection_ = true,
         rowSelect_ = false;
    TCustomImageList* images_ = nullptr;
    TTreeNode* savedSelected_ = nullptr;
    TTreeNode* savedTop_ = nullptr;
    // While the window goes its nodes are deleted from it, not from the tree.
    bool windowGoing_ = false;
    bool creating_ = false;
};

class TTreeView : public TCustomTreeView {
public:
    explicit TTreeView(TComponent* owner) : TCustomTreeView(owner) {}
    std::string ClassName() const override { return "TTreeView"; }
};

} // namespace gui
