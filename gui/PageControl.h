#pragma once
// A page control: a tab control whose tabs are its pages (TTabSheet), one page shown at a time
// under the tabs.  A page with TabVisible off keeps its place among the pages but has no tab.
#include "gui/CustomTabControl.h"

#include <string>
#include <vector>

namespace gui {

class TPageControl;

class TTabSheet : public TWinControl {
public:
    explicit TTabSheet(TComponent* owner);
    ~TTabSheet() override;
    std::string ClassName() const override { return "TTabSheet"; }

    TPageControl* PageControl() const { return pageControl_; }
    // Moves the page to another page control (its last page), or out of any with null.
    void SetPageControl(TPageControl* value);
    int PageIndex() const;
    void SetPageIndex(int value);
    bool TabVisible() const { return tabVisible_; }
    void SetTabVisible(bool value);
    // The page's place among the visible tabs, -1 without a tab.
    int TabIndex() const;
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int value);

protected:
    void CMTextChanged(TMessage& message) override;

private:
    friend class TPageControl;
    TPageControl* pageControl_ = nullptr;
    bool tabVisible_ = true;
    int imageIndex_ = -1;
};

class TPageControl : public TCustomTabControl {
public:
    explicit TPageControl(TComponent* owner);
    ~TPageControl() override;
    std::string ClassName() const override { return "TPageControl"; }

    int PageCount() const { return static_cast<int>(pages_.size()); }
    TTabSheet* Pages(int index) const { return pages_.at(static_cast<size_t>(index)); }
    // From code: no OnChanging, no OnChange.  A page without a tab cannot be made active.
    TTabSheet* ActivePage() const { return activePage_; }
    void SetActivePage(TTabSheet* page);
    int ActivePageIndex() const;
    void SetActivePageIndex(int value);
    // The next (or previous) page with a tab after current, going round; null when none.
    TTabSheet* FindNextPage(TTabSheet* current, bool goForward, bool checkTabVisible) const;
    // As a user's change: OnChanging may refuse, OnChange follows.
    void SelectNextPage(bool goForward, bool checkTabVisible = true);

protected:
    void Change() override;
    int GetImageIndex(int tabIndex) override;
    void Notification(TComponent* component, TOperation operation) override;
    void CreateWnd() override;

private:
    friend class TTabSheet;
    void InsertPage(TTabSheet* page);
    void RemovePage(TTabSheet* page);
    void MovePage(TTabSheet* page, int index);
    void UpdateTabsFromPages();
    void ShowPage(TTabSheet* page);
    TTabSheet* PageForTab(int tabIndex) const;
    std::vector<TTabSheet*> pages_;
    TTabSheet* activePage_ = nullptr;
};

} // namespace gui
